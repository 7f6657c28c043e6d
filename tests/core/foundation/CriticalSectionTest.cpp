#include "core/foundation/CriticalSection.h"
#include "core/foundation/KVOError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(CriticalSection, GuardRestoresTheDepthItFoundAfterUnlockAllAndLock)
{
    CCriticalSection section;
    section.Lock();
    section.Lock();
    {
        CScopedLock guard(section);
        EXPECT_EQ(section.GetLockCount(), 3u);
        guard.UnlockAll(); // also the two outer holds
        guard.Lock();
        EXPECT_EQ(section.GetLockCount(), 1u);
    }
    EXPECT_EQ(section.GetLockCount(), 2u);
    section.Unlock();
    section.Unlock();
}

TEST(CriticalSection, UnlockAllReallyFreesTheSectionForOtherThreads)
{
    CCriticalSection section;
    section.Lock();
    CScopedLock guard(section);
    guard.UnlockAll();

    std::atomic<bool> entered{false};
    std::thread other(
        [&]
        {
            CScopedLock inner(section);
            entered = true;
        });
    other.join();
    EXPECT_TRUE(entered);

    guard.Lock();
    section.Unlock(); // the outer hold the guard gave back
}

TEST(CriticalSection, UnlockingASectionThatIsNotHeldThrowsAndChangesNothing)
{
    CCriticalSection section;
    try
    {
        section.Unlock();
        FAIL() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[CCriticalSection::Unlock] Critical Section is already unlocked.");
    }
    section.Lock();
    EXPECT_EQ(section.GetLockCount(), 1u);
    section.Unlock();

    // Held by another thread: not ours to unlock.
    section.Lock();
    std::thread other([&] { EXPECT_THROW(section.Unlock(), Misc::Error::CKVOError); });
    other.join();
    EXPECT_EQ(section.GetLockCount(), 1u);
    section.Unlock();
}
