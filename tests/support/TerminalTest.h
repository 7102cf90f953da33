#pragma once
// A test against a stand-in terminal in this process, served by the real
// DLL loaded by name: start-up has run, the journal is empty, and every
// message box is recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StandIn.h"
#include "standin/Helpers.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

namespace Support {

class TerminalTest : public ::testing::Test {
protected:
    explicit TerminalTest(const StandIn::Scenario& scenario = StandIn::Scenario::Named("english"))
        : terminal(scenario)
    {
    }

    void SetUp() override
    {
        library.Get<VoidOfIntFn>("VelmorInit")(0);
        terminal.Log().Clear();
    }

    // What the terminal received: at least `count` events, waited for at most 5 s.
    std::vector<StandIn::Event> Received(size_t count)
    {
        terminal.Log().WaitFor([count](const std::vector<StandIn::Event>& events) { return events.size() >= count; },
            5000);
        return terminal.Log().Take();
    }

    // An event of the terminal's interface thread.
    StandIn::Event Expected(StandIn::Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
        const std::string& text = std::string()) const
    {
        return StandIn::Event { kind, window, message, wParam, lParam, text, terminal.UiThread() };
    }

    StandIn::Event Command(UINT command) const
    {
        return Expected(StandIn::Event::Command, Main(), WM_COMMAND, command, 0);
    }

    HWND Main() const { return terminal.Handles().main; }

    // The dialog ("#32770") of this process titled `title`, or null.
    static HWND DialogTitled(const std::string& title)
    {
        for (HWND window : StandInTest::WindowsOfThisProcess())
            if (StandInTest::ClassOf(window) == "#32770" && StandInTest::TextOf(window) == title)
                return window;
        return nullptr;
    }

    // Cancels a dialog and waits (at most 2 s) until it is gone.
    static void Cancel(HWND dialog)
    {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 200 && IsWindow(dialog); ++i)
            Sleep(10);
        EXPECT_FALSE(IsWindow(dialog));
    }

    StandIn::Terminal terminal;
    Library library;
    BoxWatcher boxes;
};

}  // namespace Support
