#include "MainWindow.h"

#include "Programs.h"
#include "Charts.h"
#include "TerminalCommands.h"
#include "Texts.h"
#include "Ui.h"

namespace StandIn {

namespace {

constexpr int TopDockHeight = 28;
constexpr int LeftDockWidth = 230;
constexpr int BottomDockHeight = 190;
constexpr UINT_PTR WatchTimer = 1;
constexpr UINT WatchInterval = 100;
constexpr int WatchTicks = 20;

// True when `window` is further down the z-order than `other`.
bool IsBelow(HWND window, HWND other)
{
    for (HWND next = GetWindow(other, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
        if (next == window)
            return true;
    return false;
}

// A dock with nothing visible in it takes no room.
int DockSize(HWND dock, int size) { return dock && HasVisibleChild(dock) ? size : 0; }

}  // namespace

// Wide enough for the Terminal panel, which shares the bottom dock with the
// Tester, to show all seven of its tabs without scrolling.
void MainWindow::Create()
{
    const Scenario& setup = m_ui.Setup();
    m_account = setup.account;
    m_server = setup.server;
    Window::Create(0, ClassName::Main, (m_account + ": " + m_server).c_str(),
        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 1160, 700, nullptr, 0);
}

// The terminal sets its title itself (WM_SETTEXT) whenever the account or
// the active chart changes.
void MainWindow::ShowActiveChart(const std::string& chart)
{
    m_chart = chart;
    std::string title = m_account + ": " + m_server;
    if (!chart.empty())
        title += " - [" + chart + "]";
    SetWindowTextA(Handle(), title.c_str());
}

void MainWindow::LogIn(const std::string& account, const std::string& server)
{
    m_account = account;
    m_server = server;
    ShowActiveChart(m_chart);
}

// Toolbars across the top, Data Window, Market Watch and Navigator down the
// left, Terminal and Tester along the bottom, the chart area in the middle.
void MainWindow::Layout()
{
    RECT client;
    GetClientRect(Handle(), &client);
    HWND top = GetDlgItem(Handle(), Id::DockTop);
    HWND left = GetDlgItem(Handle(), Id::DockLeft);
    HWND bottom = GetDlgItem(Handle(), Id::DockBottom);
    const int width = client.right, height = client.bottom;
    const int topHeight = DockSize(top, TopDockHeight);
    const int bottomHeight = DockSize(bottom, BottomDockHeight);
    const int middle = height - topHeight - bottomHeight > 0 ? height - topHeight - bottomHeight : 0;
    const int leftWidth = DockSize(left, LeftDockWidth);
    if (top)
        MoveWindow(top, 0, 0, width, topHeight, TRUE);
    if (left)
        MoveWindow(left, 0, topHeight, leftWidth, middle, TRUE);
    if (bottom)
        MoveWindow(bottom, 0, height - bottomHeight, width, bottomHeight, TRUE);
    if (m_chartArea)
        MoveWindow(m_chartArea, leftWidth, topHeight, width - leftWidth, middle, TRUE);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(message, wParam, lParam);
    case WM_SIZE:
        return OnSize(message, wParam, lParam);
    case WM_SETTEXT:
        return OnSetText(message, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        return OnWindowPosChanged(message, wParam, lParam);
    case WM_SETFOCUS:
        return OnSetFocus(message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
        return OnKey(message, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(message, wParam, lParam);
    case WM_TIMER:
        return OnTimer(message, wParam, lParam);
    case WM_CLOSE:
        return OnClose(message, wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT MainWindow::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(Handle(), m_chartArea, message, wParam, lParam);
}

LRESULT MainWindow::OnCreate(UINT, WPARAM, LPARAM)
{
    CLIENTCREATESTRUCT client = { nullptr, Id::FirstMdiChild };
    m_chartArea = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, Handle(), ChildId(Id::ChartArea),
        GetModuleHandleA(nullptr), &client);
    return m_chartArea ? 0 : -1;
}

// The frame lays out its docks and chart area itself (DefFrameProc would
// stretch the chart area over the whole client).
LRESULT MainWindow::OnSize(UINT, WPARAM, LPARAM)
{
    Layout();
    return 0;
}

LRESULT MainWindow::OnSetText(UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::string before = Text();
    const LRESULT result = Default(message, wParam, lParam);
    const std::string after = Text();
    if (after != before)
        m_ui.Record(Event::Title, Handle(), message, 0, 0, after);
    return result;
}

// Show, hide, minimise, maximise and restore all end here; each change of
// the resulting state is journaled once. Floating panels stay above the
// frame when it comes up (Wine can leave owned windows behind).
LRESULT MainWindow::OnWindowPosChanged(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default(message, wParam, lParam);
    const WPARAM state = ShowState();
    if (state != m_showState && !m_closing) {
        m_showState = state;
        m_ui.Record(Event::Show, Handle(), message, state, 0);
    }
    if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER))
        RaiseFloatingFrames();
    return result;
}

void MainWindow::RaiseFloatingFrames()
{
    for (HWND frame : m_ui.Handles().floatingFrame)
        if (frame && IsWindowVisible(frame) && IsBelow(frame, Handle()))
            SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Wine syncs the z-order with the X server when it handles the frame's
// first exposure, some time after start-up, and puts the frame above its
// floating panels then without telling any window.
void MainWindow::WatchFloatingFrames()
{
    m_watchTicks = WatchTicks;
    SetTimer(Handle(), WatchTimer, WatchInterval, nullptr);
}

LRESULT MainWindow::OnTimer(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wParam != WatchTimer)
        return Default(message, wParam, lParam);
    RaiseFloatingFrames();
    if (--m_watchTicks <= 0)
        KillTimer(Handle(), WatchTimer);
    return 0;
}

// Focus goes on to the active chart's view; with no chart the frame keeps
// it, so that keyboard input still reaches the terminal.
LRESULT MainWindow::OnSetFocus(UINT, WPARAM, LPARAM)
{
    auto active = reinterpret_cast<HWND>(SendMessageA(m_chartArea, WM_MDIGETACTIVE, 0, 0));
    if (HWND view = active ? GetDlgItem(active, Id::ChartView) : nullptr)
        SetFocus(view);
    return 0;
}

LRESULT MainWindow::OnKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Key, Handle(), message, wParam, lParam);
    return Default(message, wParam, lParam);
}

LRESULT MainWindow::OnCommand(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Command, Handle(), message, wParam, lParam);
    CarryOutCommand(m_ui, LOWORD(wParam));
    m_ui.ProgramsOnCharts().OnMainCommand(LOWORD(wParam));
    CarryChartCommand(m_ui, LOWORD(wParam));
    return 0;
}

LRESULT MainWindow::OnClose(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Close, Handle(), message, wParam, lParam);
    m_closing = true;
    DestroyWindow(Handle());
    return 0;
}

// The terminal ends with its main window.
LRESULT MainWindow::OnDestroy(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostQuitMessage(0);
    return Default(message, wParam, lParam);
}

WPARAM MainWindow::ShowState() const
{
    if (!IsWindowVisible(Handle()))
        return SW_HIDE;
    if (IsIconic(Handle()))
        return SW_SHOWMINIMIZED;
    return IsZoomed(Handle()) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
}

std::string MainWindow::Text() const
{
    char text[512] = "";
    GetWindowTextA(Handle(), text, sizeof text);
    return text;
}

}  // namespace StandIn
