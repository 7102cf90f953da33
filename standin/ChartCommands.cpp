// What the terminal does with the commands, internal messages and keys that
// reach a chart, and with the chart commands of its main window.
#include "ChartDialogs.h"
#include "Charts.h"
#include "MainWindow.h"
#include "Texts.h"
#include "Ui.h"

#include <algorithm>

namespace StandIn {

namespace {

namespace Command {
constexpr UINT Close = 0xE102;
constexpr UINT Properties = 33157;
constexpr UINT Step = 33197;
constexpr UINT Deselect = 35462;
constexpr UINT LoadTemplate = 35511;
constexpr UINT ZoomIn = 33025;
constexpr UINT ZoomOut = 33026;
constexpr UINT Offline = 33053;
constexpr UINT TemplateFirst = 34800; // + template number, 0 to 63
constexpr UINT TemplateCount = 64;
constexpr UINT DeletedFirst = 35000; // + entry of the deleted charts
} // namespace Command

constexpr WPARAM ScrollToTime = 55; // internal message: lParam = the time
constexpr int ZoomMost = 5;

struct Timeframe {
    UINT command;
    int minutes;
};
const Timeframe Timeframes[] = { { 33137, 1 }, { 33138, 5 }, { 33139, 15 }, { 33140, 30 }, { 33135, 60 },
    { 33136, 240 }, { 33134, 1440 }, { 33141, 10080 }, { 33334, 43200 } };

struct Toggle {
    UINT command;
    ChartSetting setting;
};
const Toggle Toggles[] = { { 33021, ChartSetting::Grid }, { 33017, ChartSetting::AutoScroll },
    { 33023, ChartSetting::Shift }, { 33024, ChartSetting::Volume } };

const UINT ViewCommands[3] = { 33018, 33019, 33022 }; // bars, candlesticks, line

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "MN" or the minutes of a standard period; 0 for anything else.
int PeriodOf(const std::string& text)
{
    if (text == "MN")
        return 43200;
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int minutes = std::stoi(text);
    return IsStandardPeriod(minutes) ? minutes : 0;
}

ChartFrame* ActiveChart(const Ui& ui)
{
    return ChartFrame::Of(
        reinterpret_cast<HWND>(SendMessageA(ui.Handles().chartArea, WM_MDIGETACTIVE, 0, 0)));
}

WNDPROC g_editProc = nullptr;

// The command line: Enter carries out its text.
LRESULT CALLBACK CommandLineProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR && wParam == VK_RETURN)
        if (auto* view = dynamic_cast<ChartView*>(Window::Of(GetParent(edit)))) {
            view->CarryOutCommandLine(lParam);
            return 0;
        }
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

} // namespace

bool Ignores(const Ui& ui, UINT command)
{
    const std::vector<UINT>& ignored = ui.Setup().ignoredCommands;
    return ui.Setup().silent || std::find(ignored.begin(), ignored.end(), command) != ignored.end();
}

ChartFrame* ChartFrame::Of(HWND frame)
{
    return dynamic_cast<ChartFrame*>(Window::Of(frame));
}

void ChartFrame::Change(const ChartSpec& chart)
{
    m_chart = chart;
    SetWindowTextA(Handle(), Title().c_str());
    if (ActiveChart(m_ui) == this)
        m_ui.Main().ShowActiveChart(Title());
    InvalidateRect(View(), nullptr, FALSE);
}

