// The stand-in's window tree in each language and layout: classes, ids, parent chains and texts of every window.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "Helpers.h"
#include "StandIn.h"

using namespace StandInTest;

namespace {

using Node = std::tuple<std::string, std::string, int>;  // class, text, control id (0: top level)

std::vector<Node> Chain(HWND window)
{
    std::vector<Node> chain;
    for (; window && window != GetDesktopWindow(); window = GetAncestor(window, GA_PARENT)) {
        const bool child = GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD;
        chain.push_back({ ClassOf(window), TextOf(window), child ? GetDlgCtrlID(window) : 0 });
    }
    return chain;
}

// A list's column captions, a tab strip's captions or a tree's root texts.
std::vector<std::string> Items(HWND control)
{
    std::vector<std::string> texts;
    char text[128];
    LVCOLUMNA column = {};
    TCITEMA tab = {};
    TVITEMA root = {};
    column.mask = LVCF_TEXT, tab.mask = TCIF_TEXT, root.mask = TVIF_TEXT;
    column.pszText = tab.pszText = root.pszText = text;
    column.cchTextMax = tab.cchTextMax = root.cchTextMax = sizeof text;
    const std::string kind = ClassOf(control);
    for (int i = 0; kind == WC_LISTVIEWA && SendMessageA(control, LVM_GETCOLUMNA, i, LPARAM(&column)); ++i)
        texts.push_back(text);
    for (int i = 0; kind == WC_TABCONTROLA && SendMessageA(control, TCM_GETITEMA, i, LPARAM(&tab)); ++i)
        texts.push_back(text);
    for (root.hItem = TreeView_GetRoot(control); kind == WC_TREEVIEWA && root.hItem;
         root.hItem = TreeView_GetNextSibling(control, root.hItem))
        texts.push_back(SendMessageA(control, TVM_GETITEMA, 0, LPARAM(&root)) ? text : "?");
    return texts;
}

struct Texts { std::vector<std::string> panels, toolbars, terminalTabs, testerTabs, roots; std::string symbolColumn; };
const Texts English = { { "Data Window", "Market Watch", "Navigator", "Terminal", "Tester" }, { "Standard", "Charts",
    "Line Studies", "Periodicity" }, { "Trade", "Account history", "News", "Alerts", "Mailbox", "Experts", "Journal" },
    { "Settings", "Journal" }, { "Accounts", "Indicators", "Expert Advisors", "Custom Indicators", "Scripts" }, "Symbol" };
const Texts Russian = { { "Окно данных", "Обзор рынка", "Навигатор", "Терминал", "Тестер" }, { "Стандартная", "Графики",
    "Графические инструменты", "Период" }, { "Торговля", "История счета", "Новости", "Сигналы", "Почтовый ящик", "Эксперты",
    "Журнал" }, { "Настройки", "Журнал" }, { "Счета", "Индикаторы", "Советники", "Пользовательские Индикаторы", "Скрипты" },
    "Символ" };
const Texts German = { { "Datenfenster", "Marktuebersicht", "Explorer", "Werkzeugkasten", "Strategietester" },
    { "Standard-Leiste", "Diagramme", "Zeichenwerkzeuge", "Zeitrahmen" }, { "Handel", "Kontoverlauf", "Nachrichten",
    "Warnungen", "Postfach", "Experten", "Protokoll" }, { "Einstellungen", "Protokoll" }, { "Konten", "Indikatoren",
    "Fachberater", "Eigene Indikatoren", "Skripte" }, "Symbol" };

struct Layout { const char* scenario; const Texts* texts; bool floating; std::vector<std::string> charts; };
const std::vector<std::string> Charts = { "EURUSD,H1", "GBPUSD,H4", "USDJPY,D1" };
const Layout Layouts[] = { { "english", &English, false, Charts }, { "russian", &Russian, false, Charts },
    { "none", &German, false, Charts }, { "floating", &English, true, Charts }, { "no-charts", &English, false, {} } };

class LayoutTest : public ::testing::TestWithParam<Layout> { };

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest, ::testing::ValuesIn(Layouts),
    [](const auto& info) { std::string name = info.param.scenario; return (std::erase(name, '-'), name); });

