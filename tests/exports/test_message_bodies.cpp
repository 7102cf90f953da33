// A message opened in a terminal of another process reads as in this one: text and markup in code page 1251.
#include <gtest/gtest.h>
#include "support/BoxWatcher.h"
#include "support/Library.h"
#include "support/StandInProcess.h"

namespace {

using TextOfIntFn = const char*(WINAPI*)(int32_t);

TEST(MessageBodyTest, ThePageOfATerminalInAnotherProcessReadsTheSame)
{
    Support::StandInProcess other("english");
    Support::BoxWatcher boxes;
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(other.Pid()));
    const int32_t russian = library.Get<Support::IntOfIntFn>("VelmorMailboxOpen")(1);
    DWORD owner = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<INT_PTR>(russian)), &owner);
    EXPECT_EQ(owner, other.Pid());
    EXPECT_STREQ(library.Get<TextOfIntFn>("VelmorMailboxReadText")(russian), "Здравствуйте!\r\nВаш счёт 12345678 открыт.");
    EXPECT_STREQ(library.Get<TextOfIntFn>("VelmorMailboxReadHTML")(russian),
        "<p>Здравствуйте!<br>Ваш счёт <b>12345678</b> открыт.</p>");
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_EQ(other.Close(), 0u);
}

}  // namespace
