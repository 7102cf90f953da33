// The login dialog through the real DLL: it shows the current account and server; each login
// enters what it is given, clicks the save-password box only to change it, and confirms; the
// server's name is read from the dialog, which closes after the call or stays open without one.
#include <gtest/gtest.h>
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

class LoginTest : public Support::TerminalTest {
protected:
    LoginTest() : TerminalTest([] {
        StandIn::Scenario scenario = StandIn::Scenario::Named("english");
        scenario.server.clear();
        return scenario;
    }()) { }
    // True once no login dialog is left (waited for at most 2 s).
    static bool LoginDialogGone()
    {
        for (int i = 0; i < 200 && DialogTitled("MetaTrader"); ++i)
            Sleep(10);
        return DialogTitled("MetaTrader") == nullptr;
    }
};

TEST_F(LoginTest, EachLoginEntersWhatItIsGivenAndConfirmsTheDialog)
{
    auto nameServer = library.Get<Support::TextFn>("VelmorGetNameServer");
    EXPECT_STREQ(nameServer(), "");
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorGetNameServer()",
                                "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nИмя сервера не прочитано." } }));
    ASSERT_NE(DialogTitled("MetaTrader"), nullptr);
    Cancel(DialogTitled("MetaTrader"));
    terminal.Log().Clear();

    auto login = library.Get<void(WINAPI*)(int32_t, const char*, const char*, int32_t)>("VelmorLogin");
    const std::string kept = "login 87654321, password , server Broker-Live, save password ";
    // An account of 0 or below confirms the dialog as it shows; an empty or null password or server leaves its field.
    const struct { int32_t account; const char *password, *server; int32_t save; std::string entered, title; } rows[] = {
        { 87654321, "s3cret!", "Broker-Live", 1,
            "login 87654321, password " + StandIn::Fingerprint("s3cret!") + ", server Broker-Live, save password yes",
            "87654321: Broker-Live - [USDJPY,D1]" },
        { 0, "s3cret!", "Other", 0, kept + "no", "" },
        { -5, "s3cret!", "Other", 1, kept + "yes", "" },
        { 0, "", "", 0, kept + "no", "" },
        { 0, "", "", 0, kept + "no", "" },
        { 0, "", "", 7, kept + "yes", "" },
        { 555, "", "", 1, "login 555, password , server Broker-Live, save password yes", "555: Broker-Live - [USDJPY,D1]" },
        { 556, nullptr, nullptr, 0, "login 556, password , server Broker-Live, save password no",
            "556: Broker-Live - [USDJPY,D1]" },
    };
    // A question of the terminal titled like the login dialog is not taken for it.
    HWND question = CreateWindowExA(
        0, "#32770", "MetaTrader", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entered);
        login(row.account, row.password, row.server, row.save);
        DestroyWindow(question);  // there for the first login only
        question = nullptr;
        const std::vector<Event> events = terminal.Log().Take();
        std::vector<Event> expected = { Command(0x8A65) };
        if (events.size() > 1)
            expected.push_back(Expected(Event::Dialog, events[1].window, WM_COMMAND, IDOK, 0, row.entered));
        if (!row.title.empty())
            expected.push_back(Expected(Event::Title, Main(), WM_SETTEXT, 0, 0, row.title));
        EXPECT_EQ(events, expected);
        EXPECT_TRUE(LoginDialogGone());
    }
    EXPECT_STREQ(nameServer(), "Broker-Live");
    EXPECT_TRUE(LoginDialogGone());
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x8A65) }));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

}  // namespace
