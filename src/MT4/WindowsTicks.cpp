// The ticks that make a chart's programs run once: the expert's internal
// message and the indicators' command, each delivered by a threaded send.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/SendMessage.h"

namespace MT4 {

namespace {

constexpr WPARAM TickExpertCode = 2;
constexpr LPARAM TickExpertValue = 1;
constexpr WPARAM TickIndicatorsCommand = 33324;

}  // namespace

void Windows::TickExpert(HWND chart)
{
    CheckChart(chart, "TickExpert");
    Utils::SendMessage(chart, m_internalMessage, TickExpertCode, TickExpertValue);
}

void Windows::TickIndicators(HWND chart)
{
    CheckChart(chart, "TickIndicators");
    Utils::SendMessage(chart, WM_COMMAND, TickIndicatorsCommand, 0);
}

}  // namespace MT4
