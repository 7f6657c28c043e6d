#pragma once

// The groups of IPhysics functions, registered by RegisterIPhysics in the
// order of its list, and what they share. Each group lives in a file beside
// this one (IPhysics<Group>.cpp).

#include "core/script/lua/ScriptMetaTable.h"
#include "physics/Joint.h"
#include "script_api/world/EntityArguments.h"

#include <string_view>

class CPhysicsEngine;

namespace ScriptPhysics
{

// The engine object's physics engine; an error when it has none.
CPhysicsEngine& Engine();

// Joints named by their ids in the engine's registry.
struct Joints
{
    using Object = CJoint;
    static CJoint* Find(std::string_view id);
    [[noreturn]] static void NotFound(std::string_view id) { ScriptWorld::ThrowJointNotFound(id); }
};
using Joint = ScriptWorld::JointArgument<Joints>;

} // namespace ScriptPhysics

// init ... lock: starting, stepping and stopping the engine.
void RegisterIPhysicsEngineFunctions(CScriptMetaTable& table);
// createType ... getElasticity: physics types.
void RegisterIPhysicsTypeFunctions(CScriptMetaTable& table);
// isEntityInitialised ... getEntityThresholds: an entity's body.
void RegisterIPhysicsBodyFunctions(CScriptMetaTable& table);
// getNumberOfSimulatingEntitites ... getMaxMass: the world box, gravity,
// rates and mass limits.
void RegisterIPhysicsWorldFunctions(CScriptMetaTable& table);
// getCollisionData.
void RegisterIPhysicsCollisionDataFunctions(CScriptMetaTable& table);
// enableCollisionPredictionEx ... getEntityCollisionCount: prediction and
// monitoring of an entity's collisions.
void RegisterIPhysicsMonitoringFunctions(CScriptMetaTable& table);
// forEachCollision, isColliding.
void RegisterIPhysicsCollisionWalkFunctions(CScriptMetaTable& table);
// addCollisionToList, removeCollisionFromList.
void RegisterIPhysicsCollisionListFunctions(CScriptMetaTable& table);
// rayCast ... boundingBoxCollisionTest.
void RegisterIPhysicsRayCastFunctions(CScriptMetaTable& table);
// getEntityMass ... getEntityAngularDamping: mass, shape, type and motion.
void RegisterIPhysicsDynamicsFunctions(CScriptMetaTable& table);
// destroyJoint ... forEachJoint.
void RegisterIPhysicsJointFunctions(CScriptMetaTable& table);
