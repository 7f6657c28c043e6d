#pragma once

// The composition root: the one place that knows every subsystem and puts
// the program's engine object together from them. The core holds the
// sub-engines only as Simulation::CSubEngine and reaches the other parts
// through CSimulationManager::GetPart.

#include "core/script/ScriptManager.h"

namespace Simulation
{
class CSimulationManager;
}

namespace Halvane
{

// Builds the parts of the engine object in this order: the graphics engine,
// the physics engine, the sound engine and the world object (the last made
// is the first destroyed, so the world goes before any engine), and files
// "graphics", "physics" and "sound" in the main loop.
void AddEngineParts(Simulation::CSimulationManager& manager);

// The parts above and the twelve script interfaces.
CScriptManager::SComposition EngineComposition();

} // namespace Halvane
