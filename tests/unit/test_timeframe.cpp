// The timeframe table and its two lookups.
#include <gtest/gtest.h>

#include "MT4/TimeFrame.h"
#include "support/Thrown.h"

namespace {

using Support::Thrown;

TEST(TimeFrameTest, RowsByIndexAndByTheFirstNameOfTheSearchOrderThatOccurs)
{
    std::vector<std::pair<DWORD, WORD>> rows;
    for (WORD index = 0; index < MT4::TimeFrame::Count; ++index)
        rows.emplace_back(MT4::TimeFrame::Period9(index), MT4::TimeFrame::Rows[index].command);
    EXPECT_EQ(rows, (std::vector<std::pair<DWORD, WORD>> { { 1, 33137 }, { 5, 33138 }, { 15, 33139 }, { 30, 33140 },
                        { 60, 33135 }, { 240, 33136 }, { 1440, 33134 }, { 10080, 33141 }, { 43200, 33334 } }));
    for (WORD index : { 9, 0xFFFF })
        EXPECT_EQ(Thrown([=] { MT4::TimeFrame::Period9(index); }),
            "Ошибка в методе \"MT4::TimeFrame::Period9()\".\nВведён неверный номер ТФ: " + std::to_string(index) + "\n");
    // Names anywhere in the text, the longer M15 and M30 before M1.
    for (const auto& [text, minutes] : { std::pair<const char*, DWORD> { "M1", 1 }, { "EURUSD,M15", 15 },
             { "M30", 30 }, { "GBPUSD,H4", 240 }, { "MN1", 43200 }, { "W1 and M5", 5 }, { "H1M15", 15 },
             { "D1", 1440 }, { "xW1x", 10080 } })
        EXPECT_EQ(MT4::TimeFrame::PeriodByName9(text), minutes) << text;
    for (const char* name : { "m15", "" })
        EXPECT_EQ(Thrown([=] { MT4::TimeFrame::PeriodByName9(name); }),
            std::string("\nОшибка в методе \"MT4::TimeFrame::PeriodByName9()\".\nВведёно неверное имя ТФ: ") + name
                + "\n");
}

}  // namespace
