// Ticks and the refresh exports through the real DLL against the stand-in
// terminal: what reaches the chart, zero handles, a tick from the terminal's
// own thread, ticks from several threads, and a chart that does not answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>

#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

using StandIn::Event;
using Support::Box;

namespace {

class TickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        terminal.Log().Clear();
    }

    std::vector<Event> Received(size_t count)
    {
        terminal.Log().WaitFor([count](const std::vector<Event>& events) { return events.size() >= count; }, 5000);
        return terminal.Log().Take();
    }

    int32_t Chart(size_t index) const
    {
        return static_cast<int32_t>(reinterpret_cast<INT_PTR>(terminal.Handles().chartViews.at(index)));
    }
    Event Expected(Event::Kind kind, size_t chart, UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return Event { kind, terminal.Handles().chartViews.at(chart), message, wParam, lParam, {},
            terminal.UiThread() };
    }
    Event IndicatorsTick(size_t chart) const { return Expected(Event::Command, chart, WM_COMMAND, 33324, 0); }
    Event ExpertTick(size_t chart) const
    {
        return Expected(Event::Internal, chart, RegisterWindowMessageA("MetaTrader4_Internal_Message"), 2, 1);
    }

    StandIn::Terminal terminal { StandIn::Scenario::Named("english") };
    Support::Library library;
    Support::VoidOfIntFn tickExpert = library.Get<Support::VoidOfIntFn>("VelmorTickExpert");
    Support::VoidOfIntFn tickIndicators = library.Get<Support::VoidOfIntFn>("VelmorTickIndicators");
    Support::BoxWatcher boxes;
};

TEST_F(TickTest, TicksReachTheChartAsTheIndicatorsCommandAndTheExpertsMessage)
{
    tickIndicators(Chart(1));
    tickExpert(Chart(1));
    EXPECT_EQ(Received(2), (std::vector<Event> { IndicatorsTick(1), ExpertTick(1) }));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(TickTest, AZeroHandleIsReportedAndNothingIsSent)
{
    tickExpert(0);
    tickIndicators(0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "VelmorTickExpert()", "Метод \"MT4::Windows::TickExpert()\".\nНеверный системный дескриптор графика." },
            { "VelmorTickIndicators()",
                "Метод \"MT4::Windows::TickIndicators()\".\nНеверный системный дескриптор графика." } }));
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> {});
}

TEST_F(TickTest, ATickFromTheTerminalsOwnThreadIsServedWhileItWaits)
{
    const ULONGLONG start = GetTickCount64();
    terminal.OnUiThread([&] { tickExpert(Chart(0)); });
    EXPECT_LT(GetTickCount64() - start, 5000u);  // far below the bound of a send nobody serves
    EXPECT_EQ(Received(1), std::vector<Event> { ExpertTick(0) });
}

// A pass ticks every chart in handle order: "all once" makes one pass and
// leaves nothing behind, "all" goes on until stopped, and a stop with the
// flag leaves no worker.
TEST_F(TickTest, RefreshAllPassesOverEveryChartOnceStopsAfterOneAndAStopWithTheFlagLeavesNoWorker)
{
    std::vector<size_t> order = { 0, 1, 2 };
    std::sort(order.begin(), order.end(), [this](size_t a, size_t b) {
        return static_cast<uint32_t>(Chart(a)) < static_cast<uint32_t>(Chart(b));
    });
    std::vector<Event> pass;
    for (size_t chart : order) {
        pass.push_back(IndicatorsTick(chart));
        pass.push_back(ExpertTick(chart));
    }
    library.Get<void(WINAPI*)()>("VelmorRefreshAllOnceCharts")();
    EXPECT_EQ(Received(6), pass);
    Sleep(300);
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> {});
    library.Get<Support::VoidOfIntFn>("VelmorRefreshAllCharts")(100);
    std::vector<Event> twice = pass;
    twice.insert(twice.end(), pass.begin(), pass.end());
    std::vector<Event> got = Received(12);
    got.resize(std::min<size_t>(got.size(), 12));  // a third pass may have begun
    EXPECT_EQ(got, twice);
    library.Get<Support::VoidOfIntFn>("VelmorStopRefreshAllCharts")(1);
    terminal.Log().Clear();
    Sleep(300);
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> {});
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

