// Singletons: one object however many threads race its first getter, kept
// alive by its holder; reference counts and a release below zero.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Utils/Base.h"

namespace {

std::atomic<int> g_slowConstructed { 0 };

class SlowSingleton : public virtual Utils::Base {
public:
    SlowSingleton()
    {
        ++g_slowConstructed;
        Sleep(50);  // wide window for a second creator
    }
};

std::atomic<int> g_countedDestroyed { 0 };

class Counted : public virtual Utils::Base {
public:
    ~Counted() override { ++g_countedDestroyed; }
};

TEST(SingletonTest, RacingFirstGettersCreateExactlyOneObjectThatTheHolderKeepsAlive)
{
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SlowSingleton* seen[2] = {};
    auto take = [&](int i) {
        WaitForSingleObject(go, INFINITE);
        Utils::Pointer<SlowSingleton> pointer;
        seen[i] = pointer.Get();
    };
    std::thread first(take, 0), second(take, 1);
    Sleep(20);
    SetEvent(go);
    first.join();
    second.join();
    CloseHandle(go);

    EXPECT_EQ(g_slowConstructed.load(), 1);
    ASSERT_NE(seen[0], nullptr);
    EXPECT_EQ(seen[0], seen[1]);
    // Both copies are gone; the holder's reference remains.
    Utils::Pointer<SlowSingleton> again;
    EXPECT_EQ(again.Get(), seen[0]);
    EXPECT_EQ(again->Count(), 2);
    EXPECT_EQ(g_slowConstructed.load(), 1);
}

TEST(PointerTest, CopiesCountReferencesAndTheLastReleaseDestroys)
{
    g_countedDestroyed = 0;
    Counted* object = new Counted;
    {
        Utils::Pointer<Counted> first(nullptr);
        first = object;
        EXPECT_EQ(object->Count(), 1);
        {
            Utils::Pointer<Counted> copy(first);
            EXPECT_EQ(object->Count(), 2);
            Utils::Pointer<Counted> assigned(nullptr);
            assigned = copy;
            EXPECT_EQ(object->Count(), 3);
        }
        EXPECT_EQ(object->Count(), 1);
        EXPECT_EQ(g_countedDestroyed.load(), 0);
        first = static_cast<Counted*>(nullptr);
        EXPECT_EQ(first.Get(), nullptr);
    }
    EXPECT_EQ(g_countedDestroyed.load(), 1);
}

TEST(BaseTest, ReleaseBelowZeroThrowsTheNegativeCountText)
{
    Counted object;
    try {
        object.Release();
        FAIL() << "no throw";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Ошибка в методе \"Utils::Base::Release()\".\nОтрицательное значение счётчика указателей.");
    }
    EXPECT_EQ(object.Count(), -1);
}

}  // namespace
