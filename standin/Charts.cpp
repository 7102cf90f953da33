#include "Charts.h"

#include "MainWindow.h"
#include "Programs.h"
#include "Texts.h"
#include "Ui.h"

#include <vector>

namespace StandIn {

namespace {

const COLORREF Background = RGB(0, 0, 0);
const COLORREF Grid = RGB(40, 40, 48);
const COLORREF Price = RGB(0, 200, 0);
const COLORREF Label = RGB(255, 255, 255);

// The ticks that make a chart's programs run: the indicators' command and the
// expert's internal message.
constexpr UINT TickIndicatorsCommand = 33324;
constexpr WPARAM TickExpertCode = 2;
constexpr LPARAM TickExpertValue = 1;

// A price walk of its own for every symbol, so each chart looks different.
std::vector<int> PriceWalk(const std::string& symbol, int count)
{
    unsigned seed = 2166136261u;
    for (unsigned char c : symbol)
        seed = (seed ^ c) * 16777619u;
    std::vector<int> walk(count);
    int value = 0;
    for (int& point : walk) {
        seed = seed * 1103515245u + 12345u;
        value += static_cast<int>((seed >> 16) % 21) - 10;
        point = value;
    }
    return walk;
}

void PaintChart(HDC dc, const RECT& area, const std::string& title, bool showGrid)
{
    HBRUSH background = CreateSolidBrush(Background);
    FillRect(dc, &area, background);
    DeleteObject(background);

    HPEN grid = CreatePen(PS_SOLID, 1, Grid);
    HGDIOBJ old = SelectObject(dc, grid);
    for (int x = area.right / 8; showGrid && x < area.right; x += area.right / 8 + 1) {
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, area.bottom);
    }

    const int count = 120;
    const std::vector<int> walk = PriceWalk(title, count);
    int low = walk[0], high = walk[0];
    for (int value : walk) {
        low = value < low ? value : low;
        high = value > high ? value : high;
    }
    const int margin = 24, range = high - low > 0 ? high - low : 1;
    const int height = area.bottom - 2 * margin > 1 ? area.bottom - 2 * margin : 1;
    std::vector<POINT> line(count);
    for (int i = 0; i < count; ++i)
        line[i] = { area.right * i / (count - 1), margin + (high - walk[i]) * height / range };
    HPEN price = CreatePen(PS_SOLID, 1, Price);
    SelectObject(dc, price);
    Polyline(dc, line.data(), count);
    SelectObject(dc, old);
    DeleteObject(price);
    DeleteObject(grid);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Label);
    TextOutA(dc, 4, 4, title.c_str(), static_cast<int>(title.size()));
}

}  // namespace

void ChartView::Create(HWND frame)
{
    RECT client;
    GetClientRect(frame, &client);
    Window::Create(0, ClassName::ChartView, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, frame,
        Id::ChartView);
}

LRESULT ChartView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_ui.InternalMessage())
        return OnInternal(message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers everything
    case WM_PAINT:
        return OnPaint(message, wParam, lParam);
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return OnMouse(message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
        return OnKey(message, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(message, wParam, lParam);
    case WM_DESTROY:
        m_ui.ProgramsOnCharts().RemoveChart(Handle());  // a chart that closes stops its script
        return Default(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT ChartView::OnPaint(UINT, WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT area;
    GetClientRect(Handle(), &area);
    PaintChart(dc, area, m_frame.Title(), m_frame.Chart().Setting(ChartSetting::Grid));
    EndPaint(Handle(), &paint);
    return 0;
}

// A click on a chart makes it the active chart.
LRESULT ChartView::OnMouseActivate(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Mouse, Handle(), message, wParam, lParam);
    SendMessageA(GetParent(m_frame.Handle()), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_frame.Handle()), 0);
    return MA_ACTIVATE;
}

LRESULT ChartView::OnMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Mouse, Handle(), message, wParam, lParam);
    return 0;
}

LRESULT ChartView::OnKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Key, Handle(), message, wParam, lParam);
    if (message == WM_CHAR && wParam == VK_RETURN) {
        OpenCommandLine();
        return 0;
    }
    return Default(message, wParam, lParam);
}

// What the chart's own command line notifies is no command.
LRESULT ChartView::OnCommand(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (lParam)
        return Default(message, wParam, lParam);
    m_ui.Record(Event::Command, Handle(), message, wParam, lParam);
    if (m_ui.Setup().silent)
        return 0;
    if (LOWORD(wParam) == TickIndicatorsCommand)
        m_ui.Ticks().Handle(Handle(), false);
    m_ui.ProgramsOnCharts().OnViewCommand(Handle(), LOWORD(wParam));
    m_frame.OnViewCommand(LOWORD(wParam));
    return 0;
}

LRESULT ChartView::OnInternal(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Internal, Handle(), message, wParam, lParam);
    if (m_ui.Setup().silent)
        return 0;
    if (wParam == TickExpertCode && lParam == TickExpertValue)
        m_ui.Ticks().Handle(Handle(), true);
    m_frame.OnInternal(wParam, lParam);
    return m_ui.ProgramsOnCharts().OnViewInternal(Handle(), wParam, lParam);
}

// Charts open cascaded, each new one on top and active.
void ChartFrame::Create(HWND chartArea, int index)
{
    const int step = 24 * (index % 8);
    CreateMdiChild(chartArea, ClassName::ChartFrame, Title().c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, step, step,
        520, 340);
}

std::string ChartFrame::Title() const { return m_chart.symbol + "," + PeriodName(m_chart.period); }

LRESULT ChartFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(message, wParam, lParam);
    case WM_SIZE:
        return OnSize(message, wParam, lParam);
    case WM_SETFOCUS:
        return OnSetFocus(message, wParam, lParam);
    case WM_MDIACTIVATE:
        return OnMdiActivate(message, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT ChartFrame::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(Handle(), message, wParam, lParam);
}

LRESULT ChartFrame::OnCreate(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_view.Create(Handle());
    return Default(message, wParam, lParam);
}

LRESULT ChartFrame::OnSize(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default(message, wParam, lParam);
    if (View()) {
        RECT client;
        GetClientRect(Handle(), &client);
        MoveWindow(View(), 0, 0, client.right, client.bottom, TRUE);
    }
    return result;
}

LRESULT ChartFrame::OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default(message, wParam, lParam);
    if (View())
        SetFocus(View());
    return result;
}

// lParam is the frame being activated (null when the last chart goes); the
// terminal's title follows the active chart.
LRESULT ChartFrame::OnMdiActivate(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto activated = reinterpret_cast<HWND>(lParam);
    if (activated == Handle()) {
        m_ui.Record(Event::Activate, View(), message, wParam, lParam, Title());
        m_ui.Main().ShowActiveChart(Title());
    } else if (!activated) {
        m_ui.Main().ShowActiveChart({});
    }
    return Default(message, wParam, lParam);
}

}  // namespace StandIn
