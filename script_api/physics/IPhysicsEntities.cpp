// IPhysics functions over the physical part of one entity: its body, mass,
// shape and type, its motion, and the values the engine applies to it each
// step.

#include "core/script/lua/LuaObject.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/VectorScript.h"
#include "script_api/physics/IPhysicsFunctions.h"

#include <cstdint>
#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using ScriptPhysics::Engine;
using ScriptWorld::PhysicalPart;

namespace
{

bool isEntityInitialised(LuaState*, PhysicalPart part)
{
    return part->GetEngine() != nullptr;
}

// Builds the body of a part that has none, or builds it again where the
// entity stands.
void refreshEntity(LuaState*, PhysicalPart part)
{
    if (part->GetEngine() == nullptr)
        Engine().AddEntity(part);
    else
        part->Refresh();
}

LuaObject geometryCacheExists(LuaState* state, PhysicalPart part)
{
    LuaObject path;
    const std::wstring file = part->GetCacheFilename();
    if (!file.empty())
        path.Assign(state, file);
    return path;
}

LuaObject getEntityThresholds(LuaState* state, PhysicalPart part)
{
    float linearSpeed = 0.0f;
    float angularSpeed = 0.0f;
    uint32_t minTicks = 0;
    part->GetThresholds(linearSpeed, angularSpeed, minTicks);
    LuaObject table;
    table.AssignNewTable(state, 0, 3);
    table.Set("linearSpeed", static_cast<lua_Number>(linearSpeed));
    table.Set("angularSpeed", static_cast<lua_Number>(angularSpeed));
    table.Set("minTicks", static_cast<lua_Number>(minTicks));
    return table;
}

uint32_t getEntityMassType(LuaState*, PhysicalPart part)
{
    return static_cast<uint32_t>(Engine().GetMassType(part->GetMass()));
}

CVector getEntityVelocity(LuaState*, PhysicalPart part)
{
    CVector velocity;
    part->GetVelocity(velocity);
    return velocity;
}

CVector getEntityForce(LuaState*, PhysicalPart part)
{
    CVector force;
    part->GetForce(force);
    return force;
}

CVector getEntityTorque(LuaState*, PhysicalPart part)
{
    CVector torque;
    part->GetTorque(torque);
    return torque;
}

} // namespace

void RegisterIPhysicsBodyFunctions(CScriptMetaTable& table)
{
    using P = CPhysicalEntity;
    table.RegisterHelper("isEntityInitialised", &isEntityInitialised);
    table.RegisterMethod<PhysicalPart>("saveGeometryCache", &P::SaveToCache);
    table.RegisterHelper("geometryCacheExists", &geometryCacheExists);
    table.RegisterHelper("refreshEntity", &refreshEntity);
    table.RegisterMethod<PhysicalPart>("activateEntity", &P::Activate);
    table.RegisterMethod<PhysicalPart>("deactivateEntity", &P::Deactivate);
    table.RegisterMethod<PhysicalPart>("isEntityActive", &P::IsActive);
    table.RegisterMethod<PhysicalPart>("setEntityAutoDeactivationMode", &P::SetAutoDeactivation);
    table.RegisterMethod<PhysicalPart>("getEntityAutoDeactivationMode", &P::GetAutoDeactivation);
    table.RegisterMethod<PhysicalPart>("isEntityCollidable", &P::IsCollidable);
    table.RegisterMethod<PhysicalPart>("setEntityCollidable", &P::SetCollidable);
    table.RegisterMethod<PhysicalPart>("setEntityThresholds", &P::SetThresholds);
    table.RegisterHelper("getEntityThresholds", &getEntityThresholds);
}

