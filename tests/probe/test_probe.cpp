// The probe against stand-ins in this process: what it reports for a complete
// terminal in each language and placement, and how it reports what is missing.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "Probe.h"
#include "StandIn.h"
#include "support/StandInProcess.h"

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

// The report as (label, value) pairs; continuation lines have an empty label.
Lines Parse(const std::string& text)
{
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::string label = line.substr(0, 34);
        lines.emplace_back(label.substr(0, label.find_last_not_of(' ') + 1), line.substr(34));
    }
    return lines;
}

std::string Value(const Lines& lines, const std::string& label)
{
    for (const auto& line : lines)
        if (line.first == label)
            return line.second;
    return "(no line " + label + ")";
}

std::string Hex(HWND window)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

std::string Class(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

TEST(ProbeTest, RussianTerminalIsFoundCompletelyWithItsHandlesClassesChartsAndSymbols)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("russian"));
    const StandIn::Windows& w = terminal.Handles();
    const Probe::Report report = Probe::Run(0);
    const Lines lines = Parse(report.text);

    EXPECT_EQ(report.missing, 0) << report.text;
    EXPECT_EQ(Value(lines, "process"), std::to_string(GetCurrentProcessId()));
    // This test program carries no version resource.
    EXPECT_EQ(Value(lines, "build"), "unknown: the executable carries no file version");
    EXPECT_EQ(Value(lines, "header"), "unknown: RazozazER4.mqh from build 600, RazozazER4Ansi.mqh before");
    EXPECT_EQ(Value(lines, "main window"), "found " + Hex(w.main) + " \"MetaQuotes::MetaTrader::4.00\"");
    EXPECT_EQ(Value(lines, "chart area"), "found " + Hex(w.chartArea) + " \"" + Class(w.chartArea) + "\"");
    EXPECT_EQ(Value(lines, "language"), "Russian (32025)");
    EXPECT_EQ(Value(lines, "panel \"Обзор рынка\""),
        "found " + Hex(w.panel[static_cast<int>(StandIn::PanelId::MarketWatch)]) + " \""
            + Class(w.panel[static_cast<int>(StandIn::PanelId::MarketWatch)]) + "\"");
    EXPECT_EQ(Value(lines, "Market Watch list"), "found " + Hex(w.marketWatchList) + " \"SysListView32\"");
    EXPECT_EQ(Value(lines, "Navigator tree"), "found " + Hex(w.navigatorTree) + " \"SysTreeView32\"");
    EXPECT_EQ(Value(lines, "Terminal lists"), "7 \"SysListView32\", one per tab");
    EXPECT_EQ(Value(lines, "charts"), "3");
    EXPECT_EQ(Value(lines, "Market Watch symbols"), "5");
    EXPECT_EQ(Value(lines, "login: password field").substr(16), " \"Edit\"");
    EXPECT_EQ(Value(lines, "result"), "everything the library relies on was found");
}

TEST(ProbeTest, FloatingPanelsAreReportedWithTheirFramesClassAndTitle)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("floating"));
    const StandIn::Windows& w = terminal.Handles();
    const Probe::Report report = Probe::Run(0);
    const Lines lines = Parse(report.text);

    EXPECT_EQ(report.missing, 0) << report.text;
    EXPECT_EQ(Value(lines, "language"), "English (32000)");
    const HWND frame = w.floatingFrame[static_cast<int>(StandIn::PanelId::Navigator)];
    ASSERT_NE(frame, nullptr);
    // The placement line follows its panel's line.
    size_t panel = 0;
    while (panel + 1 < lines.size() && lines[panel].first != "panel \"Navigator\"")
        ++panel;
    ASSERT_LT(panel + 1, lines.size()) << report.text;
    EXPECT_EQ(lines[panel + 1].second, "floating in \"" + Class(frame) + "\" \"Navigator\"");
    EXPECT_EQ(Value(lines, "panel \"Navigator\"").substr(0, 16), "found " + Hex(w.panel[2]));
}

TEST(ProbeTest, MissingTerminalListIsCountedAndNamedWhileEverythingElseIsStillReported)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("six-lists"));
    const Probe::Report report = Probe::Run(0);
    const Lines lines = Parse(report.text);

    EXPECT_EQ(report.missing, 1) << report.text;
    const std::string head = "MISSING: 6 \"SysListView32\" for 7 tabs (Системная ошибка! ";
    EXPECT_EQ(Value(lines, "Terminal lists").substr(0, head.size()), head);
    EXPECT_EQ(Value(lines, "charts"), "3");
    EXPECT_EQ(Value(lines, "Market Watch symbols"), "5");
    EXPECT_EQ(Value(lines, "result"), "1 missing: the library cannot serve this terminal build fully");
}

TEST(ProbeTest, NoChartsAndNoSymbolsAreCountsNotFailures)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.charts.clear();
    scenario.marketWatch.clear();
    StandIn::Terminal terminal(scenario);
    const Probe::Report report = Probe::Run(0);
    const Lines lines = Parse(report.text);

    EXPECT_EQ(report.missing, 0) << report.text;
    EXPECT_EQ(Value(lines, "charts"), "0");
    EXPECT_EQ(Value(lines, "Market Watch symbols"), "0");
}

TEST(ProbeTest, TerminalInAnotherProcessIsReportedWithItsBuildAndTheHeaderItNeeds)
{
    Support::StandInProcess terminal("english");
    const Probe::Report report = Probe::Run(terminal.Pid());
    const Lines lines = Parse(report.text);

    EXPECT_EQ(report.missing, 0) << report.text;
    EXPECT_EQ(Value(lines, "executable"), Support::StandInProcess::Directory() + "standin.exe");
    EXPECT_EQ(Value(lines, "build"), "1420 (file version 4.0.0.1420)");
    EXPECT_EQ(Value(lines, "header"), "RazozazER4.mqh (build 600 and later: texts through the W functions)");
    EXPECT_EQ(terminal.Close(), 0u);
}
