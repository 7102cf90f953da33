// Control access against real controls, once in this process and once in
// another: the stand-in's list views, Navigator tree and tab strip, and the
// standard edit, check box, label and deeper tree of Support::ControlHost.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "StandIn.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "standin/Helpers.h"
#include "support/ControlHost.h"
#include "support/StandInProcess.h"
#include "support/Thrown.h"

namespace Controls = Utils::Controls;
using Support::ControlHost;
using Support::Thrown;

namespace {

// The stand-in with a named scenario, or ControlHost's window (no scenario),
// in this process or in standin.exe / controlhost.exe.
class Host {
public:
    Host(bool otherProcess, const char* scenario = nullptr)
    {
        if (otherProcess)
            m_process = std::make_unique<Support::StandInProcess>(scenario ? scenario : "",
                scenario ? "standin.exe" : "controlhost.exe");
        else if (scenario)
            m_terminal = std::make_unique<StandIn::Terminal>(StandIn::Scenario::Named(scenario));
        else
            m_controls = std::make_unique<ControlHost>();
        m_main = m_process ? m_process->Main() : m_terminal ? m_terminal->Handles().main : m_controls->Window();
    }
    HWND Item(int id) const { return GetDlgItem(m_main, id); }
    // A descendant by its id; the Terminal panel's, when `inTerminal`.
    HWND Find(int id, bool inTerminal = false) const
    {
        for (HWND window : StandInTest::Descendants(inTerminal ? Find(0x51) : m_main))
            if (GetDlgCtrlID(window) == id)
                return window;
        return nullptr;
    }

private:
    std::unique_ptr<StandIn::Terminal> m_terminal;
    std::unique_ptr<ControlHost> m_controls;
    std::unique_ptr<Support::StandInProcess> m_process;
    HWND m_main = nullptr;
};

class ControlsTest : public ::testing::TestWithParam<bool> { };

INSTANTIATE_TEST_SUITE_P(Place, ControlsTest, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "OtherProcess" : "ThisProcess"; });

std::vector<int> Rows(HWND list, UINT state)
{
    std::vector<int> rows;
    for (int row = -1; (row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, state))) != -1;)
        rows.push_back(row);
    return rows;
}

bool InView(HWND list, int row)
{
    const auto top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    return row >= top && row < top + static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
}

