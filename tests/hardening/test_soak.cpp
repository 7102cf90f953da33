// Threads calling a mix of exports on ten charts get the terminal's results with no box, no deadlock and no
// handles or threads lost, also while the library restarts; "--seconds=N" sets the first run's length (15 s).
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <thread>
#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"
#include "support/TestWindow.h"

namespace {

int g_seconds = 15;
constexpr int Charts = 10, Operations = 12;

// GetProcessHandleCount where it counts (Wine answers 0), else every handle value the process can query.
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
    for (int period : { 1, 5, 15, 30, 60, 240, 1440, 10080, 43200, 60 })
        scenario.charts.push_back({ scenario.marketWatch[scenario.charts.size() % scenario.marketWatch.size()].symbol, period });
    return scenario;
}

class Soak : public ::testing::Test {
protected:
    template <class R = int32_t, class... Args>
    R Call(const char* name, Args... args) const
    {
        return reinterpret_cast<R(WINAPI*)(Args...)>(reinterpret_cast<void*>(m_exports.find(name)->second))(args...);
    }
    int32_t Chart(int i) const
    {
        return static_cast<int32_t>(reinterpret_cast<INT_PTR>(terminal.Handles().chartViews.at(i % Charts)));
    }

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

    // `threads` threads call Operate for `seconds` while `beside` loops on one more: the contradicted calls.
    long Hammer(int threads, int seconds, const std::function<void()>& beside)
    {
        std::atomic<long> calls { 0 }, contradictions { 0 }, besides { 0 };
        std::atomic<bool> stop { false };
        std::vector<std::thread> running;
        std::atomic<int> first { -1 };  // the first contradicted operation
        for (int t = 0; t < threads; ++t)
            running.emplace_back([&, t] {
                for (int i = 0; !stop; ++i, ++calls)
                    if (int none = -1; !Operate((t * 5 + i) % Operations, t + i, t) && ++contradictions)
                        first.compare_exchange_strong(none, (t * 5 + i) % Operations);
            });
        if (beside)
            running.emplace_back([&] {
                for (; !stop; ++besides)
                    beside();
            });
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        stop = true;
        const auto joinStart = std::chrono::steady_clock::now();
        for (std::thread& thread : running)
            thread.join();
        const auto joinMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - joinStart);
        Call<void>("VelmorStopRefreshAllCharts", 1);
        const std::vector<Support::Box> shown = boxes.Take();
        std::printf("soak: %d s, %d threads: %ld calls (%ld beside them), %ld contradicted (first: operation %d), %zu boxes; "
                    "last calls ended %lld ms after the stop\n",
            seconds, threads, calls.load(), besides.load(), contradictions.load(), first.load(), shown.size(), static_cast<long long>(joinMs.count()));
        EXPECT_GT(calls.load(), 0);
        EXPECT_EQ(shown, std::vector<Support::Box>());
        return contradictions;
    }

    StandIn::Terminal terminal { TenCharts() };
    StandIn::Scenario m_scenario = TenCharts();
    Support::Library library;
    Support::BoxWatcher boxes;

    // Taken once: a lookup by name takes the loader's lock, which would serialise the threads.
    std::map<std::string, FARPROC, std::less<>> m_exports = [] {
        std::map<std::string, FARPROC, std::less<>> exports;
        for (std::string name : { "NumberCharts", "GetAllHandlesCharts", "IsChart", "SetShowGrid", "GetShowGrid",
                 "TickExpert", "TickIndicators", "RefreshChart", "StopRefreshChart", "StopRefreshAllCharts", "LoadExpert",
                 "GetNumberTools", "SymbolByLine", "LineBySymbol", "MailboxGetFrom", "MailboxGetTheme", "MailboxSize",
                 "IsChartActive" })
            exports["Velmor" + name] = GetProcAddress(GetModuleHandleA("RazozazER4.dll"), ("Velmor" + name).c_str());
        return exports;
    }();
};

TEST_F(Soak, SixteenThreadsOnTenChartsGetTheTerminalsResultsWithoutBoxesDeadlocksOrLeaks)
{
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    // Every kind of call once: what lives as long as the library (mutexes, the refresh worker) exists before counting.
    for (int operation = 0; operation < Operations; ++operation)
        ASSERT_TRUE(Operate(operation, 0, 0)) << "operation " << operation;
    Call<void>("VelmorStopRefreshAllCharts", 1);
    ASSERT_EQ(boxes.Take(), std::vector<Support::Box>());
    Sleep(2500);  // the send workers end 2 s after their last send, closing what they kept
    const DWORD handlesBefore = HandleCount();
    const size_t threadsBefore = Support::ThreadCount();

    EXPECT_EQ(Hammer(16, g_seconds, nullptr), 0);
    Sleep(2500);  // likewise
    const DWORD handlesAfter = HandleCount();
    const size_t threadsAfter = Support::ThreadCount();
    std::printf("handles %lu before, %lu after; threads %zu before, %zu after\n", handlesBefore, handlesAfter,
        threadsBefore, threadsAfter);
    EXPECT_LE(std::abs(static_cast<long>(handlesAfter) - static_cast<long>(handlesBefore)), 2);
    EXPECT_LE(std::abs(static_cast<long>(threadsAfter) - static_cast<long>(threadsBefore)), 2);
}

// Start-up puts a new model in place whole: a call keeps the one it took.
TEST_F(Soak, EightThreadsGetWholeRightResultsWhileAnotherRestartsTheLibraryForTenSeconds)
{
    const auto init = library.Get<Support::VoidOfIntFn>("VelmorInit");
    init(0);  // this test's terminal, not the last test's
    EXPECT_EQ(Hammer(8, 10, [&] { init(0); }), 0);
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