TEST_P(LayoutTest, PanelsToolbarsControlsAndChartsSitWhereTheTerminalHasThem)
{
    const Layout& layout = GetParam();
    const Texts& texts = *layout.texts;
    StandIn::Terminal terminal(StandIn::Scenario::Named(layout.scenario));
    const StandIn::Windows& windows = terminal.Handles();
    const char *const Bar = "AfxControlBar42s", *const Content = "AfxWnd42s";
    const auto in = [](Node node, std::vector<Node> chain) { return chain.insert(chain.begin(), node), chain; };
    const std::vector<Node> main = { { "MetaQuotes::MetaTrader::4.00",
        "12345678: MetaQuotes-Demo" + (layout.charts.empty() ? "" : " - [" + layout.charts.back() + "]"), 0 } };
    const std::vector<Node> chartArea = in({ "MDIClient", "", 0xE900 }, main), dock = in({ Bar, "", 0xE81B }, main);
    std::vector<std::pair<HWND, std::vector<Node>>> chains = { { windows.main, main },
        { windows.chartArea, chartArea }, { windows.standardDock, dock } };
    std::vector<std::vector<Node>> panels;
    const int panelIds[] = { 0x54, 0x50, 0x52, 0x51, 0x53 };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(texts.panels[i]);
        const HWND panel = windows.panel[i];
        panels.push_back(in({ Content, "", panelIds[i] },
            layout.floating ? std::vector<Node> { { Bar, "", 0xE81F }, { "Afx:400000:8:10011:0:0", texts.panels[i], 0 } }
                            : in({ Bar, texts.panels[i], 0xE820 + i }, in({ Bar, "", i < 3 ? 0xE81C : 0xE81E }, main))));
        chains.push_back({ panel, panels[i] });
        EXPECT_EQ(GetDlgItem(GetParent(panel), panelIds[i]), panel);
        EXPECT_EQ(windows.floatingFrame[i], layout.floating ? GetAncestor(panel, GA_ROOT) : nullptr);
        EXPECT_EQ(GetWindow(GetAncestor(panel, GA_ROOT), GW_OWNER), layout.floating ? windows.main : nullptr);
        RECT area = {};
        EXPECT_TRUE(GetClientRect(panel, &area) && IsWindowVisible(panel) && area.right >= 100 && area.bottom >= 80);
    }
    chains.insert(chains.end(), { { windows.dataWindowList, in({ "SysListView32", "", 0x8A73 }, panels[0]) },
        { windows.marketWatchList, in({ "SysListView32", "", 0x8A71 }, panels[1]) },
        { windows.navigatorTree, in({ "SysTreeView32", "", 0x8A6F }, panels[2]) },
        { windows.terminalTabs, in({ "SysTabControl32", "", 0x471 }, panels[3]) },
        { windows.testerTabs, in({ "SysTabControl32", "", 0x471 }, panels[4]) } });
    const int toolbarIds[] = { 0xE800, 0x106, 0x107, 0x108 };
    for (int i = 0; i < 4; ++i)
        chains.push_back({ windows.toolbar[i], in({ "ToolbarWindow32", texts.toolbars[i], toolbarIds[i] }, dock) });
    for (size_t i = 0; i < windows.chartViews.size(); ++i)
        chains.push_back({ windows.chartViews[i], in({ "AfxFrameOrView42s", "", 0xE900 },
            in({ "Afx:00400000:b:00010003:00000006:00000000", layout.charts.at(i), 0xFF00 + int(i) }, chartArea)) });
    for (const auto& [window, chain] : chains)
        EXPECT_EQ(Chain(window), chain);
    EXPECT_TRUE(IsWindowVisible(windows.main));
    EXPECT_EQ(windows.standardDock, GetDlgItem(windows.main, 0xE81B));
    EXPECT_EQ(Descendants(windows.standardDock), std::vector<HWND>(windows.toolbar, windows.toolbar + 4));
    // A floating panel leaves nothing inside the main window but the three dock bars.
    std::map<std::string, int> inMain;
    for (HWND window : Descendants(windows.main))
        ++inMain[ClassOf(window)];
    EXPECT_EQ(std::vector<int>({ inMain[Content], inMain[Bar] }),
        std::vector<int>({ layout.floating ? 0 : 5, layout.floating ? 3 : 8 }));

    EXPECT_EQ(Items(windows.marketWatchList), std::vector<std::string>({ texts.symbolColumn, "Bid", "Ask" }));
    EXPECT_EQ(Items(windows.navigatorTree), texts.roots);
    EXPECT_NE(SendMessageA(windows.navigatorTree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0);
    EXPECT_EQ(Items(windows.terminalTabs), texts.terminalTabs);
    EXPECT_EQ(Items(windows.testerTabs), texts.testerTabs);

    // Charts: MDI children, each with a view filling it; the last one active and enumerated first.
    ASSERT_EQ(windows.chartFrames.size(), layout.charts.size());
    ASSERT_EQ(windows.chartViews.size(), layout.charts.size());
    std::vector<HWND> enumerated;
    for (size_t i = 0; i < layout.charts.size(); ++i) {
        const HWND frame = windows.chartFrames[i], view = windows.chartViews[i];
        RECT client, area;
        GetClientRect(frame, &client);
        GetWindowRect(view, &area);
        EXPECT_EQ(std::vector<LONG>({ area.right - area.left, area.bottom - area.top }),
            std::vector<LONG>({ client.right, client.bottom }));
        enumerated.insert(enumerated.begin(), { frame, view });
    }
    EXPECT_EQ(Descendants(windows.chartArea), enumerated);
    EXPECT_EQ(SendMessageA(windows.chartArea, WM_MDIGETACTIVE, 0, 0),
        reinterpret_cast<LRESULT>(enumerated.empty() ? nullptr : enumerated[0]));
}

}  // namespace
