// The mailbox exports through the real DLL against the stand-in's Mailbox
// tab: line errors, each column, the time conversion, the search, opening,
// deleting and closing message windows, the Terminal mutex.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <process.h>

#include "StandIn.h"
#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

using StandIn::Event;
using Support::Box;

namespace {

using TextOfIntFn = const char*(WINAPI*)(int32_t);
using IntOfTextFn = int32_t(WINAPI*)(const char*);
using GetLineFn = int32_t(WINAPI*)(const char*, const char*, const char*, int32_t, int32_t);

HWND AsHandle(int32_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }

std::string TitleOf(HWND window)
{
    char text[260] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

Box LineBox(const char* method, const std::string& tail)
{
    return { std::string("Velmor") + method + "()",
        std::string("Метод \"MT4::Windows::") + method + "()\".\nНомер строки превышает количество сообщений." + tail };
}

class MailboxExportTest : public ::testing::Test {
protected:
    explicit MailboxExportTest(StandIn::Scenario scenario = StandIn::Scenario::Named("english"))
        : terminal(scenario)
    {
    }

    void SetUp() override
    {
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        terminal.Log().Clear();
    }

    HWND List() const { return terminal.Handles().terminalLists.at(4); }
    int Selected() const
    {
        return static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    int Lines() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    Event Received(Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return Event { kind, window, message, wParam, lParam, "", terminal.UiThread() };
    }
    // What the terminal received, once the posted messages had time to arrive.
    std::vector<Event> Journal(size_t count)
    {
        terminal.Log().WaitFor([count](const std::vector<Event>& events) { return events.size() >= count; }, 5000);
        return terminal.Log().Take();
    }

    StandIn::Terminal terminal;
    Support::Library library;
    Support::BoxWatcher boxes;
    Support::IntFn size = library.Get<Support::IntFn>("VelmorMailboxSize");
    TextOfIntFn stringTime = library.Get<TextOfIntFn>("VelmorMailboxGetStringTime");
    Support::IntOfIntFn time = library.Get<Support::IntOfIntFn>("VelmorMailboxGetTime");
    TextOfIntFn from = library.Get<TextOfIntFn>("VelmorMailboxGetFrom");
    TextOfIntFn theme = library.Get<TextOfIntFn>("VelmorMailboxGetTheme");
    GetLineFn getLine = library.Get<GetLineFn>("VelmorMailboxGetLine");
    Support::IntOfIntFn open = library.Get<Support::IntOfIntFn>("VelmorMailboxOpen");
    Support::IntOfIntFn erase = library.Get<Support::IntOfIntFn>("VelmorMailboxDelete");
    IntOfTextFn closeByName = library.Get<IntOfTextFn>("VelmorMailboxCloseByName");
    Support::IntOfIntFn closeByHandle = library.Get<Support::IntOfIntFn>("VelmorMailboxCloseByHandle");
};

// The English terminal with one change to its scenario.
StandIn::Scenario English(void (*change)(StandIn::Scenario&))
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    change(scenario);
    return scenario;
}

class EmptyMailboxTest : public MailboxExportTest {
protected:
    EmptyMailboxTest() : MailboxExportTest(English([](StandIn::Scenario& s) { s.mailbox.clear(); })) { }
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
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { LineBox("MailboxGetStringTime", ""), LineBox("MailboxGetTime", "\ndwLine = 0"),
            LineBox("MailboxGetFrom", "\ndwLine = 0"), LineBox("MailboxGetTheme", "\ndwLine = 0"),
            LineBox("MailboxOpen", "\ndwLine = 0"), LineBox("MailboxDelete", "\ndwLine = 0"),
            { "VelmorMailboxGetLine()",
                "Метод \"MT4::Windows::MailboxGetLine()\".\nНомер строки начала поиска превышает количество "
                "сообщений.\ndwStart = 0" } }));
    EXPECT_TRUE(terminal.Log().Take().empty());
}

