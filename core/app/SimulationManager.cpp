#include "core/app/SimulationManager.h"

#include "core/app/Application.h"
#include "core/app/StateMachine.h"
#include "core/app/SubEngine.h"
#include "core/events/Multicast.h"
#include "core/foundation/KVOError.h"
#include "platform/Clock.h"
#include "platform/QuitSignals.h"

#include <atomic>
#include <cstdlib>
#include <exception>

namespace Simulation
{

namespace
{

std::atomic<CSimulationManager*> g_engineObject{nullptr};

} // namespace

CSimulationManager* CSimulationManager::GetEngineObject()
{
    return g_engineObject.load();
}

void CSimulationManager::SetEngineObject(CSimulationManager* manager)
{
    g_engineObject.store(manager);
}

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

CSimulationManager::CSimulationManager(const AddParts& addParts)
{
    m_application = std::make_unique<CApplication>();
    m_stateMachine = std::make_unique<CStateMachine>(this);
    if (addParts)
        addParts(*this);
}

// The members go in reverse order of declaration: see the header.
CSimulationManager::~CSimulationManager()
{
    m_subEngines.clear();
}

CSimulationManager::SParts::~SParts()
{
    while (!list.empty())
    {
        const SPart part = list.back();
        list.pop_back();
        part.destroy(part.object);
    }
}

void CSimulationManager::Quit(int32_t status)
{
    CMulticast<Kind::Close>::Publish(Multicast::CEvtQuit{this});
    if (m_exitOnQuit && status != 0)
        EndProcess(status);
}

void CSimulationManager::EndProcess(int32_t status)
{
    const int code = status & 0xFF;
    std::exit(code != 0 ? code : 255);
}

void CSimulationManager::PublishStartStop(bool starting)
{
    m_now = m_application->GetTime();
    CMulticast<Kind::Run>::Publish(Multicast::CEvtStartStop{this, starting, m_now});
}

bool CSimulationManager::StartStopSubEngines(bool starting)
{
    const Multicast::CEvtStartStop event{this, starting, m_now};
    bool needsTime = false;
    for (const auto& entry : m_subEngines)
    {
        if (entry.second != nullptr && entry.second->StartStop(event))
            needsTime = true;
    }
    return needsTime;
}

bool CSimulationManager::Stop()
{
    PublishStartStop(false);
    return StartStopSubEngines(false);
}

void CSimulationManager::StopAfterError()
{
    // The error that ended the loop is what the caller must see: a second
    // one raised while stopping is dropped, and the sub-engines are stopped
    // even when a stop listener fails.
    try
    {
        PublishStartStop(false);
    }
    catch (const std::exception&)
    {
    }
    try
    {
        StartStopSubEngines(false);
    }
    catch (const std::exception&)
    {
    }
}

void CSimulationManager::Run(uint32_t duration)
{
    m_quitRequested = false;
    try
    {
        PublishStartStop(true);
        StartStopSubEngines(true);

        m_now = m_previous = m_application->GetTime();
        // The time since the start, summed tick by tick in 64 bits: each
        // step is a wrap-safe 32-bit difference, so no duration (up to
        // 0xFFFFFFFF ms, about 49.7 days) looks over before it is, whatever
        // the clock reads at the start.
        uint64_t elapsed = 0;
        uint32_t last = m_now;
        for (;;)
        {
            Tick();
            elapsed += static_cast<uint32_t>(m_now - last);
            last = m_now;
            if (duration != 0 && elapsed > duration)
                m_quitRequested = true;
            // Asked to end by a signal: every loop ends after its first
            // tick, so the states finish and the program shuts down.
            if (Platform::CQuitSignals::Received() != 0)
                m_quitRequested = true;
            if (!m_quitRequested)
                continue;
            // Stopping: the loop goes on ticking until no sub-engine needs
            // more time.
            if (!Stop())
                break;
        }
    }
    catch (const std::exception&) // CKVOError and LuaException included
    {
        StopAfterError();
        throw;
    }
}

bool CSimulationManager::Tick()
{
    m_previous = m_now;
    m_now = m_application->GetTime();
    const Multicast::CEvtTick tick{this, m_now, m_previous};
    CMulticast<Kind::Tick>::Publish(tick);

    m_didWork = false;
    for (const auto& entry : m_subEngines)
    {
        if (entry.second != nullptr && entry.second->Update(tick))
            m_didWork = true;
    }

    uint32_t elapsed = m_application->GetTime() - m_now;
    if (m_frameCounter)
        m_updateTime += elapsed;
    if (!m_didWork && m_throttling)
    {
        Platform::SleepMilliseconds(1);
        if (m_frameCounter)
            elapsed = m_application->GetTime() - m_now;
    }
    if (m_frameCounter)
        m_frameTime += elapsed;
    ++m_frameCount;
    return m_didWork;
}

void CSimulationManager::EnableFrameCounter(bool enable, bool reset)
{
    m_frameCounter = enable;
    if (reset)
    {
        m_updateTime = 0;
        m_frameTime = 0;
        m_frameCount = 0;
    }
}

float CSimulationManager::GetAveProcessingTime() const
{
    if (m_frameCount == 0)
        return 0.0f;
    return static_cast<float>(m_updateTime) / static_cast<float>(m_frameCount);
}

float CSimulationManager::GetAveFrameTime() const
{
    if (m_frameCount == 0)
        return 0.0f;
    return static_cast<float>(m_frameTime) / static_cast<float>(m_frameCount);
}

} // namespace Simulation
