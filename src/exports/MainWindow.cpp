// Exports of start-up and of the terminal's main window as a whole.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Input.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

int32_t ShowMain(int command)
{
    return ShowWindow(Terminal()->MainWindow(), command);
}

}  // namespace

extern "C" {

void WINAPI VelmorInit(int32_t processId)
{
    Frame::Guard("VelmorInit()", "", [=] { Restart(static_cast<DWORD>(processId)); });
}

int32_t WINAPI VelmorHandleMT4()
{
    return Frame::Call("VelmorHandleMT4()", 0, [] { return AsInteger(Terminal()->MainWindow()); });
}

int32_t WINAPI VelmorGetProcessId()
{
    return Frame::Call("VelmorGetProcessId()", 0, [] { return static_cast<int32_t>(Terminal()->ProcessId()); });
}

int32_t WINAPI VelmorMetaTraderClose()
{
    return Frame::Call("VelmorMetaTraderClose()", 0,
        [] { return static_cast<int32_t>(PostMessageA(Terminal()->MainTarget(), WM_CLOSE, 0, 0)); });
}

void WINAPI VelmorMetaTraderTitle(int32_t show)
{
    Frame::Run("VelmorMetaTraderTitle()", [=] { Terminal()->MetaTraderTitle(show); });
}

int32_t WINAPI VelmorMetaTraderHide()
{
    return Frame::Call("VelmorMetaTraderHide()", 0, [] { return ShowMain(SW_HIDE); });
}

int32_t WINAPI VelmorMetaTraderShow()
{
    return Frame::Call("VelmorMetaTraderShow()", 0, [] { return ShowMain(SW_SHOW); });
}

int32_t WINAPI VelmorMetaTraderMaximize()
{
    return Frame::Call("VelmorMetaTraderMaximize()", 0, [] { return ShowMain(SW_MAXIMIZE); });
}

int32_t WINAPI VelmorMetaTraderMinimize()
{
    return Frame::Call("VelmorMetaTraderMinimize()", 0, [] { return ShowMain(SW_MINIMIZE); });
}

int32_t WINAPI VelmorMetaTraderRestore()
{
    return Frame::Call("VelmorMetaTraderRestore()", 0, [] { return ShowMain(SW_RESTORE); });
}

void WINAPI VelmorMetaTraderKeyDown(int32_t key)
{
    Frame::Run("VelmorMetaTraderKeyDown()",
        [=] { PostMessageA(Terminal()->MainTarget(), WM_KEYDOWN, static_cast<WPARAM>(key & 0xFF), 1); });
}

void WINAPI VelmorMetaTraderHotKeys(int32_t key, int32_t modifier)
{
    Frame::Run("VelmorMetaTraderHotKeys()", [=] {
        ShowMain(SW_RESTORE);
        Utils::Keyboard::Hot(static_cast<BYTE>(key & 0xFF), static_cast<BYTE>(modifier & 0xFF));
    });
}

int32_t WINAPI VelmorGetLocalization()
{
    return Frame::Call("VelmorGetLocalization()", 0, [] { return static_cast<int32_t>(Terminal()->GetLanguage()); });
}

}  // extern "C"
