#include "Utils/Time.h"

#include <algorithm>

#include "Utils/Errors.h"
#include "Utils/StringS.h"

namespace Utils {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A field between two positions has one or two characters.
bool OneOrTwo(size_t length) { return length == 1 || length == 2; }

}  // namespace

DateTime::DateTime(const std::string& text, const std::string& typeName)
    : m_text(StringS::StripA(text)), m_typeName(typeName)
{
    DateTimeSeparator();
    ReadFields();
}

void DateTime::Fail(const std::string& method, const std::string& detail) const
{
    throw Error::Method("Utils::Time<" + m_typeName + ">::" + method, detail);
}

void DateTime::DateTimeSeparator()
{
    if (std::none_of(m_text.begin(), m_text.end(), IsDigit))
        Fail("DateTimeSeparator", "Отсутствуют цифровые символы в строке:\n\"" + m_text + "\"");
    FindSeparators();
    m_layout = Classify();
    const size_t length = m_text.size();
    switch (m_layout) {
    case Layout::YearDate:
        YearFirstDate(length);
        break;
    case Layout::YearDateTime:
        YearFirstDate(m_space);
        TimeFields(m_space + 1, length);
        break;
    case Layout::TimeOnly:
        if (m_c1 != None)
            TimeFields(0, length);
        else if (m_fraction == None)
            Set(Second, 0, length);
        else {
            Set(Second, 0, m_fraction);
            Set(Fraction, m_fraction + 1, length);
        }
        break;
    case Layout::DayDate:
        StartAndLengthForInverseDate(0, length);
        break;
    case Layout::DayDateTime:
        StartAndLengthForInverseDate(0, m_space);
        TimeFields(m_space + 1, length);
        break;
    case Layout::TimeDayDate:
        StartAndLengthForInverseTime(0, m_space);
        StartAndLengthForInverseDate(m_space + 1, length);
        break;
    case Layout::None:
        Fail("DateTimeSeparator",
            "Непредусмотренная комбинация символов в строке даты-времени.\nНеверно расположены разделители даты и "
            "времени или неправильное количество цифр в полях даты и времени.\nСтрока даты-времени записана "
            "неправильно:\n\""
                + m_text + "\"");
    }
    CheckDigits();
}

// The date separator is the first of ".", "/", "\", "-" found in the text,
// except a last point that reads as the fraction of a time: at most three
// characters after it and a colon before it (after the space, if any), or no
// colon at all and exactly three characters after it.
void DateTime::FindSeparators()
{
    const std::string& text = m_text;
    const size_t length = text.size();
    m_space = text.find(' ');
    m_c1 = text.find(':');
    m_c2 = m_c1 == None ? None : text.find(':', m_c1 + 1);
    for (char separator : { '.', '/', '\\', '-' }) {
        const size_t at = text.find(separator);
        if (at == None)
            continue;
        if (separator == '.' && text.find_first_of("./\\-", at + 1) == None) {
            const size_t after = length - at - 1;
            const size_t from = m_space == None || m_space > at ? 0 : m_space + 1;
            const bool colonBefore = text.substr(from, at - from).find(':') != None;
            if ((after <= 3 && colonBefore) || (m_c1 == None && after == 3))
                continue;
        }
        m_dateSeparator = separator;
        m_d1 = at;
        m_d2 = text.find(separator, at + 1);
        break;
    }
    m_fraction = text.find_first_of(",.", m_c2 == None ? 0 : m_c2 + 1);
    if (m_dateSeparator == '.' && m_fraction != None && (m_fraction == m_d1 || m_fraction == m_d2))
        m_fraction = None;
}

// The time part [from, to): hour, minute and second of one or two digits (an
// hour of `shortestHour` digits at least), the fraction of up to three digits
// after the seconds, where allowed, ending the text.
bool DateTime::TimeRules(size_t from, size_t to, size_t shortestHour, bool fraction) const
{
    const size_t c1 = m_c1 != None && m_c1 >= from && m_c1 < to ? m_c1 : None;
    const size_t c2 = m_c2 != None && m_c2 < to ? m_c2 : None;
    const size_t fr = m_fraction != None && m_fraction >= from && m_fraction < to ? m_fraction : None;
    if (c1 == None)
        return OneOrTwo(to - from) && fr == None;
    if (c1 - from < shortestHour || c1 - from > 2)
        return false;
    if (c2 == None)
        return OneOrTwo(to - c1 - 1) && fr == None;
    if (!OneOrTwo(c2 - c1 - 1))
        return false;
    if (fr == None)
        return OneOrTwo(to - c2 - 1);
    return fraction && to == m_text.size() && fr > c2 && OneOrTwo(fr - c2 - 1) && to - fr - 1 <= 3;
}

