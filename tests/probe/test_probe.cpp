// The probe against stand-ins: what it reports for a complete terminal in each
// language and placement, and how it reports what is missing.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include "Probe.h"
#include "StandIn.h"
#include "support/StandInProcess.h"

namespace {

// The probe's report of process `pid`: its missing count and (label, value)
// lines, continuation lines with an empty label.
struct Lines {
    explicit Lines(DWORD pid) : report(Probe::Run(pid))
    {
        std::istringstream in(report.text);
        for (std::string line; std::getline(in, line);) {
            const std::string label = line.substr(0, 34);
            lines.emplace_back(label.substr(0, label.find_last_not_of(' ') + 1), line.substr(34));
        }
    }
    std::string operator[](const std::string& label) const
    {
        for (const auto& line : lines)
            if (line.first == label)
                return line.second;
        return "(no line " + label + ")";
    }
    Probe::Report report;
    std::vector<std::pair<std::string, std::string>> lines;
};

// "found 0x... "class"" for a window.
std::string Found(HWND window)
{
    char text[300];
    std::snprintf(text, 20, "found 0x%08lX \"", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    GetClassNameA(window, text + strlen(text), 256);
    return text + std::string("\"");
}

}  // namespace

TEST(ProbeTest, RussianTerminalIsFoundCompletelyWithItsHandlesClassesChartsAndSymbols)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("russian"));
    const StandIn::Windows& w = terminal.Handles();
    const Lines lines(0);
    EXPECT_EQ(lines.report.missing, 0) << lines.report.text;
    EXPECT_EQ(lines["process"], std::to_string(GetCurrentProcessId()));
    EXPECT_EQ(lines["build"], "unknown: the executable carries no file version");  // this test program
    EXPECT_EQ(lines["header"], "unknown: RazozazER4.mqh from build 600, RazozazER4Ansi.mqh before");
    EXPECT_EQ(lines["main window"], Found(w.main));
    EXPECT_EQ(lines["chart area"], Found(w.chartArea));
    EXPECT_EQ(lines["language"], "Russian (32025)");
    EXPECT_EQ(lines["panel \"Обзор рынка\""], Found(w.panel[static_cast<int>(StandIn::PanelId::MarketWatch)]));
    EXPECT_EQ(lines["Market Watch list"], Found(w.marketWatchList));
    EXPECT_EQ(lines["Navigator tree"], Found(w.navigatorTree));
    EXPECT_EQ(lines["Terminal lists"], "7 \"SysListView32\", one per tab");
    EXPECT_EQ(lines["charts"], "3");
    EXPECT_EQ(lines["Market Watch symbols"], "5");
    EXPECT_EQ(lines["login: password field"].substr(16), " \"Edit\"");
    EXPECT_EQ(lines["result"], "everything the library relies on was found");
}

TEST(ProbeTest, FloatingPanelsAreReportedWithTheirFramesClassAndTitle)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("floating"));
    const HWND frame = terminal.Handles().floatingFrame[static_cast<int>(StandIn::PanelId::Navigator)];
    ASSERT_NE(frame, nullptr);
    const Lines lines(0);
    EXPECT_EQ(lines.report.missing, 0) << lines.report.text;
    EXPECT_EQ(lines["language"], "English (32000)");
    EXPECT_EQ(lines["panel \"Navigator\""].substr(0, 16), Found(terminal.Handles().panel[2]).substr(0, 16));
    // The placement line follows its panel's line.
    const std::string frameClass = Found(frame).substr(17);
    auto panel = std::find_if(lines.lines.begin(), lines.lines.end(),
        [](const auto& line) { return line.first == "panel \"Navigator\""; });
    ASSERT_TRUE(panel != lines.lines.end() && panel + 1 != lines.lines.end()) << lines.report.text;
    EXPECT_EQ((panel + 1)->second, "floating in " + frameClass + " \"Navigator\"");
}

TEST(ProbeTest, MissingTerminalListIsCountedAndNamedWhileEverythingElseIsStillReported)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("six-lists"));
    const Lines lines(0);
    EXPECT_EQ(lines.report.missing, 1) << lines.report.text;
    const std::string head = "MISSING: 6 \"SysListView32\" for 7 tabs (Системная ошибка! ";
    EXPECT_EQ(lines["Terminal lists"].substr(0, head.size()), head);
    EXPECT_EQ(lines["charts"], "3");
    EXPECT_EQ(lines["Market Watch symbols"], "5");
    EXPECT_EQ(lines["result"], "1 missing: the library cannot serve this terminal build fully");
}

TEST(ProbeTest, NoChartsAndNoSymbolsAreCountsNotFailures)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.charts.clear();
    scenario.marketWatch.clear();
    StandIn::Terminal terminal(scenario);
    const Lines lines(0);
    EXPECT_EQ(lines.report.missing, 0) << lines.report.text;
    EXPECT_EQ(lines["charts"], "0");
    EXPECT_EQ(lines["Market Watch symbols"], "0");
}

TEST(ProbeTest, TerminalInAnotherProcessIsReportedWithItsBuildAndTheHeaderItNeeds)
{
    Support::StandInProcess terminal("english");
    const Lines lines(terminal.Pid());
    EXPECT_EQ(lines.report.missing, 0) << lines.report.text;
    EXPECT_EQ(lines["executable"], Support::StandInProcess::Directory() + "standin.exe");
    EXPECT_EQ(lines["build"], "1420 (file version 4.0.0.1420)");
    EXPECT_EQ(lines["header"], "RazozazER4.mqh (build 600 and later: texts through the W functions)");
    EXPECT_EQ(terminal.Close(), 0u);
}
