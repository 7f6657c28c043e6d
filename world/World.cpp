#include "world/World.h"

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

CWorld::CWorld(Simulation::CSimulationManager* owner) : m_owner(owner), m_data(this)
{
    CMulticast<Kind::CameraChange>::Subscribe(this, 0);
}

CWorld::~CWorld()
{
    CMulticast<Kind::CameraChange>::Unsubscribe(this);
}
