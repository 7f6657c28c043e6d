#include "core/foundation/CriticalSection.h"

#include "core/foundation/KVOError.h"

void CCriticalSection::Lock()
{
    m_mutex.lock();
    m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    ++m_lockCount;
}

void CCriticalSection::Unlock()
{
    if (m_owner.load(std::memory_order_relaxed) != std::this_thread::get_id() || m_lockCount == 0)
        throw Misc::Error::CKVOError(L"[CCriticalSection::Unlock] Critical Section is already unlocked.");
    if (--m_lockCount == 0)
        m_owner.store(std::thread::id(), std::memory_order_relaxed);
    m_mutex.unlock();
}

CScopedLock::CScopedLock(CCriticalSection& section) : m_section(section)
{
    m_section.Lock();
    m_currentCount = m_section.GetLockCount();
    m_depthBefore = m_currentCount - 1;
}

CScopedLock::~CScopedLock()
{
    while (m_currentCount < m_depthBefore)
    {
        m_section.Lock();
        ++m_currentCount;
    }
    while (m_currentCount > m_depthBefore)
    {
        --m_currentCount;
        m_section.Unlock();
    }
}

void CScopedLock::Lock()
{
    m_section.Lock();
    ++m_currentCount;
}

void CScopedLock::UnlockAll()
{
    while (m_currentCount != 0)
    {
        --m_currentCount;
        m_section.Unlock();
    }
}
