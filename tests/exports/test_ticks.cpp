// The tick exports against the stand-in: what reaches the chart, zero handles, the UI thread, a hung chart.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <thread>
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

class TickTest : public Support::TerminalTest {
protected:
    HWND View(size_t index) const { return terminal.Handles().chartViews.at(index); }
    int32_t Chart(size_t index) const { return static_cast<int32_t>(reinterpret_cast<INT_PTR>(View(index))); }
    Event IndicatorsTick(size_t chart) const { return Expected(Event::Command, View(chart), WM_COMMAND, 33324, 0); }
    Event ExpertTick(size_t chart) const { return Expected(Event::Internal, View(chart), internal, 2, 1); }
    const UINT internal = RegisterWindowMessageA("MetaTrader4_Internal_Message");
    Support::VoidOfIntFn tickExpert = library.Get<Support::VoidOfIntFn>("VelmorTickExpert");
    Support::VoidOfIntFn tickIndicators = library.Get<Support::VoidOfIntFn>("VelmorTickIndicators");
};

// A zero handle sends nothing; a tick from the terminal's own thread is served well below the send bound.
TEST_F(TickTest, TicksReachTheChartAsTheIndicatorsCommandAndTheExpertsMessage)
{
    tickExpert(0);
    tickIndicators(0);
    tickIndicators(Chart(1));
    tickExpert(Chart(1));
    EXPECT_EQ(Received(2), (std::vector<Event> { IndicatorsTick(1), ExpertTick(1) }));
    const std::string zero = "()\".\nНеверный системный дескриптор графика.";
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorTickExpert()", "Метод \"MT4::Windows::TickExpert" + zero },
        { "VelmorTickIndicators()", "Метод \"MT4::Windows::TickIndicators" + zero } }));
    const ULONGLONG start = GetTickCount64();
    terminal.OnUiThread([&] { tickExpert(Chart(0)); });
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_EQ(Received(1), std::vector<Event> { ExpertTick(0) });
}

// A chart hung in its first tick: every sender is told so at the bound, and only the send under way arrives.
TEST_F(TickTest, AHungChartEndsEverySendToItAtTheBound)
{
    terminal.Ticks().SetDelay(View(0), StandIn::TickHung);
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
    EXPECT_TRUE(expertReturned >= 30000u && expertReturned < 31500u) << expertReturned;
    Sleep(static_cast<DWORD>(32000 - std::min<ULONGLONG>(GetTickCount64() - start, 32000)));
    terminal.Ticks().SetDelay(View(0), 0);
    Sleep(500);
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08lX", static_cast<unsigned long>(Chart(0)));
    const std::string text = std::string("Ошибка в методе \"Utils::SendMessage::StartSend()\".\nОкно ") + digits
        + " не обработало сообщение за отведённое время (30 с).";
    std::vector<Box> seen = boxes.Take();
    std::sort(seen.begin(), seen.end(), [](const Box& a, const Box& b) { return a.caption < b.caption; });
    EXPECT_EQ(seen, (std::vector<Box> { { "MT4::RefreshChart::Refresh()", text }, { "VelmorTickExpert()", text },
        { "VelmorTickIndicators()", text } }));
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> { ExpertTick(0) });
}

}  // namespace
