// Synchronisation wrappers (creates, failure texts, a lock that did not acquire) and the reference-counted singletons.
#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <thread>
#include "Utils/Base.h"
#include "Utils/Errors.h"
#include "Utils/Sync.h"
#include "support/Thrown.h"

namespace {

using Support::Thrown;

std::string UniqueName(const char* stem)
{
    return std::string(stem) + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
}

TEST(MutexTest, CreatesRecordTheNameFailuresThrowTheirTextsAndALockThatTimesOutReleasesNothing)
{
    const std::string name = UniqueName("RazozazER4Test_Mutex_");
    Utils::Sync::Mutex first, second, after, bad;
    EXPECT_NE(first.Create(name, FALSE, INFINITE), nullptr);
    EXPECT_EQ(first.LastError(), 0u);
    EXPECT_NE(second.Create(name, FALSE, 50), nullptr);
    EXPECT_EQ(second.LastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(second.WaitTimeout(), 50u);
    EXPECT_EQ(second.Name(), name);
    EXPECT_EQ(Thrown([&] { second.Release(); }),
        "Ошибка в методе \"Utils::Sync::Mutex::Release()\".\nМьютекс \"" + name + "\" не освобождён."
            + LastErrorText(ERROR_NOT_OWNER));
    EXPECT_EQ(Thrown([&] { bad.Create("Bad\\Namespace\\x", FALSE, INFINITE); }),
        "Ошибка в методе \"Utils::Sync::Mutex::Create()\".\nМьютекс \"Bad\\Namespace\\x\" не создан."
        "\nLast Error 3.\nПуть не найден.\r\n\n");
    EXPECT_EQ(bad.Handle(), nullptr);
    after.Create(name, FALSE, 1000);
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr), done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        Utils::Sync::Lock<Utils::Sync::Mutex> lock(first);
        SetEvent(held);
        WaitForSingleObject(done, INFINITE);
    });
    WaitForSingleObject(held, INFINITE);
    {
        const DWORD start = GetTickCount();
        Utils::Sync::Lock<Utils::Sync::Mutex> lock(second);
        EXPECT_FALSE(lock.Acquired());
        EXPECT_GE(GetTickCount() - start, 40u);
    }  // the lock goes without releasing what it never owned
    SetEvent(done);
    holder.join();
    EXPECT_TRUE(Utils::Sync::Lock<Utils::Sync::Mutex>(after).Acquired());
    CloseHandle(held);
    CloseHandle(done);
}

TEST(EventTest, CreateOpenSetResetAndAMissingOnesText)
{
    const std::string name = UniqueName("RazozazER4Test_Event_");
    Utils::Sync::Event created, opened, missing;
    created.Create(name, TRUE, FALSE, INFINITE);
    EXPECT_EQ(created.LastError(), 0u);
    opened.Open(name);
    opened.Set();
    EXPECT_EQ(WaitForSingleObject(created.Handle(), 0), WAIT_OBJECT_0);
    created.Reset();
    EXPECT_EQ(WaitForSingleObject(opened.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(Thrown([&] { missing.Open("RazozazER4Test_NoSuchEvent"); }),
        "Ошибка в методе \"Utils::Sync::Event::Open()\".\nСобытие \"RazozazER4Test_NoSuchEvent\" не открыто."
        "\nLast Error 2.\nФайл не найден.\r\n\n");
}

std::atomic<int> g_constructed { 0 }, g_destroyed { 0 };

struct SlowSingleton : public virtual Utils::Base {
    SlowSingleton() { ++g_constructed, Sleep(50); }  // a wide window for a second creator
};

struct Counted : public virtual Utils::Base {
    ~Counted() override { ++g_destroyed; }
};

TEST(SingletonTest, RacingFirstGettersCreateOneObjectTheHolderKeepsAndReferencesAreCounted)
{
    SlowSingleton* seen[2] = {};
    const auto take = [&](int i) { seen[i] = Utils::Pointer<SlowSingleton>().Get(); };
    std::thread first(take, 0), second(take, 1);
    first.join(), second.join();
    ASSERT_NE(seen[0], nullptr);
    EXPECT_EQ(seen[0], seen[1]);
    Utils::Pointer<SlowSingleton> again;  // both copies are gone; the holder's reference remains
    EXPECT_EQ(again.Get(), seen[0]);
    EXPECT_EQ(again->Count(), 2);
    EXPECT_EQ(g_constructed.load(), 1);
    // Copies count references, the last release destroys, and one below zero throws.
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
