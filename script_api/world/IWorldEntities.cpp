// IWorld: the selection, entities of any kind by id, and their data bags.

#include "script_api/world/IWorldGroups.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/Math3D.h"
#include "core/foundation/StringConversion.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/DataBag.h"
#include "core/script/lua/LuaException.h"
#include "core/script/lua/LuaFunction.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptNumbers.h"
#include "graphics/scene/GraphicalCamera.h"
#include "graphics/scene/GraphicalEntity.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/world/WorldAccess.h"
#include "world/World.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using Misc::World::IEntityInterface;
using ScriptWorld::AnyUnit;
using ScriptWorld::GetScriptWorld;
using ScriptWorld::GetScriptWorldData;
namespace World = Misc::World;

CWorldMapGroup& Group()
{
    return GetScriptWorldData().GetGroup();
}

LuaObject IdOrNil(LuaState* state, const IEntityInterface* entity)
{
    LuaObject result;
    if (entity != nullptr)
        result.Assign(state, entity->GetId());
    return result;
}

// Selection.

void selectEntity(LuaState*, const std::string& id)
{
    Group().Select(id);
}

void deselectEntity(LuaState*, const std::string& id)
{
    Group().Deselect(id);
}

bool isEntitySelected(LuaState*, const std::string& id)
{
    return Group().IsSelected(id);
}

void deselectAll(LuaState*)
{
    Group().DeselectAll();
}

uint32_t getNumberOfSelectedEntities(LuaState*)
{
    return Group().GetSelectedCount();
}

LuaObject getSelectedEntity(LuaState* state, LuaPlus::Index index)
{
    if (index.value < 0)
        return LuaObject();
    return IdOrNil(state, Group().GetSelectedUnit(static_cast<uint32_t>(index.value)));
}

// Over a copy of the ids: a callback may delete, clear or unload, and an
// entity that has gone by its turn is skipped.
void WalkEntities(const LuaStackObject& callback, const LuaStackObject& userData, bool selectedOnly)
{
    const LuaPlus::LuaStackFunction<bool> function(callback);
    std::vector<IEntityInterface*> entities;
    Group().GetUnits(entities);
    for (const std::string& id : ScriptWorld::IdsOf(entities))
    {
        if (!Group().Exists(id) || (selectedOnly && !Group().IsSelected(id)))
            continue;
        if (function(std::string_view(id), userData))
            break;
    }
}

void forEachSelectedEntity(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    WalkEntities(callback, userData, true);
}

void forEachEntity(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    WalkEntities(callback, userData, false);
}

// A copy of the entity, under a new id, in the running world at the scene
// root; null when the collection made none.
IEntityInterface* CopyIntoWorld(const std::string& id)
{
    IEntityInterface* copy = nullptr;
    Group().CopyUnit(id, copy);
    if (copy != nullptr)
        ScriptWorld::AddToEngines(*copy, nullptr, std::string());
    return copy;
}

LuaObject copyEntity(LuaState* state, const std::string& id)
{
    return IdOrNil(state, CopyIntoWorld(id));
}

// The copies become the selection.
uint32_t copySelectedEntities(LuaState*)
{
    const uint32_t count = Group().GetSelectedCount();
    if (count == 0)
        return 0;
    std::vector<std::string> ids;
    Group().GetSelectedIds(ids);
    Group().DeselectAll();
    for (const std::string& id : ids)
    {
        if (IEntityInterface* copy = CopyIntoWorld(id))
            Group().Select(copy->GetId());
    }
    return count;
}

// Out of the engines, then out of its collection.
void Erase(IEntityInterface& entity)
{
    const std::string id = entity.GetId();
    Group().Deselect(id);
    ScriptWorld::RemoveFromEngines(entity);
    Group().RemoveUnit(id);
}

bool deleteEntity(LuaState*, AnyUnit<> entity)
{
    const bool waypoint = entity->GetTypeId() == World::kTypeIdWaypoint;
    Erase(*entity);
    ScriptWorld::ForgetErased(waypoint);
    return true;
}

