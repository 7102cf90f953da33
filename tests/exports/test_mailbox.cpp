// The mailbox exports against the stand-in's Mailbox tab: columns, bounds, search, message windows, the mutex.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <thread>
#include "Utils/Wait.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

using TextOfIntFn = const char*(WINAPI*)(int32_t);
using GetLineFn = int32_t(WINAPI*)(const char*, const char*, const char*, int32_t, int32_t);

HWND AsHandle(int32_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }

Box LineBox(const char* method, const std::string& tail, const char* line = "Номер строки")
{
    return { std::string("Velmor") + method + "()", std::string("Метод \"MT4::Windows::") + method + "()\".\n"
        + line + " превышает количество сообщений." + tail };
}

StandIn::Scenario English(void (*change)(StandIn::Scenario&))
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    return change(scenario), scenario;
}

class MailboxTest : public Support::TerminalTest {
protected:
    using TerminalTest::TerminalTest;
    HWND List() const { return terminal.Handles().terminalLists.at(4); }
    int Selected() const { return int(SendMessageA(List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }
    Event DoubleClick(WPARAM line) const { return Expected(Event::Mouse, List(), WM_LBUTTONDBLCLK, line, 0); }
    Event Delete() const { return Expected(Event::Key, List(), WM_KEYDOWN, VK_DELETE, 1); }
    Support::IntFn size = library.Get<Support::IntFn>("VelmorMailboxSize");
    TextOfIntFn stringTime = library.Get<TextOfIntFn>("VelmorMailboxGetStringTime");
    Support::IntOfIntFn time = library.Get<Support::IntOfIntFn>("VelmorMailboxGetTime");
    TextOfIntFn from = library.Get<TextOfIntFn>("VelmorMailboxGetFrom");
    TextOfIntFn theme = library.Get<TextOfIntFn>("VelmorMailboxGetTheme");
    GetLineFn getLine = library.Get<GetLineFn>("VelmorMailboxGetLine");
    Support::IntOfIntFn open = library.Get<Support::IntOfIntFn>("VelmorMailboxOpen");
    Support::IntOfIntFn erase = library.Get<Support::IntOfIntFn>("VelmorMailboxDelete");
    int32_t(WINAPI* closeByName)(const char*) = library.Get<int32_t(WINAPI*)(const char*)>("VelmorMailboxCloseByName");
    Support::IntOfIntFn closeByHandle = library.Get<Support::IntOfIntFn>("VelmorMailboxCloseByHandle");
    TextOfIntFn text = library.Get<TextOfIntFn>("VelmorMailboxReadText");
    TextOfIntFn html = library.Get<TextOfIntFn>("VelmorMailboxReadHTML");
};

struct EmptyMailboxTest : MailboxTest {
    EmptyMailboxTest() : MailboxTest(English([](StandIn::Scenario& s) { s.mailbox.clear(); })) { }
};

TEST_F(EmptyMailboxTest, EveryLineIsOutOfRangeAndTheSearchHasNoStart)
{
    EXPECT_EQ(size(), 0);
    EXPECT_STREQ(stringTime(0), "");
    EXPECT_EQ(time(0), 0);
    EXPECT_STREQ(from(0), "");
    EXPECT_STREQ(theme(0), "");
    EXPECT_EQ(open(0), 0);
    EXPECT_EQ(erase(0), 0);
    EXPECT_EQ(getLine("", "", "", 0, -1), -1);
    const std::string zero = "\ndwLine = 0";
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { LineBox("MailboxGetStringTime", ""), LineBox("MailboxGetTime", zero),
        LineBox("MailboxGetFrom", zero), LineBox("MailboxGetTheme", zero), LineBox("MailboxOpen", zero),
        LineBox("MailboxDelete", zero), LineBox("MailboxGetLine", "\ndwStart = 0", "Номер строки начала поиска") }));
    EXPECT_TRUE(terminal.Log().Take().empty());
}

