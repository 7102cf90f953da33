// The ANSI text functions: upper case in code page 1251, substring counts,
// numbers in three bases and what is no number, and the copy into a caller's
// buffer.
#include <gtest/gtest.h>

#include <cstring>

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
        "\nФункция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе "
        "\"Utils::StringS::NumberSubStringsDirectA()\".\nКоличество всех элементов равно нулю.\nНомер стартового "
        "элемента больше или равен количеству всех элементов.\nКоличество всех элементов: 0\nСтартовый элемент: "
        "0\nКоличество элементов: 4294967295\n");
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

TEST(StringCTest, CopiesOnlyWhatFitsWithItsZero)
{
    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    Utils::StringC::AnsiToCurrentCode(std::string(259, 'n'), buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), std::string(259, 'n'));
    std::memset(buffer, 'x', sizeof buffer);
    const std::string refused = "Ошибка в методе \"Utils::StringC::AnsiToCurrentCode()\".\nСтрока не скопирована.";
    EXPECT_EQ(Thrown([&] { Utils::StringC::AnsiToCurrentCode(std::string(260, 'n'), buffer, sizeof buffer); }), refused);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(Thrown([&] { Utils::StringC::AnsiToCurrentCode("", nullptr, 260); }), refused);
}

}  // namespace
