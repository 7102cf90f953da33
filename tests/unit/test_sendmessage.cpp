// The threaded send: the result, the thread the window answered on and the
// per-window mutex held meanwhile, the worker of one send taken again by the
// next, sends to one window in turn and to two windows at once, a window that
// is gone, and a caller that owns the window itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include <windows.h>

#include "Utils/SendMessage.h"
#include "Utils/Wait.h"
#include "support/TestWindow.h"

namespace {

const UINT Question = WM_APP + 7;

// A message-only window that runs `work` for each Question, notes the thread it
// answered on and answers wParam + 1; served by its own thread unless `here`.
class Answering {
public:
    explicit Answering(std::function<void()> work = [] {}, bool here = false) : m_work(std::move(work))
    {
        if (here) {
            Create();
            return;
        }
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([this, ready] {
            Create();
            SetEvent(ready);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0)
                DispatchMessageA(&msg);
            DestroyWindow(m_window);
        });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~Answering()
    {
        if (!m_thread.joinable())
            DestroyWindow(m_window);
        else
            PostThreadMessageA(m_threadId, WM_QUIT, 0, 0), m_thread.join();
    }

    HWND m_window = nullptr;
    DWORD m_threadId = 0;
    std::vector<DWORD> m_answered;

private:
    void Create()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "RazozazER4Test_Answering";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
            windowClass.hInstance, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_threadId = GetCurrentThreadId();
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<Answering*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != Question || !self)
            return DefWindowProcA(window, message, wParam, lParam);
        self->m_answered.push_back(GetCurrentThreadId());
        self->m_work();
        return static_cast<LRESULT>(wParam + 1);
    }

    std::function<void()> m_work;
    std::thread m_thread;
};

// Whether another thread holds the window's send mutex now.
bool Held(HWND window)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, Utils::SendMessage::MutexName(window).c_str());
    const DWORD waited = mutex ? WaitForSingleObject(mutex, 0) : WAIT_FAILED;
    if (waited == WAIT_OBJECT_0)
        ReleaseMutex(mutex);
    if (mutex)
        CloseHandle(mutex);
    return waited == WAIT_TIMEOUT;
}

TEST(SendMessageTest, ResultIsTheAnswerGivenOnTheWindowsOwnThreadUnderItsNamedMutex)
{
    EXPECT_EQ(Utils::SendMessage::MutexName(reinterpret_cast<HWND>(0xABCDEF12)), "Utils::SendMessage(ABCDEF12)");
    std::vector<bool> held;
    Answering served([&] { held.push_back(Held(served.m_window)); });
    EXPECT_EQ(Utils::SendMessage(served.m_window, Question, 41, 0).Result(), 42);
    // The next send finds the first one's worker idle: no thread is started.
    const size_t threads = Support::ThreadCount();
    EXPECT_EQ(Utils::SendMessage(served.m_window, Question, 1, 0).Result(), 2);
    EXPECT_EQ(Support::ThreadCount(), threads);
    EXPECT_EQ(served.m_answered, std::vector<DWORD>(2, served.m_threadId));
    EXPECT_EQ(held, std::vector<bool>(2, true));
    EXPECT_FALSE(Held(served.m_window));  // let go as soon as the answer came

    HWND gone = Answering().m_window;
    EXPECT_EQ(Utils::SendMessage(gone, Question, 1, 0).Result(), 0);
    Answering own([] {}, true);  // a caller that owns the window serves the send while it waits
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Utils::SendMessage(own.m_window, Question, 9, 0).Result(), 10);
    EXPECT_EQ(own.m_answered, std::vector<DWORD> { GetCurrentThreadId() });
    EXPECT_LT(GetTickCount64() - start, 5000u);  // far below the bound of a send nobody serves
}

TEST(SendMessageTest, SendsToOneWindowTakeTurnsAcrossThreadsAndToTwoWindowsRunAtOnce)
{
    // Each answer serves other sends for a while, as a terminal does in a
    // dialog's loop: a second send issued meanwhile would be answered inside it.
    std::atomic<int> inside { 0 }, most { 0 }, answered { 0 };
    Answering served([&] {
        most = std::max(most.load(), ++inside);
        Utils::Wait::Until([] {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            return false;
        }, 5, 40);
        --inside;
    });
    std::vector<std::thread> senders;
    for (int i = 0; i < 4; ++i)
        senders.emplace_back(
            [&, i] { answered += Utils::SendMessage(served.m_window, Question, i, 0).Result() == i + 1; });
    for (std::thread& sender : senders)
        sender.join();
    EXPECT_EQ(answered, 4);
    EXPECT_EQ(most, 1);

    // Each window's answer waits for the other window to be busy too: sends
    // that took turns would never get there.
    HANDLE busy[2] = { CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr) };
    std::atomic<int> metTheOther { 0 };
    const auto meet = [&](int mine) {
        SetEvent(busy[mine]);
        metTheOther += WaitForSingleObject(busy[1 - mine], 5000) == WAIT_OBJECT_0;
    };
    Answering first([&] { meet(0); }), second([&] { meet(1); });
    std::thread other([&] { Utils::SendMessage(second.m_window, Question, 0, 0); });
    Utils::SendMessage(first.m_window, Question, 0, 0);
    other.join();
    EXPECT_EQ(metTheOther, 2);
    CloseHandle(busy[0]);
    CloseHandle(busy[1]);
}

}  // namespace
