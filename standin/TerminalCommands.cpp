#include "TerminalCommands.h"

#include "MainWindow.h"
#include "Ui.h"

#include <algorithm>

namespace StandIn {

namespace {

const char* const PreviousProcedure = "StandIn.ClicksPrevious";
const char* const JournalOwner = "StandIn.ClicksUi";

// Docked panels hide with their bar, floating ones with their frame; the
// main window then lays out what is left.
void TogglePanel(Ui& ui, PanelId id)
{
    const int index = static_cast<int>(id);
    HWND content = ui.Handles().panel[index];
    if (!content)
        return;
    HWND frame = ui.Handles().floatingFrame[index];
    HWND holder = frame ? frame : GetParent(content);
    const bool shown = (GetWindowLongPtrA(holder, GWL_STYLE) & WS_VISIBLE) != 0;
    ShowWindow(holder, shown ? SW_HIDE : SW_SHOWNA);
    if (!frame) {
        ui.Main().Layout();
        SendMessageA(GetParent(holder), WM_SIZE, 0, 0);  // the dock lines up its other bars
    }
}

LRESULT CALLBACK ClickJournalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, PreviousProcedure));
    auto* ui = static_cast<Ui*>(GetPropA(window, JournalOwner));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        ui->Record(Event::Mouse, window, message, wParam, lParam);
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(window, PreviousProcedure);
        RemovePropA(window, JournalOwner);
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

}  // namespace

void CarryOutCommand(Ui& ui, UINT command)
{
    const std::vector<UINT>& silent = ui.Setup().ignoredCommands;
    if (ui.Setup().silent || std::find(silent.begin(), silent.end(), command) != silent.end())
        return;
    switch (command) {
    case Command::ToggleDataWindow:
        return TogglePanel(ui, PanelId::DataWindow);
    case Command::ToggleMarketWatch:
        return TogglePanel(ui, PanelId::MarketWatch);
    case Command::ToggleNavigator:
        return TogglePanel(ui, PanelId::Navigator);
    case Command::ToggleTerminal:
        return TogglePanel(ui, PanelId::Terminal);
    case Command::ToggleTester:
        return TogglePanel(ui, PanelId::Tester);
    case Command::Options:
        return RunOptionsDialog(ui);
    case Command::HistoryCenter:
        return RunHistoryCenter(ui);
    case Command::GlobalVariables:
        return RunGlobalVariables(ui);
    case Command::Login:
        return RunLoginDialog(ui);
    default:
        return;  // the rescan of the servers, for one, is journaled and nothing more
    }
}

void JournalClicks(Ui& ui, HWND window)
{
    SetPropA(window, JournalOwner, &ui);
    SetPropA(window, PreviousProcedure,
        reinterpret_cast<HANDLE>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClickJournalProc));
}

DialogTemplate::DialogTemplate(const std::string& title, DWORD style, short width, short height)
{
    auto add = [this](DWORD value) {
        m_words.push_back(LOWORD(value));
        m_words.push_back(HIWORD(value));
    };
    auto text = [this](const std::string& ansi) {
        const int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
        std::vector<wchar_t> wide(length > 0 ? length : 1);
        MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), length);
        m_words.insert(m_words.end(), wide.begin(), wide.end());
    };
    add(style | DS_SETFONT);
    add(0);                // extended style
    m_words.push_back(0);  // no items: the procedure creates the controls
    m_words.insert(m_words.end(), { 0, 0, static_cast<WORD>(width), static_cast<WORD>(height) });
    m_words.push_back(0);  // no menu
    m_words.push_back(0);  // the dialog class
    text(title);
    m_words.push_back(8);
    text("MS Shell Dlg");
}

HWND AddControl(HWND dialog, const char* className, const char* text, DWORD style, int x, int y, int width,
    int height, UINT id, DWORD exStyle)
{
    RECT area = { x, y, x + width, y + height };
    MapDialogRect(dialog, &area);
    HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, area.left, area.top,
        area.right - area.left, area.bottom - area.top, dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

}  // namespace StandIn
