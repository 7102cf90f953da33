// Runs every registered benchmark (or those whose name contains an argument)
// and prints one table: what was measured, the library's figure, the floor
// measured in the same run, their ratio and the target.
#include "Harness.h"

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

std::string Figure(const Row& row, double seconds)
{
    char text[64];
    if (row.items > 0)
        std::snprintf(text, sizeof text, "%.0f %s/s", row.items / seconds, row.unit.c_str());
    else
        std::snprintf(text, sizeof text, "%.3f ms", seconds * 1000);
    return text;
}

void Print(const std::vector<Row>& rows, const std::vector<std::string>& failures)
{
    size_t width = 8;
    for (const Row& row : rows)
        width = std::max(width, row.what.size());
    const int w = static_cast<int>(width);
    std::printf("%-*s  %16s  %16s  %6s  %8s\n", w, "measured", "library", "floor", "ratio", "target");
    std::printf("%s\n", std::string(width + 56, '-').c_str());
    for (const Row& row : rows) {
        const double ratio = row.library / row.floor;
        char target[16];
        std::snprintf(target, sizeof target, "<= %.2f", row.target);
        std::printf("%-*s  %16s  %16s  %6.2f  %8s%s\n", w, row.what.c_str(), Figure(row, row.library).c_str(),
            Figure(row, row.floor).c_str(), ratio, target, ratio <= row.target ? "" : "  over");
    }
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
    for (const auto& entry : Bench::Registry()) {
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
