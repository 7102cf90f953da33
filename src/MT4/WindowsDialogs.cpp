// The terminal's dialogs: waiting for one to show and for one to go.
#include <windows.h>

#include "MT4/Windows.h"

namespace MT4 {

HWND Windows::WaitForDialog(
    Utils::Windows::Match titleMatch, const std::string& title, const char* timeout) const
{
    HWND dialog = nullptr;
    const bool shown = Utils::Wait::Until(
        [&] {
            dialog = Utils::Windows::FindFirst(
                nullptr, m_processId, Utils::Windows::Match::Prefix, "#32770", titleMatch, title);
            return dialog != nullptr;
        },
        50, Utils::Wait::DialogBound);
    if (!shown)
        throw timeout;
    return dialog;
}

void Windows::WaitUntilGone(HWND window, const char* timeout)
{
    if (!Utils::Wait::Until([&] { return !IsWindow(window); }, 5, Utils::Wait::DialogBound))
        throw timeout;
}

} // namespace MT4
