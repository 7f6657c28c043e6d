#include "sound/SoundEngine.h"

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

CSoundEngine::CSoundEngine(Simulation::CSimulationManager* owner) : Simulation::CSubEngine(owner)
{
    CMulticast<Kind::CameraChange>::Subscribe(this, 0);
}

CSoundEngine::~CSoundEngine()
{
    m_parts.DetachAll();
    CMulticast<Kind::CameraChange>::Unsubscribe(this);
}

void CSoundEngine::ForgetPart(CSoundEngine& /*engine*/, CSoundLink& /*link*/) {}

bool CSoundEngine::OnStart()
{
    return true;
}

bool CSoundEngine::OnStop()
{
    return true;
}

bool CSoundEngine::Step()
{
    return true;
}

bool CSoundEngine::IsRunning()
{
    return false;
}
