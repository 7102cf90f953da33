#pragma once
// A synchronous window-message send made from a worker thread of a
// process-wide pool: one send per target window at a time across the process
// (a named mutex per window), and a bound on the caller's wait.
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
    // Sends the message from a worker and returns once the window has
    // processed it (StartSend). `keep` is held until the worker is done with
    // the send: whatever lParam points to stays alive even when the caller
    // gave up.
    SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<const void> keep = {});
    SendMessage(const SendMessage&) = delete;
    SendMessage& operator=(const SendMessage&) = delete;

    // "Utils::SendMessage(" + the handle as eight upper-case hex digits + ")".
    static std::string MutexName(HWND window);

    // What the window's procedure returned.
    LRESULT Result() const { return m_result; }

private:
    void StartSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<const void> keep);

    LRESULT m_result = 0;
};

}  // namespace Utils
