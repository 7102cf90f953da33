#pragma once
// A synchronous window-message send made from a short-lived worker thread:
// one send per target window at a time across the process (a named mutex per
// window), and a bound on the caller's wait.
//
// The system headers turn the name SendMessage into SendMessageA, so the class
// is Utils::SendMessageA. Code inside namespace Utils that includes this header
// must call the system function as ::SendMessageA.
#include <windows.h>

#include <memory>
#include <string>

namespace Utils {

class SendMessage {
public:
    // Sends the message from a worker thread and returns once the window has
    // processed it (StartSend). `keep` is held until the worker has ended:
    // whatever lParam points to stays alive even when the caller gave up.
    SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<const void> keep = {});
    virtual ~SendMessage();  // closes the worker's handle
    SendMessage(const SendMessage&) = delete;
    SendMessage& operator=(const SendMessage&) = delete;

    // "Utils::SendMessage(" + the handle as eight upper-case hex digits + ")".
    static std::string MutexName(HWND window);

    // What the window's procedure returned.
    LRESULT Result() const;
    HANDLE Thread() const { return m_thread; }
    void CloseThread();

private:
    struct Send;
    void StartSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<const void> keep);
    static unsigned __stdcall Worker(void* send);

    HANDLE m_thread = nullptr;
    std::shared_ptr<Send> m_send;  // the values of this one send
};

}  // namespace Utils
