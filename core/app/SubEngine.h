#pragma once

#include "core/events/Events.h"
#include "core/foundation/CriticalSection.h"

#include <cstdint>

namespace Simulation
{

class CSimulationManager;

// Base of the sub-engines that the main loop steps: graphics, physics and
// sound. Each steps at its own fixed period (skipping the periods it missed,
// never making them up), can be locked by scripts and keeps step statistics.
// Times are milliseconds of the application clock, compared with wrap-around.
class CSubEngine
{
public:
    explicit CSubEngine(CSimulationManager* owner);
    CSubEngine(const CSubEngine&) = delete;
    CSubEngine& operator=(const CSubEngine&) = delete;
    virtual ~CSubEngine() = default;

    // Called when the loop starts; returns true when done.
    virtual bool OnStart() = 0;
    // Called when the loop stops; returns false while the engine still needs
    // time (a fade-out in progress).
    virtual bool OnStop() = 0;
    // One step; returns whether it did work.
    virtual bool Step() = 0;
    // Whether the engine is up (its device exists). An engine that is not
    // running neither steps nor takes part in start and stop.
    virtual bool IsRunning() = 0;

    // One tick of the loop: steps the engine at the first tick strictly past
    // its due time, unless it is locked or not running. Returns the step's
    // result, false when it did not step.
    virtual bool Update(const Multicast::CEvtTick& tick);
    // The loop starts or stops: OnStart or OnStop. Returns true when the
    // engine still needs time.
    virtual bool StartStop(const Multicast::CEvtStartStop& event);

    // Stores the rate and returns the period: 1000 / rate whole
    // milliseconds, 0 (never step) for a rate of 0 or above 1000.
    uint32_t SetDesiredFrameRate(uint32_t rate);
    uint32_t GetDesiredFrameRate() const { return m_desiredRate; }
    uint32_t GetPeriod() const { return m_period; }

    // A locked engine keeps its due time moving but does not step.
    void SetLocked(bool locked);
    bool IsLocked() const { return m_locked; }

    // With reset, zeroes the processing-time sum and the step count.
    void EnableFrameCounter(bool enable, bool reset);
    bool IsFrameCounterEnabled() const { return m_frameCounter; }
    uint32_t GetTotalProcessingTime() const { return m_processingTime; }
    uint32_t GetTotalFrames() const { return m_stepCount; }
    // Processing-time sum per step; 0 without steps.
    float GetAveProcessingTime() const;

    uint32_t GetLastStepTime() const { return m_lastStepTime; }
    uint32_t GetCurrentTime() const { return m_currentTime; }
    uint32_t GetNextDueTime() const { return m_nextDueTime; }
    bool GetLastResult() const { return m_lastResult; }

    CSimulationManager* GetOwner() const { return m_owner; }

protected:
    // The application clock (the platform clock when there is no owner).
    uint32_t GetApplicationTime() const;
    // The sub-engine's lock, also for what the engine guards of its own
    // (the physics engine's body creation and removal).
    CCriticalSection& GetLock() { return m_lock; }
    // The engine's own lock, held while it steps: what changes the engine's
    // lists of parts holds it too.
    CCriticalSection& GetSection() { return m_lock; }

private:
    CCriticalSection m_lock;
    CSimulationManager* m_owner;
    uint32_t m_desiredRate = 0;
    uint32_t m_period = 0;
    uint32_t m_lastStepTime = 0;
    uint32_t m_currentTime = 0;
    uint32_t m_nextDueTime = 0;
    bool m_lastResult = false;
    bool m_locked = false;
    uint32_t m_processingTime = 0;
    uint32_t m_stepCount = 0;
    bool m_frameCounter = false;
};

} // namespace Simulation
