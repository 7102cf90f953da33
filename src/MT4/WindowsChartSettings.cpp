// A chart's display settings. The terminal shows them only in the chart's
// Properties dialog: a setting is read by opening the dialog, reading its
// control and closing the dialog with OK; four of them also have a command
// that flips them.
#include <windows.h>

#include <iomanip>
#include <locale>
#include <sstream>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/StringS.h"
#include "Utils/Wait.h"

namespace MT4 {

namespace {

namespace Button = Utils::Controls::Button;

constexpr WPARAM PropertiesCommand = 33157;
constexpr int TabsItem = 0x3020;
constexpr int ScaleFixBox = 1259;
constexpr int FixedScaleEdits[2] = { 1255, 1256 };

struct SettingRow {
    int id; // check box on the Common page
    const char* get; // names of the operations, for their messages
    const char* set;
    const char* toggle; // and the command that flips the setting, where there is one
    WPARAM command;
};

// By Windows::ChartSetting.
const SettingRow Settings[] = {
    { 1248, "GetShowAsk", "SetShowAsk", nullptr, 0 },
    { 1251, "GetShowObjectDescriptions", "SetShowObjectDescriptions", nullptr, 0 },
    { 1252, "GetForeground", "SetForeground", nullptr, 0 },
    { 1253, "GetShowGrid", "SetShowGrid", "ShowGrid", 33021 },
    { 1257, "GetOffline", "SetOffline", nullptr, 0 },
    { 1258, "GetShowOHLC", "SetShowOHLC", nullptr, 0 },
    { 1259, "GetScaleFix", "SetScaleFix", nullptr, 0 },
    { 1260, "GetScaleFix1To1", "SetScaleFix1To1", nullptr, 0 },
    { 1261, "GetAutoScroll", "SetAutoScroll", "AutoScroll", 33017 },
    { 1262, "GetShowPeriodSeparators", "SetShowPeriodSeparators", nullptr, 0 },
    { 1263, "GetShift", "SetShift", "Shift", 33023 },
    { 1264, "GetShowVolume", "SetShowVolume", "ShowVolume", 33024 },
};

const SettingRow& RowOf(Windows::ChartSetting setting)
{
    return Settings[static_cast<int>(setting)];
}

// Price display types 0, 1, 2: their radio buttons and commands.
const int ViewRadios[3] = { 1249, 1250, 1254 };
const WPARAM ViewCommands[3] = { 33018, 33019, 33022 };

// Fixed notation, six digits after the point.
std::string ScaleText(double value)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::fixed << std::setprecision(6) << value;
    return text.str();
}

} // namespace

// With the active-chart mutex held: posts the Properties command to the
// chart, waits for the dialog and selects the page.
Windows::PropertiesDialog Windows::OpenProperties(HWND chart, WORD page)
{
    const std::vector<HWND> before = Dialogs(Utils::Windows::Match::Prefix, Text(Name::Properties));
    if (!Utils::Wait::Until([&] { return PostMessageA(chart, WM_COMMAND, PropertiesCommand, 0) != FALSE; },
            50, Utils::Wait::DialogBound)) {
        const DWORD code = GetLastError();
        throw "Ошибка в методе \"MT4::Windows::OpenPropertiesChart()\".\nКоманда открытия свойств графика не "
              "отправлена."
            + LastErrorText(code);
    }
    Utils::Wait::Pause(50);
    HWND dialog = WaitForDialog(Utils::Windows::Match::Prefix, Text(Name::Properties), before,
        "Ошибка в методе \"MT4::Windows::OpenPropertiesChart()\".\nОкно свойств графика не появилось за "
        "отведённое время.");
    HWND tabs = GetDlgItem(dialog, TabsItem);
    if (!tabs)
        throw "Ошибка в методе \"MT4::Windows::OpenPropertiesChart()\".\nНе получен системный дескриптор "
              "панели "
              "вкладок.";
    const bool common = page != 0;
    Utils::Controls::TabControl::SetFocus(tabs, common ? 1 : 0);
    HWND found = Utils::Windows::FindFirst(dialog, m_processId, Utils::Windows::Match::Prefix, "#32770",
        Utils::Windows::Match::Exact, Text(common ? Name::PropertiesCommon : Name::PropertiesColors));
    if (!found)
        throw common
            ? "Ошибка в методе \"MT4::Windows::OpenPropertiesChart()\".\nНе получен системный дескриптор "
              "вкладки \"Общие\"."
            : "Ошибка в методе \"MT4::Windows::OpenPropertiesChart()\".\nНе получен системный дескриптор "
              "вкладки \"Цвет\".";
    return { dialog, found };
}

Windows::PropertiesDialog Windows::OpenPropertiesChart(HWND chart, WORD page)
{
    CheckChart(chart, "OpenPropertiesChart");
    ActiveChartHold active = SetActiveChartStart(chart);
    const PropertiesDialog properties = OpenProperties(chart, page);
    active.Release();
    return properties;
}

