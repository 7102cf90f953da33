// Dialogs that never come: a terminal that ignores the command, or a main
// window that is gone, ends each call within its bound with one box.
#include <gtest/gtest.h>

#include "Utils/Errors.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

StandIn::Scenario Silent(UINT command)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.ignoredCommands = { command };
    return scenario;
}

// Milliseconds a call took.
template <class Call>
ULONGLONG Took(Call&& call)
{
    const ULONGLONG start = GetTickCount64();
    call();
    return GetTickCount64() - start;
}

class SilentHistoryCenterTest : public Support::TerminalTest {
protected:
    SilentHistoryCenterTest() : TerminalTest(Silent(0x81EE)) { }
};

// The command is posted once; the search goes on every 50 ms for 10 s.
TEST_F(SilentHistoryCenterTest, ADialogThatNeverOpensEndsTheCallAfterTheBound)
{
    int32_t dialog = -1;
    const ULONGLONG took = Took([&] { dialog = library.Get<Support::IntFn>("VelmorOpenHistoryCenter")(); });
    EXPECT_EQ(dialog, 0);
    EXPECT_GE(took, 10000u);
    EXPECT_LT(took, 13000u);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorOpenHistoryCenter()",
                                "Ошибка в методе \"MT4::Windows::OpenHistoryCenter()\".\nНе получен системный "
                                "дескриптор окна \"History Center\"." } }));
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81EE) }));
}

// Posts to a window that is gone fail every time: they are tried every
// 50 ms for 10 s.
TEST(ClosedTerminalTest, ACommandThatCannotBePostedEndsTheCallAfterTheBound)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("english"));
    Support::Library library;
    Support::BoxWatcher boxes;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    library.Get<Support::IntFn>("VelmorMetaTraderClose")();
    for (int i = 0; i < 500 && !terminal.Closed(); ++i)
        Sleep(10);
    ASSERT_TRUE(terminal.Closed());
    int32_t dialog = -1;
    const ULONGLONG took = Took([&] { dialog = library.Get<Support::IntFn>("VelmorOpenGlobalVariables")(); });
    EXPECT_EQ(dialog, 0);
    EXPECT_GE(took, 10000u);
    EXPECT_LT(took, 13000u);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorOpenGlobalVariables()",
                                "Ошибка в методе \"MT4::Windows::OpenGlobalVariables()\".\nКоманда открытия окна "
                                "\"Global Variables\" не отправлена."
                                    + LastErrorText(ERROR_INVALID_WINDOW_HANDLE) } }));
}

class SilentLoginTest : public Support::TerminalTest {
protected:
    SilentLoginTest() : TerminalTest(Silent(0x8A65)) { }
};

// 250 searches, 20 ms apart.
TEST_F(SilentLoginTest, LoginGivesUpAfterTwoHundredFiftySearches)
{
    const ULONGLONG took = Took([&] {
        using LoginFn = void(WINAPI*)(int32_t, const char*, const char*, int32_t);
        library.Get<LoginFn>("VelmorLogin")(87654321, "s3cret!", "Broker-Live", 1);
    });
    EXPECT_GE(took, 4950u);
    EXPECT_LT(took, 9000u);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorLogin()",
                                "Ошибка в методе \"MT4::Windows::Login()\".\nСистемный дескриптор диалогового "
                                "окна ввода логина и пароля не получен." } }));
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x8A65) }));
}

// 60 searches, 50 ms apart.
TEST_F(SilentLoginTest, TheServerNameIsGivenUpAfterSixtySearches)
{
    std::string name = "-";
    const ULONGLONG took = Took([&] { name = library.Get<Support::TextFn>("VelmorGetNameServer")(); });
    EXPECT_EQ(name, "");
    EXPECT_GE(took, 2950u);
    EXPECT_LT(took, 6000u);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorGetNameServer()",
                                "Ошибка в методе \"MT4::Windows::GetNameServer()\".\nСистемный дескриптор "
                                "диалогового окна ввода логина и пароля не получен." } }));
}

}  // namespace
