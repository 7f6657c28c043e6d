#include "script_api/physics/IPhysics.h"

#include "script_api/core/ScriptInterface.h"
#include "script_api/physics/IPhysicsFunctions.h"

void RegisterIPhysics(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IPhysics",
                           {&RegisterIPhysicsEngineFunctions, &RegisterIPhysicsTypeFunctions,
                            &RegisterIPhysicsBodyFunctions, &RegisterIPhysicsWorldFunctions,
                            &RegisterIPhysicsCollisionDataFunctions, &RegisterIPhysicsMonitoringFunctions,
                            &RegisterIPhysicsCollisionWalkFunctions, &RegisterIPhysicsCollisionListFunctions,
                            &RegisterIPhysicsRayCastFunctions, &RegisterIPhysicsDynamicsFunctions,
                            &RegisterIPhysicsJointFunctions});
}