// Times are Unix seconds; search rows: time from the start, sender and subject anywhere, case-exact.
TEST_F(MailboxTest, ColumnsComeBackAsShownUpToTheCountAndTheSearchTakesTheFirstMatchInItsRange)
{
    EXPECT_EQ(size(), 3);
    EXPECT_STREQ(stringTime(0), "2012.03.05 14:07");
    EXPECT_EQ(Selected(), 0);
    EXPECT_STREQ(from(1), "Служба поддержки");
    EXPECT_EQ(Selected(), 1);
    EXPECT_STREQ(theme(2), "Margin level  ");
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ((std::vector<uint32_t> { uint32_t(time(0)), uint32_t(time(1)), uint32_t(time(2)) }),
        (std::vector<uint32_t> { 1330956420u, 1331026200u, 1331145900u }));
    EXPECT_STREQ(theme(3), "");
    EXPECT_STREQ(from(-1), "");
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { LineBox("MailboxGetTheme", "\ndwLine = 3"), LineBox("MailboxGetFrom", "\ndwLine = 4294967295") }));
    const struct { const char *time, *from, *subject; int32_t start, count, line; } searches[] = {
        { "", "", "", 0, -1, 0 }, { "2012.03.06", "", "", 0, -1, 1 }, { "", "Desk", "", 0, -1, 2 },
        { "", "", "счёт", 0, -1, 1 }, { "2012.03.0", "Служба", "открыт", 0, -1, 1 }, { "", "desk", "", 0, -1, -1 },
        { "03.05", "", "", 0, -1, -1 }, { "", "", "Welcome", 1, -1, -1 }, { "", "", "level", 0, 2, -1 },
        { "", "", "level", 1, 2, 2 }, { "", "", "level", 2, 100, 2 }, { "", "", "", 1, 0, -1 }, { "", "", "", 3, -1, -1 } };
    for (const auto& row : searches)
        EXPECT_EQ(getLine(row.time, row.from, row.subject, row.start, row.count), row.line) << &row - searches;
    EXPECT_EQ(boxes.Take(),
        std::vector<Box> { LineBox("MailboxGetLine", "\ndwStart = 3", "Номер строки начала поиска") });
}

// A message opens by a double click; its page reads in code page 1251 (U+4E16 is not in it) until it closes.
TEST_F(MailboxTest, MessagesOpenWithTheirPagesAndCloseByNameOrHandleAndDeletePressesDelete)
{
    const int32_t margin = open(2);
    char title[64] = "";
    GetWindowTextA(AsHandle(margin), title, sizeof title);
    EXPECT_STREQ(title, "Margin level  ");
    EXPECT_EQ(GetWindow(AsHandle(margin), GW_OWNER), Main());
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Received(1), std::vector<Event> { DoubleClick(2) });
    EXPECT_EQ(open(2), margin);  // opened again, the same window answers
    const int32_t welcome = open(0), russian = open(1);
    ASSERT_TRUE(margin && welcome && russian);
    EXPECT_STREQ(text(welcome), "Welcome to the trading terminal.\r\nYour demo account is ready.");
    EXPECT_STREQ(html(welcome), "<p>Welcome to the <b>trading terminal</b>.</p><p>Your demo account is ready.</p>");
    EXPECT_STREQ(text(margin), "Margin level: 150\xA0%\r\n<EURUSD> & ?\x85");
    terminal.Log().Clear();
    EXPECT_EQ(closeByName("Margin"), 1);
    EXPECT_EQ(Received(1), std::vector<Event> { Expected(Event::Close, AsHandle(margin), WM_CLOSE, 0, 0) });
    EXPECT_EQ(closeByName("No such message"), 1);
    EXPECT_EQ(closeByName(""), 0);  // it would begin every title, the terminal's own too
    EXPECT_EQ(closeByName(nullptr), 0);
    EXPECT_NE(closeByHandle(russian), 0);
    EXPECT_EQ(Received(1), std::vector<Event> { Expected(Event::Close, AsHandle(russian), WM_CLOSE, 0, 0) });
    EXPECT_EQ(closeByHandle(0), 0);  // a post to the calling thread itself
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_TRUE(IsWindow(AsHandle(welcome)));
    SendMessageA(AsHandle(welcome), WM_CLOSE, 0, 0);
    EXPECT_STREQ(html(welcome), "");
    EXPECT_STREQ(text(0), "");
    EXPECT_STREQ(text(static_cast<int32_t>(reinterpret_cast<INT_PTR>(Main()))), "");  // no browser in it
    const Box empty { "VelmorMailboxCloseByName()",
        "Метод \"MT4::Windows::MailboxCloseByName()\".\nНе указано начало заголовка окна." };
    const std::string invalid = "Метод \"Utils::Controls::IEServer::Check()\".\nНедействительный системный дескриптор.";
    const Box readText { "VelmorMailboxReadText()", invalid };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { empty, empty, { "VelmorMailboxReadHTML()", invalid }, readText, readText }));
    terminal.Log().Clear();
    EXPECT_EQ(erase(1), 1);
    EXPECT_EQ(Received(1), std::vector<Event> { Delete() });
    EXPECT_EQ(size(), 2);
    EXPECT_STREQ(theme(1), "Margin level  ");
    EXPECT_TRUE(IsWindow(Main()));
    EXPECT_TRUE(boxes.Take().empty());
}

