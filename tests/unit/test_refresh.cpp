// The chart refresh engine against a stand-in in this process: passes, modes, stops, closed charts, the one worker.
#include <gtest/gtest.h>
#include <algorithm>
#include <thread>
#include "MT4/RefreshChart.h"
#include "StandIn.h"
#include "Common.h"
#include "Utils/Wait.h"
#include "exports/Init.h"

namespace {

using StandIn::Event;
using State = MT4::RefreshChart::State;

constexpr DWORD Patience = 5000;  // the bound of every wait for the terminal

bool ByKey(HWND a, HWND b) { return uint32_t(reinterpret_cast<UINT_PTR>(a)) < uint32_t(reinterpret_cast<UINT_PTR>(b)); }

class RefreshTest : public ::testing::Test {
protected:
    void SetUp() override { DeInit(), Init(0), terminal.Log().Clear(); }
    void TearDown() override { engine->StopAll(true); }

    HWND Chart(size_t index) const { return terminal.Handles().chartViews.at(index); }

    // The charts ticked, one entry per tick: the indicators' command, then the expert's message.
    std::vector<HWND> Ticked()
    {
        const std::vector<Event> events = terminal.Log().Take();
        std::vector<HWND> charts;
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i].kind != Event::Command || events[i].wParam != 33324)
                continue;
            const Event* expert = i + 1 < events.size() ? &events[i + 1] : nullptr;
            EXPECT_TRUE(expert && expert->kind == Event::Internal && expert->window == events[i].window
                && expert->wParam == 2 && expert->lParam == 1) << "tick " << i;
            charts.push_back(events[i].window);
        }
        return charts;
    }

    bool WaitForTicks(size_t count, HWND chart = nullptr, DWORD bound = Patience)
    {
        const auto tick = [chart](const Event& e) {
            return e.kind == Event::Internal && e.wParam == 2 && (!chart || e.window == chart);
        };
        return terminal.Log().WaitFor(
            [&](const std::vector<Event>& log) { return size_t(std::count_if(log.begin(), log.end(), tick)) >= count; },
            bound);
    }

    void ExpectIdleOnceTheWorkerEnds()
    {
        ASSERT_TRUE(Utils::Wait::Until([&] { return !engine->Snapshot().working; }, 10, Patience));
        EXPECT_EQ(engine->Snapshot().mode, MT4::RefreshChart::Idle);
        EXPECT_TRUE(engine->Snapshot().table.empty());
    }

    std::thread BusyTerminal(DWORD ms)  // blocks the terminal's thread for `ms`, from another thread
    {
        HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::thread busy([=, this] { terminal.OnUiThread([=] { SetEvent(started), Sleep(ms); }); });
        WaitForSingleObject(started, Patience);
        CloseHandle(started);
        return busy;
    }

    void CloseChart(HWND view)
    {
        const HWND frame = GetParent(view);
        terminal.OnUiThread([=, this] { SendMessageA(terminal.Handles().chartArea, WM_MDIDESTROY, WPARAM(frame), 0); });
    }

    StandIn::Terminal terminal { StandIn::Scenario::Named("english") };
    Utils::Pointer<MT4::RefreshChart> engine;
};

TEST_F(RefreshTest, EachChartTicksOnTheMultiplesOfItsIntervalInHundredsOfMs)
{
    for (const auto& [chart, interval] : { std::pair { 0, 100u }, { 1, 250u }, { 2, 1000u } })  // each, 2nd, 10th pass
        engine->Refresh(Chart(chart), interval);
    ASSERT_TRUE(WaitForTicks(3, Chart(2), 4 * Patience));
    engine->StopAll(true);
    // Passes split where the handles stop ascending, counted from the first that ticked the slowest chart.
    std::vector<std::vector<HWND>> passes;
    for (HWND chart : Ticked()) {
        if (passes.empty() || !ByKey(passes.back().back(), chart))
            passes.emplace_back();
        passes.back().push_back(chart);
    }
    const auto first = std::find_if(passes.begin(), passes.end(), [this](const std::vector<HWND>& pass) {
        return std::find(pass.begin(), pass.end(), Chart(2)) != pass.end();
    });
    ASSERT_GE(passes.end() - first, 21);
    for (auto pass = first; pass + 1 != passes.end(); ++pass) {  // the last may have been cut by the stop
        const long tick = pass - first;
        std::vector<HWND> expected;
        for (const auto& [chart, every] : { std::pair { Chart(0), 1L }, { Chart(1), 2L }, { Chart(2), 10L } })
            if (tick % every == 0)
                expected.push_back(chart);
        std::sort(expected.begin(), expected.end(), ByKey);
        EXPECT_EQ(*pass, expected) << "pass " << tick;
    }
}