// Market Watch of 5,000 rows "S0000" … (bid 1.0nnnn, ask 12 points more),
// the Terminal panel's first list (no column) and tabs, and ControlHost.
TEST_P(ControlsTest, ListsTabsEditsAndLabelsAnswerOrRefuseWithTheirTexts)
{
    Host host(GetParam(), "many-symbols"), standard(GetParam());
    const HWND list = host.Find(0x8A71), tree = host.Find(0x8A6F), tabs = host.Find(0x471, true);
    const HWND noColumn = host.Find(0x8A80, true), edit = standard.Item(ControlHost::EditId);
    const auto size = Controls::ListView::GetItem(list), none = Controls::ListView::GetItem(noColumn);
    EXPECT_EQ(std::vector<int>({ size.rows, size.columns, none.rows, none.columns }),
        std::vector<int>({ 5000, 3, 0, 0 }));
    const std::vector<std::string> symbols = Controls::ListView::GetTextItem(list);
    ASSERT_EQ(symbols.size(), 5000u);
    EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(std::vector<std::string>({ symbols[0], symbols[1], symbols[4999] }),
        std::vector<std::string>({ "S0000", "S0001", "S4999" }));
    Controls::ListView::Visible(list, 4000);
    EXPECT_TRUE(InView(list, 4000));
    EXPECT_EQ(Controls::TabControl::SetFocus(tabs, 6), 7);

    HWND gone = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    const std::string method = "Метод \"Utils::Controls::", error = "Ошибка в методе \"Utils::Controls::";
    const std::string column = method + "ListView::GetText()\".\nУказан неверный номер столбца.";
    const std::string tab = error + "TabControl::SetFocus()\".\nВведённый номер вкладки превышает количество вкладок.";
    const struct {
        const char* name;
        std::function<void()> call;
        std::string thrown;
    } refusals[] = {
        { "bulk read, no column", [&] { Controls::ListView::GetTextItem(noColumn); },
            method + "ListView::GetTextItem()\".\nУказан неверный номер столбца." },
        { "cell, column and row past the end: the column first", [&] { Controls::ListView::GetText(list, 7000, 3); },
            column },
        { "cell of a list without columns", [&] { Controls::ListView::GetText(noColumn, 0, 0); }, column },
        { "cell, row past the end", [&] { Controls::ListView::GetText(list, 5000, 0); },
            method + "ListView::GetText()\".\nУказан неверный номер строки." },
        { "selection past the end", [&] { Controls::ListView::KeyDown(list, 5000); },
            method + "ListView::KeyDown()\".\nУказан неверный номер строки." },
        { "scroll past the end", [&] { Controls::ListView::Visible(list, 5000); },
            method + "ListView::Visible()\".\nНомер введённой строки превышает общее количество строк." },
        { "tab at the count", [&] { Controls::TabControl::SetFocus(tabs, 7); }, tab },
        { "tab past 16 bits", [&] { Controls::TabControl::SetFocus(tabs, 0x10000); }, tab },
        { "no handle", [] { Controls::ListView::Check(nullptr); },
            method + "ListView::Check()\".\nНедействительный системный дескриптор." },
        { "a gone window", [&] { Controls::TreeView::Check(gone); },
            method + "TreeView::Check()\".\nОтсутсвует указанный TreeView." + LastErrorText(ERROR_INVALID_WINDOW_HANDLE) },
        { "a list as a button", [&] { Controls::Button::Check(list); },
            method + "Button::Check()\".\nКласс не является Button." },
        { "a tree as an edit", [&] { Controls::Edit::GetText(tree); },
            method + "Edit::Check()\".\nКласс не является Edit." },
        { "a list as tabs", [&] { Controls::TabControl::SetFocus(list, 0); },
            method + "TabControl::Check()\".\nКласс не является TabControl." },
        { "a check box as an edit", [&] { Controls::Edit::SetText(standard.Item(ControlHost::CheckBoxId), "x"); },
            method + "Edit::Check()\".\nКласс не является Edit." },
        { "a check box is a button, whose class names no check box", [&] {
             Controls::Button::Check(standard.Item(ControlHost::CheckBoxId));
             Controls::Check(standard.Item(ControlHost::CheckBoxId), Controls::Kind::CheckBox);
         },
            method + "CheckBox::Check()\".\nКласс не является CheckBox." },
        { "each of its own kind", [&] {
             Controls::ListView::Check(list);
             Controls::TreeView::Check(tree);
             Controls::TabControl::Check(tabs);
         },
            "no error" },
        { "an edit that takes no text", [&] { Controls::Edit::SetText(standard.Item(ControlHost::RefusingEditId), "x"); },
            error + "Edit::SetText()\".\nТекст не установлен." },
    };
    for (const auto& row : refusals) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Thrown(row.call), row.thrown);
    }
    // Nothing above selected a row or moved the tab focus.
    EXPECT_EQ(Rows(list, LVNI_SELECTED), std::vector<int>());
    EXPECT_EQ(Rows(list, LVNI_FOCUSED), std::vector<int>());
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURFOCUS, 0, 0), 6);

    // A cell read scrolls its row into view and leaves it selected and focused,
    // as a key down does; an edit holds the text set, whatever its limit.
    SendMessageA(edit, EM_SETLIMITTEXT, 4, 0);
    const struct {
        const char* name;
        std::function<std::string()> call;
        std::string result;
        int row;
    } reads[] = {
        { "cell", [&] { return Controls::ListView::GetText(list, 1200, 2); }, "1.01212", 1200 },
        { "first column", [&] { return Controls::ListView::GetText(list, 4, 0); }, "S0004", 4 },
        { "key down", [&] { Controls::ListView::KeyDown(list, 2); return std::string(); }, "", 2 },
        { "tab", [&] { return std::to_string(Controls::TabControl::SetFocus(tabs, 0)); }, "7", -1 },
        { "edit", [&] { return Controls::Edit::SetText(edit, "EURUSD,60"); }, "EURUSD,60", -1 },
        { "edit, Cyrillic", [&] { return Controls::Edit::SetText(edit, "Счёт 12345678"); }, "Счёт 12345678", -1 },
        { "edit read", [&] { return Controls::Edit::GetText(edit); }, "Счёт 12345678", -1 },
        { "edit emptied", [&] { return Controls::Edit::SetText(edit, ""); }, "", -1 },
        { "label", [&] { return Controls::Static::GetText(standard.Item(ControlHost::StaticId)); },
            "Do you really want to stop?", -1 },
    };
    for (const auto& read : reads) {
        SCOPED_TRACE(read.name);
        EXPECT_EQ(read.call(), read.result);
        if (read.row < 0)
            continue;
        EXPECT_TRUE(InView(list, read.row));
        EXPECT_EQ(Rows(list, LVNI_FOCUSED), std::vector<int> { read.row });
        EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, read.row, LVIS_SELECTED), LVIS_SELECTED);
    }
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURFOCUS, 0, 0), 0);
}

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item = nullptr)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The item at a path of child indexes: "2.0" is the first child of the third root.
HTREEITEM At(HWND tree, const std::string& path)
{
    HTREEITEM item = nullptr;
    for (size_t i = 0; i < path.size(); i += 2) {
        item = item ? Next(tree, TVGN_CHILD, item) : Next(tree, TVGN_ROOT);
        for (int n = path[i] - '0'; n > 0; --n)
            item = Next(tree, TVGN_NEXT, item);
    }
    return item;
}

