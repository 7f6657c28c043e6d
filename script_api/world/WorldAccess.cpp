#include "script_api/world/WorldAccess.h"

#include "core/foundation/KVOError.h"
#include "core/io/DataBag.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalEntity.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/EngineAccess.h"
#include "sound/SonicEntity.h"
#include "sound/SoundEngine.h"
#include "world/World.h"

namespace ScriptWorld
{

namespace
{

CPhysicsEngine* Physics()
{
    return GetScriptEngine().GetPart<CPhysicsEngine>();
}

CSoundEngine* Sound()
{
    return GetScriptEngine().GetPart<CSoundEngine>();
}

} // namespace

CWorld& GetScriptWorld()
{
    CWorld* world = GetScriptEngine().GetPart<CWorld>();
    if (world == nullptr)
        throw Misc::Error::CKVOError(L"[CScriptManager::GetWorld] There is no world");
    return *world;
}

CWorldData& GetScriptWorldData()
{
    return GetScriptWorld().GetData();
}

void AddToEngines(Misc::World::IEntityInterface& entity, Misc::World::IEntityInterface* parent,
                  const std::string& jointName)
{
    if (Graphics::CGraphicsEngine* graphics = FindScriptGraphicsEngine())
        graphics->Add(entity.GetGraphicalPart(), parent != nullptr ? parent->GetGraphicalPart() : nullptr,
                      jointName);
    if (CSoundEngine* sound = Sound(); sound != nullptr && entity.GetSonicPart() != nullptr)
        sound->AddEntity(entity.GetSonicPart());
    if (CPhysicsEngine* physics = Physics(); physics != nullptr && entity.GetPhysicalPart() != nullptr)
        physics->AddEntity(entity.GetPhysicalPart());
    ExpandPhysicsToScene();
}

void RemoveFromEngines(Misc::World::IEntityInterface& entity)
{
    if (CPhysicsEngine* physics = Physics(); physics != nullptr && entity.GetPhysicalPart() != nullptr)
        physics->RemoveEntity(entity.GetPhysicalPart());
    if (CSoundEngine* sound = Sound(); sound != nullptr && entity.GetSonicPart() != nullptr)
        sound->RemoveEntity(entity.GetSonicPart());
    if (Graphics::CGraphicsEngine* graphics = FindScriptGraphicsEngine();
        graphics != nullptr && entity.GetGraphicalPart() != nullptr)
        graphics->Remove(entity.GetGraphicalPart());
}

void ExpandPhysicsToScene()
{
    Graphics::CGraphicsEngine* graphics = FindScriptGraphicsEngine();
    CPhysicsEngine* physics = Physics();
    if (graphics != nullptr && physics != nullptr)
        physics->ExpandBounds(graphics->GetWorldMin(), graphics->GetWorldMax());
}

void RefreshInEngines(Misc::World::IEntityInterface& entity)
{
    if (Graphics::Scene::CGraphicalEntity* part = entity.GetGraphicalPart())
    {
        if (part->GetSceneNode() != nullptr)
            part->Refresh();
        else if (Graphics::CGraphicsEngine* graphics = FindScriptGraphicsEngine())
            graphics->Add(part, nullptr, std::string());
    }
    if (CPhysicalEntity* part = entity.GetPhysicalPart())
    {
        if (part->GetEngine() != nullptr)
            part->Refresh();
        else if (CPhysicsEngine* physics = Physics())
            physics->AddEntity(part);
    }
    if (CSonicEntity* part = entity.GetSonicPart())
    {
        if (part->GetSoundEngine() != nullptr)
            entity.UpdateParts();
        else if (CSoundEngine* sound = Sound())
            sound->AddEntity(part);
    }
    ExpandPhysicsToScene();
}

void ForgetErased(bool waypointsErased)
{
    CWorld& world = GetScriptWorld();
    if (!world.GetActiveCameraId().empty() && !world.GetData().GetCameras().Exists(world.GetActiveCameraId()))
        world.ForgetActiveCamera();
    if (waypointsErased)
        world.GetData().RemoveInvalidWaypointConnections();
}

std::vector<std::string> IdsOf(const std::vector<Misc::World::IEntityInterface*>& entities)
{
    std::vector<std::string> ids;
    ids.reserve(entities.size());
    for (const Misc::World::IEntityInterface* entity : entities)
        ids.emplace_back(entity->GetId());
    return ids;
}

void WalkDataBag(const CDataBag* (*bag)(const std::string* id), const LuaPlus::LuaStackObject& callback,
                 const LuaPlus::LuaStackObject& userData, const std::string* id)
{
    const LuaPlus::LuaStackFunction<bool> function(callback);
    std::vector<std::wstring> keys;
    if (const CDataBag* start = bag(id))
    {
        keys.reserve(start->GetCount());
        for (const auto& entry : *start)
            keys.push_back(entry.first);
    }
    for (const std::wstring& key : keys)
    {
        const CDataBag* current = bag(id);
        if (current == nullptr)
            break;
        std::wstring value;
        if (!current->Get(key, value))
            continue;
        const bool stop =
            id != nullptr
                ? function(std::string_view(*id), std::wstring_view(key), std::wstring_view(value), userData)
                : function(std::wstring_view(key), std::wstring_view(value), userData);
        if (stop)
            break;
    }
}

} // namespace ScriptWorld
