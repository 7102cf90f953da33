// Dialogs that never come (the terminal ignores the command, or its main window is gone) end the call at the bound.
#include <gtest/gtest.h>
#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "support/TerminalTest.h"

namespace {
template <class Call> void EndsAtBound(Support::BoxWatcher& boxes, Call&& call, ULONGLONG least, ULONGLONG below,
    const std::string& method, const std::string& text)
{
    const ULONGLONG start = GetTickCount64();
    call();
    EXPECT_GE(GetTickCount64() - start, least);
    EXPECT_LT(GetTickCount64() - start, below);
    EXPECT_EQ(boxes.Take(), (std::vector<Support::Box> { { "Velmor" + method + "()",
                                "Ошибка в методе \"MT4::Windows::" + method + "()\".\n" + text } }));
}
StandIn::Scenario Ignoring(UINT command) { StandIn::Scenario s = StandIn::Scenario::Named("english");
    s.ignoredCommands = { command }; return s; }
struct SilentHistoryCenterTest : Support::TerminalTest { SilentHistoryCenterTest() : TerminalTest(Ignoring(0x81EE)) { } };
struct SilentLoginTest : Support::TerminalTest { SilentLoginTest() : TerminalTest(Ignoring(0x8A65)) { } };
using ClosedTerminalTest = Support::TerminalTest;

TEST_F(SilentHistoryCenterTest, ADialogThatNeverOpensEndsTheCallAfterTheBound)  // posted once, looked for 10 s
{
    EndsAtBound(boxes, [&] { EXPECT_EQ(library.Get<Support::IntFn>("VelmorOpenHistoryCenter")(), 0); }, 10000, 13000,
        "OpenHistoryCenter", "Не получен системный дескриптор окна \"History Center\".");
    EXPECT_EQ(terminal.Log().Take(), (std::vector<StandIn::Event> { Command(0x81EE) }));
}

TEST_F(ClosedTerminalTest, ACommandThatCannotBePostedEndsTheCallAfterTheBound)  // tried for 10 s
{
    library.Get<Support::IntFn>("VelmorMetaTraderClose")();
    ASSERT_TRUE(Utils::Wait::Until([&] { return terminal.Closed(); }, 10, 5000));
    EndsAtBound(boxes, [&] { EXPECT_EQ(library.Get<Support::IntFn>("VelmorOpenGlobalVariables")(), 0); }, 10000,
        13000, "OpenGlobalVariables",
        "Команда открытия окна \"Global Variables\" не отправлена." + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(SilentLoginTest, LoginAndTheServerNameGiveUpAfterTheirSearches)  // 250 looks 20 ms apart, 60 looks 50 ms apart
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
