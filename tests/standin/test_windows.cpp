// The stand-in's window tree: classes, ids, parent chains and titles of the
// panels (docked and floating), toolbars, inner controls and charts, in each
// interface language.
#include <gtest/gtest.h>

#include "Helpers.h"
#include "StandIn.h"

#include <commctrl.h>

using namespace StandInTest;
using StandIn::PanelId;
using StandIn::Scenario;
using StandIn::Terminal;

namespace {

// One step of a window's parent chain.
struct Node {
    std::string className;
    std::string text;
    int id;  // control id of a child window, 0 for a top-level one
    bool operator==(const Node& other) const
    {
        return className == other.className && text == other.text && id == other.id;
    }
};

void PrintTo(const Node& node, std::ostream* out)
{
    *out << "{" << node.className << ", \"" << node.text << "\", 0x" << std::hex << node.id << std::dec << "}";
}

// From the window up to its top-level window.
std::vector<Node> Chain(HWND window)
{
    std::vector<Node> chain;
    for (; window && window != GetDesktopWindow(); window = GetAncestor(window, GA_PARENT)) {
        const bool child = GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD;
        chain.push_back({ ClassOf(window), TextOf(window), child ? GetDlgCtrlID(window) : 0 });
    }
    return chain;
}

const char* const Main = "MetaQuotes::MetaTrader::4.00";
const char* const Bar = "AfxControlBar42s";
const char* const Content = "AfxWnd42s";
const int PanelIds[] = { 0x54, 0x50, 0x52, 0x51, 0x53 };

struct Language {
    const char* scenario;
    const char* panels[5];
    const char* toolbars[4];
    const char* terminalTabs[7];
    const char* testerTabs[2];
    const char* navigatorRoots[5];
    const char* symbolColumn;
};

const Language Languages[] = {
    { "english", { "Data Window", "Market Watch", "Navigator", "Terminal", "Tester" },
        { "Standard", "Charts", "Line Studies", "Periodicity" },
        { "Trade", "Account history", "News", "Alerts", "Mailbox", "Experts", "Journal" }, { "Settings", "Journal" },
        { "Accounts", "Indicators", "Expert Advisors", "Custom Indicators", "Scripts" }, "Symbol" },
    { "russian", { "Окно данных", "Обзор рынка", "Навигатор", "Терминал", "Тестер" },
        { "Стандартная", "Графики", "Графические инструменты", "Период" },
        { "Торговля", "История счета", "Новости", "Сигналы", "Почтовый ящик", "Эксперты", "Журнал" },
        { "Настройки", "Журнал" }, { "Счета", "Индикаторы", "Советники", "Пользовательские Индикаторы", "Скрипты" },
        "Символ" },
    { "none", { "Datenfenster", "Marktuebersicht", "Explorer", "Werkzeugkasten", "Strategietester" },
        { "Standard-Leiste", "Diagramme", "Zeichenwerkzeuge", "Zeitrahmen" },
        { "Handel", "Kontoverlauf", "Nachrichten", "Warnungen", "Postfach", "Experten", "Protokoll" },
        { "Einstellungen", "Protokoll" }, { "Konten", "Indikatoren", "Fachberater", "Eigene Indikatoren", "Skripte" }, "Symbol" },
};

// Laid out: a window of its own size, not a collapsed one.
bool HasRoom(HWND window)
{
    RECT area;
    GetClientRect(window, &area);
    return area.right >= 100 && area.bottom >= 80;
}

std::vector<std::string> TabCaptions(HWND tabs)
{
    std::vector<std::string> captions;
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[128] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        captions.push_back(text);
    }
    return captions;
}

// In-process reads of another thread's tree items: same address space.
std::vector<std::string> RootNodes(HWND tree)
{
    std::vector<std::string> roots;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        char text[128] = "";
        TVITEMA data = {};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        roots.push_back(text);
    }
    return roots;
}

std::vector<std::string> Texts(const char* const* texts, int count) { return { texts, texts + count }; }

