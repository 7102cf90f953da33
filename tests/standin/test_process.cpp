// standin.exe in a process of its own: it names its process and window, writes its data files and exits 0 on WM_CLOSE.
#include <gtest/gtest.h>

#include "Helpers.h"
#include "support/StandInProcess.h"

TEST(ProcessTest, StandInExeNamesItsWindowAndExitsZeroAfterWmClose)
{
    Support::StandInProcess standin("english");
    DWORD owner = 0;
    EXPECT_TRUE(GetWindowThreadProcessId(standin.Main(), &owner) && owner == standin.Pid()) << owner;
    EXPECT_EQ(StandInTest::ClassOf(standin.Main()), "MetaQuotes::MetaTrader::4.00");
    EXPECT_EQ(StandInTest::TextOf(standin.Main()), "12345678: MetaQuotes-Demo - [USDJPY,D1]");
    EXPECT_NE(GetFileAttributesA((standin.Directory() + "history\\MetaQuotes-Demo\\symbols.sel").c_str()),
        INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(standin.Close(), 0u);
}
