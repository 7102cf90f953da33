// The text-result buffer: two zero bytes after the text, the next result of
// one thread replaces its last, and threads never see each other's text.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "MT4/SyncText.h"

namespace {

TEST(SyncTextTest, EmptyTextIsTwoZeroBytes)
{
    Utils::Pointer<MT4::SyncText> text;
    const char* result = text->Set("");
    EXPECT_EQ(std::memcmp(result, "\0\0", 2), 0);
}

TEST(SyncTextTest, TextIsCutAtItsFirstZeroAndFollowedByTwoZeros)
{
    Utils::Pointer<MT4::SyncText> text;
    const char* result = text->Set(std::string("EURUSD\0tail", 11));
    EXPECT_EQ(std::memcmp(result, "EURUSD\0\0", 8), 0);
}

TEST(SyncTextTest, TwoThreadsKeepTheirOwnText)
{
    HANDLE aSet = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE bSet = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::string aSaw;
    std::thread a([&] {
        Utils::Pointer<MT4::SyncText> text;
        const char* mine = text->Set("from A");
        SetEvent(aSet);
        WaitForSingleObject(bSet, INFINITE);
        aSaw = mine;
    });
    WaitForSingleObject(aSet, INFINITE);
    const char* bText = nullptr;
    std::thread b([&] {
        Utils::Pointer<MT4::SyncText> text;
        bText = text->Set("from B, a longer text than A's");
        SetEvent(bSet);
    });
    b.join();
    a.join();
    EXPECT_EQ(aSaw, "from A");
    EXPECT_STREQ(bText, "from B, a longer text than A's");
    CloseHandle(aSet);
    CloseHandle(bSet);
}

}  // namespace
