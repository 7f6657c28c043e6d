// IPhysics functions over the engine as a whole: starting and stopping it,
// stepping it, its world box, gravity, rates and mass limits; and the
// collision prediction and monitoring of single entities.

#include "core/foundation/CriticalSection.h"
#include "core/foundation/KVOError.h"
#include "core/script/ScriptManager.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/IPhysicsFunctions.h"

#include <cstdint>

using LuaPlus::LuaState;
using ScriptPhysics::Engine;
using ScriptWorld::PhysicalPart;

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
    return Engine().Init(solverModel, frictionModel, staticFriction, dynamicFriction, elasticity, minMass,
                         maxMass, optimiseTreeCollisions, frameRate, !quiet);
}

bool isInitialised(LuaState*)
{
    return Engine().IsRunning();
}

void destroy(LuaState*)
{
    CScopedLock lock(StartUpLock());
    Engine().Destroy();
}

bool update(LuaState*)
{
    return Engine().Step();
}

void lock(LuaState*, bool locked)
{
    Engine().SetLocked(locked);
}

uint32_t getNumberOfSimulatingEntitites(LuaState*)
{
    return Engine().CountActiveEntities();
}

void setBounds(LuaState*, const CVector& minimum, const CVector& maximum)
{
    Engine().SetBounds(minimum, maximum);
}

void expandBounds(LuaState*, const CVector& minimum, const CVector& maximum)
{
    Engine().ExpandBounds(minimum, maximum);
}

CVector getWorldMin(LuaState*)
{
    return Engine().GetWorldMin();
}

CVector getWorldMax(LuaState*)
{
    return Engine().GetWorldMax();
}

CVector getGravity(LuaState*)
{
    return CPhysicsEngine::GetGravity();
}

void setGravity(LuaState*, const CVector& gravity)
{
    CPhysicsEngine::SetGravity(gravity);
}

void setDesiredFrameRate(LuaState*, uint32_t rate)
{
    Engine().SetDesiredFrameRate(rate);
}

uint32_t getDesiredFrameRate(LuaState*)
{
    return Engine().GetDesiredFrameRate();
}

uint32_t getTotalFrames(LuaState*)
{
    return Engine().GetTotalFrames();
}

uint32_t getTotalProcessingTime(LuaState*)
{
    return Engine().GetTotalProcessingTime();
}

float getAveProcessingTime(LuaState*)
{
    return Engine().GetAveProcessingTime();
}

void enableFrameCounter(LuaState*, bool enable, bool reset)
{
    Engine().EnableFrameCounter(enable, reset);
}

bool isFrameCounterEnabled(LuaState*)
{
    return Engine().IsFrameCounterEnabled();
}

float getMinMass(LuaState*)
{
    return Engine().GetMinMass();
}

float getMaxMass(LuaState*)
{
    return Engine().GetMaxMass();
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
    table.RegisterHelper("isInitialised", &isInitialised);
    table.RegisterHelper("destroy", &destroy);
    table.RegisterHelper("update", &update);
    table.RegisterHelper("lock", &lock);
}

void RegisterIPhysicsWorldFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getNumberOfSimulatingEntitites", &getNumberOfSimulatingEntitites);
    table.RegisterHelper("setBounds", &setBounds);
    table.RegisterHelper("expandBounds", &expandBounds);
    table.RegisterHelper("getWorldMin", &getWorldMin);
    table.RegisterHelper("getWorldMax", &getWorldMax);
    table.RegisterHelper("getGravity", &getGravity);
    table.RegisterHelper("setGravity", &setGravity);
    table.RegisterHelper("setDesiredFrameRate", &setDesiredFrameRate);
    table.RegisterHelper("getDesiredFrameRate", &getDesiredFrameRate);
    table.RegisterHelper("getTotalFrames", &getTotalFrames);
    table.RegisterHelper("getTotalProcessingTime", &getTotalProcessingTime);
    table.RegisterHelper("getAveProcessingTime", &getAveProcessingTime);
    table.RegisterHelper("enableFrameCounter", &enableFrameCounter);
    table.RegisterHelper("isFrameCounterEnabled", &isFrameCounterEnabled);
    table.RegisterHelper("getMinMass", &getMinMass);
    table.RegisterHelper("getMaxMass", &getMaxMass);
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
