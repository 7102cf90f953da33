// Logging in through the terminal's login dialog, the trade server's name,
// and the rescan of the servers.
#include <windows.h>

#include <string>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/StringS.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"

namespace MT4 {

namespace {

constexpr UINT LoginCommand = 0x8A65;
constexpr UINT RescanCommand = 0x9218;
constexpr int LoginField = 0x049D;
// The password field's id is not given by the terminal's dialog description;
// the one right after the login field's is used.
constexpr int PasswordField = 0x049E;
constexpr int ServerField = 0x050D;
constexpr int SavePasswordBox = 0x04FC;

// Writes `text` into the dialog's field; with no text, the dialog is redrawn
// instead.
void Fill(HWND dialog, int field, const std::string& text)
{
    if (!text.empty())
        Utils::Controls::Edit::SetText(GetDlgItem(dialog, field), text);
    else if (!InvalidateRect(dialog, nullptr, TRUE))
        throw "Ошибка в методе \"MT4::Windows::Login()\".\nОкно ввода логина не обновлено.";
}

LRESULT CheckState(HWND button)
{
    Utils::Controls::Button::Check(button);
    return SendMessageA(button, BM_GETCHECK, 0, 0);
}

} // namespace

HWND Windows::FindLoginDialog() const
{
    return Utils::Windows::FindFirst(nullptr, m_processId, Utils::Windows::Match::Prefix, "#32770",
        Utils::Windows::Match::Exact, "MetaTrader");
}

void Windows::Login(
    int32_t account, const std::string& password, const std::string& server, bool savePassword)
{
    if (!PostMessageA(m_mainWindow, WM_COMMAND, LoginCommand, 0))
        throw "Ошибка в методе \"MT4::Windows::Login()\".\nОкно ввода Логина и Пароля открыть не удалось.";
    HWND dialog = Utils::Wait::Retry(250, 20, [this] { return FindLoginDialog(); });
    if (!dialog)
        throw "Ошибка в методе \"MT4::Windows::Login()\".\nСистемный дескриптор диалогового окна ввода "
              "логина и "
              "пароля не получен.";
    if (account > 0) {
        // The field must read back as a number.
        Utils::StringS::StringToNumberA(
            Utils::Controls::Edit::SetText(GetDlgItem(dialog, LoginField), std::to_string(account)));
        Fill(dialog, PasswordField, password);
        Fill(dialog, ServerField, server);
    }
    HWND box = GetDlgItem(dialog, SavePasswordBox);
    if ((CheckState(box) == BST_CHECKED) != savePassword)
        SendMessageA(box, BM_CLICK, 0, 0);
    HWND ok = GetDlgItem(dialog, IDOK);
    if (CheckState(ok) != 1)
        SendMessageA(ok, BM_CLICK, 0, 0);
}

// The dialog is opened, read and left to close itself: Cancel is clicked
// with a posted message, after the name has been read.
std::string Windows::GetNameServer()
{
    if (!PostMessageA(m_mainWindow, WM_COMMAND, LoginCommand, 0))
        throw "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nОкно ввода Логина и Пароля открыть не "
              "удалось.";
    HWND dialog = Utils::Wait::Retry(60, 50, [this] { return FindLoginDialog(); });
    if (!dialog)
        throw "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nСистемный дескриптор диалогового окна "
              "ввода "
              "логина и пароля не получен.";
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
    PostMessageA(cancel, BM_CLICK, 0, 0);
    return name;
}

BOOL Windows::RescanServers()
{
    return PostMessageA(m_mainWindow, WM_COMMAND, RescanCommand, 0);
}

} // namespace MT4
