// A GUI click on a button, posted as the device's user posts it (press and
// release), through Irrlicht's GUI, the engine's event receiver and the GUI
// event channel to a script handler; next to a bare lua_pcall of the same
// Lua function with the same arguments. One handler call per click: the
// button has the focus and the mouse already, as after the user's first
// click.
//
// The parts of the path, for where the time goes: the same click on a bare
// Irrlicht device; on the engine's device with no GUI subscriber; and a GUI
// event published straight to the script handler.

#include "core/script/ManagedEventHandler.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/GuiManager.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdlib>

namespace
{

using namespace irr;

// The handler a script would subscribe to the GUI channel.
constexpr const char* kHandler = "clicks = 0\n"
                                 "return function(name, type, data, handled)\n"
                                 "    if type == 5 and name == 'ok' then clicks = clicks + 1 end\n"
                                 "    return false\n"
                                 "end\n";

// Leaves the handler function on the top of the stack.
LuaPlus::LuaState* MakeState()
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    if (state->LoadBuffer(kHandler, std::char_traits<char>::length(kHandler), "=handler") != 0 ||
        state->PCall(0, 1) != 0)
        std::abort();
    return state;
}

double Clicks(LuaPlus::LuaState* state)
{
    lua_State* L = state->GetCState();
    lua_getglobal(L, "clicks");
    const double clicks = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return clicks;
}

void PostMouse(IrrlichtDevice* device, EMOUSE_INPUT_EVENT type, s32 x, s32 y)
{
    SEvent event;
    event.EventType = EET_MOUSE_INPUT_EVENT;
    event.MouseInput.Event = type;
    event.MouseInput.X = x;
    event.MouseInput.Y = y;
    event.MouseInput.Wheel = 0;
    event.MouseInput.Shift = false;
    event.MouseInput.Control = false;
    event.MouseInput.ButtonStates = type == EMIE_LMOUSE_PRESSED_DOWN ? EMBSM_LEFT : 0;
    device->postEventFromUser(event);
}

void BM_GuiClickToScriptHandler(benchmark::State& run)
{
    Graphics::CGraphicsEngine engine(nullptr);
    engine.Init("NULL", 640, 480, false, 32, false, false, false, 60, 0, 0, -1, -1, true);
    IrrlichtDevice* device = engine.GetDevice();
    Graphics::GUI::CGuiManager* gui = engine.GetGuiManager();
    const s32 id = gui->RegisterElementName(L"ok", 0);
    device->getGUIEnvironment()->addButton(core::rect<s32>(100, 100, 200, 140), gui->GetGuiParent(), id,
                                           L"OK");

    LuaPlus::LuaState* state = MakeState();
    lua_State* L = state->GetCState();
    CManagedEventHandler* handler = CManagedEventHandler::Create(LuaPlus::LuaObject(L, -1));
    lua_pushnil(L);
    handler->setUserData(LuaPlus::LuaObject(L, -1));
    lua_settop(L, 0);
    handler->Subscribe<Misc::Multicast::Kind::Gui>(0);

    // The first click hovers and focuses the button.
    PostMouse(device, EMIE_LMOUSE_PRESSED_DOWN, 150, 120);
    PostMouse(device, EMIE_LMOUSE_LEFT_UP, 150, 120);
    const double before = Clicks(state);
    for (auto _ : run)
    {
        PostMouse(device, EMIE_LMOUSE_PRESSED_DOWN, 150, 120);
        PostMouse(device, EMIE_LMOUSE_LEFT_UP, 150, 120);
    }
    if (Clicks(state) - before != static_cast<double>(run.iterations()))
        run.SkipWithError("the handler did not see every click");

    CManagedEventHandler::Release(handler);
    LuaPlus::LuaState::Destroy(state);
    engine.Destroy();
}

void BM_BareLuaPcall(benchmark::State& run)
{
    LuaPlus::LuaState* state = MakeState();
    lua_State* L = state->GetCState();
    const int function = lua_gettop(L);
    for (auto _ : run)
    {
        lua_pushvalue(L, function);
        lua_pushlstring(L, "ok", 2);
        lua_pushnumber(L, 5);
        lua_pushnil(L);
        lua_pushboolean(L, 0);
        if (lua_pcall(L, 4, 1, 0) != 0)
            std::abort();
        benchmark::DoNotOptimize(lua_toboolean(L, -1));
        lua_pop(L, 1);
    }
    if (Clicks(state) != static_cast<double>(run.iterations()))
        run.SkipWithError("the function did not count every call");
    LuaPlus::LuaState::Destroy(state);
}

void BM_EngineClickNoSubscriber(benchmark::State& run)
{
    Graphics::CGraphicsEngine engine(nullptr);
    engine.Init("NULL", 640, 480, false, 32, false, false, false, 60, 0, 0, -1, -1, true);
    IrrlichtDevice* device = engine.GetDevice();
    Graphics::GUI::CGuiManager* gui = engine.GetGuiManager();
    const s32 id = gui->RegisterElementName(L"ok", 0);
    device->getGUIEnvironment()->addButton(core::rect<s32>(100, 100, 200, 140), gui->GetGuiParent(), id,
                                           L"OK");
    PostMouse(device, EMIE_LMOUSE_PRESSED_DOWN, 150, 120);
    PostMouse(device, EMIE_LMOUSE_LEFT_UP, 150, 120);
    for (auto _ : run)
    {
        PostMouse(device, EMIE_LMOUSE_PRESSED_DOWN, 150, 120);
        PostMouse(device, EMIE_LMOUSE_LEFT_UP, 150, 120);
    }
    engine.Destroy();
}

void BM_BareIrrlichtClick(benchmark::State& run)
{
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_NULL;
    parameters.WindowSize = core::dimension2d<u32>(640, 480);
    parameters.LoggingLevel = ELL_ERROR;
    IrrlichtDevice* device = createDeviceEx(parameters);
    device->getGUIEnvironment()->addButton(core::rect<s32>(100, 100, 200, 140), nullptr, 5, L"OK");
    PostMouse(device, EMIE_LMOUSE_PRESSED_DOWN, 150, 120);
    PostMouse(device, EMIE_LMOUSE_LEFT_UP, 150, 120);
    for (auto _ : run)
    {
        PostMouse(device, EMIE_LMOUSE_PRESSED_DOWN, 150, 120);
        PostMouse(device, EMIE_LMOUSE_LEFT_UP, 150, 120);
    }
    device->drop();
}

void BM_PublishToScriptHandler(benchmark::State& run)
{
    LuaPlus::LuaState* state = MakeState();
    lua_State* L = state->GetCState();
    CManagedEventHandler* handler = CManagedEventHandler::Create(LuaPlus::LuaObject(L, -1));
    lua_pushnil(L);
    handler->setUserData(LuaPlus::LuaObject(L, -1));
    lua_settop(L, 0);
    handler->Subscribe<Misc::Multicast::Kind::Gui>(0);
    CGuiEvent event{nullptr, L"ok", 5, 0};
    for (auto _ : run)
        Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::Gui>::Publish(event);
    CManagedEventHandler::Release(handler);
    LuaPlus::LuaState::Destroy(state);
}

} // namespace

BENCHMARK(BM_BareIrrlichtClick);
BENCHMARK(BM_EngineClickNoSubscriber);
BENCHMARK(BM_PublishToScriptHandler);
BENCHMARK(BM_BareLuaPcall);
BENCHMARK(BM_GuiClickToScriptHandler);
