#pragma once

#include "core/events/Events.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

class CApplication;
class CStateMachine;

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

// Owns the application object, the state machine and the parts that other
// subsystems add (the graphics, physics and sound engines and the world object),
// and runs the main loop: each tick publishes the tick event and updates the
// sub-engines in the order of their names (graphics, physics, sound); the
// loop ends when a quit is requested and every sub-engine agrees to stop.
//
// The core knows no subsystem: the program's composition root builds the
// parts while the manager is constructed (AddParts), hands them over with
// Adopt and files the sub-engines with AddSubEngine. Without it the manager
// runs with no sub-engine at all.
class CSimulationManager : public CQuitFlag
{
public:
    // Sub-engines by name ("graphics", "physics", "sound"), not owned; the
    // loop visits them in the names' order.
    using SubEngineMap = std::map<std::string, CSubEngine*>;
    // Builds the other subsystems' parts of a manager under construction
    // (after its application object and state machine exist).
    using AddParts = std::function<void(CSimulationManager&)>;

    explicit CSimulationManager(const AddParts& addParts = AddParts());
    CSimulationManager(const CSimulationManager&) = delete;
    CSimulationManager& operator=(const CSimulationManager&) = delete;
    virtual ~CSimulationManager();

    // Publishes the quit event; when exit-on-quit is set and the status is
    // not 0, ends the process with the status.
    virtual void Quit(int32_t status);

    // Runs the loop for the duration in milliseconds (0: until a quit is
    // requested). Once the program is asked to end by a signal
    // (Platform::CQuitSignals) every run ends after its first tick. An error that leaves a tick stops the
    // sub-engines once and reaches the caller.
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

    // The process's engine object, as the layers below the script host see
    // it (the script manager sets it with its own instance): what parts read
    // outside any engine load through. Null while there is none.
    static CSimulationManager* GetEngineObject();
    static void SetEngineObject(CSimulationManager* manager);

    CApplication* GetApplication() const { return m_application.get(); }
    CStateMachine* GetStateMachine() const { return m_stateMachine.get(); }
    const SubEngineMap& GetSubEngines() const { return m_subEngines; }

    // Takes ownership of a part of another subsystem. Parts are destroyed in
    // the reverse order of adoption, before the state machine and the
    // application object. Returns the part.
    template <class Part> Part* Adopt(std::unique_ptr<Part> part)
    {
        Part* adopted = part.get();
        if (adopted != nullptr)
        {
            m_parts.list.reserve(m_parts.list.size() + 1);
            m_parts.list.push_back(SPart{&typeid(Part), part.release(),
                                         [](void* object) { delete static_cast<Part*>(object); }});
        }
        return adopted;
    }
    // The adopted part of exactly this class, or null.
    template <class Part> Part* GetPart() const
    {
        for (const SPart& part : m_parts.list)
        {
            if (*part.type == typeid(Part))
                return static_cast<Part*>(part.object);
        }
        return nullptr;
    }
    // Files a sub-engine (owned elsewhere, normally adopted) under its name
    // in the loop.
    void AddSubEngine(const std::string& name, CSubEngine* engine) { m_subEngines[name] = engine; }

protected:
    // For derived engine objects (and tests) that put other sub-engines in
    // the loop.
    SubEngineMap& GetSubEngineMap() { return m_subEngines; }
    // Ends the process with the status (not 0). Only its low 8 bits reach
    // the parent, so a status such as 256 ends with 255, never as success.
    [[noreturn]] static void EndProcess(int32_t status);

private:
    // An adopted part, deleted through its own class.
    struct SPart
    {
        const std::type_info* type;
        void* object;
        void (*destroy)(void*);
    };
    // Deletes the parts, the last adopted first (also when the constructor
    // fails half-way).
    struct SParts
    {
        SParts() = default;
        SParts(const SParts&) = delete;
        SParts& operator=(const SParts&) = delete;
        ~SParts();
        std::vector<SPart> list;
    };

    void PublishStartStop(bool starting);
    bool StartStopSubEngines(bool starting);
    void StopAfterError();

    // Destroyed in reverse: the parts, the state machine (made before the
    // parts, so that each can reach it while it is built and destroyed), the
    // application object. The sub-engine map is emptied before the parts go.
    std::unique_ptr<CApplication> m_application;
    std::unique_ptr<CStateMachine> m_stateMachine;
    SubEngineMap m_subEngines;
    SParts m_parts;
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
