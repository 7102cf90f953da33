// A terminal that never answers (no dialog shows, no command is carried out, its interface thread busy a second
// after each): every export returns within its reference bound unless that says its wait has no end, and from an
// indicator it is refused at once or keeps that bound. One export per kind of bound (and wide), or "--all".
#include <gtest/gtest.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <regex>
#include <set>
#include "ExportTable.h"
#include "StandIn.h"
#include "standin/Helpers.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

namespace {

using namespace Hardening;

bool g_all = false;
constexpr DWORD BusyMs = 1000;
constexpr long long SlackMs = 5 * BusyMs + 2000;  // the busy second after each of a few commands, and the box

// The sum of every "<n> s" the bound names; 0 for "none".
long long BoundMs(const Export& what)
{
    static const std::regex seconds(R"((\d+) s\b)");
    long long total = 0;
    for (auto it = std::sregex_iterator(what.bound.begin(), what.bound.end(), seconds); it != std::sregex_iterator(); ++it)
        total += std::stoll((*it)[1]) * 1000;
    return total;
}

TEST(SilentTerminal, EveryExportReturnsWithinItsBoundOrIsAWaitWithoutEnd)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.silent = true;
    scenario.busyMs = BusyMs;
    StandIn::Terminal terminal(scenario);
    Support::Library library;
    Support::BoxWatcher boxes;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    Windows windows { terminal.Handles().chartViews.at(0), terminal.Handles().main };

    // VelmorInit's bounds are the start-up failure tests'; VelmorMetaTraderClose ends the terminal: called last.
    std::vector<const Export*> order;
    std::set<std::string> bounds;
    for (const Export& what : Exports())
        if (what.name != "VelmorInit" && what.name != "VelmorMetaTraderClose" && Address(what)
            && (g_all || bounds.insert(what.bound.substr(0, what.bound.find(':')) + (what.wide ? " wide" : "")).second))
            order.push_back(&what);
    order.push_back(&ExportNamed("VelmorMetaTraderClose"));

    std::printf("%-34s %9s %9s %9s  %s\n", "export", "took ms", "from ind.", "bound ms", "bound");
    for (const Export* what : order) {
        const Values values = SoundValues(*what, windows);  // kept while the calls use their memory
        auto timed = [&] {
            const auto start = std::chrono::steady_clock::now();
            Invoke(*what, SlotsOf(values));
            return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        };
        const long long ms = timed();
        boxes.Take();
        long long indicatorMs = 0;
        terminal.OnUiThread([&] { indicatorMs = timed(); });
        boxes.Take();
        const bool unbounded = what->bound.find("no end") != std::string::npos;
        const long long bound = BoundMs(*what);
        std::printf("%-34s %9lld %9lld %9s  %s\n", what->name.c_str(), ms, indicatorMs,
            unbounded ? "no end" : std::to_string(bound).c_str(), what->bound.c_str());
        std::fflush(stdout);
        if (what->indicator == "refused") {
            EXPECT_LT(indicatorMs, 1000) << what->name;
        } else if (!unbounded) {
            EXPECT_LE(ms, bound + SlackMs) << what->name << ": " << what->bound;
            EXPECT_LE(indicatorMs, bound + SlackMs) << what->name << " from an indicator: " << what->bound;
        }
        for (HWND window : StandInTest::WindowsOfThisProcess())  // what a call left open, cancelled as a user would
            if (!GetParent(window) && StandInTest::ClassOf(window) == "#32770"
                && GetWindowThreadProcessId(window, nullptr) == terminal.UiThread())
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    library.Get<Support::VoidOfIntFn>("VelmorStopRefreshAllCharts")(1);
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        g_all = g_all || std::strcmp(argv[i], "--all") == 0;
    return RUN_ALL_TESTS();
}
