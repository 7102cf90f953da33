#pragma once
// Base of the stand-in's own windows: one C++ object per window, attached
// from the window's first message on, with one OnXxx handler per message in
// each derived class.
#include <windows.h>
#include <commctrl.h>

namespace StandIn {

class Window {
public:
    Window() = default;
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return m_handle; }

    // Registers a window class whose windows are served by Window objects;
    // registering the same name again is harmless.
    static void Register(const char* className, UINT style, HBRUSH background);
    // The object serving a window of a class registered with Register, or null.
    static Window* Of(HWND window);

protected:
    HWND Create(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y, int width,
        int height, HWND parent, UINT id);
    // An MDI child of `client` (WM_MDICREATE); it becomes the active child.
    HWND CreateMdiChild(HWND client, const char* className, const char* text, DWORD style, int x, int y,
        int width, int height);

    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // What the window does with a message it leaves to the system.
    virtual LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_handle = nullptr;
};

// Puts `procedure` in front of a control's own window procedure, the way the
// terminal's windows are subclassed: by their window procedure. (comctl32's
// SetWindowSubclass keeps its chain in a window property, which Wine looks up
// in its server on every message, ~0.1 ms a message: a cost the terminal's
// controls do not have.) `procedure` is called as a SUBCLASSPROC with id 0 and
// `data`, and hands on what it does not consume with Next; it is left at
// WM_NCDESTROY.
void Subclass(HWND control, SUBCLASSPROC procedure, DWORD_PTR data);
LRESULT Next(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

HMENU ChildId(UINT id);
bool HasVisibleChild(HWND window);

}  // namespace StandIn
