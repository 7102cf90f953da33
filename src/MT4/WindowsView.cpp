// The View of the terminal: the five panels shown and hidden with the View
// menu's commands, the dialogs opened from the menus, and the tabs of the
// Terminal panel.
#include <windows.h>

#include <string>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/Input.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"

namespace MT4 {

namespace {

using Match = Utils::Windows::Match;

// The View menu command that shows or hides a panel.
UINT ToggleCommand(Name panel)
{
    switch (panel) {
    case Name::DataWindow:
        return 0x8216;
    case Name::MarketWatch:
        return 0x821D;
    case Name::Navigator:
        return 0x821E;
    case Name::Terminal:
        return 0x8222;
    case Name::Tester:
        return 0x8223;
    default:
        throw "Метод \"MT4::Windows::ToggleCommand()\".\nУказанное окно не является панелью терминала.";
    }
}

constexpr UINT OptionsCommand = 0x81F1;
constexpr UINT HistoryCenterCommand = 0x81EE;
constexpr UINT GlobalVariablesCommand = 0x8A4B;
constexpr int OptionsTabControl = 0x3020;

constexpr DWORD DialogInterval = 50;

// Where the Terminal panel's tab strip is clicked for each tab.
constexpr int TerminalTabX[] = { 32, 96, 192, 240, 304, 400, 464 };
constexpr WORD LastTerminalTab = 6;
constexpr int TerminalTabStrip = 0x471;

} // namespace

// A panel missing from the map (null) counts as hidden.
BOOL Windows::IsVisiblePanel(Name panel)
{
    return IsWindowVisible(Panel(Text(panel)));
}

void Windows::ShowPanel(Name panel)
{
    const UINT command = ToggleCommand(panel);
    if (!IsVisiblePanel(panel))
        Utils::Controls::Send("MT4::Windows::ShowPanel", MainTarget(), WM_COMMAND, command);
}

void Windows::HidePanel(Name panel)
{
    const UINT command = ToggleCommand(panel);
    if (IsVisiblePanel(panel))
        Utils::Controls::Send("MT4::Windows::HidePanel", MainTarget(), WM_COMMAND, command);
}

HWND Windows::OpenDialog(const char* method, UINT command, Name name, bool titlePrefix)
{
    const std::string& title = Text(name);
    bool posted = false;
    DWORD postError = 0;
    HWND dialog = nullptr;
    // The command is posted again every 50 ms until the post succeeds, then
    // the dialog is looked for every 50 ms; both together within the bound.
    Utils::Wait::Until(
        [&] {
            if (!posted) {
                posted = PostMessageA(MainTarget(), WM_COMMAND, command, 0) != 0;
                if (!posted) {
                    postError = GetLastError();
                    return false;
                }
            }
            dialog = Utils::Windows::FindFirst(nullptr, m_processId, Match::Exact, "#32770",
                titlePrefix ? Match::Prefix : Match::Exact, title);
            return dialog != nullptr;
        },
        DialogInterval, Utils::Wait::DialogBound);
    const std::string qualified = std::string("MT4::Windows::") + method;
    if (!posted)
        throw Utils::Error::Method(qualified, "Команда открытия окна \"" + title + "\" не отправлена.")
            + LastErrorText(postError);
    if (!dialog)
        throw Utils::Error::Method(qualified, "Не получен системный дескриптор окна \"" + title + "\".");
    return dialog;
}

// The dialog is opened, the tab chosen and its page looked for; the dialog
// stays open, also when something is missing.
HWND Windows::OpenOptions(WORD tab)
{
    HWND dialog = OpenDialog("OpenOptions", OptionsCommand, Name::Options, false);
    HWND tabs = GetDlgItem(dialog, OptionsTabControl);
    if (!tabs)
        throw "Ошибка в методе \"MT4::Windows::OpenOptions()\".\nНе получен системный дескриптор панели "
              "вкладок.";
    Utils::Controls::TabControl::SetFocus(tabs, tab);
    const std::string& page = m_optionsTabs.names.at(tab);
    if (!Utils::Windows::FindFirst(dialog, m_processId, Match::Prefix, "#32770", Match::Exact, page))
        throw Utils::Error::Method(
            "MT4::Windows::OpenOptions", "Не получен системный дескриптор вкладки \"" + page + "\".");
    return dialog;
}

HWND Windows::OpenHistoryCenter()
{
    return OpenDialog("OpenHistoryCenter", HistoryCenterCommand, Name::HistoryCenter, true);
}

HWND Windows::OpenGlobalVariables()
{
    return OpenDialog("OpenGlobalVariables", GlobalVariablesCommand, Name::GlobalVariables, false);
}

void Windows::SetTerminalTab(WORD tab)
{
    Utils::Sync::Lock<Utils::Sync::Mutex> lock(GetMutex(MutexTerminal));
    HWND strip = GetDlgItem(Panel(Text(Name::Terminal)), TerminalTabStrip);
    if (!strip)
        throw "Ошибка в методе \"MT4::Windows::SetTerminalTab()\".\nНе получен системный дескриптор блока "
              "вкладок.";
    if (tab > LastTerminalTab)
        throw Utils::Error::Method("MT4::Windows::SetTerminalTab", "Неверный номер вкладки.\nwTabId = ")
            + std::to_string(tab);
    // The middle of the tab where the strip tells where its tabs lie (their
    // widths follow their captions); the fixed points otherwise.
    POINT point = { TerminalTabX[tab], 0 };
    Utils::Controls::TabControl::ItemMiddle(strip, tab, point);
    Utils::Mouse::LeftDown(strip, point.x, point.y);
    Utils::Mouse::LeftUp(strip, point.x, point.y);
}

// The caption must match exactly, byte for byte; any other name selects the
// first tab. The English terminal's journal tab reads "Journal" while the
// library's English name for it is "Jornal": both select it.
void Windows::SetTerminalTabByName(const std::string& name)
{
    auto found = m_terminalTabs.index.find(name);
    if (found == m_terminalTabs.index.end() && m_language == Language::English && name == "Journal")
        found = m_terminalTabs.index.find(Text(Name::TerminalJournal));
    SetTerminalTab(found == m_terminalTabs.index.end() ? 0 : static_cast<WORD>(found->second));
}

} // namespace MT4
