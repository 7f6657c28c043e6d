#include "graphics/engine/GraphicsEngine.h"

namespace Graphics
{

CGraphicsEngine::CGraphicsEngine(Simulation::CSimulationManager* owner) : Simulation::CSubEngine(owner)
{
}

CGraphicsEngine::~CGraphicsEngine() = default;

bool CGraphicsEngine::OnStart()
{
    return true;
}

bool CGraphicsEngine::OnStop()
{
    return true;
}

bool CGraphicsEngine::Step()
{
    return false;
}

bool CGraphicsEngine::IsRunning()
{
    return false;
}

void CGraphicsEngine::SetCursorPosition(float, float)
{
}

} // namespace Graphics
