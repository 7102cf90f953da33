#include "Utils/Input.h"

#include <string>

#include "Utils/Controls.h"
#include "Utils/Errors.h"

namespace Utils::Mouse {

namespace {

// A window that handled a mouse-button message returns 0.
void SendButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* function,
    const char* detail)
{
    SetLastError(0);
    if (Controls::Send(function, window, message, wParam, lParam) != 0) {
        const DWORD code = GetLastError();
        throw Error::Function(function, detail) + LastErrorText(code);
    }
}

[[noreturn]] void ThrowGetInfo(const char* detail)
{
    const DWORD code = GetLastError();
    throw Error::Function("Utils::Mouse::GetInfo", detail) + LastErrorText(code);
}

}  // namespace

void LeftDown(HWND window, int x, int y)
{
    SendButton(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y), "Utils::Mouse::LeftDown", "Клавиша не нажата.");
}

void LeftUp(HWND window, int x, int y)
{
    SendButton(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y), "Utils::Mouse::LeftUp", "Клавиша не отжата.");
}

void DoubleClickLeft(HWND window, WPARAM wParam, LPARAM lParam)
{
    SendButton(window, WM_LBUTTONDBLCLK, wParam, lParam, "Utils::Mouse::DoubleClickLeft", "Клавиша не нажата.");
}

MouseInfo GetInfo()
{
    MouseInfo info = {};
    POINT point = {};
    if (!GetCursorPos(&point))
        ThrowGetInfo("Не получены экранные координаты.");
    info.value[MouseInfo::ScreenX] = point.x;
    info.value[MouseInfo::ScreenY] = point.y;
    HWND window = WindowFromPoint(point);
    info.value[MouseInfo::Window] = static_cast<int32_t>(reinterpret_cast<INT_PTR>(window));
    if (!window)
        return info;
    if (!ScreenToClient(window, &point))
        ThrowGetInfo("Экранные координаты не преобразованы в клиентские.");
    info.value[MouseInfo::ClientX] = point.x;
    info.value[MouseInfo::ClientY] = point.y;
    HDC dc = GetDC(window);
    if (!dc)
        ThrowGetInfo("Не получен дескриптор дисплейного контекста устройства.");
    info.value[MouseInfo::Color] = static_cast<int32_t>(GetPixel(dc, point.x, point.y));
    ReleaseDC(window, dc);
    return info;
}

}  // namespace Utils::Mouse

namespace Utils::Keyboard {

void Hot(BYTE key, BYTE modifier)
{
    switch (modifier) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LWIN:
    case VK_RWIN:
        break;
    default:
        throw "Метод \"Utils::Keyboard::Hot()\".\nКод второй клавиши выбран неверно.";
    }
    const BYTE scanCode = 0x45;
    const DWORD down = KEYEVENTF_EXTENDEDKEY;
    const DWORD up = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
    keybd_event(modifier, scanCode, down, 0);
    keybd_event(key, scanCode, down, 0);
    keybd_event(key, scanCode, up, 0);
    keybd_event(modifier, scanCode, up, 0);
}

}  // namespace Utils::Keyboard
