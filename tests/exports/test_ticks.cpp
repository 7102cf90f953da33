// Ticks and the refresh exports through the real DLL against the stand-in
// terminal: what reaches the chart, zero handles, a tick from the terminal's
// own thread, and a chart that does not answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

TEST_F(TickTest, RefreshOnceTicksEveryChartOnceAndAStopWithTheFlagLeavesNoWorker)
{
    library.Get<void(WINAPI*)()>("VelmorRefreshAllOnceCharts")();
    std::vector<Event> events = Received(6);
    std::vector<size_t> order = { 0, 1, 2 };
    std::sort(order.begin(), order.end(), [this](size_t a, size_t b) {
        return static_cast<uint32_t>(Chart(a)) < static_cast<uint32_t>(Chart(b));
    });
    std::vector<Event> expected;
    for (size_t chart : order) {
        expected.push_back(IndicatorsTick(chart));
        expected.push_back(ExpertTick(chart));
    }
    EXPECT_EQ(events, expected);
    library.Get<Support::VoidOfIntIntFn>("VelmorRefreshChart")(Chart(0), 100);
    library.Get<Support::VoidOfIntFn>("VelmorStopRefreshAllCharts")(1);
    terminal.Log().Clear();
    Sleep(300);
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> {});
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

// The terminal's thread does not answer for longer than a send may take. Every
// sender is told so at the bound; of the sends, only the one already under way
// arrives when the terminal answers again, never those that waited behind it.
TEST_F(TickTest, ATerminalThatDoesNotAnswerEndsEverySendAtTheBound)
{
    HANDLE busy = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hang([&] {
        terminal.OnUiThread([&] {
            SetEvent(busy);
            Sleep(32000);
        });
    });
    WaitForSingleObject(busy, 5000);
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
    hang.join();
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
    CloseHandle(busy);
}

}  // namespace
