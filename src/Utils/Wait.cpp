#include "Utils/Wait.h"

namespace Utils::Wait {

namespace {

volatile LONG g_interfaceThread = 0;

// Waits for `object` (or only for the time, without one) while dispatching
// every message of this thread. A WM_QUIT ends the serving: it is posted
// again for the thread's own loop, and the rest of the wait is a plain one.
DWORD Serve(HANDLE object, DWORD bound)
{
    const DWORD count = object ? 1 : 0;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD remaining = INFINITE;
        if (bound != INFINITE) {
            const ULONGLONG elapsed = GetTickCount64() - start;
            remaining = elapsed >= bound ? 0 : static_cast<DWORD>(bound - elapsed);
        }
        const DWORD result = MsgWaitForMultipleObjectsEx(
            count, object ? &object : nullptr, remaining, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result != WAIT_OBJECT_0 + count)
            return result;  // signalled, abandoned, timed out or failed
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                if (object)
                    return WaitForSingleObject(object, remaining);
                Sleep(remaining == INFINITE ? 0 : remaining);
                return WAIT_TIMEOUT;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (remaining == 0)
            return object ? WaitForSingleObject(object, 0) : WAIT_TIMEOUT;
    }
}

}  // namespace

void SetInterfaceThread(DWORD thread)
{
    InterlockedExchange(&g_interfaceThread, static_cast<LONG>(thread));
}

bool OnInterfaceThread()
{
    const DWORD thread = static_cast<DWORD>(InterlockedCompareExchange(&g_interfaceThread, 0, 0));
    return thread && thread == GetCurrentThreadId();
}

DWORD ForHandle(HANDLE object, DWORD bound)
{
    return OnInterfaceThread() ? Serve(object, bound) : WaitForSingleObject(object, bound);
}

void Pause(DWORD ms)
{
    if (OnInterfaceThread())
        Serve(nullptr, ms);
    else
        Sleep(ms);
}

}  // namespace Utils::Wait
