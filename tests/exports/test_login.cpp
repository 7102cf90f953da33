// The login dialog and the trade servers through the real DLL: the server's
// name read from the dialog, which closes after the call, and the rescan.
#include <gtest/gtest.h>

#include "standin/Helpers.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

// The login dialog of this process, if one is open.
HWND LoginDialog()
{
    for (HWND window : StandInTest::WindowsOfThisProcess())
        if (StandInTest::ClassOf(window) == "#32770" && StandInTest::TextOf(window) == "MetaTrader")
            return window;
    return nullptr;
}

bool LoginDialogGone()
{
    for (int i = 0; i < 200 && LoginDialog(); ++i)
        Sleep(10);
    return LoginDialog() == nullptr;
}

class LoginTest : public Support::TerminalTest {
protected:
    using TerminalTest::TerminalTest;
    const char* NameServer() { return library.Get<Support::TextFn>("VelmorGetNameServer")(); }
};

TEST_F(LoginTest, TheServerNameIsReadAndTheDialogClosesAfterTheCall)
{
    EXPECT_STREQ(NameServer(), "MetaQuotes-Demo");
    EXPECT_TRUE(LoginDialogGone());
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x8A65) }));
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(LoginTest, RescanPostsItsCommand)
{
    EXPECT_NE(library.Get<Support::IntFn>("VelmorRescanServers")(), 0);
    EXPECT_EQ(Received(1), (std::vector<Event> { Command(0x9218) }));
}

StandIn::Scenario WithoutServer()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.server.clear();
    return scenario;
}

class NoServerTest : public LoginTest {
protected:
    NoServerTest() : LoginTest(WithoutServer()) { }
};

TEST_F(NoServerTest, AnEmptyServerFieldIsReportedAndTheDialogStaysOpen)
{
    EXPECT_STREQ(NameServer(), "");
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorGetNameServer()",
                                "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nИмя сервера не прочитано." } }));
    HWND dialog = LoginDialog();
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(LoginDialogGone());
}

}  // namespace
