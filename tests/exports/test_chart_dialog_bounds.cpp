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
    const std::string late = " не появилось за отведённое время.";
    const std::vector<std::pair<std::function<int32_t()>, Box>> rows = {
        { [&] { return Call("VelmorGetShowGrid", Id(View(0))); },
            Refusal("VelmorGetShowGrid", "OpenPropertiesChart", "Окно свойств графика" + late, true) },
        { [&] { return Call<void>("VelmorSetTemplateByName", Id(View(0)), "ADX"), 0; },
            Refusal("VelmorSetTemplateByName", "SetTemplateByName", "Окно открытия шаблона" + late, true) },
        { [&] { return Call("VelmorOpenOfflineChart", "EURUSD", "H1"); },
            Refusal("VelmorOpenOfflineChart", "OpenOfflineChart", "Окно со списком автономных графиков" + late, true) } };
    for (const auto& [call, box] : rows) {
        SCOPED_TRACE(box.caption);
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(call(), 0);
        const ULONGLONG took = GetTickCount64() - start;
        EXPECT_GE(took, 10000u);
        EXPECT_LT(took, 12000u);
        EXPECT_EQ(boxes.Take(), std::vector<Box> { box });
    }
    // Nobody holds the active-chart mutex: another thread activates at once.
    std::thread other([&] { Call<void>("VelmorSetActiveChart", Id(View(1))); });
    other.join();
    EXPECT_EQ(Call("VelmorIsChartActive", Id(View(1))), 1);
}

} // namespace
} // namespace ChartTest
