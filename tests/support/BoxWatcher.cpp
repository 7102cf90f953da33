#include "support/BoxWatcher.h"

#include <algorithm>
#include <iomanip>

namespace Support {

std::ostream& operator<<(std::ostream& out, const Box& box)
{
    // Texts are Windows-1251: print them as bytes a reader can compare.
    auto bytes = [&out](const std::string& text) {
        for (unsigned char c : text) {
            if (c >= 0x20 && c < 0x7F)
                out << c;
            else
                out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << int(c) << std::dec;
        }
    };
    out << "{caption \"";
    bytes(box.caption);
    out << "\", text \"";
    bytes(box.text);
    return out << "\"}";
}

BoxWatcher::BoxWatcher() : m_thread([this] { Watch(); }) {}

BoxWatcher::~BoxWatcher()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_thread.join();
}

std::vector<Box> BoxWatcher::Take()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Box> boxes;
    boxes.swap(m_boxes);
    return boxes;
}

void BoxWatcher::Watch()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stop)
                return;
            // Forget boxes that are gone: their handles may be used again.
            std::erase_if(m_closed, [](HWND window) { return !IsWindow(window); });
        }
        EnumWindows(OnWindow, reinterpret_cast<LPARAM>(this));
        Sleep(5);
    }
}

BOOL CALLBACK BoxWatcher::OnWindow(HWND window, LPARAM self)
{
    auto* watcher = reinterpret_cast<BoxWatcher*>(self);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    HWND textStatic = GetDlgItem(window, 0xFFFF);
    if (process != GetCurrentProcessId() || std::string(className) != "#32770" || !textStatic
        || !IsWindowVisible(window))
        return TRUE;
    {
        std::lock_guard<std::mutex> lock(watcher->m_mutex);
        if (std::find(watcher->m_closed.begin(), watcher->m_closed.end(), window) != watcher->m_closed.end())
            return TRUE;
    }
    Box box;
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    box.caption = text;
    GetWindowTextA(textStatic, text, sizeof text);
    box.text = text;
    {
        std::lock_guard<std::mutex> lock(watcher->m_mutex);
        watcher->m_boxes.push_back(box);
        watcher->m_closed.push_back(window);
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

}  // namespace Support