class LanguageTest : public ::testing::TestWithParam<Language> { };

TEST_P(LanguageTest, DockedPanelsToolbarsAndControlsCarryTheLanguagesTexts)
{
    const Language& language = GetParam();
    Terminal terminal(Scenario::Named(language.scenario));
    const StandIn::Windows& windows = terminal.Handles();
    const std::string title = "12345678: MetaQuotes-Demo - [USDJPY,D1]";
    EXPECT_EQ(Chain(windows.main), (std::vector<Node> { { Main, title, 0 } }));
    EXPECT_TRUE(IsWindowVisible(windows.main));

    for (int i = 0; i < 5; ++i) {
        const int dock = i >= static_cast<int>(PanelId::Terminal) ? 0xE81E : 0xE81C;
        const std::vector<Node> expected = { { Content, "", PanelIds[i] }, { Bar, language.panels[i], 0xE820 + i },
            { Bar, "", dock }, { Main, title, 0 } };
        EXPECT_EQ(Chain(windows.panel[i]), expected) << language.panels[i];
        EXPECT_EQ(GetDlgItem(GetParent(windows.panel[i]), PanelIds[i]), windows.panel[i]);
        EXPECT_EQ(windows.floatingFrame[i], nullptr);
        EXPECT_TRUE(HasRoom(windows.panel[i])) << language.panels[i];
    }

    EXPECT_EQ(windows.standardDock, GetDlgItem(windows.main, 0xE81B));
    const int toolbarIds[] = { 0xE800, 0x106, 0x107, 0x108 };
    std::vector<Node> toolbars;
    for (HWND toolbar : Descendants(windows.standardDock))
        toolbars.push_back({ ClassOf(toolbar), TextOf(toolbar), GetDlgCtrlID(toolbar) });
    std::vector<Node> expectedToolbars;
    for (int i = 0; i < 4; ++i) {
        expectedToolbars.push_back({ "ToolbarWindow32", language.toolbars[i], toolbarIds[i] });
        EXPECT_EQ(windows.toolbar[i], GetDlgItem(windows.standardDock, toolbarIds[i]));
    }
    EXPECT_EQ(toolbars, expectedToolbars);

    const HWND dataWindow = windows.panel[static_cast<int>(PanelId::DataWindow)];
    const HWND marketWatch = windows.panel[static_cast<int>(PanelId::MarketWatch)];
    const HWND navigator = windows.panel[static_cast<int>(PanelId::Navigator)];
    const HWND terminalPanel = windows.panel[static_cast<int>(PanelId::Terminal)];
    const HWND tester = windows.panel[static_cast<int>(PanelId::Tester)];
    EXPECT_EQ(Chain(windows.dataWindowList)[0], (Node { "SysListView32", "", 0x8A73 }));
    EXPECT_EQ(GetParent(windows.dataWindowList), dataWindow);
    EXPECT_EQ(Chain(windows.marketWatchList)[0], (Node { "SysListView32", "", 0x8A71 }));
    EXPECT_EQ(GetParent(windows.marketWatchList), marketWatch);
    char column[64] = "";
    LVCOLUMNA symbol = {};
    symbol.mask = LVCF_TEXT;
    symbol.pszText = column;
    symbol.cchTextMax = sizeof column;
    SendMessageA(windows.marketWatchList, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&symbol));
    EXPECT_STREQ(column, language.symbolColumn);
    EXPECT_EQ(Chain(windows.navigatorTree)[0], (Node { "SysTreeView32", "", 0x8A6F }));
    EXPECT_EQ(GetParent(windows.navigatorTree), navigator);
    EXPECT_EQ(RootNodes(windows.navigatorTree), Texts(language.navigatorRoots, 5));
    EXPECT_NE(SendMessageA(windows.navigatorTree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0);
    EXPECT_EQ(Chain(windows.terminalTabs)[0], (Node { "SysTabControl32", "", 0x471 }));
    EXPECT_EQ(GetParent(windows.terminalTabs), terminalPanel);
    EXPECT_EQ(TabCaptions(windows.terminalTabs), Texts(language.terminalTabs, 7));
    EXPECT_EQ(GetParent(windows.testerTabs), tester);
    EXPECT_EQ(TabCaptions(windows.testerTabs), Texts(language.testerTabs, 2));
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageTest, ::testing::ValuesIn(Languages),
    [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.scenario); });