void RegisterIPhysicsDynamicsFunctions(CScriptMetaTable& table)
{
    using P = CPhysicalEntity;
    table.RegisterMethod<PhysicalPart>("getEntityMass", &P::GetMass);
    table.RegisterMethod<PhysicalPart>("setEntityMass", &P::SetMass);
    table.RegisterHelper("getEntityMassType", &getEntityMassType);
    table.RegisterMethod<PhysicalPart>("getEntityCollisionType", &P::GetCollisionType);
    table.RegisterMethod<PhysicalPart>("setEntityCollisionType", &P::SetCollisionType);
    table.RegisterMethod<PhysicalPart>("getEntityType", &P::GetPhysicsTypeName);
    table.RegisterMethod<PhysicalPart>("setEntityType", &P::SetType);
    table.RegisterMethod<PhysicalPart>("getEntityCentreOfMass", &P::GetCentreOfMass);
    table.RegisterMethod<PhysicalPart>("setEntityCentreOfMass", &P::SetCentreOfMass);
    table.RegisterMethod<PhysicalPart>("getEntityMomentOfInertia", &P::GetMomentOfInertia);
    table.RegisterMethod<PhysicalPart>("setEntityMomentOfInertia", &P::SetMomentOfInertia);
    table.RegisterMethod<PhysicalPart>("getEntityConstantVelocity", &P::GetConstantVelocity);
    table.RegisterMethod<PhysicalPart>("getEntityConstantOmega", &P::GetConstantOmega);
    table.RegisterMethod<PhysicalPart>("getEntityBuoyancyParams", &P::GetBuoyancyParams);
    table.RegisterMethod<PhysicalPart>("getEntityConstantForce", &P::GetConstantForce);
    table.RegisterMethod<PhysicalPart>("getEntityConstantTorque", &P::GetConstantTorque);
    table.RegisterMethod<PhysicalPart>("getEntityImpulseForce", &P::GetImpulseForce);
    table.RegisterMethod<PhysicalPart>("getEntityImpulseTorque", &P::GetImpulseTorque);
    table.RegisterMethod<PhysicalPart>("setEntityImpulseDamping", &P::SetImpulseDamping);
    table.RegisterMethod<PhysicalPart>("getEntityImpulseDamping", &P::GetImpulseDamping);
    table.RegisterMethod<PhysicalPart>("setEntityConstantVelocity", &P::SetConstantVelocity);
    table.RegisterMethod<PhysicalPart>("setEntityConstantOmega", &P::SetConstantOmega);
    table.RegisterMethod<PhysicalPart>("setEntityBuoyancyParams", &P::SetBuoyancyParams);
    table.RegisterMethod<PhysicalPart>("setEntityConstantForce", &P::SetConstantForce);
    table.RegisterMethod<PhysicalPart>("setEntityConstantTorque", &P::SetConstantTorque);
    table.RegisterMethod<PhysicalPart>("setEntityImpulseForce", &P::SetImpulseForce);
    table.RegisterMethod<PhysicalPart>("setEntityImpulseTorque", &P::SetImpulseTorque);
    table.RegisterMethod<PhysicalPart>("addEntityConstantVelocity", &P::AddConstantVelocity);
    table.RegisterMethod<PhysicalPart>("addEntityConstantOmega", &P::AddConstantOmega);
    table.RegisterMethod<PhysicalPart>("addEntityConstantForce", &P::AddConstantForce);
    table.RegisterMethod<PhysicalPart>("addEntityConstantTorque", &P::AddConstantTorque);
    table.RegisterMethod<PhysicalPart>("addEntityImpulseForce", &P::AddImpulseForce);
    table.RegisterMethod<PhysicalPart>("addEntityImpulseForceOffset", &P::AddImpulseForceOffset);
    table.RegisterMethod<PhysicalPart>("addEntityImpulseTorque", &P::AddImpulseTorque);
    table.RegisterHelper("getEntityVelocity", &getEntityVelocity);
    table.RegisterMethod<PhysicalPart>("setEntityVelocity", &P::SetVelocity);
    table.RegisterMethod<PhysicalPart>("getEntitySpeed", &P::GetSpeed);
    table.RegisterMethod<PhysicalPart>("getEntitySpeedInDirection", &P::GetSpeedInDirection);
    table.RegisterMethod<PhysicalPart>("getEntityOmega", &P::GetOmega);
    table.RegisterMethod<PhysicalPart>("setEntityOmega", &P::SetOmega);
    table.RegisterHelper("getEntityForce", &getEntityForce);
    table.RegisterHelper("getEntityTorque", &getEntityTorque);
    table.RegisterMethod<PhysicalPart>("stopEntityMotion", &P::StopMotion);
    table.RegisterMethod<PhysicalPart>("setEntityLinearDamping", &P::SetLinearDamping);
    table.RegisterMethod<PhysicalPart>("getEntityLinearDamping", &P::GetLinearDamping);
    table.RegisterMethod<PhysicalPart>("setEntityAngularDamping", &P::SetAngularDamping);
    table.RegisterMethod<PhysicalPart>("getEntityAngularDamping", &P::GetAngularDamping);
}
