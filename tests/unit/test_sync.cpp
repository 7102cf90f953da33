// The synchronisation wrappers: what a create records, every failure text,
// and a mutex lock whose wait did not acquire.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "Utils/Errors.h"
#include "Utils/Sync.h"

namespace {

std::string UniqueName(const char* stem)
{
    return std::string(stem) + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
}

TEST(MutexTest, SecondCreateOfOneNameRecordsAlreadyExists)
{
    const std::string name = UniqueName("RazozazER4Test_Mutex_");
    Utils::Sync::Mutex first, second;
    EXPECT_NE(first.Create(name, FALSE, INFINITE), nullptr);
    EXPECT_EQ(first.LastError(), 0u);
    EXPECT_NE(second.Create(name, FALSE, 250), nullptr);
    EXPECT_EQ(second.LastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(second.WaitTimeout(), 250u);
    EXPECT_EQ(second.Name(), name);
}

TEST(MutexTest, FailedCreateThrowsTheNameAndTheLastError)
{
    Utils::Sync::Mutex mutex;
    try {
        mutex.Create("Bad\\Namespace\\x", FALSE, INFINITE);
        FAIL() << "no throw";
    } catch (const std::string& text) {
        EXPECT_EQ(text,
            "Ошибка в методе \"Utils::Sync::Mutex::Create()\".\nМьютекс \"Bad\\Namespace\\x\" не создан."
            "\nLast Error 3.\nПуть не найден.\r\n\n");
    }
    EXPECT_EQ(mutex.Handle(), nullptr);
}

TEST(MutexTest, ReleaseOfAMutexNotOwnedThrowsItsText)
{
    Utils::Sync::Mutex mutex;
    mutex.Create(UniqueName("RazozazER4Test_Release_"), FALSE, INFINITE);
    try {
        mutex.Release();
        FAIL() << "no throw";
    } catch (const std::string& text) {
        EXPECT_EQ(text,
            Utils::Error::Method("Utils::Sync::Mutex::Release", "Мьютекс \"" + mutex.Name() + "\" не освобождён.")
                + LastErrorText(ERROR_NOT_OWNER));
    }
}

TEST(MutexLockTest, SerialisesHoldersAndAWaitThatTimesOutReleasesNothing)
{
    const std::string name = UniqueName("RazozazER4Test_Lock_");
    Utils::Sync::Mutex holderMutex;
    holderMutex.Create(name, FALSE, INFINITE);
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        Utils::Sync::Lock<Utils::Sync::Mutex> lock(holderMutex);
        SetEvent(held);
        WaitForSingleObject(done, INFINITE);
    });
    WaitForSingleObject(held, INFINITE);
    {
        Utils::Sync::Mutex waiting;
        waiting.Create(name, FALSE, 50);
        const DWORD start = GetTickCount();
        Utils::Sync::Lock<Utils::Sync::Mutex> lock(waiting);
        EXPECT_FALSE(lock.Acquired());
        EXPECT_GE(GetTickCount() - start, 40u);
    }  // the lock goes without releasing what it never owned
    SetEvent(done);
    holder.join();
    Utils::Sync::Mutex after;
    after.Create(name, FALSE, 1000);
    Utils::Sync::Lock<Utils::Sync::Mutex> lock(after);
    EXPECT_TRUE(lock.Acquired());
    CloseHandle(held);
    CloseHandle(done);
}

TEST(EventTest, CreateOpenSetAndReset)
{
    const std::string name = UniqueName("RazozazER4Test_Event_");
    Utils::Sync::Event created, opened;
    created.Create(name, TRUE, FALSE, INFINITE);
    EXPECT_EQ(created.LastError(), 0u);
    opened.Open(name);
    opened.Set();
    EXPECT_EQ(WaitForSingleObject(created.Handle(), 0), WAIT_OBJECT_0);
    created.Reset();
    EXPECT_EQ(WaitForSingleObject(opened.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(EventTest, OpeningAMissingEventThrowsItsText)
{
    Utils::Sync::Event event;
    try {
        event.Open("RazozazER4Test_NoSuchEvent");
        FAIL() << "no throw";
    } catch (const std::string& text) {
        EXPECT_EQ(text,
            "Ошибка в методе \"Utils::Sync::Event::Open()\".\nСобытие \"RazozazER4Test_NoSuchEvent\" не открыто."
            "\nLast Error 2.\nФайл не найден.\r\n\n");
    }
}

}  // namespace