TEST(WindowsTest, FloatingPanelsLiveInOwnedFramesWithTheFloatingBar)
{
    Terminal terminal(Scenario::Named("floating"));
    const StandIn::Windows& windows = terminal.Handles();
    const char* const titles[] = { "Data Window", "Market Watch", "Navigator", "Terminal", "Tester" };
    for (int i = 0; i < 5; ++i) {
        const std::vector<Node> expected
            = { { Content, "", PanelIds[i] }, { Bar, "", 0xE81F }, { "Afx:400000:8:10011:0:0", titles[i], 0 } };
        EXPECT_EQ(Chain(windows.panel[i]), expected) << titles[i];
        EXPECT_EQ(GetAncestor(windows.panel[i], GA_ROOT), windows.floatingFrame[i]);
        EXPECT_EQ(GetWindow(windows.floatingFrame[i], GW_OWNER), windows.main);
        EXPECT_TRUE(IsWindowVisible(windows.panel[i]));
        EXPECT_TRUE(HasRoom(windows.panel[i])) << titles[i];
    }
    // Nothing of a panel is left inside the main window.
    EXPECT_TRUE(DescendantsOfClass(windows.main, Content).empty());
    EXPECT_EQ(DescendantsOfClass(windows.main, Bar).size(), 3u);  // the three dock bars
}

TEST(WindowsTest, ChartsAreMdiChildrenWithAViewFillingTheFrameTheLastOneActive)
{
    Terminal terminal;
    const StandIn::Windows& windows = terminal.Handles();
    EXPECT_EQ(Chain(windows.chartArea), (std::vector<Node> { { "MDIClient", "", 0xE900 },
                                            { Main, "12345678: MetaQuotes-Demo - [USDJPY,D1]", 0 } }));
    const char* const titles[] = { "EURUSD,H1", "GBPUSD,H4", "USDJPY,D1" };
    ASSERT_EQ(windows.chartFrames.size(), 3u);
    ASSERT_EQ(windows.chartViews.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const HWND frame = windows.chartFrames[i], view = windows.chartViews[i];
        EXPECT_EQ(ClassOf(frame), "Afx:00400000:b:00010003:00000006:00000000");
        EXPECT_EQ(TextOf(frame), titles[i]);
        EXPECT_EQ(GetParent(frame), windows.chartArea);
        EXPECT_EQ(Chain(view)[0], (Node { "AfxFrameOrView42s", "", 0xE900 }));
        EXPECT_EQ(GetParent(view), frame);
        RECT client, area;
        GetClientRect(frame, &client);
        GetWindowRect(view, &area);
        EXPECT_EQ(area.right - area.left, client.right);
        EXPECT_EQ(area.bottom - area.top, client.bottom);
    }
    EXPECT_EQ(SendMessageA(windows.chartArea, WM_MDIGETACTIVE, 0, 0), reinterpret_cast<LRESULT>(windows.chartFrames[2]));
    // Enumeration finds the topmost (active) chart first.
    EXPECT_EQ(DescendantsOfClass(windows.chartArea, "AfxFrameOrView42s"),
        (std::vector<HWND> { windows.chartViews[2], windows.chartViews[1], windows.chartViews[0] }));

    Terminal empty(Scenario::Named("no-charts"));
    EXPECT_EQ(TextOf(empty.Handles().main), "12345678: MetaQuotes-Demo");
    EXPECT_TRUE(Descendants(empty.Handles().chartArea).empty());
}

}  // namespace
