// standin.exe in a process of its own: its printed line names its process and
// main window, it writes its data files, and it exits 0 after WM_CLOSE.
#include <gtest/gtest.h>

#include "Helpers.h"
#include "support/StandInProcess.h"

TEST(ProcessTest, StandInExeNamesItsWindowAndExitsZeroAfterWmClose)
{
    Support::StandInProcess standin("english");
    DWORD owner = 0;
    GetWindowThreadProcessId(standin.Main(), &owner);
    EXPECT_EQ(owner, standin.Pid());
    EXPECT_EQ(StandInTest::ClassOf(standin.Main()), "MetaQuotes::MetaTrader::4.00");
    EXPECT_EQ(StandInTest::TextOf(standin.Main()), "12345678: MetaQuotes-Demo - [USDJPY,D1]");
    EXPECT_NE(GetFileAttributesA((standin.Directory() + "history\\MetaQuotes-Demo\\symbols.sel").c_str()),
        INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(standin.Close(), 0u);
}
