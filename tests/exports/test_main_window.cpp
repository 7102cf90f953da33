// Start-up and main-window exports through the real DLL against the
// stand-in terminal: the exact messages the terminal received and the exact
// results, in this process and in another.
#include <gtest/gtest.h>

#include "StandIn.h"
#include "Utils/Errors.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"
#include "support/StandInProcess.h"

using StandIn::Event;
using Support::Box;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        init(0);  // serve the stand-in just started in this process
        terminal.Log().Clear();
    }

    std::vector<Event> Received(size_t count)
    {
        terminal.Log().WaitFor([count](const std::vector<Event>& events) { return events.size() >= count; }, 5000);
        return terminal.Log().Take();
    }

    HWND Main() const { return terminal.Handles().main; }
    Event Expected(Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
        const std::string& text = std::string())
    {
        return Event { kind, window, message, wParam, lParam, text, terminal.UiThread() };
    }

    StandIn::Terminal terminal { StandIn::Scenario::Named("english") };
    Support::Library library;
    Support::VoidOfIntFn init = library.Get<Support::VoidOfIntFn>("VelmorInit");
    Support::BoxWatcher boxes;
};

TEST_F(MainWindowTest, HandleProcessIdAndLanguageAreWhatStartUpFound)
{
    EXPECT_EQ(library.Get<Support::IntFn>("VelmorHandleMT4")(), static_cast<int32_t>(reinterpret_cast<INT_PTR>(Main())));
    EXPECT_EQ(library.Get<Support::IntFn>("VelmorGetProcessId")(), static_cast<int32_t>(GetCurrentProcessId()));
    EXPECT_EQ(library.Get<Support::IntFn>("VelmorGetLocalization")(), 32000);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MainWindowTest, KeyDownPostsOnlyTheLowByteWithRepeatCountOne)
{
    library.Get<Support::VoidOfIntFn>("VelmorMetaTraderKeyDown")(0x141);
    // The terminal translates the key into its character, as for any key.
    EXPECT_EQ(Received(2),
        (std::vector<Event> { Expected(Event::Key, Main(), WM_KEYDOWN, 0x41, 1),
            Expected(Event::Key, Main(), WM_CHAR, 'a', 1) }));
}

TEST_F(MainWindowTest, ShowStateExportsReturnThePreviousVisibility)
{
    auto call = [&](const char* name) { return library.Get<Support::IntFn>(name)(); };
    EXPECT_NE(call("VelmorMetaTraderMaximize"), 0);
    EXPECT_NE(call("VelmorMetaTraderRestore"), 0);
    EXPECT_NE(call("VelmorMetaTraderMinimize"), 0);
    EXPECT_NE(call("VelmorMetaTraderRestore"), 0);
    EXPECT_NE(call("VelmorMetaTraderHide"), 0);
    EXPECT_EQ(call("VelmorMetaTraderHide"), 0);  // already hidden
    EXPECT_EQ(call("VelmorMetaTraderShow"), 0);
    auto state = [&](WPARAM shown) { return Expected(Event::Show, Main(), WM_WINDOWPOSCHANGED, shown, 0); };
    EXPECT_EQ(Received(6),
        (std::vector<Event> { state(SW_SHOWMAXIMIZED), state(SW_SHOWNORMAL), state(SW_SHOWMINIMIZED),
            state(SW_SHOWNORMAL), state(SW_HIDE), state(SW_SHOWNORMAL) }));
}

