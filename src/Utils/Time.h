#pragma once
// Dates and times shown by the terminal as text: the date-time parser, and
// the conversion of system times into the time type of an instance.
#include <windows.h>

#include <cstdint>
#include <string>

#include "Utils/Base.h"
#include "Utils/Sync.h"

namespace Utils {

// One parse of a date-time text. The text is read in one of six layouts:
//   year-first date            yyyy.m.d, yyyy.m, yyyy
//   year-first date and time   yyyy.m.d h, … h:mi, … h:mi:s, … h:mi:s.f
//   time only                  h:mi, h:mi:s, h:mi:s.f; without a colon a
//                              number of seconds: s (up to three digits) or
//                              s.f (up to two digits, then the fraction)
//   day-first date             d.m.yyyy, m.yyyy
//   day-first date and time    d.m.yyyy h … d.m.yyyy h:mi:s.f
//   time then day-first date   h d.m.yyyy, h:mi d.m.yyyy, h:mi:s d.m.yyyy
// The date separator is ".", "/", "\" or "-"; the fraction separator "." or
// ","; fields have one or two digits (years four, fractions up to three, read
// as milliseconds unscaled: "5" is 5 ms). Fields the text lacks keep the
// start value 1601-01-01 00:00:00.000.
class DateTime {
public:
    enum class Layout { None, YearDate, YearDateTime, TimeOnly, DayDate, DayDateTime, TimeDayDate };

    // Parses `text`; every failure throws a composed text that names the
    // time type `typeName`.
    DateTime(const std::string& text, const std::string& typeName);

    const SYSTEMTIME& Record() const { return m_record; }
    Layout Class() const { return m_layout; }
    bool TimeOnly() const { return m_layout == Layout::TimeOnly; }

private:
    static constexpr size_t None = std::string::npos;

    struct Field {
        size_t start = 0;
        size_t length = None;  // None: the text lacks the field
    };
    enum FieldId { Year, Month, Day, Hour, Minute, Second, Fraction, FieldCount };

    void DateTimeSeparator();
    void FindSeparators();
    Layout Classify() const;
    bool TimeRules(size_t from, size_t to, size_t shortestHour, bool fraction) const;
    void YearFirstDate(size_t to);
    void TimeFields(size_t from, size_t to);
    void StartAndLengthForInverseDate(size_t from, size_t to);
    void StartAndLengthForInverseTime(size_t from, size_t to);
    void CheckDigits() const;
    void ReadFields();
    void Set(FieldId id, size_t from, size_t to);
    [[noreturn]] void Fail(const std::string& method, const std::string& detail) const;

    std::string m_text;
    std::string m_typeName;
    Layout m_layout = Layout::None;
    char m_dateSeparator = 0;
    size_t m_d1 = None, m_d2 = None, m_space = None, m_c1 = None, m_c2 = None, m_fraction = None;
    Field m_field[FieldCount];
    SYSTEMTIME m_record = { 1601, 1, 0, 1, 0, 0, 0, 0 };
};

// The time types an instance of Utils::Time delivers.
enum TimeType { TYPE_UNIX_TIME32_SECOND = 0 };

template <int N>
struct TimeTraits;

// Unsigned 32-bit seconds since 1970-01-01 00:00:00 (for a time-only text,
// seconds since midnight).
template <>
struct TimeTraits<TYPE_UNIX_TIME32_SECOND> {
    using Value = uint32_t;
    static constexpr const char* Name = "TYPE_UNIX_TIME32_SECOND";
    static Value FromFileTime(uint64_t fileTime, bool timeOnly)
    {
        const uint64_t seconds = fileTime / 10000000;
        return static_cast<Value>(timeOnly ? seconds : seconds - 11644473600ULL);
    }
};

// A process-wide singleton per time type (taken through Utils::Pointer). It
// keeps the layout of its last parse, for FileTimeToTime.
template <int N>
class Time : public virtual Base {
public:
    using Value = typename TimeTraits<N>::Value;

    static std::string TypeName() { return TimeTraits<N>::Name; }

    // The date-time record of a text; throws the parser's texts.
    SYSTEMTIME StringToSystemTime(const std::string& text)
    {
        const DateTime parsed(text, TypeName());
        Sync::Lock<Sync::CriticalSection> lock(m_lock);
        m_lastTimeOnly = parsed.TimeOnly();
        return parsed.Record();
    }

    // A file time in this instance's type; after a time-only parse, the time
    // of day alone.
    Value FileTimeToTime(const FILETIME& fileTime)
    {
        bool timeOnly;
        {
            Sync::Lock<Sync::CriticalSection> lock(m_lock);
            timeOnly = m_lastTimeOnly;
        }
        return Convert(fileTime, timeOnly);
    }

    // Text to time in one step: 0 when the record is no valid system time.
    Value TextToTime(const std::string& text)
    {
        const DateTime parsed(text, TypeName());
        {
            Sync::Lock<Sync::CriticalSection> lock(m_lock);
            m_lastTimeOnly = parsed.TimeOnly();
        }
        FILETIME fileTime;
        if (!SystemTimeToFileTime(&parsed.Record(), &fileTime))
            return 0;
        return Convert(fileTime, parsed.TimeOnly());
    }

private:
    static Value Convert(const FILETIME& fileTime, bool timeOnly)
    {
        try {
            const uint64_t value = (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
            return TimeTraits<N>::FromFileTime(value, timeOnly);
        } catch (const char* text) {
            throw Translated(text);
        } catch (const std::string& text) {
            throw Translated(text);
        }
    }

    static std::string Translated(const std::string& text)
    {
        return "Транслированная ошибка в методе \"Utils::Time<" + TypeName()
            + ">::FileTimeToTime()\". Несоответствие формата и типа времени.\n\n" + text;
    }

    Sync::CriticalSection m_lock;
    bool m_lastTimeOnly = false;
};

}  // namespace Utils
