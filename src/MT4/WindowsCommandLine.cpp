// A chart's command line: the edit the terminal creates in the chart when
// the user presses Enter on it, and in which a symbol and a period, confirmed
// with Enter, switch the chart.
#include <windows.h>

#include "MT4/TimeFrame.h"
#include "MT4/Windows.h"
#include "Utils/Controls.h"

namespace MT4 {

namespace {

constexpr int CommandLineItem = 0x45A;
constexpr DWORD MonthMinutes = 43200;

const char* const NoCommandLine = "Ошибка в методе \"MT4::Windows::SetToolChart()\".\nНе получен системный "
                                  "дескриптор командной строки графика.";

// Enter, sent: on the chart it creates and shows the command line; in the
// command line it carries out the text and hides it.
void SendEnter(HWND window)
{
    Utils::Controls::Send("MT4::Windows::SendEnter", window, WM_CHAR, VK_RETURN, 0x1C0001);
}

HWND CommandLine(HWND chart)
{
    return GetDlgItem(chart, CommandLineItem);
}

bool Visible(HWND chart)
{
    HWND line = CommandLine(chart);
    return line && IsWindowVisible(line);
}

HWND OpenLine(HWND chart)
{
    if (!Visible(chart))
        SendEnter(chart);
    HWND line = CommandLine(chart);
    if (!line)
        throw NoCommandLine;
    return line;
}

void WriteLine(HWND chart, const std::string& text)
{
    HWND line = CommandLine(chart);
    if (!line)
        throw "Ошибка в методе \"MT4::Windows::WriteCmd()\".\nКомандная строка графика невидима.";
    Utils::Controls::Edit::SetText(line, text);
}

// A timeframe the table does not know switches to period 0, without a report.
template <class Lookup>
DWORD MinutesOrZero(Lookup&& lookup)
{
    try {
        return lookup();
    } catch (const std::string&) {
        return 0;
    }
}

void CloseLine(HWND chart)
{
    if (!Visible(chart))
        return;
    HWND line = CommandLine(chart);
    if (!line)
        throw NoCommandLine;
    SendEnter(line);
}

} // namespace

BOOL Windows::IsCmd(HWND chart)
{
    CheckChart(chart, "IsVisibleCmd");
    return CommandLine(chart) ? 1 : 0;
}

BOOL Windows::IsVisibleCmd(HWND chart)
{
    CheckChart(chart, "IsVisibleCmd");
    return Visible(chart) ? 1 : 0;
}

HWND Windows::OpenCmd(HWND chart)
{
    CheckChart(chart, "OpenCmd");
    return OpenLine(chart);
}

// The terminal creates the command line, which is left hidden.
HWND Windows::CreatCmd(HWND chart)
{
    CheckChart(chart, "OpenCmd");
    SendEnter(chart);
    WriteLine(chart, std::string());
    HWND line = CommandLine(chart);
    if (!line)
        throw NoCommandLine;
    SendEnter(line);
    return line;
}

void Windows::CloseCmd(HWND chart)
{
    CheckChart(chart, "CloseCmd");
    CloseLine(chart);
}

// The text is not carried out: that takes CloseCmd.
void Windows::WriteCmd(HWND chart, const std::string& text)
{
    CheckChart(chart, "WriteCmd");
    WriteLine(chart, text);
}

void Windows::ClearCmd(HWND chart)
{
    WriteCmd(chart, std::string());
}

std::string Windows::ReadCmd(HWND chart)
{
    CheckChart(chart, "ReadCmd");
    HWND line = CommandLine(chart);
    if (!line)
        throw "Ошибка в методе \"MT4::Windows::ReadCmd()\".\nОтсутствует командная строка графика.";
    return Utils::Controls::Edit::GetText(line);
}

// A period that is not one of the nine is written as 0.
void Windows::ToolChart(HWND chart, const std::string& symbol, DWORD minutes)
{
    if (!TimeFrame::ByMinutes(minutes))
        minutes = 0;
    OpenLine(chart);
    WriteLine(chart, symbol + "," + (minutes == MonthMinutes ? std::string("MN") : std::to_string(minutes)));
    CloseLine(chart);
}

void Windows::SetToolChartPeriod(HWND chart, const std::string& symbol, int32_t minutes)
{
    CheckChart(chart, "SetToolChart");
    ToolChart(chart, symbol, static_cast<DWORD>(minutes));
}

void Windows::SetToolChartNumberPeriod(HWND chart, const std::string& symbol, WORD index)
{
    CheckChart(chart, "SetToolChart");
    ToolChart(chart, symbol, MinutesOrZero([&] { return TimeFrame::Period9(index); }));
}

void Windows::SetToolChartNamePeriod(HWND chart, const std::string& symbol, const std::string& name)
{
    CheckChart(chart, "SetToolChart");
    ToolChart(chart, symbol, MinutesOrZero([&] { return TimeFrame::PeriodByName9(name); }));
}

} // namespace MT4
