#include "Ui.h"

#include "Charts.h"
#include "MainWindow.h"
#include "Panels.h"
#include "Programs.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <mutex>
#include <stdexcept>

namespace StandIn {

namespace {

const char* const InternalMessageName = "MetaTrader4_Internal_Message";

bool IsFloating(const Scenario& scenario, PanelId id)
{
    return scenario.placement[static_cast<int>(id)] == Placement::Floating;
}

void MakeFolder(const std::string& path)
{
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + path + ", error " + std::to_string(GetLastError()));
}

// True when the command line carries /portable.
bool StartedPortable()
{
    std::string line = GetCommandLineA();
    for (char& c : line)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    const size_t at = line.find(" /portable");
    return at != std::string::npos && (at + 10 == line.size() || line[at + 10] == ' ');
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE
        && WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace

std::string DataFolder(const std::string& installFolder)
{
    // Two FNV-1a hashes of the upper-case path.
    unsigned long long high = 14695981039346656037ull, low = 1099511628211ull;
    for (char c : installFolder) {
        const unsigned char upper = static_cast<unsigned char>(toupper(static_cast<unsigned char>(c)));
        high = (high ^ upper) * 1099511628211ull;
        low = (low ^ upper) * 1099511628211ull + 0x9E37;
    }
    char id[33];
    std::snprintf(id, sizeof id, "%016llX%016llX", high, low);
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::string(appData) + "\\MetaQuotes\\Terminal\\" + id + "\\";
}

Ui::Ui(const Scenario& scenario, Journal& journal, TickBoard& ticks)
    : m_scenario(scenario)
    , m_journal(journal)
    , m_ticks(ticks)
    , m_texts(TextsOf(scenario.language))
    , m_internalMessage(RegisterWindowMessageA(InternalMessageName))
    , m_programs(std::make_unique<Programs>(*this))
{
}

Ui::~Ui()
{
    if (m_main && IsWindow(m_main->Handle()))
        DestroyWindow(m_main->Handle());
}

void Ui::Build()
{
    INITCOMMONCONTROLSEX controls = { sizeof controls,
        ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES };
    InitCommonControlsEx(&controls);
    RegisterClasses();
    CreateHistoryFolder();

    m_main = std::make_unique<MainWindow>(*this);
    m_main->Create();
    m_handles.main = m_main->Handle();
    m_handles.chartArea = m_main->ChartArea();
    CreateDocks();
    CreateToolbars();
    CreatePanels();
    ShowWindow(m_handles.main, SW_SHOW);
    m_main->Layout();
    CreateCharts();
    UpdateWindow(m_handles.main);
    ShowFloatingFrames();
}

namespace {

// The reactions waiting for their thread timer, by thread and timer id.
std::mutex g_pendingLock;
std::map<std::pair<DWORD, UINT_PTR>, std::function<void()>> g_pending;

VOID CALLBACK ReactNow(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> reaction;
    {
        std::lock_guard<std::mutex> lock(g_pendingLock);
        const auto found = g_pending.find({ GetCurrentThreadId(), id });
        if (found == g_pending.end())
            return;
        reaction = std::move(found->second);
        g_pending.erase(found);
    }
    reaction();
}

}  // namespace

void Ui::React(std::function<void()> reaction)
{
    if (!m_scenario.lagMs)
        reaction();
    else
        After(m_scenario.lagMs, std::move(reaction));
}

void Ui::After(DWORD ms, std::function<void()> reaction)
{
    std::lock_guard<std::mutex> lock(g_pendingLock);
    const UINT_PTR id = SetTimer(nullptr, 0, ms, ReactNow);
    if (id)
        g_pending[{ GetCurrentThreadId(), id }] = std::move(reaction);
}

void Ui::Record(Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::string text)
{
    m_journal.Add({ kind, window, message, wParam, lParam, std::move(text), GetCurrentThreadId() });
    if ((kind == Event::Command || kind == Event::Internal) && m_scenario.busyMs)
        Sleep(m_scenario.busyMs);
}

void Ui::RegisterClasses()
{
    const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Window::Register(ClassName::Main, CS_DBLCLKS, face);
    Window::Register(ClassName::ControlBar, CS_DBLCLKS, face);
    Window::Register(ClassName::PanelContent, CS_DBLCLKS, face);
    Window::Register(ClassName::FloatingFrame, CS_DBLCLKS, face);
    Window::Register(ClassName::ChartFrame, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
        reinterpret_cast<HBRUSH>(COLOR_WINDOWFRAME + 1));
    Window::Register(ClassName::ChartView, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr);
}

void Ui::CreateDocks()
{
    Keep(std::make_unique<DockBar>(DockBar::Direction::Across)).Create(m_handles.main, Id::DockTop);
    Keep(std::make_unique<DockBar>(DockBar::Direction::Down)).Create(m_handles.main, Id::DockLeft);
    Keep(std::make_unique<DockBar>(DockBar::Direction::Across)).Create(m_handles.main, Id::DockBottom);
    m_handles.standardDock = GetDlgItem(m_handles.main, Id::DockTop);
}

void Ui::CreateToolbars()
{
    for (int i = 0; i < ToolbarCount; ++i) {
        m_handles.toolbar[i] = CreateWindowExA(0, TOOLBARCLASSNAMEA, m_texts.toolbars[i],
            WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_FLAT, 0, 0, 0, 0,
            m_handles.standardDock, ChildId(Id::Toolbar[i]), GetModuleHandleA(nullptr), nullptr);
        if (!m_handles.toolbar[i])
            throw std::runtime_error("cannot create the toolbar " + std::string(m_texts.toolbars[i]));
    }
}

void Ui::CreatePanels()
{
    for (int i = 0; i < PanelCount; ++i)
        CreatePanel(static_cast<PanelId>(i));
}

// Docked: left or bottom dock > titled bar > content. Floating: frame owned
// by the main window > bar 0xE81F > content.
void Ui::CreatePanel(PanelId id)
{
    if (m_scenario.placement[static_cast<int>(id)] == Placement::Absent)
        return;
    const int index = static_cast<int>(id);
    const char* title = m_texts.panels[index];
    auto& bar = Keep(std::make_unique<ControlBar>());
    if (IsFloating(m_scenario, id)) {
        auto& frame = Keep(std::make_unique<FloatingFrame>());
        frame.Create(m_handles.main, title, index);
        bar.Create(frame.Handle(), "", Id::FloatingBar);
        Keep(MakePanel(id)).Create(bar.Handle());
        frame.Layout();
        m_handles.floatingFrame[index] = frame.Handle();
    } else {
        const bool bottom = id == PanelId::Terminal || id == PanelId::Tester;
        bar.Create(GetDlgItem(m_handles.main, bottom ? Id::DockBottom : Id::DockLeft), title,
            Id::PanelBarFirst + index);
        Keep(MakePanel(id)).Create(bar.Handle());  // sized with its dock by the main window's layout
    }
}

std::unique_ptr<Panel> Ui::MakePanel(PanelId id)
{
    switch (id) {
    case PanelId::DataWindow:
        return std::make_unique<DataWindowPanel>(*this);
    case PanelId::MarketWatch:
        return std::make_unique<MarketWatchPanel>(*this);
    case PanelId::Navigator:
        return std::make_unique<NavigatorPanel>(*this);
    case PanelId::Terminal:
        return std::make_unique<TerminalPanel>(*this);
    default:
        return std::make_unique<TesterPanel>(*this);
    }
}

// Floating panels come up last, above the main window that owns them.
void Ui::ShowFloatingFrames()
{
    bool shown = false;
    for (HWND frame : m_handles.floatingFrame)
        if (frame) {
            SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            shown = true;
        }
    if (shown)
        m_main->WatchFloatingFrames();
}

// In scenario order; each new chart becomes the active one.
void Ui::CreateCharts()
{
    for (size_t i = 0; i < m_scenario.charts.size(); ++i) {
        const HWND view = OpenChart(
            m_scenario.charts[i], i < m_scenario.programs.size() ? m_scenario.programs[i] : ChartPrograms());
        if (i < m_scenario.tickDelays.size())
            m_ticks.SetDelay(view, m_scenario.tickDelays[i]);
    }
}

HWND Ui::OpenChart(const ChartSpec& chart, const ChartPrograms& programs)
{
    auto& frame = Keep(std::make_unique<ChartFrame>(*this, chart));
    frame.Create(m_handles.chartArea, static_cast<int>(m_handles.chartFrames.size()));
    m_handles.chartFrames.push_back(frame.Handle());
    m_handles.chartViews.push_back(frame.View());
    m_programs->AddChart(frame.View(), programs);
    return frame.View();
}

// A connected terminal keeps the server's history in
// <terminal folder>\history\<server>\, and writes the selected symbols to
// symbols.sel when it connects.
void Ui::CreateHistoryFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of('\\') + 1);
    if (m_scenario.dataFolder && !StartedPortable()) {
        // Its origin.txt: the install folder without its final "\\", UTF-16 LE
        // after the byte-order mark.
        const std::string install = folder.substr(0, folder.size() - 1);
        std::wstring origin(MultiByteToWideChar(CP_ACP, 0, install.c_str(), -1, nullptr, 0), L'\0');
        MultiByteToWideChar(CP_ACP, 0, install.c_str(), -1, &origin[0], static_cast<int>(origin.size()));
        origin.pop_back();
        folder = DataFolder(folder);
        const int made = SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
        if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + folder + ", error " + std::to_string(made));
        WriteBytes(folder + "origin.txt",
            "\xFF\xFE" + std::string(reinterpret_cast<const char*>(origin.data()), origin.size() * 2));
    }
    MakeFolder(folder += "history");
    MakeFolder(folder += "\\" + m_scenario.server);
    WriteBytes(folder + "\\symbols.sel", std::string());
}

}  // namespace StandIn
