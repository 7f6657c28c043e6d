#pragma once

// How the IWorld functions reach the world object and hand entities to the
// engines. Engines that the program was put together without are skipped.

#include "core/world/EntityInterface.h"

#include "core/script/lua/LuaObject.h"

#include <string>
#include <vector>

class CDataBag;
class CWorld;
class CWorldData;

namespace ScriptWorld
{

// The engine object's world; an error when there is none.
CWorld& GetScriptWorld();
CWorldData& GetScriptWorldData();

// Into the running world: the graphics scene (under the parent, or under
// the named joint of a parent agent), sound, physics, then the physics
// world grows to the scene's box.
void AddToEngines(Misc::World::IEntityInterface& entity, Misc::World::IEntityInterface* parent,
                  const std::string& jointName);
// Out of physics, sound and the scene, in that order.
void RemoveFromEngines(Misc::World::IEntityInterface& entity);
// The physics world box grown to the graphics engine's.
void ExpandPhysicsToScene();
// Rebuilds each part where it has its engine, adds it where it has none.
void RefreshInEngines(Misc::World::IEntityInterface& entity);
// After entities were erased: the active camera id is dropped when no
// camera bears it any more, and connections to erased waypoints go.
void ForgetErased(bool waypointsErased);

// The ids of the entities, copied, so that a walk survives callbacks that
// erase entities.
std::vector<std::string> IdsOf(const std::vector<Misc::World::IEntityInterface*>& entities);

// Calls the callback with (key, value, user data) for each entry of the bag
// in key order, with the id first when one is given, until it returns true.
// The walk goes over a copy of the keys, so that a callback may change the
// bag: an entry deleted before its turn is skipped, one changed before its
// turn is given with its new value. The bag is asked for again before each
// call (null when it has gone with its entity, which ends the walk).
void WalkDataBag(const CDataBag* (*bag)(const std::string* id), const LuaPlus::LuaStackObject& callback,
                 const LuaPlus::LuaStackObject& userData, const std::string* id);

} // namespace ScriptWorld
