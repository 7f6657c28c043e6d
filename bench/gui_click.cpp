// A GUI click on a button, posted as the device's user posts it (press and
// release), through Irrlicht's GUI, the engine's event receiver and the GUI
// event channel to a script handler; next to a bare lua_pcall of the same
// Lua function with the same arguments. One handler call per click: the
// button has the focus and the mouse already, as after the user's first
// click.
//
// Two handlers (the benchmark's argument): 0 compares the event in Lua and
// counts; 1 is a menu's handler as scripts write them, asking the IGraphics
// event tests about its four controls.
//
// The parts of the path, for where the time goes: the same click on a bare
// Irrlicht device; on the engine's device with no GUI subscriber; and a GUI
// event published straight to the script handler.

#include "core/script/ManagedEventHandler.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/manager/GuiManager.h"
#include "script_api/graphics/IGraphics.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdlib>
#include <string>

namespace
{

using namespace irr;

const char* const kHandlers[] = {
    "clicks = 0\n"
    "return function(name, type, data, handled)\n"
    "    if type == 5 and name == 'ok' then clicks = clicks + 1 end\n"
    "    return false\n"
    "end\n",

    "clicks = 0\n"
    "return function(name, type, data, handled)\n"
    "    if IGraphics:buttonClicked('new', name, type) then clicks = -1\n"
    "    elseif IGraphics:checkboxClicked('music', name, type) then clicks = -1\n"
    "    elseif IGraphics:buttonClicked('quit', name, type) then clicks = -1\n"
    "    elseif IGraphics:buttonClicked('ok', name, type) then clicks = clicks + 1\n"
    "    end\n"
    "    return false\n"
    "end\n",
};

// A state with IGraphics and the handler function on the top of its stack.
LuaPlus::LuaState* MakeState(int64_t handler)
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    RegisterIGraphics(state);
    const std::string code = kHandlers[handler];
    if (state->LoadBuffer(code.data(), code.size(), "=handler") != 0 || state->PCall(0, 1) != 0)
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

void Click(IrrlichtDevice* device)
{
    PostMouse(device, EMIE_LMOUSE_PRESSED_DOWN, 150, 120);
    PostMouse(device, EMIE_LMOUSE_LEFT_UP, 150, 120);
}

// The engine with a NULL device and the button "ok".
class CClickEngine
{
public:
    CClickEngine() : m_engine(nullptr)
    {
        m_engine.Init("NULL", 640, 480, false, 32, false, false, false, 60, 0, 0, -1, -1, true);
        Graphics::GUI::CGuiManager* gui = m_engine.GetGuiManager();
        const s32 id = gui->RegisterElementName(L"ok", 0);
        device()->getGUIEnvironment()->addButton(core::rect<s32>(100, 100, 200, 140), gui->GetGuiParent(), id,
                                                 L"OK");
    }
    ~CClickEngine() { m_engine.Destroy(); }
    CClickEngine(const CClickEngine&) = delete;
    CClickEngine& operator=(const CClickEngine&) = delete;

    IrrlichtDevice* device() { return m_engine.GetDevice(); }

private:
    Graphics::CGraphicsEngine m_engine;
};

// The handler on the GUI channel, as IEvents:subscribeGui puts it there.
class CScriptHandler
{
public:
    explicit CScriptHandler(int64_t handler) : m_state(MakeState(handler))
    {
        lua_State* L = m_state->GetCState();
        m_handler = CManagedEventHandler::Create(LuaPlus::LuaObject(L, -1));
        lua_pushnil(L);
        m_handler->setUserData(LuaPlus::LuaObject(L, -1));
        lua_settop(L, 0);
        m_handler->Subscribe<Misc::Multicast::Kind::Gui>(0);
    }
    ~CScriptHandler()
    {
        CManagedEventHandler::Release(m_handler);
        LuaPlus::LuaState::Destroy(m_state);
    }
    CScriptHandler(const CScriptHandler&) = delete;
    CScriptHandler& operator=(const CScriptHandler&) = delete;

    double Clicks() const { return ::Clicks(m_state); }

private:
    LuaPlus::LuaState* m_state;
    CManagedEventHandler* m_handler = nullptr;
};

void BM_BareLuaPcall(benchmark::State& run)
{
    LuaPlus::LuaState* state = MakeState(run.range(0));
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

void BM_GuiClickToScriptHandler(benchmark::State& run)
{
    CClickEngine engine;
    CScriptHandler handler(run.range(0));
    // The first click hovers and focuses the button.
    Click(engine.device());
    const double before = handler.Clicks();
    for (auto _ : run)
        Click(engine.device());
    if (handler.Clicks() - before != static_cast<double>(run.iterations()))
        run.SkipWithError("the handler did not see every click");
}

void BM_BareIrrlichtClick(benchmark::State& run)
{
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_NULL;
    parameters.WindowSize = core::dimension2d<u32>(640, 480);
    parameters.LoggingLevel = ELL_ERROR;
    IrrlichtDevice* device = createDeviceEx(parameters);
    device->getGUIEnvironment()->addButton(core::rect<s32>(100, 100, 200, 140), nullptr, 5, L"OK");
    Click(device);
    for (auto _ : run)
        Click(device);
    device->drop();
}

void BM_EngineClickNoSubscriber(benchmark::State& run)
{
    CClickEngine engine;
    Click(engine.device());
    for (auto _ : run)
        Click(engine.device());
}

void BM_PublishToScriptHandler(benchmark::State& run)
{
    CScriptHandler handler(run.range(0));
    const CGuiEvent event{nullptr, L"ok", 5, 0};
    for (auto _ : run)
        Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::Gui>::Publish(event);
}

} // namespace

BENCHMARK(BM_BareLuaPcall)->Arg(0)->Arg(1);
BENCHMARK(BM_GuiClickToScriptHandler)->Arg(0)->Arg(1);
BENCHMARK(BM_BareIrrlichtClick);
BENCHMARK(BM_EngineClickNoSubscriber);
BENCHMARK(BM_PublishToScriptHandler)->Arg(0)->Arg(1);
