// unit_tests: the library's code linked statically, with a stand-in terminal serving the whole run.
#include <gtest/gtest.h>
#include "exports/Init.h"
#include "support/TerminalEnvironment.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Support::TerminalEnvironment([] { Init(0); }));
    return RUN_ALL_TESTS();
}
