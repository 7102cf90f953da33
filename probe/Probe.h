#pragma once
// The compatibility probe: runs the library's own start-up searches, step by
// step, against a terminal process and reports what each found or why it
// failed, so that a user sees at once whether a terminal build has the windows
// the library relies on.
#include <windows.h>

#include <string>

namespace Probe {

struct Report {
    std::string text;  // one line per item, Windows-1251
    int missing = 0;   // items the library relies on that were not found
};

// Probes the terminal of `processId` (0: this process).
Report Run(DWORD processId);

}  // namespace Probe
