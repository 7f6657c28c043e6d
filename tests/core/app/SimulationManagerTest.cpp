#include "FakeClock.h"
#include "FakeSubEngine.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/events/Multicast.h"
#include "core/app/StateMachine.h"
#include "core/foundation/KVOError.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Misc::Multicast;
using Journal = std::vector<std::string>;

namespace
{

// The engine object with fake sub-engines in the loop in place of the three
// real ones.
class CTestManager : public Simulation::CSimulationManager
{
public:
    explicit CTestManager(Journal* journal = nullptr)
        : graphics(this, "graphics", journal), physics(this, "physics", journal),
          sound(this, "sound", journal)
    {
        GetSubEngineMap()["graphics"] = &graphics;
        GetSubEngineMap()["physics"] = &physics;
        GetSubEngineMap()["sound"] = &sound;
    }

    CFakeSubEngine graphics;
    CFakeSubEngine physics;
    CFakeSubEngine sound;
};

// Notes the events of one channel and runs an optional action on each.
template <class K> class CListener : public CSubscriberOf<K>
{
public:
    explicit CListener(std::function<void(const typename K::Event&)> action = nullptr)
        : m_action(std::move(action))
    {
        CMulticastOf<K>::Subscribe(this, 0);
    }
    ~CListener() override { CMulticastOf<K>::Unsubscribe(this); }

    bool OnEvent(const typename K::Event& event) override
    {
        events.push_back(event);
        if (m_action)
            m_action(event);
        return false;
    }

    std::vector<typename K::Event> events;

private:
    std::function<void(const typename K::Event&)> m_action;
};

} // namespace

TEST(SimulationManagerTest, TheCoreAloneHasNoSubEngine)
{
    Simulation::CSimulationManager manager;
    ASSERT_NE(manager.GetApplication(), nullptr);
    ASSERT_NE(manager.GetStateMachine(), nullptr);
    EXPECT_EQ(manager.GetStateMachine()->GetOwner(), &manager);
    EXPECT_TRUE(manager.GetSubEngines().empty());
    EXPECT_EQ(manager.GetPart<CFakeSubEngine>(), nullptr);

    EXPECT_TRUE(manager.IsThrottlingEnabled());
    EXPECT_TRUE(manager.GetExitOnQuit());
    EXPECT_FALSE(manager.IsFrameCounterEnabled());
}

// What the composition root hands over: parts found by their class,
// destroyed the last adopted first and before the state machine, and
// sub-engines stepped in the order of their names.
TEST(SimulationManagerTest, AdoptedPartsLiveAsLongAsTheManager)
{
    Journal journal;
    struct CNoted
    {
        CNoted(Journal& notes, std::string noted, Simulation::CSimulationManager& manager)
            : journal(notes), name(std::move(noted)), owner(manager)
        {
        }
        ~CNoted()
        {
            journal.push_back(name + (owner.GetStateMachine() != nullptr ? " with states" : " without"));
        }
        Journal& journal;
        std::string name;
        Simulation::CSimulationManager& owner;
    };
    struct CSecond : CNoted
    {
        using CNoted::CNoted;
    };
    CFakeSubEngine* engine = nullptr;
    {
        CFakeClock clock;
        Simulation::CSimulationManager manager(
            [&](Simulation::CSimulationManager& owner)
            {
                EXPECT_NE(owner.GetStateMachine(), nullptr) << "parts can reach the state machine";
                owner.Adopt(std::make_unique<CNoted>(journal, "first", owner));
                engine = owner.Adopt(std::make_unique<CFakeSubEngine>(&owner, "zeta", &journal));
                owner.Adopt(std::make_unique<CSecond>(journal, "second", owner));
                owner.AddSubEngine("zeta", engine);
            });
        EXPECT_EQ(manager.GetPart<CFakeSubEngine>(), engine);
        EXPECT_EQ(manager.GetPart<CSecond>()->name, "second");
        EXPECT_EQ(manager.GetPart<CNoted>()->name, "first") << "only the exact class matches";
        ASSERT_EQ(manager.GetSubEngines().size(), 1u);
        engine->SetDesiredFrameRate(1000);
        manager.Tick();
        EXPECT_EQ(engine->steps, 1);
        journal.clear();
    }
    EXPECT_EQ(journal, (Journal{"second with states", "first with states"}));
}

