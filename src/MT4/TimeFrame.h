#pragma once
// The terminal's nine standard timeframes: index, length in minutes, name and
// the command that switches a chart to it. The commands are the terminal's
// own and not in index order.
#include <windows.h>

#include <string>

namespace MT4 {

class TimeFrame {
public:
    struct Row {
        WORD index;
        DWORD minutes;
        const char* name;
        WORD command;
    };
    static constexpr int Count = 9;
    static const Row Rows[Count];

    // The minutes of the row `index`; throws for an index no row has.
    static DWORD Period9(WORD index);
    // The minutes of the first row name that occurs in `text` (M15 is looked
    // for before M1, so "EURUSD,M15" is 15); throws when none occurs.
    static DWORD PeriodByName9(const std::string& text);

    // The row with these minutes, or with exactly this name; null when none.
    static const Row* ByMinutes(DWORD minutes);
    static const Row* ByName(const std::string& name);
};

} // namespace MT4
