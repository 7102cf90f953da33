// A refresh pass of the chart refresh engine over 10, 50 and 100 charts
// against its floors, measured in the same run: the two threaded sends of
// every chart alone, and the same two messages of every chart sent bare from
// this thread (no thread per send); and the engine's CPU time over 5 s with an
// empty table.
#include "Harness.h"

#include <stdexcept>

#include "MT4/RefreshChart.h"
#include "MT4/Windows.h"
#include "StandIn.h"
#include "Utils/Wait.h"
#include "exports/Init.h"

namespace {

constexpr int Runs = 11;

StandIn::Scenario WithCharts(int count)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.charts.assign(static_cast<size_t>(count), StandIn::ChartSpec { "EURUSD", 60 });
    return scenario;
}

// The ticks of every chart, as the terminal counted them.
std::vector<std::pair<size_t, size_t>> AllTicks(StandIn::Terminal& terminal)
{
    std::vector<std::pair<size_t, size_t>> ticks;
    for (HWND view : terminal.Handles().chartViews)
        ticks.push_back({ terminal.Ticks().Of(view).indicators, terminal.Ticks().Of(view).expert });
    return ticks;
}

// The two messages a pass sends each chart, in its order, each by a plain
// SendMessage from this thread: the indicators' command and the expert's
// internal message.
void BareSends(const std::vector<HWND>& views, UINT internalMessage)
{
    for (HWND view : views) {
        SendMessageA(view, WM_COMMAND, 33324, 0);
        SendMessageA(view, internalMessage, 2, 1);
    }
}

// One pass of the engine: started, and over once the worker has let go of its
// record (it does so right after its last send returned). The end is polled
// every millisecond: a waiter woken by each of the terminal's journal entries
// would itself take a tenth of the pass from the two cores.
void EnginePass(MT4::RefreshChart& engine)
{
    engine.RefreshAllOnce();
    if (!Utils::Wait::Until([&] { return !engine.Snapshot().working; }, 1, 60000))
        throw std::runtime_error("the refresh pass did not end");
}

std::vector<Bench::Row> Pass(int charts)
{
    StandIn::Terminal terminal(WithCharts(charts));
    DeInit();
    Init(0);
    Utils::Pointer<MT4::Windows> windows;
    Utils::Pointer<MT4::RefreshChart> engine;
    const std::vector<HWND>& views = terminal.Handles().chartViews;
    // A pass and the bare sends each tick every chart's indicators and expert once.
    auto ticksEveryChartOnce = [&](const auto& pass) {
        std::vector<std::pair<size_t, size_t>> expected = AllTicks(terminal);
        for (auto& [indicators, expert] : expected)
            ++indicators, ++expert;
        pass();
        if (AllTicks(terminal) != expected)
            throw std::runtime_error("a pass did not tick every chart once");
    };
    ticksEveryChartOnce([&] { EnginePass(*engine); });
    ticksEveryChartOnce([&] { BareSends(views, windows->InternalMessage()); });
    const auto times = Bench::Turns(
        Runs, [&] { EnginePass(*engine); },
        [&] {
            for (HWND view : views) {
                windows->TickIndicators(view);
                windows->TickExpert(view);
            }
        },
        [&] { BareSends(views, windows->InternalMessage()); });
    engine->StopAll(true);
    const std::string what = "refresh pass over " + std::to_string(charts) + " charts";
    const auto [library, floor] = Bench::Paired(times[0], times[1]);
    const auto [againstBare, bareFloor] = Bench::Paired(times[0], times[2]);
    return { Bench::Row::Time(what + " (floor: 2 threaded sends a chart)", library, floor, 1.1),
        Bench::Row::Time(what + " (floor: " + std::to_string(2 * charts) + " bare cross-thread sends)", againstBare,
            bareFloor, 1.5) };
}

}  // namespace

BENCHMARK(RefreshPass)
{
    std::vector<Bench::Row> rows;
    for (int charts : { 10, 50, 100 })
        for (const Bench::Row& row : Pass(charts))
            rows.push_back(row);
    return rows;
}

// The engine after its worker found an empty table and ended: the CPU time
// the process takes over 5 s, less that of the stand-in terminal's own thread
// (its windows, not the library's).
BENCHMARK(RefreshIdleCpu)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("no-charts"));
    DeInit();
    Init(0);
    Utils::Pointer<MT4::RefreshChart> engine;
    auto seconds = [](const FILETIME& time) {
        return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) / 1e7;
    };
    HANDLE terminalThread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, terminal.UiThread());
    auto cpu = [&] {
        FILETIME created, exited, kernel, user, threadKernel, threadUser;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        GetThreadTimes(terminalThread, &created, &exited, &threadKernel, &threadUser);
        return seconds(kernel) + seconds(user) - seconds(threadKernel) - seconds(threadUser);
    };
    engine->RefreshAll(100);  // no chart: the worker finds an empty table and ends
    if (!Utils::Wait::Until([&] { return !engine->Snapshot().working; }, 10, 5000))
        throw std::runtime_error("the worker did not end with an empty table");
    const double start = cpu();
    Sleep(5000);
    const double used = cpu() - start;
    const MT4::RefreshChart::State state = engine->Snapshot();
    engine->StopAll(true);
    CloseHandle(terminalThread);
    if (state.working || state.mode != MT4::RefreshChart::Idle)
        throw std::runtime_error("the engine was not idle");
    return { Bench::Row::Time(
        "refresh engine idle, CPU over 5 s (process less the terminal's thread)", used,
        5.0, 0) };
}
