// A terminal that never answers: no dialog shows, no window carries out a
// command, and its interface thread is busy for a second after each one it
// receives. Every export, called with sound arguments as its table rows give
// them, returns within the bound its reference row gives, unless that row
// says its wait has no end; called again on the terminal's interface thread,
// as an indicator calls it, it is refused at once or keeps the same bound.
// The times of each export are printed.
//
// Without arguments one export of each kind of bound (a dialog, a send, a
// control, ...) is called, and one wide export of each; "--all" calls every
// export (several minutes).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <regex>
#include <set>

#include "ExportTable.h"
#include "HostileValues.h"
#include "StandIn.h"
#include "standin/Helpers.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

namespace {

using namespace Hardening;

bool g_all = false;
constexpr DWORD BusyMs = 1000;

// What a call may take beyond its own bound: the terminal's busy second
// after each of a few commands, and the box the failure shows.
constexpr long long SlackMs = 5 * BusyMs + 2000;

const std::map<std::string, std::string> LeftOut = {
    { "VelmorInit", "start-up's own bounds are proved by the start-up failure tests" },
};
// Ends the terminal: called last.
const std::string Last = "VelmorMetaTraderClose";

// A wait the reference gives as without end.
bool Unbounded(const Export& what)
{
    return what.bound.find("no end") != std::string::npos;
}

// The bound of a reference row in ms: the sum of every "<n> s" it names (a
// wait to show and one to go, a send and a dialog); 0 for "none".
long long BoundMs(const Export& what)
{
    static const std::regex seconds(R"((\d+) s\b)");
    long long total = 0;
    for (auto it = std::sregex_iterator(what.bound.begin(), what.bound.end(), seconds); it != std::sregex_iterator();
         ++it)
        total += std::stoll((*it)[1]) * 1000;
    return total;
}

StandIn::Scenario Silent()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.silent = true;
    scenario.busyMs = BusyMs;
    return scenario;
}

TEST(SilentTerminal, EveryExportReturnsWithinItsBoundOrIsAWaitWithoutEnd)
{
    StandIn::Terminal terminal(Silent());
    Support::Library library;
    Support::BoxWatcher boxes;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    HMODULE module = GetModuleHandleA("RazozazER4.dll");

    Windows windows;
    windows.chart = terminal.Handles().chartViews.at(0);
    windows.terminalMain = terminal.Handles().main;

    std::vector<const Export*> order;
    std::set<std::string> bounds;
    const Export* last = nullptr;
    for (const Export& what : Exports()) {
        if (LeftOut.count(what.name) || !Address(module, what))
            continue;
        if (what.name == Last) {
            last = &what;
            continue;
        }
        if (!g_all && !bounds.insert(what.bound.substr(0, what.bound.find(':')) + (what.wide ? " wide" : "")).second)
            continue;
        order.push_back(&what);
    }
    if (last)
        order.push_back(last);

    std::printf("%-34s %9s %9s %9s  %s\n", "export", "took ms", "from ind.", "bound ms", "bound");
    for (const Export* what : order) {
        std::vector<Slot> slots;
        std::vector<std::shared_ptr<Value>> values;
        for (const Argument& argument : what->arguments) {
            values.push_back(Sound(argument, windows));
            slots.push_back(values.back()->Get());
        }
        auto timed = [&] {
            const auto start = std::chrono::steady_clock::now();
            Invoke(Address(module, *what), *what, slots);
            return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        };
        const long long ms = timed();
        boxes.Take();
        // The same call as an indicator makes it, on the terminal's interface
        // thread: refused at once, or within the same bound.
        long long indicatorMs = 0;
        terminal.OnUiThread([&] { indicatorMs = timed(); });
        boxes.Take();
        const long long bound = BoundMs(*what);
        std::printf("%-34s %9lld %9lld %9s  %s\n", what->name.c_str(), ms, indicatorMs,
            Unbounded(*what) ? "no end" : std::to_string(bound).c_str(), what->bound.c_str());
        std::fflush(stdout);
        if (what->indicator == "refused") {
            EXPECT_LT(indicatorMs, 1000) << what->name;
        } else if (!Unbounded(*what)) {
            EXPECT_LE(ms, bound + SlackMs) << what->name << ": " << what->bound;
            EXPECT_LE(indicatorMs, bound + SlackMs) << what->name << " from an indicator: " << what->bound;
        }
        // What a call left open or asked for, as a user would.
        for (HWND window : StandInTest::WindowsOfThisProcess()) {
            if (!GetParent(window) && StandInTest::ClassOf(window) == "#32770"
                && GetWindowThreadProcessId(window, nullptr) == terminal.UiThread())
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
    }
    library.Get<Support::VoidOfIntFn>("VelmorStopRefreshAllCharts")(1);
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--all") == 0)
            g_all = true;
    return RUN_ALL_TESTS();
}
