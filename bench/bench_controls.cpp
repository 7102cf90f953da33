// The first column of a 5,000-row, three-column list view read with
// ListView::GetTextItem, against the raw message loop that reads the same
// rows: from a second thread of the list's process, and from another process.
#include "Harness.h"

#include <commctrl.h>

#include <stdexcept>

#include "StandIn.h"
#include "Utils/Controls.h"
#include "support/StandInProcess.h"

namespace {

constexpr int Runs = 5;
constexpr UINT MarketWatchList = 0x8A71;

// The floor in this process: one LVM_GETITEMTEXTA per row, the item local.
std::vector<std::string> RawLocal(HWND list, int rows)
{
    std::vector<std::string> texts(rows);
    char text[260];
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    for (int row = 0; row < rows; ++row) {
        const auto length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        texts[row].assign(text, static_cast<size_t>(length));
    }
    return texts;
}

// The floor for another process: one block there for the whole read, the item
// written once; per row the message and a read of the text.
std::vector<std::string> RawRemote(HWND list, int rows, DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    auto* block = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + 260, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = block + sizeof(LVITEMA);
    item.cchTextMax = 260;
    WriteProcessMemory(process, block, &item, sizeof item, nullptr);
    std::vector<std::string> texts(rows);
    char text[260];
    for (int row = 0; row < rows; ++row) {
        const auto length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block));
        ReadProcessMemory(process, block + sizeof(LVITEMA), text, static_cast<SIZE_T>(length), nullptr);
        texts[row].assign(text, static_cast<size_t>(length));
    }
    VirtualFreeEx(process, block, 0, MEM_RELEASE);
    CloseHandle(process);
    return texts;
}

BOOL CALLBACK FindList(HWND window, LPARAM found)
{
    if (GetDlgCtrlID(window) != static_cast<int>(MarketWatchList))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void Same(const std::vector<std::string>& library, const std::vector<std::string>& raw)
{
    if (library != raw || library.size() != 5000 || library[4999] != "S4999")
        throw std::runtime_error("the library and the raw loop read different rows");
}

}  // namespace

BENCHMARK(ListViewGetTextItem)
{
    std::vector<Bench::Row> rows;
    {
        StandIn::Terminal terminal(StandIn::Scenario::Named("many-symbols"));
        HWND list = terminal.Handles().marketWatchList;
        Same(Utils::Controls::ListView::GetTextItem(list), RawLocal(list, 5000));
        const auto [library, floor] = Bench::MedianPair(
            Runs, [&] { Utils::Controls::ListView::GetTextItem(list); }, [&] { RawLocal(list, 5000); });
        rows.push_back(Bench::Row::Rate(
            "ListView::GetTextItem, 5,000 x 3 list, same process, second thread", library, floor, 1.2, 5000, "rows"));
    }
    {
        Support::StandInProcess standIn("many-symbols");
        HWND list = nullptr;
        EnumChildWindows(standIn.Main(), FindList, reinterpret_cast<LPARAM>(&list));
        Same(Utils::Controls::ListView::GetTextItem(list), RawRemote(list, 5000, standIn.Pid()));
        const auto [library, floor] = Bench::MedianPair(Runs, [&] { Utils::Controls::ListView::GetTextItem(list); },
            [&] { RawRemote(list, 5000, standIn.Pid()); });
        rows.push_back(Bench::Row::Rate(
            "ListView::GetTextItem, 5,000 x 3 list, other process", library, floor, 1.2, 5000, "rows"));
    }
    return rows;
}
