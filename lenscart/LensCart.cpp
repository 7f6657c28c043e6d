// The module "lenscart": `require "lenscart"` loads this library into the
// program and gives scripts the global table "lenscart", whose functions
// steer the one camera processor of the process.

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/HandleRegistry.h"
#include "core/foundation/StringConversion.h"
#include "lenscart/CameraProcessor.h"
#include "script_api/core/EngineAccess.h"

#include <lua.hpp>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <string>

namespace
{

using LensCart::CCameraProcessor;
using TickSubscriber = Misc::Multicast::CSubscriberOf<Misc::Multicast::Kind::Tick>;

// The processor, with the handle that names it to IEvents. It lives from
// the library's load to its unload; leaving, the subscriber base takes it
// off the tick channel.
struct SModule
{
    SModule() : handle(Misc::CHandleRegistry::GetInstance().Add<TickSubscriber>(&processor)) {}
    ~SModule() { Misc::CHandleRegistry::GetInstance().Remove(handle); }

    CCameraProcessor processor;
    uint32_t handle;
};

SModule g_module;

CCameraProcessor& Processor()
{
    return g_module.processor;
}

// Runs the body; an engine error reaches the script as a script error with
// its message. Script errors raised inside pass through untouched.
template <typename Body> int Guarded(lua_State* L, Body body)
{
    std::string message;
    try
    {
        return body();
    }
    catch (const std::exception& error)
    {
        message = error.what();
    }
    return luaL_error(L, "%s", message.c_str());
}

// The camera is steered from the main state's ticks only.
void RequireMainThread(lua_State* L, const char* function)
{
    if (!IsMainScriptThread(L))
        luaL_error(L, "[lenscart::%s] Can only be called from the main Lua state.", function);
}

std::wstring WideArgument(lua_State* L, int index)
{
    size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    return text != nullptr ? Misc::Text::Utf8ToWide(std::string_view(text, length)) : std::wstring();
}

// Calls IEvents.<function>("CEvtTick", handle[, 0]) through the interface
// table's metatable (its functions sit there or in its __index table);
// nothing when there is no such function.
void CallEvents(lua_State* L, const char* function, bool withPriority)
{
    const int top = lua_gettop(L);
    lua_getglobal(L, "IEvents");
    const int table = lua_gettop(L);
    if (lua_isnoneornil(L, table) || !lua_getmetatable(L, table))
    {
        lua_settop(L, top);
        return;
    }
    lua_getfield(L, -1, function);
    if (!lua_isfunction(L, -1))
    {
        lua_pop(L, 1);
        lua_getfield(L, -1, "__index");
        if (lua_istable(L, -1))
            lua_getfield(L, -1, function);
    }
    if (!lua_isfunction(L, -1))
    {
        lua_settop(L, top);
        return;
    }
    lua_pushvalue(L, table);
    lua_pushstring(L, "CEvtTick");
    lua_pushnumber(L, g_module.handle);
    if (withPriority)
        lua_pushnumber(L, 0);
    lua_call(L, withPriority ? 4 : 3, 0);
    lua_settop(L, top);
}

// A speed: NaN or an infinity would carry into the camera's position. Any
// finite number is taken, held to the range of the stored single-precision
// value (a larger one would become an infinity).
float SpeedArgument(lua_State* L, const char* function)
{
    const lua_Number speed = luaL_checknumber(L, 1);
    if (!std::isfinite(speed))
        luaL_error(L, "[lenscart::%s] The speed must be a finite number", function);
    constexpr lua_Number kLargest = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(speed, -kLargest, kLargest));
}

int SetCameraFrameRate(lua_State* L)
{
    Processor().SetFrameRate(luaL_checknumber(L, 1));
    return 0;
}

int SetCameraMoveSpeed(lua_State* L)
{
    Processor().SetMoveSpeed(SpeedArgument(L, "setCameraMoveSpeed"));
    return 0;
}

int GetCameraMoveSpeed(lua_State* L)
{
    lua_pushnumber(L, Processor().GetMoveSpeed());
    return 1;
}

int SetCameraRotateSpeed(lua_State* L)
{
    Processor().SetRotateSpeed(SpeedArgument(L, "setCameraRotateSpeed"));
    return 0;
}

int GetCameraRotateSpeed(lua_State* L)
{
    lua_pushnumber(L, Processor().GetRotateSpeed());
    return 1;
}

int SetCameraRotateThreshold(lua_State* L)
{
    Processor().SetRotateThreshold(static_cast<float>(luaL_checknumber(L, 1)));
    return 0;
}

int GetCameraRotateThreshold(lua_State* L)
{
    lua_pushnumber(L, Processor().GetRotateThreshold());
    return 1;
}

int InvertMouse(lua_State* L)
{
    Processor().InvertMouse(lua_toboolean(L, 1) != 0);
    return 0;
}

int IsMouseInverted(lua_State* L)
{
    lua_pushboolean(L, Processor().IsMouseInverted());
    return 1;
}

int EnableYComponent(lua_State* L)
{
    Processor().EnableYComponent(lua_toboolean(L, 1) != 0);
    return 0;
}

int IsYComponentEnabled(lua_State* L)
{
    lua_pushboolean(L, Processor().IsYComponentEnabled());
    return 1;
}

int SetCameraKeyAction(lua_State* L)
{
    Processor().SetKeyAction(WideArgument(L, 1), WideArgument(L, 2));
    return 0;
}

int Start(lua_State* L)
{
    size_t length = 0;
    const char* id = luaL_checklstring(L, 1, &length);
    RequireMainThread(L, "start");
    Guarded(L,
            [&]
            {
                Simulation::CSimulationManager* engine = Simulation::CSimulationManager::GetEngineObject();
                const uint32_t now = engine != nullptr && engine->GetApplication() != nullptr
                                         ? engine->GetApplication()->GetTime()
                                         : 0;
                Processor().Start(std::string(id, length), now);
                return 0;
            });
    // The tick channel keeps a subscriber once: a second start only changes
    // the camera.
    CallEvents(L, "subscribeEvent", true);
    lua_pushboolean(L, 1);
    return 1;
}

int Stop(lua_State* L)
{
    RequireMainThread(L, "stop");
    CallEvents(L, "unsubscribeEvent", false);
    lua_pushboolean(L, 1);
    return 1;
}

const luaL_Reg kFunctions[] = {
    {"setCameraFrameRate", &SetCameraFrameRate},
    {"setCameraMoveSpeed", &SetCameraMoveSpeed},
    {"getCameraMoveSpeed", &GetCameraMoveSpeed},
    {"setCameraRotateSpeed", &SetCameraRotateSpeed},
    {"getCameraRotateSpeed", &GetCameraRotateSpeed},
    {"setCameraRotateThreshold", &SetCameraRotateThreshold},
    {"getCameraRotateThreshold", &GetCameraRotateThreshold},
    {"invertMouse", &InvertMouse},
    {"isMouseInverted", &IsMouseInverted},
    {"enableYComponent", &EnableYComponent},
    {"isYComponentEnabled", &IsYComponentEnabled},
    {"setCameraKeyAction", &SetCameraKeyAction},
    {"start", &Start},
    {"stop", &Stop},
    {nullptr, nullptr},
};

} // namespace

extern "C" __attribute__((visibility("default"))) int luaopen_lenscart(lua_State* L)
{
    luaL_register(L, "lenscart", kFunctions);
    return 1;
}
