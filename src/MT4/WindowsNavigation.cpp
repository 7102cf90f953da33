// Moving and acting on a chart as the keyboard and the terminal's menu do:
// zoom, one step, deselecting objects, scrolling to a time, keys.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Input.h"

namespace MT4 {

namespace {

constexpr WPARAM ZoomInCommand = 33025;
constexpr WPARAM ZoomOutCommand = 33026;
constexpr WPARAM StepCommand = 33197;
constexpr WPARAM DeselectCommand = 35462;
constexpr WPARAM ScrollToTime = 55; // internal message: lParam = the time

// A key message with repeat count 1; only the key code's low byte is used.
BOOL PostKey(HWND chart, UINT message, int32_t key)
{
    return PostMessageA(chart, message, static_cast<WPARAM>(key & 0xFF), 1) ? 1 : 0;
}

} // namespace

// The zoom commands act on the active chart.
BOOL Windows::Zoom(HWND chart, bool in)
{
    CheckChart(chart, "Zoom");
    ActiveChartHold active = SetActiveChartStart(chart);
    const BOOL posted = PostMessageA(MainTarget(), WM_COMMAND, in ? ZoomInCommand : ZoomOutCommand, 0);
    active.Release();
    return posted;
}

void Windows::StepByStep(HWND chart)
{
    CheckChart(chart, "StepByStep");
    Utils::Controls::Send("MT4::Windows::StepByStep", chart, WM_COMMAND, StepCommand);
}

BOOL Windows::DeselectObjects(HWND chart)
{
    CheckChart(chart, "DeselectObjects");
    return PostMessageA(chart, WM_COMMAND, DeselectCommand, 0);
}

// The message is asked of the system at each call.
void Windows::SetBar(HWND chart, int32_t time)
{
    CheckChart(chart, "SetBar");
    if (time < 0)
        throw "Метод \"MT4::Windows::SetBar()\".\nВыбрано отрицательное значение времени.";
    const UINT internal = RegisterWindowMessageA("MetaTrader4_Internal_Message");
    if (!internal)
        throw "Ошибка в методе \"MT4::Windows::SetBar()\".\nНе определено новое сообщение окна.";
    Utils::Controls::Send("MT4::Windows::SetBar", chart, internal, ScrollToTime, static_cast<LPARAM>(time));
}

BOOL Windows::ChartKeyDown(HWND chart, int32_t key)
{
    CheckChart(chart, "ChartKeyDown");
    return PostKey(chart, WM_KEYDOWN, key);
}

BOOL Windows::ChartKeyUp(HWND chart, int32_t key)
{
    CheckChart(chart, "ChartKeyUp");
    return PostKey(chart, WM_KEYUP, key);
}

// The keys go to the window with the keyboard focus; holding the mutex keeps
// other threads from activating a chart meanwhile.
void Windows::ChartHotKeys(HWND chart, int32_t key, int32_t modifier)
{
    CheckChart(chart, "ChartHotKeys");
    ActiveChartHold active(m_mutexes[MutexActiveChart], "ChartHotKeys");
    Utils::Keyboard::Hot(static_cast<BYTE>(key & 0xFF), static_cast<BYTE>(modifier & 0xFF));
    active.Release();
}

} // namespace MT4
