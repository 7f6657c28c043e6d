#include "script_api/core/ScriptInterfaces.h"

#include "script_api/core/IApp.h"
#include "script_api/core/IEvents.h"
#include "script_api/core/ILog.h"
#include "script_api/core/IMisc.h"
#include "script_api/core/IState.h"
#include "script_api/graphics/IGraphics.h"
#include "script_api/input/IKey.h"
#include "script_api/input/IMouse.h"
#include "script_api/skin/ISkin.h"
#include "script_api/physics/IPhysics.h"
#include "script_api/sound/ISound.h"
#include "script_api/world/IWorld.h"

void RegisterScriptInterfaces(LuaPlus::LuaState* state)
{
    RegisterIApp(state);
    RegisterIMisc(state);
    RegisterILog(state);
    RegisterIState(state);
    RegisterIEvents(state);
    RegisterIGraphics(state);
    RegisterISkin(state);
    RegisterIPhysics(state);
    RegisterISound(state);
    RegisterIKey(state);
    RegisterIMouse(state);
    RegisterIWorld(state);
}
