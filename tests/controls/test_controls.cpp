// The control operations against the stand-in's real list views, tree and tab
// strip, once with the stand-in in this process and once with standin.exe in
// another: the results are the same. Edits, buttons, labels and a deeper tree
// against standard controls, likewise in this process and in another.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>

#include "StandIn.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "support/ControlHost.h"
#include "support/StandInProcess.h"
#include "support/Thrown.h"

namespace Controls = Utils::Controls;

namespace {

const UINT MarketWatchList = 0x8A71;
const UINT NavigatorTree = 0x8A6F;
const UINT TerminalPanel = 0x51;
const UINT TerminalTabs = 0x471;
const UINT TerminalFirstList = 0x8A80;

using Support::Thrown;

// A tree line's text, or the text its read threw.
std::string Line(HWND tree, uint32_t line)
{
    std::string text;
    const std::string thrown = Thrown([&] { text = Controls::TreeView::GetText(tree, line); });
    return thrown == "no error" ? text : thrown;
}

struct Found {
    UINT id;
    HWND window;
};

BOOL CALLBACK FindId(HWND window, LPARAM found)
{
    auto& wanted = *reinterpret_cast<Found*>(found);
    if (static_cast<UINT>(GetDlgCtrlID(window)) != wanted.id)
        return TRUE;
    wanted.window = window;
    return FALSE;
}

HWND Descendant(HWND parent, UINT id)
{
    Found found = { id, nullptr };
    EnumChildWindows(parent, FindId, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// The stand-in serving one test, in this process or in another: a named
// scenario, or one made of scenario lines.
class Host {
public:
    Host(bool otherProcess, const std::string& name, const std::string& lines = "")
    {
        std::string scenario = name;
        if (!lines.empty()) {
            char folder[MAX_PATH];
            GetTempPathA(MAX_PATH, folder);
            scenario = std::string(folder) + "razozazer4-controls.txt";
            std::ofstream(scenario) << lines;
        }
        HWND main;
        if (otherProcess) {
            m_process = std::make_unique<Support::StandInProcess>(scenario);
            main = m_process->Main();
        } else {
            m_terminal = std::make_unique<StandIn::Terminal>(
                lines.empty() ? StandIn::Scenario::Named(scenario) : StandIn::Scenario::FromFile(scenario));
            main = m_terminal->Handles().main;
        }
        marketWatch = Descendant(main, MarketWatchList);
        navigator = Descendant(main, NavigatorTree);
        HWND terminal = Descendant(main, TerminalPanel);
        terminalTabs = GetDlgItem(terminal, TerminalTabs);
        firstTerminalList = GetDlgItem(terminal, TerminalFirstList);
    }

    HWND marketWatch = nullptr;
    HWND navigator = nullptr;
    HWND terminalTabs = nullptr;
    HWND firstTerminalList = nullptr;

private:
    std::unique_ptr<StandIn::Terminal> m_terminal;
    std::unique_ptr<Support::StandInProcess> m_process;
};

class ControlsTest : public ::testing::TestWithParam<bool> {
protected:
    bool OtherProcess() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Place, ControlsTest, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "OtherProcess" : "ThisProcess"; });

// Rows in a selection state, as the control reports them.
std::vector<int> Rows(HWND list, UINT state)
{
    std::vector<int> rows;
    for (int row = -1; (row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, state))) != -1;)
        rows.push_back(row);
    return rows;
}

// --- list views ---------------------------------------------------------------

