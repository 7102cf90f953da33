#pragma once
#include <windows.h>

#include <string>

// Saves what the screen shows of a window as a PNG file. Returns false when
// the window cannot be read or the file cannot be written.
bool SaveWindowPng(HWND window, const std::string& path);
