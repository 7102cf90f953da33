// Window searches over real windows of this process: exact and prefix class
// tests, title tests, the top level against all descendants, empty results.
#include <gtest/gtest.h>

#include "Utils/Windows.h"

namespace {

using Match = Utils::Windows::Match;

class WindowSearchTest : public ::testing::Test {
protected:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND Create(const char* className, const char* title, HWND parent, int id = 0)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        HWND window = CreateWindowExA(0, className, title, parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
        created.push_back(window);
        return window;
    }

    void TearDown() override
    {
        for (auto it = created.rbegin(); it != created.rend(); ++it)
            DestroyWindow(*it);
    }

    const DWORD pid = GetCurrentProcessId();
    std::vector<HWND> created;
};

TEST_F(WindowSearchTest, PrefixClassPassesWhereTheExactClassFails)
{
    HWND frame = Create("Afx:400000:b:100", "Data Window", nullptr);
    EXPECT_EQ(Utils::Windows::FindFirst(nullptr, pid, Match::Prefix, "Afx:"), frame);
    EXPECT_EQ(Utils::Windows::FindFirst(nullptr, pid, Match::Exact, "Afx:"), nullptr);
    EXPECT_EQ(Utils::Windows::FindFirst(nullptr, pid, Match::Exact, "Afx:400000:b:100"), frame);
}

TEST_F(WindowSearchTest, TitlePrefixPassesALongerTitleThatTheExactTitleTestRefuses)
{
    HWND longer = Create("RazTestPanel", "Data Window - EURUSD", nullptr);
    HWND exact = Create("RazTestPanel", "Data Window", nullptr);
    // Top-level windows come topmost first: the one created last.
    EXPECT_EQ(Utils::Windows::FindAll(nullptr, pid, Match::Exact, "RazTestPanel", Match::Prefix, "Data Window"),
        (std::vector<HWND> { exact, longer }));
    EXPECT_EQ(Utils::Windows::FindAll(nullptr, pid, Match::Exact, "RazTestPanel", Match::Exact, "Data Window"),
        (std::vector<HWND> { exact }));
    EXPECT_EQ(Utils::Windows::FindFirst(nullptr, pid, Match::None, "", Match::Exact, "Data Window - EURUSD"), longer);
}

TEST_F(WindowSearchTest, NullParentLooksAtTopLevelWindowsOnlyAParentAtEveryDepth)
{
    HWND top = Create("RazTestTop", "top", nullptr);
    HWND bar = Create("AfxControlBar42s", "bar", top, 0xE81B);
    HWND inner = Create("AfxControlBar42s", "inner", bar, 0x54);
    EXPECT_EQ(Utils::Windows::FindAll(nullptr, pid, Match::Prefix, "AfxControlBar"), std::vector<HWND>());
    EXPECT_EQ(Utils::Windows::FindAll(top, pid, Match::Prefix, "AfxControlBar"), (std::vector<HWND> { bar, inner }));
    EXPECT_EQ(Utils::Windows::DescendantsWithClassPrefix(top, "AfxControl"), (std::vector<HWND> { bar, inner }));
}

TEST_F(WindowSearchTest, AProcessWithoutWindowsGivesNullAndAnEmptyList)
{
    HWND top = Create("RazTestTop", "top", nullptr);
    const DWORD noProcess = 0xFFFFFFF0;
    EXPECT_EQ(Utils::Windows::FindFirst(nullptr, noProcess, Match::Exact, "RazTestTop"), nullptr);
    EXPECT_TRUE(Utils::Windows::FindAll(nullptr, noProcess, Match::Exact, "RazTestTop").empty());
    EXPECT_EQ(Utils::Windows::FindFirst(top, pid, Match::None, ""), nullptr);  // no descendants
}

TEST_F(WindowSearchTest, AWindowThatIsGoneHasNoClassAndNoWait)
{
    HWND gone = Create("RazTestTop", "gone", nullptr);
    DestroyWindow(gone);
    created.clear();
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Utils::Windows::ClassName(gone, "FindClassWindowOne"), "");
    EXPECT_LT(GetTickCount64() - start, 1000u);
}

}  // namespace
