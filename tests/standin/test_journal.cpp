// What the stand-in journals: chart activation (by WM_MDIACTIVATE and by a
// click on a view) with the title that follows it, commands, internal
// messages and keys in arrival order, show-state changes, keyboard focus,
// and WM_CLOSE ending the terminal.
#include <gtest/gtest.h>

#include "Helpers.h"
#include "StandIn.h"

using namespace StandInTest;
using StandIn::Event;
using StandIn::Scenario;
using StandIn::Terminal;

namespace {

std::vector<Event> WaitForEvents(Terminal& terminal, size_t count)
{
    terminal.Log().WaitFor([&](const std::vector<Event>& events) { return events.size() >= count; }, 10000);
    return terminal.Log().Take();
}

class JournalTest : public ::testing::Test {
protected:
    Event Make(Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::string text = {})
    {
        return { kind, window, message, wParam, lParam, std::move(text), terminal.UiThread() };
    }
    WPARAM Frame(int i) const { return reinterpret_cast<WPARAM>(windows.chartFrames[i]); }
    HWND View(int i) const { return windows.chartViews[i]; }

    Terminal terminal;
    const StandIn::Windows& windows = terminal.Handles();
    const std::string account = "12345678: MetaQuotes-Demo";
};

TEST_F(JournalTest, ActivatingAChartJournalsActivateThenTheNewTitle)
{
    ASSERT_TRUE(terminal.Log().Take().empty());
    SendMessageA(windows.chartArea, WM_MDIACTIVATE, Frame(0), 0);
    EXPECT_EQ(terminal.Log().Take(),
        (std::vector<Event> { Make(Event::Activate, View(0), WM_MDIACTIVATE, Frame(2), Frame(0), "EURUSD,H1"),
            Make(Event::Title, windows.main, WM_SETTEXT, 0, 0, account + " - [EURUSD,H1]") }));
    EXPECT_EQ(TextOf(windows.main), account + " - [EURUSD,H1]");
    EXPECT_EQ(GetWindow(windows.chartArea, GW_CHILD), windows.chartFrames[0]);

    // The active chart again: nothing changes.
    SendMessageA(windows.chartArea, WM_MDIACTIVATE, Frame(0), 0);
    EXPECT_TRUE(terminal.Log().Take().empty());
}

// The click the library sends: activate, button down, button up.
TEST_F(JournalTest, AClickOnAViewActivatesItsChartBeforeTheButtonMessages)
{
    const LPARAM hit = 0x02010001, point = 0x00010001;
    SendMessageA(View(1), WM_MOUSEACTIVATE, Frame(1), hit);
    SendMessageA(View(1), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(View(1), WM_LBUTTONUP, 0, point);
    EXPECT_EQ(terminal.Log().Take(),
        (std::vector<Event> { Make(Event::Mouse, View(1), WM_MOUSEACTIVATE, Frame(1), hit),
            Make(Event::Activate, View(1), WM_MDIACTIVATE, Frame(2), Frame(1), "GBPUSD,H4"),
            Make(Event::Title, windows.main, WM_SETTEXT, 0, 0, account + " - [GBPUSD,H4]"),
            Make(Event::Mouse, View(1), WM_LBUTTONDOWN, MK_LBUTTON, point),
            Make(Event::Mouse, View(1), WM_LBUTTONUP, 0, point) }));
    EXPECT_EQ(GetWindow(windows.chartArea, GW_CHILD), windows.chartFrames[1]);
}

// Sent messages first (each handled before the send returns), then posted
// ones; a posted key-down also brings the WM_CHAR that the message loop
// posts behind whatever is queued.
TEST_F(JournalTest, CommandsInternalMessagesAndKeysAreJournaledInArrivalOrderOnTheUiThread)
{
    const UINT internal = RegisterWindowMessageA("MetaTrader4_Internal_Message");
    SendMessageA(windows.main, WM_COMMAND, 33315, 0);
    SendMessageA(View(0), WM_COMMAND, 35462, 0);
    SendMessageA(View(0), internal, 0x30, 7);
    SendMessageA(View(2), WM_LBUTTONDBLCLK, 0, 0x00050005);
    // Private messages are not the terminal's: nothing is journaled for them.
    terminal.OnUiThread([] {});
    PostMessageA(View(2), WM_KEYUP, VK_F9, static_cast<LPARAM>(0xC0000001u));
    PostMessageA(windows.main, WM_KEYDOWN, 0x41, 1);
    EXPECT_EQ(WaitForEvents(terminal, 7),
        (std::vector<Event> { Make(Event::Command, windows.main, WM_COMMAND, 33315, 0),
            Make(Event::Command, View(0), WM_COMMAND, 35462, 0), Make(Event::Internal, View(0), internal, 0x30, 7),
            Make(Event::Mouse, View(2), WM_LBUTTONDBLCLK, 0, 0x00050005),
            Make(Event::Key, View(2), WM_KEYUP, VK_F9, static_cast<LPARAM>(0xC0000001u)),
            Make(Event::Key, windows.main, WM_KEYDOWN, 0x41, 1), Make(Event::Key, windows.main, WM_CHAR, 'a', 1) }));
}

TEST_F(JournalTest, EachChangeOfTheShowStateIsJournaledOnce)
{
    for (int command : { SW_MINIMIZE, SW_RESTORE, SW_HIDE, SW_SHOW, SW_MAXIMIZE, SW_MAXIMIZE, SW_RESTORE })
        ShowWindow(windows.main, command);
    std::vector<WPARAM> states;
    for (const Event& event : terminal.Log().Take()) {
        EXPECT_EQ(event.kind, Event::Show) << event;
        EXPECT_EQ(event.window, windows.main);
        states.push_back(event.wParam);
    }
    EXPECT_EQ(states,
        (std::vector<WPARAM> { SW_SHOWMINIMIZED, SW_SHOWNORMAL, SW_HIDE, SW_SHOWNORMAL, SW_SHOWMAXIMIZED,
            SW_SHOWNORMAL }));
}

// Typed keys go to the focused window: the active chart's view once the
// main window is focused, or the main window itself with no chart.
TEST(FocusTest, KeysTypedIntoTheFocusedTerminalReachTheActiveChartOrTheMainWindow)
{
    for (const char* name : { "english", "no-charts" }) {
        Terminal terminal(Scenario::Named(name));
        const StandIn::Windows& windows = terminal.Handles();
        const HWND expected = windows.chartViews.empty() ? windows.main : windows.chartViews.back();
        HWND focus = nullptr;
        terminal.OnUiThread([&] {
            SetForegroundWindow(windows.main);
            SetFocus(windows.main);
            focus = GetFocus();
        });
        ASSERT_EQ(focus, expected) << name;
        terminal.Log().Take();

        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = 'K';
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        std::vector<std::pair<UINT, WPARAM>> seen;
        for (const Event& event : WaitForEvents(terminal, 3)) {
            EXPECT_EQ(event.kind, Event::Key) << event;
            EXPECT_EQ(event.window, expected) << event;
            seen.push_back({ event.message, event.wParam });
        }
        EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>> { { WM_KEYDOWN, 'K' }, { WM_CHAR, 'k' }, { WM_KEYUP, 'K' } }))
            << name;
    }
}

