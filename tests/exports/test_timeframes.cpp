// A chart's timeframe and template.
#include "ChartFixture.h"

using namespace ChartTest;

using TimeframeTest = Fixture;

TEST_F(TimeframeTest, EachTimeframeIsPostedAsTheTerminalsOwnCommandAndAnUnknownOneIsRefused)
{
    const std::vector<WPARAM> nine = { 33137, 33138, 33139, 33140, 33135, 33136, 33134, 33141, 33334 };
    auto number = [&](int32_t index) { Call<void>("VelmorSetTimeframeByNumber", Id(View(0)), index); };
    auto period = [&](int32_t minutes) { Call<void>("VelmorSetTimeframeByPeriod", Id(View(0)), minutes); };
    auto name = [&](const char* name) { Call<void>("VelmorSetTimeframeByName", Id(View(0)), name); };
    for (int32_t index = 0; index < 9; ++index) number(index);
    EXPECT_EQ(Commands(9, View(0)), nine);
    EXPECT_EQ(Title(0), "EURUSD,MN");
    for (int32_t minutes : { 1, 5, 15, 30, 60, 240, 1440, 10080, 43200 }) period(minutes);
    EXPECT_EQ(Commands(9, View(0)), nine);
    for (const char* text : { "M1", "M5", "M15", "M30", "H1", "H4", "D1", "W1", "MN1" }) name(text);
    EXPECT_EQ(Commands(9, View(0)), nine);
    EXPECT_EQ(terminal.Chart(View(0)).period, 43200);
    EXPECT_TRUE(boxes.Take().empty());

    number(9), number(-1), period(120), period(-60);
    for (const char* text : { "h4", "H4 ", "EURUSD,H4", static_cast<const char*>(nullptr) }) name(text);
    const Box byNumber = Refusal("VelmorSetTimeframeByNumber", "Неверно выбран номер периода графика."),
              byPeriod = Refusal("VelmorSetTimeframeByPeriod", "Неверно выбран периода графика."),
              byName = Refusal("VelmorSetTimeframeByName", "Неверно выбрано имя периода графика.");
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { byNumber, byNumber, byPeriod, byPeriod, byName, byName, byName, byName }));
    EXPECT_TRUE(Quiet(200));
}

// A template by number goes to the main window once the chart is active; one by name into its frame's Open dialog.
TEST_F(TimeframeTest, ATemplateGoesToTheActivatedChartOrIntoItsFramesOpenDialog)
{
    EXPECT_NE(Call("VelmorSetTemplateByNumber", Id(View(0)), 1), 0);
    ExpectActivatedThen(0, 34801);
    EXPECT_EQ(terminal.Chart(View(0)).templateName, "Bollinger Band");
    EXPECT_NE(Call("VelmorSetTemplateByNumber", Id(View(1)), 63), 0);
    EXPECT_EQ(Received(1, Event::Command), (std::vector<Event> { Command(Main(), 34863) }));

    Call<void>("VelmorSetTemplateByName", Id(View(1)), "Momentum 2");
    const std::vector<Event> typed = Received(2, Event::Command);
    EXPECT_TRUE(typed.size() == 2 && typed[0] == Command(Frame(1), 35511) && typed[1].wParam == IDOK)
        << ::testing::PrintToString(typed);
    EXPECT_EQ(terminal.Chart(View(1)).templateName, "Momentum 2");
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_EQ(Call("VelmorSetTemplateByNumber", Id(View(2)), 64), 0);
    EXPECT_EQ(Call("VelmorSetTemplateByNumber", Id(View(2)), -1), 0);
    for (const char* name : { "", static_cast<const char*>(nullptr) }) Call<void>("VelmorSetTemplateByName", Id(View(1)), name);
    const Box empty = Refusal("VelmorSetTemplateByName", "Отсутствует имя шаблона.");
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { Refusal("VelmorSetTemplateByNumber", "Выбран номер шаблона более 63."),
                                Refusal("VelmorSetTemplateByNumber", "Выбран отрицательный номер шаблона."), empty, empty }));
    EXPECT_TRUE(Quiet(200)); // nothing activated, typed or posted
}
