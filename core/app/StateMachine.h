#pragma once

#include <list>
#include <memory>
#include <string>

namespace Simulation
{
class CSimulationManager;
}

// One step of the application: the state machine runs each queued state
// once and then deletes it.
class CState
{
public:
    CState() = default;
    CState(const CState&) = delete;
    CState& operator=(const CState&) = delete;
    virtual ~CState() = default;

    virtual std::wstring GetName() const = 0;
    virtual void Run() {}
};

// The application state queue. The running state stays at the front of the
// queue while it runs, and states queued meanwhile go just after it, so they
// run next, in the order they were queued, before the states that were
// already waiting. States queued while none runs go to the end.
class CStateMachine
{
public:
    explicit CStateMachine(Simulation::CSimulationManager* owner);
    CStateMachine(const CStateMachine&) = delete;
    CStateMachine& operator=(const CStateMachine&) = delete;
    ~CStateMachine();

    // Takes ownership of the state (a null state is ignored).
    void Queue(CState* state);
    // Runs the states one after the other until the queue is empty.
    void Run();
    // Deletes every waiting state. The running state is left alive until its
    // Run returns; only then is it removed.
    void Reset();

    // The state whose Run is under way, or null.
    CState* GetRunningState() const { return m_running; }
    size_t GetQueueSize() const { return m_queue.size(); }
    Simulation::CSimulationManager* GetOwner() const { return m_owner; }

private:
    using Queue_t = std::list<std::unique_ptr<CState>>;

    void ExitState();

    Queue_t m_queue;
    Queue_t::iterator m_insertion;
    CState* m_running = nullptr;
    Simulation::CSimulationManager* m_owner;
};
