// The browser-control check on its own: the handles it refuses and the
// apartment it leaves as it found it.
#include <gtest/gtest.h>

#include <objbase.h>

#include "Utils/Errors.h"
#include "Utils/IEServer.h"
#include "support/Thrown.h"

namespace {

std::string Thrown(HWND window)
{
    return Support::Thrown([=] { Utils::Controls::IEServer::Check(window); });
}

TEST(IEServerCheckTest, RefusesHandleZeroAClosedWindowAndAnOrdinaryWindowAndLeavesTheApartmentAsItWas)
{
    const std::string method = "Метод \"Utils::Controls::IEServer::Check()\".\n";
    EXPECT_EQ(Thrown(nullptr), method + "Недействительный системный дескриптор.");
    HWND button = CreateWindowExA(0, "Button", "Internet Explorer_Server", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
        nullptr, nullptr);
    EXPECT_EQ(Thrown(button), method + "Класс не является \"Internet Explorer_Server\".");
    DestroyWindow(button);
    EXPECT_EQ(Thrown(button), method + "Отсутсвует указанный \"Internet Explorer_Server\"."
            + LastErrorText(ERROR_INVALID_WINDOW_HANDLE));
    // Had the check left the thread in a single-threaded apartment, joining
    // the multi-threaded one would be refused.
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
