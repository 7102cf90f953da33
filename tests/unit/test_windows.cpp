// Windows of this process: searches by class and title, subclassing with its handler and restore, refused clicks.
#include <gtest/gtest.h>
#include "Utils/Errors.h"
#include "Utils/Input.h"
#include "Utils/Subclassing.h"
#include "Utils/Windows.h"
#include "support/BoxWatcher.h"
#include "support/TestWindow.h"
#include "support/Thrown.h"

namespace {

using Support::Message;
using W = Utils::Windows;
using Match = W::Match;
using Windows = std::vector<HWND>;

struct Created {
    ~Created()
    {
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            DestroyWindow(*it);
    }
    HWND operator()(const char* className, const char* title, HWND parent = nullptr)
    {
        const WNDCLASSA windowClass = { 0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), {}, {}, {}, {}, className };
        RegisterClassA(&windowClass);
        return windows.emplace_back(CreateWindowExA(
            0, className, title, parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr));
    }
    Windows windows;
};

TEST(WindowSearchTest, ClassAndTitleTestsExactOrByPrefixAtTheTopLevelOrAtEveryDepth)
{
    const DWORD pid = GetCurrentProcessId(), noProcess = 0xFFFFFFF0;
    Created create;
    HWND frame = create("Afx:400000:b:100", "Data Window");
    EXPECT_EQ(W::FindFirst(nullptr, pid, Match::Prefix, "Afx:"), frame);
    EXPECT_EQ(W::FindFirst(nullptr, pid, Match::Exact, "Afx:"), nullptr);
    EXPECT_EQ(W::FindFirst(nullptr, pid, Match::Exact, "Afx:400000:b:100"), frame);
    HWND longer = create("RazTestPanel", "Data Window - EURUSD"), exact = create("RazTestPanel", "Data Window");
    // Top-level windows come topmost first: the one created last.
    EXPECT_EQ(W::FindAll(nullptr, pid, Match::Exact, "RazTestPanel", Match::Prefix, "Data Window"),
        (Windows { exact, longer }));
    EXPECT_EQ(W::FindAll(nullptr, pid, Match::Exact, "RazTestPanel", Match::Exact, "Data Window"), Windows { exact });
    EXPECT_EQ(W::FindFirst(nullptr, pid, Match::None, "", Match::Exact, "Data Window - EURUSD"), longer);
    HWND top = create("RazTestTop", "top");
    HWND bar = create("AfxControlBar42s", "bar", top), inner = create("AfxControlBar42s", "inner", bar);
    EXPECT_EQ(W::FindAll(nullptr, pid, Match::Prefix, "AfxControlBar"), Windows());  // the top level only
    EXPECT_EQ(W::FindAll(top, pid, Match::Prefix, "AfxControlBar"), (Windows { bar, inner }));
    EXPECT_EQ(W::DescendantsWithClassPrefix(top, "AfxControl"), (Windows { bar, inner }));
    EXPECT_EQ(W::FindFirst(inner, pid, Match::None, ""), nullptr);  // no descendants
    EXPECT_EQ(W::FindFirst(nullptr, noProcess, Match::Exact, "RazTestTop"), nullptr);
    EXPECT_TRUE(W::FindAll(nullptr, noProcess, Match::Exact, "RazTestTop").empty());
    HWND gone = create("RazTestTop", "gone");
    DestroyWindow(gone);
    create.windows.pop_back();
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(W::ClassName(gone, "FindClassWindowOne"), "");  // no class and no wait
    EXPECT_LT(GetTickCount64() - start, 1000u);
}

// The presses the subclassing handler saw, and what it answers for them (below zero: it throws).
int g_seen = 0, g_pressAction = 0;

