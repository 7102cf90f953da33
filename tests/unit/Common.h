#pragma once
// Helpers of the unit and refresh tests: a served window, the send mutex's holder, the range rule's texts.
#include <windows.h>
#include <string>
#include <thread>
#include "Utils/SendMessage.h"

// A popup of class `name` with `proc` and `data` in its user data, served by a thread of its own unless `here`.
class ServedWindow {
public:
    ServedWindow(const char* name, WNDPROC proc, LONG_PTR data, bool here = false)
    {
        const WNDCLASSA windowClass = { 0, proc, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, name };
        RegisterClassA(&windowClass);
        const auto create = [=, this] {
            m_window = CreateWindowExA(0, name, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            SetWindowLongPtrA(m_window, GWLP_USERDATA, data);
            m_threadId = GetCurrentThreadId();
        };
        if (here) {
            create();
            return;
        }
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([=, this] {
            create();
            SetEvent(ready);
            for (MSG msg; GetMessageA(&msg, nullptr, 0, 0) > 0;)
                DispatchMessageA(&msg);
            DestroyWindow(m_window);
        });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~ServedWindow()
    {
        if (!m_thread.joinable())
            DestroyWindow(m_window);
        else
            PostThreadMessageA(m_threadId, WM_QUIT, 0, 0), m_thread.join();
    }

    HWND m_window = nullptr;
    DWORD m_threadId = 0;

private:
    std::thread m_thread;
};

// Whether another thread holds the send mutex of `window` now: a send to it is under way.
inline bool Held(HWND window)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, Utils::SendMessage::MutexName(window).c_str());
    const DWORD waited = mutex ? WaitForSingleObject(mutex, 0) : WAIT_FAILED;
    if (waited == WAIT_OBJECT_0)
        ReleaseMutex(mutex);
    return (mutex && CloseHandle(mutex)), waited == WAIT_TIMEOUT;
}

// The range rule's head and its text for a start at or past the end, as `method` reports them.
inline std::string Head(const char* method)
{
    return std::string("Функция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе \"") + method + "()\".";
}

inline std::string Rejection(const char* method, uint32_t total, uint32_t start, uint32_t count)
{
    return "\n" + Head(method) + "\n" + (total ? "" : "Количество всех элементов равно нулю.\n")
        + "Номер стартового элемента больше или равен количеству всех элементов.\nКоличество всех элементов: "
        + std::to_string(total) + "\nСтартовый элемент: " + std::to_string(start)
        + "\nКоличество элементов: " + std::to_string(count) + "\n";
}
