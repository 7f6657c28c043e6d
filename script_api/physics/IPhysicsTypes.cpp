// IPhysics functions over the physics types: named materials with their
// frictions and elasticity, ordered by name.

#include "core/script/lua/LuaStackFunction.h"
#include "physics/PhysicsEngine.h"
#include "script_api/physics/IPhysicsFunctions.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using ScriptPhysics::Engine;

namespace
{

void createType(LuaState*, const std::wstring& name, float staticFriction, float dynamicFriction,
                float elasticity)
{
    Engine().CreateType(name, staticFriction, dynamicFriction, elasticity);
}

bool typeExists(LuaState*, const std::wstring& name)
{
    return Engine().TypeExists(name);
}

void deleteType(LuaState*, const std::wstring& name)
{
    Engine().DeleteType(name);
}

void deleteAllTypes(LuaState*)
{
    Engine().DeleteAllTypes(true);
}

uint32_t getNumberOfTypes(LuaState*)
{
    return static_cast<uint32_t>(CPhysicsEngine::GetTypes().size());
}

// A position as the script gave it: a negative, fractional-beyond-range,
// huge or NaN number names no type rather than wrapping onto one.
LuaObject getTypeName(LuaState* state, double index)
{
    LuaObject name;
    double position = 0;
    for (const auto& entry : CPhysicsEngine::GetTypes())
    {
        if (position++ == std::trunc(index))
        {
            name.Assign(state, entry.first);
            break;
        }
    }
    return name;
}

// Over a copy of the names: the callback may delete any type.
void forEachPhysicsType(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    const LuaPlus::LuaStackFunction<bool> function(callback);
    std::vector<std::wstring> names;
    for (const auto& entry : CPhysicsEngine::GetTypes())
        names.push_back(entry.first);
    for (const std::wstring& name : names)
        if (function(name, userData))
            break;
}

float getStaticFriction(LuaState*, const std::wstring& name)
{
    return Engine().GetType(name).GetStaticFriction();
}

float getDynamicFriction(LuaState*, const std::wstring& name)
{
    return Engine().GetType(name).GetDynamicFriction();
}

float getElasticity(LuaState*, const std::wstring& name)
{
    return Engine().GetType(name).GetElasticity();
}

} // namespace

void RegisterIPhysicsTypeFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("createType", &createType);
    table.RegisterHelper("typeExists", &typeExists);
    table.RegisterHelper("deleteType", &deleteType);
    table.RegisterHelper("deleteAllTypes", &deleteAllTypes);
    table.RegisterHelper("getNumberOfTypes", &getNumberOfTypes);
    table.RegisterHelper("getTypeName", &getTypeName);
    table.RegisterHelper("forEachPhysicsType", &forEachPhysicsType);
    table.RegisterHelper("getStaticFriction", &getStaticFriction);
    table.RegisterHelper("getDynamicFriction", &getDynamicFriction);
    table.RegisterHelper("getElasticity", &getElasticity);
}
