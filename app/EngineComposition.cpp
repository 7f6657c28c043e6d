#include "app/EngineComposition.h"

#include "core/app/SimulationManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/ScriptInterfaces.h"
#include "sound/SoundEngine.h"
#include "world/World.h"

#include <memory>

namespace Halvane
{

void AddEngineParts(Simulation::CSimulationManager& manager)
{
    auto* graphics = manager.Adopt(std::make_unique<Graphics::CGraphicsEngine>(&manager));
    auto* physics = manager.Adopt(std::make_unique<CPhysicsEngine>(&manager));
    auto* sound = manager.Adopt(std::make_unique<CSoundEngine>(&manager));
    // Last, so that it goes first: its entities leave sound, physics and
    // graphics while every engine still exists.
    manager.Adopt(std::make_unique<CWorld>(&manager));

    manager.AddSubEngine("graphics", graphics);
    manager.AddSubEngine("physics", physics);
    manager.AddSubEngine("sound", sound);
}

CScriptManager::SComposition EngineComposition()
{
    return CScriptManager::SComposition{&AddEngineParts, &RegisterScriptInterfaces};
}

} // namespace Halvane
