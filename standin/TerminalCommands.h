#pragma once
// The terminal's menu commands beyond the main window's own: the View
// menu's panel toggles and the dialogs of its menus (Options, History
// Center, Global Variables, Login). The dialogs are modal, as the terminal's
// are: each runs from the command that opened it until it is closed.
#include <windows.h>

#include <string>
#include <vector>

namespace StandIn {

class Ui;

namespace Command {
constexpr UINT ToggleDataWindow = 0x8216;
constexpr UINT ToggleMarketWatch = 0x821D;
constexpr UINT ToggleNavigator = 0x821E;
constexpr UINT ToggleTerminal = 0x8222;
constexpr UINT ToggleTester = 0x8223;
constexpr UINT HistoryCenter = 0x81EE;
constexpr UINT Options = 0x81F1;
constexpr UINT GlobalVariables = 0x8A4B;
constexpr UINT Login = 0x8A65;
constexpr UINT RescanServers = 0x9218;
}  // namespace Command

// Control ids of the terminal's dialogs.
namespace DialogId {
constexpr UINT OptionsTabs = 0x3020;        // the property sheet's own tab control
constexpr UINT LoginField = 0x049D;
constexpr UINT PasswordField = 0x04A3;      // the stand-in's choice: the terminal's id is not known
constexpr UINT SavePassword = 0x04FC;
constexpr UINT ServerField = 0x050D;
constexpr UINT HistorySymbols = 0x0C10;     // History Center: the symbol tree
constexpr UINT GlobalVariablesList = 0x0C20;  // Global Variables: the list
constexpr UINT FirstLabel = 0x0C80;         // labels: never 0xFFFF, which marks a message box's text
}  // namespace DialogId

// Carries out a command the main window received; the scenario's silent
// commands and commands the stand-in does not know are left undone.
void CarryOutCommand(Ui& ui, UINT command);

// Journals the mouse-button messages `window` receives (Event::Mouse)
// before the window handles them.
void JournalClicks(Ui& ui, HWND window);

void RunOptionsDialog(Ui& ui);
void RunHistoryCenter(Ui& ui);
void RunGlobalVariables(Ui& ui);
void RunLoginDialog(Ui& ui);

// The localized texts of the dialogs.
struct DialogTexts {
    const char* options;
    const char* optionsPages[8];  // server, charts, objects, trade, experts, email, publisher, events
    const char* historyCenter;
    const char* globalVariables;
    const char* variableColumns[2];
    const char* loginLabels[3];  // login, password, server
    const char* savePassword;
    const char* loginButton;
    const char* cancel;
    const char* close;
};

const DialogTexts& DialogTextsOf(Ui& ui);

// An in-memory dialog template in dialog units, with the title and the
// dialog font; the dialog procedure creates the controls.
class DialogTemplate {
public:
    DialogTemplate(const std::string& title, DWORD style, short width, short height);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    std::vector<WORD> m_words;
};

// A control of `dialog` at a rectangle in dialog units, in the dialog's font.
HWND AddControl(HWND dialog, const char* className, const char* text, DWORD style, int x, int y, int width,
    int height, UINT id, DWORD exStyle = 0);

}  // namespace StandIn
