#pragma once

#include "core/events/Multicast.h"

namespace Simulation
{
class CSimulationManager;
}

// The world map of the engine object. For now it only follows camera
// changes for its whole life; it holds no world yet.
class CWorldMap : public Misc::Multicast::CSubscriber<Misc::Multicast::Kind::CameraChange>
{
public:
    explicit CWorldMap(Simulation::CSimulationManager* owner);
    ~CWorldMap() override;

    Simulation::CSimulationManager* GetOwner() const { return m_owner; }

private:
    Simulation::CSimulationManager* m_owner;
};
