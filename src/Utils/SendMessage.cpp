#include "Utils/SendMessage.h"

#include <process.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "Utils/Errors.h"
#include "Utils/Sync.h"
#include "Utils/Wait.h"

namespace Utils {

namespace {

using Lock = Sync::Lock<Sync::CriticalSection>;

// Who owns a send: the worker takes it to deliver the message, the caller
// takes it back when its wait reached the bound first.
enum : LONG { Waiting, Sending, Done, Abandoned };

constexpr DWORD IdleEnd = 2000;       // a worker with no send for this long ends
constexpr size_t MutexesKept = 256;   // window mutexes kept open between sends, while workers live

// A window handle written as a 32-bit pointer: eight upper-case hex digits.
std::string HexDigits(HWND window)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08lX",
        static_cast<unsigned long>(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window))));
    return digits;
}

// The values of one send, shared by the caller and the worker that delivers
// it: whichever of the two lets go last frees them.
struct Send {
    ~Send();

    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::shared_ptr<const void> keep;
    std::shared_ptr<Sync::Mutex> mutex;  // the window's send mutex
    HANDLE answered = nullptr;  // auto-reset; the worker sets it once it is done with this send
    bool taken = false;         // the caller's wait took that signal
    LRESULT result = 0;
    volatile LONG state = Waiting;
};

// A worker thread of the pool.
struct Worker {
    ~Worker()
    {
        if (wake)
            CloseHandle(wake);
    }

    HANDLE wake = nullptr;       // auto-reset: a send was handed over
    HMODULE module = nullptr;    // the reference on this code the thread holds
    std::shared_ptr<Send> send;  // the send handed over, under the pool's lock
};

// What the sends of the process share. Never destroyed: a worker of a program
// that links this code may still run while the program's statics go at exit.
struct Pool {
    Sync::CriticalSection lock;
    std::vector<std::shared_ptr<Worker>> idle;  // the last to come back leaves first
    std::vector<HANDLE> events;                 // `answered` events of no send, none set
    std::map<HWND, std::shared_ptr<Sync::Mutex>> mutexes;  // by window value
    size_t workers = 0;  // living workers; the last to end closes what the sends kept
};

Pool& ThePool()
{
    static Pool* const pool = new Pool;
    return *pool;
}

// The event goes back to the pool for the next send. Once both sides let go,
// a worker that finished after its caller gave up has set it for no one.
Send::~Send()
{
    if (!answered)
        return;
    if (!taken)
        ResetEvent(answered);
    Pool& pool = ThePool();
    Lock lock(pool.lock);
    pool.events.push_back(answered);
}

// The window's send mutex; opened once and kept while few windows are sent to.
// The pool's lock is held. A send under way keeps its mutex whatever the cache
// drops.
std::shared_ptr<Sync::Mutex> WindowMutex(Pool& pool, HWND window)
{
    const auto found = pool.mutexes.find(window);
    if (found != pool.mutexes.end())
        return found->second;
    if (pool.mutexes.size() >= MutexesKept)
        pool.mutexes.clear();
    auto mutex = std::make_shared<Sync::Mutex>();
    mutex->Create(SendMessage::MutexName(window), FALSE, Wait::SendBound);
    pool.mutexes.emplace(window, mutex);
    return mutex;
}

// The worker holds the window's send mutex for as long as its message is
// being processed, so sends to one window never overlap, also when a caller
// stopped waiting for a window that does not answer.
void Deliver(Send& send)
{
    const DWORD waited = WaitForSingleObject(send.mutex->Handle(), send.mutex->WaitTimeout());
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return;
    if (InterlockedCompareExchange(&send.state, Sending, Waiting) == Waiting) {
        send.result = ::SendMessageA(send.window, send.message, send.wParam, send.lParam);
        InterlockedExchange(&send.state, Done);
    }
    ReleaseMutex(send.mutex->Handle());
}