TEST_F(MailboxExportTest, ColumnsComeBackAsTheListShowsThemAndTheLineIsLeftSelected)
{
    EXPECT_EQ(size(), 3);
    EXPECT_STREQ(stringTime(0), "2012.03.05 14:07");
    EXPECT_EQ(Selected(), 0);
    EXPECT_STREQ(from(1), "Служба поддержки");
    EXPECT_EQ(Selected(), 1);
    EXPECT_STREQ(theme(2), "Margin level  ");  // blanks and all
    EXPECT_EQ(Selected(), 2);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MailboxExportTest, ALineEqualToTheCountIsRejectedWithOrWithoutItsNumber)
{
    EXPECT_STREQ(stringTime(3), "");
    EXPECT_STREQ(theme(3), "");
    EXPECT_STREQ(from(-1), "");  // a line is unsigned: -1 is the last of 2^32
    EXPECT_EQ(time(3), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { LineBox("MailboxGetStringTime", ""), LineBox("MailboxGetTheme", "\ndwLine = 3"),
            LineBox("MailboxGetFrom", "\ndwLine = 4294967295"), LineBox("MailboxGetTime", "\ndwLine = 3") }));
}

TEST_F(MailboxExportTest, TimeColumnIsReadAsUnixSecondsWithoutATimeZoneShift)
{
    EXPECT_EQ(static_cast<uint32_t>(time(0)), 1330956420u);
    EXPECT_EQ(static_cast<uint32_t>(time(1)), 1331026200u);
    EXPECT_EQ(static_cast<uint32_t>(time(2)), 1331145900u);
    EXPECT_TRUE(boxes.Take().empty());
}

class OddMailboxTest : public MailboxExportTest {
protected:
    OddMailboxTest()
        : MailboxExportTest(English([](StandIn::Scenario& s) {
            s.mailbox = { { "yesterday", "Desk", "Unreadable time", "<p>-</p>" },
                { "14:07", "Desk", "Time of day only", "<p>-</p>" },
                { "2012.03.05 14:07", "Desk", "  \t ", "<p>-</p>" } };
        }))
    {
    }
};

TEST_F(OddMailboxTest, AnUnreadableTimeReportsTheParserAndATimeOfDayGivesSecondsSinceMidnight)
{
    EXPECT_EQ(time(0), 0);
    EXPECT_EQ(time(1), 50820);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorMailboxGetTime()",
            "Ошибка в методе \"Utils::Time<TYPE_UNIX_TIME32_SECOND>::DateTimeSeparator()\".\nОтсутствуют цифровые "
            "символы в строке:\n\"yesterday\"" } }));
}

TEST_F(OddMailboxTest, ASubjectOfBlanksOpensItsMessageButNamesNoWindow)
{
    EXPECT_EQ(open(2), 0);
    EXPECT_EQ(Journal(1), (std::vector<Event> { Received(Event::Mouse, List(), WM_LBUTTONDBLCLK, 2, 0) }));
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MailboxExportTest, SearchTakesTheFirstLineThatPassesAllThreeCriteriaInItsRange)
{
    EXPECT_EQ(getLine("", "", "", 0, -1), 0);
    EXPECT_EQ(getLine("2012.03.06", "", "", 0, -1), 1);      // time: the beginning
    EXPECT_EQ(getLine("", "Desk", "", 0, -1), 2);            // sender: anywhere
    EXPECT_EQ(getLine("", "", "счёт", 0, -1), 1);            // subject: anywhere
    EXPECT_EQ(getLine("2012.03.0", "Служба", "открыт", 0, -1), 1);
    EXPECT_EQ(getLine("", "desk", "", 0, -1), -1);           // bytes, case and all
    EXPECT_EQ(getLine("03.05", "", "", 0, -1), -1);
    EXPECT_EQ(getLine("", "", "Welcome", 1, -1), -1);        // before the start
    EXPECT_EQ(getLine("", "", "level", 0, 2), -1);           // beyond the count
    EXPECT_EQ(getLine("", "", "level", 1, 2), 2);
    EXPECT_EQ(getLine("", "", "level", 2, 100), 2);          // the count is cut to the list
    EXPECT_EQ(getLine("", "", "", 1, 0), -1);                // nothing to search
    EXPECT_EQ(getLine("", "", "", 3, -1), -1);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorMailboxGetLine()",
            "Метод \"MT4::Windows::MailboxGetLine()\".\nНомер строки начала поиска превышает количество "
            "сообщений.\ndwStart = 3" } }));
}

