#pragma once
// Arguments as they cross the library's border. Window handles are 32-bit
// integers (on 64-bit Windows too a window handle's significant bits fit in
// 32); a text is taken up to its first zero byte, and no text (a null
// pointer) is the empty one.
#include <windows.h>

#include <cstdint>
#include <string>

inline HWND AsWindow(int32_t value)
{
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
