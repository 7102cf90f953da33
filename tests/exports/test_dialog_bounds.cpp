// Dialogs that never come: a terminal that ignores the command, or a main
// window that is gone, ends each call within its bound with one box.
#include <gtest/gtest.h>

#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "support/TerminalTest.h"

namespace {

// The call takes at least `least` and less than `below` ms and shows one box, Velmor<method>'s.
template <class Call>
void EndsAtBound(Support::BoxWatcher& boxes, Call&& call, ULONGLONG least, ULONGLONG below,
    const std::string& method, const std::string& text)
{
    const ULONGLONG start = GetTickCount64();
    call();
    EXPECT_GE(GetTickCount64() - start, least);
    EXPECT_LT(GetTickCount64() - start, below);
    EXPECT_EQ(boxes.Take(), (std::vector<Support::Box> { { "Velmor" + method + "()",
                                "Ошибка в методе \"MT4::Windows::" + method + "()\".\n" + text } }));
}

// A terminal that journals `command` and does nothing more.
template <UINT command>
class Ignoring : public Support::TerminalTest {
protected:
    Ignoring() : TerminalTest(Scenario()) { }
    static StandIn::Scenario Scenario()
    {
        StandIn::Scenario scenario = StandIn::Scenario::Named("english");
        scenario.ignoredCommands = { command };
        return scenario;
    }
};
using SilentHistoryCenterTest = Ignoring<0x81EE>;
using SilentLoginTest = Ignoring<0x8A65>;

// The command is posted once; the search goes on every 50 ms for 10 s.
TEST_F(SilentHistoryCenterTest, ADialogThatNeverOpensEndsTheCallAfterTheBound)
{
    EndsAtBound(boxes, [&] { EXPECT_EQ(library.Get<Support::IntFn>("VelmorOpenHistoryCenter")(), 0); }, 10000,
        13000, "OpenHistoryCenter", "Не получен системный дескриптор окна \"History Center\".");
    EXPECT_EQ(terminal.Log().Take(), (std::vector<StandIn::Event> { Command(0x81EE) }));
}

// Posts to a window that is gone fail every time: they are tried every 50 ms for 10 s.
TEST(ClosedTerminalTest, ACommandThatCannotBePostedEndsTheCallAfterTheBound)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    Support::Library library;
    Support::BoxWatcher boxes;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    library.Get<Support::IntFn>("VelmorMetaTraderClose")();
    ASSERT_TRUE(Utils::Wait::Until([&] { return terminal.Closed(); }, 10, 5000));
    EndsAtBound(boxes, [&] { EXPECT_EQ(library.Get<Support::IntFn>("VelmorOpenGlobalVariables")(), 0); }, 10000,
        13000, "OpenGlobalVariables",
        "Команда открытия окна \"Global Variables\" не отправлена." + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));
}

// Login looks for its dialog 250 times 20 ms apart, the server's name 60 times 50 ms apart.
TEST_F(SilentLoginTest, LoginAndTheServerNameGiveUpAfterTheirSearches)
{
    const std::string missing = "Системный дескриптор диалогового окна ввода логина и пароля не получен.";
    using LoginFn = void(WINAPI*)(int32_t, const char*, const char*, int32_t);
    EndsAtBound(boxes, [&] { library.Get<LoginFn>("VelmorLogin")(87654321, "s3cret!", "Broker-Live", 1); }, 4950,
        9000, "Login", missing);
    EXPECT_EQ(terminal.Log().Take(), (std::vector<StandIn::Event> { Command(0x8A65) }));
    EndsAtBound(boxes, [&] { EXPECT_STREQ(library.Get<Support::TextFn>("VelmorGetNameServer")(), ""); }, 2950,
        6000, "GetNameServer", missing);
}

}  // namespace
