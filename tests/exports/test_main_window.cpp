// Start-up and main-window exports: the exact messages the terminal received and the results, here and in another process.
#include <gtest/gtest.h>
#include <fstream>
#include "support/StandInProcess.h"
#include "support/TerminalTest.h"

using StandIn::Event;

namespace {

int32_t Id(HWND window) { return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window)); }

class MainWindowTest : public Support::TerminalTest {
protected:
    int32_t Call(const std::string& name) { return library.Get<Support::IntFn>(name.c_str())(); }
    LONG Caption() const { return GetWindowLongA(Main(), GWL_STYLE) & WS_CAPTION; }
};

TEST_F(MainWindowTest, EachExportGivesItsResultAndTheTerminalItsMessages)
{
    Support::StandInProcess other("english");  // served until start-up is asked for this process again
    library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(other.Pid()));
    EXPECT_EQ(Call("VelmorGetProcessId"), static_cast<int32_t>(other.Pid()));
    EXPECT_EQ(Call("VelmorHandleMT4"), Id(other.Main()));
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_EQ(Call("VelmorGetProcessId"), static_cast<int32_t>(GetCurrentProcessId()));
    EXPECT_EQ(Call("VelmorHandleMT4"), Id(Main()));
    EXPECT_EQ(other.Close(), 0u);
    // A key: only its low byte, repeat count one. Hot keys: to the focus, the active chart.
    auto key = [&](HWND window, UINT message, WPARAM c, LPARAM l) { return Expected(Event::Key, window, message, c, l); };
    library.Get<Support::VoidOfIntFn>("VelmorMetaTraderKeyDown")(0x141);
    EXPECT_EQ(Received(2), (std::vector<Event> { key(Main(), WM_KEYDOWN, 0x41, 1), key(Main(), WM_CHAR, 'a', 1) }));
    const StandIn::Windows& handles = terminal.Handles();
    terminal.OnUiThread([&] { SetForegroundWindow(Main()); SetFocus(Main()); });
    terminal.Log().Clear();
    library.Get<Support::VoidOfIntIntFn>("VelmorMetaTraderHotKeys")(0x153, 0x111);
    HWND focus = handles.chartViews.back();
    const LPARAM down = 0x01450001, up = static_cast<LPARAM>(0xC1450001u);
    EXPECT_EQ(Received(5),
        (std::vector<Event> { key(focus, WM_KEYDOWN, VK_CONTROL, down), key(focus, WM_KEYDOWN, 'S', down),
            key(focus, WM_CHAR, 0x13, down), key(focus, WM_KEYUP, 'S', up), key(focus, WM_KEYUP, VK_CONTROL, up) }));
    // The caption goes and the second chart is clicked; once the others are closed, none is.
    auto title = library.Get<Support::VoidOfIntFn>("VelmorMetaTraderTitle");
    auto click = [&](UINT message, WPARAM w, LPARAM l) { return Expected(Event::Mouse, handles.chartViews[1], message, w, l); };
    title(0);
    EXPECT_EQ(Caption(), 0);
    const std::vector<Event> events = Received(4);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), click(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(handles.chartFrames[1]), 0x02010001));
    EXPECT_EQ(events[events.size() - 2], click(WM_LBUTTONDOWN, MK_LBUTTON, 0x00010001));
    EXPECT_EQ(events.back(), click(WM_LBUTTONUP, 0, 0x00010001));
    title(1);
    EXPECT_EQ(Caption(), WS_CAPTION);
    terminal.OnUiThread([&] { for (size_t i = 1; i < handles.chartFrames.size(); ++i)
        SendMessageA(handles.chartArea, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handles.chartFrames[i]), 0); });
    terminal.Log().Clear();
    title(0);
    EXPECT_EQ(Caption(), 0);
    EXPECT_TRUE(terminal.Log().Take().empty());
    title(1);
    // The show-state exports give the previous visibility; Close posts WM_CLOSE.
    auto state = [&](WPARAM shown) { return Expected(Event::Show, Main(), WM_WINDOWPOSCHANGED, shown, 0); };
    const struct { const char* name; bool nonZero; std::vector<Event> events; } rows[] = {
        { "Maximize", true, { state(SW_SHOWMAXIMIZED) } }, { "Restore", true, { state(SW_SHOWNORMAL) } },
        { "Minimize", true, { state(SW_SHOWMINIMIZED) } }, { "Restore", true, { state(SW_SHOWNORMAL) } },
        { "Hide", true, { state(SW_HIDE) } }, { "Hide", false, {} }, { "Show", false, { state(SW_SHOWNORMAL) } },
        { "Close", true, { Expected(Event::Close, Main(), WM_CLOSE, 0, 0) } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Call(std::string("VelmorMetaTrader") + row.name) != 0, row.nonZero);
        EXPECT_EQ(Received(row.events.size()), row.events);
    }
    EXPECT_TRUE(boxes.Take().empty());
}

// The paths of another process's terminal, as ANSI and as UTF-16.
TEST(StartUpTest, ServerHistoryIsInTheDataFolderUnlessThePortableTerminalKeepsItsOwn)
{
    Support::Library library;
    Support::InstallFolder install;
    const std::string data = StandIn::DataFolder(install.Path()), scenario = install.Path() + "data.txt";
    std::ofstream(scenario) << "datafolder = yes\nserver = Broker-Data\n";
    const struct { const char* switches; bool historyRemoved; std::string expected; } rows[] = {
        { "", false, data + "history\\Broker-Data\\" },
        { " /portable", true, "" },  // the user removed it after start: the data folder is not its own
        { " /portable", false, install.Path() + "history\\Broker-Data\\" },
        { "", false, install.Path() + "history\\Broker-Data\\" },  // its install folder holds the history
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.switches);
        Support::StandInProcess terminal("\"" + scenario + "\"" + row.switches, "standin.exe", install.Path());
        if (row.historyRemoved)
            Support::InstallFolder::Remove(install.Path() + "history\\");
        library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(terminal.Pid()));
        EXPECT_EQ(std::string(library.Get<Support::TextFn>("VelmorGetPathDirectoryMT4")()), install.Path());
        EXPECT_EQ(std::string(library.Get<Support::TextFn>("VelmorGetPathServer")()), row.expected);
        EXPECT_EQ(std::wstring(library.Get<const wchar_t*(WINAPI*)()>("VelmorGetPathServerW")()),
            std::wstring(row.expected.begin(), row.expected.end()));
        EXPECT_EQ(terminal.Close(), 0u);
    }
    Support::InstallFolder::Remove(data);
}

}  // namespace
