// Offline and recently deleted charts.
#include "ChartFixture.h"

using namespace ChartTest;

static StandIn::Scenario English() { return {}; }
static StandIn::Scenario RussianEmpty()
{ auto s = StandIn::Scenario::Named("russian"); return s.offlineCharts.clear(), s.deletedCharts.clear(), s; }

template <StandIn::Scenario (*Make)()> class OfflineOn : public On<Make> {
protected:
    HWND TopView() const { return GetDlgItem(GetTopWindow(this->terminal.Handles().chartArea), 0xE900); }
    int32_t OpenOffline(const char* symbol, const char* period) { return this->Call("VelmorOpenOfflineChart", symbol, period); }
};
using OfflineTest = OfflineOn<English>;

// The key must equal a row exactly; otherwise the dialog is cancelled.
TEST_F(OfflineTest, AMatchingRowOpensTheOfflineChartOnTopAndAnyOtherKeyOpensNothing)
{
    const int32_t chart = OpenOffline("GBPUSD", "D1");
    EXPECT_EQ(Commands(2), (std::vector<WPARAM> { 33053, IDOK }));
    ASSERT_EQ(AsWindowOf(chart), TopView());
    const auto opened = terminal.Chart(AsWindowOf(chart));
    EXPECT_EQ(opened.symbol + "," + std::to_string(opened.period), "GBPUSD,1440");
    EXPECT_TRUE(opened.Setting(StandIn::ChartSetting::Offline));

    const std::pair<const char*, const char*> others[] = { { "eurusd", "H1" }, { "EURUSD", "H1 " }, {} };
    for (const auto& [symbol, period] : others) {
        EXPECT_EQ(OpenOffline(symbol, period), 0);
        EXPECT_EQ(Commands(2), (std::vector<WPARAM> { 33053, IDCANCEL }));
    }
    EXPECT_EQ(Call("VelmorNumberCharts"), 4);
    EXPECT_TRUE(boxes.Take().empty());
}

// An entry the terminal does not have opens nothing: never the chart on top.
TEST_F(OfflineTest, ADeletedChartReopensOnTopAndAnEntryThatOpensNothingIsNoChart)
{
    const int32_t chart = Call("VelmorOpenDeletetChart", 1);
    EXPECT_EQ(terminal.Log().Take().front(), Command(Main(), 35001)); // sent: done when the export returns
    EXPECT_EQ(AsWindowOf(chart), TopView());
    EXPECT_EQ(terminal.Chart(AsWindowOf(chart)).symbol, "USDCHF");
    EXPECT_EQ(Call("VelmorOpenDeletetChart", 7), 0);
    EXPECT_EQ(Call("VelmorOpenDeletetChart", -1), 0);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { Refusal("VelmorOpenDeletetChart", "Системный дескриптор окна графика не получен.", true),
                                Refusal("VelmorOpenDeletetChart", "Неверно указан номер удалённого графика.") }));
    EXPECT_EQ(AsWindowOf(chart), TopView());
    EXPECT_EQ(Call("VelmorNumberCharts"), 4);
}

using RussianEmptyOfflineTest = OfflineOn<RussianEmpty>;
TEST_F(RussianEmptyOfflineTest, TheRussianDialogIsFoundAndAnEmptyListIsCancelled)
{
    EXPECT_EQ(OpenOffline("EURUSD", "H1"), 0);
    EXPECT_EQ(Commands(2), (std::vector<WPARAM> { 33053, IDCANCEL }));
    EXPECT_TRUE(boxes.Take().empty());
}
