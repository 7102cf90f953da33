// Dialogs that never come: a terminal that ignores the command, or a main
// window that is gone, ends each call within its bound with one box.
#include <gtest/gtest.h>

#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "support/TerminalTest.h"

using Boxes = std::vector<Support::Box>;

namespace {

StandIn::Scenario Silent(UINT command)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.ignoredCommands = { command };
    return scenario;
}

// The boxes shown by a call that took at least `least` and less than `below` ms.
template <class Call>
Boxes EndsAtBound(Support::BoxWatcher& boxes, Call&& call, ULONGLONG least, ULONGLONG below)
{
    const ULONGLONG start = GetTickCount64();
    call();
    EXPECT_GE(GetTickCount64() - start, least);
    EXPECT_LT(GetTickCount64() - start, below);
    return boxes.Take();
}

std::string Error(const std::string& method, const std::string& text)
{
    return "Ошибка в методе \"MT4::Windows::" + method + "()\".\n" + text;
}

class SilentHistoryCenterTest : public Support::TerminalTest {
protected:
    SilentHistoryCenterTest() : TerminalTest(Silent(0x81EE)) { }
};

// The command is posted once; the search goes on every 50 ms for 10 s.
TEST_F(SilentHistoryCenterTest, ADialogThatNeverOpensEndsTheCallAfterTheBound)
{
    EXPECT_EQ(EndsAtBound(boxes, [&] { EXPECT_EQ(library.Get<Support::IntFn>("VelmorOpenHistoryCenter")(), 0); },
                  10000, 13000),
        (Boxes { { "VelmorOpenHistoryCenter()",
            Error("OpenHistoryCenter", "Не получен системный дескриптор окна \"History Center\".") } }));
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
    EXPECT_EQ(EndsAtBound(boxes, [&] { EXPECT_EQ(library.Get<Support::IntFn>("VelmorOpenGlobalVariables")(), 0); },
                  10000, 13000),
        (Boxes { { "VelmorOpenGlobalVariables()",
            Error("OpenGlobalVariables", "Команда открытия окна \"Global Variables\" не отправлена.")
                + LastErrorText(ERROR_INVALID_WINDOW_HANDLE) } }));
}

class SilentLoginTest : public Support::TerminalTest {
protected:
    SilentLoginTest() : TerminalTest(Silent(0x8A65)) { }
};

// Login looks for its dialog 250 times 20 ms apart, the server's name 60 times 50 ms apart.
TEST_F(SilentLoginTest, LoginAndTheServerNameGiveUpAfterTheirSearches)
{
    const std::string missing = "Системный дескриптор диалогового окна ввода логина и пароля не получен.";
    using LoginFn = void(WINAPI*)(int32_t, const char*, const char*, int32_t);
    EXPECT_EQ(EndsAtBound(boxes, [&] { library.Get<LoginFn>("VelmorLogin")(87654321, "s3cret!", "Live", 1); },
                  4950, 9000),
        (Boxes { { "VelmorLogin()", Error("Login", missing) } }));
    EXPECT_EQ(terminal.Log().Take(), (std::vector<StandIn::Event> { Command(0x8A65) }));
    EXPECT_EQ(EndsAtBound(boxes, [&] { EXPECT_STREQ(library.Get<Support::TextFn>("VelmorGetNameServer")(), ""); },
                  2950, 6000),
        (Boxes { { "VelmorGetNameServer()", Error("GetNameServer", missing) } }));
}

}  // namespace