uint32_t deleteSelectedEntities(LuaState*)
{
    std::vector<std::string> ids;
    Group().GetSelectedIds(ids);
    bool erased = false;
    for (const std::string& id : ids)
    {
        if (IEntityInterface* entity = Group().FindUnit(id))
        {
            Erase(*entity);
            erased = true;
        }
    }
    Group().DeselectAll();
    if (erased)
        ScriptWorld::ForgetErased(true);
    return static_cast<uint32_t>(ids.size());
}

// One step of a move, scale or rotation. Off the world axes, x runs along
// the active camera's facing snapped to the nearer horizontal world axis, z
// along its right-hand side and y up.
void Manipulate(IEntityInterface& entity, const std::string& operation, CVector delta, bool worldAxes)
{
    if (!worldAxes)
    {
        CWorld& world = GetScriptWorld();
        CCameraMap::ManagedEntity* camera = nullptr;
        world.GetData().GetCameras().GetUnit(world.GetActiveCameraId(), camera);
        // Only the signs and the ratio of the horizontal components count,
        // so the look direction need not be normalised.
        const float a = camera->GetLookAt().x - camera->GetPosition().x;
        const float b = camera->GetLookAt().z - camera->GetPosition().z;
        CVector relative(0.0f, delta.y, 0.0f);
        if (std::fabs(b) < std::fabs(a))
        {
            const float s = a > 0.0f ? 1.0f : -1.0f;
            relative.x = s * delta.x;
            relative.z = -s * delta.z;
        }
        else
        {
            const float s = b > 0.0f ? 1.0f : -1.0f;
            relative.z = s * delta.x;
            relative.x = s * delta.z;
        }
        delta = relative;
    }
    const auto plus = [&delta](const CVector& value)
    { return CVector(value.x + delta.x, value.y + delta.y, value.z + delta.z); };
    if (operation == "move")
        entity.SetPosition(plus(entity.GetPosition()));
    else if (operation == "scale")
        entity.SetScale(plus(entity.GetScale()));
    else if (operation == "rotate")
        entity.SetRotation(RotationAdd(entity.GetRotation(), delta));
}

bool manipulateEntity(LuaState*, AnyUnit<> entity, const std::string& operation, float x, float y, float z,
                      bool worldAxes)
{
    Manipulate(*entity, operation, CVector(x, y, z), worldAxes);
    return true;
}

uint32_t manipulateSelectedEntities(LuaState*, const std::string& operation, float x, float y, float z,
                                    bool worldAxes)
{
    for (uint32_t index = 0; index < Group().GetSelectedCount(); ++index)
    {
        if (IEntityInterface* entity = Group().GetSelectedUnit(index))
            Manipulate(*entity, operation, CVector(x, y, z), worldAxes);
    }
    return Group().GetSelectedCount();
}

// Entities by id.

bool entityExists(LuaState*, const std::string& id)
{
    return Group().Exists(id);
}

uint32_t getNumberOfEntities(LuaState*)
{
    return Group().GetCount();
}

uint32_t getEntityEditMode(LuaState*, AnyUnit<> entity, uint32_t mask)
{
    const uint32_t flags = entity->GetFlags();
    return mask == 0 ? flags : flags & mask;
}

void setEntityEditMode(LuaState*, AnyUnit<> entity, bool on, uint32_t mask)
{
    uint32_t flags = entity->GetFlags();
    if (mask == 0)
        flags = on ? 0xFFFFFFFFu : 0u;
    else
        flags = on ? flags | mask : flags & ~mask;
    entity->SetFlags(flags);
}

void refreshEntity(LuaState*, AnyUnit<> entity)
{
    ScriptWorld::RefreshInEngines(*entity);
}

// The global function "<script>_<name>" with the id and six further
// arguments; nothing when there is no such function.
template <typename... Extra>
bool CallEntityScript(LuaState* state, IEntityInterface& entity, const std::string& name,
                      const Extra&... extra)
{
    using Misc::Text::Utf8ToWide;
    using Misc::Text::WideToUtf8;
    const std::string global = WideToUtf8(entity.GetScript() + L"_" + Utf8ToWide(name));
    const LuaObject target = state->GetGlobals().Get(global.c_str());
    if (target.IsFunction())
    {
        const std::string id = entity.GetId();
        const LuaPlus::LuaFunction<void> call(target);
        call(std::string_view(id), extra...);
    }
    return true;
}

