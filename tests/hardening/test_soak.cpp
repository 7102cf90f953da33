// Sixteen threads call a mix of exports on ten charts (reads, chart settings,
// ticks, refresh start and stop, program loads, Market Watch, the mailbox):
// every result is the terminal's, no call shows a box, nothing deadlocks, and
// the process keeps its handles and threads (within 2). Then eight threads do
// the same while another restarts the library. "--seconds=N": how long the
// first run lasts (15 s unless given).
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"
#include "support/TestWindow.h"

namespace {

int g_seconds = 15;
constexpr int Charts = 10, Operations = 12;

// The process's open handles: GetProcessHandleCount where it counts (Wine
// answers 0), else every handle value the process can query.
DWORD HandleCount()
{
    DWORD count = 0, flags = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count)
        return count;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
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
    // Export `name`, taking `args`, returning R.
    template <class R = int32_t, class... Args>
    R Call(const char* name, Args... args) const
    {
        return reinterpret_cast<R(WINAPI*)(Args...)>(reinterpret_cast<void*>(m_exports.find(name)->second))(args...);
    }

    int32_t Chart(int i) const
    {
        return static_cast<int32_t>(reinterpret_cast<INT_PTR>(terminal.Handles().chartViews.at(i % Charts)));
    }

    // One call of kind `operation` on chart `chart`; false when its result
    // contradicts the terminal.
    bool Operate(int operation, int chart, int thread)
    {
        const StandIn::Scenario& s = m_scenario;
        const size_t row = static_cast<size_t>(thread + chart);
        switch (operation % Operations) {
        case 0: return Call("VelmorNumberCharts") == Charts;
        case 1: {
            int32_t handles[Charts + 2] = {};
            const int32_t first = Call("VelmorGetAllHandlesCharts", handles, Charts + 2);
            return first == handles[0] && handles[Charts] == 0
                && std::all_of(handles, handles + Charts, [&](int32_t chart) { return Call("VelmorIsChart", chart) == 1; });
        }
        case 2: return Call("VelmorSetShowGrid", Chart(chart), (thread + chart) % 2) == (thread + chart) % 2;
        case 3: return static_cast<uint32_t>(Call("VelmorGetShowGrid", Chart(chart))) <= 1;
        case 4: Call<void>("VelmorTickExpert", Chart(chart)); Call<void>("VelmorTickIndicators", Chart(chart)); return true;
        case 5: Call<void>("VelmorRefreshChart", Chart(chart), 100); return true;
        case 6: Call<void>("VelmorStopRefreshChart", Chart(chart)); return true;
        case 7: return Call("VelmorLoadExpert", Chart(chart), s.experts[thread % s.experts.size()].c_str(), 1) == 1;
        case 8: {
            const int32_t line = static_cast<int32_t>(row % s.marketWatch.size());
            const char* symbol = Call<const char*>("VelmorSymbolByLine", line);
            return Call("VelmorGetNumberTools") == static_cast<int32_t>(s.marketWatch.size()) && symbol
                && s.marketWatch[line].symbol == symbol && Call("VelmorLineBySymbol", s.marketWatch[line].symbol.c_str()) == line;
        }
        case 9: {
            const int32_t line = static_cast<int32_t>(row % s.mailbox.size());
            const char* from = Call<const char*>("VelmorMailboxGetFrom", line);
            if (!from || s.mailbox[line].from != from)  // before the next text result takes its place
                return false;
            const char* subject = Call<const char*>("VelmorMailboxGetTheme", line);
            return subject && s.mailbox[line].subject == subject
                && Call("VelmorMailboxSize") == static_cast<int32_t>(s.mailbox.size());
        }
        case 10: return Call("VelmorIsChart", Chart(chart)) == 1 && Call("VelmorIsChart", 0) == 0;
        default: return static_cast<uint32_t>(Call("VelmorIsChartActive", Chart(chart))) <= 1;
        }
    }

    // `threads` threads call Operate for `seconds` while `beside` runs in a
    // loop on one more; prints what happened. -> the calls whose result
    // contradicted the terminal; `shown`: the boxes.
    long Hammer(int threads, int seconds, const std::function<void()>& beside, std::vector<Support::Box>& shown)
    {
        std::atomic<long> calls { 0 }, contradictions { 0 }, besides { 0 };
        std::atomic<bool> stop { false };
        std::vector<std::thread> running;
        std::once_flag once;
        std::string first = "none";  // the first contradiction
        for (int t = 0; t < threads; ++t)
            running.emplace_back([&, t] {
                for (int i = 0; !stop; ++i, ++calls)
                    if (!Operate((t * 5 + i) % Operations, t + i, t) && ++contradictions)
                        std::call_once(once, [&] { first = "operation " + std::to_string((t * 5 + i) % Operations); });
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
        Call<void>("VelmorStopRefreshAllCharts", 1);
        shown = boxes.Take();
        std::printf("soak: %d s, %d threads: %ld calls (%ld beside them), %ld contradicted (first: %s), %zu boxes; "
                    "last calls ended %lld ms after the stop\n",
            seconds, threads, calls.load(), besides.load(), contradictions.load(), first.c_str(), shown.size(), joinMs);
        EXPECT_GT(calls.load(), 0);
        return contradictions;
    }

    StandIn::Terminal terminal { TenCharts() };
    StandIn::Scenario m_scenario = TenCharts();
    Support::Library library;
    Support::BoxWatcher boxes;

    // Taken once: a lookup by name takes the loader's lock, which would
    // serialise the threads.
    std::map<std::string, FARPROC, std::less<>> m_exports = [] {
        std::map<std::string, FARPROC, std::less<>> exports;
        for (const char* name : { "VelmorNumberCharts", "VelmorGetAllHandlesCharts", "VelmorIsChart", "VelmorSetShowGrid",
                 "VelmorGetShowGrid", "VelmorTickExpert", "VelmorTickIndicators", "VelmorRefreshChart",
                 "VelmorStopRefreshChart", "VelmorStopRefreshAllCharts", "VelmorLoadExpert", "VelmorGetNumberTools",
                 "VelmorSymbolByLine", "VelmorLineBySymbol", "VelmorMailboxGetFrom", "VelmorMailboxGetTheme",
                 "VelmorMailboxSize", "VelmorIsChartActive" })
            exports[name] = GetProcAddress(GetModuleHandleA("RazozazER4.dll"), name);
        return exports;
    }();
};

TEST_F(Soak, SixteenThreadsOnTenChartsGetTheTerminalsResultsWithoutBoxesDeadlocksOrLeaks)
{
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    // Every kind of call once, so that what lives as long as the library (its
    // mutexes, the refresh worker) exists before counting.
    for (int operation = 0; operation < Operations; ++operation)
        ASSERT_TRUE(Operate(operation, 0, 0)) << "operation " << operation;
    Call<void>("VelmorStopRefreshAllCharts", 1);
    ASSERT_EQ(boxes.Take(), std::vector<Support::Box>());
    Sleep(2500);  // the send workers end 2 s after their last send, closing what they kept
    const DWORD handlesBefore = HandleCount();
    const size_t threadsBefore = Support::ThreadCount();

    std::vector<Support::Box> shown;
    EXPECT_EQ(Hammer(16, g_seconds, nullptr, shown), 0);
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

// Start-up puts a new model in place whole: a call keeps the one it took, so
// results stay whole and right while the library restarts under them.
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
