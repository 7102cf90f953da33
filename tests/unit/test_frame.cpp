// The call frame: each kind of thrown error gives one box with the export's caption and text, and the neutral result.
#include <gtest/gtest.h>
#include <new>
#include <string>
#include "exports/Frame.h"
#include "support/BoxWatcher.h"

using Support::Box;

namespace {

const char* const MethodText = "Ошибка в методе \"MT4::Windows::HandleMDIClient()\".\n"
                               "Не получен системный дескриптор окна области графиков.";
// Wine's system message for ERROR_ACCESS_DENIED under code page 1251.
const std::string AccessDeniedText = "\nLast Error 5.\nДоступ запрещён.\r\n\n";

[[noreturn]] void ThrowNoText() { SetLastError(ERROR_ACCESS_DENIED), throw std::bad_alloc(); }

TEST(FrameTest, EachKindOfErrorGivesOneBoxAndTheNeutralResultOrAfterStartUpsFunctionLineFalse)
{
    Support::BoxWatcher boxes;
    EXPECT_EQ(Frame::Call("VelmorHandleMT4()", 0, []() -> int { throw MethodText; }), 0);
    EXPECT_EQ(Frame::Call("VelmorMailboxGetLine()", -1, []() -> int { throw std::string("composed 7"); }), -1);
    const char* text = Frame::Call("VelmorSymbolByLine()", Frame::EmptyText, []() -> const char* { ThrowNoText(); });
    ASSERT_EQ(text, Frame::EmptyText);
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(Frame::Call("VelmorGetPathServer()", (const char*)nullptr, []() -> const char* { throw "a"; }), nullptr);
    bool after = false;
    Frame::Run("VelmorChartsHotKeys()", [&] { throw std::string("b"), after = true; });
    EXPECT_FALSE(after);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorHandleMT4()", MethodText }, { "VelmorMailboxGetLine()", "composed 7" },
            { "VelmorSymbolByLine()", "Системная ошибка!" + AccessDeniedText }, { "VelmorGetPathServer()", "a" },
            { "VelmorChartsHotKeys()", "b" } }));
    EXPECT_EQ(Frame::Call("VelmorGetProcessId()", 0, [] { return 1234; }), 1234);
    int ran = 0;
    Frame::Run("VelmorInit()", [&] { ++ran; });
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(boxes.Take().empty());
    // The start-up guard puts its function's line in front of each kind.
    const char* const caption = "RazozazER4.dll";
    const std::string prefix = "Ошибка в функции \"Init()\".\n\n";
    EXPECT_FALSE(Frame::Guard(caption, prefix.c_str(), [] { throw MethodText; }));
    EXPECT_FALSE(Frame::Guard(caption, prefix.c_str(), [] { throw std::string("composed"); }));
    EXPECT_FALSE(Frame::Guard(caption, prefix.c_str(), [] { ThrowNoText(); }));
    EXPECT_TRUE(Frame::Guard(caption, prefix.c_str(), [] {}));
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { caption, prefix + MethodText }, { caption, prefix + "composed" },
                                { caption, prefix + "Системная ошибка!" + AccessDeniedText } }));
    EXPECT_EQ(LastErrorText(ERROR_ACCESS_DENIED), AccessDeniedText);
    EXPECT_EQ(LastErrorText(0x12345), "\nLast Error 74565.\n\n");  // no system message
}

}  // namespace
