// The browser-control check on its own: the handles it refuses, a control
// that never hands out its page, and the apartment it leaves as it found it.
#include <gtest/gtest.h>

#include <objbase.h>
#include <process.h>

#include "Utils/Errors.h"
#include "Utils/IEServer.h"
#include "support/Thrown.h"

namespace IEServer = Utils::Controls::IEServer;

namespace {

std::string Thrown(HWND window)
{
    return Support::Thrown([=] { IEServer::Check(window); });
}

// A browser control that answers no message of its own: the class name
// contains "Internet Explorer_Server", which is what the check looks for.
// With `busyMs`, its thread is busy that long with each message it is sent.
class SilentBrowser {
public:
    explicit SilentBrowser(DWORD busyMs = 0) : m_busyMs(busyMs)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = ClassName;
        RegisterClassA(&windowClass);
        m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Run, this, 0, nullptr));
        WaitForSingleObject(m_ready, 5000);
    }
    ~SilentBrowser()
    {
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        WaitForSingleObject(m_thread, 10000);
        CloseHandle(m_thread);
        CloseHandle(m_ready);
    }
    HWND Handle() const { return m_window; }

private:
    static constexpr const char* ClassName = "Test Internet Explorer_Server";

    static unsigned __stdcall Run(void* self)
    {
        auto& browser = *static_cast<SilentBrowser*>(self);
        browser.m_window = CreateWindowExA(0, ClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
            GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(browser.m_window, GWLP_USERDATA, browser.m_busyMs);
        SetEvent(browser.m_ready);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        return 0;
    }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message >= 0xC000)  // a registered message: "WM_HTML_GETOBJECT"
            Sleep(static_cast<DWORD>(GetWindowLongPtrA(window, GWLP_USERDATA)));
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    DWORD m_busyMs;
    HANDLE m_ready = nullptr;
    HANDLE m_thread = nullptr;
    HWND m_window = nullptr;
};

const std::string Check = "\"Utils::Controls::IEServer::Check()\".\n";

// The last-error code that a thrown text ends with.
DWORD CodeIn(const std::string& text)
{
    const size_t at = text.find("\nLast Error ");
    return at == std::string::npos ? 0 : std::stoul(text.substr(at + 12));
}

TEST(IEServerCheckTest, RefusesHandleZeroAClosedWindowAndAnOrdinaryWindow)
{
    EXPECT_EQ(Thrown(nullptr), "Метод " + Check + "Недействительный системный дескриптор.");

    HWND closed = CreateWindowExA(0, "Button", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(closed);
    EXPECT_EQ(Thrown(closed),
        "Метод " + Check + "Отсутсвует указанный \"Internet Explorer_Server\"." + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));

    HWND button = CreateWindowExA(0, "Button", "Internet Explorer_Server", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
        nullptr, nullptr);
    EXPECT_EQ(Thrown(button), "Метод " + Check + "Класс не является \"Internet Explorer_Server\".");
    DestroyWindow(button);
}

TEST(IEServerCheckTest, AControlThatHandsOutNoPageGivesNoObject)
{
    SilentBrowser browser;
    const std::string text = Thrown(browser.Handle());
    EXPECT_EQ(text, "Ошибка в методе " + Check + "Объект не получен." + LastErrorText(CodeIn(text)));
}

TEST(IEServerCheckTest, ABusyControlIsGivenUpAfterOneSecond)
{
    SilentBrowser browser(1500);
    const ULONGLONG start = GetTickCount64();
    const std::string text = Thrown(browser.Handle());
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_EQ(text, "Ошибка в методе " + Check + "Объект не получен." + LastErrorText(CodeIn(text)));
    EXPECT_GE(elapsed, 900u);
    EXPECT_LT(elapsed, 3000u);
}

TEST(IEServerCheckTest, TheThreadLeavesTheApartmentItJoinedForTheCheck)
{
    Thrown(nullptr);
    // Had the check left the thread in a single-threaded apartment, joining
    // the multi-threaded one would be refused.
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(joined, S_OK);
    if (SUCCEEDED(joined))
        CoUninitialize();

    // A thread that is in an apartment already stays in it.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    Thrown(nullptr);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
}

}  // namespace
