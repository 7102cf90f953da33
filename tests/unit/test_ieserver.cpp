// The browser-control check: the handles it refuses, a control that hands out no page, the apartment left as found.
#include <gtest/gtest.h>
#include <objbase.h>
#include "Common.h"
#include "Utils/Errors.h"
#include "Utils/IEServer.h"
#include "support/Thrown.h"

namespace IEServer = Utils::Controls::IEServer;

namespace {

std::string Thrown(HWND window)
{
    return Support::Thrown([=] { IEServer::Check(window); });
}

// A browser control by its class name that answers none of its own messages, busy `busyMs` with each registered one.
LRESULT CALLBACK Silent(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 0xC000)  // "WM_HTML_GETOBJECT"
        Sleep(static_cast<DWORD>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    return DefWindowProcA(window, message, wParam, lParam);
}

const std::string Check = "\"Utils::Controls::IEServer::Check()\".\n";

TEST(IEServerCheckTest, RefusesHandleZeroAClosedOrOrdinaryWindowAndASilentControlAndLeavesTheApartmentAsFound)
{
    EXPECT_EQ(Thrown(nullptr), "Метод " + Check + "Недействительный системный дескриптор.");
    HWND button = CreateWindowExA(0, "Button", "Internet Explorer_Server", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
        nullptr, nullptr);
    EXPECT_EQ(Thrown(button), "Метод " + Check + "Класс не является \"Internet Explorer_Server\".");
    DestroyWindow(button);
    EXPECT_EQ(Thrown(button), "Метод " + Check + "Отсутсвует указанный \"Internet Explorer_Server\"."
            + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));
    for (DWORD busyMs : { 0, 1500 }) {  // a busy control is given up after one second
        ServedWindow browser("Test Internet Explorer_Server", Silent, busyMs);
        const ULONGLONG start = GetTickCount64();
        const std::string text = Thrown(browser.m_window);
        const ULONGLONG elapsed = GetTickCount64() - start;
        const size_t code = text.find("\nLast Error ");
        ASSERT_NE(code, std::string::npos) << text;
        EXPECT_EQ(text,
            "Ошибка в методе " + Check + "Объект не получен." + LastErrorText(std::stoul(text.substr(code + 12))));
        EXPECT_LT(elapsed, 3000u);
        EXPECT_GE(elapsed, busyMs ? 900u : 0u);
    }
    // Had the check left the thread in a single-threaded apartment, joining the multi-threaded one would be refused.
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(joined, S_OK);
    if (SUCCEEDED(joined))
        CoUninitialize();
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);  // one it is in already stays
    Thrown(nullptr);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
}

}  // namespace
