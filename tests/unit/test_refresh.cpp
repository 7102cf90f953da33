// The chart refresh engine against a stand-in terminal in this process: which
// passes tick which charts, the modes, stops with and without waiting, charts
// that close, and the one worker.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <thread>

#include "MT4/RefreshChart.h"
#include "StandIn.h"
#include "Utils/Wait.h"
#include "exports/Init.h"

namespace {

using StandIn::Event;

constexpr DWORD Patience = 5000;  // the bound of every wait for the terminal

class RefreshTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeInit();
        Init(0);
        terminal.Log().Clear();
    }
    void TearDown() override { engine->StopAll(true); }

    HWND Chart(size_t index) const { return terminal.Handles().chartViews.at(index); }
    static uint32_t Key(HWND chart) { return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(chart)); }

    // The charts ticked, one entry per tick (the indicators' command, then
    // the expert's message), checking that each tick has both signals.
    std::vector<HWND> Ticked(const std::vector<Event>& events)
    {
        std::vector<HWND> charts;
        for (size_t i = 0; i < events.size(); ++i) {
            const Event& event = events[i];
            if (event.kind != Event::Command || event.wParam != 33324)
                continue;
            EXPECT_LT(i + 1, events.size());
            if (i + 1 < events.size()) {
                const Event& expert = events[i + 1];
                EXPECT_EQ(expert.kind, Event::Internal);
                EXPECT_EQ(expert.window, event.window);
                EXPECT_EQ(expert.wParam, 2u);
                EXPECT_EQ(expert.lParam, 1);
            }
            charts.push_back(event.window);
        }
        return charts;
    }

    // Splits the ticks into passes: within a pass the handles ascend.
    static std::vector<std::vector<HWND>> Passes(const std::vector<HWND>& ticked)
    {
        std::vector<std::vector<HWND>> passes;
        for (HWND chart : ticked) {
            if (passes.empty() || Key(chart) <= Key(passes.back().back()))
                passes.emplace_back();
            passes.back().push_back(chart);
        }
        return passes;
    }

    // Waits until the charts have had `count` ticks together.
    bool WaitForTicks(size_t count)
    {
        return terminal.Log().WaitFor(
            [count](const std::vector<Event>& events) {
                return static_cast<size_t>(std::count_if(events.begin(), events.end(), [](const Event& event) {
                    return event.kind == Event::Internal && event.wParam == 2;
                })) >= count;
            },
            Patience);
    }

    // Blocks the terminal's thread for `ms`, from another thread.
    std::thread BusyTerminal(DWORD ms)
    {
        HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::thread busy([this, ms, started] {
            terminal.OnUiThread([ms, started] {
                SetEvent(started);
                Sleep(ms);
            });
        });
        WaitForSingleObject(started, Patience);
        CloseHandle(started);
        return busy;
    }

    StandIn::Terminal terminal { StandIn::Scenario::Named("english") };
    Utils::Pointer<MT4::RefreshChart> engine;
};

TEST_F(RefreshTest, EachChartTicksOnTheMultiplesOfItsIntervalInHundredsOfMs)
{
    engine->Refresh(Chart(0), 100);
    engine->Refresh(Chart(1), 250);   // every second pass
    engine->Refresh(Chart(2), 1000);  // every tenth pass
    ASSERT_TRUE(terminal.Log().WaitFor(
        [this](const std::vector<Event>& events) {
            return std::count_if(events.begin(), events.end(), [this](const Event& event) {
                return event.kind == Event::Internal && event.window == Chart(2);
            }) >= 3;
        },
        4 * Patience));
    engine->StopAll(true);
    const std::vector<std::vector<HWND>> passes = Passes(Ticked(terminal.Log().Take()));
    // The worker may have run a pass before the last two charts were in the
    // table: count from the first pass that ticked the slowest chart.
    const auto first = std::find_if(passes.begin(), passes.end(), [this](const std::vector<HWND>& pass) {
        return std::find(pass.begin(), pass.end(), Chart(2)) != pass.end();
    });
    ASSERT_NE(first, passes.end());
    ASSERT_GE(passes.end() - first, 21);
    for (auto pass = first; pass + 1 != passes.end(); ++pass) {  // the last may have been cut by the stop
        const long tick = pass - first;
        std::vector<HWND> expected = { Chart(0) };
        if (tick % 2 == 0)
            expected.push_back(Chart(1));
        if (tick % 10 == 0)
            expected.push_back(Chart(2));
        std::sort(expected.begin(), expected.end(), [](HWND a, HWND b) { return Key(a) < Key(b); });
        EXPECT_EQ(*pass, expected) << "pass " << tick;
    }
}

TEST_F(RefreshTest, OnceTicksEveryChartOnceInHandleOrderAlsoAfterAStopAndLeavesNoTable)
{
    engine->Stop(Chart(1));  // asked for before: every chart is asked for anew
    engine->RefreshAllOnce();
    ASSERT_TRUE(WaitForTicks(3));
    Sleep(300);  // a second pass would have come by now
    std::vector<HWND> charts = terminal.Handles().chartViews;
    std::sort(charts.begin(), charts.end(), [](HWND a, HWND b) { return Key(a) < Key(b); });
    EXPECT_EQ(Ticked(terminal.Log().Take()), charts);
    const MT4::RefreshChart::State state = engine->Snapshot();
    EXPECT_FALSE(state.working);
    EXPECT_EQ(state.mode, MT4::RefreshChart::Idle);
    EXPECT_TRUE(state.table.empty());
}

