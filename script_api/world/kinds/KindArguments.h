#pragma once

// Argument types of the kind functions beside those of EntityArguments.h.

#include "script_api/world/EntityArguments.h"

#include <string_view>

namespace ScriptWorld
{

// An entity of one kind that a function names among all the world's
// entities: an id that names no entity of the kind raises the group's
// "[CWorldMapGroup::GetUnit] Unit not found [%s]", so that an entity of
// another kind under that id is never taken for one of this kind.
template <uint32_t TypeId, typename Entity> struct KindUnitsOfWorld
{
    using Object = Entity;
    static Entity* Find(std::string_view id) { return AsEntity<Entity>(FindUnit(TypeId, id)); }
    [[noreturn]] static void NotFound(std::string_view id) { ThrowGroupUnitNotFound(id); }
};

template <uint32_t TypeId, typename Entity>
using UnitOfWorld = LuaPlus::Resolved<LuaPlus::Named<KindUnitsOfWorld<TypeId, Entity>>>;

} // namespace ScriptWorld
