// IEvents on the real engine object: ticks of the main loop at exact
// milliseconds of a fake clock, errors leaving the loop, the main-state
// guard, native Tick subscribers by handle, and the release of every script
// handler when the engine shuts down.
#include "core/app/FakeClock.h"
#include "core/script/ManagedEventHandler.h"
#include "support/ScriptHostFixture.h"
#include "support/ScriptRecorder.h"
#include "core/foundation/HandleRegistry.h"
#include "core/script/lua/LuaException.h"
#include "script_api/core/IEvents.h"

#include <string>

using Misc::CHandleRegistry;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

namespace
{

class IEventsTest : public ScriptHost
{
protected:
    void SetUp() override
    {
        ScriptHost::SetUp();
        ASSERT_EQ(Run(kRecorder), "");
    }

    std::string Calls() { return TakeRecordedCalls(state); }

    // Starts at 1000 ms; constructed before the engine.
    CFakeClock clock{1000};
};

TEST_F(IEventsTest, TickSubscriptionsCountExactMilliseconds)
{
    // At 1000: every tick (priority 5), every 100 ms (priority 10 asked, 0
    // used), once after 150 ms (subscribed later, so first among the 0s).
    ASSERT_EQ(Run(R"(
        periodic = IEvents:subscribeTickPeriodic(function(t, p) record('periodic', t, p) end, 100, nil, 10)
        every = IEvents:subscribeTick(function(t, p) record('every', t, p) end, nil, 5)
        IEvents:subscribeTickSingle(function(t, p) record('single', t, p) end, 150, nil, 20)
    )"),
              "");
    engine->EnableThrottling(false);
    for (uint32_t time : {1050u, 1099u, 1100u, 1150u, 1230u})
    {
        clock.Set(time);
        engine->Tick();
    }
    EXPECT_EQ(Calls(), "every,1050,0|every,1099,1050|every,1100,1099|periodic,1100,1000|"
                       "every,1150,1100|single,1150,1000|every,1230,1150|periodic,1230,1100");

    // setTickPeriod restarts the period from now and makes it repeat.
    ASSERT_EQ(Run(R"(
        IEvents:unsubscribe(periodic)
        IEvents:unsubscribe(every)
        single = IEvents:subscribeTickSingle(function(t, p) record('restarted', t, p) end, 10, nil, 0)
    )"),
              "");
    clock.Set(1300);
    ASSERT_EQ(Run("IEvents:setTickPeriod(single, 50)"), "");
    for (uint32_t time : {1349u, 1350u, 1400u})
    {
        clock.Set(time);
        engine->Tick();
    }
    EXPECT_EQ(Calls(), "restarted,1350,1300|restarted,1400,1350");
}

// A state that runs the main loop, as a script's run call does.
class CLoopState : public CState
{
public:
    CLoopState(CScriptManager& engine, uint32_t duration) : m_engine(engine), m_duration(duration) {}
    std::wstring GetName() const override { return L"level1"; }
    void Run() override { m_engine.Run(m_duration); }

private:
    CScriptManager& m_engine;
    uint32_t m_duration;
};

TEST_F(IEventsTest, RunEventsNameTheRunningState)
{
    ASSERT_EQ(Run("IEvents:subscribeRun(function(name, starting) record('run', name, starting) end, nil, 0)"),
              "");
    // Idle ticks sleep 1 ms on the fake clock, so the loop ends by itself.
    engine->GetStateMachine()->Queue(new CLoopState(*engine, 3));
    engine->GetStateMachine()->Run();
    EXPECT_EQ(Calls(), "run,level1,true|run,level1,false");
}

TEST_F(IEventsTest, FailingCallbackStopsTheLoopWithTheScriptMessage)
{
    ASSERT_EQ(Run(R"(
        ticks = 0
        IEvents:subscribeTick(function()
            ticks = ticks + 1
            if ticks == 3 then error('third tick failed') end
        end, nil, 0)
        IEvents:subscribeRun(function(name, starting) record('run', starting) end, nil, 0)
    )"),
              "");
    try
    {
        engine->Run(0);
        FAIL() << "the loop did not stop";
    }
    catch (const LuaPlus::LuaException& error)
    {
        EXPECT_NE(std::string(error.GetErrorMessage()).find("third tick failed"), std::string::npos)
            << error.GetErrorMessage();
    }
    EXPECT_EQ(Global("ticks").GetNumber(), 3);
    EXPECT_EQ(Calls(), "run,true|run,false");
}

TEST_F(IEventsTest, OnlyTheMainStateMayUseIEvents)
{
    LuaPlus::LuaState* other = LuaPlus::LuaState::Create(true);
    ASSERT_NE(other, nullptr);
    RegisterIEvents(other);
    for (const char* call : {"IEvents:subscribeTick(function() end, nil, 0)", "IEvents:isKeyEnabled()",
                             "IEvents:unsubscribe(0)", "IEvents:publishUserEvent('x', nil)"})
    {
        const std::string error = RunScript(other, call);
        ASSERT_NE(error, "") << call;
        EXPECT_NE(error.find("[IEvents] Can only be called from the main Lua state."), std::string::npos)
            << call << ": " << error;
    }
    LuaPlus::LuaState::Destroy(other);
    EXPECT_EQ(CManagedEventHandler::GetCount(), 0u);
}

// A native object on the Tick channel, handed to scripts by handle.
class CCountingTick : public Misc::Multicast::CSubscriberOf<Kind::Tick>
{
public:
    bool OnEvent(const Simulation::Multicast::CEvtTick&) override
    {
        ++count;
        return false;
    }
    int count = 0;
};

TEST_F(IEventsTest, NativeTickSubscribersAreNamedByHandle)
{
    CCountingTick native;
    const uint32_t handle =
        CHandleRegistry::GetInstance().Add<Misc::Multicast::CSubscriberOf<Kind::Tick>>(&native);
    const std::string id = std::to_string(handle);
    ASSERT_EQ(Run("assert(IEvents:subscribeEvent('CEvtTick', " + id + ", 0) == true)"), "");
    engine->Tick();
    EXPECT_EQ(native.count, 1);
    ASSERT_EQ(Run("assert(IEvents:unsubscribeEvent('CEvtTick', " + id + ") == true)"), "");
    engine->Tick();
    EXPECT_EQ(native.count, 1);

    // The object's address is not a handle.
    const std::string address = std::to_string(
        reinterpret_cast<uintptr_t>(static_cast<Misc::Multicast::CSubscriberOf<Kind::Tick>*>(&native)));
    EXPECT_NE(Run("IEvents:subscribeEvent('CEvtTick', " + address + ", 0)").find("Invalid subscriber handle"),
              std::string::npos);
    CHandleRegistry::GetInstance().Remove(handle);
    EXPECT_NE(Run("IEvents:subscribeEvent('CEvtTick', " + id + ", 0)").find("Invalid subscriber handle"),
              std::string::npos);
    engine->Tick();
    EXPECT_EQ(native.count, 1);
}

TEST_F(IEventsTest, ShutdownReleasesEveryHandlerBeforeTheStateCloses)
{
    ASSERT_EQ(Run(R"(
        IEvents:subscribeLog(record, nil, 0)
        IEvents:subscribeClose(record, nil, 0)
        local single = IEvents:subscribeTickSingle(record, 1, nil, 0)
    )"),
              "");
    EXPECT_EQ(CManagedEventHandler::GetCount(), 3u);
    engine.reset();
    EXPECT_EQ(CManagedEventHandler::GetCount(), 0u);
    // Nothing is left that would call into the closed state.
    EXPECT_FALSE(CMulticastOf<Kind::Log>::Publish({L"after shutdown", 0}));
    EXPECT_FALSE(CMulticastOf<Kind::Close>::Publish({}));
}

} // namespace
