#include "FakeClock.h"
#include "FakeSubEngine.h"

#include <gtest/gtest.h>

using Simulation::Multicast::CEvtStartStop;
using Simulation::Multicast::CEvtTick;

namespace
{

bool TickAt(CFakeSubEngine& engine, uint32_t time)
{
    return engine.Update(CEvtTick{nullptr, time, 0});
}

void StartAt(CFakeSubEngine& engine, uint32_t time)
{
    engine.StartStop(CEvtStartStop{nullptr, true, time});
}

} // namespace

TEST(SubEngineTest, PeriodIsWholeMillisecondsOfTheRate)
{
    CFakeSubEngine engine(nullptr, "e");
    const struct
    {
        uint32_t rate;
        uint32_t period;
    } cases[] = {{60, 16}, {0, 0}, {1, 1000}, {7, 142}, {1000, 1}, {1001, 0}, {3000, 0}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(engine.SetDesiredFrameRate(c.rate), c.period) << "rate " << c.rate;
        EXPECT_EQ(engine.GetPeriod(), c.period);
        EXPECT_EQ(engine.GetDesiredFrameRate(), c.rate);
    }
}

TEST(SubEngineTest, StepsStrictlyAfterTheDueTimeAndSkipsMissedPeriods)
{
    CFakeSubEngine engine(nullptr, "e");
    engine.SetDesiredFrameRate(60);
    StartAt(engine, 100);
    EXPECT_EQ(engine.GetNextDueTime(), 100u);

    EXPECT_FALSE(TickAt(engine, 100));
    EXPECT_EQ(engine.steps, 0);
    EXPECT_TRUE(TickAt(engine, 101));
    EXPECT_EQ(engine.GetNextDueTime(), 116u);
    EXPECT_EQ(engine.GetLastStepTime(), 101u);
    EXPECT_FALSE(TickAt(engine, 116));

    // A pause of a second: one step, and the due time jumps past now.
    EXPECT_TRUE(TickAt(engine, 1116));
    EXPECT_EQ(engine.steps, 2);
    EXPECT_EQ(engine.GetNextDueTime(), 1124u);
    EXPECT_FALSE(TickAt(engine, 1120));
    EXPECT_EQ(engine.steps, 2);
}

TEST(SubEngineTest, DueTimeWrapsAroundWithTheClock)
{
    CFakeSubEngine engine(nullptr, "e");
    engine.SetDesiredFrameRate(100);
    StartAt(engine, 0xFFFFFFF0u);
    EXPECT_FALSE(TickAt(engine, 0xFFFFFFF0u));
    EXPECT_TRUE(TickAt(engine, 3));
    EXPECT_EQ(engine.GetNextDueTime(), 4u);
    EXPECT_FALSE(TickAt(engine, 4));
}

TEST(SubEngineTest, EnginesThatMustNotStepDoNot)
{
    for (uint32_t rate : {0u, 3000u})
    {
        CFakeSubEngine engine(nullptr, "e");
        engine.SetDesiredFrameRate(rate);
        EXPECT_FALSE(TickAt(engine, 5000));
        EXPECT_EQ(engine.steps, 0) << "rate " << rate;
        EXPECT_EQ(engine.GetCurrentTime(), 0u) << "a period of 0 does not even note the time";
    }

    CFakeSubEngine locked(nullptr, "locked");
    locked.SetDesiredFrameRate(100);
    locked.SetLocked(true);
    EXPECT_FALSE(TickAt(locked, 25));
    EXPECT_EQ(locked.steps, 0);
    EXPECT_EQ(locked.GetNextDueTime(), 30u) << "the due time keeps moving";
    locked.SetLocked(false);
    EXPECT_TRUE(TickAt(locked, 31));

    CFakeSubEngine stopped(nullptr, "stopped");
    stopped.SetDesiredFrameRate(100);
    stopped.running = false;
    EXPECT_FALSE(TickAt(stopped, 25));
    EXPECT_EQ(stopped.steps, 0);
    EXPECT_FALSE(stopped.StartStop(CEvtStartStop{nullptr, true, 25}));
    EXPECT_FALSE(stopped.StartStop(CEvtStartStop{nullptr, false, 25}));
    EXPECT_EQ(stopped.starts + stopped.stops, 0);
}

TEST(SubEngineTest, CountsEveryStepButNotesOnlyWorkingOnes)
{
    CFakeClock clock;
    CFakeSubEngine engine(nullptr, "e");
    engine.SetDesiredFrameRate(100);
    engine.EnableFrameCounter(true, false);
    engine.onStep = [&] { clock.Advance(4); };

    EXPECT_TRUE(TickAt(engine, 11));
    engine.stepResult = false;
    EXPECT_FALSE(TickAt(engine, 21));
    EXPECT_FALSE(engine.GetLastResult());
    EXPECT_EQ(engine.GetLastStepTime(), 11u) << "a step without work keeps the last step time";
    EXPECT_EQ(engine.GetTotalFrames(), 2u);
    EXPECT_EQ(engine.GetTotalProcessingTime(), 8u);
    EXPECT_FLOAT_EQ(engine.GetAveProcessingTime(), 4.0f);

    engine.EnableFrameCounter(false, true);
    EXPECT_EQ(engine.GetTotalFrames(), 0u);
    EXPECT_FLOAT_EQ(engine.GetAveProcessingTime(), 0.0f);
    TickAt(engine, 31);
    EXPECT_EQ(engine.GetTotalFrames(), 1u) << "steps are counted with the counter off";
    EXPECT_EQ(engine.GetTotalProcessingTime(), 0u);
}

TEST(SubEngineTest, StartStopReportsWhetherTheEngineNeedsMoreTime)
{
    CFakeSubEngine engine(nullptr, "e");
    engine.stopsNeedingTime = 1;
    EXPECT_FALSE(engine.StartStop(CEvtStartStop{nullptr, true, 40}));
    EXPECT_EQ(engine.GetLastStepTime(), 40u);
    EXPECT_EQ(engine.GetNextDueTime(), 40u);
    EXPECT_TRUE(engine.StartStop(CEvtStartStop{nullptr, false, 50}));
    EXPECT_FALSE(engine.StartStop(CEvtStartStop{nullptr, false, 60}));
    EXPECT_EQ(engine.GetCurrentTime(), 60u);
    EXPECT_EQ(engine.starts, 1);
    EXPECT_EQ(engine.stops, 2);
}
