// Window subclassing against a real window: the handler sees every message
// first and may rewrite, consume or pass it; subclassing twice changes
// nothing; a restore gives the window its own procedure back; errors inside
// the replacement procedure are reported and lose the message.
#include <gtest/gtest.h>

#include "Utils/Errors.h"
#include "Utils/Subclassing.h"
#include "support/BoxWatcher.h"
#include "support/TestWindow.h"

using Support::Box;
using Support::Message;

namespace {

// What the handler saw and what it answers for a button press.
std::vector<UINT> g_seen;
int g_pressAction = 0;

int RecordingHandler(UINT* message, WPARAM* wParam, LPARAM*)
{
    if (*message == WM_LBUTTONDOWN) {
        g_seen.push_back(*message);
        *wParam |= MK_SHIFT;  // the window sees the message as the handler left it
        return g_pressAction;
    }
    return Utils::Subclassing::Pass;
}

int ThrowingHandler(UINT* message, WPARAM*, LPARAM*)
{
    if (*message == WM_LBUTTONDOWN)
        throw "Ошибка в методе \"Test::Handler()\".\nСообщение не разобрано.";
    return Utils::Subclassing::Pass;
}

LONG_PTR ProcedureOf(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }

LRESULT Press(HWND window, int x) { return SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 1)); }

class SubclassingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_seen.clear();
        g_pressAction = 0;
    }
    Support::TestWindow window { 40, 40, 120, 80, RGB(0, 0, 255) };
};

TEST_F(SubclassingTest, TheHandlerRewritesPassesOrConsumesAndARestoreEndsIt)
{
    Utils::Pointer<Utils::SUBCLASSING<11>> subclassing;
    subclassing->Initialise(RecordingHandler);
    const LONG_PTR own = ProcedureOf(window.Handle());
    subclassing->Subclass(window.Handle());
    EXPECT_EQ(ProcedureOf(window.Handle()), reinterpret_cast<LONG_PTR>(&Utils::SUBCLASSING<11>::NewWndProc));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(subclassing->Previous()), own);

    for (int action : { 0, 2, 1, 3, 4, 5 }) {
        g_pressAction = action;
        EXPECT_EQ(Press(window.Handle(), action), 0);
    }
    // Passed as rewritten: 0 and 2; consumed: 1, 3, 4 and 5.
    EXPECT_EQ(window.Messages(), (std::vector<Message> { { WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(0, 1) },
                                     { WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(2, 1) } }));
    EXPECT_EQ(g_seen.size(), 6u);

    subclassing->Restore();
    EXPECT_EQ(ProcedureOf(window.Handle()), own);
    EXPECT_FALSE(subclassing->Subclassed());
    Press(window.Handle(), 9);
    EXPECT_EQ(g_seen.size(), 6u);
    EXPECT_EQ(window.Messages().back(), (Message { WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 1) }));
}

TEST_F(SubclassingTest, SubclassingTwiceOrASecondWindowKeepsTheFirstProcedure)
{
    Support::TestWindow second { 200, 40, 120, 80, RGB(0, 255, 0) };
    const LONG_PTR own = ProcedureOf(window.Handle());
    const LONG_PTR secondOwn = ProcedureOf(second.Handle());
    Utils::Pointer<Utils::SUBCLASSING<12>> subclassing;
    subclassing->Initialise(RecordingHandler);
    subclassing->Subclass(window.Handle());
    subclassing->Subclass(window.Handle());
    subclassing->Subclass(second.Handle());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(subclassing->Previous()), own);
    EXPECT_EQ(subclassing->Window(), window.Handle());
    EXPECT_EQ(ProcedureOf(second.Handle()), secondOwn);

    Press(window.Handle(), 1);
    EXPECT_EQ(g_seen.size(), 1u);  // through the replacement procedure once
    EXPECT_EQ(window.Messages().size(), 1u);

    subclassing->Restore();
    EXPECT_EQ(ProcedureOf(window.Handle()), own);
}

TEST_F(SubclassingTest, AnErrorInTheHandlerIsReportedAndTheMessageIsLost)
{
    Support::BoxWatcher boxes;
    Utils::Pointer<Utils::SUBCLASSING<13>> subclassing;
    subclassing->Initialise(ThrowingHandler);
    subclassing->Subclass(window.Handle());
    EXPECT_EQ(Press(window.Handle(), 1), 0);
    EXPECT_TRUE(window.Messages().empty());
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "Utils::SUBCLASSING::NewWndProc()",
                                "Ошибка в методе \"Test::Handler()\".\nСообщение не разобрано." } }));
    subclassing->Restore();
}

TEST_F(SubclassingTest, NoWindowCannotBeSubclassed)
{
    Utils::Pointer<Utils::SUBCLASSING<14>> subclassing;
    subclassing->Initialise(RecordingHandler);
    try {
        subclassing->Subclass(nullptr);
        FAIL() << "no throw";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "Ошибка в методе \"Utils::SUBCLASSING::Subclass()\".\nНе получена оконная процедура окна."
                + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));
    }
    EXPECT_FALSE(subclassing->Subclassed());
    subclassing->Restore();  // nothing to give back
}

}  // namespace