// The terminal applies the dialog's settings and closes it. The dialog is
// waited for until it is gone, so that the next opening cannot take it for
// its own.
void Windows::CloseProperties(HWND dialog)
{
    Button::Click(GetDlgItem(dialog, IDOK));
    WaitUntilGone(dialog,
        "Ошибка в методе \"MT4::Windows::CloseProperties()\".\nОкно свойств графика не закрылось за "
        "отведённое "
        "время.");
}

// The chart stays active from its activation until the dialog has gone: two
// threads never read or change each other's chart.
int Windows::ChartCheckBox(int id, HWND chart, const char* method, bool change, bool checked)
{
    CheckChart(chart, method);
    ActiveChartHold active = SetActiveChartStart(chart);
    const PropertiesDialog properties = OpenProperties(chart, 1);
    HWND box = GetDlgItem(properties.page, id);
    if (change && Button::GetCheck(box) != checked)
        Button::Click(box);
    const int result = Button::GetCheck(GetDlgItem(properties.page, id)) ? 1 : 0;
    CloseProperties(properties.dialog);
    active.Release();
    return result;
}

int Windows::GetSetting(ChartSetting setting, HWND chart)
{
    const SettingRow& row = RowOf(setting);
    return ChartCheckBox(row.id, chart, row.get, false, false);
}

int Windows::SetSetting(ChartSetting setting, HWND chart, bool checked)
{
    const SettingRow& row = RowOf(setting);
    return ChartCheckBox(row.id, chart, row.set, true, checked);
}

BOOL Windows::ToggleSetting(ChartSetting setting, HWND chart)
{
    const SettingRow& row = RowOf(setting);
    if (!row.toggle)
        throw Utils::Error::Argument("MT4::Windows::ToggleSetting", "У настройки нет команды терминала.");
    CheckChart(chart, row.toggle);
    return PostMessageA(chart, WM_COMMAND, row.command, 0);
}

int Windows::GetViewChart(HWND chart)
{
    CheckChart(chart, "GetViewChart");
    ActiveChartHold active = SetActiveChartStart(chart);
    const PropertiesDialog properties = OpenProperties(chart, 1);
    bool checked[3];
    for (int view = 0; view < 3; ++view)
        checked[view] = Button::GetCheck(GetDlgItem(properties.page, ViewRadios[view]));
    CloseProperties(properties.dialog);
    active.Release();
    for (int view = 0; view < 3; ++view)
        if (checked[view])
            return view;
    throw "Ошибка в методе \"MT4::Windows::GetViewChart()\".\nНе определён вид отображаемой цены.";
}

BOOL Windows::SetViewChart(HWND chart, WORD view)
{
    CheckChart(chart, "SetViewChart");
    if (view > 2)
        throw "Метод \"MT4::Windows::SetViewChart()\".\nНеверно выбран вид отображаемой цены.";
    return PostMessageA(chart, WM_COMMAND, ViewCommands[view], 0);
}

// Which edit holds the maximum and which the minimum is the terminal's
// matter: the first value goes to 1255, the second to 1256.
void Windows::SetScale(HWND chart, double first, double second)
{
    CheckChart(chart, "OpenPropertiesChart");
    ActiveChartHold active = SetActiveChartStart(chart);
    const PropertiesDialog properties = OpenProperties(chart, 1);
    HWND scaleFix = GetDlgItem(properties.page, ScaleFixBox);
    if (!Button::GetCheck(scaleFix))
        Button::Click(scaleFix);
    const double values[2] = { first, second };
    for (int i = 0; i < 2; ++i) {
        const std::string shown = Utils::Controls::Edit::SetText(
            GetDlgItem(properties.page, FixedScaleEdits[i]), ScaleText(values[i]));
        Utils::StringS::StringToNumberA(shown);
    }
    CloseProperties(properties.dialog);
    active.Release();
}

// Never more than `count` entries are read or written.
void Windows::PropertiesChartCheckBox(HWND chart, bool write, ChartCheckBoxEntry* entries, WORD count)
{
    CheckChart(chart, "PropertiesChartCheckBox");
    if (!entries && count)
        throw Utils::Error::Argument("MT4::Windows::PropertiesChartCheckBox",
            "Не передан массив флажков.\nКоличество элементов: " + std::to_string(count));
    ActiveChartHold active = SetActiveChartStart(chart);
    const PropertiesDialog properties = OpenProperties(chart, 1);
    for (WORD i = 0; i < count; ++i) {
        ChartCheckBoxEntry& entry = entries[i];
        if (write) {
            HWND box = GetDlgItem(properties.page, entry.id);
            if (Button::GetCheck(box) != (entry.state != 0))
                Button::Click(box);
        }
        entry.state = Button::GetCheck(GetDlgItem(properties.page, entry.id)) ? 1 : 0;
    }
    CloseProperties(properties.dialog);
    active.Release();
}

} // namespace MT4
