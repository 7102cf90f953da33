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

class ChartDialogBoundTest : public Fixture {
protected:
    ChartDialogBoundTest()
        : Fixture(Silent())
    {
    }

    // Runs `call` and gives the seconds it took.
    template <class Call> static double Seconds(Call&& call)
    {
        const ULONGLONG start = GetTickCount64();
        call();
        return (GetTickCount64() - start) / 1000.0;
    }
};

TEST_F(ChartDialogBoundTest, EveryDialogWaitEndsAtItsBoundWithABox)
{
    int32_t result = -1;
    const double properties
        = Seconds([&] { result = Fn<Support::IntOfIntFn>("VelmorGetShowGrid")(Id(View(0))); });
    EXPECT_EQ(result, 0);
    EXPECT_GE(properties, 10.0);
    EXPECT_LT(properties, 12.0);

    const double templates
        = Seconds([&] { Fn<VoidOfIntTextFn>("VelmorSetTemplateByName")(Id(View(0)), "ADX"); });
    EXPECT_GE(templates, 10.0);
    EXPECT_LT(templates, 12.0);

    const double offline = Seconds([&] {
        result = Fn<int32_t(WINAPI*)(const char*, const char*)>("VelmorOpenOfflineChart")("EURUSD", "H1");
    });
    EXPECT_EQ(result, 0);
    EXPECT_GE(offline, 10.0);
    EXPECT_LT(offline, 12.0);

    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "VelmorGetShowGrid()",
                "Ошибка в методе \"MT4::Windows::OpenPropertiesChart()\".\nОкно свойств графика не "
                "появилось за отведённое время." },
            { "VelmorSetTemplateByName()",
                "Ошибка в методе \"MT4::Windows::SetTemplateByName()\".\nОкно открытия шаблона не появилось "
                "за "
                "отведённое время." },
            { "VelmorOpenOfflineChart()",
                "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nОкно со списком автономных графиков "
                "не "
                "появилось за отведённое время." } }));

    // Nobody holds the active-chart mutex: another thread activates at once.
    std::thread other([&] { Fn<Support::VoidOfIntFn>("VelmorSetActiveChart")(Id(View(1))); });
    other.join();
    EXPECT_EQ(Fn<Support::IntOfIntFn>("VelmorIsChartActive")(Id(View(1))), 1);
}

} // namespace
} // namespace ChartTest
