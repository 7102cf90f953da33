#pragma once
// Waiting for the terminal: every wait polls with an interval and has a
// bound. Intervals and attempt counts that the terminal's behaviour dictates
// stay where they are used; the bounds of waits that have no natural end are
// kept here, in one table.
#include <windows.h>

namespace Utils::Wait {

// Bounds, in milliseconds.
inline constexpr DWORD DialogBound = 10000;    // a dialog or window to appear or go
inline constexpr DWORD WindowTextBound = 10000;  // a window to answer WM_GETTEXT
inline constexpr DWORD SendBound = 30000;      // a threaded send to return
inline constexpr DWORD SnapshotBound = 10000;  // a module snapshot of a process
inline constexpr DWORD ControlBound = 10000;   // a control to answer one message
inline constexpr DWORD LockBound = 10000;      // a lock that is only ever held for a moment
inline constexpr DWORD WorkerEndBound = SendBound + 5000;  // a worker asked to end (it may be inside a send)

// The terminal's interface thread: the thread of its main window, when the
// terminal is the process the library lives in (0 otherwise). Indicators run
// on it, and everything the terminal shows is done by it: a wait there must
// keep serving its messages, or it waits for itself.
void SetInterfaceThread(DWORD thread);
bool OnInterfaceThread();

// Waits until `object` is signalled, at most `bound` ms (INFINITE: no end);
// the result of WaitForSingleObject. On the interface thread the terminal's
// messages are served meanwhile, as a modal dialog serves them.
DWORD ForHandle(HANDLE object, DWORD bound);

// Sleeps `ms`; on the interface thread it serves the terminal's messages
// meanwhile.
void Pause(DWORD ms);

// Calls `attempt` up to `attempts` times, sleeping `interval` ms after each
// result that converts to false; returns the first true-ish result, or the
// last result.
template <class Attempt>
auto Retry(unsigned attempts, DWORD interval, Attempt&& attempt) -> decltype(attempt())
{
    auto result = attempt();
    for (unsigned i = 1; i < attempts && !result; ++i) {
        Pause(interval);
        result = attempt();
    }
    return result;
}

// Polls `done` every `interval` ms until it holds (true) or `bound` ms passed (false).
template <class Done>
bool Until(Done&& done, DWORD interval, DWORD bound)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() - start >= bound)
            return false;
        Pause(interval);
    }
}

// Waits until `object` is signalled, at most `bound` ms (true when it was).
// With `serveSends` the thread meanwhile processes what other threads send to
// its own windows: a thread waiting for a send to one of its windows. On the
// interface thread every message is served (ForHandle).
inline bool ForObject(HANDLE object, DWORD bound, bool serveSends = false)
{
    if (!serveSends || OnInterfaceThread())
        return ForHandle(object, bound) == WAIT_OBJECT_0;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= bound)
            return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
        const DWORD result = MsgWaitForMultipleObjects(
            1, &object, FALSE, static_cast<DWORD>(bound - elapsed), QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace Utils::Wait
