// Window subclassing against a real window: the handler sees every message
// first and may rewrite, consume or pass it; subclassing twice changes
// nothing; a restore gives the window its own procedure back; errors inside
// the replacement procedure are reported and lose the message.
#include <gtest/gtest.h>

#include "Utils/Errors.h"
#include "Utils/Subclassing.h"
#include "support/BoxWatcher.h"
#include "support/TestWindow.h"
#include "support/Thrown.h"

using Support::Message;

namespace {

// The presses the handler saw, and what it answers for them.
int g_seen = 0, g_pressAction = 0;

int RecordingHandler(UINT* message, WPARAM* wParam, LPARAM*)
{
    if (*message != WM_LBUTTONDOWN)
        return Utils::Subclassing::Pass;
    ++g_seen;
    *wParam |= MK_SHIFT;  // the window sees the message as the handler left it
    return g_pressAction;
}

int ThrowingHandler(UINT* message, WPARAM*, LPARAM*)
{
    if (*message == WM_LBUTTONDOWN)
        throw "Ошибка в методе \"Test::Handler()\".\nСообщение не разобрано.";
    return Utils::Subclassing::Pass;
}

LONG_PTR ProcedureOf(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }

LRESULT Press(HWND window, int x) { return SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 1)); }

TEST(SubclassingTest, TheHandlerRewritesPassesOrConsumesOnceAndARestoreEndsIt)
{
    Support::TestWindow window { 40, 40, 120, 80, RGB(0, 0, 255) }, second { 200, 40, 120, 80, RGB(0, 255, 0) };
    const LONG_PTR own = ProcedureOf(window.Handle()), secondOwn = ProcedureOf(second.Handle());
    Utils::Pointer<Utils::SUBCLASSING<11>> subclassing;
    subclassing->Initialise(RecordingHandler);
    EXPECT_EQ(Support::Thrown([&] { subclassing->Subclass(nullptr); }),
        "Ошибка в методе \"Utils::SUBCLASSING::Subclass()\".\nНе получена оконная процедура окна."
            + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(subclassing->Subclassed());
    subclassing->Restore();  // nothing to give back
    for (int twice = 0; twice < 2; ++twice)
        subclassing->Subclass(window.Handle());
    subclassing->Subclass(second.Handle());  // a second window is left as it is
    EXPECT_EQ(ProcedureOf(window.Handle()), reinterpret_cast<LONG_PTR>(&Utils::SUBCLASSING<11>::NewWndProc));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(subclassing->Previous()), own);
    EXPECT_EQ(subclassing->Window(), window.Handle());
    EXPECT_EQ(ProcedureOf(second.Handle()), secondOwn);

    for (int action : { 0, 2, 1, 3, 4, 5 }) {
        g_pressAction = action;
        EXPECT_EQ(Press(window.Handle(), action), 0);
    }
    // Each press through the handler once; passed as rewritten: 0 and 2; consumed: 1, 3, 4 and 5.
    EXPECT_EQ(g_seen, 6);
    EXPECT_EQ(window.Messages(), (std::vector<Message> { { WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(0, 1) },
                                     { WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(2, 1) } }));
    subclassing->Restore();
    EXPECT_EQ(ProcedureOf(window.Handle()), own);
    EXPECT_FALSE(subclassing->Subclassed());
    Press(window.Handle(), 9);
    EXPECT_EQ(g_seen, 6);
    EXPECT_EQ(window.Messages().back(), (Message { WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 1) }));
}

TEST(SubclassingTest, AnErrorInTheHandlerIsReportedAndTheMessageIsLost)
{
    Support::TestWindow window { 40, 40, 120, 80, RGB(0, 0, 255) };
    Support::BoxWatcher boxes;
    Utils::Pointer<Utils::SUBCLASSING<13>> subclassing;
    subclassing->Initialise(ThrowingHandler);
    subclassing->Subclass(window.Handle());
    EXPECT_EQ(Press(window.Handle(), 1), 0);
    EXPECT_TRUE(window.Messages().empty());
    EXPECT_EQ(boxes.Take(), (std::vector<Support::Box> { { "Utils::SUBCLASSING::NewWndProc()",
                                "Ошибка в методе \"Test::Handler()\".\nСообщение не разобрано." } }));
    subclassing->Restore();
}

}  // namespace
