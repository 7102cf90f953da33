#pragma once
// A real top-level window for input tests: painted in one colour, records
// the mouse-button and key messages it receives, in order.
#include <windows.h>
#include <vector>

namespace Support {

struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Message& other) const
    {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};

class TestWindow {
public:
    // A topmost popup window at (x, y) of the given size, on this thread.
    TestWindow(int x, int y, int width, int height, COLORREF color);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return m_window; }
    const std::vector<Message>& Messages() const { return m_messages; }
    // What the window answers to mouse-button messages (0 = handled).
    void SetMouseResult(LRESULT result) { m_mouseResult = result; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    HBRUSH m_brush = nullptr;
    LRESULT m_mouseResult = 0;
    std::vector<Message> m_messages;
};

// The threads of this process now.
size_t ThreadCount();

}  // namespace Support
