// The login dialog: "MetaTrader", with the login, password and server
// fields, the save-password box, Login (OK) and Cancel. OK logs in: the
// journal records what was entered (the password only as a fingerprint) and
// the terminal's title shows the new account.
#include "TerminalCommands.h"

#include "MainWindow.h"
#include "Ui.h"

namespace StandIn {

namespace {

// The save-password box starts as it was left the last time, per terminal.
const char* const SavePasswordProperty = "StandIn.SavePassword";

std::string FieldText(HWND dialog, UINT id)
{
    char text[260] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Confirm(Ui& ui, HWND dialog)
{
    const std::string login = FieldText(dialog, DialogId::LoginField);
    const std::string server = FieldText(dialog, DialogId::ServerField);
    const bool save = IsDlgButtonChecked(dialog, DialogId::SavePassword) == BST_CHECKED;
    SetPropA(ui.Handles().main, SavePasswordProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(save)));
    ui.Record(Event::Dialog, dialog, WM_COMMAND, IDOK, 0,
        "login " + login + ", password " + Fingerprint(FieldText(dialog, DialogId::PasswordField)) + ", server "
            + server + ", save password " + (save ? "yes" : "no"));
    EndDialog(dialog, IDOK);
    ui.Main().LogIn(login, server);
}

INT_PTR CALLBACK LoginProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        auto& ui = *reinterpret_cast<Ui*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const DialogTexts& texts = DialogTextsOf(ui);
        const UINT fields[] = { DialogId::LoginField, DialogId::PasswordField, DialogId::ServerField };
        const std::string values[] = { ui.Main().Account(), "", ui.Main().Server() };
        for (int i = 0; i < 3; ++i) {
            AddControl(dialog, "STATIC", texts.loginLabels[i], SS_LEFT, 7, 9 + 16 * i, 50, 8,
                DialogId::FirstLabel + i);
            AddControl(dialog, "EDIT", values[i].c_str(),
                ES_AUTOHSCROLL | WS_TABSTOP | (i == 1 ? ES_PASSWORD : 0), 60, 7 + 16 * i, 120, 12, fields[i],
                WS_EX_CLIENTEDGE);
        }
        AddControl(dialog, "BUTTON", texts.savePassword, BS_AUTOCHECKBOX | WS_TABSTOP, 60, 57, 120, 10,
            DialogId::SavePassword);
        if (GetPropA(ui.Handles().main, SavePasswordProperty))
            CheckDlgButton(dialog, DialogId::SavePassword, BST_CHECKED);
        AddControl(dialog, "BUTTON", texts.loginButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 76, 75, 50, 14, IDOK);
        AddControl(dialog, "BUTTON", texts.cancel, BS_PUSHBUTTON | WS_TABSTOP, 130, 75, 50, 14, IDCANCEL);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            Confirm(*reinterpret_cast<Ui*>(GetWindowLongPtrA(dialog, DWLP_USER)), dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

void RunLoginDialog(Ui& ui)
{
    const DialogTemplate layout("MetaTrader", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 190, 97);
    DialogBoxIndirectParamA(
        GetModuleHandleA(nullptr), layout.Get(), ui.Handles().main, LoginProc, reinterpret_cast<LPARAM>(&ui));
}

}  // namespace StandIn
