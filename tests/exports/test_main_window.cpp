// Start-up and main-window exports through the real DLL against the
// stand-in terminal: the exact messages the terminal received and the exact
// results, in this process and in another.
#include <gtest/gtest.h>

#include <fstream>

#include "support/StandInProcess.h"
#include "support/TerminalTest.h"

using StandIn::Event;

namespace {

int32_t Id(HWND window) { return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window)); }

class MainWindowTest : public Support::TerminalTest {
protected:
    int32_t Call(const char* name) { return library.Get<Support::IntFn>(name)(); }
};

TEST_F(MainWindowTest, EachExportGivesItsResultAndTheTerminalItsMessages)
{
    EXPECT_EQ(Call("VelmorHandleMT4"), Id(Main()));
    EXPECT_EQ(Call("VelmorGetProcessId"), static_cast<int32_t>(GetCurrentProcessId()));
    EXPECT_EQ(Call("VelmorGetLocalization"), 32000);

    // Only the low byte of the key, repeat count one; the terminal translates it.
    library.Get<Support::VoidOfIntFn>("VelmorMetaTraderKeyDown")(0x141);
    EXPECT_EQ(Received(2),
        (std::vector<Event> {
            Expected(Event::Key, Main(), WM_KEYDOWN, 0x41, 1), Expected(Event::Key, Main(), WM_CHAR, 'a', 1) }));

    // Hot keys go to the window with the keyboard focus: the active chart.
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

    // The caption goes and the second chart is clicked.
    auto title = library.Get<Support::VoidOfIntFn>("VelmorMetaTraderTitle");
    title(0);
    EXPECT_EQ(GetWindowLongA(Main(), GWL_STYLE) & WS_CAPTION, 0);
    HWND second = terminal.Handles().chartViews.at(1);
    const std::vector<Event> events = Received(4);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), Expected(Event::Mouse, second, WM_MOUSEACTIVATE,
                                  reinterpret_cast<WPARAM>(terminal.Handles().chartFrames.at(1)), 0x02010001));
    EXPECT_EQ(events[events.size() - 2], Expected(Event::Mouse, second, WM_LBUTTONDOWN, MK_LBUTTON, 0x00010001));
    EXPECT_EQ(events.back(), Expected(Event::Mouse, second, WM_LBUTTONUP, 0, 0x00010001));
    title(1);
    EXPECT_EQ(GetWindowLongA(Main(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    terminal.Log().Clear();

    // The show-state exports give the previous visibility; Close posts WM_CLOSE.
    auto state = [&](WPARAM shown) { return Expected(Event::Show, Main(), WM_WINDOWPOSCHANGED, shown, 0); };
    const struct {
        const char* name;
        bool visible;
        std::vector<Event> events;
    } rows[] = {
        { "VelmorMetaTraderMaximize", true, { state(SW_SHOWMAXIMIZED) } },
        { "VelmorMetaTraderRestore", true, { state(SW_SHOWNORMAL) } },
        { "VelmorMetaTraderMinimize", true, { state(SW_SHOWMINIMIZED) } },
        { "VelmorMetaTraderRestore", true, { state(SW_SHOWNORMAL) } },
        { "VelmorMetaTraderHide", true, { state(SW_HIDE) } },
        { "VelmorMetaTraderHide", false, {} },
        { "VelmorMetaTraderShow", false, { state(SW_SHOWNORMAL) } },
        { "VelmorMetaTraderClose", true, { Expected(Event::Close, Main(), WM_CLOSE, 0, 0) } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Call(row.name) != 0, row.visible);
        EXPECT_EQ(Received(row.events.size()), row.events);
    }
    EXPECT_TRUE(boxes.Take().empty());
}

// Another process is served until start-up is asked for this one again; a
// new terminal is found by a new start-up.
TEST(StartUpTest, EachStartUpServesTheTerminalItFinds)
{
    Support::Library library;
    auto init = library.Get<Support::VoidOfIntFn>("VelmorInit");
    auto processId = library.Get<Support::IntFn>("VelmorGetProcessId");
    auto handle = library.Get<Support::IntFn>("VelmorHandleMT4");
    Support::StandInProcess other("english");
    init(static_cast<int32_t>(other.Pid()));
    EXPECT_EQ(processId(), static_cast<int32_t>(other.Pid()));
    EXPECT_EQ(handle(), Id(other.Main()));
    {
        StandIn::Scenario oneChart = StandIn::Scenario::Named("english");
        oneChart.charts = { { "EURUSD", 60 } };
        StandIn::Terminal here(oneChart);
        init(0);
        EXPECT_EQ(processId(), static_cast<int32_t>(GetCurrentProcessId()));
        EXPECT_EQ(handle(), Id(here.Handles().main));
        here.Log().Clear();
        library.Get<Support::VoidOfIntFn>("VelmorMetaTraderTitle")(0);  // no second chart to click
        EXPECT_EQ(GetWindowLongA(here.Handles().main, GWL_STYLE) & WS_CAPTION, 0);
        EXPECT_TRUE(here.Log().Take().empty());
    }
    StandIn::Terminal russian(StandIn::Scenario::Named("russian"));
    init(0);
    EXPECT_EQ(handle(), Id(russian.Handles().main));
    EXPECT_EQ(library.Get<Support::IntFn>("VelmorGetLocalization")(), 32025);
    EXPECT_EQ(other.Close(), 0u);
}

// Each path of another process's terminal, as ANSI and as UTF-16.
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
    std::ofstream(scenario) << "datafolder = yes\nserver = Broker-Data\n";
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
        SCOPED_TRACE(row.switches);
        Support::StandInProcess terminal("\"" + scenario + "\"" + row.switches, "standin.exe", install.Path());
        if (row.historyRemoved)
            Support::InstallFolder::Remove(install.Path() + "history\\");
        init(static_cast<int32_t>(terminal.Pid()));
        EXPECT_EQ(std::string(directory()), install.Path());
        EXPECT_EQ(std::string(server()), row.expected);
        EXPECT_EQ(std::wstring(serverW()), std::wstring(row.expected.begin(), row.expected.end()));  // ASCII folders
        EXPECT_EQ(terminal.Close(), 0u);
    }
}

}  // namespace
