// The block of functions that every kind of entity repeats on IWorld,
// written once as a template over the kind's class.

#include "script_api/world/EntityKinds.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/File.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "core/script/lua/ScriptNumbers.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/world/WorldAccess.h"
#include "world/WorldData.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ScriptWorld
{

namespace
{

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
namespace World = Misc::World;
namespace Scene = Graphics::Scene;

template <class Kind, uint32_t TypeId> struct KindBlock
{
    using Map = CWorldMap<Kind>;
    using Managed = typename Map::ManagedEntity;
    using Entity = Unit<TypeId>;

    static Map& Collection() { return static_cast<Map&>(*GetScriptWorldData().GetMap(TypeId)); }

    // The stored entities leave the engines before they are destroyed.
    static void clear(LuaState*)
    {
        Map& map = Collection();
        // Without putting the table in order first: entities a script just
        // made leave in the order they were made, which is also the order of
        // their nodes in the scene.
        std::vector<World::IEntityInterface*> entities;
        entities.reserve(map.GetStoredCount());
        map.ForEachStored([&entities](World::IEntityInterface& entity) { entities.push_back(&entity); });
        for (World::IEntityInterface* entity : entities)
            RemoveFromEngines(*entity);
        map.Clear();
        ForgetErased(TypeId == World::kTypeIdWaypoint);
    }

    static bool areVisible(LuaState*) { return Collection().IsVisible(); }
    static void setVisible(LuaState*, bool visible) { Collection().SetVisible(visible); }

    static LuaObject getSelected(LuaState* state, LuaPlus::Index index)
    {
        LuaObject result;
        if (index.value < 0)
            return result;
        if (World::IEntityInterface* entity =
                Collection().GetSelectedUnit(static_cast<uint32_t>(index.value)))
            result.Assign(state, entity->GetId());
        return result;
    }

    static uint32_t getNumberOfSelected(LuaState*) { return Collection().GetSelectedCount(); }
    static uint32_t getTypeId(LuaState*) { return TypeId; }
    static uint32_t getNumber(LuaState*) { return Collection().GetCount(); }

    // The id is pushed straight from the entity: scripts make entities by
    // the thousand, and a copy of each id would be one more allocation.
    static std::string_view create(LuaState*)
    {
        World::IEntityInterface* created = nullptr;
        Collection().CreateUnit(created);
        return created != nullptr ? std::string_view(created->GetId()) : std::string_view();
    }

    static bool exists(LuaState*, const std::string& id) { return Collection().Exists(id); }

    // One entity from a file of its own, saved under the kind's type tag;
    // the empty string when no file opens or it does not read.
    static std::string load(LuaState*, const std::wstring& file, const std::string& id)
    {
        const std::unique_ptr<IFile, void (*)(IFile*)> opened(GetScriptApplication().OpenFile(file),
                                                              [](IFile* handle)
                                                              {
                                                                  if (handle != nullptr)
                                                                      handle->drop();
                                                              });
        if (!opened)
            return std::string();
        const auto entity = std::make_unique<Managed>();
        if (!Misc::Serialization::LoadSerializable(*entity, opened.get()))
            return std::string();
        if (!id.empty())
            entity->SetId(id.c_str());
        World::IEntityInterface* stored = nullptr;
        Collection().AddUnit(*entity, stored);
        return stored != nullptr ? stored->GetId() : std::string();
    }

    // Over a copy of the ids: a callback may delete, clear or unload, and
    // an entity that has gone by its turn is skipped.
    static void walk(const LuaStackObject& callback, const LuaStackObject& userData, bool selectedOnly)
    {
        const LuaPlus::LuaStackFunction<bool> function(callback);
        std::vector<World::IEntityInterface*> entities;
        Collection().GetUnits(entities);
        for (const std::string& id : IdsOf(entities))
        {
            Map& map = Collection();
            if (!map.Exists(id) || (selectedOnly && !map.IsSelected(id)))
                continue;
            if (function(std::string_view(id), userData))
                break;
        }
    }
    static void forEachSelected(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
    {
        walk(callback, userData, true);
    }
    static void forEach(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
    {
        walk(callback, userData, false);
    }

    // An empty parent id puts the entity at the scene root.
    static void add(LuaState*, Entity entity, const std::string& parentId, const std::string& jointName)
    {
        World::IEntityInterface* parent = nullptr;
        if (!parentId.empty())
        {
            parent = FindAnyUnit(parentId);
            if (parent == nullptr)
                ThrowGroupUnitNotFound(parentId);
        }
        AddToEngines(*entity, parent, jointName);
    }

    static void remove(LuaState*, Entity entity)
    {
        const std::string id = entity->GetId();
        RemoveFromEngines(*entity);
        Collection().RemoveUnit(id);
        ForgetErased(TypeId == World::kTypeIdWaypoint);
    }

    static void Register(CScriptMetaTable& table, const SKindBlockNames& names)
    {
        table.RegisterHelper(names.clear.c_str(), &clear);
        table.RegisterHelper(names.areVisible.c_str(), &areVisible);
        table.RegisterHelper(names.setVisible.c_str(), &setVisible);
        table.RegisterHelper(names.getSelected.c_str(), &getSelected);
        table.RegisterHelper(names.getNumberOfSelected.c_str(), &getNumberOfSelected);
        table.RegisterHelper(names.getTypeId.c_str(), &getTypeId);
        table.RegisterHelper(names.getNumber.c_str(), &getNumber);
        table.RegisterHelper(names.create.c_str(), &create);
        table.RegisterHelper(names.exists.c_str(), &exists);
        table.RegisterHelper(names.load.c_str(), &load);
        table.RegisterHelper(names.forEachSelected.c_str(), &forEachSelected);
        table.RegisterHelper(names.forEach.c_str(), &forEach);
        table.RegisterHelper(names.add.c_str(), &add);
        table.RegisterHelper(names.remove.c_str(), &remove);
    }
};

} // namespace

void RegisterEntityKindBlock(CScriptMetaTable& table, uint32_t typeId)
{
    const SEntityKind* kind = KindOf(typeId);
    if (kind == nullptr)
        return;
    const SKindBlockNames names = KindBlockNames(*kind);
    switch (typeId)
    {
#define HALVANE_REGISTER_KIND_BLOCK(Class)                                                                   \
    case Scene::Class::kTypeId:                                                                              \
        KindBlock<Scene::Class, Scene::Class::kTypeId>::Register(table, names);                              \
        break;
        HALVANE_COLLECTED_KIND_CLASSES(HALVANE_REGISTER_KIND_BLOCK)
#undef HALVANE_REGISTER_KIND_BLOCK
    default:
        break;
    }
}

} // namespace ScriptWorld
