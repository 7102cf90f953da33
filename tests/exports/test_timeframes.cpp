// A chart's timeframe and template against the stand-in terminal.
#include "ChartFixture.h"

namespace ChartTest {
namespace {

using TimeframeTest = Fixture;

TEST_F(TimeframeTest, EachTimeframeIsPostedAsTheTerminalsOwnCommandAndAnUnknownOneIsRefused)
{
    const std::vector<WPARAM> nine = { 33137, 33138, 33139, 33140, 33135, 33136, 33134, 33141, 33334 };
    for (int32_t index = 0; index < 9; ++index)
        Call<void>("VelmorSetTimeframeByNumber", Id(View(0)), index);
    EXPECT_EQ(Commands(9, View(0)), nine);
    EXPECT_EQ(Title(0), "EURUSD,MN");
    for (int32_t minutes : { 1, 5, 15, 30, 60, 240, 1440, 10080, 43200 })
        Call<void>("VelmorSetTimeframeByPeriod", Id(View(0)), minutes);
    EXPECT_EQ(Commands(9, View(0)), nine);
    for (const char* name : { "M1", "M5", "M15", "M30", "H1", "H4", "D1", "W1", "MN1" })
        Call<void>("VelmorSetTimeframeByName", Id(View(0)), name);
    EXPECT_EQ(Commands(9, View(0)), nine);
    EXPECT_EQ(terminal.Chart(View(0)).period, 43200);
    EXPECT_TRUE(boxes.Take().empty());

    for (int32_t index : { 9, -1 })
        Call<void>("VelmorSetTimeframeByNumber", Id(View(0)), index);
    for (int32_t minutes : { 120, -60 })
        Call<void>("VelmorSetTimeframeByPeriod", Id(View(0)), minutes);
    for (const char* name : { "h4", "H4 ", "EURUSD,H4", static_cast<const char*>(nullptr) })
        Call<void>("VelmorSetTimeframeByName", Id(View(0)), name);
    const Box number = Refusal("VelmorSetTimeframeByNumber", "SetTimeframeByNumber", "Неверно выбран номер периода графика."),
              period = Refusal("VelmorSetTimeframeByPeriod", "SetTimeframeByPeriod", "Неверно выбран периода графика."),
              name = Refusal("VelmorSetTimeframeByName", "SetTimeframeByName", "Неверно выбрано имя периода графика.");
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { number, number, period, period, name, name, name, name }));
    EXPECT_TRUE(Quiet(200));
}

// A template by number goes to the main window (it acts on the active chart)
// once the chart is active; one by name is typed into the Open dialog of the
// chart's frame and confirmed.
TEST_F(TimeframeTest, ATemplateGoesToTheActivatedChartOrIntoItsFramesOpenDialog)
{
    EXPECT_NE(Call("VelmorSetTemplateByNumber", Id(View(0)), 1), 0);
    const std::vector<Event> received = Received(3);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0], Activated(0, Frame(2)));
    EXPECT_EQ(received[1].kind, Event::Title);
    EXPECT_EQ(received[2], Command(Main(), 34801));
    EXPECT_EQ(terminal.Chart(View(0)).templateName, "Bollinger Band");
    EXPECT_NE(Call("VelmorSetTemplateByNumber", Id(View(1)), 63), 0);
    EXPECT_EQ(Received(Event::Command, 1), (std::vector<Event> { Command(Main(), 34863) }));

    Call<void>("VelmorSetTemplateByName", Id(View(1)), "Momentum 2");
    const std::vector<Event> typed = Received(Event::Command, 2);
    ASSERT_EQ(typed.size(), 2u);
    EXPECT_EQ(typed[0], Command(Frame(1), 35511));
    EXPECT_EQ(typed[1].wParam, static_cast<WPARAM>(IDOK));
    EXPECT_EQ(terminal.Chart(View(1)).templateName, "Momentum 2");
    EXPECT_TRUE(boxes.Take().empty());

    EXPECT_EQ(Call("VelmorSetTemplateByNumber", Id(View(2)), 64), 0);
    EXPECT_EQ(Call("VelmorSetTemplateByNumber", Id(View(2)), -1), 0);
    for (const char* name : { "", static_cast<const char*>(nullptr) })
        Call<void>("VelmorSetTemplateByName", Id(View(1)), name);
    const Box empty = Refusal("VelmorSetTemplateByName", "SetTemplateByName", "Отсутствует имя шаблона.");
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { Refusal("VelmorSetTemplateByNumber", "SetTemplateByNumber", "Выбран номер шаблона более 63."),
            Refusal("VelmorSetTemplateByNumber", "SetTemplateByNumber", "Выбран отрицательный номер шаблона."), empty,
            empty }));
    EXPECT_TRUE(Quiet(200)); // nothing activated, typed or posted
}

} // namespace
} // namespace ChartTest
