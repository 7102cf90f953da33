// The date-time parser: each layout, every refusal with its text, and Unix seconds by the system's calendar.
#include <gtest/gtest.h>
#include <windows.h>
#include "Utils/Base.h"
#include "Utils/Time.h"
#include "support/Thrown.h"

namespace {

using Clock = Utils::Time<Utils::TYPE_UNIX_TIME32_SECOND>;

struct Case {
    const char* text;
    WORD year, month, day, hour, minute, second, millisecond;
};

std::string Fields(const SYSTEMTIME& time)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u dow%u", time.wYear, time.wMonth, time.wDay,
        time.wHour, time.wMinute, time.wSecond, time.wMilliseconds, time.wDayOfWeek);
    return text;
}

// Year-first, time-only, day-first and time-then-date layouts; the fraction counts milliseconds.
const Case DateTimes[] = {
    { "2012.03.05", 2012, 3, 5, 0, 0, 0, 0 }, { "2012/03/05", 2012, 3, 5, 0, 0, 0, 0 },
    { "2012\\3\\5", 2012, 3, 5, 0, 0, 0, 0 }, { "2012-12-31", 2012, 12, 31, 0, 0, 0, 0 },
    { "2012.3", 2012, 3, 1, 0, 0, 0, 0 }, { "2012", 2012, 1, 1, 0, 0, 0, 0 },
    { "2012.03.05 14:07", 2012, 3, 5, 14, 7, 0, 0 }, { "  2012.03.05 14:07\r\n", 2012, 3, 5, 14, 7, 0, 0 },
    { "\t2012.3.5 4", 2012, 3, 5, 4, 0, 0, 0 }, { "2012.03.05 08:09:07", 2012, 3, 5, 8, 9, 7, 0 },
    { "2012/03/05 14:07:05.123", 2012, 3, 5, 14, 7, 5, 123 }, { "2012.03.05 14:07:05.5", 2012, 3, 5, 14, 7, 5, 5 },
    { "2012.03.05 14:07:05,050", 2012, 3, 5, 14, 7, 5, 50 }, { "2012.03.05 14:07:05.500", 2012, 3, 5, 14, 7, 5, 500 },
    { "2012.03.05 14:07:05.", 2012, 3, 5, 14, 7, 5, 0 }, { "14:07", 1601, 1, 1, 14, 7, 0, 0 },
    { "00:00:00", 1601, 1, 1, 0, 0, 0, 0 }, { "9:05:08.007", 1601, 1, 1, 9, 5, 8, 7 },
    { "23:59:59,999", 1601, 1, 1, 23, 59, 59, 999 }, { "45", 1601, 1, 1, 0, 0, 45, 0 },
    { "12.345", 1601, 1, 1, 0, 0, 12, 345 }, { "7,5", 1601, 1, 1, 0, 0, 7, 5 },
    { "05.03.2012", 2012, 3, 5, 0, 0, 0, 0 }, { "5/3/2012", 2012, 3, 5, 0, 0, 0, 0 },
    { "03.2012", 2012, 3, 1, 0, 0, 0, 0 }, { "05.03.2012 14:07", 2012, 3, 5, 14, 7, 0, 0 },
    { "5-3-2012 14:07:05.250", 2012, 3, 5, 14, 7, 5, 250 }, { "14:07:05 05.03.2012", 2012, 3, 5, 14, 7, 5, 0 },
    { "14:07 05.03.2012", 2012, 3, 5, 14, 7, 0, 0 }, { "8 5.3.2012", 2012, 3, 5, 8, 0, 0, 0 },
};

TEST(DateTimeParserTest, EveryLayoutGivesItsFieldsAndUnixSecondsOrTheTimeOfDay)
{
    Utils::Pointer<Clock> clock;
    for (const Case& c : DateTimes) {
        SCOPED_TRACE(c.text);
        const SYSTEMTIME expected = { c.year, c.month, 0, c.day, c.hour, c.minute, c.second, c.millisecond };
        std::string fields;
        const std::string thrown = Support::Thrown([&] { fields = Fields(clock->StringToSystemTime(c.text)); });
        EXPECT_EQ(thrown == "no error" ? fields : thrown, Fields(expected));
        SYSTEMTIME date = expected;
        date.wMilliseconds = 0;
        if (c.year == 1601)
            date.wYear = 1970;
        ULARGE_INTEGER time;
        SystemTimeToFileTime(&date, reinterpret_cast<FILETIME*>(&time));
        EXPECT_EQ(clock->TextToTime(c.text), (time.QuadPart - 116444736000000000ull) / 10000000);
    }
    EXPECT_EQ(clock->TextToTime("2012.03.05 14:07"), 1330956420u);
    EXPECT_EQ(clock->TextToTime("14:07"), 50820u);
    for (const char* text : { "2012.02.30", "2012.13.01 10:00", "25:00" })  // not in the calendar
        EXPECT_EQ(clock->TextToTime(text), 0u) << text;
    for (const auto& [text, seconds] : { std::pair { "14:07", 50820u }, { "1970.01.01 00:00:01", 1u } }) {
        FILETIME fileTime;  // file times convert after the last parse
        const SYSTEMTIME record = clock->StringToSystemTime(text);
        SystemTimeToFileTime(&record, &fileTime);
        EXPECT_EQ(clock->FileTimeToTime(fileTime), seconds);
    }
}

const std::string Method = "Ошибка в методе \"Utils::Time<TYPE_UNIX_TIME32_SECOND>::DateTimeSeparator()\".\n";

std::string Unforeseen(const std::string& text)
{
    return Method
        + "Непредусмотренная комбинация символов в строке даты-времени.\nНеверно расположены разделители даты и "
          "времени или неправильное количество цифр в полях даты и времени.\nСтрока даты-времени записана "
          "неправильно:\n\""
        + text + "\"";
}

TEST(DateTimeParserTest, RefusalsNameTheirReason)
{
    Utils::Pointer<Clock> clock;
    const auto parse = [&](const char* text) { return Support::Thrown([&] { clock->StringToSystemTime(text); }); };
    EXPECT_EQ(parse("abc"), Method + "Отсутствуют цифровые символы в строке:\n\"abc\"");
    EXPECT_EQ(parse(" \r\n"), Method + "Отсутствуют цифровые символы в строке:\n\"\"");
    EXPECT_EQ(parse("2012.03.05 14:07:5x"), Method + "Нецифровой символ №19 в строке:\n\"2012.03.05 14:07:5x\"");
    EXPECT_EQ(parse(" 2012.0a.05"), Method + "Нецифровой символ №7 в строке:\n\"2012.0a.05\"");
    EXPECT_EQ(parse("1b:cd"), Method + "Нецифровой символ №2 в строке:\n\"1b:cd\"");
    for (const char* text : { "12.3", "12345", "2012.03.05 14:07:05.1234", "2012.03.05 14.07",
             "2012.03.05 14:07:05:01", "2012.03.0.5", "x2012.03.05", "14:07.5", "123:07", "14:07:05.5 05.03.2012",
             "2012.03.05  14:07", "05.03.12", "1.2.3" })
        EXPECT_EQ(parse(text), Unforeseen(text)) << text;
}

}  // namespace
