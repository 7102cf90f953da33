#pragma once
// Standard controls in a window of their own, served by a thread of this
// process: an edit, a check box, a label, a two-level-deep tree, and an edit
// that refuses every text.
#include <windows.h>

#include <string>

namespace Support {

class ControlHost {
public:
    enum : int { EditId = 1, CheckBoxId = 2, StaticId = 3, TreeId = 4, RefusingEditId = 5 };

    ControlHost();
    ~ControlHost();  // destroys the window and ends the thread
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    HWND Window() const { return m_window; }
    HWND Item(int id) const { return GetDlgItem(m_window, id); }
    DWORD Thread() const { return m_threadId; }
    // Returns when the window has been closed (WM_CLOSE) and the thread ended.
    void WaitUntilClosed() const { WaitForSingleObject(m_thread, INFINITE); }
    // Keeps the serving thread busy for `ms` without answering messages;
    // returns once it is.
    void Freeze(DWORD ms);

    // The tree: "Root A" > "Folder A1" > "Leaf A1x", "Leaf A1y"; "Root B" > "Leaf B1".
    // All collapsed, "Root A" selected.

private:
    static unsigned __stdcall Serve(void* self);
    void Build();

    HANDLE m_thread = nullptr;
    unsigned m_threadId = 0;
    HANDLE m_ready = nullptr;
    HWND m_window = nullptr;
};

}  // namespace Support