DateTime::Layout DateTime::Classify() const
{
    const size_t length = m_text.size();
    const bool dateOnly = m_space == None && m_c1 == None && m_fraction == None;
    const bool yearFirst = m_d1 == 4 && (m_d2 == 6 || m_d2 == 7);
    const bool dayFirst = m_d1 != None && m_d2 != None && (m_d2 - m_d1 == 2 || m_d2 - m_d1 == 3);

    if (dateOnly
        && ((yearFirst && length - m_d2 - 1 <= 2) || (m_d1 == 4 && m_d2 == None && length >= 5 && length <= 7)
            || (length == 4 && m_dateSeparator == 0)))
        return Layout::YearDate;
    if (yearFirst && m_space != None && m_space > m_d2 && OneOrTwo(m_space - m_d2 - 1)
        && TimeRules(m_space + 1, length, 1, true))
        return Layout::YearDateTime;
    if (m_dateSeparator == 0 && m_space == None) {
        if (m_c1 != None && TimeRules(0, length, 0, true))
            return Layout::TimeOnly;
        if (m_c1 == None && m_fraction == None && length >= 1 && length <= 3)
            return Layout::TimeOnly;
        if (m_c1 == None && m_fraction != None && m_fraction <= 2 && length - m_fraction - 1 <= 3)
            return Layout::TimeOnly;
    }
    if (dateOnly && m_d1 != None && m_d1 <= 2
        && ((dayFirst && length - m_d2 - 1 == 4) || (m_d2 == None && length - m_d1 - 1 == 4)))
        return Layout::DayDate;
    if ((m_d1 == 1 || m_d1 == 2) && dayFirst && m_space != None && m_space == m_d2 + 5
        && TimeRules(m_space + 1, length, 1, true))
        return Layout::DayDateTime;
    if (m_fraction == None && m_space != None && m_d1 != None && m_d1 > m_space && OneOrTwo(m_d1 - m_space - 1)
        && dayFirst && length - m_d2 - 1 == 4 && (m_c1 == None || m_c1 < m_space)
        && (m_c2 == None || m_c2 < m_space) && TimeRules(0, m_space, 1, false))
        return Layout::TimeDayDate;
    return Layout::None;
}

void DateTime::Set(FieldId id, size_t from, size_t to)
{
    m_field[id].start = from;
    m_field[id].length = to - from;
}

void DateTime::YearFirstDate(size_t to)
{
    Set(Year, 0, 4);
    if (m_d1 == None)
        return;
    Set(Month, m_d1 + 1, m_d2 == None ? to : m_d2);
    if (m_d2 != None)
        Set(Day, m_d2 + 1, to);
}

void DateTime::TimeFields(size_t from, size_t to)
{
    if (m_c1 == None || m_c1 >= to) {
        Set(Hour, from, to);
        return;
    }
    Set(Hour, from, m_c1);
    if (m_c2 == None || m_c2 >= to) {
        Set(Minute, m_c1 + 1, to);
        return;
    }
    Set(Minute, m_c1 + 1, m_c2);
    if (m_fraction == None || m_fraction >= to) {
        Set(Second, m_c2 + 1, to);
        return;
    }
    Set(Second, m_c2 + 1, m_fraction);
    Set(Fraction, m_fraction + 1, to);
}

// d.m.yyyy or m.yyyy in [from, to).
void DateTime::StartAndLengthForInverseDate(size_t from, size_t to)
{
    const bool fits = m_d1 != None && m_d1 >= from && m_d1 - from <= 2 && to >= 4
        && (m_d2 == None ? to - m_d1 - 1 == 4 : m_d2 < to && to - m_d2 - 1 == 4);
    if (!fits)
        Fail("StartAndLengthForInverseDate",
            "Не удалось расчитать стартовые позиции и длины полей для строки даты формата \"dd.mm.yyyy\".");
    if (m_d2 == None) {
        Set(Month, from, m_d1);
        Set(Year, m_d1 + 1, to);
        return;
    }
    Set(Day, from, m_d1);
    Set(Month, m_d1 + 1, m_d2);
    Set(Year, m_d2 + 1, to);
}

// h, h:mi or h:mi:s in [from, to), before the date.
void DateTime::StartAndLengthForInverseTime(size_t from, size_t to)
{
    if (!TimeRules(from, to, 1, false))
        Fail("StartAndLengthForInverseTime",
            "Не удалось расчитать стартовые позиции и длины полей для строки даты формата \"ss:mi:hh\".");
    TimeFields(from, to);
}

// Every character of every field is a decimal digit; the position reported
// counts from 1.
void DateTime::CheckDigits() const
{
    size_t bad = None;
    for (const Field& field : m_field) {
        if (field.length == None)
            continue;
        for (size_t at = field.start; at < field.start + field.length; ++at)
            if (!IsDigit(m_text[at]))
                bad = std::min(bad, at);
    }
    if (bad != None)
        Fail("DateTimeSeparator",
            "Нецифровой символ №" + std::to_string(bad + 1) + " в строке:\n\"" + m_text + "\"");
}

// Each field without its leading zeros, read as a decimal number; an empty
// rest is 0, a field the text lacks keeps its start value.
void DateTime::ReadFields()
{
    WORD* const target[FieldCount] = { &m_record.wYear, &m_record.wMonth, &m_record.wDay, &m_record.wHour,
        &m_record.wMinute, &m_record.wSecond, &m_record.wMilliseconds };
    for (int id = 0; id < FieldCount; ++id) {
        const Field& field = m_field[id];
        if (field.length == None || field.length == 0)
            continue;
        std::string digits = m_text.substr(field.start, field.length);
        digits.erase(0, digits.find_first_not_of('0'));
        *target[id] = digits.empty() ? 0 : StringS::StringToNumberA(digits);
    }
}

}  // namespace Utils
