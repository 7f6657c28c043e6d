#include "platform/Pacer.h"

namespace Platform
{

void CPacer::Open()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = true;
}

void CPacer::Close()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = false;
        m_armed = false;
    }
    m_changed.notify_all();
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
        m_next = Clock::now() + std::chrono::milliseconds(dueMs);
        m_period = std::chrono::milliseconds(periodMs);
        m_armed = true;
    }
    m_changed.notify_all();
}

bool CPacer::Wait()
{
    return WaitUntil(Clock::time_point::max(), false);
}

bool CPacer::WaitFor(uint32_t timeoutMs)
{
    return WaitUntil(Clock::now() + std::chrono::milliseconds(timeoutMs), true);
}

bool CPacer::WaitUntil(Clock::time_point deadline, bool limited)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;)
    {
        if (!m_open)
            return false;
        const Clock::time_point now = Clock::now();
        if (m_armed && now >= m_next)
        {
            if (m_period > Clock::duration::zero())
            {
                // The next point of the schedule after now.
                const auto missed = (now - m_next) / m_period;
                m_next += m_period * (missed + 1);
            }
            else
            {
                m_armed = false;
            }
            return true;
        }
        if (limited && now >= deadline)
            return false;

        if (m_armed && (!limited || m_next < deadline))
            m_changed.wait_until(lock, m_next);
        else if (limited)
            m_changed.wait_until(lock, deadline);
        else
            m_changed.wait(lock);
    }
}

} // namespace Platform
