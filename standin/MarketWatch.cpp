#include "MarketWatch.h"

#include "StandIn.h"
#include "Ui.h"
#include "Window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace StandIn {

namespace {

constexpr UINT OpenChartCommand = 33160;
constexpr int NewChartPeriod = 60;

std::string Symbol(HWND list, int row)
{
    char text[260] = "";
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Rows may be selected together; the command acts on the one the user (or
// a program) selected last: the focused one.
LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ui)
{
    if (message == WM_COMMAND && LOWORD(wParam) == OpenChartCommand) {
        auto& terminal = *reinterpret_cast<Ui*>(ui);
        terminal.Record(Event::Command, list, message, wParam, lParam);
        const std::vector<UINT>& ignored = terminal.Setup().ignoredCommands;
        if (terminal.Setup().silent || std::find(ignored.begin(), ignored.end(), OpenChartCommand) != ignored.end())
            return 0;
        const int row = static_cast<int>(
            SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED | LVNI_SELECTED));
        if (row >= 0)
            terminal.React([&terminal, symbol = Symbol(list, row)] { terminal.OpenChart({ symbol, NewChartPeriod }); });
        return 0;
    }
    return Next(list, message, wParam, lParam);
}

}  // namespace

void ServeMarketWatch(Ui& ui, HWND list)
{
    Subclass(list, ListProc, reinterpret_cast<DWORD_PTR>(&ui));
}

}  // namespace StandIn
