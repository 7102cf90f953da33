#pragma once
// Watches this process for message boxes (class "#32770" with the text
// static 0xFFFF), records each one's caption and text, and presses OK.
#include <windows.h>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace Support {

struct Box {
    std::string caption;
    std::string text;
    bool operator==(const Box& other) const { return caption == other.caption && text == other.text; }
};

std::ostream& operator<<(std::ostream& out, const Box& box);

class BoxWatcher {
public:
    BoxWatcher();
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // The boxes seen and closed since the last call, in order.
    std::vector<Box> Take();

private:
    void Watch();
    static BOOL CALLBACK OnWindow(HWND window, LPARAM self);

    std::mutex m_mutex;
    std::vector<Box> m_boxes;
    std::vector<HWND> m_closed;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace Support
