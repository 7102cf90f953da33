// The terminal's dialogs and charts that a command opens: noted before the
// command, the new one waited for; a dialog waited for until it has gone.
#include <windows.h>

#include "MT4/Windows.h"

namespace MT4 {

std::vector<HWND> Windows::Dialogs(Utils::Windows::Match titleMatch, const std::string& title) const
{
    return Utils::Windows::FindAll(nullptr, m_processId, Utils::Windows::Match::Prefix, "#32770", titleMatch, title);
}

HWND Windows::WaitForDialog(Utils::Windows::Match titleMatch, const std::string& title,
    const std::vector<HWND>& before, const char* timeout) const
{
    HWND dialog = nullptr;
    const bool shown = Utils::Wait::Until(
        [&] { return (dialog = Utils::Windows::FirstNew(Dialogs(titleMatch, title), before)) != nullptr; }, 50,
        Utils::Wait::DialogBound);
    if (!shown)
        throw timeout;
    return dialog;
}

HWND Windows::WaitForNewChart(const std::vector<HWND>& before) const
{
    HWND chart = nullptr;
    Utils::Wait::Until([&] { return (chart = Utils::Windows::FirstNew(Charts(), before)) != nullptr; }, 50,
        Utils::Wait::DialogBound);
    return chart;
}

void Windows::WaitUntilGone(HWND window, const char* timeout)
{
    if (!Utils::Wait::Until([&] { return !IsWindow(window); }, 5, Utils::Wait::DialogBound))
        throw timeout;
}

} // namespace MT4
