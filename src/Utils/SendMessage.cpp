#include "Utils/SendMessage.h"

#include <process.h>

#include <cstdio>

#include "Utils/Errors.h"
#include "Utils/Sync.h"
#include "Utils/Wait.h"

namespace Utils {

namespace {

// Who owns a send: the worker takes it to deliver the message, the caller
// takes it back when its wait reached the bound first.
enum : LONG { Waiting, Sending, Done, Abandoned };

// A window handle written as a 32-bit pointer: eight upper-case hex digits.
std::string HexDigits(HWND window)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08lX",
        static_cast<unsigned long>(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window))));
    return digits;
}

}  // namespace

// The values of one send, shared by the caller and its worker: whichever of
// the two ends last frees them.
struct SendMessage::Send {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::shared_ptr<const void> keep;
    Sync::Mutex mutex;  // the window's send mutex
    LRESULT result = 0;
    volatile LONG state = Waiting;
};

SendMessage::SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<const void> keep)
{
    StartSend(window, message, wParam, lParam, std::move(keep));
}

SendMessage::~SendMessage()
{
    CloseThread();
}

std::string SendMessage::MutexName(HWND window)
{
    return "Utils::SendMessage(" + HexDigits(window) + ")";
}

LRESULT SendMessage::Result() const
{
    return m_send ? m_send->result : 0;
}

void SendMessage::CloseThread()
{
    if (m_thread) {
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
}

// The worker holds the window's send mutex for as long as its message is
// being processed, so sends to one window never overlap, also when a caller
// stopped waiting for a window that does not answer.
void SendMessage::StartSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<const void> keep)
{
    CloseThread();
    auto send = std::make_shared<Send>();
    send->window = window;
    send->message = message;
    send->wParam = wParam;
    send->lParam = lParam;
    send->keep = std::move(keep);
    send->mutex.Create(MutexName(window), FALSE, Wait::SendBound);
    m_send = send;

    auto* handed = new std::shared_ptr<Send>(send);
    m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Worker, handed, 0, nullptr));
    if (!m_thread) {
        delete handed;
        throw "Метод \"Utils::SendMessage::StartSend()\".\nФункция потока не запущена.";
    }

    // Like a send of its own, the caller serves what is sent to its windows
    // while it waits: a caller on the window's own thread lets the send through.
    if (!Wait::ForObject(m_thread, Wait::SendBound, true))
        InterlockedCompareExchange(&send->state, Abandoned, Waiting);
    if (InterlockedCompareExchange(&send->state, Done, Done) == Done)
        return;
    throw Error::Method("Utils::SendMessage::StartSend",
        "Окно " + HexDigits(window) + " не обработало сообщение за отведённое время ("
            + std::to_string(Wait::SendBound / 1000) + " с).");
}

unsigned __stdcall SendMessage::Worker(void* handed)
{
    std::shared_ptr<Send> send = std::move(*static_cast<std::shared_ptr<Send>*>(handed));
    delete static_cast<std::shared_ptr<Send>*>(handed);
    const DWORD waited = WaitForSingleObject(send->mutex.Handle(), send->mutex.WaitTimeout());
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return 0;
    if (InterlockedCompareExchange(&send->state, Sending, Waiting) == Waiting) {
        send->result = ::SendMessageA(send->window, send->message, send->wParam, send->lParam);
        send->state = Done;
    }
    ReleaseMutex(send->mutex.Handle());
    return static_cast<unsigned>(send->result);
}

}  // namespace Utils
