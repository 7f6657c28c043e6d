#include "platform/Pacer.h"

#include "platform/Clock.h"

namespace Platform
{

CPacer::~CPacer()
{
    Close();
}

void CPacer::Open()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = true;
}

void CPacer::Close()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open)
            return;
        m_open = false;
        m_armed = false;
    }
    WakeClockWaiters();
}

bool CPacer::IsOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open;
}

void CPacer::Set(uint32_t dueMs, uint32_t periodMs)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open)
            return;
        m_next = GetMilliseconds() + dueMs;
        m_period = periodMs;
        m_armed = true;
        ++m_schedule;
    }
    WakeClockWaiters();
}

uint64_t CPacer::GetSchedule() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_schedule;
}

bool CPacer::Wait(uint64_t* schedule)
{
    return WaitUntil(kNoDeadline, schedule);
}

bool CPacer::WaitFor(uint32_t timeoutMs, uint64_t* schedule)
{
    return WaitUntil(GetMilliseconds() + timeoutMs, schedule);
}

bool CPacer::WaitUntil(uint64_t deadlineMs, uint64_t* schedule)
{
    for (;;)
    {
        // Read before the state: a Set or Close after this wakes the wait.
        const uint64_t epoch = GetClockWakeEpoch();
        uint64_t wakeAt = deadlineMs;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_open)
                return false;
            const uint64_t now = GetMilliseconds();
            if (m_armed && now >= m_next)
            {
                if (m_period != 0)
                    m_next += m_period * ((now - m_next) / m_period + 1); // the next point after now
                else
                    m_armed = false;
                if (schedule != nullptr)
                    *schedule = m_schedule;
                return true;
            }
            if (now >= deadlineMs)
                return false;
            if (m_armed && m_next < wakeAt)
                wakeAt = m_next;
        }
        WaitForClock(epoch, wakeAt);
    }
}

} // namespace Platform
