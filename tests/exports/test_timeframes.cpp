// A chart's timeframe and template against the stand-in terminal.
#include "ChartFixture.h"

namespace ChartTest {
namespace {

class TimeframeTest : public Fixture {
protected:
    // The commands the chart view received once `count` are there.
    std::vector<WPARAM> ChartCommands(size_t count)
    {
        std::vector<WPARAM> commands;
        for (const Event& event : Received(Event::Command, count)) {
            EXPECT_EQ(event.window, View(0)) << event;
            commands.push_back(event.wParam);
        }
        return commands;
    }

    Support::VoidOfIntIntFn byNumber = Fn<Support::VoidOfIntIntFn>("VelmorSetTimeframeByNumber");
    Support::VoidOfIntIntFn byPeriod = Fn<Support::VoidOfIntIntFn>("VelmorSetTimeframeByPeriod");
    VoidOfIntTextFn byName = Fn<VoidOfIntTextFn>("VelmorSetTimeframeByName");
    IntOfIntIntFn templateByNumber = Fn<IntOfIntIntFn>("VelmorSetTemplateByNumber");
    VoidOfIntTextFn templateByName = Fn<VoidOfIntTextFn>("VelmorSetTemplateByName");
};

const std::vector<WPARAM> NineCommands = { 33137, 33138, 33139, 33140, 33135, 33136, 33134, 33141, 33334 };

TEST_F(TimeframeTest, EachTimeframeIsPostedAsTheTerminalsOwnCommandAndTheChartSwitches)
{
    for (int32_t index = 0; index < 9; ++index)
        byNumber(Id(View(0)), index);
    EXPECT_EQ(ChartCommands(9), NineCommands);
    EXPECT_EQ(Title(0), "EURUSD,MN");

    for (int32_t minutes : { 1, 5, 15, 30, 60, 240, 1440, 10080, 43200 })
        byPeriod(Id(View(0)), minutes);
    EXPECT_EQ(ChartCommands(9), NineCommands);

    for (const char* name : { "M1", "M5", "M15", "M30", "H1", "H4", "D1", "W1", "MN1" })
        byName(Id(View(0)), name);
    EXPECT_EQ(ChartCommands(9), NineCommands);
    EXPECT_EQ(terminal.Chart(View(0)).period, 43200);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(TimeframeTest, AnUnknownTimeframePostsNothing)
{
    const std::string number
        = "Метод \"MT4::Windows::SetTimeframeByNumber()\".\nНеверно выбран номер периода графика.";
    const std::string period
        = "Метод \"MT4::Windows::SetTimeframeByPeriod()\".\nНеверно выбран периода графика.";
    const std::string name
        = "Метод \"MT4::Windows::SetTimeframeByName()\".\nНеверно выбрано имя периода графика.";
    byNumber(Id(View(0)), 9);
    byNumber(Id(View(0)), -1);
    byPeriod(Id(View(0)), 120);
    byPeriod(Id(View(0)), -60);
    byName(Id(View(0)), "h4");
    byName(Id(View(0)), "H4 ");
    byName(Id(View(0)), "EURUSD,H4");
    byName(Id(View(0)), nullptr);
    byNumber(0, 4);
    byPeriod(0, 60);
    byName(0, "H1");
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorSetTimeframeByNumber()", number },
            { "VelmorSetTimeframeByNumber()", number }, { "VelmorSetTimeframeByPeriod()", period },
            { "VelmorSetTimeframeByPeriod()", period }, { "VelmorSetTimeframeByName()", name },
            { "VelmorSetTimeframeByName()", name }, { "VelmorSetTimeframeByName()", name },
            { "VelmorSetTimeframeByName()", name },
            { "VelmorSetTimeframeByNumber()", ZeroHandle("SetTimeframeByNumber") },
            { "VelmorSetTimeframeByPeriod()", ZeroHandle("SetTimeframeByPeriod") },
            { "VelmorSetTimeframeByName()", ZeroHandle("SetTimeframeByName") } }));
    EXPECT_TRUE(Quiet(200));
}

// The template command acts on the active chart: the chart is activated first.
TEST_F(TimeframeTest, ATemplateByNumberGoesToTheMainWindowAfterTheChartIsActive)
{
    EXPECT_NE(templateByNumber(Id(View(0)), 1), 0);
    const std::vector<Event> received = Received(3);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0], Activated(0, Frame(2)));
    EXPECT_EQ(received[1].kind, Event::Title);
    EXPECT_EQ(received[2], Command(Main(), 34801));
    EXPECT_EQ(terminal.Chart(View(0)).templateName, "Bollinger Band");

    EXPECT_NE(templateByNumber(Id(View(1)), 63), 0);
    EXPECT_EQ(Received(Event::Command, 1), (std::vector<Event> { Command(Main(), 34863) }));

    EXPECT_EQ(templateByNumber(Id(View(2)), 64), 0);
    EXPECT_EQ(templateByNumber(Id(View(2)), -1), 0);
    EXPECT_EQ(templateByNumber(0, 0), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "VelmorSetTemplateByNumber()",
                "Метод \"MT4::Windows::SetTemplateByNumber()\".\nВыбран номер шаблона более 63." },
            { "VelmorSetTemplateByNumber()",
                "Метод \"MT4::Windows::SetTemplateByNumber()\".\nВыбран отрицательный номер шаблона." },
            { "VelmorSetTemplateByNumber()", ZeroHandle("SetTemplateByNumber") } }));
    EXPECT_TRUE(Quiet(200)); // nothing activated
}

// The chart's frame shows the Open dialog; the name is typed into it and confirmed.
TEST_F(TimeframeTest, ATemplateByNameIsTypedIntoTheOpenDialogOfTheChartsFrame)
{
    templateByName(Id(View(1)), "Momentum 2");
    const std::vector<Event> received = Received(Event::Command, 2);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], Command(Frame(1), 35511));
    EXPECT_EQ(received[1].wParam, static_cast<WPARAM>(IDOK));
    EXPECT_EQ(terminal.Chart(View(1)).templateName, "Momentum 2");
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});

    templateByName(Id(View(1)), "");
    templateByName(Id(View(1)), nullptr);
    templateByName(0, "ADX");
    const Box empty = { "VelmorSetTemplateByName()",
        "Метод \"MT4::Windows::SetTemplateByName()\".\nОтсутствует имя шаблона." };
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            empty, empty, { "VelmorSetTemplateByName()", ZeroHandle("SetTemplateByName") } }));
    EXPECT_TRUE(Quiet(200));
}

} // namespace
} // namespace ChartTest
