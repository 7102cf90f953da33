// Sixteen threads call a mix of exports on ten charts for a while: reads,
// chart settings, ticks, refresh start and stop, program loads, Market Watch
// and the mailbox. Every result is the terminal's and no call shows a box;
// nothing deadlocks, and afterwards the process holds as many handles and
// threads as before (within 2). Then eight threads do the same while another
// restarts the library over and over. "--seconds=N" sets how long the first
// run lasts (15 s unless given).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"
#include "support/TestWindow.h"

namespace {

int g_seconds = 15;

constexpr int Threads = 16;
constexpr int Charts = 10;

using IntOfIntIntFn = int32_t(WINAPI*)(int32_t, int32_t);
using IntOfTextFn = int32_t(WINAPI*)(const char*);
using TextOfIntFn = const char*(WINAPI*)(int32_t);
using IntOfArrayFn = int32_t(WINAPI*)(int32_t*, int32_t);
using LoadFn = int32_t(WINAPI*)(int32_t, const char*, int32_t);

// The process's open handles: GetProcessHandleCount where it counts (Wine
// answers 0), else every handle value the process can query.
DWORD HandleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count)
        return count;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

StandIn::Scenario TenCharts()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.charts.clear();
    const int periods[] = { 1, 5, 15, 30, 60, 240, 1440, 10080, 43200, 60 };
    for (int i = 0; i < Charts; ++i)
        scenario.charts.push_back({ scenario.marketWatch[i % scenario.marketWatch.size()].symbol, periods[i] });
    return scenario;
}

class Soak : public ::testing::Test {
protected:
    Soak() : terminal(TenCharts()) { }

    int32_t Chart(int i) const
    {
        return static_cast<int32_t>(reinterpret_cast<INT_PTR>(terminal.Handles().chartViews.at(i % Charts)));
    }

    // One call of kind `operation` on chart `chart`; false when its result
    // contradicts the terminal.
    bool Operate(int operation, int chart, int thread)
    {
        const StandIn::Scenario& scenario = m_scenario;
        switch (operation % 12) {
        case 0:
            return numberCharts() == Charts;
        case 1: {
            int32_t handles[Charts + 2] = {};
            const int32_t first = allHandles(handles, Charts + 2);
            for (int i = 0; i < Charts; ++i)
                if (!isChart(handles[i]))
                    return false;
            return first == handles[0] && handles[Charts] == 0;
        }
        case 2: {
            const int32_t on = (thread + chart) % 2;
            return setShowGrid(Chart(chart), on) == on;
        }
        case 3: {
            const int32_t grid = getShowGrid(Chart(chart));
            return grid == 0 || grid == 1;
        }
        case 4:
            tickExpert(Chart(chart));
            tickIndicators(Chart(chart));
            return true;
        case 5:
            refreshChart(Chart(chart), 100);
            return true;
        case 6:
            stopRefreshChart(Chart(chart));
            return true;
        case 7:
            return loadExpert(Chart(chart), scenario.experts[thread % scenario.experts.size()].c_str(), 1) == 1;
        case 8: {
            const size_t row = static_cast<size_t>(thread + chart) % scenario.marketWatch.size();
            const char* symbol = symbolByLine(static_cast<int32_t>(row));
            return numberTools() == static_cast<int32_t>(scenario.marketWatch.size()) && symbol
                && scenario.marketWatch[row].symbol == symbol
                && lineBySymbol(scenario.marketWatch[row].symbol.c_str()) == static_cast<int32_t>(row);
        }
        case 9: {
            const size_t line = static_cast<size_t>(thread + chart) % scenario.mailbox.size();
            const char* from = mailboxFrom(static_cast<int32_t>(line));
            if (!from || scenario.mailbox[line].from != from)
                return false;
            const char* subject = mailboxTheme(static_cast<int32_t>(line));
            return subject && scenario.mailbox[line].subject == subject
                && mailboxSize() == static_cast<int32_t>(scenario.mailbox.size());
        }
        case 10:
            return isChart(Chart(chart)) == 1 && isChart(0) == 0;
        default: {
            const int32_t active = isChartActive(Chart(chart));
            return active == 0 || active == 1;
        }
        }
    }

