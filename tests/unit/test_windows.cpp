// Window searches over real windows of this process: exact and prefix class
// tests, title tests, the top level against all descendants, empty results.
#include <gtest/gtest.h>

#include "Utils/Windows.h"

namespace {

using W = Utils::Windows;
using Match = W::Match;
using Windows = std::vector<HWND>;

struct Created {
    ~Created()
    {
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            DestroyWindow(*it);
    }
    HWND operator()(const char* className, const char* title, HWND parent = nullptr, int id = 0)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        windows.push_back(CreateWindowExA(0, className, title, parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), windowClass.hInstance, nullptr));
        return windows.back();
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
    HWND bar = create("AfxControlBar42s", "bar", top, 0xE81B), inner = create("AfxControlBar42s", "inner", bar, 0x54);
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

}  // namespace
