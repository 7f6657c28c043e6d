#include "world/WorldMap.h"

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

CWorldMap::CWorldMap(Simulation::CSimulationManager* owner) : m_owner(owner)
{
    CMulticast<Kind::CameraChange>::Subscribe(this, 0);
}

CWorldMap::~CWorldMap()
{
    CMulticast<Kind::CameraChange>::Unsubscribe(this);
}
