// IPhysics functions over joints: creating the kinds between two entities
// (or one entity and the world), and reading and changing a joint named by
// its id.

#include "core/script/lua/LuaStackFunction.h"
#include "physics/Joint.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/VectorScript.h"
#include "script_api/physics/IPhysicsFunctions.h"

#include <cstdint>
#include <string>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using ScriptPhysics::Engine;
using ScriptPhysics::Joint;
using ScriptWorld::UnitOrNull;

CJoint* ScriptPhysics::Joints::Find(std::string_view id)
{
    const CPhysicsEngine::JointMap& joints = Engine().GetJoints();
    const auto found = joints.find(std::string(id));
    return found != joints.end() ? found->second.get() : nullptr;
}

namespace
{

// The physical part of an entity the script named, or null for none (a
// missing child makes no joint, a missing parent means the world).
CPhysicalEntity* PartOf(const UnitOrNull& unit)
{
    return unit ? unit->GetPhysicalPart() : nullptr;
}

bool createJointHinge(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                      const CVector& pivot, const CVector& pin)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointHinge(id, pivot, pin, childPart, PartOf(parent)) != nullptr;
}

bool createJointHingeLimited(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                             const CVector& pivot, const CVector& pin, float minimum, float maximum)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr && Engine().CreateJointHingeLimited(id, pivot, pin, childPart, PartOf(parent),
                                                                    minimum, maximum) != nullptr;
}

bool createJointCorkscrew(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                          const CVector& pivot, const CVector& pin)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointCorkscrew(id, pivot, pin, childPart, PartOf(parent)) != nullptr;
}

bool createJointCorkscrewLimited(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                                 const CVector& pivot, const CVector& pin, float minimum, float maximum)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointCorkscrewLimited(id, pivot, pin, childPart, PartOf(parent), minimum,
                                                maximum) != nullptr;
}

bool createJointSlider(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                       const CVector& pivot, const CVector& pin)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointSlider(id, pivot, pin, childPart, PartOf(parent)) != nullptr;
}

bool createJointSliderLimited(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                              const CVector& pivot, const CVector& pin, float minimum, float maximum)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointSliderLimited(id, pivot, pin, childPart, PartOf(parent), minimum, maximum) !=
               nullptr;
}

bool createJointSpring(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                       const CVector& pivot, const CVector& pin, float minimum, float maximum,
                       float stiffness, float springFactor, float springDamping)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointSpring(id, pivot, pin, childPart, PartOf(parent), minimum, maximum, stiffness,
                                      springFactor, springDamping) != nullptr;
}

bool createJointBallAndSocket(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                              const CVector& pivot)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointBallAndSocket(id, pivot, childPart, PartOf(parent)) != nullptr;
}

bool createJointBallAndSocketLimited(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                                     const CVector& pivot, float coneAngle, const CVector& limitDirection)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointBallAndSocketLimited(id, pivot, childPart, PartOf(parent), coneAngle,
                                                    limitDirection) != nullptr;
}

bool createJointUpVector(LuaState*, const std::string& id, UnitOrNull child, const CVector& pin)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr && Engine().CreateJointUpVector(id, pin, childPart) != nullptr;
}

// The engine takes the child's pin first, the script gives the parent's
// first: the two change places on the way.
bool createJointPulley(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                       const CVector& parentPin, const CVector& childPin, float ratio)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointPulley(id, childPin, parentPin, childPart, PartOf(parent), ratio) != nullptr;
}

bool createJointGear(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child,
                     const CVector& parentPin, const CVector& childPin, float gearRatio)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr &&
           Engine().CreateJointGear(id, childPin, parentPin, childPart, PartOf(parent), gearRatio) != nullptr;
}

bool createJointFixed(LuaState*, const std::string& id, UnitOrNull parent, UnitOrNull child)
{
    CPhysicalEntity* childPart = PartOf(child);
    return childPart != nullptr && Engine().CreateJointFixed(id, childPart, PartOf(parent)) != nullptr;
}

bool destroyJoint(LuaState*, const std::string& id)
{
    return Engine().DestroyJoint(id);
}

bool jointExists(LuaState*, const std::string& id)
{
    return Engine().JointExists(id);
}

uint32_t getJointMaxDof(LuaState*, Joint joint)
{
    return joint->GetMaxRows();
}

LuaObject IdOrNil(LuaState* state, const std::string& id)
{
    LuaObject value;
    if (!id.empty())
        value.Assign(state, std::string_view(id));
    return value;
}

LuaObject getJointChildId(LuaState* state, Joint joint)
{
    return IdOrNil(state, joint->GetChildId());
}

LuaObject getJointParentId(LuaState* state, Joint joint)
{
    return IdOrNil(state, joint->GetParentId());
}

uint32_t getJointType(LuaState*, Joint joint)
{
    return static_cast<uint32_t>(joint->GetType());
}

bool setJointMotor(LuaState*, Joint joint, float acceleration, float damping)
{
    joint->SetJointMotor(acceleration, damping);
    return true;
}

uint32_t getNumberOfJoints(LuaState*)
{
    return static_cast<uint32_t>(Engine().GetJoints().size());
}

