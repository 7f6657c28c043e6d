#include "script_api/world/IPhysics.h"

#include "script_api/core/ScriptInterface.h"
#include "script_api/world/IPhysicsFunctions.h"

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
