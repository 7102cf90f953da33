// What the stand-in's lists and tree hold: the Market Watch rows and the
// Navigator's programs, by default and from scenario lines.
#include <gtest/gtest.h>

#include "Helpers.h"
#include "StandIn.h"

#include <commctrl.h>

#include <fstream>

using StandIn::Scenario;
using StandInTest::Cell;
using StandIn::Terminal;

namespace {

std::vector<std::string> Rows(HWND list)
{
    std::vector<std::string> rows;
    const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        rows.push_back(Cell(list, row, 0) + " " + Cell(list, row, 1) + " " + Cell(list, row, 2));
    return rows;
}

std::string ItemText(HWND tree, HTREEITEM handle)
{
    char text[64] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = handle;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Each root with its children: "Accounts: 12345678".
std::vector<std::string> Branches(HWND tree)
{
    std::vector<std::string> branches;
    const auto next = [tree](UINT relation, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    for (HTREEITEM root = next(TVGN_ROOT, nullptr); root; root = next(TVGN_NEXT, root)) {
        std::string branch = ItemText(tree, root) + ":";
        for (HTREEITEM leaf = next(TVGN_CHILD, root); leaf; leaf = next(TVGN_NEXT, leaf))
            branch += " " + ItemText(tree, leaf) + (next(TVGN_CHILD, leaf) ? "+" : "");
        branches.push_back(branch);
    }
    return branches;
}

TEST(ContentsTest, MarketWatchRowsAndNavigatorProgramsByDefault)
{
    Terminal terminal(Scenario::Named("russian"));
    const StandIn::Windows& windows = terminal.Handles();
    EXPECT_EQ(Rows(windows.marketWatchList), (std::vector<std::string> { "EURUSD 1.08650 1.08662",
                                                 "GBPUSD 1.26710 1.26725", "USDJPY 149.520 149.535",
                                                 "USDCHF 0.88120 0.88135", "AUDUSD 0.65480 0.65495" }));
    EXPECT_EQ(Branches(windows.navigatorTree),
        (std::vector<std::string> { "Счета: 12345678", "Индикаторы: Moving Average MACD Relative Strength Index",
            "Советники: MACD Sample Moving Average", "Пользовательские Индикаторы: Heiken Ashi ZigZag",
            "Скрипты: PeriodConverter" }));
    // Collapsed, the first root selected.
    EXPECT_EQ(SendMessageA(windows.navigatorTree, TVM_GETCOUNT, 0, 0), 14);
    const auto root = SendMessageA(windows.navigatorTree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    EXPECT_EQ(SendMessageA(windows.navigatorTree, TVM_GETNEXTITEM, TVGN_CARET, 0), root);
    EXPECT_EQ(SendMessageA(windows.navigatorTree, TVM_GETITEMSTATE, root, TVIS_EXPANDED), 0);
}

TEST(ContentsTest, ScenarioLinesReplaceTheDefaultRowsAndPrograms)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "standin-contents.txt";
    std::ofstream(path) << "symbol = XAUUSD, 2034.10, 2034.45\nsymbol=BTCUSD,1,2\nexpert = Grid\nexpert = Scalper\n"
                           "script =\nindicator = Ichimoku Kinko Hyo\naccount = 777\n";
    Terminal terminal(Scenario::FromFile(path));
    EXPECT_EQ(Rows(terminal.Handles().marketWatchList),
        (std::vector<std::string> { "XAUUSD 2034.10 2034.45", "BTCUSD 1 2" }));
    EXPECT_EQ(Branches(terminal.Handles().navigatorTree),
        (std::vector<std::string> { "Accounts: 777", "Indicators: Ichimoku Kinko Hyo",
            "Expert Advisors: Grid Scalper", "Custom Indicators: Heiken Ashi ZigZag", "Scripts:" }));
    for (const char* wrong : { "symbol = EURUSD\n", "symbol = ,1,2\n" }) {
        std::ofstream(path) << wrong;
        EXPECT_THROW(Scenario::FromFile(path), std::runtime_error) << wrong;
    }
    DeleteFileA(path.c_str());
    const Scenario many = Scenario::Named("many-symbols");
    ASSERT_EQ(many.marketWatch.size(), 5000u);
    EXPECT_EQ(many.marketWatch[4999].symbol, "S4999");
    EXPECT_EQ(many.marketWatch[1200].ask, "1.01212");
}

}  // namespace