TEST_F(RefreshTest, AllChartsOnceTicksEachChartInHandleOrderButOneStoppedDuringThePassAndLeavesNoTable)
{
    for (const bool during : { false, true }) {
        SCOPED_TRACE(during ? "a stop that arrives while the pass is under way" : "a stop asked before the pass");
        std::vector<HWND> charts = terminal.Handles().chartViews;
        std::sort(charts.begin(), charts.end(), ByKey);
        std::thread busy = during ? BusyTerminal(200) : std::thread();  // the worker's first send waits
        if (!during)
            engine->Stop(charts[1]);  // every chart is asked for anew
        engine->RefreshAllOnce();
        if (during) {
            const bool underWay = Utils::Wait::Until([&] { return Held(charts[0]); }, 5, Patience);
            engine->Stop(charts[2]);
            busy.join();
            ASSERT_TRUE(underWay);
            charts.pop_back();
        }
        ASSERT_TRUE(WaitForTicks(charts.size()));
        ExpectIdleOnceTheWorkerEnds();
        EXPECT_EQ(Ticked(), charts);
    }
}

TEST_F(RefreshTest, AllChartsModeTakesAStoppedChartBackAtTheEndOfThePass)
{
    engine->RefreshAll(100);
    ASSERT_TRUE(WaitForTicks(3));
    engine->Stop(Chart(0));
    terminal.Log().Clear();
    ASSERT_TRUE(WaitForTicks(2, Chart(0)));
    const State state = engine->Snapshot();
    EXPECT_EQ(std::make_tuple(state.mode, state.allInterval, state.table.size(), state.stopQueue),
        std::make_tuple(MT4::RefreshChart::AllCharts, 100u, size_t(3), size_t(0)));
}

TEST_F(RefreshTest, PerChartModeDropsAStoppedChartUnlessRefreshedAgainAndAClosedOneWithTheLastEndingTheWorker)
{
    const auto tableHolds
        = [this](size_t n) { return Utils::Wait::Until([&] { return engine->Snapshot().table.size() == n; }, 10, Patience); };
    for (size_t chart = 0; chart < 3; ++chart)
        engine->Refresh(Chart(chart), 100);
    ASSERT_TRUE(WaitForTicks(3));
    engine->Stop(Chart(0));
    ASSERT_TRUE(tableHolds(2));
    terminal.Log().Clear();
    ASSERT_TRUE(WaitForTicks(4));
    const std::vector<HWND> ticked = Ticked();
    EXPECT_EQ(std::count(ticked.begin(), ticked.end(), Chart(0)), 0);
    CloseChart(Chart(2));
    ASSERT_TRUE(tableHolds(1));
    engine->Stop(Chart(1));  // a program's deinit, then its init
    engine->Refresh(Chart(1), 100);
    terminal.Log().Clear();
    ASSERT_TRUE(WaitForTicks(3));
    EXPECT_EQ(engine->Snapshot().table.size(), 1u);
    EXPECT_TRUE(engine->Snapshot().working);
    CloseChart(Chart(1));
    ExpectIdleOnceTheWorkerEnds();
    CloseChart(Chart(0));
    engine->RefreshAll(300);  // no chart: the worker ends at once
    ExpectIdleOnceTheWorkerEnds();
    EXPECT_EQ(engine->Snapshot().allInterval, 0u);
}

TEST_F(RefreshTest, AWorkerInsideItsSendIsWaitedForByAStopWithTheFlagTheNextStartAndTheEnginesEnd)
{
    const auto startBusy = [this](MT4::RefreshChart& refresh) {
        terminal.Log().Clear();
        refresh.RefreshAll(100);
        EXPECT_TRUE(WaitForTicks(1));
        std::thread busy = BusyTerminal(400);  // the worker's next send waits for the terminal
        Sleep(150);
        return busy;
    };
    const auto workingRetired = [this] { return std::make_pair(engine->Snapshot().working, engine->Snapshot().retired); };
    std::thread busy = startBusy(*engine);
    engine->StopAll(true);
    EXPECT_EQ(workingRetired(), std::make_pair(false, size_t(0)));  // its end was seen
    EXPECT_TRUE(engine->Snapshot().table.empty());
    busy.join();
    busy = startBusy(*engine);
    engine->StopAll(false);  // returns at once
    EXPECT_EQ(workingRetired(), std::make_pair(false, size_t(1)));  // still inside its send
    engine->RefreshAll(100);
    EXPECT_EQ(workingRetired(), std::make_pair(true, size_t(0)));  // never two workers
    busy.join();
    engine->StopAll(true);

    auto own = std::make_unique<MT4::RefreshChart>();
    own->Replace(Utils::Pointer<MT4::Windows>());
    busy = startBusy(*own);
    own.reset();  // waits for the send under way
    busy.join();
    terminal.Log().Clear();
    Sleep(300);
    EXPECT_EQ(Ticked(), std::vector<HWND> {});
}

}  // namespace
