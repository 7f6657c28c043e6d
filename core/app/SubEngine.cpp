#include "core/app/SubEngine.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "platform/Clock.h"

namespace Simulation
{

CSubEngine::CSubEngine(CSimulationManager* owner) : m_owner(owner) {}

uint32_t CSubEngine::GetApplicationTime() const
{
    if (m_owner != nullptr && m_owner->GetApplication() != nullptr)
        return m_owner->GetApplication()->GetTime();
    return static_cast<uint32_t>(Platform::GetMilliseconds());
}

bool CSubEngine::Update(const Multicast::CEvtTick& tick)
{
    CScopedLock lock(m_lock);
    m_lastResult = false;
    if (m_period == 0)
        return false;
    m_currentTime = tick.time;
    const uint32_t behind = tick.time - m_nextDueTime;
    if (static_cast<int32_t>(behind) <= 0)
        return false;
    // Move the due time to the first period boundary at or after now, in one
    // go: missed periods are skipped.
    m_nextDueTime += (behind / m_period + (behind % m_period != 0 ? 1 : 0)) * m_period;
    if (!IsRunning() || m_locked)
        return false;

    const uint32_t started = m_frameCounter ? GetApplicationTime() : 0;
    m_lastResult = Step();
    if (m_lastResult)
        m_lastStepTime = m_currentTime;
    ++m_stepCount;
    if (m_frameCounter)
        m_processingTime += GetApplicationTime() - started;
    return m_lastResult;
}

bool CSubEngine::StartStop(const Multicast::CEvtStartStop& event)
{
    CScopedLock lock(m_lock);
    if (!IsRunning())
        return false;
    m_currentTime = event.time;
    bool done;
    if (event.starting)
    {
        m_lastStepTime = m_nextDueTime = event.time;
        done = OnStart();
    }
    else
    {
        done = OnStop();
    }
    return !done;
}

uint32_t CSubEngine::SetDesiredFrameRate(uint32_t rate)
{
    CScopedLock lock(m_lock);
    m_desiredRate = rate;
    m_period = rate == 0 ? 0 : 1000 / rate;
    return m_period;
}

void CSubEngine::SetLocked(bool locked)
{
    CScopedLock lock(m_lock);
    m_locked = locked;
}

void CSubEngine::EnableFrameCounter(bool enable, bool reset)
{
    CScopedLock lock(m_lock);
    m_frameCounter = enable;
    if (reset)
    {
        m_processingTime = 0;
        m_stepCount = 0;
    }
}

float CSubEngine::GetAveProcessingTime() const
{
    if (m_stepCount == 0)
        return 0.0f;
    return static_cast<float>(m_processingTime) / static_cast<float>(m_stepCount);
}

} // namespace Simulation
