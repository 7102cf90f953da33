// Logging in through the terminal's login dialog, the trade server's name,
// and the rescan of the servers.
#include <windows.h>

#include <string>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/StringS.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"

namespace MT4 {

namespace {

constexpr UINT LoginCommand = 0x8A65;
constexpr UINT RescanCommand = 0x9218;
constexpr int LoginField = Windows::LoginAccountField;
constexpr int ServerField = Windows::LoginServerField;
constexpr int SavePasswordBox = Windows::LoginSaveBox;

// Writes `text` into the dialog's field; with no text, the dialog is redrawn
// instead.
void Fill(HWND dialog, int field, const std::string& text)
{
    if (!text.empty())
        Utils::Controls::Edit::SetText(GetDlgItem(dialog, field), text);
    else if (!InvalidateRect(dialog, nullptr, TRUE))
        throw "Ошибка в методе \"MT4::Windows::Login()\".\nОкно ввода логина не обновлено.";
}

} // namespace

// The terminal's questions are titled "MetaTrader" too: the login dialog is
// the one with the account and server fields. There is only one; one the user
// left open is taken.
HWND Windows::FindLoginDialog() const
{
    for (HWND dialog : Dialogs(Utils::Windows::Match::Exact, "MetaTrader"))
        if (GetDlgItem(dialog, LoginField) && GetDlgItem(dialog, ServerField))
            return dialog;
    return nullptr;
}

HWND Windows::OpenLoginDialog(const char* method, int attempts, DWORD pause)
{
    const std::string name = std::string("MT4::Windows::") + method;
    if (!PostMessageA(MainTarget(), WM_COMMAND, LoginCommand, 0))
        throw Utils::Error::Method(name, "Окно ввода Логина и Пароля открыть не удалось.");
    HWND dialog = Utils::Wait::Retry(attempts, pause, [this] { return FindLoginDialog(); });
    if (!dialog)
        throw Utils::Error::Method(name, "Системный дескриптор диалогового окна ввода логина и пароля не получен.");
    return dialog;
}

// The password field: the dialog's edit with the password style. The
// terminal's description of the dialog gives it no id, so it is known by what
// it is; without one, the password is typed nowhere.
HWND Windows::LoginPasswordField(HWND dialog) const
{
    for (HWND edit : Utils::Windows::FindAll(dialog, m_processId, Utils::Windows::Match::Exact, "Edit"))
        if (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD)
            return edit;
    throw "Ошибка в методе \"MT4::Windows::Login()\".\nНе найдено поле ввода пароля.";
}

void Windows::Login(int32_t account, const char* password, const std::string& server, bool savePassword)
{
    HWND dialog = OpenLoginDialog("Login", 250, 20);
    if (account > 0) {
        // The field must read back as a number.
        Utils::StringS::StringToNumberA(
            Utils::Controls::Edit::SetText(GetDlgItem(dialog, LoginField), std::to_string(account)));
        if (*password)
            Utils::Controls::Edit::SetSecret(LoginPasswordField(dialog), password);
        else
            Fill(dialog, 0, "");
        Fill(dialog, ServerField, server);
    }
    HWND box = GetDlgItem(dialog, SavePasswordBox);
    if (Utils::Controls::Button::GetCheck(box) != savePassword)
        Utils::Controls::Button::Click(box);
    HWND ok = GetDlgItem(dialog, IDOK);
    if (!Utils::Controls::Button::GetCheck(ok))
        Utils::Controls::Button::Click(ok);
}

// The dialog is opened, read and left to close itself: Cancel is clicked
// with a posted message, after the name has been read.
std::string Windows::GetNameServer()
{
    HWND dialog = OpenLoginDialog("GetNameServer", 60, 50);
    if (!InvalidateRect(dialog, nullptr, TRUE))
        throw "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nОкно ввода логина не обновлено.";
    HWND field = GetDlgItem(dialog, ServerField);
    if (!field)
        throw "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nСистемный дескриптор контрола ввода имени "
              "сервера не получен.";
    char name[260] = {};
    if (GetWindowTextA(field, name, sizeof name) == 0)
        throw "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nИмя сервера не прочитано.";
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (!cancel)
        throw "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nСистемный дескриптор кнопки \"Отмена\" не "
              "получен.";
    // Gone before the result: the next reading must not find this dialog
    // while it closes and read an empty field.
    PostMessageA(cancel, BM_CLICK, 0, 0);
    WaitUntilGone(dialog,
        "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nОкно ввода логина не закрылось за отведённое время.");
    return name;
}

BOOL Windows::RescanServers()
{
    return PostMessageA(MainTarget(), WM_COMMAND, RescanCommand, 0);
}

} // namespace MT4
