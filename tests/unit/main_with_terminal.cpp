// unit_tests: the library's code linked statically, with a stand-in terminal serving the whole run.
#include <gtest/gtest.h>
#include <memory>
#include "StandIn.h"
#include "exports/Init.h"

struct TerminalEnvironment : ::testing::Environment {
    void SetUp() override { terminal = std::make_unique<StandIn::Terminal>(StandIn::Scenario::Named("english")), Init(0); }
    void TearDown() override { terminal.reset(); }
    std::unique_ptr<StandIn::Terminal> terminal;
};

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TerminalEnvironment);
    return RUN_ALL_TESTS();
}
