// Offline and recently deleted charts against the stand-in terminal.
#include "ChartFixture.h"

namespace ChartTest {
namespace {

using OfflineFn = int32_t(WINAPI*)(const char*, const char*);

class OfflineTest : public Fixture {
protected:
    explicit OfflineTest(const StandIn::Scenario& scenario = StandIn::Scenario::Named("english"))
        : Fixture(scenario)
    {
    }

    // The main window's command and the dialog's button.
    std::vector<WPARAM> Commands()
    {
        std::vector<WPARAM> commands;
        for (const Event& event : Received(Event::Command, 2))
            commands.push_back(event.wParam);
        return commands;
    }
    HWND TopView() const { return GetDlgItem(GetTopWindow(terminal.Handles().chartArea), 0xE900); }
    int32_t Charts() const { return Fn<Support::IntFn>("VelmorNumberCharts")(); }

    OfflineFn offline = Fn<OfflineFn>("VelmorOpenOfflineChart");
    Support::IntOfIntFn deleted = Fn<Support::IntOfIntFn>("VelmorOpenDeletetChart");
};

TEST_F(OfflineTest, AMatchingRowOpensTheOfflineChartOnTopAndGivesItsHandle)
{
    const int32_t chart = offline("GBPUSD", "D1");
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33053, IDOK }));
    ASSERT_NE(chart, 0);
    EXPECT_EQ(AsWindowOf(chart), TopView());
    const StandIn::ChartSpec opened = terminal.Chart(AsWindowOf(chart));
    EXPECT_EQ(opened.symbol, "GBPUSD");
    EXPECT_EQ(opened.period, 1440);
    EXPECT_TRUE(opened.Setting(StandIn::ChartSetting::Offline));
    EXPECT_EQ(Charts(), 4);
    EXPECT_TRUE(boxes.Take().empty());
}

// The key must equal a row exactly; otherwise the dialog is cancelled.
TEST_F(OfflineTest, AKeyThatDiffersInLetterCaseOpensNothing)
{
    EXPECT_EQ(offline("eurusd", "H1"), 0);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33053, IDCANCEL }));
    EXPECT_EQ(offline("EURUSD", "H1 "), 0);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33053, IDCANCEL }));
    EXPECT_EQ(offline(nullptr, nullptr), 0);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33053, IDCANCEL }));
    EXPECT_EQ(Charts(), 3);
    EXPECT_TRUE(boxes.Take().empty());
}

// An entry the terminal does not have opens nothing: never the chart on top.
TEST_F(OfflineTest, ADeletedChartReopensOnTopAndAnEntryThatOpensNothingIsNoChart)
{
    const int32_t chart = deleted(1);
    EXPECT_EQ(terminal.Log().Take().front(), Command(Main(), 35001)); // sent: done when the export returns
    EXPECT_EQ(AsWindowOf(chart), TopView());
    EXPECT_EQ(terminal.Chart(AsWindowOf(chart)).symbol, "USDCHF");
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_EQ(deleted(7), 0);
    EXPECT_EQ(deleted(-1), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorOpenDeletetChart()",
                                "Ошибка в методе \"MT4::Windows::OpenDeletetChart()\".\nСистемный дескриптор окна "
                                "графика не получен." },
            { "VelmorOpenDeletetChart()",
                "Метод \"MT4::Windows::OpenDeletetChart()\".\nНеверно указан номер удалённого графика." } }));
    EXPECT_EQ(AsWindowOf(chart), TopView());
    EXPECT_EQ(Charts(), 4);
}

class EmptyOfflineTest : public OfflineTest {
protected:
    static StandIn::Scenario Empty()
    {
        StandIn::Scenario scenario = StandIn::Scenario::Named("no-charts");
        scenario.offlineCharts.clear();
        scenario.deletedCharts.clear();
        return scenario;
    }
    EmptyOfflineTest()
        : OfflineTest(Empty())
    {
    }
};

TEST_F(EmptyOfflineTest, AnEmptyListIsCancelled)
{
    EXPECT_EQ(offline("EURUSD", "H1"), 0);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33053, IDCANCEL }));
    EXPECT_TRUE(boxes.Take().empty());
}

class RussianOfflineTest : public OfflineTest {
protected:
    RussianOfflineTest()
        : OfflineTest(StandIn::Scenario::Named("russian"))
    {
    }
};

TEST_F(RussianOfflineTest, TheRussianDialogIsFoundByItsTitle)
{
    const int32_t chart = offline("EURUSD", "H1");
    EXPECT_EQ(AsWindowOf(chart), TopView());
    EXPECT_EQ(terminal.Chart(AsWindowOf(chart)).symbol, "EURUSD");
    EXPECT_TRUE(boxes.Take().empty());
}

} // namespace
} // namespace ChartTest
