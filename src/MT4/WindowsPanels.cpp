// The interface language, the localized names and tab lists, and the panels,
// toolbars and inner controls wherever they are docked or floating.
#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"

namespace MT4 {

namespace {

using Match = Utils::Windows::Match;

// Docked panel windows, searched inside the main window.
const char* const DockedPrefixes[] = { "AfxControlBar", "Afx:400000:b:100", "Afx:00400000:b:000100",
    "Afx:008E0000:b:00010003" };
// Floating frames, searched among the top-level windows.
const char* const FloatingPrefixes[] = { "Afx:400000:8:100", "Afx:00400000:8:000100", "Afx:008E0000:b:00010003",
    "Afx:00090000:b:00010003" };

constexpr unsigned DetectionPasses = 10;

}  // namespace

void Windows::InitLocalization()
{
    // Does a panel titled `title` exist, docked or floating?
    auto found = [this](const char* title) {
        for (const char* prefix : DockedPrefixes)
            if (Utils::Windows::FindFirst(m_mainWindow, m_processId, Match::Prefix, prefix, Match::Prefix, title))
                return true;
        for (const char* prefix : FloatingPrefixes)
            if (Utils::Windows::FindFirst(nullptr, m_processId, Match::Prefix, prefix, Match::Prefix, title))
                return true;
        return false;
    };
    auto detect = [&]() -> Language {
        for (Name probe : LanguageProbes)
            if (found(Localized(Language::Russian, probe)))
                return Language::Russian;
        for (Name probe : LanguageProbes) {
            if (found(Localized(Language::English, probe)))
                return Language::English;
            Utils::Wait::Pause(500);
        }
        return Language::None;
    };
    m_language = Language::None;
    for (unsigned pass = 0; pass < DetectionPasses && m_language == Language::None; ++pass)
        m_language = detect();
    if (m_language == Language::None)
        throw "Метод \"MT4::Windows::InitLocalization()\".\n\nНепредусмотренная локализация.\n"
              "Библиотека работает только с русской и английской локализациями.\n\n"
              "Если библиотека \"RazozazER4.dll\" запущена с новым билдом МТ4, то возможно, в нём изменены классы "
              "окон.\n"
              "Обратитесь к разработчику библиотеки за обновлённой версией.";
    for (int name = 0; name < NameCount; ++name)
        m_names[name] = Localized(m_language, static_cast<Name>(name));
}

void Windows::InitTabLists()
{
    for (Name tab : { Name::TerminalTrade, Name::TerminalAccountHistory, Name::TerminalNews, Name::TerminalAlerts,
             Name::TerminalMailbox, Name::TerminalExperts, Name::TerminalJournal })
        m_terminalTabs.Add(Text(tab));
    for (Name tab : { Name::TesterSettings, Name::TesterJournal })
        m_testerTabs.Add(Text(tab));
    for (Name tab : { Name::OptionsServer, Name::OptionsCharts, Name::OptionsObjects, Name::OptionsTrade,
             Name::OptionsExperts, Name::OptionsEmail, Name::OptionsPublisher, Name::OptionsEvents })
        m_optionsTabs.Add(Text(tab));
}

HWND Windows::HandlePanel(Name name, const char* method, int controlId)
{
    const std::string& title = Text(name);
    auto failure = [&](const char* which) {
        return Utils::Error::Method(std::string("MT4::Windows::") + method,
            std::string("Не получен системный дескриптор ") + which + " окна \"" + title + "\".");
    };
    HWND content = nullptr;
    for (HWND bar : Utils::Windows::FindAll(m_mainWindow, m_processId, Match::Prefix, "AfxControlBar")) {
        content = GetDlgItem(bar, controlId);
        if (content)
            break;
    }
    if (!content) {
        HWND frame = nullptr;
        for (const char* prefix : FloatingPrefixes) {
            frame = Utils::Windows::FindFirst(nullptr, m_processId, Match::Prefix, prefix, Match::Exact, title);
            if (frame)
                break;
        }
        if (!frame)
            throw failure("первого");
        HWND bar = GetDlgItem(frame, 0xE81F);
        if (!bar)
            throw failure("второго");
        content = GetDlgItem(bar, controlId);
        if (!content)
            throw failure("последнего");
    }
    m_panels[title] = content;
    return content;
}

HWND Windows::HandleDataWindow()
{
    return HandlePanel(Name::DataWindow, "HandleDataWindow", 0x54);
}

HWND Windows::HandleMarketWatch()
{
    return HandlePanel(Name::MarketWatch, "HandleMarketWatch", 0x50);
}

HWND Windows::HandleNavigator()
{
    return HandlePanel(Name::Navigator, "HandleNavigator", 0x52);
}

HWND Windows::HandleTerminal()
{
    return HandlePanel(Name::Terminal, "HandleTerminal", 0x51);
}

HWND Windows::HandleTester()
{
    return HandlePanel(Name::Tester, "HandleTester", 0x53);
}

HWND Windows::HandlePanelCharts()
{
    return HandlePanel(Name::ChartsToolbar, "HandlePanelCharts", 0x106);
}

HWND Windows::HandlePanelLineStudies()
{
    return HandlePanel(Name::LineStudiesToolbar, "HandlePanelLineStudies", 0x107);
}

HWND Windows::HandlePanelPeriodicity()
{
    return HandlePanel(Name::PeriodicityToolbar, "HandlePanelPeriodicity", 0x108);
}

HWND Windows::HandlePanelStandard()
{
    // The terminal gives the Standard toolbar no id of its own that is known
    // here; the look-up uses the Periodicity toolbar's id, as the terminal's
    // builds have always been served.
    return HandlePanel(Name::StandardToolbar, "HandlePanelStandard", 0x108);
}

HWND Windows::HandlePanelStandart()
{
    m_standardDock = WaitForHandle([&] { return GetDlgItem(m_mainWindow, 0xE81B); },
        "Ошибка в методе \"MT4::Windows::HandlePanelStandart()\".\nНе получен системный дескриптор главной "
        "панели \"Стандартная\".");
    return m_standardDock;
}

HWND Windows::HandleInnerControl(Name panel, int controlId, const char* error)
{
    HWND parent = Panel(Text(panel));
    HWND control = WaitForHandle([&] { return GetDlgItem(parent, controlId); }, error);
    m_controls[Text(panel)] = control;
    return control;
}

HWND Windows::HandleListDataWindow()
{
    return HandleInnerControl(Name::DataWindow, 0x8A73,
        "Ошибка в методе \"MT4::Windows::HandleListDataWindow()\".\nНе получен системный дескриптор списка данных.");
}

HWND Windows::HandleListMarketWatch()
{
    return HandleInnerControl(Name::MarketWatch, 0x8A71,
        "Ошибка в методе \"MT4::Windows::HandleListMarketWatch()\".\nНе получен системный дескриптор списка "
        "инструментов.");
}

HWND Windows::HandleTreeNavigator()
{
    return HandleInnerControl(Name::Navigator, 0x8A6F,
        "Ошибка в методе \"MT4::Windows::HandleTreeNavigator()\".\nНе получен системный дескриптор дерева.");
}

void Windows::HandleListsTerminal()
{
    const std::vector<HWND> lists
        = Utils::Windows::FindAll(Panel(Text(Name::Terminal)), m_processId, Match::Exact, "SysListView32");
    // The Experts tab's list (index 5) is not used.
    for (int tab : { 0, 1, 2, 3, 4, 6 })
        m_controls[m_terminalTabs.names.at(tab)] = lists.at(tab);
}

}  // namespace MT4
