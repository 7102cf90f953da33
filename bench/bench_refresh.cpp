// A refresh pass of the chart refresh engine over 10, 50 and 100 charts
// against its floor, the two threaded sends of every chart measured alone in
// the same run; and the engine's CPU time over 5 s with an empty table.
#include "Harness.h"

#include <algorithm>

#include "MT4/RefreshChart.h"
#include "MT4/Windows.h"
#include "StandIn.h"
#include "exports/Init.h"

namespace {

constexpr int Runs = 5;

StandIn::Scenario WithCharts(int count)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.charts.assign(static_cast<size_t>(count), StandIn::ChartSpec { "EURUSD", 60 });
    return scenario;
}

size_t ExpertTicks(const std::vector<StandIn::Event>& events)
{
    return static_cast<size_t>(std::count_if(events.begin(), events.end(),
        [](const StandIn::Event& event) { return event.kind == StandIn::Event::Internal && event.wParam == 2; }));
}

Bench::Row Pass(int charts)
{
    StandIn::Terminal terminal(WithCharts(charts));
    DeInit();
    Init(0);
    Utils::Pointer<MT4::Windows> windows;
    Utils::Pointer<MT4::RefreshChart> engine;
    const std::vector<HWND>& views = terminal.Handles().chartViews;
    const auto [library, floor] = Bench::MedianPair(
        Runs,
        [&] {
            terminal.Log().Clear();
            engine->RefreshAllOnce();
            terminal.Log().WaitFor(
                [&](const std::vector<StandIn::Event>& events) { return ExpertTicks(events) >= views.size(); },
                60000);
        },
        [&] {
            for (HWND view : views) {
                windows->TickIndicators(view);
                windows->TickExpert(view);
            }
        });
    engine->StopAll(true);
    return Bench::Row::Time("refresh pass over " + std::to_string(charts) + " charts (floor: 2 threaded sends each)",
        library, floor, 1.1);
}

}  // namespace

BENCHMARK(RefreshPass)
{
    return { Pass(10), Pass(50), Pass(100) };
}

BENCHMARK(RefreshIdleCpu)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("no-charts"));
    DeInit();
    Init(0);
    Utils::Pointer<MT4::RefreshChart> engine;
    auto cpu = [] {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        auto seconds = [](const FILETIME& time) {
            return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) / 1e7;
        };
        return seconds(kernel) + seconds(user);
    };
    engine->RefreshAll(100);  // no chart: the worker finds an empty table and ends
    const double start = cpu();
    Sleep(5000);
    const double used = cpu() - start;
    engine->StopAll(true);
    return { Bench::Row::Time("refresh engine with an empty table: CPU time of the process over 5 s", used, 5.0,
        0.001) };
}
