// Control access against the stand-in's and ControlHost's real controls, in this process and in another.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include "StandIn.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "standin/Helpers.h"
#include "support/ControlHost.h"
#include "support/StandInProcess.h"
#include "support/Thrown.h"

using namespace Utils::Controls;
using Support::ControlHost;
using Support::Thrown;

namespace {

// The stand-in of a scenario, or ControlHost's window (no scenario), here or in standin.exe / controlhost.exe.
struct Host {
    Host(bool otherProcess, const char* scenario = nullptr)
        : process(otherProcess ? new Support::StandInProcess(scenario ? scenario : "",
                      scenario ? "standin.exe" : "controlhost.exe")
                               : nullptr)
        , terminal(!otherProcess && scenario ? new StandIn::Terminal(StandIn::Scenario::Named(scenario)) : nullptr)
        , controls(!otherProcess && !scenario ? new ControlHost : nullptr)
        , main(process ? process->Main() : terminal ? terminal->Handles().main : controls->Window()) { }
    std::unique_ptr<Support::StandInProcess> process;
    std::unique_ptr<StandIn::Terminal> terminal;
    std::unique_ptr<ControlHost> controls;
    HWND main;
};

HWND Find(HWND parent, int id)
{
    for (HWND window : StandInTest::Descendants(parent))
        if (GetDlgCtrlID(window) == id)
            return window;
    return nullptr;
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
    for (HTREEITEM item = Next(tree, parent ? TVGN_CHILD : TVGN_ROOT, parent); item; item = Next(tree, TVGN_NEXT, item))
        if (Next(tree, TVGN_CHILD, item))
            marks += (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) ? "+" : "-")
                + Expanded(tree, item);
    return marks;
}

class ControlsTest : public ::testing::TestWithParam<bool> { };

INSTANTIATE_TEST_SUITE_P(Place, ControlsTest, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "OtherProcess" : "ThisProcess"; });