TEST_P(ControlsTest, SizesAndTheFirstColumnAreReadWithoutChangingTheSelection)
{
    Host host(OtherProcess(), "english");
    const Controls::ListView::Size size = Controls::ListView::GetItem(host.marketWatch);
    const Controls::ListView::Size empty = Controls::ListView::GetItem(host.firstTerminalList);
    EXPECT_EQ(std::vector<int>({ size.rows, size.columns, empty.rows, empty.columns }), std::vector<int>({ 5, 3, 0, 0 }));
    EXPECT_EQ(Controls::ListView::GetTextItem(host.marketWatch),
        (std::vector<std::string> { "EURUSD", "GBPUSD", "USDJPY", "USDCHF", "AUDUSD" }));
    EXPECT_EQ(Rows(host.marketWatch, LVNI_SELECTED), std::vector<int>());
    EXPECT_EQ(Rows(host.marketWatch, LVNI_FOCUSED), std::vector<int>());
    EXPECT_EQ(SendMessageA(host.marketWatch, LVM_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(Thrown([&] { Controls::ListView::GetTextItem(host.firstTerminalList); }),
        "Метод \"Utils::Controls::ListView::GetTextItem()\".\nУказан неверный номер столбца.");
}

TEST_P(ControlsTest, ReadingACellLeavesItsRowSelectedAndFocused)
{
    Host host(OtherProcess(), "english");
    EXPECT_EQ(Controls::ListView::GetText(host.marketWatch, 1, 2), "1.26725");
    EXPECT_EQ(Rows(host.marketWatch, LVNI_SELECTED), std::vector<int> { 1 });
    EXPECT_EQ(Rows(host.marketWatch, LVNI_FOCUSED), std::vector<int> { 1 });
    EXPECT_EQ(Controls::ListView::GetText(host.marketWatch, 4, 0), "AUDUSD");
    EXPECT_EQ(Rows(host.marketWatch, LVNI_FOCUSED), std::vector<int> { 4 });
    EXPECT_EQ(SendMessageA(host.marketWatch, LVM_GETITEMSTATE, 4, LVIS_SELECTED), LVIS_SELECTED);
}

TEST_P(ControlsTest, CellReadsTestTheColumnBeforeTheRow)
{
    Host host(OtherProcess(), "", "symbol =\n");
    const std::string column = "Метод \"Utils::Controls::ListView::GetText()\".\nУказан неверный номер столбца.";
    const std::string row = "Метод \"Utils::Controls::ListView::GetText()\".\nУказан неверный номер строки.";
    EXPECT_EQ(Thrown([&] { Controls::ListView::GetText(host.marketWatch, 0, 0); }), row);
    EXPECT_EQ(Thrown([&] { Controls::ListView::GetText(host.marketWatch, 7, 3); }), column);
    EXPECT_EQ(Thrown([&] { Controls::ListView::GetText(host.firstTerminalList, 0, 0); }), column);
    EXPECT_EQ(Controls::ListView::GetTextItem(host.marketWatch), std::vector<std::string>());
}

TEST_P(ControlsTest, FarRowsAreScrolledIntoViewByVisibleAndByCellReads)
{
    Host host(OtherProcess(), "many-symbols");
    HWND list = host.marketWatch;
    const auto inView = [list](int row) {
        const auto top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        const auto page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
        return row >= top && row < top + page;
    };
    ASSERT_FALSE(inView(4000));
    Controls::ListView::Visible(list, 4000);
    EXPECT_TRUE(inView(4000));
    EXPECT_EQ(Rows(list, LVNI_SELECTED), std::vector<int>());
    EXPECT_EQ(Controls::ListView::GetText(list, 1200, 2), "1.01212");
    EXPECT_TRUE(inView(1200));
    EXPECT_EQ(Thrown([&] { Controls::ListView::Visible(list, 5000); }),
        "Метод \"Utils::Controls::ListView::Visible()\".\nНомер введённой строки превышает общее количество "
        "строк.");
}

TEST_P(ControlsTest, KeyDownSelectsAndFocusesARow)
{
    Host host(OtherProcess(), "english");
    Controls::ListView::KeyDown(host.marketWatch, 2);
    EXPECT_EQ(Rows(host.marketWatch, LVNI_SELECTED), std::vector<int> { 2 });
    EXPECT_EQ(Rows(host.marketWatch, LVNI_FOCUSED), std::vector<int> { 2 });
    EXPECT_EQ(Thrown([&] { Controls::ListView::KeyDown(host.marketWatch, 5); }),
        "Метод \"Utils::Controls::ListView::KeyDown()\".\nУказан неверный номер строки.");
}

// --- the Navigator tree ---------------------------------------------------------
// Lines, all branches open: 0 Accounts, 1 12345678, 2 Indicators, 3 Moving
// Average, 4 MACD, 5 Relative Strength Index, 6 Expert Advisors, 7 MACD Sample,
// 8 Moving Average, 9 Custom Indicators, 10 Heiken Ashi, 11 ZigZag, 12 Scripts,
// 13 PeriodConverter.

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item = nullptr)
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::vector<HTREEITEM> Roots(HWND tree)
{
    std::vector<HTREEITEM> roots;
    for (HTREEITEM item = Next(tree, TVGN_ROOT); item; item = Next(tree, TVGN_NEXT, item))
        roots.push_back(item);
    return roots;
}

// Which of the five roots are expanded, as "+" and "-".
std::string Expanded(HWND tree)
{
    std::string marks;
    for (HTREEITEM root : Roots(tree))
        marks += SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(root), TVIS_EXPANDED) ? '+' : '-';
    return marks;
}

