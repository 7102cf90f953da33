// The probe against stand-ins: its report for a complete terminal in each language and placement, in this process
// and another, and how it counts and names what is missing.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include "Probe.h"
#include "StandIn.h"
#include "support/StandInProcess.h"

namespace {

using Expected = std::map<std::string, std::string>;  // label -> value; '?' matches any character, '*' any run

// The probe's report as label -> value, a continuation line (empty label) joined to its line after "\n".
std::map<std::string, std::string> LinesOf(const std::string& report)
{
    std::map<std::string, std::string> lines;
    std::string last;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        const std::string label = line.substr(0, line.substr(0, 34).find_last_not_of(' ') + 1);
        (label.empty() ? lines[last] += "\n" : lines[last = label]) += line.substr(34);
    }
    return lines;
}

bool Matches(const char* pattern, const char* text)
{
    if (*pattern == '*')
        return Matches(pattern + 1, text) || (*text && Matches(pattern, text + 1));
    return *pattern ? *text && (*pattern == '?' || *pattern == *text) && Matches(pattern + 1, text + 1) : !*text;
}

std::string Found(HWND window)
{
    char text[300];
    std::snprintf(text, 20, "found 0x%08lX \"", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    GetClassNameA(window, text + strlen(text), 256);
    return text + std::string("\"");
}

void ExpectReport(DWORD pid, int missing, const Expected& expected)
{
    const Probe::Report report = Probe::Run(pid);
    EXPECT_EQ(report.missing, missing) << report.text;
    const auto lines = LinesOf(report.text);
    for (const auto& [label, value] : expected)
        EXPECT_PRED2(Matches, value.c_str(), lines.count(label) ? lines.at(label).c_str() : "(no line)") << label;
}

TEST(ProbeTest, ReportsEachTerminalItsCountsAndWhatIsMissing)
{
    StandIn::Scenario empty = StandIn::Scenario::Named("english");
    empty.charts.clear();
    empty.marketWatch.clear();
    const std::string anyHandle = "found 0x????????";
    const struct {
        StandIn::Scenario scenario;
        int missing;
        std::function<Expected(const StandIn::Windows&)> expected;
    } rows[] = {
        { StandIn::Scenario::Named("russian"), 0, [&](const StandIn::Windows& w) {
             return Expected { { "process", std::to_string(GetCurrentProcessId()) },
                 { "build", "unknown: the executable carries no file version" },
                 { "header", "unknown: RazozazER4.mqh from build 600, RazozazER4Ansi.mqh before" },
                 { "main window", Found(w.main) }, { "chart area", Found(w.chartArea) }, { "language", "Russian (32025)" },
                 { "panel \"Обзор рынка\"", Found(w.panel[static_cast<int>(StandIn::PanelId::MarketWatch)]) + "*" },
                 { "Market Watch list", Found(w.marketWatchList) }, { "Navigator tree", Found(w.navigatorTree) },
                 { "Terminal lists", "7 \"SysListView32\", one per tab" }, { "charts", "3\n*" },
                 { "Market Watch symbols", "5" }, { "login: password field", anyHandle + " \"Edit\"" },
                 { "result", "everything the library relies on was found" } }; } },
        { StandIn::Scenario::Named("floating"), 0, [&](const StandIn::Windows& w) {
             const HWND frame = w.floatingFrame[static_cast<int>(StandIn::PanelId::Navigator)];
             return Expected { { "language", "English (32000)" }, { "panel \"Navigator\"", Found(w.panel[2]).substr(0, 16)
                 + "*\nfloating in " + Found(frame).substr(17) + " \"Navigator\"" } }; } },
        { StandIn::Scenario::Named("six-lists"), 1, [](const StandIn::Windows&) {
             return Expected { { "Terminal lists", "MISSING: 6 \"SysListView32\" for 7 tabs (Системная ошибка! *" },
                 { "charts", "3\n*" }, { "Market Watch symbols", "5" },
                 { "result", "1 missing: the library cannot serve this terminal build fully" } }; } },
        { empty, 0, [](const StandIn::Windows&) { return Expected { { "charts", "0" }, { "Market Watch symbols", "0" } }; } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        StandIn::Terminal terminal(row.scenario);
        ExpectReport(0, row.missing, row.expected(terminal.Handles()));
    }
    Support::StandInProcess other("english");
    ExpectReport(other.Pid(), 0, { { "executable", Support::StandInProcess::Directory() + "standin.exe" },
        { "build", "1420 (file version 4.0.0.1420)" },
        { "header", "RazozazER4.mqh (build 600 and later: texts through the W functions)" } });
    EXPECT_EQ(other.Close(), 0u);
}

}  // namespace
