// Charts that are not open yet: offline charts, opened through the terminal's
// dialog, and the recently deleted charts, reopened by the terminal's command.
// Either way the result is a chart that was not there before the command.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Wait.h"

namespace MT4 {

namespace {

constexpr WPARAM OfflineCommand = 33053;
constexpr uint32_t DeletedCommandFirst = 35000; // + the entry of the deleted charts
constexpr int OfflineListItem = 0x487;

} // namespace

// A row matches when its first column equals "SYMBOL,PERIOD" exactly. No
// matching row is no failure: the dialog is cancelled and the result is null.
HWND Windows::OpenOfflineChart(const std::string& symbol, const std::string& period)
{
    const std::string key = symbol + "," + period;
    const std::vector<HWND> dialogs = Dialogs(Utils::Windows::Match::Exact, Text(Name::OfflineChart));
    if (!PostMessageA(MainTarget(), WM_COMMAND, OfflineCommand, 0))
        throw "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nОкно со списком автономных графиков "
              "открыть не "
              "удалось.";
    HWND dialog = WaitForDialog(Utils::Windows::Match::Exact, Text(Name::OfflineChart), dialogs,
        "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nОкно со списком автономных графиков не "
        "появилось за "
        "отведённое время.");
    Utils::Wait::Pause(100);
    HWND list = GetDlgItem(dialog, OfflineListItem);
    if (!list)
        throw "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nНе получен системный дескриптор списка "
              "автономных графиков.";
    const uint16_t rows = Utils::Controls::ListView::GetItem(list).rows;
    bool found = false;
    for (uint16_t row = 0; row < rows && !found; ++row)
        found = Utils::Controls::ListView::GetText(list, row, 0) == key; // leaves the row selected
    if (!found) {
        Utils::Controls::Button::Click(GetDlgItem(dialog, IDCANCEL));
        return nullptr;
    }
    const std::vector<HWND> charts = Charts();
    Utils::Controls::Button::Click(GetDlgItem(dialog, IDOK));
    WaitUntilGone(dialog,
        "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nОкно со списком автономных графиков не "
        "закрылось за "
        "отведённое время.");
    Utils::Wait::Pause(50);
    Utils::Controls::Send(
        "MT4::Windows::OpenOfflineChart", MainTarget(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_chartArea), 0);
    HWND chart = WaitForNewChart(charts);
    if (!chart)
        throw "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nНе получен системный дескриптор "
              "графика.";
    return chart;
}

// An entry the terminal does not have opens nothing: no chart came within the
// bound, and no existing chart is given for it.
HWND Windows::OpenDeletetChart(int32_t number)
{
    if (number < 0)
        throw "Метод \"MT4::Windows::OpenDeletetChart()\".\nНеверно указан номер удалённого графика.";
    const std::vector<HWND> charts = Charts();
    const uint32_t command = DeletedCommandFirst + static_cast<uint32_t>(number);
    Utils::Controls::Send(
        "MT4::Windows::OpenDeletetChart", MainTarget(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    HWND chart = WaitForNewChart(charts);
    if (!chart)
        throw "Ошибка в методе \"MT4::Windows::OpenDeletetChart()\".\nСистемный дескриптор окна графика не "
              "получен.";
    return chart;
}

} // namespace MT4
