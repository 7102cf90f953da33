#pragma once
// Small window queries for the tests of the stand-in and of the library.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace StandInTest {

inline std::string ClassOf(HWND window)
{
    char name[256] = "";
    return GetClassNameA(window, name, sizeof name), name;
}

inline std::string TextOf(HWND window)
{
    char text[512] = "";
    return GetWindowTextA(window, text, sizeof text), text;
}

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    return reinterpret_cast<std::vector<HWND>*>(list)->push_back(window), TRUE;
}

inline std::vector<HWND> Descendants(HWND window, std::vector<HWND> found = {})
{
    return EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&found)), found;
}

// The top-level windows of this process and all their descendants.
inline std::vector<HWND> WindowsOfThisProcess()
{
    std::vector<HWND> topLevel, all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&topLevel));
    for (HWND window : topLevel) {
        DWORD process = 0;
        if (GetWindowThreadProcessId(window, &process), process == GetCurrentProcessId())
            all.push_back(window), EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&all));
    }
    return all;
}

}  // namespace StandInTest
