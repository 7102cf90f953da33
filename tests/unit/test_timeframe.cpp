// The timeframe table and its two lookups.
#include <gtest/gtest.h>

#include "MT4/TimeFrame.h"

namespace {

std::string Thrown(void (*call)())
{
    try {
        call();
    } catch (const std::string& text) {
        return text;
    }
    return "no throw";
}

TEST(TimeFrameTest, RowsByIndexAndTheirCommandsOutOfIndexOrder)
{
    std::vector<DWORD> minutes;
    std::vector<WORD> commands;
    for (WORD index = 0; index < MT4::TimeFrame::Count; ++index) {
        minutes.push_back(MT4::TimeFrame::Period9(index));
        commands.push_back(MT4::TimeFrame::Rows[index].command);
    }
    EXPECT_EQ(minutes, (std::vector<DWORD> { 1, 5, 15, 30, 60, 240, 1440, 10080, 43200 }));
    EXPECT_EQ(
        commands, (std::vector<WORD> { 33137, 33138, 33139, 33140, 33135, 33136, 33134, 33141, 33334 }));
    EXPECT_EQ(Thrown([] { MT4::TimeFrame::Period9(9); }),
        "Ошибка в методе \"MT4::TimeFrame::Period9()\".\nВведён неверный номер ТФ: 9\n");
    EXPECT_EQ(Thrown([] { MT4::TimeFrame::Period9(0xFFFF); }),
        "Ошибка в методе \"MT4::TimeFrame::Period9()\".\nВведён неверный номер ТФ: 65535\n");
}

// Names are looked for anywhere in the text, the longer M15 and M30 before M1.
TEST(TimeFrameTest, ByNameTheFirstNameOfTheSearchOrderThatOccursWins)
{
    const std::pair<const char*, DWORD> cases[]
        = { { "M1", 1 }, { "EURUSD,M15", 15 }, { "M30", 30 }, { "GBPUSD,H4", 240 }, { "MN1", 43200 },
              { "W1 and M5", 5 }, { "H1M15", 15 }, { "D1", 1440 }, { "xW1x", 10080 } };
    for (const auto& [text, minutes] : cases)
        EXPECT_EQ(MT4::TimeFrame::PeriodByName9(text), minutes) << text;
    EXPECT_EQ(Thrown([] { MT4::TimeFrame::PeriodByName9("m15"); }),
        "\nОшибка в методе \"MT4::TimeFrame::PeriodByName9()\".\nВведёно неверное имя ТФ: m15\n");
    EXPECT_EQ(Thrown([] { MT4::TimeFrame::PeriodByName9(""); }),
        "\nОшибка в методе \"MT4::TimeFrame::PeriodByName9()\".\nВведёно неверное имя ТФ: \n");
}

} // namespace
