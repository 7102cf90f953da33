#pragma once
// The benchmark harness: each benchmark measures the library against a floor
// in the same run and gives table rows; `make bench` runs them all and prints
// one table.
//
// Adding a benchmark: a .cpp file in bench/ (listed in bench/CMakeLists.txt)
// with
//     BENCHMARK(ChartGetShowGrid)
//     {
//         ...set up...
//         const auto [library, floor] = Bench::MedianPair(20, [&] { ... }, [&] { ... });
//         return { Bench::Row::Time("VelmorGetShowGrid, median of 20", library, floor, 1.2) };
// Each figure is the median of its runs, shown with its spread.
//     }
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace Bench {

// Seconds: the median of several runs and their spread, the distance between
// the first and the third quartile as a share of the median (0 for a single
// figure).
struct Timing {
    double median = 0;
    double spread = 0;
    size_t runs = 1;
    // Timed in turns with a floor: the median of the run-by-run ratios to the
    // floor's run next to it (0: not paired). A slow phase of the shared
    // machine weighs on both runs of a pair alike.
    double ratio = 0;

    Timing(double seconds = 0) : median(seconds) { }
    // The median and spread of `times`, one per run.
    static Timing Of(std::vector<double> times)
    {
        Timing timing;
        if (times.empty())
            return timing;
        std::sort(times.begin(), times.end());
        const size_t n = times.size();
        timing.runs = n;
        timing.median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
        if (timing.median > 0)
            timing.spread = (times[(3 * (n - 1)) / 4] - times[(n - 1) / 4]) / timing.median;
        return timing;
    }
};

// A row shown for comparison only.
inline constexpr double NoTarget = -1;

struct Row {
    std::string what;     // what was measured
    Timing library;       // seconds the library took
    Timing floor;         // seconds the floor took, measured in the same run
    double target;        // the highest acceptable ratio library / floor, or NoTarget
    double items = 0;     // when not 0: shown as items per second
    std::string unit;     // the items' name ("rows")

    // Figures shown as times.
    static Row Time(std::string what, Timing library, Timing floor, double target)
    {
        return { std::move(what), library, floor, target, 0, "" };
    }
    // Figures shown as a rate: `items` done in the measured time.
    static Row Rate(std::string what, Timing library, Timing floor, double target, double items, std::string unit)
    {
        return { std::move(what), library, floor, target, items, std::move(unit) };
    }
};

using Function = std::vector<Row> (*)();

// Registers a benchmark under a name; BENCHMARK does it.
struct Registration {
    Registration(const char* name, Function function);
};

// Seconds since an arbitrary start, from the performance counter.
double Now();

// Seconds one call of `work` takes.
template <class Work>
double Seconds(Work&& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

// The median and spread of `runs` timings of `work`.
template <class Work>
Timing Median(int runs, Work&& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(Seconds(work));
    return Timing::Of(times);
}

// The timings of the library's runs and of its floor's, run i of each taken
// right after the other: {library, floor}, the library's with its paired ratio.
inline std::pair<Timing, Timing> Paired(const std::vector<double>& library, const std::vector<double>& floor)
{
    std::pair<Timing, Timing> timings { Timing::Of(library), Timing::Of(floor) };
    std::vector<double> ratios;
    for (size_t i = 0; i < library.size() && i < floor.size(); ++i)
        if (floor[i] > 0)
            ratios.push_back(library[i] / floor[i]);
    timings.first.ratio = Timing::Of(ratios).median;
    return timings;
}

// `runs` timings of several kinds of work, taken in turns: the seconds of
// each work's runs, in the order the works are given. One work can then be
// paired with more than one floor.
template <class... Works>
std::vector<std::vector<double>> Turns(int runs, Works&&... works)
{
    std::vector<std::vector<double>> times(sizeof...(Works));
    for (int i = 0; i < runs; ++i) {
        size_t k = 0;
        (times[k++].push_back(Seconds(works)), ...);
    }
    return times;
}

// `runs` timings of two kinds of work, taken in turns: {first, second}.
template <class First, class Second>
std::pair<Timing, Timing> MedianPair(int runs, First&& first, Second&& second)
{
    const auto times = Turns(runs, first, second);
    return Paired(times[0], times[1]);
}

// The same for work too short to time alone: each run times `calls` calls
// and counts the seconds of one.
template <class First, class Second>
std::pair<Timing, Timing> MedianPairPerCall(int runs, int calls, First&& first, Second&& second)
{
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(Seconds([&] {
            for (int call = 0; call < calls; ++call)
                first();
        }) / calls);
        b.push_back(Seconds([&] {
            for (int call = 0; call < calls; ++call)
                second();
        }) / calls);
    }
    return Paired(a, b);
}

}  // namespace Bench

#define BENCHMARK(name)                                                                    \
    static std::vector<Bench::Row> Benchmark_##name();                                     \
    static const Bench::Registration Registration_##name(#name, &Benchmark_##name);       \
    static std::vector<Bench::Row> Benchmark_##name()