TEST_F(MailboxExportTest, OpenDoubleClicksTheSelectedLineAndFindsTheWindowByTheStrippedSubject)
{
    const int32_t window = open(2);
    ASSERT_NE(window, 0);
    EXPECT_EQ(TitleOf(AsHandle(window)), "Margin level  ");
    EXPECT_EQ(GetWindow(AsHandle(window), GW_OWNER), terminal.Handles().main);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Journal(1), (std::vector<Event> { Received(Event::Mouse, List(), WM_LBUTTONDBLCLK, 2, 0) }));
    // Opened again, the same window answers.
    EXPECT_EQ(open(2), window);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MailboxExportTest, DeleteSelectsTheLineAndPressesDelete)
{
    EXPECT_EQ(erase(1), 1);
    EXPECT_EQ(Journal(1), (std::vector<Event> { Received(Event::Key, List(), WM_KEYDOWN, VK_DELETE, 1) }));
    EXPECT_EQ(size(), 2);
    EXPECT_STREQ(theme(1), "Margin level  ");
    EXPECT_TRUE(boxes.Take().empty());
}

class AskingMailboxTest : public MailboxExportTest {
protected:
    AskingMailboxTest() : MailboxExportTest(English([](StandIn::Scenario& s) { s.askRemoval = true; })) { }
};

// The terminal asks before it deletes: the library presses Delete and leaves
// the question to the user (here the box watcher, whose OK is no Yes), so the
// message stays.
TEST_F(AskingMailboxTest, DeleteLeavesTheTerminalsQuestionToTheUser)
{
    EXPECT_EQ(erase(1), 1);
    std::vector<Box> shown;
    EXPECT_TRUE(Utils::Wait::Until([&] {
        for (Box& box : boxes.Take())
            shown.push_back(box);
        return !shown.empty();
    }, 10, 5000));
    EXPECT_EQ(shown, (std::vector<Box> { { "MetaTrader", "Delete the selected message?" } }));
    EXPECT_EQ(Journal(1), (std::vector<Event> { Received(Event::Key, List(), WM_KEYDOWN, VK_DELETE, 1) }));
    EXPECT_EQ(size(), 3);
}

TEST_F(MailboxExportTest, CloseByNameClosesEveryWindowWhoseTitleBeginsWithTheName)
{
    HWND welcome = AsHandle(open(0));
    HWND margin = AsHandle(open(2));
    ASSERT_TRUE(welcome && margin);
    terminal.Log().Clear();
    EXPECT_EQ(closeByName("Margin"), 1);
    EXPECT_EQ(Journal(1), (std::vector<Event> { Received(Event::Close, margin, WM_CLOSE, 0, 0) }));
    EXPECT_TRUE(IsWindow(welcome));

    EXPECT_EQ(closeByName("No such message"), 1);  // nothing to close is no failure
    // The empty name begins every title, the terminal's own included.
    EXPECT_EQ(closeByName(""), 0);
    EXPECT_EQ(closeByName(nullptr), 0);
    Sleep(100);
    EXPECT_TRUE(terminal.Log().Take().empty());
    EXPECT_TRUE(IsWindow(terminal.Handles().main));
    const Box empty { "VelmorMailboxCloseByName()",
        "Метод \"MT4::Windows::MailboxCloseByName()\".\nНе указано начало заголовка окна." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { empty, empty }));
}