TEST_F(RefreshTest, AllChartsModeTakesAStoppedChartBackAtTheEndOfThePass)
{
    engine->RefreshAll(100);
    ASSERT_TRUE(WaitForTicks(3));
    engine->Stop(Chart(0));
    terminal.Log().Clear();
    ASSERT_TRUE(terminal.Log().WaitFor(
        [this](const std::vector<Event>& events) {
            return std::count_if(events.begin(), events.end(), [this](const Event& event) {
                return event.kind == Event::Internal && event.window == Chart(0);
            }) >= 2;
        },
        Patience));
    const MT4::RefreshChart::State state = engine->Snapshot();
    EXPECT_EQ(state.mode, MT4::RefreshChart::AllCharts);
    EXPECT_EQ(state.allInterval, 100u);
    EXPECT_EQ(state.table.size(), 3u);
    EXPECT_EQ(state.stopQueue, 0u);
}

TEST_F(RefreshTest, PerChartModeDropsAStoppedChartForGoodUnlessItIsRefreshedAgain)
{
    engine->Refresh(Chart(0), 100);
    engine->Refresh(Chart(1), 100);
    ASSERT_TRUE(WaitForTicks(2));
    engine->Stop(Chart(0));
    ASSERT_TRUE(Utils::Wait::Until([this] { return engine->Snapshot().table.size() == 1; }, 10, Patience));
    terminal.Log().Clear();
    ASSERT_TRUE(WaitForTicks(3));
    for (HWND chart : Ticked(terminal.Log().Take()))
        EXPECT_EQ(chart, Chart(1));
    engine->Stop(Chart(1));  // a program's deinit, then its init
    engine->Refresh(Chart(1), 100);
    terminal.Log().Clear();
    ASSERT_TRUE(WaitForTicks(3));
    EXPECT_EQ(engine->Snapshot().table.size(), 1u);
}

TEST_F(RefreshTest, AClosedChartIsDroppedAndWithTheLastOneTheWorkerEnds)
{
    engine->Refresh(Chart(0), 100);
    engine->Refresh(Chart(1), 100);
    ASSERT_TRUE(WaitForTicks(2));
    auto close = [this](HWND view) {
        terminal.OnUiThread([this, view] {
            SendMessageA(terminal.Handles().chartArea, WM_MDIDESTROY, reinterpret_cast<WPARAM>(GetParent(view)), 0);
        });
    };
    close(Chart(0));
    ASSERT_TRUE(Utils::Wait::Until([this] { return engine->Snapshot().table.size() == 1; }, 10, Patience));
    EXPECT_TRUE(engine->Snapshot().working);
    close(Chart(1));
    ASSERT_TRUE(Utils::Wait::Until([this] { return !engine->Snapshot().working; }, 10, Patience));
    const MT4::RefreshChart::State state = engine->Snapshot();
    EXPECT_EQ(state.mode, MT4::RefreshChart::Idle);
    EXPECT_TRUE(state.table.empty());
}

TEST_F(RefreshTest, StopWithTheFlagReturnsOnceTheWorkerHasEndedItsSend)
{
    engine->RefreshAll(100);
    ASSERT_TRUE(WaitForTicks(1));
    std::thread busy = BusyTerminal(400);  // the worker's next send waits for the terminal
    Sleep(150);
    engine->StopAll(true);
    const MT4::RefreshChart::State state = engine->Snapshot();
    EXPECT_FALSE(state.working);
    EXPECT_EQ(state.retired, 0u);  // its end was seen
    EXPECT_TRUE(state.table.empty());
    busy.join();
    terminal.Log().Clear();
    Sleep(300);
    EXPECT_EQ(Ticked(terminal.Log().Take()), std::vector<HWND> {});
}

TEST_F(RefreshTest, StopWithoutTheFlagReturnsAtOnceAndTheNextStartWaitsForTheOldWorker)
{
    engine->RefreshAll(100);
    ASSERT_TRUE(WaitForTicks(1));
    std::thread busy = BusyTerminal(400);
    Sleep(150);
    engine->StopAll(false);
    MT4::RefreshChart::State state = engine->Snapshot();
    EXPECT_FALSE(state.working);
    EXPECT_EQ(state.retired, 1u);  // still inside its send
    engine->RefreshAll(100);
    state = engine->Snapshot();
    EXPECT_TRUE(state.working);
    EXPECT_EQ(state.retired, 0u);  // never two workers
    busy.join();
}

TEST_F(RefreshTest, AnEngineThatGoesEndsItsWorkerFirst)
{
    auto own = std::make_unique<MT4::RefreshChart>();
    own->Replace(Utils::Pointer<MT4::Windows>());
    own->RefreshAll(100);
    ASSERT_TRUE(WaitForTicks(1));
    std::thread busy = BusyTerminal(300);
    Sleep(100);
    own.reset();  // waits for the send under way
    busy.join();
    terminal.Log().Clear();
    Sleep(300);
    EXPECT_EQ(Ticked(terminal.Log().Take()), std::vector<HWND> {});
}

TEST_F(RefreshTest, AllChartsWithNoChartStartsAWorkerThatEndsAtOnce)
{
    for (HWND view : terminal.Handles().chartViews)
        terminal.OnUiThread([this, view] {
            SendMessageA(terminal.Handles().chartArea, WM_MDIDESTROY, reinterpret_cast<WPARAM>(GetParent(view)), 0);
        });
    engine->RefreshAll(300);
    ASSERT_TRUE(Utils::Wait::Until([this] { return !engine->Snapshot().working; }, 10, Patience));
    const MT4::RefreshChart::State state = engine->Snapshot();
    EXPECT_EQ(state.mode, MT4::RefreshChart::Idle);
    EXPECT_EQ(state.allInterval, 0u);
}

}  // namespace
