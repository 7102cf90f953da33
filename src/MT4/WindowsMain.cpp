// The main window as a whole.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Controls.h"

namespace MT4 {

HWND Windows::MainTarget() const
{
    if (!m_mainWindow)
        throw NoMainWindow;
    return m_mainWindow;
}

void Windows::MetaTraderTitle(BOOL show)
{
    LONG style = GetWindowLongA(m_mainWindow, GWL_STYLE);
    style = show ? (style | WS_CAPTION) : (style & ~WS_CAPTION);
    SetWindowLongA(m_mainWindow, GWL_STYLE, style);

    // Click the second chart, so that it becomes the active one and the
    // terminal redraws its frame for the changed caption.
    const std::vector<HWND> charts = Charts();
    if (charts.size() < 2)
        return;
    HWND chart = charts[1];
    HWND frame = GetParent(chart);
    if (!frame)
        throw "Метод \"MT4::Windows::MetaTraderTitle()\".\nНе получен системный дескриптор окна графика.";
    const char* const method = "MT4::Windows::MetaTraderTitle";
    const LPARAM activation = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
    Utils::Controls::Send(method, chart, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame), activation);
    Utils::Controls::Send(method, chart, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    Utils::Controls::Send(method, chart, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

}  // namespace MT4
