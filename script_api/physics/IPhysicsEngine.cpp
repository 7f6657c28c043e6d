// IPhysics functions over the engine as a whole: starting and stopping it,
// stepping it, its world box, gravity, rates and mass limits; and the
// collision prediction and monitoring of single entities.

#include "core/foundation/CriticalSection.h"
#include "core/foundation/KVOError.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/ScriptResolved.h"
#include "graphics/engine/GraphicsPorts.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/VectorScript.h"
#include "script_api/physics/IPhysicsFunctions.h"

#include <cstdint>

using LuaPlus::LuaState;
using ScriptPhysics::Engine;
using ScriptWorld::PhysicalPart;
// The engine as the object of a method row.
using PhysicsEngine = LuaPlus::Resolved<LuaPlus::Current<CPhysicsEngine, &ScriptPhysics::Engine>>;

CPhysicsEngine& ScriptPhysics::Engine()
{
    CPhysicsEngine* physics = GetScriptEngine().GetPart<CPhysicsEngine>();
    if (physics == nullptr)
        throw Misc::Error::CKVOError(L"[CScriptManager::GetPhysicsEngine] There is no physics engine");
    return *physics;
}

namespace
{

// Two script states may not start and stop the engine at once.
CCriticalSection& StartUpLock()
{
    static CCriticalSection section;
    return section;
}

bool init(LuaState*, int32_t solverModel, int32_t frictionModel, float staticFriction, float dynamicFriction,
          float elasticity, float minMass, float maxMass, bool optimiseTreeCollisions, uint32_t frameRate,
          bool quiet)
{
    CScopedLock lock(StartUpLock());
    // The outlines go to the graphics engine of the same engine object.
    return Engine().Init(solverModel, frictionModel, staticFriction, dynamicFriction, elasticity, minMass,
                         maxMass, optimiseTreeCollisions, frameRate, !quiet,
                         Graphics::WorldGraphicsOf(GetScriptEngine()));
}

void destroy(LuaState*)
{
    CScopedLock lock(StartUpLock());
    Engine().Destroy();
}

// Answers nothing (the engine's setter gives the period back).
void setDesiredFrameRate(LuaState*, uint32_t rate)
{
    Engine().SetDesiredFrameRate(rate);
}

uint32_t getNumberOfSimulatingEntitites(LuaState*)
{
    return Engine().CountActiveEntities();
}

CVector getGravity(LuaState*)
{
    return CPhysicsEngine::GetGravity();
}

void setGravity(LuaState*, const CVector& gravity)
{
    CPhysicsEngine::SetGravity(gravity);
}

// The short form: one float fills all three components, and prediction is
// on exactly for a threshold above 0.
void enableCollisionPrediction(LuaState*, PhysicalPart part, float threshold, float skewFactor,
                               float skewDampening)
{
    part->EnableCollisionPrediction(threshold > 0.0f, CVector(threshold, threshold, threshold),
                                    CVector(skewFactor, skewFactor, skewFactor),
                                    CVector(skewDampening, skewDampening, skewDampening));
}

uint32_t getMonitorCollisionType(LuaState*, PhysicalPart part)
{
    return static_cast<uint32_t>(part->GetMonitorMode());
}

uint32_t getEntityCollisionCount(LuaState*, PhysicalPart part)
{
    return static_cast<uint32_t>(part->GetContacts().size());
}

bool addCollisionToList(LuaState*, PhysicalPart entity, PhysicalPart other)
{
    return Engine().AddCollisionToList(entity, other);
}

bool removeCollisionFromList(LuaState*, PhysicalPart entity, PhysicalPart other)
{
    return Engine().RemoveCollisionFromList(entity, other);
}

} // namespace

void RegisterIPhysicsEngineFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("init", &init);
    table.RegisterMethod<PhysicsEngine>("isInitialised", &CPhysicsEngine::IsRunning);
    table.RegisterHelper("destroy", &destroy);
    // Steps at once, whatever the period and the locked flag.
    table.RegisterMethod<PhysicsEngine>("update", &CPhysicsEngine::Step);
    table.RegisterMethod<PhysicsEngine>("lock", &CPhysicsEngine::SetLocked);
}

void RegisterIPhysicsWorldFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getNumberOfSimulatingEntitites", &getNumberOfSimulatingEntitites);
    table.RegisterMethod<PhysicsEngine>("setBounds", &CPhysicsEngine::SetBounds);
    table.RegisterMethod<PhysicsEngine>("expandBounds", &CPhysicsEngine::ExpandBounds);
    table.RegisterMethod<PhysicsEngine>("getWorldMin", &CPhysicsEngine::GetWorldMin);
    table.RegisterMethod<PhysicsEngine>("getWorldMax", &CPhysicsEngine::GetWorldMax);
    table.RegisterHelper("getGravity", &getGravity);
    table.RegisterHelper("setGravity", &setGravity);
    table.RegisterHelper("setDesiredFrameRate", &setDesiredFrameRate);
    table.RegisterMethod<PhysicsEngine>("getDesiredFrameRate", &CPhysicsEngine::GetDesiredFrameRate);
    table.RegisterMethod<PhysicsEngine>("getTotalFrames", &CPhysicsEngine::GetTotalFrames);
    table.RegisterMethod<PhysicsEngine>("getTotalProcessingTime", &CPhysicsEngine::GetTotalProcessingTime);
    table.RegisterMethod<PhysicsEngine>("getAveProcessingTime", &CPhysicsEngine::GetAveProcessingTime);
    table.RegisterMethod<PhysicsEngine>("enableFrameCounter", &CPhysicsEngine::EnableFrameCounter);
    table.RegisterMethod<PhysicsEngine>("isFrameCounterEnabled", &CPhysicsEngine::IsFrameCounterEnabled);
    table.RegisterMethod<PhysicsEngine>("getMinMass", &CPhysicsEngine::GetMinMass);
    table.RegisterMethod<PhysicsEngine>("getMaxMass", &CPhysicsEngine::GetMaxMass);
}

void RegisterIPhysicsMonitoringFunctions(CScriptMetaTable& table)
{
    table.RegisterMethod<PhysicalPart>("enableCollisionPredictionEx",
                                       &CPhysicalEntity::EnableCollisionPrediction);
    table.RegisterHelper("enableCollisionPrediction", &enableCollisionPrediction);
    table.RegisterMethod<PhysicalPart>("isCollisionPredictionEnabled",
                                       &CPhysicalEntity::IsCollisionPredictionEnabled);
    table.RegisterMethod<PhysicalPart>("monitorEntityCollisions", &CPhysicalEntity::MonitorCollisions);
    table.RegisterHelper("getMonitorCollisionType", &getMonitorCollisionType);
    table.RegisterHelper("getEntityCollisionCount", &getEntityCollisionCount);
}

void RegisterIPhysicsCollisionListFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("addCollisionToList", &addCollisionToList);
    table.RegisterHelper("removeCollisionFromList", &removeCollisionFromList);
}