// Over a copy of the ids, skipping those gone meanwhile: the callback may
// destroy any joint.
void forEachJoint(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    const LuaPlus::LuaStackFunction<bool> function(callback);
    std::vector<std::string> ids;
    for (const auto& entry : Engine().GetJoints())
        ids.push_back(entry.first);
    for (const std::string& id : ids)
    {
        if (!Engine().JointExists(id))
            continue;
        if (function(id, userData))
            break;
    }
}

} // namespace

void RegisterIPhysicsJointFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("destroyJoint", &destroyJoint);
    table.RegisterMethod<Joint>("enableJoint", &CJoint::SetEnabled);
    table.RegisterMethod<Joint>("isJointEnabled", &CJoint::GetEnabled);
    table.RegisterMethod<Joint>("setJointCollidable", &CJoint::SetCollidable);
    table.RegisterMethod<Joint>("isJointCollidable", &CJoint::IsCollidable);
    table.RegisterMethod<Joint>("recreateJoint", &CJoint::Recreate);
    table.RegisterHelper("getJointMaxDof", &getJointMaxDof);
    table.RegisterMethod<Joint>("getJointForce", &CJoint::GetForce);
    table.RegisterHelper("createJointHinge", &createJointHinge);
    table.RegisterHelper("createJointHingeLimited", &createJointHingeLimited);
    table.RegisterHelper("createJointCorkscrew", &createJointCorkscrew);
    table.RegisterHelper("createJointCorkscrewLimited", &createJointCorkscrewLimited);
    table.RegisterHelper("setJointMotor", &setJointMotor);
    table.RegisterHelper("createJointSlider", &createJointSlider);
    table.RegisterHelper("createJointSliderLimited", &createJointSliderLimited);
    table.RegisterHelper("createJointSpring", &createJointSpring);
    table.RegisterHelper("createJointBallAndSocket", &createJointBallAndSocket);
    table.RegisterHelper("createJointBallAndSocketLimited", &createJointBallAndSocketLimited);
    table.RegisterHelper("createJointUpVector", &createJointUpVector);
    table.RegisterHelper("createJointPulley", &createJointPulley);
    table.RegisterHelper("createJointGear", &createJointGear);
    table.RegisterHelper("createJointFixed", &createJointFixed);
    table.RegisterHelper("jointExists", &jointExists);
    table.RegisterHelper("getJointChildId", &getJointChildId);
    table.RegisterHelper("getJointParentId", &getJointParentId);
    table.RegisterHelper("getJointType", &getJointType);
    table.RegisterMethod<Joint>("isJointLimited", &CJoint::GetLimitsEnabled);
    table.RegisterMethod<Joint>("getJointPivotPosition", &CJoint::GetPivot);
    table.RegisterMethod<Joint>("setJointPivotPosition", &CJoint::SetPivot);
    table.RegisterMethod<Joint>("getJointChildPinDirection", &CJoint::GetChildPin);
    table.RegisterMethod<Joint>("setJointChildPinDirection", &CJoint::SetChildPin);
    table.RegisterMethod<Joint>("getJointParentPinDirection", &CJoint::GetParentPin);
    table.RegisterMethod<Joint>("setJointParentPinDirection", &CJoint::SetParentPin);
    table.RegisterMethod<Joint>("getJointLimitMin", &CJoint::GetMinLimit);
    table.RegisterMethod<Joint>("setJointLimitMin", &CJoint::SetMinLimit);
    table.RegisterMethod<Joint>("getJointLimitMax", &CJoint::GetMaxLimit);
    table.RegisterMethod<Joint>("setJointLimitMax", &CJoint::SetMaxLimit);
    table.RegisterMethod<Joint>("getJointLimitDirection", &CJoint::GetDirLimit);
    table.RegisterMethod<Joint>("setJointLimitDirection", &CJoint::SetDirLimit);
    table.RegisterMethod<Joint>("getJointGearRatio", &CJoint::GetGearRatio);
    table.RegisterMethod<Joint>("setJointGearRatio", &CJoint::SetGearRatio);
    table.RegisterMethod<Joint>("getJointStiffness", &CJoint::GetSpringStiffness);
    table.RegisterMethod<Joint>("setJointStiffness", &CJoint::SetSpringStiffness);
    table.RegisterMethod<Joint>("getJointSpringFactor", &CJoint::GetSpringFactor);
    table.RegisterMethod<Joint>("setJointSpringFactor", &CJoint::SetSpringFactor);
    table.RegisterMethod<Joint>("getJointSpringDamping", &CJoint::GetSpringDamping);
    table.RegisterMethod<Joint>("setJointSpringDamping", &CJoint::SetSpringDamping);
    table.RegisterMethod<Joint>("isJointMotorised", &CJoint::GetMotorEnabled);
    table.RegisterMethod<Joint>("getJointMotorisedAcceleration", &CJoint::GetAngularAcceleration);
    table.RegisterMethod<Joint>("getJointMotorisedDamping", &CJoint::GetAngularDamping);
    table.RegisterHelper("getNumberOfJoints", &getNumberOfJoints);
    table.RegisterHelper("forEachJoint", &forEachJoint);
}
