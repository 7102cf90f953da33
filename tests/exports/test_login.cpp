// The login dialog and the trade servers through the real DLL: the server's
// name read from the dialog, which closes after the call, and the rescan.
#include <gtest/gtest.h>

#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

class LoginTest : public Support::TerminalTest {
protected:
    using TerminalTest::TerminalTest;
    const char* NameServer() { return library.Get<Support::TextFn>("VelmorGetNameServer")(); }
    // True once no login dialog is left (waited for at most 2 s).
    static bool LoginDialogGone()
    {
        for (int i = 0; i < 200 && DialogTitled("MetaTrader"); ++i)
            Sleep(10);
        return DialogTitled("MetaTrader") == nullptr;
    }
    void Login(int32_t account, const char* password, const char* server, int32_t save)
    {
        using LoginFn = void(WINAPI*)(int32_t, const char*, const char*, int32_t);
        library.Get<LoginFn>("VelmorLogin")(account, password, server, save);
    }
    // What the login dialog was confirmed with, and the title that followed if it changed.
    std::vector<Event> Confirmed(const std::string& entered, const std::string& title = std::string())
    {
        std::vector<Event> events = terminal.Log().Take();
        std::vector<Event> expected = { Command(0x8A65) };
        if (events.size() > 1)
            expected.push_back(Expected(Event::Dialog, events[1].window, WM_COMMAND, IDOK, 0, entered));
        if (!title.empty())
            expected.push_back(Expected(Event::Title, Main(), WM_SETTEXT, 0, 0, title));
        EXPECT_EQ(events, expected);
        EXPECT_TRUE(LoginDialogGone());
        return events;
    }
};

TEST_F(LoginTest, AccountPasswordAndServerAreEnteredAndConfirmed)
{
    Login(87654321, "s3cret!", "Broker-Live", 1);
    Confirmed("login 87654321, password " + StandIn::Fingerprint("s3cret!")
            + ", server Broker-Live, save password yes",
        "87654321: Broker-Live - [USDJPY,D1]");
    EXPECT_TRUE(boxes.Take().empty());
}

// A question of the terminal titled like the login dialog is open: the login
// dialog is the one with the login fields.
TEST_F(LoginTest, AnotherWindowTitledMetaTraderIsNotTakenForTheLoginDialog)
{
    HWND question = CreateWindowExA(
        0, "#32770", "MetaTrader", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    Login(87654321, "s3cret!", "Broker-Live", 1);
    DestroyWindow(question);
    Confirmed("login 87654321, password " + StandIn::Fingerprint("s3cret!") + ", server Broker-Live, save password yes",
        "87654321: Broker-Live - [USDJPY,D1]");
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(LoginTest, AnAccountOfZeroOrBelowConfirmsTheDialogAsItShows)
{
    Login(0, "s3cret!", "Broker-Live", 0);
    Confirmed("login 12345678, password , server MetaQuotes-Demo, save password no");
    Login(-5, "s3cret!", "Broker-Live", 0);
    Confirmed("login 12345678, password , server MetaQuotes-Demo, save password no");
}

// No password and no server: the dialog is redrawn instead, its fields stay.
TEST_F(LoginTest, AnEmptyPasswordAndServerLeaveTheirFields)
{
    Login(555, "", "", 0);
    Confirmed("login 555, password , server MetaQuotes-Demo, save password no", "555: MetaQuotes-Demo - [USDJPY,D1]");
    Login(556, nullptr, nullptr, 0);
    Confirmed("login 556, password , server MetaQuotes-Demo, save password no", "556: MetaQuotes-Demo - [USDJPY,D1]");
}

// The box keeps its state from one login to the next; it is clicked only to change it.
TEST_F(LoginTest, TheSavePasswordBoxIsClickedOnlyWhenItDiffers)
{
    for (int32_t save : { 1, 1, 0, 0, 7 }) {
        Login(0, "", "", save);
        Confirmed(std::string("login 12345678, password , server MetaQuotes-Demo, save password ")
            + (save ? "yes" : "no"));
    }
}

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
    HWND dialog = DialogTitled("MetaTrader");
    ASSERT_NE(dialog, nullptr);
    Cancel(dialog);
}

}  // namespace