TEST(SimulationManagerTest, TickPublishesFirstThenUpdatesGraphicsPhysicsSound)
{
    CFakeClock clock(500);
    Journal journal;
    CTestManager manager(&journal);
    for (CFakeSubEngine* engine : {&manager.graphics, &manager.physics, &manager.sound})
        engine->SetDesiredFrameRate(1000);
    CListener<Kind::Tick> ticks([&](const Simulation::Multicast::CEvtTick&) { journal.push_back("tick"); });

    EXPECT_TRUE(manager.Tick());
    EXPECT_EQ(journal, (Journal{"tick", "graphics step", "physics step", "sound step"}));
    clock.Advance(7);
    manager.Tick();
    ASSERT_EQ(ticks.events.size(), 2u);
    EXPECT_EQ(ticks.events[0].engine, &manager);
    EXPECT_EQ(ticks.events[1].time, 507u);
    EXPECT_EQ(ticks.events[1].previousTime, 500u);
    EXPECT_EQ(manager.GetNow(), 507u);
    EXPECT_EQ(manager.GetPrevious(), 500u);
}

TEST(SimulationManagerTest, IdleTicksSleepOnlyWhenThrottling)
{
    CFakeClock clock(1005); // the first step moves the due time to 1010
    CTestManager manager;
    manager.graphics.SetDesiredFrameRate(100);

    EXPECT_TRUE(manager.Tick()) << "graphics is due";
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_FALSE(manager.Tick()) << "nobody is due";
    EXPECT_EQ(clock.sleeps, std::vector<uint32_t>{1});

    manager.EnableThrottling(false);
    EXPECT_FALSE(manager.Tick());
    EXPECT_EQ(clock.sleeps.size(), 1u);

    // A step that does no work counts as idle.
    manager.EnableThrottling(true);
    manager.graphics.stepResult = false;
    clock.Advance(20);
    EXPECT_FALSE(manager.Tick());
    EXPECT_EQ(manager.graphics.steps, 2);
    EXPECT_EQ(clock.sleeps.size(), 2u);
}

TEST(SimulationManagerTest, FrameCounterSumsWorkAndWholeTicks)
{
    CFakeClock clock;
    CTestManager manager;
    manager.physics.SetDesiredFrameRate(100);
    manager.physics.onStep = [&] { clock.Advance(3); };

    manager.Tick(); // before the counter: counted as a frame, not timed
    EXPECT_EQ(manager.GetTotalFrames(), 1u);
    manager.EnableFrameCounter(true, true);
    EXPECT_EQ(manager.GetTotalFrames(), 0u);

    clock.Advance(10);
    manager.Tick(); // works 3 ms
    manager.Tick(); // idle: sleeps 1 ms
    EXPECT_EQ(manager.GetTotalFrames(), 2u);
    EXPECT_EQ(manager.GetTotalProcessingTime(), 3u);
    EXPECT_EQ(manager.GetTotalFrameTime(), 4u);
    EXPECT_FLOAT_EQ(manager.GetAveProcessingTime(), 1.5f);
    EXPECT_FLOAT_EQ(manager.GetAveFrameTime(), 2.0f);

    manager.EnableFrameCounter(false, true);
    EXPECT_FLOAT_EQ(manager.GetAveProcessingTime(), 0.0f);
    EXPECT_FLOAT_EQ(manager.GetAveFrameTime(), 0.0f);
}

TEST(SimulationManagerTest, RunWithDurationQuitsAfterItByItself)
{
    CFakeClock clock(2000);
    CTestManager manager;
    CListener<Kind::Run> run;
    manager.RequestQuit(); // a quit asked for before the run does not count

    manager.Run(500);
    // Each idle tick sleeps 1 ms: ticks at 2000..2501, the last past the end.
    EXPECT_EQ(manager.GetTotalFrames(), 502u);
    ASSERT_EQ(run.events.size(), 2u);
    EXPECT_EQ(run.events[0].time, 2000u);
    EXPECT_EQ(run.events[1].time, 2502u);
    EXPECT_EQ(manager.graphics.starts, 1);
    EXPECT_EQ(manager.graphics.stops, 1);
}

