#pragma once
// Replacing a window's procedure with one of the library's. Every message
// goes first to a handler that may rewrite it, consume it or let it through
// to the procedure the window had before. Each N is a process-wide singleton
// of its own (taken through Utils::Pointer) with its own named lock, so that
// several windows can be subclassed independently.
#include <windows.h>

#include <atomic>
#include <string>

#include "Utils/Base.h"
#include "Utils/Errors.h"
#include "Utils/Sync.h"
#include "Utils/Wait.h"
#include "exports/Frame.h"

namespace Utils {

// What a handler asks of the replacement procedure.
namespace Subclassing {
inline constexpr int Pass = 0; // the message goes on to the previous procedure (so does 2)
inline constexpr int Consume = 5; // the window never sees it (so do 1, 3 and 4)

inline bool Consumes(int action)
{
    return action == 1 || action == 3 || action == 4 || action == 5;
}
} // namespace Subclassing

template <int N> class SUBCLASSING : public virtual Base {
public:
    // Sees every message of the window first; may change all three values.
    using Handler = int (*)(UINT* message, WPARAM* wParam, LPARAM* lParam);

    SUBCLASSING() { Initialise(nullptr); }
    ~SUBCLASSING() override;

    // Forgets the window and its procedure, takes the handler and creates
    // the named lock (once). Call it only while no window is subclassed.
    void Initialise(Handler handler);
    // Installs NewWndProc on `window` unless a window is already subclassed.
    void Subclass(HWND window);
    // Gives the window its own procedure back.
    void Restore();

    static LRESULT CALLBACK NewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool Subclassed();
    HWND Window();
    WNDPROC Previous();

private:
    bool m_subclassed = false;
    HWND m_window = nullptr;
    std::atomic<Handler> m_handler { nullptr };
    WNDPROC m_previous = nullptr;
    Sync::Mutex m_lock;
};

template <int N> SUBCLASSING<N>::~SUBCLASSING()
{
    try {
        Restore();
    } catch (...) {
        // Nobody to tell at the end; the window keeps whatever it has.
    }
    m_subclassed = false;
    m_window = nullptr;
    m_handler = nullptr;
    m_previous = nullptr;
}

template <int N> void SUBCLASSING<N>::Initialise(Handler handler)
{
    // The lock is never created twice: a thread may be waiting on it.
    if (!m_lock.Handle())
        m_lock.Create("Utils::Subclassing_" + std::to_string(N), FALSE, Wait::LockBound);
    Sync::Lock<Sync::Mutex> lock(m_lock);
    m_subclassed = false;
    m_window = nullptr;
    m_previous = nullptr;
    m_handler = handler;
}

template <int N> void SUBCLASSING<N>::Subclass(HWND window)
{
    Sync::Lock<Sync::Mutex> lock(m_lock);
    if (m_subclassed)
        return;
    SetLastError(0);
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (!previous) {
        const DWORD code = GetLastError();
        throw Error::Method("Utils::SUBCLASSING::Subclass", "Не получена оконная процедура окна.")
            + LastErrorText(code);
    }
    // In place before the first message reaches the new procedure.
    m_previous = previous;
    m_window = window;
    m_subclassed = true;
    SetLastError(0);
    if (!SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NewWndProc))) {
        const DWORD code = GetLastError();
        if (code != 0) {
            m_previous = nullptr;
            m_window = nullptr;
            m_subclassed = false;
            throw Error::Method("Utils::SUBCLASSING::Subclass", "Оконная процедура окна не заменена.")
                + LastErrorText(code);
        }
    }
}

template <int N> void SUBCLASSING<N>::Restore()
{
    if (!m_lock.Handle())
        return;
    Sync::Lock<Sync::Mutex> lock(m_lock);
    // A window that is gone has nothing to get back.
    if (m_subclassed && m_previous && IsWindow(m_window))
        SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
    m_subclassed = false;
}

template <int N> bool SUBCLASSING<N>::Subclassed()
{
    Sync::Lock<Sync::Mutex> lock(m_lock);
    return m_subclassed;
}

template <int N> HWND SUBCLASSING<N>::Window()
{
    Sync::Lock<Sync::Mutex> lock(m_lock);
    return m_window;
}

template <int N> WNDPROC SUBCLASSING<N>::Previous()
{
    Sync::Lock<Sync::Mutex> lock(m_lock);
    return m_previous;
}

// Runs on the thread that owns the window. The lock is held only while the
// previous procedure is read, never across its call: the window's own
// procedure may run a modal loop for as long as a dialog stays open, and a
// caller that subclasses or restores must not wait for that.
template <int N>
LRESULT CALLBACK SUBCLASSING<N>::NewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = nullptr;
    try {
        Pointer<SUBCLASSING<N>> self;
        if (const Handler handler = self->m_handler.load()) {
            if (Subclassing::Consumes(handler(&message, &wParam, &lParam)))
                return 0;
        }
        previous = self->Previous();
    } catch (...) {
        const DWORD code = GetLastError();
        Frame::ReportCurrent("Utils::SUBCLASSING::NewWndProc()", "", code);
        return 0;
    }
    // After a restore a message may still come this way (another procedure
    // installed over this one): it goes where it would have gone.
    if (previous)
        return CallWindowProcA(previous, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace Utils