TEST_P(ControlsTest, EveryKindAnswersOrRefusesWithItsText)
{
    Host host(GetParam(), "many-symbols"), standard(GetParam());
    const HWND list = Find(host.main, 0x8A71), tree = Find(host.main, 0x8A6F), terminal = Find(host.main, 0x51);
    const HWND tabs = Find(terminal, 0x471), noColumn = Find(terminal, 0x8A80);
    const auto item = [&](int id) { return GetDlgItem(standard.main, id); };
    const auto size = ListView::GetItem(list), none = ListView::GetItem(noColumn);
    EXPECT_EQ(std::vector<int>({ size.rows, size.columns, none.rows, none.columns }), std::vector<int>({ 5000, 3, 0, 0 }));
    const std::vector<std::string> symbols = ListView::GetTextItem(list);
    EXPECT_EQ(std::vector<std::string>({ std::to_string(symbols.size()), symbols.at(0), symbols.at(1), symbols.at(4999) }),
        std::vector<std::string>({ "5000", "S0000", "S0001", "S4999" }));
    const auto focused = [&] { return SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED); };
    const auto inView = [&](int row) {
        const auto top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        return row >= top && row < top + static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    };
    EXPECT_TRUE(inView(0) && !inView(4000));
    ListView::Visible(list, 4000);
    EXPECT_TRUE(inView(4000));
    EXPECT_EQ(TabControl::SetFocus(tabs, 6), 7);

    HWND gone = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    const auto text = [](const char* method, const std::string& text, const char* lead = "Метод") {
        return std::string(lead) + " \"Utils::Controls::" + method + "()\".\n" + text;
    };
    const std::string row = "Указан неверный номер строки.", column = "Указан неверный номер столбца.";
    const std::string notA = "Класс не является ";
    const std::string tab = text("TabControl::SetFocus", "Введённый номер вкладки превышает количество вкладок.",
        "Ошибка в методе");
    const HWND checkBox = item(ControlHost::CheckBoxId);
    const struct { const char* name; std::string thrown, expected; } refusals[] = {
        { "bulk read", Thrown([&] { ListView::GetTextItem(noColumn); }), text("ListView::GetTextItem", column) },
        { "cell: column first", Thrown([&] { ListView::GetText(list, 7000, 3); }), text("ListView::GetText", column) },
        { "cell, no column", Thrown([&] { ListView::GetText(noColumn, 0, 0); }), text("ListView::GetText", column) },
        { "cell, row", Thrown([&] { ListView::GetText(list, 5000, 0); }), text("ListView::GetText", row) },
        { "key down", Thrown([&] { ListView::KeyDown(list, 5000); }), text("ListView::KeyDown", row) },
        { "scroll", Thrown([&] { ListView::Visible(list, 5000); }),
            text("ListView::Visible", "Номер введённой строки превышает общее количество строк.") },
        { "tab at the count", Thrown([&] { TabControl::SetFocus(tabs, 7); }), tab },
        { "tab past 16 bits", Thrown([&] { TabControl::SetFocus(tabs, 0x10000); }), tab },
        { "tree line", Thrown([&] { TreeView::GetText(tree, 14); }), text("TreeView::GetText", row) },
        { "no handle", Thrown([] { ListView::Check(nullptr); }),
            text("ListView::Check", "Недействительный системный дескриптор.") },
        { "gone", Thrown([&] { TreeView::Check(gone); }),
            text("TreeView::Check", "Отсутсвует указанный TreeView.") + LastErrorText(ERROR_INVALID_WINDOW_HANDLE) },
        { "list as button", Thrown([&] { Button::Check(list); }), text("Button::Check", notA + "Button.") },
        { "tree as edit", Thrown([&] { Edit::GetText(tree); }), text("Edit::Check", notA + "Edit.") },
        { "list as tabs", Thrown([&] { TabControl::SetFocus(list, 0); }), text("TabControl::Check", notA + "TabControl.") },
        { "check box as edit", Thrown([&] { Edit::SetText(checkBox, "x"); }), text("Edit::Check", notA + "Edit.") },
        { "a check box is a button, not a class of its own",
            Thrown([&] { Button::Check(checkBox), Check(checkBox, Kind::CheckBox); }),
            text("CheckBox::Check", notA + "CheckBox.") },
        { "each of its kind", Thrown([&] { ListView::Check(list), TreeView::Check(tree), TabControl::Check(tabs); }),
            "no error" },
        { "an edit that takes no text", Thrown([&] { Edit::SetText(item(ControlHost::RefusingEditId), "x"); }),
            text("Edit::SetText", "Текст не установлен.", "Ошибка в методе") },
    };
    for (const auto& refusal : refusals)
        EXPECT_EQ(refusal.thrown, refusal.expected) << refusal.name;
    EXPECT_EQ(std::vector<LRESULT>({ SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), focused(),
                  SendMessageA(tabs, TCM_GETCURFOCUS, 0, 0) }), std::vector<LRESULT>({ 0, -1, 6 }));

    // A cell read or key down scrolls to its row, selected and focused; an edit holds the text set, whatever its limit.
    const HWND edit = item(ControlHost::EditId);
    SendMessageA(edit, EM_SETLIMITTEXT, 4, 0);
    const struct { const char* name; std::function<std::string()> call; std::string result; int row; } reads[] = {
        { "cell", [&] { return ListView::GetText(list, 1200, 2); }, "1.01212", 1200 },
        { "first column", [&] { return ListView::GetText(list, 4, 0); }, "S0004", 4 },
        { "key down", [&] { return ListView::KeyDown(list, 2), std::string(); }, "", 2 },
        { "tab", [&] { return std::to_string(TabControl::SetFocus(tabs, 0)); }, "7", -1 },
        { "edit", [&] { return Edit::SetText(edit, "EURUSD,60"); }, "EURUSD,60", -1 },
        { "edit, Cyrillic", [&] { return Edit::SetText(edit, "Счёт 12345678"); }, "Счёт 12345678", -1 },
        { "edit emptied", [&] { return Edit::SetText(edit, ""); }, "", -1 },
        { "label", [&] { return Static::GetText(item(ControlHost::StaticId)); }, "Do you really want to stop?", -1 },
    };
    for (const auto& read : reads) {
        SCOPED_TRACE(read.name);
        EXPECT_EQ(read.call(), read.result);
        EXPECT_TRUE(read.row < 0 || (inView(read.row) && focused() == read.row
            && SendMessageA(list, LVM_GETITEMSTATE, read.row, LVIS_SELECTED) == LVIS_SELECTED));
    }
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURFOCUS, 0, 0), 0);

    // Walks in turn from what the rows before left: branches closed first, line, text, branches left open, caret.
    const HWND nested = item(ControlHost::TreeId);
    const struct { HWND tree; std::vector<const char*> collapse; uint32_t line; const char *text, *expanded, *caret; }
        walks[] = {
        { tree, {}, 0, "Accounts", "-----", "0" },
        { tree, {}, 1, "12345678", "+----", "0.0" },
        { tree, { "0" }, 2, "Indicators", "+----", "1" },
        { tree, { "0" }, 3, "Moving Average", "-+---", "1.0" },
        { tree, {}, 13, "PeriodConverter", "-+--+", "4.0" },
        { tree, { "4" }, 7, "MACD Sample", "-++--", "2.0" },
        { tree, {}, 4, "MACD", "-++--", "1.1" },
        { tree, { "2" }, 5, "Relative Strength Index", "-+---", "1.2" },
        { nested, {}, 3, "Leaf A1y", "++-", "0.0.1" },
        { nested, { "0.0", "0" }, 5, "Leaf B1", "--+", "1.0" },
    };
    for (const auto& walk : walks) {
        SCOPED_TRACE(walk.text);
        for (const char* path : walk.collapse)
            SendMessageA(walk.tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(At(walk.tree, path)));
        EXPECT_EQ(TreeView::GetText(walk.tree, walk.line), walk.text);
        EXPECT_EQ(Expanded(walk.tree), walk.expanded);
        EXPECT_EQ(Next(walk.tree, TVGN_CARET), At(walk.tree, walk.caret));
    }
}

