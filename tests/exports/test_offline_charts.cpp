// Offline and recently deleted charts against the stand-in terminal.
#include "ChartFixture.h"

namespace ChartTest {
namespace {

StandIn::Scenario English() { return StandIn::Scenario::Named("english"); }
StandIn::Scenario Russian() { return StandIn::Scenario::Named("russian"); }
StandIn::Scenario Empty()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("no-charts");
    scenario.offlineCharts.clear();
    scenario.deletedCharts.clear();
    return scenario;
}

template <StandIn::Scenario (*Make)() = English> class OfflineOn : public On<Make> {
protected:
    HWND TopView() const { return GetDlgItem(GetTopWindow(this->terminal.Handles().chartArea), 0xE900); }
    int32_t OpenOffline(const char* symbol, const char* period)
    {
        return this->Call("VelmorOpenOfflineChart", symbol, period);
    }
};
using OfflineTest = OfflineOn<>;

// The key must equal a row exactly; otherwise (an empty list too) the dialog is cancelled.
TEST_F(OfflineTest, AMatchingRowOpensTheOfflineChartOnTopAndAnyOtherKeyOpensNothing)
{
    const int32_t chart = OpenOffline("GBPUSD", "D1");
    EXPECT_EQ(Commands(2), (std::vector<WPARAM> { 33053, IDOK }));
    ASSERT_NE(chart, 0);
    EXPECT_EQ(AsWindowOf(chart), TopView());
    const StandIn::ChartSpec opened = terminal.Chart(AsWindowOf(chart));
    EXPECT_EQ(opened.symbol, "GBPUSD");
    EXPECT_EQ(opened.period, 1440);
    EXPECT_TRUE(opened.Setting(StandIn::ChartSetting::Offline));

    const std::pair<const char*, const char*> others[] = { { "eurusd", "H1" }, { "EURUSD", "H1 " }, {} };
    for (const auto& key : others) {
        EXPECT_EQ(OpenOffline(key.first, key.second), 0);
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
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_EQ(Call("VelmorOpenDeletetChart", 7), 0);
    EXPECT_EQ(Call("VelmorOpenDeletetChart", -1), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { Refusal("VelmorOpenDeletetChart", "OpenDeletetChart",
                                "Системный дескриптор окна графика не получен.", true),
            Refusal("VelmorOpenDeletetChart", "OpenDeletetChart", "Неверно указан номер удалённого графика.") }));
    EXPECT_EQ(AsWindowOf(chart), TopView());
    EXPECT_EQ(Call("VelmorNumberCharts"), 4);
}

using EmptyOfflineTest = OfflineOn<Empty>;
TEST_F(EmptyOfflineTest, AnEmptyListIsCancelled)
{
    EXPECT_EQ(OpenOffline("EURUSD", "H1"), 0);
    EXPECT_EQ(Commands(2), (std::vector<WPARAM> { 33053, IDCANCEL }));
    EXPECT_TRUE(boxes.Take().empty());
}

using RussianOfflineTest = OfflineOn<Russian>;
TEST_F(RussianOfflineTest, TheRussianDialogIsFoundByItsTitle)
{
    const int32_t chart = OpenOffline("EURUSD", "H1");
    EXPECT_EQ(AsWindowOf(chart), TopView());
    EXPECT_EQ(terminal.Chart(AsWindowOf(chart)).symbol, "EURUSD");
    EXPECT_TRUE(boxes.Take().empty());
}

} // namespace
} // namespace ChartTest
