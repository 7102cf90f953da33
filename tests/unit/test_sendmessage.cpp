// The threaded send: the per-window mutex name, the result, the thread the
// window answered on and the mutex held meanwhile, the worker of one send taken
// again by the next, sends to one window in turn and to two windows at once (a
// busy worker is not taken), a window that is gone, and a caller that owns the
// window itself.
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

// What a test window does with each Question: runs `work` and answers
// wParam + 1; it notes the thread each answer was given on.
struct Answers {
    std::function<void()> work = [] { };
    std::vector<DWORD> threads;
};

LRESULT CALLBACK AnswerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* answers = reinterpret_cast<Answers*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != Question || !answers)
        return DefWindowProcA(window, message, wParam, lParam);
    answers->threads.push_back(GetCurrentThreadId());
    answers->work();
    return static_cast<LRESULT>(wParam + 1);
}

// A message-only window of the calling thread.
HWND CreateAnswering(Answers* answers)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = AnswerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "RazozazER4Test_Answering";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
        GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(answers));
    return window;
}

// Such a window on a thread of its own.
class ServedWindow {
public:
    explicit ServedWindow(std::function<void()> work = [] { })
    {
        m_answers.work = std::move(work);
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([this, ready] {
            m_window = CreateAnswering(&m_answers);
            m_threadId = GetCurrentThreadId();
            SetEvent(ready);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0)
                DispatchMessageA(&msg);
            DestroyWindow(m_window);
        });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~ServedWindow()
    {
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }

    HWND Handle() const { return m_window; }
    DWORD Thread() const { return m_threadId; }
    const std::vector<DWORD>& Answered() const { return m_answers.threads; }

private:
    Answers m_answers;
    HWND m_window = nullptr;
    DWORD m_threadId = 0;
    std::thread m_thread;
};

// The threads of this process.
TEST(SendMessageTest, MutexNameIsTheHandleAsEightUpperCaseHexDigits)
{
    EXPECT_EQ(Utils::SendMessage::MutexName(reinterpret_cast<HWND>(0x1027C)), "Utils::SendMessage(0001027C)");
    EXPECT_EQ(Utils::SendMessage::MutexName(reinterpret_cast<HWND>(0xABCDEF12)), "Utils::SendMessage(ABCDEF12)");
}

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
    std::vector<bool> held;
    ServedWindow served([&] { held.push_back(Held(served.Handle())); });
    Utils::SendMessage send(served.Handle(), Question, 41, 0);
    EXPECT_EQ(send.Result(), 42);
    // The next send finds the first one's worker idle: no thread is started.
    const size_t threads = Support::ThreadCount();
    EXPECT_EQ(Utils::SendMessage(served.Handle(), Question, 1, 0).Result(), 2);
    EXPECT_EQ(Support::ThreadCount(), threads);
    EXPECT_EQ(served.Answered(), std::vector<DWORD>(2, served.Thread()));
    EXPECT_EQ(held, std::vector<bool>(2, true));
    EXPECT_FALSE(Held(served.Handle()));  // let go as soon as the answer came
}

TEST(SendMessageTest, SendsToOneWindowTakeTurnsAcrossThreads)
{
    // Each answer serves other sends for a while, as a terminal does in a
    // dialog's loop: a second send issued meanwhile would be answered inside it.
    std::atomic<int> inside { 0 }, most { 0 };
    ServedWindow served([&] {
        const int now = ++inside;
        most = std::max(most.load(), now);
        Utils::Wait::Until([] {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            return false;
        }, 5, 40);
        --inside;
    });
    std::vector<std::thread> senders;
    std::atomic<int> answered { 0 };
    for (int i = 0; i < 4; ++i)
        senders.emplace_back([&, i] { answered += Utils::SendMessage(served.Handle(), Question, i, 0).Result() == i + 1; });
    for (std::thread& sender : senders)
        sender.join();
    EXPECT_EQ(answered, 4);
    EXPECT_EQ(most, 1);
}

TEST(SendMessageTest, SendsToTwoWindowsRunAtTheSameTime)
{
    // Each window's answer waits for the other window to be busy too: sends
    // that took turns would never get there.
    HANDLE busy[2] = { CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr) };
    std::atomic<int> metTheOther { 0 };
    ServedWindow first([&] {
        SetEvent(busy[0]);
        metTheOther += WaitForSingleObject(busy[1], 5000) == WAIT_OBJECT_0;
    });
    ServedWindow second([&] {
        SetEvent(busy[1]);
        metTheOther += WaitForSingleObject(busy[0], 5000) == WAIT_OBJECT_0;
    });
    std::thread other([&] { Utils::SendMessage(second.Handle(), Question, 0, 0); });
    Utils::SendMessage(first.Handle(), Question, 0, 0);
    other.join();
    EXPECT_EQ(metTheOther, 2);
    CloseHandle(busy[0]);
    CloseHandle(busy[1]);
}

TEST(SendMessageTest, AWindowThatIsGoneAnswersZero)
{
    HWND gone = CreateAnswering(nullptr);
    DestroyWindow(gone);
    Utils::SendMessage send(gone, Question, 1, 0);
    EXPECT_EQ(send.Result(), 0);
}

TEST(SendMessageTest, ACallerThatOwnsTheWindowServesTheSendWhileItWaits)
{
    Answers answers;
    HWND own = CreateAnswering(&answers);
    const ULONGLONG start = GetTickCount64();
    Utils::SendMessage send(own, Question, 9, 0);
    EXPECT_EQ(send.Result(), 10);
    EXPECT_EQ(answers.threads, std::vector<DWORD> { GetCurrentThreadId() });
    EXPECT_LT(GetTickCount64() - start, 5000u);  // far below the bound of a send nobody serves
    DestroyWindow(own);
}

}  // namespace
