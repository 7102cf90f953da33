// The text-result buffer: two zero bytes after the text cut at its first zero,
// and threads never see each other's text.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "MT4/SyncText.h"

namespace {

TEST(SyncTextTest, TextIsCutAtItsFirstZeroFollowedByTwoZerosAndKeptPerThread)
{
    Utils::Pointer<MT4::SyncText> text;
    EXPECT_EQ(std::memcmp(text->Set(""), "\0\0", 2), 0);
    const char* mine = text->Set(std::string("EURUSD\0tail", 11));
    EXPECT_EQ(std::memcmp(mine, "EURUSD\0\0", 8), 0);
    const char* other = nullptr;
    std::thread([&] { other = Utils::Pointer<MT4::SyncText>()->Set("from another thread, a longer text"); }).join();
    EXPECT_STREQ(mine, "EURUSD");
    EXPECT_STREQ(other, "from another thread, a longer text");
}

}  // namespace
