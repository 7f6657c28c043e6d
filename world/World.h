#pragma once

#include "core/events/Multicast.h"
#include "world/WorldData.h"

namespace Simulation
{
class CSimulationManager;
}

// The world object of the engine object: it holds the one world data for
// its whole life and follows camera changes. The composition builds it
// after the graphics, physics and sound engines, so that it goes first and
// its entities leave the engines while every engine still exists.
class CWorld : public Misc::Multicast::CSubscriber<Misc::Multicast::Kind::CameraChange>
{
public:
    explicit CWorld(Simulation::CSimulationManager* owner);
    ~CWorld() override;
    CWorld(const CWorld&) = delete;
    CWorld& operator=(const CWorld&) = delete;

    Simulation::CSimulationManager* GetOwner() const { return m_owner; }
    CWorldData& GetData() { return m_data; }
    const CWorldData& GetData() const { return m_data; }

private:
    Simulation::CSimulationManager* m_owner;
    CWorldData m_data;
};
