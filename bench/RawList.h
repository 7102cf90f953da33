#pragma once
// The floor of a list read: one LVM_GETITEMTEXTA per row for the first
// column, and nothing else. `each(row, text, length)` takes each row's text.
#include <windows.h>
#include <commctrl.h>

namespace Bench {

// The list is in this process: the item and text are local.
template <class Each>
void RawRows(HWND list, int rows, Each&& each)
{
    char text[260];
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    for (int row = 0; row < rows; ++row) {
        const auto length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        each(row, text, static_cast<size_t>(length));
    }
}

// The list is in another process: one block there for the whole read, the
// item written once; per row the message and a read of the text.
template <class Each>
void RawRemoteRows(HWND list, int rows, DWORD processId, Each&& each)
{
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    auto* block = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + 260, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = block + sizeof(LVITEMA);
    item.cchTextMax = 260;
    WriteProcessMemory(process, block, &item, sizeof item, nullptr);
    char text[260];
    for (int row = 0; row < rows; ++row) {
        const auto length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block));
        ReadProcessMemory(process, block + sizeof(LVITEMA), text, static_cast<SIZE_T>(length) + 1, nullptr);
        each(row, text, static_cast<size_t>(length));
    }
    VirtualFreeEx(process, block, 0, MEM_RELEASE);
    CloseHandle(process);
}

inline BOOL CALLBACK FindMarketWatchList(HWND window, LPARAM found)
{
    if (GetDlgCtrlID(window) != 0x8A71)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The Market Watch list (id 0x8A71) under a terminal's main window, in any process.
inline HWND MarketWatchList(HWND main)
{
    HWND list = nullptr;
    EnumChildWindows(main, FindMarketWatchList, reinterpret_cast<LPARAM>(&list));
    return list;
}

}  // namespace Bench
