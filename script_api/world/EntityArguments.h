#pragma once

// Argument types of the script functions that name entities of the world
// map by their ids, and joints and sounds by theirs. A function states in
// its signature what it needs and gets it resolved, or the call fails with
// the documented error before the function runs:
//
//     Unit<kTypeIdLight>        an entity of one kind, looked up in that
//                               kind's collection: "[CWorldMap::GetUnit]
//                               Unit not found [%s]"
//     AnyUnit<>                 an entity of any kind, looked up across the
//                               collections in the group's order:
//                               "[CWorldMapGroup::GetUnit] Unit not found [%s]"
//     UnitOrNull                the same, null for an id that names none (a
//                               joint's optional parent)
//     GraphicalPart, PhysicalPart, SonicPart
//                               a part of an entity of any kind
//     JointArgument<Joints>     a joint: "[CPhysicsEngine::GetJoint] Joint id
//                               not found:%s"
//     SoundArgument<Sounds>     a sound; a name that names none is no error:
//                               the call answers 0, false or nil and a setter
//                               does nothing
//
// One row per function. A getter or setter of a part, a joint or a sound is
// a method of it, bound with no function of its own; the first type gives
// the object, the method's parameters are the script's further arguments:
//
//     table.RegisterMethod<PhysicalPart>("setEntityMass", &CPhysicalEntity::SetMass);
//     table.RegisterMethod<PhysicalPart>("getEntityMass", &CPhysicalEntity::GetMass);
//     table.RegisterMethod<Joint>("setJointLimitMin", &CJoint::SetMinLimit);
//     table.RegisterMethod<Sound>("getVolume", &CSound::GetVolume);          // 0 for no sound
//     table.RegisterMethod<GraphicalPart, bool>("setEntityVisible", &CGraphicalEntity::SetVisible);
//
// A function that does more than one call takes the same types as
// parameters and finds everything resolved:
//
//     void addLight(LuaState*, Unit<kTypeIdLight> light, UnitOrNull parent, const std::string& joint);
//     bool createJointHinge(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child, ...);
//
// The block of functions that every kind repeats is written once, over the
// kind table of EntityKinds.h (see RegisterEntityKindBlock there).
//
// Where the entities come from: the world installs its lookup
// (SetEntityLookup) while it exists; tests install their own. Joints and
// sounds belong to the physics and sound engines, whose bindings name
// their finder:
//
//     struct Joints
//     {
//         using Object = CJoint;
//         static CJoint* Find(std::string_view id);                     // null for none
//         [[noreturn]] static void NotFound(std::string_view id) { ThrowJointNotFound(id); }
//     };
//     using Joint = JointArgument<Joints>;

#include "core/world/EntityInterface.h"
#include "core/script/lua/ScriptResolved.h"

#include <cstdint>
#include <string_view>
#include <type_traits>

namespace ScriptWorld
{

using Misc::World::IEntityInterface;

// What the entity argument types ask of the world map.
class IEntityLookup
{
public:
    // The entity of the id in the collection of one kind (an ITypeId bit);
    // null when that collection does not hold it.
    virtual IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) = 0;
    // The entity of the id in the first collection that holds it, in the
    // group's order (cursors, units, cameras, agents, lights, particle
    // systems, waypoints, triggers, billboards, waters, terrains); null
    // when none does.
    virtual IEntityInterface* FindAnyUnit(std::string_view id) = 0;

protected:
    ~IEntityLookup() = default;
};

// Makes the lookup the one the argument types ask, and returns the one
// before it. Without a lookup (null) no id names an entity.
IEntityLookup* SetEntityLookup(IEntityLookup* lookup);

// The lookup's answers; null without a lookup.
IEntityInterface* FindUnit(uint32_t typeId, std::string_view id);
IEntityInterface* FindAnyUnit(std::string_view id);

// The documented not-found errors, with the id in the message.
[[noreturn]] void ThrowUnitNotFound(std::string_view id);
[[noreturn]] void ThrowGroupUnitNotFound(std::string_view id);
[[noreturn]] void ThrowJointNotFound(std::string_view id);
// An entity without the part a function needs: "Unit has no <part> part
// [%s]", refused with the function's name.
[[noreturn]] void RefuseMissingPart(const char* part, std::string_view id);

// The entity as the type a function asks for: the same object, or the kind's
// own class; null when it is not of that class.
template <typename Entity> Entity* AsEntity(IEntityInterface* entity)
{
    if constexpr (std::is_same_v<Entity, IEntityInterface>)
        return entity;
    else
        return dynamic_cast<Entity*>(entity);
}

// The finders behind the types.
template <uint32_t TypeId, typename Entity> struct KindUnits
{
    using Object = Entity;
    static Entity* Find(std::string_view id) { return AsEntity<Entity>(FindUnit(TypeId, id)); }
    [[noreturn]] static void NotFound(std::string_view id) { ThrowUnitNotFound(id); }
};

template <typename Entity> struct AllUnits
{
    using Object = Entity;
    static Entity* Find(std::string_view id) { return AsEntity<Entity>(FindAnyUnit(id)); }
    [[noreturn]] static void NotFound(std::string_view id) { ThrowGroupUnitNotFound(id); }
};

// What the messages call each part.
inline const char* PartName(const Graphics::Scene::CGraphicalEntity*)
{
    return "graphical";
}
inline const char* PartName(const CPhysicalEntity*)
{
    return "physical";
}
inline const char* PartName(const CSonicEntity*)
{
    return "sonic";
}

// A part of an entity of any kind, through the entity interface's accessor.
template <typename Part, Part* (IEntityInterface::*Accessor)()> struct UnitParts
{
    using Object = Part;
    static Part* Resolve(lua_State* L, int index)
    {
        IEntityInterface* entity = LuaPlus::Named<AllUnits<IEntityInterface>>::Resolve(L, index);
        Part* part = (entity->*Accessor)();
        if (part == nullptr)
            RefuseMissingPart(PartName(part), LuaPlus::ArgumentText(L, index));
        return part;
    }
};

template <uint32_t TypeId, typename Entity = IEntityInterface>
using Unit = LuaPlus::Resolved<LuaPlus::Named<KindUnits<TypeId, Entity>>>;
template <typename Entity = IEntityInterface>
using AnyUnit = LuaPlus::Resolved<LuaPlus::Named<AllUnits<Entity>>>;
using UnitOrNull = LuaPlus::Resolved<LuaPlus::NamedOrNull<AllUnits<IEntityInterface>>>;

using GraphicalPart =
    LuaPlus::Resolved<UnitParts<Graphics::Scene::CGraphicalEntity, &IEntityInterface::GetGraphicalPart>>;
using PhysicalPart = LuaPlus::Resolved<UnitParts<CPhysicalEntity, &IEntityInterface::GetPhysicalPart>>;
using SonicPart = LuaPlus::Resolved<UnitParts<CSonicEntity, &IEntityInterface::GetSonicPart>>;

template <typename Joints> using JointArgument = LuaPlus::Resolved<LuaPlus::Named<Joints>>;
template <typename Sounds> using SoundArgument = LuaPlus::Resolved<LuaPlus::NamedOrAbsent<Sounds>>;

} // namespace ScriptWorld
