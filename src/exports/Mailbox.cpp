// Exports of the mailbox: its lines, the search among them, the message
// windows and the pages they show.
#include <windows.h>

#include "MT4/SyncText.h"
#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

namespace {

using Terminal = Utils::Pointer<MT4::Windows>;

}  // namespace

extern "C" {

int32_t WINAPI VelmorMailboxSize()
{
    return Frame::Call("VelmorMailboxSize()", 0, [] { return static_cast<int32_t>(Terminal()->MailboxSize()); });
}

const char* WINAPI VelmorMailboxGetStringTime(int32_t line)
{
    return Frame::Call("VelmorMailboxGetStringTime()", Frame::EmptyText,
        [=] { return Result(Terminal()->MailboxGetStringTime(static_cast<uint32_t>(line))); });
}

const wchar_t* WINAPI VelmorMailboxGetStringTimeW(int32_t line)
{
    return Frame::Call("VelmorMailboxGetStringTimeW()", Frame::EmptyWide,
        [=] { return WideResult(Terminal()->MailboxGetStringTime(static_cast<uint32_t>(line))); });
}

int32_t WINAPI VelmorMailboxGetTime(int32_t line)
{
    return Frame::Call("VelmorMailboxGetTime()", 0,
        [=] { return static_cast<int32_t>(Terminal()->MailboxGetTime(static_cast<uint32_t>(line))); });
}

const char* WINAPI VelmorMailboxGetFrom(int32_t line)
{
    return Frame::Call("VelmorMailboxGetFrom()", Frame::EmptyText,
        [=] { return Result(Terminal()->MailboxGetFrom(static_cast<uint32_t>(line))); });
}

const wchar_t* WINAPI VelmorMailboxGetFromW(int32_t line)
{
    return Frame::Call("VelmorMailboxGetFromW()", Frame::EmptyWide,
        [=] { return WideResult(Terminal()->MailboxGetFrom(static_cast<uint32_t>(line))); });
}

const char* WINAPI VelmorMailboxGetTheme(int32_t line)
{
    return Frame::Call("VelmorMailboxGetTheme()", Frame::EmptyText,
        [=] { return Result(Terminal()->MailboxGetTheme(static_cast<uint32_t>(line))); });
}

const wchar_t* WINAPI VelmorMailboxGetThemeW(int32_t line)
{
    return Frame::Call("VelmorMailboxGetThemeW()", Frame::EmptyWide,
        [=] { return WideResult(Terminal()->MailboxGetTheme(static_cast<uint32_t>(line))); });
}

int32_t WINAPI VelmorMailboxGetLine(const char* time, const char* from, const char* theme, int32_t start,
    int32_t count)
{
    return Frame::Call("VelmorMailboxGetLine()", -1, [=] {
        return Terminal()->MailboxGetLine(Text(time), Text(from), Text(theme),
            static_cast<uint32_t>(start), count);
    });
}

int32_t WINAPI VelmorMailboxGetLineW(const wchar_t* time, const wchar_t* from, const wchar_t* theme, int32_t start,
    int32_t count)
{
    return Frame::Call("VelmorMailboxGetLineW()", -1, [=] {
        return Terminal()->MailboxGetLine(Text(time), Text(from), Text(theme),
            static_cast<uint32_t>(start), count);
    });
}

int32_t WINAPI VelmorMailboxOpen(int32_t line)
{
    return Frame::Call("VelmorMailboxOpen()", 0,
        [=] { return AsInteger(Terminal()->MailboxOpen(static_cast<uint32_t>(line))); });
}

int32_t WINAPI VelmorMailboxDelete(int32_t line)
{
    return Frame::Call("VelmorMailboxDelete()", 0,
        [=] { return static_cast<int32_t>(Terminal()->MailboxDelete(static_cast<uint32_t>(line))); });
}

int32_t WINAPI VelmorMailboxCloseByName(const char* name)
{
    return Frame::Call("VelmorMailboxCloseByName()", 0,
        [=] { return static_cast<int32_t>(Terminal()->MailboxCloseByName(Text(name))); });
}

int32_t WINAPI VelmorMailboxCloseByNameW(const wchar_t* name)
{
    return Frame::Call("VelmorMailboxCloseByNameW()", 0,
        [=] { return static_cast<int32_t>(Terminal()->MailboxCloseByName(Text(name))); });
}

int32_t WINAPI VelmorMailboxCloseByHandle(int32_t window)
{
    // No window (handle 0, or a broadcast value) would post WM_CLOSE to the
    // calling program's own thread or to every window of the desktop.
    return Frame::Call("VelmorMailboxCloseByHandle()", 0, [=] {
        HWND target = AsWindow(window);
        return target ? static_cast<int32_t>(PostMessageA(target, WM_CLOSE, 0, 0)) : 0;
    });
}

const char* WINAPI VelmorMailboxReadHTML(int32_t window)
{
    return Frame::Call("VelmorMailboxReadHTML()", Frame::EmptyText,
        [=] { return Result(Terminal()->MailboxReadHTML(AsWindow(window))); });
}

const wchar_t* WINAPI VelmorMailboxReadHTMLW(int32_t window)
{
    return Frame::Call("VelmorMailboxReadHTMLW()", Frame::EmptyWide,
        [=] { return WideResult(Terminal()->MailboxReadHTML(AsWindow(window))); });
}

const char* WINAPI VelmorMailboxReadText(int32_t window)
{
    return Frame::Call("VelmorMailboxReadText()", Frame::EmptyText,
        [=] { return Result(Terminal()->MailboxReadText(AsWindow(window))); });
}

const wchar_t* WINAPI VelmorMailboxReadTextW(int32_t window)
{
    return Frame::Call("VelmorMailboxReadTextW()", Frame::EmptyWide,
        [=] { return WideResult(Terminal()->MailboxReadText(AsWindow(window))); });
}

}  // extern "C"
