#include "support/TestWindow.h"

#include <tlhelp32.h>

namespace Support {

namespace {

const char* const ClassName = "RazozazER4TestWindow";

}  // namespace

TestWindow::TestWindow(int x, int y, int width, int height, COLORREF color)
{
    m_brush = CreateSolidBrush(color);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = ClassName;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    m_window = CreateWindowExA(WS_EX_TOPMOST, ClassName, "test window", WS_POPUP, x, y, width, height, nullptr,
        nullptr, GetModuleHandleA(nullptr), this);
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);
}

TestWindow::~TestWindow()
{
    DestroyWindow(m_window);
    DeleteObject(m_brush);
}

LRESULT CALLBACK TestWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(window, &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, self->m_brush);
        return 1;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        self->m_messages.push_back({ message, wParam, lParam });
        return self->m_mouseResult;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        self->m_messages.push_back({ message, wParam, lParam });
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

size_t ThreadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    size_t count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

}  // namespace Support