// Walks in turn on one tree, from the branches the steps before left: each
// gives its line's text (or refusal), the roots it leaves expanded, and the
// line it leaves selected (a root's index, or its first child's as "root.0").
TEST_P(ControlsTest, TreeWalksOpenWhatTheyMeetAndCloseAllButTheBranchRightBeforeTheTarget)
{
    Host host(OtherProcess(), "english");
    HWND tree = host.navigator;
    const struct {
        int collapse;  // a root to close before the walk, or -1
        uint32_t line;
        const char* text;
        const char* expanded;
        const char* caret;
    } steps[] = {
        { -1, 0, "Accounts", "-----", "0" },
        { -1, 1, "12345678", "+----", "0.0" },
        // The target is the next root: the branch before it stays open too.
        { 0, 2, "Indicators", "+----", "1" },
        { 0, 3, "Moving Average", "-+---", "1.0" },
        // On its way to the last line the walk opens four branches and keeps
        // the last; Indicators was open before and stays so.
        { -1, 13, "PeriodConverter", "-+--+", "4.0" },
        { 4, 14, "Метод \"Utils::Controls::TreeView::GetText()\".\nУказан неверный номер строки.", "-+---",
            "" },
        // Accounts opened, Indicators met open, Expert Advisors opened before its leaf.
        { -1, 7, "MACD Sample", "-++--", "" },
        // The last branch met was already open: every branch the walk opened closes.
        { -1, 4, "MACD", "-++--", "" },
        { 2, 5, "Relative Strength Index", "-+---", "" },
    };
    for (const auto& step : steps) {
        if (step.collapse >= 0)
            SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(Roots(tree)[step.collapse]));
        EXPECT_EQ(Line(tree, step.line), step.text) << step.line;
        EXPECT_EQ(Expanded(tree), step.expanded) << step.line;
        if (*step.caret) {
            HTREEITEM root = Roots(tree)[step.caret[0] - '0'];
            EXPECT_EQ(Next(tree, TVGN_CARET), step.caret[1] ? Next(tree, TVGN_CHILD, root) : root) << step.line;
        }
    }
}

// --- tabs and checks ---------------------------------------------------------------

TEST_P(ControlsTest, TabFocusStopsAtTheTabCount)
{
    Host host(OtherProcess(), "english");
    EXPECT_EQ(Controls::TabControl::SetFocus(host.terminalTabs, 6), 7);
    EXPECT_EQ(SendMessageA(host.terminalTabs, TCM_GETCURFOCUS, 0, 0), 6);
    EXPECT_EQ(Controls::TabControl::SetFocus(host.terminalTabs, 0), 7);
    EXPECT_EQ(SendMessageA(host.terminalTabs, TCM_GETCURFOCUS, 0, 0), 0);
    const std::string beyond = "Ошибка в методе \"Utils::Controls::TabControl::SetFocus()\".\nВведённый номер "
                               "вкладки превышает количество вкладок.";
    EXPECT_EQ(Thrown([&] { Controls::TabControl::SetFocus(host.terminalTabs, 7); }), beyond);
    EXPECT_EQ(Thrown([&] { Controls::TabControl::SetFocus(host.terminalTabs, 0x10000); }), beyond);
    EXPECT_EQ(SendMessageA(host.terminalTabs, TCM_GETCURFOCUS, 0, 0), 0);
}