// Delivers the sends handed to the worker until none came for IdleEnd. A
// worker is back among the idle ones before its caller is told, so the
// caller's next send finds it there.
void Serve(const std::shared_ptr<Worker>& self)
{
    Pool& pool = ThePool();
    std::shared_ptr<Send> send;  // the one delivered last: its caller is told as the wait starts
    for (;;) {
        const DWORD woken = send ? SignalObjectAndWait(send->answered, self->wake, IdleEnd, FALSE)
                                 : WaitForSingleObject(self->wake, IdleEnd);
        send.reset();
        {
            Lock lock(pool.lock);
            send.swap(self->send);
            if (!send && woken != WAIT_OBJECT_0) {
                pool.idle.erase(std::find(pool.idle.begin(), pool.idle.end(), self));
                if (--pool.workers == 0) {
                    // No send for a while: nothing stays open for the next one.
                    pool.mutexes.clear();
                    for (HANDLE event : pool.events)
                        CloseHandle(event);
                    pool.events.clear();
                }
                return;
            }
        }
        if (!send)
            continue;  // the wake of a send handed over as an idle wait ended
        Deliver(*send);
        Lock lock(pool.lock);
        pool.idle.push_back(self);
    }
}

// The thread ends through the module reference it holds, so no code of the
// module runs after the reference is gone.
unsigned __stdcall WorkerThread(void* handed)
{
    HMODULE module = nullptr;
    {
        const std::unique_ptr<std::shared_ptr<Worker>> worker(static_cast<std::shared_ptr<Worker>*>(handed));
        module = (*worker)->module;
        Serve(*worker);
    }
    FreeLibraryAndExitThread(module, 0);
}

// Hands `send` to an idle worker, or to a new one (false when none started).
bool Hand(const std::shared_ptr<Send>& send)
{
    Pool& pool = ThePool();
    {
        Lock lock(pool.lock);
        if (!pool.idle.empty()) {
            const std::shared_ptr<Worker> worker = std::move(pool.idle.back());
            pool.idle.pop_back();
            worker->send = send;
            return SetEvent(worker->wake);
        }
    }
    auto worker = std::make_shared<Worker>();
    worker->send = send;
    worker->wake = CreateEventA(nullptr, FALSE, TRUE, nullptr);  // set: the first send is there already
    if (!worker->wake
        || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&WorkerThread),
            &worker->module))
        return false;
    auto* handed = new std::shared_ptr<Worker>(worker);
    {
        Lock lock(pool.lock);
        ++pool.workers;
    }
    const auto thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WorkerThread, handed, 0, nullptr));
    if (!thread) {
        delete handed;
        FreeLibrary(worker->module);
        Lock lock(pool.lock);
        --pool.workers;
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace

SendMessage::SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<const void> keep)
{
    StartSend(window, message, wParam, lParam, std::move(keep));
}

std::string SendMessage::MutexName(HWND window)
{
    return "Utils::SendMessage(" + HexDigits(window) + ")";
}

void SendMessage::StartSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<const void> keep)
{
    Pool& pool = ThePool();
    auto send = std::make_shared<Send>();
    send->window = window;
    send->message = message;
    send->wParam = wParam;
    send->lParam = lParam;
    send->keep = std::move(keep);
    {
        Lock lock(pool.lock);
        send->mutex = WindowMutex(pool, window);
        if (!pool.events.empty()) {
            send->answered = pool.events.back();
            pool.events.pop_back();
        }
    }
    if (!send->answered)
        send->answered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!send->answered || !Hand(send))
        throw "Метод \"Utils::SendMessage::StartSend()\".\nФункция потока не запущена.";

    // Like a send of its own, the caller serves what is sent to its windows
    // while it waits: a caller on the window's own thread lets the send through.
    send->taken = Wait::ForObject(send->answered, Wait::SendBound, true);
    InterlockedCompareExchange(&send->state, Abandoned, Waiting);
    if (InterlockedCompareExchange(&send->state, Done, Done) == Done) {
        m_result = send->result;
        return;
    }
    throw Error::Method("Utils::SendMessage::StartSend",
        "Окно " + HexDigits(window) + " не обработало сообщение за отведённое время ("
            + std::to_string(Wait::SendBound / 1000) + " с).");
}

}  // namespace Utils