int RecordingHandler(UINT* message, WPARAM* wParam, LPARAM*)
{
    if (*message != WM_LBUTTONDOWN)
        return Utils::Subclassing::Pass;
    if (++g_seen, g_pressAction < 0)
        throw "Ошибка в методе \"Test::Handler()\".\nСообщение не разобрано.";
    *wParam |= MK_SHIFT;  // the window sees the message as the handler left it
    return g_pressAction;
}

LONG_PTR ProcedureOf(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }
LRESULT Press(HWND window, int x) { return SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 1)); }

TEST(SubclassingTest, TheHandlerRewritesPassesConsumesOrFailsOnceAndARestoreEndsIt)
{
    Support::TestWindow window { 40, 40, 120, 80, RGB(0, 0, 255) }, second { 200, 40, 120, 80, RGB(0, 255, 0) };
    Support::BoxWatcher boxes;
    const LONG_PTR own = ProcedureOf(window.Handle()), secondOwn = ProcedureOf(second.Handle());
    Utils::Pointer<Utils::SUBCLASSING<11>> subclassing;
    subclassing->Initialise(RecordingHandler);
    EXPECT_EQ(Support::Thrown([&] { subclassing->Subclass(nullptr); }),
        "Ошибка в методе \"Utils::SUBCLASSING::Subclass()\".\nНе получена оконная процедура окна."
            + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(subclassing->Subclassed());
    subclassing->Restore();  // nothing to give back
    for (HWND target : { window.Handle(), window.Handle(), second.Handle() })  // twice, then a second window is left
        subclassing->Subclass(target);
    EXPECT_EQ(ProcedureOf(window.Handle()), reinterpret_cast<LONG_PTR>(&Utils::SUBCLASSING<11>::NewWndProc));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(subclassing->Previous()), own);
    EXPECT_EQ(subclassing->Window(), window.Handle());
    EXPECT_EQ(ProcedureOf(second.Handle()), secondOwn);
    for (int action : { 0, 2, 1, 3, 4, 5, -1 }) {
        g_pressAction = action;
        EXPECT_EQ(Press(window.Handle(), action), 0);
    }
    // Each press through the handler once; passed as rewritten: 0 and 2; consumed: 1, 3, 4 and 5; lost: -1.
    EXPECT_EQ(g_seen, 7);
    EXPECT_EQ(window.Messages(), (std::vector<Message> { { WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(0, 1) },
                                     { WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(2, 1) } }));
    EXPECT_EQ(boxes.Take(), (std::vector<Support::Box> { { "Utils::SUBCLASSING::NewWndProc()",
                                "Ошибка в методе \"Test::Handler()\".\nСообщение не разобрано." } }));
    subclassing->Restore();
    EXPECT_EQ(ProcedureOf(window.Handle()), own);
    EXPECT_FALSE(subclassing->Subclassed());
    Press(window.Handle(), 9);
    EXPECT_EQ(g_seen, 7);
    EXPECT_EQ(window.Messages().back(), (Message { WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 1) }));
}

TEST(MouseTest, AButtonMessageTheWindowLeavesUnhandledRaisesTheFunctionsText)
{
    Support::TestWindow window(50, 50, 200, 100, RGB(0, 0, 255));
    window.SetMouseResult(1);
    const HWND handle = window.Handle();
    using Click = void (*)(HWND);
    for (const auto& [name, what, click] :
        { std::tuple<const char*, const char*, Click> { "LeftDown", "нажата", [](HWND w) { Utils::Mouse::LeftDown(w, 1, 1); } },
            { "LeftUp", "отжата", [](HWND w) { Utils::Mouse::LeftUp(w, 1, 1); } },
            { "DoubleClickLeft", "нажата", [](HWND w) { Utils::Mouse::DoubleClickLeft(w, 0, 0); } } }) {
        SetLastError(0);
        EXPECT_EQ(Support::Thrown([&] { click(handle); }),
            std::string("Ошибка в функции \"Utils::Mouse::") + name + "()\".\nКлавиша не " + what + "." + LastErrorText(0));
    }
}

}  // namespace
