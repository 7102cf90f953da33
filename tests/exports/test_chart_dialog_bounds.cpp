// Dialogs the terminal never shows: each wait ends at its bound with a box,
// and the active-chart mutex is free afterwards.
#include <thread>

#include "ChartFixture.h"

namespace ChartTest {
namespace {

StandIn::Scenario Silent()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.ignoredCommands = { 33157, 35511, 33053 };
    return scenario;
}
using ChartDialogBoundTest = On<Silent>;

TEST_F(ChartDialogBoundTest, EveryDialogWaitEndsAtItsBoundWithABox)
{
    struct Row {
        std::function<int32_t()> call;
        Box box;
    };
    const std::vector<Row> rows = {
        { [&] { return Call("VelmorGetShowGrid", Id(View(0))); },
            Refusal("VelmorGetShowGrid", "OpenPropertiesChart", "Окно свойств графика не появилось за отведённое время.",
                true) },
        { [&] { return Call<void>("VelmorSetTemplateByName", Id(View(0)), "ADX"), 0; },
            Refusal("VelmorSetTemplateByName", "SetTemplateByName",
                "Окно открытия шаблона не появилось за отведённое время.", true) },
        { [&] { return Call("VelmorOpenOfflineChart", "EURUSD", "H1"); },
            Refusal("VelmorOpenOfflineChart", "OpenOfflineChart",
                "Окно со списком автономных графиков не появилось за отведённое время.", true) },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box.caption);
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(row.call(), 0);
        const double seconds = (GetTickCount64() - start) / 1000.0;
        EXPECT_GE(seconds, 10.0);
        EXPECT_LT(seconds, 12.0);
        EXPECT_EQ(boxes.Take(), std::vector<Box> { row.box });
    }
    // Nobody holds the active-chart mutex: another thread activates at once.
    std::thread other([&] { Call<void>("VelmorSetActiveChart", Id(View(1))); });
    other.join();
    EXPECT_EQ(Call("VelmorIsChartActive", Id(View(1))), 1);
}

} // namespace
} // namespace ChartTest
