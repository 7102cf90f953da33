// The ANSI text functions: upper case in code page 1251, substring counts,
// the character sets, numbers in three bases and what is no number, and the
// copy into a caller's buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "Utils/StringS.h"
#include "support/Thrown.h"

namespace StringS = Utils::StringS;

namespace {

using Support::Thrown;

std::string Upper(std::string text)
{
    StringS::UpperA(text);
    return text;
}

TEST(StringSTest, UpperCaseCoversCyrillicOfTheAnsiCodePage)
{
    EXPECT_EQ(Upper("счёт eurusd, ёж и ЯЩИК 1.5"), "СЧЁТ EURUSD, ЁЖ И ЯЩИК 1.5");
    EXPECT_EQ(Upper(StringS::CharSetA(StringS::CyrillicLower)), StringS::CharSetA(StringS::CyrillicUpper));
    EXPECT_EQ(Upper(""), "");
}

TEST(StringSTest, SubstringsAreCountedWithoutOverlap)
{
    EXPECT_EQ(StringS::NumberSubStringsDirectA("EURUSD,USDJPY,GBPUSD", "USD"), 3u);
    EXPECT_EQ(StringS::NumberSubStringsDirectA("aaaa", "aa"), 2u);
    EXPECT_EQ(StringS::NumberSubStringsDirectA("aaa", "aa"), 1u);
    EXPECT_EQ(StringS::NumberSubStringsDirectA("EURUSD", "JPY"), 0u);
    EXPECT_EQ(Thrown([] { StringS::NumberSubStringsDirectA("EURUSD", ""); }),
        "В методе \"Utils::StringS::NumberSubStringsDirectA()\" отсутсвует искомая подстрока.");
    EXPECT_EQ(Thrown([] { StringS::NumberSubStringsDirectA("", "USD"); }),
        "\nФункция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе "
        "\"Utils::StringS::NumberSubStringsDirectA()\".\nКоличество всех элементов равно нулю.\nНомер стартового "
        "элемента больше или равен количеству всех элементов.\nКоличество всех элементов: 0\nСтартовый элемент: "
        "0\nКоличество элементов: 4294967295\n");
}

TEST(StringSTest, NumbersInThreeBasesCutToSixteenBits)
{
    EXPECT_EQ(StringS::StringToNumberA(""), 0);
    EXPECT_EQ(StringS::StringToNumberA("0"), 0);
    EXPECT_EQ(StringS::StringToNumberA("00"), 0);
    EXPECT_EQ(StringS::StringToNumberA("0.0"), 0);
    EXPECT_EQ(StringS::StringToNumberA("0.75"), 0);
    EXPECT_EQ(StringS::StringToNumberA("12345678"), 24910);  // 0xBC614E
    EXPECT_EQ(StringS::StringToNumberA("65535"), 65535);
    EXPECT_EQ(StringS::StringToNumberA("70000"), 4464);
    EXPECT_EQ(StringS::StringToNumberA("+7.25"), 7);
    EXPECT_EQ(StringS::StringToNumberA("1.500000"), 1);
    EXPECT_EQ(StringS::StringToNumberA("-5"), 65531);
    EXPECT_EQ(StringS::StringToNumberA("0x1F"), 31);
    EXPECT_EQ(StringS::StringToNumberA("0XfFfF"), 65535);
    EXPECT_EQ(StringS::StringToNumberA("017"), 15);
    EXPECT_EQ(StringS::StringToNumberA("0777777"), 65535);
}

TEST(StringSTest, TextsOfNoBaseAreNoNumber)
{
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
    const std::string longest(259, 'n');
    Utils::StringC::AnsiToCurrentCode(longest, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), longest);
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(Thrown([&] { Utils::StringC::AnsiToCurrentCode(std::string(260, 'n'), buffer, sizeof buffer); }),
        "Ошибка в методе \"Utils::StringC::AnsiToCurrentCode()\".\nСтрока не скопирована.");
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(Thrown([&] { Utils::StringC::AnsiToCurrentCode("", nullptr, 260); }),
        "Ошибка в методе \"Utils::StringC::AnsiToCurrentCode()\".\nСтрока не скопирована.");
}

}  // namespace