void ChartFrame::OnViewCommand(UINT command)
{
    if (Ignores(m_ui, command))
        return;
    ChartSpec chart = m_chart;
    if (command == Command::Close) {
        SendMessageA(GetParent(Handle()), WM_MDIDESTROY, reinterpret_cast<WPARAM>(Handle()), 0);
        return;
    }
    if (command == Command::Properties) {
        m_ui.React([&ui = m_ui, frame = Handle()] {
            if (ChartFrame* chart = ChartFrame::Of(frame))
                PropertiesDialog(ui, *chart).Run();
        });
        return;
    }
    if (command == Command::Step)
        ++chart.steps;
    for (const Timeframe& timeframe : Timeframes)
        if (command == timeframe.command)
            chart.period = timeframe.minutes;
    for (const Toggle& toggle : Toggles)
        if (command == toggle.command)
            chart.settings[static_cast<int>(toggle.setting)] = !chart.Setting(toggle.setting);
    for (int view = 0; view < 3; ++view)
        if (command == ViewCommands[view])
            chart.view = view;
    Change(chart); // Command::Deselect: the chart has no object to deselect
}

void ChartFrame::OnInternal(WPARAM code, LPARAM value)
{
    if (code != ScrollToTime)
        return;
    ChartSpec chart = m_chart;
    chart.scrollTime = static_cast<long>(value);
    Change(chart);
}

LRESULT ChartFrame::OnCommand(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Command, Handle(), message, wParam, lParam);
    if (LOWORD(wParam) == Command::LoadTemplate && !Ignores(m_ui, Command::LoadTemplate))
        TemplateDialog(m_ui, *this).Run();
    return 0;
}

// "SYMBOL,PERIOD" switches the chart to both; a period the terminal does not
// know (or none) leaves the period as it was.
void ChartFrame::CarryOut(const std::string& line)
{
    const auto comma = line.find(',');
    const std::string symbol = Trim(line.substr(0, comma));
    if (symbol.empty())
        return;
    ChartSpec chart = m_chart;
    chart.symbol = symbol;
    if (comma != std::string::npos)
        if (const int period = PeriodOf(Trim(line.substr(comma + 1))))
            chart.period = period;
    Change(chart);
}

// Along the bottom left of the chart, over the price line.
void ChartView::OpenCommandLine()
{
    if (!m_commandLine) {
        RECT client;
        GetClientRect(Handle(), &client);
        m_commandLine
            = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | ES_AUTOHSCROLL, 4, client.bottom - 28,
                180, 24, Handle(), ChildId(Id::CommandLine), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(
            m_commandLine, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(m_commandLine, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommandLineProc)));
    }
    ShowWindow(m_commandLine, SW_SHOW);
    SetFocus(m_commandLine);
}

// The journal shows the text carried out.
void ChartView::CarryOutCommandLine(LPARAM keyData)
{
    char text[260] = "";
    GetWindowTextA(m_commandLine, text, sizeof text);
    m_ui.Record(Event::Key, m_commandLine, WM_CHAR, VK_RETURN, keyData, text);
    SetWindowTextA(m_commandLine, "");
    ShowWindow(m_commandLine, SW_HIDE);
    SetFocus(Handle());
    m_frame.CarryOut(text);
}

bool CarryChartCommand(Ui& ui, UINT command)
{
    if (Ignores(ui, command))
        return false;
    const Scenario& setup = ui.Setup();
    ChartFrame* active = ActiveChart(ui);
    if (command >= Command::TemplateFirst && command < Command::TemplateFirst + Command::TemplateCount) {
        const size_t number = command - Command::TemplateFirst;
        if (active && number < setup.templates.size()) {
            ChartSpec chart = active->Chart();
            chart.templateName = setup.templates[number];
            active->Change(chart);
        }
    } else if (command == Command::ZoomIn || command == Command::ZoomOut) {
        if (active) {
            ChartSpec chart = active->Chart();
            chart.zoom = std::clamp(chart.zoom + (command == Command::ZoomIn ? 1 : -1), 0, ZoomMost);
            active->Change(chart);
        }
    } else if (command == Command::Offline) {
        OfflineDialog(ui).Run();
    } else if (command >= Command::DeletedFirst
        && command < Command::DeletedFirst + setup.deletedCharts.size()) {
        ui.OpenChart(setup.deletedCharts[command - Command::DeletedFirst]);
    } else {
        return false;
    }
    return true;
}

} // namespace StandIn