// "+" or "-" for every item that has children, expanded or not, depth first.
std::string Expanded(HWND tree, HTREEITEM parent = nullptr)
{
    std::string marks;
    for (HTREEITEM item = parent ? Next(tree, TVGN_CHILD, parent) : Next(tree, TVGN_ROOT); item;
         item = Next(tree, TVGN_NEXT, item))
        if (Next(tree, TVGN_CHILD, item))
            marks += (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) ? "+" : "-")
                + Expanded(tree, item);
    return marks;
}

// Walks in turn on one tree, from the branches the steps before left: each
// gives its line's text (or refusal), the branches it leaves expanded and the
// line it leaves selected. Navigator, all open: 0 Accounts, 1 12345678,
// 2 Indicators, 3 Moving Average, 4 MACD, 5 Relative Strength Index, 6 Expert
// Advisors, 7 MACD Sample, 8 Moving Average, 9 Custom Indicators, 10 Heiken
// Ashi, 11 ZigZag, 12 Scripts, 13 PeriodConverter. ControlHost's: 0 Root A,
// 1 Folder A1, 2 Leaf A1x, 3 Leaf A1y, 4 Root B, 5 Leaf B1.
TEST_P(ControlsTest, TreeWalksOpenWhatTheyMeetAndCloseAllButTheBranchRightBeforeTheTarget)
{
    Host host(GetParam(), "english"), standard(GetParam());
    const HWND navigator = host.Find(0x8A6F), nested = standard.Item(ControlHost::TreeId);
    const struct {
        HWND tree;
        std::vector<const char*> collapse;  // paths closed before the walk
        uint32_t line;
        const char* text;
        const char* expanded;
        const char* caret;  // a path, or "" unchecked
    } steps[] = {
        { navigator, {}, 0, "Accounts", "-----", "0" },
        { navigator, {}, 1, "12345678", "+----", "0.0" },
        // The target is the next root: the branch before it stays open too.
        { navigator, { "0" }, 2, "Indicators", "+----", "1" },
        { navigator, { "0" }, 3, "Moving Average", "-+---", "1.0" },
        // On its way to the last line the walk opens four branches and keeps
        // the last; Indicators was open before and stays so.
        { navigator, {}, 13, "PeriodConverter", "-+--+", "4.0" },
        { navigator, { "4" }, 14, "Метод \"Utils::Controls::TreeView::GetText()\".\nУказан неверный номер строки.",
            "-+---", "" },
        // Accounts opened, Indicators met open, Expert Advisors opened before its leaf.
        { navigator, {}, 7, "MACD Sample", "-++--", "" },
        // The last branch met was already open: every branch the walk opened closes.
        { navigator, {}, 4, "MACD", "-++--", "" },
        { navigator, { "2" }, 5, "Relative Strength Index", "-+---", "" },
        // A leaf inside Folder A1: its ancestors stay open, or it would be hidden.
        { nested, {}, 3, "Leaf A1y", "++-", "0.0.1" },
        { nested, { "0.0", "0" }, 5, "Leaf B1", "--+", "1.0" },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.line);
        for (const char* path : step.collapse)
            SendMessageA(step.tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(At(step.tree, path)));
        std::string text;
        const std::string thrown = Thrown([&] { text = Controls::TreeView::GetText(step.tree, step.line); });
        EXPECT_EQ(thrown == "no error" ? text : thrown, step.text);
        EXPECT_EQ(Expanded(step.tree), step.expanded);
        EXPECT_TRUE(!*step.caret || Next(step.tree, TVGN_CARET) == At(step.tree, step.caret));
    }
}