TEST_F(MailboxExportTest, CloseByHandlePostsWmCloseAndRefusesHandleZero)
{
    const int32_t window = open(1);
    ASSERT_NE(window, 0);
    terminal.Log().Clear();
    EXPECT_NE(closeByHandle(window), 0);
    EXPECT_EQ(Journal(1), (std::vector<Event> { Received(Event::Close, AsHandle(window), WM_CLOSE, 0, 0) }));
    // Handle 0 would post WM_CLOSE to the calling thread itself.
    EXPECT_EQ(closeByHandle(0), 0);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    Sleep(100);
    EXPECT_FALSE(IsWindow(AsHandle(window)));
    EXPECT_TRUE(boxes.Take().empty());
}

// Holds the terminal's Terminal mutex for a while on a thread of its own.
struct MutexHolder {
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD holdMs = 0;

    static unsigned __stdcall Run(void* self)
    {
        auto& holder = *static_cast<MutexHolder*>(self);
        const std::string name = "MT4::Windows::Mutex_Terminal_" + std::to_string(GetCurrentProcessId());
        HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
        WaitForSingleObject(mutex, INFINITE);
        SetEvent(holder.taken);
        Sleep(holder.holdMs);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        return 0;
    }
};

TEST_F(MailboxExportTest, LineOperationsWaitForTheTerminalMutexAndCloseByNameDoesNot)
{
    MutexHolder holder;
    holder.holdMs = 600;
    HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, MutexHolder::Run, &holder, 0, nullptr));
    ASSERT_EQ(WaitForSingleObject(holder.taken, 5000), WAIT_OBJECT_0);
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(closeByName("No such message"), 1);
    EXPECT_LT(GetTickCount64() - start, 400u);
    EXPECT_EQ(size(), 3);
    EXPECT_GE(GetTickCount64() - start, 400u);  // waited for the holder to let go
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(holder.taken);
}

// Another program selects Terminal tabs while this one opens messages: the
// Terminal mutex keeps each tab click (press and release) whole.
struct TabClicker {
    Support::VoidOfIntFn setTab;
    static unsigned __stdcall Run(void* self)
    {
        auto& clicker = *static_cast<TabClicker*>(self);
        for (int i = 0; i < 20; ++i)
            clicker.setTab(i % 2 ? 4 : 0);
        return 0;
    }
};

TEST_F(MailboxExportTest, TabSelectionOnAnotherThreadNeverComesBetweenAMessagesSelectionAndItsOpening)
{
    TabClicker clicker { library.Get<Support::VoidOfIntFn>("VelmorSetTerminalTabByNumber") };
    HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, TabClicker::Run, &clicker, 0, nullptr));
    const char* const titles[] = { "Welcome!", "Ваш счёт открыт", "Margin level  " };
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(TitleOf(AsHandle(open(i % 3))), titles[i % 3]);
    WaitForSingleObject(thread, 60000);
    CloseHandle(thread);

    HWND strip = terminal.Handles().terminalTabs;
    std::vector<Event> clicks;
    for (const Event& event : terminal.Log().Take())
        if (event.kind == Event::Mouse)
            clicks.push_back(event);
    int presses = 0, opens = 0;
    for (size_t i = 0; i < clicks.size(); ++i) {
        if (clicks[i].window == strip && clicks[i].message == WM_LBUTTONDOWN) {
            ++presses;
            ASSERT_LT(i + 1, clicks.size());
            EXPECT_EQ(clicks[i + 1].window, strip);
            EXPECT_EQ(clicks[i + 1].message, static_cast<UINT>(WM_LBUTTONUP));
        }
        opens += clicks[i].window == List() && clicks[i].message == WM_LBUTTONDBLCLK;
    }
    EXPECT_EQ(presses, 20);
    EXPECT_EQ(opens, 12);
    EXPECT_TRUE(boxes.Take().empty());
}

}  // namespace