TEST_F(MainWindowTest, TitleOffClearsTheCaptionAndClicksTheSecondChart)
{
    library.Get<Support::VoidOfIntFn>("VelmorMetaTraderTitle")(0);
    EXPECT_EQ(GetWindowLongA(Main(), GWL_STYLE) & WS_CAPTION, 0);
    HWND second = terminal.Handles().chartViews.at(1);
    HWND frame = terminal.Handles().chartFrames.at(1);
    const std::vector<Event> events = Received(4);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), Expected(Event::Mouse, second, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame), 0x02010001));
    EXPECT_EQ(events[events.size() - 2], Expected(Event::Mouse, second, WM_LBUTTONDOWN, MK_LBUTTON, 0x00010001));
    EXPECT_EQ(events.back(), Expected(Event::Mouse, second, WM_LBUTTONUP, 0, 0x00010001));
    library.Get<Support::VoidOfIntFn>("VelmorMetaTraderTitle")(1);
    EXPECT_EQ(GetWindowLongA(Main(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

TEST_F(MainWindowTest, HotKeysRestoreTheWindowAndPressTheCombination)
{
    // The keys go to the window with the keyboard focus: the active chart.
    HWND focus = nullptr;
    terminal.OnUiThread([&] {
        SetForegroundWindow(Main());
        SetFocus(Main());
        focus = GetFocus();
    });
    ASSERT_EQ(focus, terminal.Handles().chartViews.back());
    terminal.Log().Clear();
    library.Get<Support::VoidOfIntIntFn>("VelmorMetaTraderHotKeys")(0x153, 0x111);
    const LPARAM down = 0x01450001, up = static_cast<LPARAM>(0xC1450001u);
    EXPECT_EQ(Received(5),
        (std::vector<Event> { Expected(Event::Key, focus, WM_KEYDOWN, VK_CONTROL, down),
            Expected(Event::Key, focus, WM_KEYDOWN, 'S', down), Expected(Event::Key, focus, WM_CHAR, 0x13, down),
            Expected(Event::Key, focus, WM_KEYUP, 'S', up), Expected(Event::Key, focus, WM_KEYUP, VK_CONTROL, up) }));
    library.Get<Support::VoidOfIntIntFn>("VelmorMetaTraderHotKeys")('S', 0x41);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorMetaTraderHotKeys()",
            "Метод \"Utils::Keyboard::Hot()\".\nКод второй клавиши выбран неверно." } }));
}

TEST_F(MainWindowTest, ClosePostsWmCloseAndTheTerminalGoes)
{
    EXPECT_NE(library.Get<Support::IntFn>("VelmorMetaTraderClose")(), 0);
    EXPECT_EQ(Received(1), (std::vector<Event> { Expected(Event::Close, Main(), WM_CLOSE, 0, 0) }));
}

TEST(TitleOneChartTest, TitleOffWithOneChartSendsNoClick)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.charts = { { "EURUSD", 60 } };
    StandIn::Terminal terminal(scenario);
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    terminal.Log().Clear();
    library.Get<Support::VoidOfIntFn>("VelmorMetaTraderTitle")(0);
    EXPECT_EQ(GetWindowLongA(terminal.Handles().main, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_TRUE(terminal.Log().Take().empty());
}

TEST(LocalizationExportTest, RussianTerminalAnswers32025)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("russian"));
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_EQ(library.Get<Support::IntFn>("VelmorGetLocalization")(), 32025);
}

TEST(StartUpTest, AnotherProcessIsServedUntilStartUpIsAskedForThisOneAgain)
{
    Support::Library library;
    auto init = library.Get<Support::VoidOfIntFn>("VelmorInit");
    auto processId = library.Get<Support::IntFn>("VelmorGetProcessId");
    auto handle = library.Get<Support::IntFn>("VelmorHandleMT4");
    auto directory = library.Get<Support::TextFn>("VelmorGetPathDirectoryMT4");
    auto server = library.Get<Support::TextFn>("VelmorGetPathServer");

    Support::StandInProcess other("english");
    init(static_cast<int32_t>(other.Pid()));
    EXPECT_EQ(processId(), static_cast<int32_t>(other.Pid()));  // later calls keep serving it
    EXPECT_EQ(handle(), static_cast<int32_t>(reinterpret_cast<INT_PTR>(other.Main())));
    EXPECT_STREQ(directory(), Support::StandInProcess::Directory().c_str());
    EXPECT_EQ(std::string(server()), Support::StandInProcess::Directory() + "history\\MetaQuotes-Demo\\");

    // A stand-in in this process, found by a new start-up for this process.
    StandIn::Terminal here(StandIn::Scenario::Named("english"));
    init(0);
    EXPECT_EQ(processId(), static_cast<int32_t>(GetCurrentProcessId()));
    EXPECT_EQ(handle(), static_cast<int32_t>(reinterpret_cast<INT_PTR>(here.Handles().main)));
    EXPECT_EQ(other.Close(), 0u);
}

