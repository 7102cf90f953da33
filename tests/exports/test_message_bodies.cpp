// The bodies of opened messages through the real DLL: the page's text and
// markup in code page 1251, from this process and from another, and the
// windows that have no page to read.
#include <gtest/gtest.h>

#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"
#include "support/StandInProcess.h"

using Support::Box;

namespace {

using TextOfIntFn = const char*(WINAPI*)(int32_t);

int32_t AsInteger(HWND window) { return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window)); }

const char* const Welcome
    = "<p>Welcome to the <b>trading terminal</b>.</p><p>Your demo account is ready.</p>";
const char* const Russian = "<p>Здравствуйте!<br>Ваш счёт <b>12345678</b> открыт.</p>";

struct Reader {
    Support::Library library;
    Support::IntOfIntFn open = library.Get<Support::IntOfIntFn>("VelmorMailboxOpen");
    TextOfIntFn text = library.Get<TextOfIntFn>("VelmorMailboxReadText");
    TextOfIntFn html = library.Get<TextOfIntFn>("VelmorMailboxReadHTML");
};

class MessageBodyTest : public ::testing::Test {
protected:
    void SetUp() override { read.library.Get<Support::VoidOfIntFn>("VelmorInit")(0); }

    StandIn::Terminal terminal { StandIn::Scenario::Named("english") };
    Reader read;
    Support::BoxWatcher boxes;
};

TEST_F(MessageBodyTest, TextAndMarkupOfAnOpenedMessageComeBackInCodePage1251)
{
    const int32_t welcome = read.open(0);
    const int32_t russian = read.open(1);
    ASSERT_NE(welcome, 0);
    ASSERT_NE(russian, 0);
    EXPECT_STREQ(read.text(welcome), "Welcome to the trading terminal.\r\nYour demo account is ready.");
    EXPECT_STREQ(read.html(welcome), Welcome);
    EXPECT_STREQ(read.text(russian), "Здравствуйте!\r\nВаш счёт 12345678 открыт.");
    EXPECT_STREQ(read.html(russian), Russian);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MessageBodyTest, CharactersOutsideTheCodePageBecomeItsDefaultCharacter)
{
    const int32_t margin = read.open(2);
    ASSERT_NE(margin, 0);
    // U+00A0 and U+2026 are in code page 1251 (0xA0, 0x85); U+4E16 is not.
    EXPECT_STREQ(read.text(margin), "Margin level: 150\xA0%\r\n<EURUSD> & ?\x85");
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MessageBodyTest, WindowsWithoutAPageReportTheInvalidHandle)
{
    const int32_t closed = read.open(0);
    ASSERT_NE(closed, 0);
    SendMessageA(reinterpret_cast<HWND>(static_cast<INT_PTR>(closed)), WM_CLOSE, 0, 0);
    EXPECT_STREQ(read.text(0), "");
    EXPECT_STREQ(read.html(closed), "");
    EXPECT_STREQ(read.text(AsInteger(terminal.Handles().main)), "");  // the terminal's window: no browser
    const std::string invalid = "Метод \"Utils::Controls::IEServer::Check()\".\nНедействительный системный дескриптор.";
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorMailboxReadText()", invalid }, { "VelmorMailboxReadHTML()", invalid },
            { "VelmorMailboxReadText()", invalid } }));
}

TEST(MessageBodyProcessTest, ThePageOfATerminalInAnotherProcessReadsTheSame)
{
    Support::StandInProcess other("english");
    Support::BoxWatcher boxes;
    Reader read;
    read.library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(other.Pid()));
    const int32_t russian = read.open(1);
    ASSERT_NE(russian, 0);
    DWORD owner = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<INT_PTR>(russian)), &owner);
    EXPECT_EQ(owner, other.Pid());
    EXPECT_STREQ(read.text(russian), "Здравствуйте!\r\nВаш счёт 12345678 открыт.");
    EXPECT_STREQ(read.html(russian), Russian);
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_EQ(other.Close(), 0u);
}

}  // namespace
