#pragma once
// Arguments as they cross the library's border. Window handles are 32-bit
// integers (on 64-bit Windows too a window handle's significant bits fit in
// 32); a text is taken up to its first zero byte, and no text (a null
// pointer) is the empty one.
#include <windows.h>

#include <cstdint>
#include <string>

// Two values are no window's handle but address every top-level window of
// the desktop at once: HWND_BROADCAST (0xFFFF) and -1, which sends and posts
// treat alike. A handle argument of either is taken as no window, so that an
// operation refuses it as it refuses handle 0 instead of sending its command
// (closing a chart, a key, a WM_CLOSE) to every program on the desktop.
inline HWND AsWindow(int32_t value)
{
    if (value == 0xFFFF || value == -1)
        return nullptr;
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
}

inline int32_t AsInteger(HWND window)
{
    return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window));
}

inline std::string Text(const char* text)
{
    return text ? std::string(text) : std::string();
}