// Durations from 2^31 ms up (a script's -1, inf or 1e308 arrive as
// 0xFFFFFFFF) are measured as time since the start in 64 bits, also across
// the wrap of the 32-bit clock: the loop runs until that much time passed.
TEST(SimulationManagerTest, LongDurationsRunUntilTheirTimeHasPassed)
{
    const struct
    {
        uint32_t duration;
        uint64_t step;   // the clock moves this much in each tick
        int ticksToQuit; // the first tick past the duration
    } cases[] = {
        // The first tick is at the start; tick k is (k - 1) steps later.
        {0x80000000u, 0x40000000u, 4},                                // at 2^31 exactly it is not past yet
        {0x80000001u, 0x40000000u, 4}, {0xFFFFFFFFu, 0x40000000u, 5}, // 2^32 is past 2^32 - 1
        {0xFFFFFFFFu, 0xFFFFFFFFu, 3}, // one step of the whole duration is not past it
        {0x7FFFFFFFu, 0x7FFFFFFFu, 3}, {500u, 100u, 7},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.duration);
        CFakeClock clock(0xFFFFFF00u); // the 32-bit clock wraps during the run
        CTestManager manager;
        manager.EnableThrottling(false);
        int ticks = 0;
        CListener<Kind::Tick> stepper(
            [&](const Simulation::Multicast::CEvtTick&)
            {
                ++ticks;
                clock.Advance(c.step);
            });
        CListener<Kind::Tick> guard(
            [&](const Simulation::Multicast::CEvtTick&)
            {
                if (ticks > 10)
                    manager.RequestQuit();
            });
        manager.Run(c.duration);
        EXPECT_EQ(ticks, c.ticksToQuit);
    }
}

TEST(SimulationManagerTest, StopWaitsForEngineThatNeedsMoreTime)
{
    CFakeClock clock;
    Journal journal;
    CTestManager manager(&journal);
    manager.sound.stopsNeedingTime = 2;
    int ticks = 0;
    CListener<Kind::Tick> quitter(
        [&](const Simulation::Multicast::CEvtTick&)
        {
            if (++ticks == 1)
                manager.RequestQuit();
        });
    CListener<Kind::Run> run;

    manager.Run(0);
    EXPECT_EQ(ticks, 3) << "two more ticks after the quit request";
    ASSERT_EQ(run.events.size(), 4u);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_FALSE(run.events[i].starting);
    EXPECT_EQ(manager.sound.stops, 3);
    EXPECT_EQ(manager.graphics.stops, 3) << "every engine is asked on each stop pass";
    EXPECT_EQ(journal.front(), "graphics start");
    EXPECT_TRUE(manager.IsQuitRequested());
}

TEST(SimulationManagerTest, ErrorsLeavingATickStopTheEnginesOnceAndReachTheCaller)
{
    const std::vector<std::pair<const char*, std::function<void()>>> throwers = {
        {"engine error", [] { throw Misc::Error::CKVOError(L"[Test::Step] broken"); }},
        {"script error", [] { throw std::runtime_error("script.lua:3: attempt to call a nil value"); }},
    };
    for (const auto& thrower : throwers)
    {
        SCOPED_TRACE(thrower.first);
        CFakeClock clock;
        CTestManager manager;
        manager.physics.SetDesiredFrameRate(100);
        manager.physics.onStep = thrower.second;
        CListener<Kind::Run> run;

        bool caught = false;
        try
        {
            manager.Run(0);
        }
        catch (const Misc::Error::CKVOError& error)
        {
            caught = error.GetMessage() == L"[Test::Step] broken";
        }
        catch (const std::runtime_error& error)
        {
            caught = std::string(error.what()) == "script.lua:3: attempt to call a nil value";
        }
        EXPECT_TRUE(caught);
        EXPECT_EQ(manager.graphics.stops, 1);
        EXPECT_EQ(manager.physics.stops, 1);
        EXPECT_EQ(manager.sound.stops, 1);
        ASSERT_EQ(run.events.size(), 2u);
        EXPECT_FALSE(run.events[1].starting);
    }
}

TEST(SimulationManagerTest, TheFirstErrorWinsOverOneWhileStopping)
{
    CFakeClock clock;
    CTestManager manager;
    CListener<Kind::Tick> failingTick([](const Simulation::Multicast::CEvtTick&)
                                      { throw Misc::Error::CKVOError(L"[Tick] first"); });
    CListener<Kind::Run> failingStop(
        [](const Simulation::Multicast::CEvtStartStop& event)
        {
            if (!event.starting)
                throw Misc::Error::CKVOError(L"[Run] second");
        });

    try
    {
        manager.Run(0);
        ADD_FAILURE() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[Tick] first");
    }
    EXPECT_EQ(manager.sound.stops, 1) << "the engines are stopped although a stop listener failed";
}

TEST(SimulationManagerTest, QuitPublishesAndEndsTheProcessOnlyForANonZeroStatus)
{
    CTestManager manager;
    CListener<Kind::Close> close;
    manager.Quit(0);
    ASSERT_EQ(close.events.size(), 1u);
    EXPECT_EQ(close.events[0].engine, &manager);

    EXPECT_EXIT(manager.Quit(3), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(manager.Quit(256), ::testing::ExitedWithCode(255), "");
}
