// Start-up against stand-ins in this process: language, names, every panel, list and tree found, the named mutexes.
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>
#include "MT4/Windows.h"
#include "StandIn.h"

namespace {

using MT4::Name;
using StandIn::PanelId;
using StandIn::ToolbarId;

TEST(DiscoveryTest, EveryPanelListAndTreeIsFoundWithTheTerminalsNames)
{
    const struct {
        const char* scenario; MT4::Language language; std::map<Name, std::string> texts; std::pair<const char*, int> tab;
    } rows[] = {
        { "english", MT4::Language::English,
            { { Name::TerminalMailbox, "Mailbox" }, { Name::OfflineChart, "OpenRead Offline Chart" } }, { "Mailbox", 4 } },
        { "russian", MT4::Language::Russian,
            { { Name::TerminalMailbox, "Почтовый ящик" }, { Name::NavigatorCustomIndicators, "Пользовательские Индикаторы" } },
            { "Журнал", 6 } },
        { "floating", MT4::Language::English, {}, { "Mailbox", 4 } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.scenario);
        StandIn::Terminal terminal(StandIn::Scenario::Named(row.scenario));
        const StandIn::Windows& handles = terminal.Handles();
        MT4::Windows found;
        found.Init(0);
        EXPECT_EQ(found.GetLanguage(), row.language);
        for (const auto& [name, text] : row.texts)
            EXPECT_EQ(found.Text(name), text);
        EXPECT_EQ(found.ProcessId(), GetCurrentProcessId());
        EXPECT_NE(found.InternalMessage(), 0u);
        EXPECT_EQ(found.MainWindow(), handles.main);
        EXPECT_EQ(found.ChartArea(), handles.chartArea);
        EXPECT_EQ(found.StandardDock(), handles.standardDock);
        for (const auto& [name, panel] : { std::pair { Name::DataWindow, PanelId::DataWindow },
                 { Name::MarketWatch, PanelId::MarketWatch }, { Name::Navigator, PanelId::Navigator },
                 { Name::Terminal, PanelId::Terminal }, { Name::Tester, PanelId::Tester } })
            EXPECT_EQ(found.Panel(found.Text(name)), handles.panel[static_cast<int>(panel)]);
        for (const auto& [name, toolbar] : { std::pair { Name::ChartsToolbar, ToolbarId::Charts },
                 { Name::LineStudiesToolbar, ToolbarId::LineStudies },
                 { Name::PeriodicityToolbar, ToolbarId::Periodicity } })
            EXPECT_EQ(found.Panel(found.Text(name)), handles.toolbar[static_cast<int>(toolbar)]);
        EXPECT_EQ(found.Control(found.Text(Name::DataWindow)), handles.dataWindowList);
        EXPECT_EQ(found.Control(found.Text(Name::MarketWatch)), handles.marketWatchList);
        EXPECT_EQ(found.Control(found.Text(Name::Navigator)), handles.navigatorTree);
        const std::vector<std::string>& tabs = found.TerminalTabs().names;
        ASSERT_EQ(tabs.size(), 7u);
        EXPECT_EQ(found.TerminalTabs().index.at(row.tab.first), row.tab.second);
        for (int tab : { 0, 1, 2, 3, 4, 6 })
            EXPECT_EQ(found.Control(tabs[tab]), handles.terminalLists.at(tab)) << "tab " << tab;
        EXPECT_EQ(found.Control(tabs[5]), nullptr);  // the Experts list is not kept
        if (row.language == MT4::Language::Russian)
            continue;
        EXPECT_EQ(found.OptionsTabs().names, (std::vector<std::string> { "Server", "Charts", "Objects", "Trade",
                                                 "Expert Advisors", "Email", "Publisher", "Events" }));
        EXPECT_EQ(found.TesterTabs().index.at("Jornal"), 1);
        const char* const mutexes[] = { "ActiveChart_", "DataWindow_", "DeleteIndicators_", "MarketWatch_",
            "Navigator_", "Terminal_", "Tester_", "TickIndicators_" };
        for (int id = 0; id < MT4::Windows::MutexCount; ++id) {
            Utils::Sync::Mutex& mutex = found.GetMutex(static_cast<MT4::Windows::MutexId>(id));
            EXPECT_EQ(mutex.Name(), "MT4::Windows::Mutex_" + (mutexes[id] + std::to_string(GetCurrentProcessId())));
            EXPECT_NE(mutex.Handle(), nullptr);
        }
    }
}

TEST(DiscoveryTest, SixTerminalListsFailWithOutOfRangeAfterKeepingTheFirstFive)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("six-lists"));
    MT4::Windows found;
    EXPECT_THROW(found.Init(0), std::out_of_range);
    EXPECT_EQ(found.Control("Mailbox"), terminal.Handles().terminalLists.at(4));
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(MT4::Windows::ExecutablePath(GetCurrentProcessId()), path);  // the first module of the process
}

}  // namespace