// Each tick takes the chart 20 ms. Plain sends from four threads pile up on
// the terminal's thread behind the one being handled; the library's sends to
// one chart wait for each other on the chart's send mutex, so none of them is
// ever waiting at the terminal while the chart handles a tick.
TEST_F(TickTest, TicksToOneChartFromSeveralThreadsTakeTurnsBeforeReachingTheTerminal)
{
    const HWND view = terminal.Handles().chartViews.at(0);
    terminal.Ticks().SetDelay(view, 20);
    auto fromFourThreads = [](const std::function<void(int)>& tick) {
        std::vector<std::thread> senders;
        for (int i = 0; i < 4; ++i)
            senders.emplace_back([&tick, i] {
                for (int n = 0; n < 5; ++n)
                    tick(i);
            });
        for (std::thread& sender : senders)
            sender.join();
    };
    const UINT internal = RegisterWindowMessageA("MetaTrader4_Internal_Message");
    fromFourThreads([&](int) { SendMessageA(view, internal, 2, 1); });
    const StandIn::TickBoard::Count plain = terminal.Ticks().Of(view);
    EXPECT_EQ(plain.expert, 20u);
    EXPECT_GT(plain.sendsWaiting, 0u);

    fromFourThreads([&](int i) { (i % 2 ? tickExpert : tickIndicators)(Chart(0)); });
    const StandIn::TickBoard::Count count = terminal.Ticks().Of(view);
    EXPECT_EQ(count.expert, 30u);
    EXPECT_EQ(count.indicators, 10u);
    EXPECT_EQ(count.threads, (std::map<DWORD, size_t> { { terminal.UiThread(), 40u } }));
    EXPECT_EQ(count.sendsWaiting, plain.sendsWaiting);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

// The chart hangs in its handler of the first tick for longer than a send may
// take. Every sender is told so at the bound; of the sends, only the one
// already under way arrives, never those that waited behind it.
TEST_F(TickTest, AHungChartEndsEverySendToItAtTheBound)
{
    const HWND view = terminal.Handles().chartViews.at(0);
    terminal.Ticks().SetDelay(view, StandIn::TickHung);
    const ULONGLONG start = GetTickCount64();
    ULONGLONG expertReturned = 0;
    std::thread expert([&] {
        tickExpert(Chart(0));
        expertReturned = GetTickCount64() - start;
    });
    Sleep(200);
    std::thread indicators([&] { tickIndicators(Chart(0)); });
    Sleep(200);
    library.Get<Support::VoidOfIntIntFn>("VelmorRefreshChart")(Chart(0), 100);
    expert.join();
    indicators.join();
    EXPECT_GE(expertReturned, 30000u);
    EXPECT_LT(expertReturned, 31500u);
    // The chart answers again once the refresh worker's send has reached its
    // bound too.
    Sleep(static_cast<DWORD>(32000 - std::min<ULONGLONG>(GetTickCount64() - start, 32000)));
    terminal.Ticks().SetDelay(view, 0);
    Sleep(500);

    char digits[9];
    std::snprintf(digits, sizeof digits, "%08lX", static_cast<unsigned long>(Chart(0)));
    const std::string text = std::string("Ошибка в методе \"Utils::SendMessage::StartSend()\".\nОкно ") + digits
        + " не обработало сообщение за отведённое время (30 с).";
    std::vector<Box> seen = boxes.Take();
    std::sort(seen.begin(), seen.end(), [](const Box& a, const Box& b) { return a.caption < b.caption; });
    EXPECT_EQ(seen,
        (std::vector<Box> {
            { "MT4::RefreshChart::Refresh()", text }, { "VelmorTickExpert()", text }, { "VelmorTickIndicators()", text } }));
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> { ExpertTick(0) });
    const StandIn::TickBoard::Count count = terminal.Ticks().Of(view);
    EXPECT_EQ(count.expert, 1u);
    EXPECT_EQ(count.indicators, 0u);
}

}  // namespace
