#include "graphics/engine/GraphicsPorts.h"

#include "core/app/SimulationManager.h"
#include "graphics/engine/GraphicsEngine.h"

namespace Graphics
{

IWorldGraphics* WorldGraphicsOf(CGraphicsEngine* engine)
{
    return engine;
}

IWorldGraphics* WorldGraphicsOf(const Simulation::CSimulationManager& manager)
{
    return manager.GetPart<CGraphicsEngine>();
}

} // namespace Graphics