TEST(StartUpTest, ServerHistoryIsInTheDataFolderUnlessThePortableTerminalKeepsItsOwn)
{
    Support::Library library;
    auto init = library.Get<Support::VoidOfIntFn>("VelmorInit");
    auto directory = library.Get<Support::TextFn>("VelmorGetPathDirectoryMT4");
    auto server = library.Get<Support::TextFn>("VelmorGetPathServer");
    auto serverW = library.Get<const wchar_t*(WINAPI*)()>("VelmorGetPathServerW");
    Support::InstallFolder install;
    const std::string data = StandIn::DataFolder(install.Path());
    struct RemoveData {
        std::string folder;
        ~RemoveData() { Support::InstallFolder::Remove(folder); }
    } removeData { data };
    const std::string scenario = install.Path() + "data.txt";
    HANDLE file = CreateFileA(scenario.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string text = "datafolder = yes\nserver = Broker-Data\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);

    const struct {
        const char* switches;
        bool historyRemoved;  // by the user, after the terminal started
        std::string expected;
    } rows[] = {
        { "", false, data + "history\\Broker-Data\\" },
        { " /portable", true, "" },  // the data folder is not its own
        { " /portable", false, install.Path() + "history\\Broker-Data\\" },
        { "", false, install.Path() + "history\\Broker-Data\\" },  // its install folder holds the history
    };
    for (const auto& row : rows) {
        Support::StandInProcess terminal("\"" + scenario + "\"" + row.switches, "standin.exe", install.Path());
        if (row.historyRemoved)
            Support::InstallFolder::Remove(install.Path() + "history\\");
        init(static_cast<int32_t>(terminal.Pid()));
        EXPECT_EQ(std::string(directory()), install.Path()) << row.switches;
        EXPECT_EQ(std::string(server()), row.expected) << row.switches;
        // The folders of the test are ASCII: widened byte by byte.
        EXPECT_EQ(std::wstring(serverW()), std::wstring(row.expected.begin(), row.expected.end())) << row.switches;
        EXPECT_EQ(terminal.Close(), 0u);
    }
}

TEST(StartUpTest, SixTerminalListsEndStartUpWithASystemErrorBox)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("six-lists"));
    Support::BoxWatcher boxes;
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    const std::vector<Box> shown = boxes.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "RazozazER4.dll");
    // The last-error code is whatever the system left; the text around it is exact.
    const std::string head = "Ошибка в функции \"Init()\".\n\nСистемная ошибка!";
    ASSERT_EQ(shown[0].text.substr(0, head.size()), head);
    const DWORD code = std::stoul(shown[0].text.substr(head.size() + std::string("\nLast Error ").size()));
    EXPECT_EQ(shown[0].text, head + LastErrorText(code));
}

TEST(StartUpTest, ANewTerminalIsFoundAfterStartUpIsAskedAgain)
{
    Support::Library library;
    auto handle = library.Get<Support::IntFn>("VelmorHandleMT4");
    HWND first = nullptr;
    {
        StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        first = terminal.Handles().main;
        EXPECT_EQ(handle(), static_cast<int32_t>(reinterpret_cast<INT_PTR>(first)));
    }
    StandIn::Terminal terminal(StandIn::Scenario::Named("russian"));
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_EQ(handle(), static_cast<int32_t>(reinterpret_cast<INT_PTR>(terminal.Handles().main)));
    EXPECT_EQ(library.Get<Support::IntFn>("VelmorGetLocalization")(), 32025);
}

}  // namespace
