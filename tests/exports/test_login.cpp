// The login dialog: each login enters what it is given, clicks the save-password box only to change it and confirms;
// the server's name is read from the dialog, which closes after the call or stays open without one.
#include <gtest/gtest.h>
#include <utility>
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

class LoginTest : public Support::TerminalTest {
protected:
    LoginTest() : TerminalTest([] { auto s = StandIn::Scenario::Named("english"); s.server.clear(); return s; }()) { }
    static bool LoginDialogGone()  // waits at most 2 s
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
    auto entered = [](const std::string& account, const std::string& password, bool save) {
        return "login " + account + ", password " + password + ", server Broker-Live, save password " + (save ? "yes" : "no");
    };
    // An account of 0 or below confirms the dialog as it shows; an empty or null password or server leaves its field.
    const struct { int32_t account; const char *password, *server; int32_t save; std::string entered; } rows[] = {
        { 87654321, "s3cret!", "Broker-Live", 1, entered("87654321", StandIn::Fingerprint("s3cret!"), true) },
        { 0, "s3cret!", "Other", 0, entered("87654321", "", false) },
        { -5, "s3cret!", "Other", 1, entered("87654321", "", true) },
        { 0, "", "", 0, entered("87654321", "", false) }, { 0, "", "", 7, entered("87654321", "", true) },
        { 555, "", "", 1, entered("555", "", true) },
        { 556, nullptr, nullptr, 0, entered("556", "", false) },
    };
    // A question of the terminal titled like the login dialog is not taken for it.
    HWND question = CreateWindowExA(0, "#32770", "MetaTrader", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, 0, 0, 0, 0);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entered);
        login(row.account, row.password, row.server, row.save);
        DestroyWindow(std::exchange(question, nullptr));  // there for the first login only
        const std::vector<Event> events = terminal.Log().Take();
        std::vector<Event> expected = { Command(0x8A65) };
        if (events.size() > 1)
            expected.push_back(Expected(Event::Dialog, events[1].window, WM_COMMAND, IDOK, 0, row.entered));
        if (row.account > 0)
            expected.push_back(Expected(
                Event::Title, Main(), WM_SETTEXT, 0, 0, std::to_string(row.account) + ": Broker-Live - [USDJPY,D1]"));
        EXPECT_EQ(events, expected);
        EXPECT_TRUE(LoginDialogGone());
    }
    EXPECT_STREQ(nameServer(), "Broker-Live");
    EXPECT_TRUE(LoginDialogGone());
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x8A65) }));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

}  // namespace