// The list and tree messages a control received; how many came through a procedure put in front of the recorder.
std::vector<std::pair<UINT, WPARAM>> g_received;
size_t g_carried = 0;
LONG_PTR g_own = 0;

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message >= LVM_FIRST && message < TV_FIRST + 0x100) || message == WM_KEYDOWN) {
        g_received.push_back({ message, wParam });
        g_carried += GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Recorder);
    }
    return CallWindowProcW(reinterpret_cast<WNDPROC>(g_own), window, message, wParam, lParam);
}

// A bulk read and a walk, sent or carried to the control's thread: the same messages in the same order, and the
// control left with its own procedure.
TEST(CarriedTest, ReadsAndWalksAreMadeOnTheControlsThreadWithTheSameMessagesInTheSameOrder)
{
    for (const int id : { 0x8A71, 0x8A6F }) {
        std::vector<std::pair<UINT, WPARAM>> received[2];
        std::string texts[2];
        size_t carried[2] = {};
        for (const int at : { 0, 1 }) {
            Host host(false, "english");
            const HWND control = Find(host.main, id);
            g_own = SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder));
            g_received.clear(), g_carried = 0;
            texts[at] = id == 0x8A6F ? TreeView::GetText(control, 6, Route(at)) : ListView::GetTextItem(control, Route(at))[4];
            received[at] = std::move(g_received), carried[at] = g_carried;
            EXPECT_EQ(SetWindowLongPtrW(control, GWLP_WNDPROC, g_own), reinterpret_cast<LONG_PTR>(&Recorder));
        }
        EXPECT_EQ(texts[0], texts[1]);
        EXPECT_EQ(received[0], received[1]);
        EXPECT_GT(received[0].size(), 4u);
        EXPECT_EQ(std::vector<size_t>({ carried[0], carried[1] }), std::vector<size_t>({ received[0].size(), 0 }));
    }
}

TEST(ControlBoundTest, AControlThatDoesNotAnswerIsReportedAfterTheBound)
{
    ControlHost host;
    HWND edit = host.Item(ControlHost::EditId);
    host.Freeze(13000);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Thrown([&] { Edit::GetText(edit); }),
        "Ошибка в методе \"Utils::Controls::Edit::GetText()\".\nЭлемент управления не ответил на сообщение 0x000E."
            + LastErrorText(ERROR_TIMEOUT));
    const ULONGLONG waited = GetTickCount64() - start;
    EXPECT_TRUE(waited >= 9900 && waited < 12500) << waited;
}

}  // namespace
