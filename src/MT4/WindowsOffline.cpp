// Charts that are not open yet: offline charts, opened through the terminal's
// dialog, and the recently deleted charts, reopened by the terminal's command.
// Either way the new chart is the topmost one.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Controls.h"

namespace MT4 {

namespace {

constexpr WPARAM OfflineCommand = 33053;
constexpr uint32_t DeletedCommandFirst = 35000; // + the entry of the deleted charts
constexpr int OfflineListItem = 0x487;

} // namespace

HWND Windows::TopChart() const
{
    return Utils::Windows::FindFirst(
        m_chartArea, m_processId, Utils::Windows::Match::Prefix, "AfxFrameOrView");
}

// A row matches when its first column equals "SYMBOL,PERIOD" exactly. No
// matching row is no failure: the dialog is cancelled and the result is null.
HWND Windows::OpenOfflineChart(const std::string& symbol, const std::string& period)
{
    const std::string key = symbol + "," + period;
    if (!PostMessageA(m_mainWindow, WM_COMMAND, OfflineCommand, 0))
        throw "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nОкно со списком автономных графиков "
              "открыть не "
              "удалось.";
    HWND dialog = WaitForDialog(Utils::Windows::Match::Exact, Text(Name::OfflineChart),
        "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nОкно со списком автономных графиков не "
        "появилось за "
        "отведённое время.");
    Sleep(100);
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
    Utils::Controls::Button::Click(GetDlgItem(dialog, IDOK));
    WaitUntilGone(dialog,
        "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nОкно со списком автономных графиков не "
        "закрылось за "
        "отведённое время.");
    Sleep(50);
    SendMessageA(m_mainWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_chartArea), 0);
    Sleep(50);
    HWND chart = TopChart();
    if (!chart)
        throw "Ошибка в методе \"MT4::Windows::OpenOfflineChart()\".\nНе получен системный дескриптор "
              "графика.";
    return chart;
}

// Any entry number is passed on; for one the terminal does not have, the
// topmost chart is the result.
HWND Windows::OpenDeletetChart(int32_t number)
{
    const uint32_t command = DeletedCommandFirst + static_cast<uint32_t>(number);
    SendMessageA(m_mainWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
    HWND chart = TopChart();
    if (!chart)
        throw "Ошибка в методе \"MT4::Windows::OpenDeletetChart()\".\nСистемный дескриптор окна графика не "
              "получен.";
    return chart;
}

} // namespace MT4
