// Publishing on a channel with N subscribers, next to the same N subscribers
// called directly through a plain loop of virtual calls. "per_subscriber" is
// the time per subscriber call.
#include "core/events/Multicast.h"
#include "core/script/ManagedEventHandler.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <cstdlib>
#include <vector>

using namespace Misc::Multicast;

namespace
{

using Tick = Simulation::Multicast::CEvtTick;

class CCounter : public CSubscriberOf<Kind::Tick>
{
public:
    bool OnEvent(const Tick& tick) override
    {
        m_sum += tick.time;
        return false;
    }
    uint64_t m_sum = 0;
};

void SetPerSubscriber(benchmark::State& state)
{
    state.counters["per_subscriber"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Publish(benchmark::State& state)
{
    std::vector<CCounter> subscribers(static_cast<size_t>(state.range(0)));
    for (auto& subscriber : subscribers)
        CMulticastOf<Kind::Tick>::Subscribe(&subscriber, 0);
    Tick tick{nullptr, 1, 0};
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(CMulticastOf<Kind::Tick>::Publish(tick));
        ++tick.time;
    }
    for (auto& subscriber : subscribers)
        CMulticastOf<Kind::Tick>::Unsubscribe(&subscriber);
    SetPerSubscriber(state);
}

void BM_VirtualCallLoop(benchmark::State& state)
{
    std::vector<CCounter> subscribers(static_cast<size_t>(state.range(0)));
    std::vector<CSubscriberOf<Kind::Tick>*> pointers;
    for (auto& subscriber : subscribers)
        pointers.push_back(&subscriber);
    benchmark::DoNotOptimize(pointers.data());
    Tick tick{nullptr, 1, 0};
    for (auto _ : state)
    {
        bool handled = false;
        for (auto* subscriber : pointers)
            handled = subscriber->Dispatch(tick, handled) || handled;
        benchmark::DoNotOptimize(handled);
        ++tick.time;
    }
    SetPerSubscriber(state);
}

} // namespace

BENCHMARK(BM_Publish)->Arg(1)->Arg(10)->Arg(100);
BENCHMARK(BM_VirtualCallLoop)->Arg(1)->Arg(10)->Arg(100);

// A script subscriber on the Tick channel (callback and user data kept by a
// CManagedEventHandler) next to a raw lua_pcall of the same script function
// with the same five arguments: time, previous time, nil, user data, handled;
// the delivery through the channel, and the handler's own part of it.
namespace
{

const char* const kTickCallback = "return function(time, previous, none, userData, handled) return false end";

// A state with the callback at stack index 1 and a user-data table at 2.
LuaPlus::LuaState* NewCallbackState()
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    lua_State* L = state->GetCState();
    if (luaL_loadstring(L, kTickCallback) != 0 || lua_pcall(L, 0, 1, 0) != 0)
        std::abort();
    lua_newtable(L);
    return state;
}

void BM_ScriptSubscriber(benchmark::State& run)
{
    LuaPlus::LuaState* state = NewCallbackState();
    CManagedEventHandler* handler = CManagedEventHandler::Create(LuaPlus::LuaObject(state, 1));
    handler->setUserData(LuaPlus::LuaObject(state, 2));
    handler->Subscribe<Kind::Tick>(0);
    Tick tick{nullptr, 1, 0};
    for (auto _ : run)
    {
        benchmark::DoNotOptimize(CMulticastOf<Kind::Tick>::Publish(tick));
        ++tick.time;
    }
    CManagedEventHandler::Release(handler);
    LuaPlus::LuaState::Destroy(state);
}

// The handler's own part of a delivery: its Tick base called as the channel
// calls it, without the channel's lock and list.
void BM_ScriptSubscriberDispatch(benchmark::State& run)
{
    LuaPlus::LuaState* state = NewCallbackState();
    CManagedEventHandler* handler = CManagedEventHandler::Create(LuaPlus::LuaObject(state, 1));
    handler->setUserData(LuaPlus::LuaObject(state, 2));
    CSubscriberOf<Kind::Tick>* base = handler->Base<Kind::Tick>();
    Tick tick{nullptr, 1, 0};
    for (auto _ : run)
    {
        benchmark::DoNotOptimize(base->Dispatch(tick, false));
        ++tick.time;
    }
    CManagedEventHandler::Release(handler);
    LuaPlus::LuaState::Destroy(state);
}

void BM_RawPcall(benchmark::State& run)
{
    LuaPlus::LuaState* state = NewCallbackState();
    lua_State* L = state->GetCState();
    uint32_t time = 1;
    for (auto _ : run)
    {
        lua_pushvalue(L, 1);
        lua_pushnumber(L, time);
        lua_pushnumber(L, 0);
        lua_pushnil(L);
        lua_pushvalue(L, 2);
        lua_pushboolean(L, 0);
        if (lua_pcall(L, 5, 1, 0) != 0)
            std::abort();
        benchmark::DoNotOptimize(lua_toboolean(L, -1));
        lua_pop(L, 1);
        ++time;
    }
    LuaPlus::LuaState::Destroy(state);
}

} // namespace

BENCHMARK(BM_RawPcall);
BENCHMARK(BM_ScriptSubscriber);
BENCHMARK(BM_ScriptSubscriberDispatch);
