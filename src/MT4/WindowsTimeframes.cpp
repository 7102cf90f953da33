// A chart's timeframe and template.
#include <windows.h>

#include "MT4/TimeFrame.h"
#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"

namespace MT4 {

namespace {

constexpr int TemplateCommandFirst = 34800; // + the template's number, 0 to 63
constexpr int TemplateCount = 64;
constexpr WPARAM LoadTemplateCommand = 35511;
constexpr int FileNameEdit = 0x480;

void PostTimeframe(HWND chart, const TimeFrame::Row& row)
{
    PostMessageA(chart, WM_COMMAND, row.command, 0);
}

} // namespace

void Windows::SetTimeframeByNumber(HWND chart, int32_t index)
{
    CheckChart(chart, "SetTimeframeByNumber");
    if (index < 0 || index >= TimeFrame::Count)
        throw "Метод \"MT4::Windows::SetTimeframeByNumber()\".\nНеверно выбран номер периода графика.";
    PostTimeframe(chart, TimeFrame::Rows[index]);
}

void Windows::SetTimeframeByPeriod(HWND chart, int32_t minutes)
{
    CheckChart(chart, "SetTimeframeByPeriod");
    const TimeFrame::Row* row = minutes > 0 ? TimeFrame::ByMinutes(static_cast<DWORD>(minutes)) : nullptr;
    if (!row)
        throw "Метод \"MT4::Windows::SetTimeframeByPeriod()\".\nНеверно выбран периода графика.";
    PostTimeframe(chart, *row);
}

void Windows::SetTimeframeByName(HWND chart, const std::string& name)
{
    CheckChart(chart, "SetTimeframeByName");
    const TimeFrame::Row* row = TimeFrame::ByName(name);
    if (!row)
        throw Utils::Error::Argument(
            "MT4::Windows::SetTimeframeByName", "Неверно выбрано имя периода графика.");
    PostTimeframe(chart, *row);
}

// The template command acts on the active chart.
BOOL Windows::SetTemplateByNumber(HWND chart, int32_t number)
{
    CheckChart(chart, "SetTemplateByNumber");
    if (number < 0)
        throw "Метод \"MT4::Windows::SetTemplateByNumber()\".\nВыбран отрицательный номер шаблона.";
    if (number >= TemplateCount)
        throw "Метод \"MT4::Windows::SetTemplateByNumber()\".\nВыбран номер шаблона более 63.";
    ActiveChartHold active = SetActiveChartStart(chart);
    const BOOL posted = PostMessageA(MainTarget(), WM_COMMAND, TemplateCommandFirst + number, 0);
    active.Release();
    return posted;
}

// The chart's own frame shows the Open dialog; no activation is needed.
void Windows::SetTemplateByName(HWND chart, const std::string& name)
{
    CheckChart(chart, "SetTemplateByName");
    if (name.empty())
        throw "Метод \"MT4::Windows::SetTemplateByName()\".\nОтсутствует имя шаблона.";
    HWND frame = GetParent(chart);
    if (!frame)
        throw "Ошибка в методе \"MT4::Windows::SetTemplateByName()\".\nСистемный дескриптор родительского "
              "окна "
              "графика не получен.";
    const std::vector<HWND> before = Dialogs(Utils::Windows::Match::Exact, Text(Name::OpenButton));
    PostMessageA(frame, WM_COMMAND, LoadTemplateCommand, 0);
    HWND dialog = WaitForDialog(Utils::Windows::Match::Exact, Text(Name::OpenButton), before,
        "Ошибка в методе \"MT4::Windows::SetTemplateByName()\".\nОкно открытия шаблона не появилось за "
        "отведённое время.");
    Utils::Controls::Edit::SetText(GetDlgItem(dialog, FileNameEdit), name);
    Utils::Controls::Button::Click(GetDlgItem(dialog, IDOK));
}

} // namespace MT4
