#include "MT4/TimeFrame.h"

namespace MT4 {

const TimeFrame::Row TimeFrame::Rows[TimeFrame::Count] = {
    { 0, 1, "M1", 33137 },
    { 1, 5, "M5", 33138 },
    { 2, 15, "M15", 33139 },
    { 3, 30, "M30", 33140 },
    { 4, 60, "H1", 33135 },
    { 5, 240, "H4", 33136 },
    { 6, 1440, "D1", 33134 },
    { 7, 10080, "W1", 33141 },
    { 8, 43200, "MN1", 33334 },
};

DWORD TimeFrame::Period9(WORD index)
{
    if (index >= Count)
        throw "Ошибка в методе \"MT4::TimeFrame::Period9()\".\nВведён неверный номер ТФ: "
            + std::to_string(index) + "\n";
    return Rows[index].minutes;
}

DWORD TimeFrame::PeriodByName9(const std::string& text)
{
    // A longer name before the name it begins with.
    static const int Order[Count] = { 2, 0, 1, 3, 4, 5, 6, 7, 8 };
    for (int row : Order)
        if (text.find(Rows[row].name) != std::string::npos)
            return Rows[row].minutes;
    throw "\nОшибка в методе \"MT4::TimeFrame::PeriodByName9()\".\nВведёно неверное имя ТФ: " + text + "\n";
}

const TimeFrame::Row* TimeFrame::ByMinutes(DWORD minutes)
{
    for (const Row& row : Rows)
        if (row.minutes == minutes)
            return &row;
    return nullptr;
}

const TimeFrame::Row* TimeFrame::ByName(const std::string& name)
{
    for (const Row& row : Rows)
        if (name == row.name)
            return &row;
    return nullptr;
}

} // namespace MT4
