// Start-up against the stand-in terminal in this process: the language, the
// localized names, every panel, toolbar, list and tree found where the
// terminal put it, the named mutexes, and the failures with their texts.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "MT4/Windows.h"
#include "StandIn.h"
#include "Utils/Errors.h"

namespace {

using MT4::Name;
using StandIn::PanelId;
using StandIn::ToolbarId;

HWND Panel(const StandIn::Windows& handles, PanelId id)
{
    return handles.panel[static_cast<int>(id)];
}

HWND Toolbar(const StandIn::Windows& handles, ToolbarId id)
{
    return handles.toolbar[static_cast<int>(id)];
}

// Discovers the terminal of this process into a fresh object.
std::unique_ptr<MT4::Windows> Discover()
{
    auto windows = std::make_unique<MT4::Windows>();
    windows->Init(0);
    return windows;
}

void ExpectEverythingFound(MT4::Windows& found, const StandIn::Windows& handles)
{
    EXPECT_EQ(found.MainWindow(), handles.main);
    EXPECT_EQ(found.ChartArea(), handles.chartArea);
    EXPECT_EQ(found.StandardDock(), handles.standardDock);
    EXPECT_EQ(found.Panel(found.Text(Name::DataWindow)), Panel(handles, PanelId::DataWindow));
    EXPECT_EQ(found.Panel(found.Text(Name::MarketWatch)), Panel(handles, PanelId::MarketWatch));
    EXPECT_EQ(found.Panel(found.Text(Name::Navigator)), Panel(handles, PanelId::Navigator));
    EXPECT_EQ(found.Panel(found.Text(Name::Terminal)), Panel(handles, PanelId::Terminal));
    EXPECT_EQ(found.Panel(found.Text(Name::Tester)), Panel(handles, PanelId::Tester));
    EXPECT_EQ(found.Panel(found.Text(Name::ChartsToolbar)), Toolbar(handles, ToolbarId::Charts));
    EXPECT_EQ(found.Panel(found.Text(Name::LineStudiesToolbar)), Toolbar(handles, ToolbarId::LineStudies));
    EXPECT_EQ(found.Panel(found.Text(Name::PeriodicityToolbar)), Toolbar(handles, ToolbarId::Periodicity));
    EXPECT_EQ(found.Control(found.Text(Name::DataWindow)), handles.dataWindowList);
    EXPECT_EQ(found.Control(found.Text(Name::MarketWatch)), handles.marketWatchList);
    EXPECT_EQ(found.Control(found.Text(Name::Navigator)), handles.navigatorTree);
    const std::vector<std::string>& tabs = found.TerminalTabs().names;
    ASSERT_EQ(tabs.size(), 7u);
    for (int tab : { 0, 1, 2, 3, 4, 6 })
        EXPECT_EQ(found.Control(tabs[tab]), handles.terminalLists.at(tab)) << "tab " << tab;
    EXPECT_EQ(found.Control(tabs[5]), nullptr);  // the Experts list is not kept
}

TEST(DiscoveryTest, EnglishTerminalIsFoundWithEveryPanelListAndTree)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    std::unique_ptr<MT4::Windows> found = Discover();
    EXPECT_EQ(found->GetLanguage(), MT4::Language::English);
    EXPECT_EQ(found->Text(Name::TerminalMailbox), "Mailbox");
    EXPECT_EQ(found->Text(Name::OfflineChart), "OpenRead Offline Chart");
    EXPECT_EQ(found->ProcessId(), GetCurrentProcessId());
    EXPECT_NE(found->InternalMessage(), 0u);
    ExpectEverythingFound(*found, terminal.Handles());
    EXPECT_EQ(found->OptionsTabs().names,
        (std::vector<std::string> { "Server", "Charts", "Objects", "Trade", "Expert Advisors", "Email", "Publisher",
            "Events" }));
    EXPECT_EQ(found->TesterTabs().index.at("Jornal"), 1);
}

TEST(DiscoveryTest, RussianTerminalIsFoundWithRussianNames)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("russian"));
    std::unique_ptr<MT4::Windows> found = Discover();
    EXPECT_EQ(found->GetLanguage(), MT4::Language::Russian);
    EXPECT_EQ(found->Text(Name::TerminalMailbox), "Почтовый ящик");
    EXPECT_EQ(found->Text(Name::NavigatorCustomIndicators), "Пользовательские Индикаторы");
    EXPECT_EQ(found->TerminalTabs().index.at("Журнал"), 6);
    ExpectEverythingFound(*found, terminal.Handles());
}

TEST(DiscoveryTest, FloatingPanelsAreFoundThroughTheirFrames)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("floating"));
    ASSERT_NE(terminal.Handles().floatingFrame[static_cast<int>(PanelId::DataWindow)], nullptr);
    std::unique_ptr<MT4::Windows> found = Discover();
    EXPECT_EQ(found->GetLanguage(), MT4::Language::English);
    ExpectEverythingFound(*found, terminal.Handles());
}

TEST(DiscoveryTest, NamedMutexesEndWithTheProcessId)
{
    EXPECT_EQ(MT4::Windows::MutexName(MT4::Windows::MutexActiveChart, 1234), "MT4::Windows::Mutex_ActiveChart_1234");
    EXPECT_EQ(
        MT4::Windows::MutexName(MT4::Windows::MutexTickIndicators, 1234), "MT4::Windows::Mutex_TickIndicators_1234");
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    std::unique_ptr<MT4::Windows> found = Discover();
    const std::string pid = std::to_string(GetCurrentProcessId());
    const char* const prefixes[] = { "ActiveChart_", "DataWindow_", "DeleteIndicators_", "MarketWatch_", "Navigator_",
        "Terminal_", "Tester_", "TickIndicators_" };
    for (int id = 0; id < MT4::Windows::MutexCount; ++id) {
        Utils::Sync::Mutex& mutex = found->GetMutex(static_cast<MT4::Windows::MutexId>(id));
        EXPECT_EQ(mutex.Name(), std::string("MT4::Windows::Mutex_") + prefixes[id] + pid);
        EXPECT_NE(mutex.Handle(), nullptr);
    }
}

TEST(DiscoveryTest, SixTerminalListsFailWithOutOfRangeAfterKeepingTheFirstFive)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("six-lists"));
    MT4::Windows found;
    EXPECT_THROW(found.Init(0), std::out_of_range);
    EXPECT_EQ(found.Control("Mailbox"), terminal.Handles().terminalLists.at(4));
}

TEST(ExecutablePathTest, IsTheFirstModuleOfTheProcess)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(MT4::Windows::ExecutablePath(GetCurrentProcessId()), path);
}

}  // namespace
