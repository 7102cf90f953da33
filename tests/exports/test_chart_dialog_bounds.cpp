// Dialogs the terminal never shows: each wait ends at its bound with a box, and the mutex is free afterwards.
#include <thread>

#include "ChartFixture.h"

using namespace ChartTest;

static StandIn::Scenario Silent() { StandIn::Scenario s; s.ignoredCommands = { 33157, 35511, 33053 }; return s; }
using ChartDialogBoundTest = On<Silent>;

TEST_F(ChartDialogBoundTest, EveryDialogWaitEndsAtItsBoundWithABox)
{
    const std::string late = " не появилось за отведённое время.";
    const std::vector<std::pair<std::function<int32_t()>, Box>> rows = {
        { [&] { return Call("VelmorGetShowGrid", Id(View(0))); },
            Refusal("VelmorGetShowGrid", "Окно свойств графика" + late, true, "OpenPropertiesChart") },
        { [&] { return Call<void>("VelmorSetTemplateByName", Id(View(0)), "ADX"), 0; },
            Refusal("VelmorSetTemplateByName", "Окно открытия шаблона" + late, true) },
        { [&] { return Call("VelmorOpenOfflineChart", "EURUSD", "H1"); },
            Refusal("VelmorOpenOfflineChart", "Окно со списком автономных графиков" + late, true) } };
    for (const auto& [call, box] : rows) {
        SCOPED_TRACE(box.caption);
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(call(), 0);
        const ULONGLONG took = GetTickCount64() - start;
        EXPECT_TRUE(took >= 10000u && took < 12000u) << took;
        EXPECT_EQ(boxes.Take(), std::vector<Box> { box });
    }
    // Nobody holds the active-chart mutex: another thread activates at once.
    std::thread([&] { Call<void>("VelmorSetActiveChart", Id(View(1))); }).join();
    EXPECT_EQ(Call("VelmorIsChartActive", Id(View(1))), 1);
}
