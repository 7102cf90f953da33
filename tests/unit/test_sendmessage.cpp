// The threaded send: its answer and thread under the window's mutex, one reused worker, gone and own windows.
#include <gtest/gtest.h>
#include <functional>
#include <vector>
#include "Common.h"
#include "support/TestWindow.h"

namespace {

const UINT Question = WM_APP + 7;

// A window that runs `work` for each Question, notes the thread it answered on and answers wParam + 1.
struct Answering {
    explicit Answering(std::function<void()> work = [] {}, bool here = false)
        : work(std::move(work)), window("RazozazER4Test_Answering", Proc, reinterpret_cast<LONG_PTR>(this), here)
    {
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<Answering*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != Question || !self)
            return DefWindowProcA(window, message, wParam, lParam);
        self->answered.push_back(GetCurrentThreadId());
        self->work();
        return static_cast<LRESULT>(wParam + 1);
    }
    std::function<void()> work;
    std::vector<DWORD> answered;
    ServedWindow window;
};

TEST(SendMessageTest, ResultIsTheAnswerGivenOnTheWindowsOwnThreadUnderItsNamedMutex)
{
    EXPECT_EQ(Utils::SendMessage::MutexName(reinterpret_cast<HWND>(0xABCDEF12)), "Utils::SendMessage(ABCDEF12)");
    std::vector<bool> held;
    Answering served([&] { held.push_back(Held(served.window.m_window)); });
    EXPECT_EQ(Utils::SendMessage(served.window.m_window, Question, 41, 0).Result(), 42);
    // The next send finds the first one's worker idle: no thread is started.
    const size_t threads = Support::ThreadCount();
    EXPECT_EQ(Utils::SendMessage(served.window.m_window, Question, 1, 0).Result(), 2);
    EXPECT_EQ(Support::ThreadCount(), threads);
    EXPECT_EQ(served.answered, std::vector<DWORD>(2, served.window.m_threadId));
    EXPECT_EQ(held, std::vector<bool>(2, true));
    EXPECT_FALSE(Held(served.window.m_window));  // let go as soon as the answer came

    HWND gone = Answering().window.m_window;
    EXPECT_EQ(Utils::SendMessage(gone, Question, 1, 0).Result(), 0);
    Answering own([] {}, true);  // a caller that owns the window serves the send while it waits
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Utils::SendMessage(own.window.m_window, Question, 9, 0).Result(), 10);
    EXPECT_EQ(own.answered, std::vector<DWORD> { GetCurrentThreadId() });
    EXPECT_LT(GetTickCount64() - start, 5000u);  // far below the bound of a send nobody serves
}

}  // namespace
