#pragma once

#include <cstdint>
#include <atomic>
#include <mutex>
#include <thread>

// A recursive lock that counts how deeply its holding thread has entered it.
class CCriticalSection
{
public:
    CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    virtual ~CCriticalSection() = default;

    void Lock();
    // Throws "[CCriticalSection::Unlock] Critical Section is already
    // unlocked." when the section is not held.
    void Unlock();

    // The holding thread's recursion depth (only meaningful to the holder).
    uint32_t GetLockCount() const { return m_lockCount; }

private:
    std::recursive_mutex m_mutex;
    // The holder, so that an unlock from a thread that does not hold the
    // section is refused instead of corrupting the mutex.
    std::atomic<std::thread::id> m_owner{};
    uint32_t m_lockCount = 0;
};

// Scoped guard of a CCriticalSection. UnlockAll releases every hold the
// thread has (outer scopes included) so a callback can run with the section
// free; Lock retakes one hold; the destructor restores the depth the section
// had when the guard was made.
class CScopedLock
{
public:
    explicit CScopedLock(CCriticalSection& section);
    CScopedLock(const CScopedLock&) = delete;
    CScopedLock& operator=(const CScopedLock&) = delete;
    ~CScopedLock();

    void Lock();
    void UnlockAll();

private:
    CCriticalSection& m_section;
    uint32_t m_depthBefore;
    uint32_t m_currentCount;
};
