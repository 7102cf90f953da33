// Simulated input against a real window: mouse-button messages with their
// exact parameters, a refused message, and the four key events of a
// combination reaching the focused window.
#include <gtest/gtest.h>

#include "Utils/Errors.h"
#include "Utils/Input.h"
#include "support/TestWindow.h"
#include "support/Thrown.h"

using Support::Message;

namespace {

TEST(MouseTest, ButtonMessagesReachTheWindowAndAnUnhandledOneRaisesTheFunctionsText)
{
    Support::TestWindow window(50, 50, 200, 100, RGB(0, 0, 255));
    const HWND handle = window.Handle();
    Utils::Mouse::LeftDown(handle, 10, 20);
    Utils::Mouse::LeftUp(handle, 11, 21);
    Utils::Mouse::DoubleClickLeft(handle, 3, 0);
    EXPECT_EQ(window.Messages(),
        (std::vector<Message> { { WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20) },
            { WM_LBUTTONUP, 0, MAKELPARAM(11, 21) }, { WM_LBUTTONDBLCLK, 3, 0 } }));
    window.SetMouseResult(1);
    const auto thrown = [](auto action) {
        SetLastError(0);
        return Support::Thrown(action);
    };
    const std::string suffix = LastErrorText(0);
    EXPECT_EQ(thrown([&] { Utils::Mouse::LeftDown(handle, 1, 1); }),
        "Ошибка в функции \"Utils::Mouse::LeftDown()\".\nКлавиша не нажата." + suffix);
    EXPECT_EQ(thrown([&] { Utils::Mouse::LeftUp(handle, 1, 1); }),
        "Ошибка в функции \"Utils::Mouse::LeftUp()\".\nКлавиша не отжата." + suffix);
    EXPECT_EQ(thrown([&] { Utils::Mouse::DoubleClickLeft(handle, 0, 0); }),
        "Ошибка в функции \"Utils::Mouse::DoubleClickLeft()\".\nКлавиша не нажата." + suffix);
}

TEST(KeyboardTest, AWrongModifierIsRefusedAndHotPressesModifierKeyKeyUpModifierUp)
{
    Support::TestWindow window { 300, 300, 200, 100, RGB(0, 255, 0) };
    SetForegroundWindow(window.Handle());
    SetFocus(window.Handle());
    // The display gives the focus in its own time (slowly under qemu).
    Support::PumpUntil([&] { return GetFocus() == window.Handle(); }, 3000);
    ASSERT_EQ(GetFocus(), window.Handle());
    EXPECT_EQ(Support::Thrown([] { Utils::Keyboard::Hot('S', 0x41); }),
        "Метод \"Utils::Keyboard::Hot()\".\nКод второй клавиши выбран неверно.");
    Utils::Keyboard::Hot('S', VK_CONTROL);
    ASSERT_TRUE(Support::PumpUntil([&] { return window.Messages().size() >= 4; }, 2000));
    // Only these four: the refused call sent none. lParam: repeat 1, scan code
    // 0x45, extended key; key-ups also carry the previous-state and transition bits.
    const LPARAM down = 0x01450001, up = static_cast<LPARAM>(0xC1450001u);
    EXPECT_EQ(window.Messages(), (std::vector<Message> { { WM_KEYDOWN, VK_CONTROL, down }, { WM_KEYDOWN, 'S', down },
                                     { WM_KEYUP, 'S', up }, { WM_KEYUP, VK_CONTROL, up } }));
}

}  // namespace
