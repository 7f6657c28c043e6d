#pragma once

#include "core/events/Events.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class CApplication;
class CPhysicsEngine;
class CSoundEngine;
class CStateMachine;
class CWorldMap;
namespace Graphics
{
class CGraphicsEngine;
}

namespace Simulation
{

class CSubEngine;

// The quit request of the main loop.
class CQuitFlag
{
public:
    bool IsQuitRequested() const { return m_quitRequested; }

protected:
    bool m_quitRequested = false;
};

// Owns the application object, the graphics, physics and sound engines, the
// state machine and the world map, and runs the main loop: each tick
// publishes the tick event and updates the sub-engines in the order
// graphics, physics, sound; the loop ends when a quit is requested and every
// sub-engine agrees to stop.
class CSimulationManager : public CQuitFlag
{
public:
    // Sub-engines by name ("graphics", "physics", "sound"), not owned; the
    // loop visits them in the names' order.
    using SubEngineMap = std::map<std::string, CSubEngine*>;

    CSimulationManager();
    CSimulationManager(const CSimulationManager&) = delete;
    CSimulationManager& operator=(const CSimulationManager&) = delete;
    virtual ~CSimulationManager();

    // Publishes the quit event; when exit-on-quit is set and the status is
    // not 0, ends the process with the status.
    virtual void Quit(int32_t status);

    // Runs the loop for the duration in milliseconds (0: until a quit is
    // requested). An error that leaves a tick stops the sub-engines once and
    // reaches the caller.
    void Run(uint32_t duration);
    // One tick; returns whether any sub-engine stepped. Sleeps 1 ms when none
    // did and throttling is on.
    bool Tick();
    // Publishes the stop event and asks every sub-engine to stop; true while
    // one still needs time.
    bool Stop();
    // Run ends after the current tick's stop pass.
    void RequestQuit() { m_quitRequested = true; }

    void EnableThrottling(bool enable) { m_throttling = enable; }
    bool IsThrottlingEnabled() const { return m_throttling; }
    // With reset, zeroes both time sums and the frame count.
    void EnableFrameCounter(bool enable, bool reset);
    bool IsFrameCounterEnabled() const { return m_frameCounter; }
    uint32_t GetTotalFrames() const { return m_frameCount; }
    // Milliseconds spent in the ticks' work, and in whole ticks (idle sleep
    // included), while the frame counter was on.
    uint32_t GetTotalProcessingTime() const { return m_updateTime; }
    uint32_t GetTotalFrameTime() const { return m_frameTime; }
    // The sums per frame; 0 without frames.
    float GetAveProcessingTime() const;
    float GetAveFrameTime() const;
    bool GetExitOnQuit() const { return m_exitOnQuit; }

    // The time of the last tick and of the tick before.
    uint32_t GetNow() const { return m_now; }
    uint32_t GetPrevious() const { return m_previous; }
    bool GetDidWork() const { return m_didWork; }

    CApplication* GetApplication() const { return m_application.get(); }
    Graphics::CGraphicsEngine* GetGraphicsEngine() const { return m_graphicsEngine.get(); }
    CPhysicsEngine* GetPhysicsEngine() const { return m_physicsEngine.get(); }
    CSoundEngine* GetSoundEngine() const { return m_soundEngine.get(); }
    CStateMachine* GetStateMachine() const { return m_stateMachine; }
    CWorldMap* GetWorldMap() const { return m_worldMap.get(); }
    const SubEngineMap& GetSubEngines() const { return m_subEngines; }

protected:
    // For derived engine objects (and tests) that put other sub-engines in
    // the loop.
    SubEngineMap& GetSubEngineMap() { return m_subEngines; }
    // Ends the process with the status (not 0). Only its low 8 bits reach
    // the parent, so a status such as 256 ends with 255, never as success.
    [[noreturn]] static void EndProcess(int32_t status);

private:
    void PublishStartStop(bool starting);
    bool StartStopSubEngines(bool starting);
    void StopAfterError();

    std::unique_ptr<CApplication> m_application;
    std::unique_ptr<Graphics::CGraphicsEngine> m_graphicsEngine;
    std::unique_ptr<CPhysicsEngine> m_physicsEngine;
    std::unique_ptr<CSoundEngine> m_soundEngine;
    // The application state queue (owned; created after the physics engine,
    // deleted after the world map).
    CStateMachine* m_stateMachine = nullptr;
    std::unique_ptr<CWorldMap> m_worldMap;
    SubEngineMap m_subEngines;
    uint32_t m_updateTime = 0;
    uint32_t m_frameTime = 0;
    uint32_t m_frameCount = 0;
    bool m_frameCounter = false;
    uint32_t m_now = 0;
    uint32_t m_previous = 0;
    bool m_didWork = false;
    bool m_throttling = true;
    bool m_exitOnQuit = true;
};

} // namespace Simulation
