#include "app/EngineComposition.h"

#include "core/app/SimulationManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/ScriptInterfaces.h"
#include "script_api/world/WorldEntityLookup.h"
#include "sound/SoundEngine.h"
#include "world/navigation/WaypointMapGraph.h"
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
    auto* world = manager.Adopt(std::make_unique<CWorld>(&manager));
    // Scripts name the world's entities by id through this lookup; it goes
    // before the world does.
    manager.Adopt(std::make_unique<ScriptWorld::CWorldEntityLookup>(world->GetData()));
    // Waypoints find the destinations of the connections they draw here.
    manager.Adopt(std::make_unique<CInstalledWaypointGraph>(world->GetData().GetWaypoints()));

    manager.AddSubEngine("graphics", graphics);
    manager.AddSubEngine("physics", physics);
    manager.AddSubEngine("sound", sound);
}

CScriptManager::SComposition EngineComposition()
{
    return CScriptManager::SComposition{&AddEngineParts, &RegisterScriptInterfaces};
}

} // namespace Halvane
