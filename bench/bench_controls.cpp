// The first column of a 5,000-row, three-column list view read with
// ListView::GetTextItem, and the walk of TreeView::GetText over a 200-line
// tree, each against the raw messages that read the same on the control's own
// thread (each a direct call), and (the list) from another process; the walk
// also against itself sent one round trip per message, and that against the
// raw messages sent from a second thread.
#include "Harness.h"
#include "RawList.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "StandIn.h"
#include "Utils/Controls.h"
#include "support/StandInProcess.h"

namespace {

constexpr int Runs = 7;

std::vector<std::string> RawLocal(HWND list, int rows)
{
    std::vector<std::string> texts(rows);
    Bench::RawRows(list, rows, [&](int row, const char* text, size_t length) { texts[row].assign(text, length); });
    return texts;
}

std::vector<std::string> RawRemote(HWND list, int rows, DWORD processId)
{
    std::vector<std::string> texts(rows);
    Bench::RawRemoteRows(
        list, rows, processId, [&](int row, const char* text, size_t length) { texts[row].assign(text, length); });
    return texts;
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
        auto onThread = [&] {
            std::vector<std::string> texts;
            terminal.OnUiThread([&] { texts = RawLocal(list, 5000); });
            return texts;
        };
        Same(Utils::Controls::ListView::GetTextItem(list), onThread());
        const auto [library, floor]
            = Bench::MedianPair(Runs, [&] { Utils::Controls::ListView::GetTextItem(list); }, onThread);
        rows.push_back(Bench::Row::Rate(
            "ListView::GetTextItem, 5,000 x 3 list, second thread of its process (floor: the reads on its thread)",
            library, floor, 2, 5000, "rows"));
    }
    {
        Support::StandInProcess standIn("many-symbols");
        HWND list = Bench::MarketWatchList(standIn.Main());
        Same(Utils::Controls::ListView::GetTextItem(list), RawRemote(list, 5000, standIn.Pid()));
        const auto [library, floor] = Bench::MedianPair(Runs, [&] { Utils::Controls::ListView::GetTextItem(list); },
            [&] { RawRemote(list, 5000, standIn.Pid()); });
        rows.push_back(Bench::Row::Rate(
            "ListView::GetTextItem, 5,000 x 3 list, other process", library, floor, 1.2, 5000, "rows"));
    }
    return rows;
}

namespace {

constexpr int TreeRuns = 5;

// A Navigator of 200 lines: five roots, the account and 194 programs.
StandIn::Scenario TwoHundredLines()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    auto names = [](const char* stem, int count) {
        std::vector<std::string> list;
        for (int i = 0; i < count; ++i)
            list.push_back(stem + std::to_string(i));
        return list;
    };
    scenario.indicators = names("Indicator ", 48);
    scenario.experts = names("Expert ", 48);
    scenario.customIndicators = names("Custom ", 49);
    scenario.scripts = names("Script ", 49);
    return scenario;
}

// The messages TreeView::GetText(tree, line) must send, sent straight to the
// tree with a local item: the control's check and repaint, the count, the walk
// from the top (the caret, its item, expanding a closed branch, one step
// down), and collapsing what the walk opened that is not the target's branch.
std::string RawTreeLine(HWND tree, uint32_t line)
{
    char className[64];
    if (!IsWindow(tree) || !GetClassNameA(tree, className, sizeof className) || !InvalidateRect(tree, nullptr, TRUE)
        || LOWORD(SendMessageA(tree, TVM_GETCOUNT, 0, 0)) <= line)
        throw std::runtime_error("the tree is not there");
    char text[260];
    TVITEMA item = {};
    SendMessageA(tree, WM_KEYDOWN, VK_HOME, 0);
    std::vector<HTREEITEM> opened;
    bool lastOpened = false;
    HTREEITEM current = nullptr;
    for (uint32_t i = 0; i <= line; ++i) {
        current = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        item.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE | TVIF_CHILDREN;
        item.state = item.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
        item.hItem = current;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (i == line)
            break;
        if (item.cChildren > 0) {
            lastOpened = !(item.state & TVIS_EXPANDED);
            if (lastOpened) {
                SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(current));
                opened.push_back(current);
            }
        }
        SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);
    }
    if (lastOpened && !opened.empty())
        opened.pop_back();
    if (!opened.empty()) {
        std::vector<HTREEITEM> ancestors;
        for (auto parent = current; (parent = reinterpret_cast<HTREEITEM>(SendMessageA(
                                         tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(parent))));)
            ancestors.push_back(parent);
        for (HTREEITEM branch : opened)
            if (std::find(ancestors.begin(), ancestors.end(), branch) == ancestors.end())
                SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(branch));
    }
    return text;
}

}  // namespace

BENCHMARK(TreeViewGetText)
{
    StandIn::Terminal terminal(TwoHundredLines());
    HWND tree = terminal.Handles().navigatorTree;
    if (LOWORD(SendMessageA(tree, TVM_GETCOUNT, 0, 0)) != 200)
        throw std::runtime_error("the Navigator does not have 200 lines");
    // The first walk opens the last branch, which every later walk finds open.
    const std::string text = Utils::Controls::TreeView::GetText(tree, 199);
    std::string onThread;
    terminal.OnUiThread([&] { onThread = RawTreeLine(tree, 199); });
    if (text != "Script 48" || RawTreeLine(tree, 199) != text || onThread != text)
        throw std::runtime_error("the library and the raw walk read different lines");
    if (Utils::Controls::TreeView::GetText(tree, 199, Utils::Controls::Route::PerMessage) != text)
        throw std::runtime_error("the walk read another line when sent per message");
    const auto times = Bench::Turns(
        TreeRuns, [&] { Utils::Controls::TreeView::GetText(tree, 199); },
        [&] { Utils::Controls::TreeView::GetText(tree, 199, Utils::Controls::Route::PerMessage); },
        [&] { RawTreeLine(tree, 199); }, [&] { terminal.OnUiThread([&] { RawTreeLine(tree, 199); }); });
    const auto [library, perMessage] = Bench::Paired(times[0], times[1]);
    const auto [perMessageAgain, floor] = Bench::Paired(times[1], times[2]);
    const auto [againstThread, threadFloor] = Bench::Paired(times[0], times[3]);
    return { Bench::Row::Time("TreeView::GetText, last line of a 200-line tree (against: one round trip a message)",
                 library, perMessage, 0.1),
        Bench::Row::Time("TreeView::GetText sent per message, the same (floor: the raw messages)", perMessageAgain,
            floor, 1.2),
        Bench::Row::Time("TreeView::GetText, the same (floor: the messages on the tree's thread)", againstThread,
            threadFloor, 2) };
}
