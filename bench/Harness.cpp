// Runs every registered benchmark (or those whose name contains an argument)
// and prints one table: what was measured, the library's figure, the floor
// measured in the same run, their ratio and the target.
#include "Harness.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace Bench {

namespace {

struct Entry {
    const char* name;
    Function function;
};

std::vector<Entry>& Registry()
{
    static std::vector<Entry> entries;
    return entries;
}

// The order of the table; a benchmark not named here comes after these.
const char* const Order[] = { "FrameFastPath", "MarketWatchGetAllSymbols", "ListViewGetTextItem", "ChartGetShowGrid",
    "RefreshPass", "RefreshIdleCpu", "TreeViewGetText", "ChartEnumeration" };

size_t Rank(const char* name)
{
    const auto found = std::find_if(std::begin(Order), std::end(Order),
        [name](const char* ordered) { return std::string(ordered) == name; });
    return static_cast<size_t>(found - std::begin(Order));
}

// A figure with its spread: "412.3 us +-3%", "10583 rows/s +-2%".
std::string Figure(const Row& row, const Timing& timing)
{
    char text[64];
    const double seconds = timing.median;
    if (seconds == 0)
        std::snprintf(text, sizeof text, "0 s");
    else if (row.items > 0)
        std::snprintf(text, sizeof text, "%.0f %s/s", row.items / seconds, row.unit.c_str());
    else if (seconds < 1e-6)
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    else if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    else if (seconds < 1)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.3f s", seconds);
    char spread[16] = "";
    if (timing.spread > 0)
        std::snprintf(spread, sizeof spread, " +-%.0f%%", timing.spread * 100);
    return std::string(text) + spread;
}

void Print(const std::vector<Row>& rows, const std::vector<std::string>& failures)
{
    size_t width = 8;
    for (const Row& row : rows)
        width = std::max(width, row.what.size());
    const int w = static_cast<int>(width);
    std::printf("%-*s  %4s  %22s  %22s  %8s  %9s\n", w, "measured", "runs", "library (median +-IQR)",
        "floor (same run)", "ratio*", "target");
    std::printf("%s\n", std::string(width + 77, '-').c_str());
    for (const Row& row : rows) {
        const double ratio = row.library.ratio > 0 ? row.library.ratio : row.library.median / row.floor.median;
        char target[16] = "-";
        if (row.target != NoTarget)
            std::snprintf(target, sizeof target, "<= %g", row.target);
        const bool over = row.target != NoTarget && ratio > row.target;
        std::printf("%-*s  %4zu  %22s  %22s  %8.4g  %9s%s\n", w, row.what.c_str(), row.library.runs,
            Figure(row, row.library).c_str(), Figure(row, row.floor).c_str(), ratio, target, over ? "  over" : "");
    }
    std::printf("* the median of the run-by-run ratios, library run and floor run taken in turns\n");
    for (const std::string& failure : failures)
        std::printf("failed: %s\n", failure.c_str());
}

}  // namespace

Registration::Registration(const char* name, Function function) { Registry().push_back({ name, function }); }

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

}  // namespace Bench

int main(int argc, char** argv)
{
    std::vector<Bench::Row> rows;
    std::vector<std::string> failures;
    std::vector<Bench::Entry> entries = Bench::Registry();
    std::stable_sort(entries.begin(), entries.end(),
        [](const Bench::Entry& a, const Bench::Entry& b) { return Bench::Rank(a.name) < Bench::Rank(b.name); });
    for (const auto& entry : entries) {
        bool wanted = argc < 2;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || std::string(entry.name).find(argv[i]) != std::string::npos;
        if (!wanted)
            continue;
        std::fprintf(stderr, "running %s\n", entry.name);
        try {
            const std::vector<Bench::Row> measured = entry.function();
            rows.insert(rows.end(), measured.begin(), measured.end());
        } catch (const std::exception& error) {
            failures.push_back(std::string(entry.name) + ": " + error.what());
        } catch (const std::string& text) {
            failures.push_back(std::string(entry.name) + ": " + text);
        } catch (const char* text) {
            failures.push_back(std::string(entry.name) + ": " + text);
        }
    }
    Bench::Print(rows, failures);
    return failures.empty() ? 0 : 1;
}
