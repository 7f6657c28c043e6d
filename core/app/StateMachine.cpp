#include "core/app/StateMachine.h"

#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"

namespace
{

void LogState(const wchar_t* format, const CState& state)
{
    const std::wstring name = state.GetName();
    Misc::CLogger::WriteSystem(format, name.c_str());
}

} // namespace

CStateMachine::CStateMachine(Simulation::CSimulationManager* owner)
    : m_insertion(m_queue.end()), m_owner(owner)
{
}

CStateMachine::~CStateMachine()
{
    m_running = nullptr;
    m_queue.clear();
}

void CStateMachine::Queue(CState* state)
{
    if (state == nullptr)
        return;
    std::unique_ptr<CState> owned(state);
    LogState(L"Queueing [%s] state...", *owned);
    m_queue.insert(m_insertion, std::move(owned));
}

void CStateMachine::Run()
{
    while (!m_queue.empty())
    {
        m_running = m_queue.front().get();
        m_insertion = std::next(m_queue.begin());
        LogState(L"Entering [%s] state...", *m_running);
        m_running->Run();
        ExitState();
    }
}

void CStateMachine::ExitState()
{
    LogState(L"Exiting [%s] state", *m_running);
    // The running state is always the front node (Reset keeps it there).
    m_queue.pop_front();
    m_running = nullptr;
    m_insertion = m_queue.end();
}

void CStateMachine::Reset()
{
    if (m_running == nullptr)
    {
        m_queue.clear();
        m_insertion = m_queue.end();
        return;
    }
    // Deleting the running state here would pull it out from under its own
    // Run: it stays, alone, and new states go after it.
    m_queue.erase(std::next(m_queue.begin()), m_queue.end());
    m_insertion = m_queue.end();
}
