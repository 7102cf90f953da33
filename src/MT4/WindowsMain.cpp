// The main window as a whole.
#include <windows.h>

#include "MT4/Windows.h"

namespace MT4 {

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
    SendMessageA(chart, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    SendMessageA(chart, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageA(chart, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

}  // namespace MT4
