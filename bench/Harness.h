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
//         const double library = Bench::Median(20, [&] { ... });
//         const double floor = Bench::Median(20, [&] { ... });
//         return { Bench::Row::Time("VelmorGetShowGrid, median of 20", library, floor, 1.2) };
//     }
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace Bench {

struct Row {
    std::string what;     // what was measured
    double library;       // seconds the library took
    double floor;         // seconds the floor took, measured in the same run
    double target;        // the highest acceptable ratio library / floor
    double items = 0;     // when not 0: shown as items per second
    std::string unit;     // the items' name ("rows")

    // Figures shown as times.
    static Row Time(std::string what, double library, double floor, double target)
    {
        return { std::move(what), library, floor, target, 0, "" };
    }
    // Figures shown as a rate: `items` done in the measured time.
    static Row Rate(std::string what, double library, double floor, double target, double items, std::string unit)
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

// The median of `runs` timings of `work`.
template <class Work>
double Median(int runs, Work&& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(Seconds(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Medians of `runs` timings of two kinds of work, taken in turns so that a
// slow phase of the machine weighs on both alike: {first, second}.
template <class First, class Second>
std::pair<double, double> MedianPair(int runs, First&& first, Second&& second)
{
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(Seconds(first));
        b.push_back(Seconds(second));
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return { a[a.size() / 2], b[b.size() / 2] };
}

}  // namespace Bench

#define BENCHMARK(name)                                                                    \
    static std::vector<Bench::Row> Benchmark_##name();                                     \
    static const Bench::Registration Registration_##name(#name, &Benchmark_##name);       \
    static std::vector<Bench::Row> Benchmark_##name()
