#pragma once
// The terminal's localized names: titles of panels, toolbars and dialogs, tab
// names and tree nodes, in Russian and in English.
#include <windows.h>

namespace MT4 {

enum class Language : WORD { None = 0, English = 0x7D00, Russian = 0x7D19 };

enum class Name {
    ChartsToolbar,
    LineStudiesToolbar,
    PeriodicityToolbar,
    StandardToolbar,
    DataWindow,
    MarketWatch,
    Navigator,
    Terminal,
    Tester,
    GlobalVariables,
    HistoryCenter,
    OfflineChart,
    Options,
    Properties,
    ScriptRemovalQuestion,
    ExpertStopQuestion,
    OpenButton,
    IndicatorList,
    TerminalTrade,
    TerminalAccountHistory,
    TerminalNews,
    TerminalAlerts,
    TerminalMailbox,
    TerminalExperts,
    TerminalJournal,
    TesterSettings,
    TesterJournal,
    OptionsCharts,
    OptionsEmail,
    OptionsEvents,
    OptionsExperts,
    OptionsObjects,
    OptionsPublisher,
    OptionsServer,
    OptionsTrade,
    PropertiesColors,
    PropertiesCommon,
    IndicatorListMainChart,
    IndicatorListWindow,
    NavigatorAccounts,
    NavigatorCustomIndicators,
    NavigatorExperts,
    NavigatorIndicators,
    NavigatorScripts,
    Count
};

inline constexpr int NameCount = static_cast<int>(Name::Count);  // 44

// The name in a language (Russian or English).
const char* Localized(Language language, Name name);

// The panel titles that identify each language, in the order they are looked for.
inline constexpr Name LanguageProbes[] = { Name::DataWindow, Name::MarketWatch, Name::Navigator, Name::Terminal,
    Name::Tester };

}  // namespace MT4
