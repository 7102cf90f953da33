// The mailbox of the Terminal panel: its lines (time, from, subject), the
// search among them, the message windows and the pages they show. The list
// operations hold the Terminal mutex, so that no other program's selection
// or click on the Terminal panel comes between a line's selection and its use.
#include <windows.h>

#include <algorithm>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/IEServer.h"
#include "Utils/Input.h"
#include "Utils/StringS.h"
#include "Utils/Time.h"
#include "Utils/Windows.h"

namespace MT4 {

namespace {

namespace ListView = Utils::Controls::ListView;
using Match = Utils::Windows::Match;
using TerminalLock = Utils::Sync::Lock<Utils::Sync::Mutex>;

enum Column { TimeColumn, FromColumn, ThemeColumn };

}  // namespace

HWND Windows::MailboxLine(const char* method, uint32_t line, bool withNumber)
{
    HWND list = MailboxList();
    if (line >= ListView::GetItem(list).rows) {
        std::string detail = "Номер строки превышает количество сообщений.";
        if (withNumber)
            detail += "\ndwLine = " + std::to_string(line);
        throw Utils::Error::Argument(std::string("MT4::Windows::") + method, detail);
    }
    return list;
}

uint32_t Windows::MailboxSize()
{
    TerminalLock lock(GetMutex(MutexTerminal));
    return ListView::GetItem(MailboxList()).rows;
}

std::string Windows::MailboxGetStringTime(uint32_t line)
{
    TerminalLock lock(GetMutex(MutexTerminal));
    return ListView::GetText(MailboxLine("MailboxGetStringTime", line, false), line, TimeColumn);
}

uint32_t Windows::MailboxGetTime(uint32_t line)
{
    TerminalLock lock(GetMutex(MutexTerminal));
    const std::string text = ListView::GetText(MailboxLine("MailboxGetTime", line), line, TimeColumn);
    return Utils::Pointer<Utils::Time<Utils::TYPE_UNIX_TIME32_SECOND>>()->TextToTime(text);
}

std::string Windows::MailboxGetFrom(uint32_t line)
{
    TerminalLock lock(GetMutex(MutexTerminal));
    return ListView::GetText(MailboxLine("MailboxGetFrom", line), line, FromColumn);
}

std::string Windows::MailboxGetTheme(uint32_t line)
{
    TerminalLock lock(GetMutex(MutexTerminal));
    return ListView::GetText(MailboxLine("MailboxGetTheme", line), line, ThemeColumn);
}

int32_t Windows::MailboxGetLine(const std::string& time, const std::string& from, const std::string& theme,
    uint32_t start, int32_t count)
{
    TerminalLock lock(GetMutex(MutexTerminal));
    HWND list = MailboxList();
    const uint32_t lines = ListView::GetItem(list).rows;
    if (start >= lines)
        throw Utils::Error::Argument("MT4::Windows::MailboxGetLine",
            "Номер строки начала поиска превышает количество сообщений.\ndwStart = " + std::to_string(start));
    const uint32_t end
        = count < 0 ? lines : static_cast<uint32_t>(std::min<uint64_t>(uint64_t { start } + count, lines));
    for (uint32_t line = start; line < end; ++line) {
        if (ListView::GetText(list, line, TimeColumn).compare(0, time.size(), time) == 0
            && ListView::GetText(list, line, FromColumn).find(from) != std::string::npos
            && ListView::GetText(list, line, ThemeColumn).find(theme) != std::string::npos)
            return static_cast<int32_t>(line);
    }
    return -1;
}

HWND Windows::MailboxOpen(uint32_t line)
{
    TerminalLock lock(GetMutex(MutexTerminal));
    HWND list = MailboxLine("MailboxOpen", line);
    ListView::Visible(list, line);
    ListView::KeyDown(list, line);
    Utils::Mouse::DoubleClickLeft(list, line, 0);
    // The window is titled with the subject. A subject of blanks only names
    // no window: any title would begin with it.
    const std::string subject = Utils::StringS::StripA(ListView::GetText(list, line, ThemeColumn));
    if (subject.empty())
        return nullptr;
    return Utils::Windows::FindFirst(nullptr, m_processId, Match::None, std::string(), Match::Prefix, subject);
}

bool Windows::MailboxDelete(uint32_t line)
{
    TerminalLock lock(GetMutex(MutexTerminal));
    HWND list = MailboxLine("MailboxDelete", line);
    ListView::Visible(list, line);
    ListView::KeyDown(list, line);
    return Utils::Controls::Send("MT4::Windows::MailboxDelete", list, WM_KEYDOWN, VK_DELETE, 1) == 0;
}

bool Windows::MailboxCloseByName(const std::string& name)
{
    // Every title begins with the empty text: it would close the terminal.
    if (name.empty())
        throw "Метод \"MT4::Windows::MailboxCloseByName()\".\nНе указано начало заголовка окна.";
    bool posted = true;
    for (HWND window : Utils::Windows::FindAll(nullptr, m_processId, Match::None, std::string(), Match::Prefix, name))
        posted = PostMessageA(window, WM_CLOSE, 0, 0) && posted;
    return posted;
}

HWND Windows::MailboxBrowser(HWND message)
{
    if (!message)
        return nullptr;
    return Utils::Windows::FindFirst(message, m_processId, Match::Exact, "Internet Explorer_Server");
}

std::string Windows::MailboxReadHTML(HWND message)
{
    return Utils::Controls::IEServer::ReadHTML(MailboxBrowser(message));
}

std::string Windows::MailboxReadText(HWND message)
{
    return Utils::Controls::IEServer::ReadText(MailboxBrowser(message));
}

}  // namespace MT4