// A time of day is seconds since midnight; a blank subject names no window; a delete's question is left to the user.
struct OddMailboxTest : MailboxTest {
    OddMailboxTest() : MailboxTest(English([](StandIn::Scenario& s) {
        s.mailbox = { { "yesterday", "Desk", "Unreadable time", "<p>-</p>" },
            { "14:07", "Desk", "Time of day only", "<p>-</p>" }, { "2012.03.05 14:07", "Desk", "  \t ", "<p>-</p>" } };
        s.askRemoval = true;
    })) { }
};

TEST_F(OddMailboxTest, OddTimesAndSubjectsAndATerminalThatAsksBeforeItDeletes)
{
    EXPECT_EQ(time(0), 0);
    EXPECT_EQ(time(1), 50820);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorMailboxGetTime()", "Ошибка в методе \"Utils::Time<TYPE_UNIX_"
        "TIME32_SECOND>::DateTimeSeparator()\".\nОтсутствуют цифровые символы в строке:\n\"yesterday\"" } }));
    EXPECT_EQ(open(2), 0);
    EXPECT_EQ(Received(1), std::vector<Event> { DoubleClick(2) });
    EXPECT_EQ(erase(1), 1);
    std::vector<Box> shown;
    EXPECT_TRUE(Utils::Wait::Until([&] { return !(shown = boxes.Take()).empty(); }, 10, 5000));
    EXPECT_EQ(shown, (std::vector<Box> { { "MetaTrader", "Delete the selected message?" } }));
    EXPECT_EQ(Received(1), std::vector<Event> { Delete() });
    EXPECT_EQ(size(), 3);
}

TEST_F(MailboxTest, LineOperationsWaitForTheTerminalMutexAndCloseByNameDoesNot)
{
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([taken] {
        const std::string name = "MT4::Windows::Mutex_Terminal_" + std::to_string(GetCurrentProcessId());
        HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
        WaitForSingleObject(mutex, INFINITE);
        SetEvent(taken);
        Sleep(600);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    ASSERT_EQ(WaitForSingleObject(taken, 5000), WAIT_OBJECT_0);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(closeByName("No such message"), 1);
    EXPECT_LT(GetTickCount64() - start, 400u);
    EXPECT_EQ(size(), 3);
    EXPECT_GE(GetTickCount64() - start, 400u);
    holder.join();
    CloseHandle(taken);
    EXPECT_TRUE(boxes.Take().empty());
}

}  // namespace
