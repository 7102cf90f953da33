// Charts: what they are to the library, their enumeration, activation and
// closing, and the active-chart mutex that keeps an activated chart active.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/Windows.h"
#include "Utils/Wait.h"

namespace MT4 {

namespace {

constexpr WPARAM CloseCommand = 0xE102;

} // namespace

Windows::ActiveChartHold::ActiveChartHold(Utils::Sync::Mutex& mutex, const char* method)
    : m_mutex(nullptr)
{
    if (!mutex.Handle())
        return;
    const DWORD result = Utils::Wait::ForHandle(mutex.Handle(), INFINITE);
    if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) {
        const DWORD code = GetLastError();
        throw std::string("В методе \"MT4::Windows::") + method + "()\" ошибка синхронизации."
            + LastErrorText(code);
    }
    m_mutex = &mutex;
}

Windows::ActiveChartHold::~ActiveChartHold()
{
    try {
        Release();
    } catch (...) {
        // Releasing a mutex this thread owns does not fail; a destructor must not throw.
    }
}

void Windows::ActiveChartHold::Release()
{
    if (Utils::Sync::Mutex* mutex = m_mutex) {
        m_mutex = nullptr;
        mutex->Release();
    }
}

std::vector<HWND> Windows::Charts() const
{
    return Utils::Windows::DescendantsWithClassPrefix(m_chartArea, "AfxFrameOrView");
}

void Windows::CheckChart(HWND chart, const char* method)
{
    if (!chart)
        throw Utils::Error::Argument(
            std::string("MT4::Windows::") + method, "Неверный системный дескриптор графика.");
}

// Any window inside the chart area counts, at any depth.
bool Windows::IsChart(HWND window) const
{
    return window && m_chartArea && IsChild(m_chartArea, window);
}

bool Windows::IsChartActive(HWND chart) const
{
    CheckChart(chart, "IsChartActive");
    // With no chart open, the top window and the parent of a handle that is
    // no chart are both null: that is no active chart.
    HWND top = GetTopWindow(m_chartArea);
    return top && top == GetParent(chart);
}

Windows::ActiveChartHold Windows::SetActiveChartStart(HWND chart)
{
    CheckChart(chart, "SetActiveChartStart");
    ActiveChartHold hold(m_mutexes[MutexActiveChart], "SetActiveChartStart");
    // A window outside this terminal's chart area (gone, a panel's control, a
    // chart of another terminal) has no frame the chart area would activate:
    // the command that follows would reach whichever chart is active.
    HWND frame = IsChart(chart) ? GetParent(chart) : nullptr;
    if (!frame)
        throw "Ошибка в методе \"MT4::Windows::SetActiveChartStart()\".\nНе получен системный дескриптор "
              "родительского окна графика.";
    Utils::Controls::Send(
        "MT4::Windows::SetActiveChartStart", m_chartArea, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame), 0);
    Utils::Wait::Pause(5);
    return hold;
}

void Windows::SetActiveChart(HWND chart)
{
    SetActiveChartStart(chart).Release();
}

BOOL Windows::CloseChart(HWND chart)
{
    CheckChart(chart, "CloseChart");
    return PostMessageA(chart, WM_COMMAND, CloseCommand, 0);
}

void Windows::CloseAllCharts()
{
    for (HWND chart : Charts())
        PostMessageA(chart, WM_COMMAND, CloseCommand, 0);
}

} // namespace MT4
