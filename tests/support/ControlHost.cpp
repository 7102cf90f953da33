#include "support/ControlHost.h"

#include <commctrl.h>
#include <process.h>

#include <stdexcept>

namespace Support {

namespace {

const char* const HostClass = "RazozazER4ControlHost";
const char* const RefusingEditClass = "RazozazER4RefusingEdit";
const UINT WM_FREEZE = WM_APP + 7;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_FREEZE) {
        SetEvent(reinterpret_cast<HANDLE>(lParam));
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

// An edit-like window that takes no text.
LRESULT CALLBACK RefusingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        return FALSE;
    return DefWindowProcA(window, message, wParam, lParam);
}

void Register(const char* name, WNDPROC procedure)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
}

HTREEITEM Insert(HWND tree, HTREEITEM parent, const char* text)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

ControlHost::ControlHost()
{
    m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Serve, this, 0, &m_threadId));
    if (!m_thread)
        throw std::runtime_error("control host thread not started");
    WaitForSingleObject(m_ready, INFINITE);
    if (!m_window)
        throw std::runtime_error("control host window not created");
}

ControlHost::~ControlHost()
{
    PostMessageA(m_window, WM_CLOSE, 0, 0);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_ready);
}

void ControlHost::Freeze(DWORD ms)
{
    HANDLE frozen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    PostMessageA(m_window, WM_FREEZE, ms, reinterpret_cast<LPARAM>(frozen));
    WaitForSingleObject(frozen, INFINITE);
    CloseHandle(frozen);
}

void ControlHost::Build()
{
    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_TREEVIEW_CLASSES };
    InitCommonControlsEx(&controls);
    Register(HostClass, HostProc);
    Register(RefusingEditClass, RefusingEditProc);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_window = CreateWindowExA(0, HostClass, "control host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 360, 320,
        nullptr, nullptr, instance, nullptr);
    const auto child = [&](const char* className, const char* text, DWORD style, int y, int height, int id) {
        CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, y, 320, height, m_window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    child("Edit", "", WS_BORDER | ES_AUTOHSCROLL, 10, 22, EditId);
    child("Button", "check", BS_AUTOCHECKBOX, 40, 20, CheckBoxId);
    child("Static", "Do you really want to stop?", 0, 66, 20, StaticId);
    child(WC_TREEVIEWA, "", WS_BORDER | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS, 92,
        150, TreeId);
    child(RefusingEditClass, "", 0, 250, 20, RefusingEditId);
    HWND tree = Item(TreeId);
    HTREEITEM rootA = Insert(tree, TVI_ROOT, "Root A");
    HTREEITEM folder = Insert(tree, rootA, "Folder A1");
    Insert(tree, folder, "Leaf A1x");
    Insert(tree, folder, "Leaf A1y");
    Insert(tree, Insert(tree, TVI_ROOT, "Root B"), "Leaf B1");
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(rootA));
}

unsigned __stdcall ControlHost::Serve(void* self)
{
    auto& host = *static_cast<ControlHost*>(self);
    host.Build();
    SetEvent(host.m_ready);
    if (!host.m_window)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace Support
