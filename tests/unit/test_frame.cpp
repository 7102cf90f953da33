// The call frame: each kind of thrown error gives exactly one box with the
// export's caption and the exact text, and the export returns its neutral
// result of any kind.
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

class FrameTest : public ::testing::Test {
protected:
    Support::BoxWatcher boxes;
};

TEST_F(FrameTest, TextConstantShowsOneBoxWithTheTextUnchangedAndReturnsZero)
{
    const int result = Frame::Call("VelmorHandleMT4()", 0, []() -> int { throw MethodText; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorHandleMT4()", MethodText } }));
}

TEST_F(FrameTest, ComposedTextShowsOneBoxWithTheTextUnchangedAndReturnsMinusOne)
{
    const std::string text = std::string("Метод \"MT4::Windows::MailboxGetTime()\".\n"
                                         "Номер строки превышает количество сообщений.\ndwLine = ")
        + std::to_string(7);
    const int result = Frame::Call("VelmorMailboxGetLine()", -1, [&]() -> int { throw text; });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorMailboxGetLine()", text } }));
}

TEST_F(FrameTest, AnyOtherExceptionShowsSystemErrorWithTheLastErrorAndReturnsTheEmptyText)
{
    const char* result = Frame::Call("VelmorSymbolByLine()", Frame::EmptyText, []() -> const char* {
        SetLastError(ERROR_ACCESS_DENIED);
        throw std::bad_alloc();
    });
    ASSERT_EQ(result, Frame::EmptyText);
    EXPECT_EQ(result[0], '\0');
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorSymbolByLine()", "Системная ошибка!" + AccessDeniedText } }));
}

TEST_F(FrameTest, NullNeutralAndExportsWithoutResultShowOneBoxEach)
{
    const char* path = Frame::Call("VelmorGetPathServer()", static_cast<const char*>(nullptr),
        []() -> const char* { throw "a"; });
    EXPECT_EQ(path, nullptr);
    bool after = false;
    Frame::Run("VelmorChartsHotKeys()", [&] {
        throw std::string("b");
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorGetPathServer()", "a" }, { "VelmorChartsHotKeys()", "b" } }));
}

TEST_F(FrameTest, SuccessfulBodyReturnsItsResultWithoutBox)
{
    EXPECT_EQ(Frame::Call("VelmorGetProcessId()", 0, [] { return 1234; }), 1234);
    int ran = 0;
    Frame::Run("VelmorInit()", [&] { ++ran; });
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(FrameTest, StartUpGuardPutsItsFunctionLineInFrontOfEachKind)
{
    // The prefix and caption Init reports its own failures with.
    const char* const caption = "RazozazER4.dll";
    const char* const prefix = "Ошибка в функции \"Init()\".\n\n";
    EXPECT_FALSE(Frame::Guard(caption, prefix, [] { throw MethodText; }));
    EXPECT_FALSE(Frame::Guard(caption, prefix, [] { throw std::string("composed"); }));
    EXPECT_FALSE(Frame::Guard(caption, prefix, [] {
        SetLastError(ERROR_ACCESS_DENIED);
        throw 42;
    }));
    EXPECT_TRUE(Frame::Guard(caption, prefix, [] {}));
    const std::string head = prefix;
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { caption, head + MethodText }, { caption, head + "composed" },
            { caption, head + "Системная ошибка!" + AccessDeniedText } }));
}

TEST(LastErrorTextTest, KnownCodeCarriesTheSystemMessage)
{
    EXPECT_EQ(LastErrorText(ERROR_ACCESS_DENIED), AccessDeniedText);
}

TEST(LastErrorTextTest, CodeWithoutSystemMessageLeavesTheMessageEmpty)
{
    EXPECT_EQ(LastErrorText(0x12345), "\nLast Error 74565.\n\n");
}

}  // namespace
