// Chart enumeration with 100 charts, per call, against the chart area's
// windows and their classes read raw.
//
// VelmorGetShowGrid end to end, through the DLL loaded by name, against the
// floor that reading a setting through the Properties dialog allows: the
// sleeps the operation must keep (5 ms after activating the chart, 50 ms
// after posting the Properties command) plus the same messages sent raw by
// this program to the same stand-in terminal, measured in the same run. The
// terminal builds its dialog while the 50 ms pass, so the floor counts
// whichever of the two is longer.
#include "Harness.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "StandIn.h"
#include "support/Library.h"

namespace {

constexpr int Runs = 20;
constexpr double ActivationSleep = 0.005;
constexpr double CommandSleep = 0.050;

// The Properties dialog of this process, once it is there.
HWND PropertiesDialog()
{
    for (HWND dialog = nullptr; (dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) != nullptr;) {
        char title[64] = "";
        GetWindowTextA(dialog, title, sizeof title);
        if (std::string(title).rfind("Properties of", 0) == 0)
            return dialog;
    }
    return nullptr;
}

struct Raw {
    bool checked;
    double floor; // seconds
};

// The operation's messages without its sleeps, waits spinning instead of
// polling; the floor adds the sleeps to them.
Raw RawGetShowGrid(HWND chartArea, HWND chart)
{
    const double start = Bench::Now();
    SendMessageA(chartArea, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(GetParent(chart)), 0);
    const double activated = Bench::Now();
    PostMessageA(chart, WM_COMMAND, 33157, 0);
    HWND dialog = nullptr;
    while (!(dialog = PropertiesDialog()))
        Sleep(0);
    const double shown = Bench::Now();
    SendMessageA(GetDlgItem(dialog, 0x3020), TCM_SETCURFOCUS, 1, 0);
    HWND page = FindWindowExA(dialog, nullptr, "#32770", "Common");
    const bool checked = SendMessageA(GetDlgItem(page, 1253), BM_GETCHECK, 0, 0) == BST_CHECKED;
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    while (IsWindow(dialog))
        Sleep(0);
    const double gone = Bench::Now();
    return { checked,
        (activated - start) + ActivationSleep + std::max(CommandSleep, shown - activated) + (gone - shown) };
}

// The floor of enumerating the charts: the chart area's descendants and the
// class name of each, the charts copied into the caller's array.
BOOL CALLBACK AddChart(HWND window, LPARAM found)
{
    char name[64];
    if (GetClassNameA(window, name, sizeof name) && std::strncmp(name, "AfxFrameOrView", 14) == 0)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

int RawCharts(HWND chartArea, int32_t* handles, size_t size)
{
    std::vector<HWND> charts;
    EnumChildWindows(chartArea, AddChart, reinterpret_cast<LPARAM>(&charts));
    const size_t count = std::min(size, charts.size());
    for (size_t i = 0; i < count; ++i)
        handles[i] = static_cast<int32_t>(reinterpret_cast<INT_PTR>(charts[i]));
    return static_cast<int>(count);
}

} // namespace

BENCHMARK(ChartGetShowGrid)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    const auto getShowGrid = library.Get<Support::IntOfIntFn>("VelmorGetShowGrid");
    HWND chart = terminal.Handles().chartViews.back();
    const auto id = static_cast<int32_t>(reinterpret_cast<INT_PTR>(chart));
    if (getShowGrid(id) != 1 || !RawGetShowGrid(terminal.Handles().chartArea, chart).checked)
        throw std::runtime_error("the grid of the chart did not read as shown");
    std::vector<double> library_, floor;
    for (int i = 0; i < Runs; ++i) {
        library_.push_back(Bench::Seconds([&] { getShowGrid(id); }));
        floor.push_back(RawGetShowGrid(terminal.Handles().chartArea, chart).floor);
    }
    const auto [libraryTime, floorTime] = Bench::Paired(library_, floor);
    return { Bench::Row::Time(
        "VelmorGetShowGrid end to end (floor: 5 + 50 ms of sleeps, raw messages)", libraryTime, floorTime, 1.2) };
}

BENCHMARK(ChartEnumeration)
{
    constexpr int Charts = 100;
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.charts.assign(Charts, StandIn::ChartSpec { "EURUSD", 60 });
    StandIn::Terminal terminal(scenario);
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    const auto allCharts = library.Get<int32_t(WINAPI*)(int32_t*, uint32_t)>("VelmorGetAllHandlesCharts");
    HWND chartArea = terminal.Handles().chartArea;
    int32_t byLibrary[Charts] = {}, byRaw[Charts] = {};
    // The export gives the first chart's handle and fills the array.
    if (RawCharts(chartArea, byRaw, Charts) != Charts || allCharts(byLibrary, Charts) != byRaw[0]
        || !std::equal(byLibrary, byLibrary + Charts, byRaw))
        throw std::runtime_error("the library and the raw enumeration found different charts");
    const auto [libraryTime, floorTime] = Bench::MedianPairPerCall(
        Runs, 20, [&] { allCharts(byLibrary, Charts); }, [&] { RawCharts(chartArea, byRaw, Charts); });
    return { Bench::Row::Time(
        "VelmorGetAllHandlesCharts, 100 charts, per call (floor: raw window walk)",
        libraryTime, floorTime, 1.2) };
}