TEST_P(ControlsTest, CheckRefusesNoHandleAGoneWindowAndAnotherClass)
{
    Host host(OtherProcess(), "english");
    EXPECT_EQ(Thrown([] { Controls::ListView::Check(nullptr); }),
        "Метод \"Utils::Controls::ListView::Check()\".\nНедействительный системный дескриптор.");
    HWND gone = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(Thrown([&] { Controls::TreeView::Check(gone); }),
        "Метод \"Utils::Controls::TreeView::Check()\".\nОтсутсвует указанный TreeView."
            + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(Thrown([&] { Controls::Button::Check(host.marketWatch); }),
        "Метод \"Utils::Controls::Button::Check()\".\nКласс не является Button.");
    EXPECT_EQ(Thrown([&] { Controls::Edit::GetText(host.navigator); }),
        "Метод \"Utils::Controls::Edit::Check()\".\nКласс не является Edit.");
    EXPECT_EQ(Thrown([&] { Controls::TabControl::SetFocus(host.marketWatch, 0); }),
        "Метод \"Utils::Controls::TabControl::Check()\".\nКласс не является TabControl.");
    EXPECT_EQ(Thrown([&] {
        Controls::ListView::Check(host.marketWatch);
        Controls::TreeView::Check(host.navigator);
        Controls::TabControl::Check(host.terminalTabs);
    }),
        "no error");
}

// --- standard controls -------------------------------------------------------------

// The controls of Support::ControlHost in this process or in controlhost.exe.
class StandardControls {
public:
    explicit StandardControls(bool otherProcess)
    {
        if (otherProcess) {
            m_process = std::make_unique<Support::StandInProcess>("", "controlhost.exe");
            m_window = m_process->Main();
        } else {
            m_host = std::make_unique<Support::ControlHost>();
            m_window = m_host->Window();
        }
    }
    HWND Item(int id) const { return GetDlgItem(m_window, id); }

private:
    std::unique_ptr<Support::ControlHost> m_host;
    std::unique_ptr<Support::StandInProcess> m_process;
    HWND m_window = nullptr;
};

using Support::ControlHost;

TEST_P(ControlsTest, EditSetTextReturnsWhatTheEditHoldsAfterwards)
{
    StandardControls controls(OtherProcess());
    HWND edit = controls.Item(ControlHost::EditId);
    EXPECT_EQ(Controls::Edit::SetText(edit, "EURUSD,60"), "EURUSD,60");
    EXPECT_EQ(Controls::Edit::GetText(edit), "EURUSD,60");
    EXPECT_EQ(Controls::Edit::SetText(edit, "Счёт 12345678"), "Счёт 12345678");
    EXPECT_EQ(Controls::Edit::SetText(edit, ""), "");
    SendMessageA(edit, EM_SETLIMITTEXT, 4, 0);
    EXPECT_EQ(Controls::Edit::SetText(edit, "1.500000"), "1.500000");  // a set text is not cut by the limit
}

TEST_P(ControlsTest, AnEditThatTakesNoTextIsReported)
{
    StandardControls controls(OtherProcess());
    EXPECT_EQ(Thrown([&] { Controls::Edit::SetText(controls.Item(ControlHost::RefusingEditId), "x"); }),
        "Ошибка в методе \"Utils::Controls::Edit::SetText()\".\nТекст не установлен.");
    EXPECT_EQ(Thrown([&] { Controls::Edit::SetText(controls.Item(ControlHost::CheckBoxId), "x"); }),
        "Метод \"Utils::Controls::Edit::Check()\".\nКласс не является Edit.");
}

TEST_P(ControlsTest, CheckBoxesAndLabelsPassTheirChecks)
{
    StandardControls controls(OtherProcess());
    EXPECT_EQ(Thrown([&] { Controls::Button::Check(controls.Item(ControlHost::CheckBoxId)); }), "no error");
    EXPECT_EQ(Thrown([&] { Controls::Check(controls.Item(ControlHost::CheckBoxId), Controls::Kind::CheckBox); }),
        "Метод \"Utils::Controls::CheckBox::Check()\".\nКласс не является CheckBox.");
    EXPECT_EQ(Controls::Static::GetText(controls.Item(ControlHost::StaticId)), "Do you really want to stop?");
}

// Folder A1 lies inside Root A: collapsing Root A after reading a leaf of
// Folder A1 would hide the leaf and move the selection to Root A.
TEST_P(ControlsTest, AWalkIntoANestedBranchLeavesItsAncestorsOpen)
{
    StandardControls controls(OtherProcess());
    HWND tree = controls.Item(ControlHost::TreeId);
    EXPECT_EQ(Line(tree, 3), "Leaf A1y");
    HTREEITEM rootA = Next(tree, TVGN_ROOT);
    HTREEITEM folder = Next(tree, TVGN_CHILD, rootA);
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(rootA), TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(folder), TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(Next(tree, TVGN_CARET), Next(tree, TVGN_NEXT, Next(tree, TVGN_CHILD, folder)));
    // Root B's leaf: Root A and Folder A1 close again, Root B stays open.
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(folder));
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(rootA));
    EXPECT_EQ(Line(tree, 5), "Leaf B1");
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(rootA), TVIS_EXPANDED), 0);
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(folder), TVIS_EXPANDED), 0);
}

// --- carried to the control's thread -----------------------------------------

// The list and tree messages a control received, with whether each came from
// another thread, recorded by a procedure put in front of the control's own.
struct Received {
    UINT message;
    WPARAM wParam;
    bool carried;  // the library's procedure was in front of the recorder
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

// From a second thread of the terminal's process, a bulk read and a walk are
// made on the control's own thread, through the library's procedure in front
// of the control's: each run on a fresh terminal, the control receives the
// messages it receives when each is sent from the caller, in the same order,
// and is left with the window procedure it had.
TEST(CarriedTest, ReadsAndWalksAreMadeOnTheControlsThreadWithTheSameMessagesInTheSameOrder)
{
    using Read = std::function<std::string(const Host&, Controls::Route)>;
    const Read reads[] = {
        [](const Host& host, Controls::Route route) {
            return Controls::ListView::GetTextItem(host.marketWatch, route)[4];
        },
        [](const Host& host, Controls::Route route) { return Controls::TreeView::GetText(host.navigator, 6, route); },
    };
    for (size_t row = 0; row < std::size(reads); ++row) {
        std::vector<Received> received[2];
        std::string texts[2];
        for (auto route : { Controls::Route::Carried, Controls::Route::PerMessage }) {
            Host host(false, "english");
            HWND control = row == 0 ? host.marketWatch : host.navigator;
            g_own = SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder));
            g_received.clear();
            texts[static_cast<int>(route)] = reads[row](host, route);
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