TEST(CloseTest, WmCloseIsJournaledAndEndsTheTerminalWithItsFloatingFrames)
{
    Terminal terminal(Scenario::Named("floating"));
    const StandIn::Windows windows = terminal.Handles();
    PostMessageA(windows.main, WM_CLOSE, 0, 0);
    const DWORD start = GetTickCount();
    while (!terminal.Closed() && GetTickCount() - start < 10000)
        Sleep(10);
    ASSERT_TRUE(terminal.Closed());
    EXPECT_EQ(terminal.Log().Take(),
        (std::vector<Event> { { Event::Close, windows.main, WM_CLOSE, 0, 0, "", terminal.UiThread() } }));
    EXPECT_FALSE(IsWindow(windows.main));
    EXPECT_FALSE(IsWindow(windows.floatingFrame[0]));
    bool ran = false;
    terminal.OnUiThread([&] { ran = true; });
    EXPECT_FALSE(ran);
}

TEST(ScenarioTest, FilesAndNamesGiveTheirScenarios)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "standin-scenario.txt";
    const auto write = [&](const char* text) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
        CloseHandle(file);
    };
    write("# a Russian terminal\nlanguage = Russian\nplacement.navigator = floating\n"
          "terminalLists = 6\nchart = EURUSD,60\n chart = XAUUSD , 15 \naccount = 999\nserver = Broker-Live\n");
    const Scenario scenario = Scenario::FromFile(path);
    EXPECT_EQ(scenario.language, StandIn::Language::Russian);
    EXPECT_EQ(scenario.terminalLists, 6);
    ASSERT_EQ(scenario.charts.size(), 2u);
    EXPECT_EQ(scenario.charts[1].symbol, "XAUUSD");
    EXPECT_EQ(scenario.charts[1].period, 15);
    {
        Terminal terminal(scenario);
        const StandIn::Windows& windows = terminal.Handles();
        EXPECT_EQ(TextOf(windows.main), "999: Broker-Live - [XAUUSD,M15]");
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(windows.floatingFrame[i] != nullptr, i == static_cast<int>(StandIn::PanelId::Navigator));
        EXPECT_EQ(TextOf(windows.floatingFrame[static_cast<int>(StandIn::PanelId::Navigator)]), "Навигатор");
        // A connected terminal's history folder, next to the program.
        char program[MAX_PATH];
        std::string history(program, GetModuleFileNameA(nullptr, program, MAX_PATH));
        history.erase(history.find_last_of('\\') + 1);
        WIN32_FILE_ATTRIBUTE_DATA symbols = {};
        EXPECT_TRUE(GetFileAttributesExA((history + "history\\Broker-Live\\symbols.sel").c_str(), GetFileExInfoStandard,
            &symbols));
        EXPECT_EQ(symbols.nFileSizeLow, 0u);
    }

    write("chart =\n");
    EXPECT_TRUE(Scenario::FromFile(path).charts.empty());
    for (const char* wrong : { "language = german\n", "chart = EURUSD,7\n", "placement.tester = left\n", "colour = red\n" }) {
        write(wrong);
        EXPECT_THROW(Scenario::FromFile(path), std::runtime_error) << wrong;
    }
    DeleteFileA(path.c_str());
    EXPECT_THROW(Scenario::Named("german"), std::invalid_argument);
    EXPECT_EQ(Scenario::Named("six-lists").terminalLists, 6);
}

}  // namespace