    StandIn::Terminal terminal;
    // `threads` threads call Operate for `seconds` while `beside` runs in a
    // loop on one more; prints what happened. -> the calls whose result
    // contradicted the terminal.
    long Hammer(int threads, int seconds, const std::function<void()>& beside, std::vector<Support::Box>& shown)
    {
        std::atomic<long> calls { 0 }, contradictions { 0 }, besides { 0 };
        std::atomic<bool> stop { false };
        std::vector<std::thread> running;
        std::vector<std::string> firstFailures(threads);
        for (int t = 0; t < threads; ++t)
            running.emplace_back([&, t] {
                for (int i = 0; !stop; ++i, ++calls) {
                    const int operation = (t * 5 + i) % 12;
                    if (!Operate(operation, t + i, t) && ++contradictions && firstFailures[t].empty())
                        firstFailures[t] = "operation " + std::to_string(operation) + " on chart "
                            + std::to_string((t + i) % Charts);
                }
            });
        if (beside)
            running.emplace_back([&] {
                for (; !stop; ++besides)
                    beside();
            });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline)
            Sleep(100);
        stop = true;
        const auto joinStart = std::chrono::steady_clock::now();
        for (std::thread& thread : running)
            thread.join();
        const long long joinMs = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - joinStart).count();
        stopRefreshAll(1);
        shown = boxes.Take();
        std::printf("soak: %d s, %d threads, %d charts: %ld calls (%ld beside them), %ld contradicted, %zu error "
                    "boxes; last calls ended %lld ms after the stop\n",
            seconds, threads, Charts, calls.load(), besides.load(), contradictions.load(), shown.size(), joinMs);
        for (const std::string& failure : firstFailures)
            if (!failure.empty())
                std::printf("  first contradiction of a thread: %s\n", failure.c_str());
        std::vector<Support::Box> distinct;
        for (const Support::Box& box : shown)
            if (std::find(distinct.begin(), distinct.end(), box) == distinct.end() && distinct.size() < 8)
                distinct.push_back(box);
        for (const Support::Box& box : distinct)
            std::printf("  box: %s | %s\n", box.caption.c_str(), box.text.c_str());
        EXPECT_GT(calls.load(), 0);
        return contradictions;
    }

    StandIn::Scenario m_scenario = TenCharts();
    Support::Library library;
    Support::BoxWatcher boxes;

    Support::IntFn numberCharts = library.Get<Support::IntFn>("VelmorNumberCharts");
    IntOfArrayFn allHandles = library.Get<IntOfArrayFn>("VelmorGetAllHandlesCharts");
    Support::IntOfIntFn isChart = library.Get<Support::IntOfIntFn>("VelmorIsChart");
    IntOfIntIntFn setShowGrid = library.Get<IntOfIntIntFn>("VelmorSetShowGrid");
    Support::IntOfIntFn getShowGrid = library.Get<Support::IntOfIntFn>("VelmorGetShowGrid");
    Support::VoidOfIntFn tickExpert = library.Get<Support::VoidOfIntFn>("VelmorTickExpert");
    Support::VoidOfIntFn tickIndicators = library.Get<Support::VoidOfIntFn>("VelmorTickIndicators");
    Support::VoidOfIntIntFn refreshChart = library.Get<Support::VoidOfIntIntFn>("VelmorRefreshChart");
    Support::VoidOfIntFn stopRefreshChart = library.Get<Support::VoidOfIntFn>("VelmorStopRefreshChart");
    Support::VoidOfIntFn stopRefreshAll = library.Get<Support::VoidOfIntFn>("VelmorStopRefreshAllCharts");
    LoadFn loadExpert = library.Get<LoadFn>("VelmorLoadExpert");
    Support::IntFn numberTools = library.Get<Support::IntFn>("VelmorGetNumberTools");
    TextOfIntFn symbolByLine = library.Get<TextOfIntFn>("VelmorSymbolByLine");
    IntOfTextFn lineBySymbol = library.Get<IntOfTextFn>("VelmorLineBySymbol");
    TextOfIntFn mailboxFrom = library.Get<TextOfIntFn>("VelmorMailboxGetFrom");
    TextOfIntFn mailboxTheme = library.Get<TextOfIntFn>("VelmorMailboxGetTheme");
    Support::IntFn mailboxSize = library.Get<Support::IntFn>("VelmorMailboxSize");
    Support::IntOfIntFn isChartActive = library.Get<Support::IntOfIntFn>("VelmorIsChartActive");
};

TEST_F(Soak, SixteenThreadsOnTenChartsGetTheTerminalsResultsWithoutBoxesDeadlocksOrLeaks)
{
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    // Every kind of call once, so that what lives as long as the library
    // (its mutexes, the refresh worker) exists before counting.
    for (int operation = 0; operation < 12; ++operation)
        ASSERT_TRUE(Operate(operation, 0, 0)) << "operation " << operation;
    stopRefreshAll(1);
    ASSERT_EQ(boxes.Take(), std::vector<Support::Box>());
    Sleep(2500);  // the send workers end 2 s after their last send, closing what they kept
    const DWORD handlesBefore = HandleCount();
    const size_t threadsBefore = Support::ThreadCount();

    std::vector<Support::Box> shown;
    EXPECT_EQ(Hammer(Threads, g_seconds, nullptr, shown), 0);
    EXPECT_EQ(shown, std::vector<Support::Box>());
    Sleep(2500);  // likewise
    const DWORD handlesAfter = HandleCount();
    const size_t threadsAfter = Support::ThreadCount();

    std::printf("handles %lu before, %lu after; threads %zu before, %zu after\n", handlesBefore, handlesAfter,
        threadsBefore, threadsAfter);
    EXPECT_LE(handlesAfter, handlesBefore + 2);
    EXPECT_GE(handlesAfter + 2, handlesBefore);
    EXPECT_LE(threadsAfter, threadsBefore + 2);
    EXPECT_GE(threadsAfter + 2, threadsBefore);
}

// Start-up puts a new model in place whole: a call keeps the one it took,
// so results stay whole and right while the library restarts under them.
TEST_F(Soak, EightThreadsGetWholeRightResultsWhileAnotherRestartsTheLibraryForTenSeconds)
{
    const auto init = library.Get<Support::VoidOfIntFn>("VelmorInit");
    init(0);  // this test's terminal, not the last test's
    std::vector<Support::Box> shown;
    EXPECT_EQ(Hammer(8, 10, [&] { init(0); }, shown), 0);
    EXPECT_EQ(shown, std::vector<Support::Box>());
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--seconds=", 10) == 0)
            g_seconds = std::atoi(argv[i] + 10);
    return RUN_ALL_TESTS();
}
