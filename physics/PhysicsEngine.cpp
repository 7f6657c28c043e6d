#include "physics/PhysicsEngine.h"

using Misc::Multicast::CMulticast;

CPhysicsEngine::CPhysicsEngine(Simulation::CSimulationManager* owner) : Simulation::CSubEngine(owner) {}

CPhysicsEngine::~CPhysicsEngine()
{
    m_parts.DetachAll();
}

void CPhysicsEngine::ForgetPart(CPhysicsEngine& /*engine*/, CPhysicsLink& /*link*/) {}

bool CPhysicsEngine::OnStart()
{
    return true;
}

bool CPhysicsEngine::OnStop()
{
    CMulticast<Graphics::Multicast::CEvtGraphicsDrawPostScene>::Unsubscribe(this);
    return true;
}

bool CPhysicsEngine::Step()
{
    CMulticast<CEvtPhysicsTick>::Publish(CEvtPhysicsTick{this, GetCurrentTime(), GetLastStepTime()});
    return true;
}

bool CPhysicsEngine::IsRunning()
{
    return false;
}
