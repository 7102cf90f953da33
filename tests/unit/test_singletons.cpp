// Singletons: one object however many threads race its first getter, kept
// alive by its holder; reference counts and a release below zero.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Utils/Base.h"
#include "support/Thrown.h"

namespace {

std::atomic<int> g_constructed { 0 }, g_destroyed { 0 };

struct SlowSingleton : public virtual Utils::Base {
    SlowSingleton()
    {
        ++g_constructed;
        Sleep(50);  // wide window for a second creator
    }
};

struct Counted : public virtual Utils::Base {
    ~Counted() override { ++g_destroyed; }
};

TEST(SingletonTest, RacingFirstGettersCreateExactlyOneObjectThatTheHolderKeepsAlive)
{
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SlowSingleton* seen[2] = {};
    const auto take = [&](int i) {
        WaitForSingleObject(go, INFINITE);
        seen[i] = Utils::Pointer<SlowSingleton>().Get();
    };
    std::thread first(take, 0), second(take, 1);
    Sleep(20);
    SetEvent(go);
    first.join();
    second.join();
    CloseHandle(go);
    ASSERT_NE(seen[0], nullptr);
    EXPECT_EQ(seen[0], seen[1]);
    Utils::Pointer<SlowSingleton> again;  // both copies are gone; the holder's reference remains
    EXPECT_EQ(again.Get(), seen[0]);
    EXPECT_EQ(again->Count(), 2);
    EXPECT_EQ(g_constructed.load(), 1);
}

TEST(PointerTest, CopiesCountReferencesTheLastReleaseDestroysAndOneBelowZeroThrows)
{
    Counted* object = new Counted;
    {
        Utils::Pointer<Counted> first(nullptr);
        first = object;
        EXPECT_EQ(object->Count(), 1);
        {
            Utils::Pointer<Counted> copy(first), assigned(nullptr);
            assigned = copy;
            EXPECT_EQ(object->Count(), 3);
        }
        EXPECT_EQ(object->Count(), 1);
        EXPECT_EQ(g_destroyed.load(), 0);
        first = static_cast<Counted*>(nullptr);
        EXPECT_EQ(first.Get(), nullptr);
        EXPECT_EQ(g_destroyed.load(), 1);
    }
    Counted local;
    EXPECT_EQ(Support::Thrown([&] { local.Release(); }),
        "Ошибка в методе \"Utils::Base::Release()\".\nОтрицательное значение счётчика указателей.");
    EXPECT_EQ(local.Count(), -1);
}

}  // namespace
