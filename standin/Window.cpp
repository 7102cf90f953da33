#include "Window.h"

#include <stdexcept>
#include <string>

namespace StandIn {

namespace {

// The object whose window is being created on this thread: it is attached
// at the window's first message, before WM_NCCREATE on some windows.
thread_local Window* t_creating = nullptr;

std::string Failure(const char* what, const char* className)
{
    return std::string(what) + " " + className + " failed, error " + std::to_string(GetLastError());
}

}  // namespace

void Window::Register(const char* className, UINT style, HBRUSH background)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error(Failure("RegisterClassEx", className));
}

HWND Window::Create(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y,
    int width, int height, HWND parent, UINT id)
{
    t_creating = this;
    HWND window = CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
        (style & WS_CHILD) ? ChildId(id) : nullptr, GetModuleHandleA(nullptr), nullptr);
    t_creating = nullptr;
    if (!window)
        throw std::runtime_error(Failure("CreateWindowEx", className));
    return window;
}

HWND Window::CreateMdiChild(HWND client, const char* className, const char* text, DWORD style, int x, int y,
    int width, int height)
{
    MDICREATESTRUCTA create = {};
    create.szClass = className;
    create.szTitle = text;
    create.hOwner = GetModuleHandleA(nullptr);
    create.x = x;
    create.y = y;
    create.cx = width;
    create.cy = height;
    create.style = style;
    t_creating = this;
    HWND window = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    t_creating = nullptr;
    if (!window)
        throw std::runtime_error(Failure("WM_MDICREATE", className));
    return window;
}

Window* Window::Of(HWND window)
{
    return IsWindow(window) && GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(Proc)
        ? reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA))
        : nullptr;
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(m_handle, message, wParam, lParam);
}

LRESULT CALLBACK Window::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self && t_creating) {
        self = t_creating;
        t_creating = nullptr;
        self->m_handle = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->m_handle = nullptr;
    }
    return result;
}

namespace {

struct Front {
    SUBCLASSPROC procedure;
    DWORD_PTR data;
    WNDPROC own;
};

LRESULT CALLBACK FrontProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* front = reinterpret_cast<Front*>(GetWindowLongPtrW(control, GWLP_USERDATA));
    const LRESULT result = front->procedure(control, message, wParam, lParam, 0, front->data);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(control, GWLP_USERDATA, 0);
        delete front;
    }
    return result;
}

}  // namespace

void Subclass(HWND control, SUBCLASSPROC procedure, DWORD_PTR data)
{
    auto* front = new Front { procedure, data, nullptr };
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(front));
    front->own = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrontProc)));
}

LRESULT Next(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* front = reinterpret_cast<Front*>(GetWindowLongPtrW(control, GWLP_USERDATA));
    return CallWindowProcW(front->own, control, message, wParam, lParam);
}

HMENU ChildId(UINT id) { return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)); }

bool HasVisibleChild(HWND window)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            return true;
    return false;
}

}  // namespace StandIn
