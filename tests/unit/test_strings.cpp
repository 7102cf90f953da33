// Texts: upper case in code page 1251, substrings, numbers in three bases, the per-thread result, timeframes.
#include <gtest/gtest.h>
#include "Common.h"
#include <cstring>
#include <thread>
#include "MT4/SyncText.h"
#include "MT4/TimeFrame.h"
#include "Utils/StringS.h"
#include "support/Thrown.h"

namespace StringS = Utils::StringS;

namespace {

using Support::Thrown;

TEST(StringSTest, UpperCaseCoversCyrillicAndSubstringsAreCountedWithoutOverlap)
{
    const auto upper = [](std::string text) {
        StringS::UpperA(text);
        return text;
    };
    EXPECT_EQ(upper("счёт eurusd, ёж и ЯЩИК 1.5"), "СЧЁТ EURUSD, ЁЖ И ЯЩИК 1.5");
    EXPECT_EQ(upper(""), "");
    EXPECT_EQ(upper(StringS::CharSetA(StringS::CyrillicLower)), StringS::CharSetA(StringS::CyrillicUpper));
    for (const auto& [text, part, count] : { std::tuple { "EURUSD,USDJPY,GBPUSD", "USD", 3u }, { "aaaa", "aa", 2u },
             { "aaa", "aa", 1u }, { "EURUSD", "JPY", 0u } })
        EXPECT_EQ(StringS::NumberSubStringsDirectA(text, part), count) << text;
    EXPECT_EQ(Thrown([] { StringS::NumberSubStringsDirectA("EURUSD", ""); }),
        "В методе \"Utils::StringS::NumberSubStringsDirectA()\" отсутсвует искомая подстрока.");
    EXPECT_EQ(Thrown([] { StringS::NumberSubStringsDirectA("", "USD"); }),
        Rejection("Utils::StringS::NumberSubStringsDirectA", 0, 0, 0xFFFFFFFF));
}

TEST(StringSTest, NumbersInThreeBasesCutToSixteenBitsAndTextsOfNoBaseAreNoNumber)
{
    for (const auto& [text, number] : { std::pair<const char*, int> { "", 0 }, { "0", 0 }, { "00", 0 },
             { "0.0", 0 }, { "0.75", 0 }, { "12345678", 24910 } /* 0xBC614E */, { "65535", 65535 },
             { "70000", 4464 }, { "+7.25", 7 }, { "1.500000", 1 }, { "-5", 65531 }, { "0x1F", 31 },
             { "0XfFfF", 65535 }, { "017", 15 }, { "0777777", 65535 } })
        EXPECT_EQ(StringS::StringToNumberA(text), number) << text;
    for (const char* text : { "08", "09.5", "0x", "0x1G", "1.2.3", "12a", "--5", "-", ".", "+", "1 2", "-017",
             " 5", "0b101", "1e3" })
        EXPECT_EQ(Thrown([&] { StringS::StringToNumberA(text); }),
            "Метод \"Utils::StringS::StringToNumberA()\".\nСтрока не является числом.")
            << text;
}

TEST(SyncTextTest, TextIsCutAtItsFirstZeroFollowedByTwoZerosAndKeptPerThread)
{
    Utils::Pointer<MT4::SyncText> text;
    EXPECT_EQ(std::memcmp(text->Set(""), "\0\0", 2), 0);
    const char* mine = text->Set(std::string("EURUSD\0tail", 11));
    EXPECT_EQ(std::memcmp(mine, "EURUSD\0\0", 8), 0);
    const char* other = nullptr;
    std::thread([&] { other = Utils::Pointer<MT4::SyncText>()->Set("from another thread, a longer text"); }).join();
    EXPECT_STREQ(mine, "EURUSD");
    EXPECT_STREQ(other, "from another thread, a longer text");
}

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