bool callEntityScript(LuaState* state, AnyUnit<> entity, const std::string& name)
{
    return CallEntityScript(state, *entity, name, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

bool callEntityScript1(LuaState* state, AnyUnit<> entity, const std::string& name,
                       const LuaStackObject& argument)
{
    return CallEntityScript(state, *entity, name, argument, nullptr, nullptr, nullptr, nullptr, nullptr);
}

// Every failure, an unknown id included, answers false.
bool saveEntity(LuaState*, const std::string& id, const std::wstring& file, const std::string& mode)
{
    try
    {
        IEntityInterface* entity = Group().FindUnit(id);
        return entity != nullptr && Misc::Serialization::SaveSerializable(*entity, file, mode.c_str());
    }
    catch (const std::exception&)
    {
        return false;
    }
}

// Entity data: text stored by the entity's own rules, "%i" and "%f", read
// back as decimal text.

CDataBag& Data(IEntityInterface& entity)
{
    return entity.GetData();
}

bool dataExistsEntity(LuaState*, AnyUnit<> entity, const std::wstring& key)
{
    return Data(*entity).Exists(key);
}

std::wstring getEntityData(LuaState*, AnyUnit<> entity, const std::wstring& key)
{
    std::wstring value;
    Data(*entity).Get(key, value);
    return value;
}

int32_t getEntityDataInt(LuaState* state, AnyUnit<> entity, const std::wstring& key)
{
    return static_cast<int32_t>(std::wcstol(getEntityData(state, entity, key).c_str(), nullptr, 10));
}

float getEntityDataFloat(LuaState* state, AnyUnit<> entity, const std::wstring& key)
{
    float value = 0.0f;
    if (std::swscanf(getEntityData(state, entity, key).c_str(), L"%f", &value) != 1)
        return 0.0f;
    return value;
}

bool getEntityDataBool(LuaState* state, AnyUnit<> entity, const std::wstring& key)
{
    return getEntityDataInt(state, entity, key) != 0;
}

void setEntityData(LuaState*, AnyUnit<> entity, const std::wstring& key, const std::wstring& value)
{
    Data(*entity).Set(key, value);
}

void setEntityDataInt(LuaState*, AnyUnit<> entity, const std::wstring& key, int32_t value)
{
    Data(*entity).Set(key, std::to_wstring(value));
}

void setEntityDataFloat(LuaState*, AnyUnit<> entity, const std::wstring& key, float value)
{
    wchar_t text[512];
    std::swprintf(text, sizeof text / sizeof text[0], L"%f", static_cast<double>(value));
    Data(*entity).Set(key, text);
}

void setEntityDataBool(LuaState*, AnyUnit<> entity, const std::wstring& key, bool value)
{
    Data(*entity).Set(key, value ? L"1" : L"0");
}

void deleteEntityData(LuaState*, AnyUnit<> entity, const std::wstring& key)
{
    Data(*entity).Delete(key);
}

void clearEntityData(LuaState*, AnyUnit<> entity)
{
    Data(*entity).Clear();
}

uint32_t getEntityDataCount(LuaState*, AnyUnit<> entity)
{
    return static_cast<uint32_t>(Data(*entity).GetCount());
}

// The entity's bag found again by its id: a callback may delete the entity.
const CDataBag* EntityBag(const std::string* id)
{
    IEntityInterface* entity = Group().FindUnit(*id);
    return entity != nullptr ? &Data(*entity) : nullptr;
}

void forEachEntityData(LuaState*, AnyUnit<> entity, const LuaStackObject& callback,
                       const LuaStackObject& userData)
{
    const std::string id = entity->GetId();
    ScriptWorld::WalkDataBag(&EntityBag, callback, userData, &id);
}

std::wstring getEntityModelName(LuaState*, ScriptWorld::GraphicalPart part)
{
    return part->GetModelName();
}

void setEntityModelName(LuaState*, ScriptWorld::GraphicalPart part, const std::wstring& name)
{
    part->SetModelName(name);
}

} // namespace

void RegisterIWorldEntityFunctions(CScriptMetaTable& table)
{
    using Any = AnyUnit<>;
    table.RegisterHelper("selectEntity", &selectEntity);
    table.RegisterHelper("deselectEntity", &deselectEntity);
    table.RegisterHelper("isEntitySelected", &isEntitySelected);
    table.RegisterHelper("deselectAll", &deselectAll);
    table.RegisterHelper("getNumberOfSelectedEntities", &getNumberOfSelectedEntities);
    table.RegisterHelper("getSelectedEntity", &getSelectedEntity);
    table.RegisterHelper("forEachSelectedEntity", &forEachSelectedEntity);
    table.RegisterHelper("copySelectedEntities", &copySelectedEntities);
    table.RegisterHelper("deleteSelectedEntities", &deleteSelectedEntities);
    table.RegisterHelper("manipulateSelectedEntities", &manipulateSelectedEntities);

    table.RegisterHelper("entityExists", &entityExists);
    table.RegisterHelper("getNumberOfEntities", &getNumberOfEntities);
    table.RegisterMethod<Any>("getEntityTypeId", &IEntityInterface::GetTypeId);
    table.RegisterMethod<Any>("getEntityName", &IEntityInterface::GetName);
    table.RegisterMethod<Any>("setEntityName", &IEntityInterface::SetName);
    table.RegisterHelper("getEntityModelName", &getEntityModelName);
    table.RegisterHelper("setEntityModelName", &setEntityModelName);
    table.RegisterMethod<Any>("getEntityPosition", &IEntityInterface::GetPosition);
    table.RegisterMethod<Any>("setEntityPosition", &IEntityInterface::SetPosition);
    table.RegisterMethod<Any>("getEntityScale", &IEntityInterface::GetScale);
    table.RegisterMethod<Any>("setEntityScale", &IEntityInterface::SetScale);
    table.RegisterMethod<Any>("getEntityRotation", &IEntityInterface::GetRotation);
    table.RegisterMethod<Any>("setEntityRotation", &IEntityInterface::SetRotation);
    table.RegisterMethod<Any>("getEntityFrontVector", &IEntityInterface::GetFrontVector);
    table.RegisterMethod<Any>("getEntityUpVector", &IEntityInterface::GetUpVector);
    table.RegisterHelper("getEntityEditMode", &getEntityEditMode);
    table.RegisterHelper("setEntityEditMode", &setEntityEditMode);
    table.RegisterHelper("refreshEntity", &refreshEntity);
    table.RegisterMethod<Any>("getEntityScript", &IEntityInterface::GetScript);
    table.RegisterMethod<Any>("setEntityScript", &IEntityInterface::SetScript);
    table.RegisterHelper("callEntityScript", &callEntityScript);
    table.RegisterHelper("callEntityScript1", &callEntityScript1);
    table.RegisterHelper("copyEntity", &copyEntity);
    table.RegisterHelper("saveEntity", &saveEntity);
    table.RegisterHelper("deleteEntity", &deleteEntity);
    table.RegisterHelper("forEachEntity", &forEachEntity);
    table.RegisterHelper("manipulateEntity", &manipulateEntity);

    table.RegisterHelper("dataExistsEntity", &dataExistsEntity);
    table.RegisterHelper("getEntityData", &getEntityData);
    table.RegisterHelper("getEntityDataInt", &getEntityDataInt);
    table.RegisterHelper("getEntityDataFloat", &getEntityDataFloat);
    table.RegisterHelper("getEntityDataBool", &getEntityDataBool);
    table.RegisterHelper("setEntityData", &setEntityData);
    table.RegisterHelper("setEntityDataInt", &setEntityDataInt);
    table.RegisterHelper("setEntityDataFloat", &setEntityDataFloat);
    table.RegisterHelper("setEntityDataBool", &setEntityDataBool);
    table.RegisterHelper("deleteEntityData", &deleteEntityData);
    table.RegisterHelper("clearEntityData", &clearEntityData);
    table.RegisterHelper("getEntityDataCount", &getEntityDataCount);
    table.RegisterHelper("forEachEntityData", &forEachEntityData);
}
