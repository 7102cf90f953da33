#pragma once
// Arguments and text results as they cross the library's border. Window
// handles are 32-bit integers (on 64-bit Windows too a window handle's
// significant bits fit in 32); a text is taken up to its first zero, and no
// text (a null pointer) is the empty one. The wide exports' texts are UTF-16
// and are converted here, once, to and from the terminal's code page.
#include <windows.h>

#include <cstdint>
#include <string>

#include "MT4/SyncText.h"
#include "Utils/StringS.h"

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

// A UTF-16 text in the terminal's code page; a character the code page lacks
// throws (the export shows its box and returns its neutral result).
inline std::string Text(const wchar_t* text)
{
    return Utils::StringS::ToAnsi(text);
}

// A text result in the calling thread's buffer, as the caller reads it.
inline const char* Result(const std::string& text)
{
    return Utils::Pointer<MT4::SyncText>()->Set(text);
}

inline const wchar_t* WideResult(const std::string& text)
{
    return Utils::Pointer<MT4::SyncText>()->Set(Utils::StringS::ToWide(text));
}
