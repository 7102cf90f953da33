// Logging in through the terminal's login dialog, the trade server's name,
// and the rescan of the servers.
#include <windows.h>

#include <string>

#include "MT4/Windows.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"

namespace MT4 {

namespace {

constexpr UINT LoginCommand = 0x8A65;
constexpr UINT RescanCommand = 0x9218;
constexpr int ServerField = 0x050D;

} // namespace

HWND Windows::FindLoginDialog() const
{
    return Utils::Windows::FindFirst(nullptr, m_processId, Utils::Windows::Match::Prefix, "#32770",
        Utils::Windows::Match::Exact, "MetaTrader");
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
