#pragma once
// For test programs whose every test needs a terminal to serve: one stand-in
// terminal in this process for the whole run, discovered once at the start.
#include <gtest/gtest.h>

#include <memory>

#include "StandIn.h"

namespace Support {

class TerminalEnvironment : public ::testing::Environment {
public:
    // `start` runs the library's start-up for this process once the stand-in exists.
    explicit TerminalEnvironment(void (*start)()) : m_start(start) {}
    void SetUp() override
    {
        m_terminal = std::make_unique<StandIn::Terminal>(StandIn::Scenario::Named("english"));
        m_start();
    }
    void TearDown() override { m_terminal.reset(); }

private:
    void (*m_start)();
    std::unique_ptr<StandIn::Terminal> m_terminal;
};

}  // namespace Support
