// The dialogs opened from the terminal's menus: Options (a property sheet
// whose pages are created when first shown), History Center and Global
// Variables.
#include "TerminalCommands.h"

#include "MainWindow.h"
#include "Ui.h"

#include <commctrl.h>

#include <memory>

namespace StandIn {

namespace {

const DialogTexts Russian = {
    "Настройки",
    { "Сервер", "Графики", "Объекты", "Торговля", "Советники", "Почта", "Публикация", "События" },
    "Архив котировок",
    "Глобальные переменные",
    { "Переменная", "Значение" },
    { "Логин:", "Пароль:", "Сервер:" },
    "Сохранять пароль",
    "Вход",
    "Отмена",
    "Закрыть",
};

const DialogTexts English = {
    "Options",
    { "Server", "Charts", "Objects", "Trade", "Expert Advisors", "Email", "Publisher", "Events" },
    "History Center",
    "Global Variables",
    { "Variable", "Value" },
    { "Login:", "Password:", "Server:" },
    "Save password",
    "Login",
    "Cancel",
    "Close",
};

const DialogTexts Other = {
    "Optionen",
    { "Server", "Diagramme", "Objekte", "Handel", "Experten", "E-Mail", "Veroeffentlichung", "Ereignisse" },
    "Historienzentrum",
    "Globale Variablen",
    { "Variable", "Wert" },
    { "Konto:", "Passwort:", "Server:" },
    "Passwort speichern",
    "Anmelden",
    "Abbrechen",
    "Schliessen",
};

constexpr int OptionsPageCount = 8;
constexpr DWORD DialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// A page shows its own caption; the sheet creates it when its tab is first selected.
INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    char caption[128] = "";
    GetWindowTextA(page, caption, sizeof caption);
    AddControl(page, "STATIC", caption, SS_LEFT, 8, 8, 200, 10, DialogId::FirstLabel);
    (void)lParam;
    return TRUE;
}

// History Center and Global Variables: a list of what the terminal keeps
// and a Close button; both close with Cancel.
struct ListDialog {
    Ui* ui;
    bool tree;  // History Center: the symbols as a tree
};

INT_PTR CALLBACK ListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const auto& setup = *reinterpret_cast<const ListDialog*>(lParam);
        const DialogTexts& texts = DialogTextsOf(*setup.ui);
        if (setup.tree) {
            HWND tree = AddControl(dialog, WC_TREEVIEWA, "", TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS, 7, 7,
                206, 120, DialogId::HistorySymbols, WS_EX_CLIENTEDGE);
            for (const ChartSpec& chart : setup.ui->Setup().charts) {
                TVINSERTSTRUCTA insert = {};
                insert.hParent = TVI_ROOT;
                insert.hInsertAfter = TVI_LAST;
                insert.item.mask = TVIF_TEXT;
                insert.item.pszText = const_cast<char*>(chart.symbol.c_str());
                SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
            }
        } else {
            HWND list = AddControl(dialog, WC_LISTVIEWA, "", LVS_REPORT, 7, 7, 206, 120,
                DialogId::GlobalVariablesList, WS_EX_CLIENTEDGE);
            for (int i = 0; i < 2; ++i) {
                LVCOLUMNA column = {};
                column.mask = LVCF_TEXT | LVCF_WIDTH;
                column.pszText = const_cast<char*>(texts.variableColumns[i]);
                column.cx = 140;
                SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
            }
        }
        AddControl(dialog, "BUTTON", texts.close, BS_PUSHBUTTON | WS_TABSTOP, 163, 133, 50, 14, IDCANCEL);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void RunListDialog(Ui& ui, const std::string& title, bool tree)
{
    const DialogTemplate layout(title, DialogStyle, 220, 154);
    ListDialog setup = { &ui, tree };
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), layout.Get(), ui.Handles().main, ListDialogProc,
        reinterpret_cast<LPARAM>(&setup));
}

}  // namespace

const DialogTexts& DialogTextsOf(Ui& ui)
{
    switch (ui.Setup().language) {
    case Language::Russian:
        return Russian;
    case Language::English:
        return English;
    default:
        return Other;
    }
}

// The system's own property sheet: its tab control is 0x3020 and its pages
// are "#32770" windows titled with their captions.
void RunOptionsDialog(Ui& ui)
{
    const DialogTexts& texts = DialogTextsOf(ui);
    const std::vector<std::string>& renamed = ui.Setup().optionsPages;
    std::vector<std::unique_ptr<DialogTemplate>> layouts;
    std::vector<PROPSHEETPAGEA> pages(OptionsPageCount);
    for (int i = 0; i < OptionsPageCount; ++i) {
        const std::string caption = i < static_cast<int>(renamed.size()) ? renamed[i] : texts.optionsPages[i];
        layouts.push_back(std::make_unique<DialogTemplate>(caption, WS_CHILD | WS_CAPTION, 240, 150));
        PROPSHEETPAGEA& page = pages[i];
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DLGINDIRECT;
        page.hInstance = GetModuleHandleA(nullptr);
        page.pResource = layouts.back()->Get();
        page.pfnDlgProc = OptionsPageProc;
    }
    PROPSHEETHEADERA sheet = {};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    sheet.hwndParent = ui.Handles().main;
    sheet.hInstance = GetModuleHandleA(nullptr);
    sheet.pszCaption = texts.options;
    sheet.nPages = OptionsPageCount;
    sheet.nStartPage = 0;
    sheet.ppsp = pages.data();
    PropertySheetA(&sheet);
}

// The title begins with the dialog's name and goes on with the server.
void RunHistoryCenter(Ui& ui)
{
    RunListDialog(ui, std::string(DialogTextsOf(ui).historyCenter) + " - " + ui.Main().Server(), true);
}

void RunGlobalVariables(Ui& ui)
{
    RunListDialog(ui, DialogTextsOf(ui).globalVariables, false);
}

}  // namespace StandIn
