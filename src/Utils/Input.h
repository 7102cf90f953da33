#pragma once
// Simulated input: mouse-button messages sent straight to a window, key
// combinations through the system keyboard input, and the cursor query.
#include <windows.h>
#include <cstdint>

namespace Utils::Mouse {

// What lies under the cursor, six 32-bit values in this order.
struct MouseInfo {
    enum { Window, ScreenX, ScreenY, ClientX, ClientY, Color, Count };
    int32_t value[Count];
};

void LeftDown(HWND window, int x, int y);
void LeftUp(HWND window, int x, int y);
void DoubleClickLeft(HWND window, WPARAM wParam, LPARAM lParam);
MouseInfo GetInfo();

}  // namespace Utils::Mouse

namespace Utils::Keyboard {

// Presses modifier+key: modifier down, key down, key up, modifier up.
// modifier must be Shift, Ctrl, Alt or one of the Windows keys.
void Hot(BYTE key, BYTE modifier);

}  // namespace Utils::Keyboard