// The list and tree messages a control received, with whether each came
// through the library's procedure put in front of this recorder.
struct Received {
    UINT message;
    WPARAM wParam;
    bool carried;
    bool operator==(const Received& other) const { return message == other.message && wParam == other.wParam; }
};
std::vector<Received> g_received;
LONG_PTR g_own = 0;

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message >= LVM_FIRST && message < TV_FIRST + 0x100) || message == WM_KEYDOWN)
        g_received.push_back(
            { message, wParam, GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Recorder) });
    return CallWindowProcW(reinterpret_cast<WNDPROC>(g_own), window, message, wParam, lParam);
}

// A bulk read and a walk from a second thread of the terminal's process, each
// on a fresh terminal: carried, the control receives on its own thread the
// messages it receives when each is sent from the caller, in the same order,
// and is left with the window procedure it had.
TEST(CarriedTest, ReadsAndWalksAreMadeOnTheControlsThreadWithTheSameMessagesInTheSameOrder)
{
    for (const bool isTree : { false, true }) {
        std::vector<Received> received[2];
        std::string texts[2];
        for (auto route : { Controls::Route::Carried, Controls::Route::PerMessage }) {
            Host host(false, "english");
            const HWND control = host.Find(isTree ? 0x8A6F : 0x8A71);
            g_own = SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder));
            g_received.clear();
            texts[static_cast<int>(route)] = isTree ? Controls::TreeView::GetText(control, 6, route)
                                                    : Controls::ListView::GetTextItem(control, route)[4];
            received[static_cast<int>(route)] = std::move(g_received);
            EXPECT_EQ(SetWindowLongPtrW(control, GWLP_WNDPROC, g_own), reinterpret_cast<LONG_PTR>(&Recorder));
        }
        const auto& [carried, perMessage] = received;
        EXPECT_EQ(texts[0], texts[1]);
        EXPECT_TRUE(carried == perMessage) << carried.size() << " messages against " << perMessage.size();
        EXPECT_GT(carried.size(), 4u);
        EXPECT_TRUE(std::all_of(carried.begin(), carried.end(), [](auto& r) { return r.carried; }));
        EXPECT_TRUE(std::none_of(perMessage.begin(), perMessage.end(), [](auto& r) { return r.carried; }));
    }
}

TEST(ControlBoundTest, AControlThatDoesNotAnswerIsReportedAfterTheBound)
{
    ControlHost host;
    HWND edit = host.Item(ControlHost::EditId);
    host.Freeze(13000);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Thrown([&] { Controls::Edit::GetText(edit); }),
        "Ошибка в методе \"Utils::Controls::Edit::GetText()\".\nЭлемент управления не ответил на сообщение 0x000E."
            + LastErrorText(ERROR_TIMEOUT));
    const ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, 9900u);
    EXPECT_LT(waited, 12500u);
}

}  // namespace
