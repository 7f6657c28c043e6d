// The frame: its fixed order of events per camera pass, the tick record,
// the window and background-rendering rules, the viewports, the updates
// after the frame, and the end of the loop when the window closes.

#include "GraphicsTestSupport.h"

#include "core/app/Application.h"
#include "core/app/FakeClock.h"
#include "core/foundation/KVOError.h"
#include "gui/manager/GuiManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

namespace
{

using Graphics::CGraphicsEngine;
using Strings = std::vector<std::string>;
namespace Kind = Misc::Multicast::Kind;

// Channels a frame never publishes on; what else the process publishes
// there (the loop's tick, logging) is not part of the frame.
const Strings kNotFrame{"Tick", "Log", "Run", "Close"};

class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(simulation.InitNull(801, 600));
        engine.SetBackgroundRenderingEnabled(true);
    }

    CFakeClock clock;
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
};

TEST_F(FrameTest, WithoutCamerasOnlyTheGuiPassAndTheTick)
{
    CChannelRecorder recorder;
    clock.Advance(100);
    ASSERT_TRUE(simulation.Tick());
    EXPECT_EQ(recorder.Without(kNotFrame), (Strings{"DrawPreGui", "DrawPostGui", "TickGraphics"}));
}

TEST_F(FrameTest, EachCameraPassPublishesItsSceneEventsBeforeTheGui)
{
    CTestCamera active(engine, "active");
    CTestCamera second(engine, "second");
    CTestCamera third(engine, "third");
    engine.SetActiveCamera(&active);
    ASSERT_TRUE(engine.AddSecondaryCamera(&second));
    ASSERT_TRUE(engine.AddSecondaryCamera(&third));
    EXPECT_FALSE(engine.AddSecondaryCamera(&third));

    // The scene manager's camera during each pass, as the pass's pre-scene
    // subscribers see it.
    irr::scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
    std::vector<irr::scene::ICameraSceneNode*> passCameras;
    CChannelRecorder recorder;
    recorder.action = [&](const std::string& channel)
    {
        if (channel == "DrawPreScene")
            passCameras.push_back(scene->getActiveCamera());
    };
    clock.Advance(100);
    ASSERT_TRUE(simulation.Tick());

    EXPECT_EQ(recorder.Without(kNotFrame),
              (Strings{"DrawPreScene", "DrawPostScene", "DrawPreScene", "DrawPostScene", "DrawPreScene",
                       "DrawPostScene", "DrawPreGui", "DrawPostGui", "TickGraphics"}));
    EXPECT_EQ(passCameras, (std::vector<irr::scene::ICameraSceneNode*>{
                               active.GetCameraNode(), second.GetCameraNode(), third.GetCameraNode()}));
    // After the passes the active camera is the scene's camera again.
    EXPECT_EQ(scene->getActiveCamera(), active.GetCameraNode());

    // A removed secondary camera has no pass any more.
    ASSERT_TRUE(engine.RemoveSecondaryCamera(&second));
    recorder.journal.clear();
    ASSERT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(recorder.Without(kNotFrame), (Strings{"DrawPreScene", "DrawPostScene", "DrawPreScene",
                                                    "DrawPostScene", "DrawPreGui", "DrawPostGui"}));
}

TEST_F(FrameTest, SettingTheActiveCameraPublishesTheChange)
{
    CRecordListener<Kind::CameraChange> changes;
    CTestCamera first(engine, "first");
    CTestCamera second(engine, "second");
    engine.SetActiveCamera(&first);
    engine.SetActiveCamera(&second);
    ASSERT_EQ(changes.records.size(), 2u);
    EXPECT_EQ(changes.records[0].nameA, "first");
    EXPECT_EQ(changes.records[0].nameB, "");
    EXPECT_EQ(changes.records[1].nameA, "second");
    EXPECT_EQ(changes.records[1].nameB, "first");
    EXPECT_EQ(changes.records[1].sender, &engine);
    EXPECT_EQ(engine.GetDevice()->getSceneManager()->getActiveCamera(), second.GetCameraNode());
}

TEST_F(FrameTest, TheTickCarriesStepTimePreviousDrawnFrameAndTheDevicesWindowState)
{
    // 100 frames a second: one step every 10 ms. Without the idle sleep
    // the clock moves only here.
    simulation.EnableThrottling(false);
    CRecordListener<Kind::TickGraphics> ticks;
    const uint32_t start = simulation.GetApplication()->GetTime();
    simulation.Tick();
    clock.Advance(15);
    simulation.Tick();
    clock.Advance(5);
    simulation.Tick();
    clock.Advance(12);
    simulation.Tick();

    ASSERT_GE(ticks.records.size(), 2u);
    for (size_t index = 0; index < ticks.records.size(); ++index)
    {
        SCOPED_TRACE(index);
        const auto& tick = ticks.records[index];
        EXPECT_EQ(tick.engine, &engine);
        // The NULL device has no window, so it is never active; background
        // rendering draws the frame but does not change what the tick says.
        EXPECT_FALSE(tick.windowActive);
        if (index > 0)
        {
            EXPECT_EQ(tick.previousTime, ticks.records[index - 1].time);
        }
    }
    EXPECT_EQ(ticks.records.back().time, engine.GetCurrentTime());
    EXPECT_EQ(ticks.records.back().time, start + 32);
    EXPECT_EQ(engine.GetLastStepTime(), start + 32);
}

TEST_F(FrameTest, AnInactiveWindowIsNotDrawnUnlessBackgroundRenderingIsOn)
{
    engine.SetBackgroundRenderingEnabled(false);
    EXPECT_FALSE(engine.IsWindowActive());
    CChannelRecorder recorder;
    clock.Advance(100);
    EXPECT_FALSE(engine.Step());
    EXPECT_FALSE(engine.Draw(false, false, true));
    EXPECT_TRUE(recorder.Without(kNotFrame).empty());

    engine.SetBackgroundRenderingEnabled(true);
    EXPECT_TRUE(engine.Step());
    EXPECT_EQ(recorder.Without(kNotFrame), (Strings{"DrawPreGui", "DrawPostGui", "TickGraphics"}));
}

TEST_F(FrameTest, DrawOnRequestPublishesTheFrameButNoTick)
{
    CChannelRecorder recorder;
    EXPECT_TRUE(engine.Draw(true, true, true));
    EXPECT_EQ(recorder.Without(kNotFrame), (Strings{"DrawPreGui", "DrawPostGui"}));
}

TEST(FrameWithoutDevice, NothingIsDrawnBeforeInitOrAfterDestroy)
{
    CGraphicsSimulation simulation;
    simulation.graphics.SetBackgroundRenderingEnabled(true);
    CChannelRecorder recorder;
    EXPECT_FALSE(simulation.graphics.Draw(false, false, true));
    EXPECT_FALSE(simulation.graphics.Draw(false, false, false));
    EXPECT_FALSE(simulation.graphics.Step());
    ASSERT_TRUE(simulation.InitNull());
    simulation.graphics.Destroy();
    EXPECT_FALSE(simulation.graphics.Draw(false, false, false));
    EXPECT_FALSE(simulation.graphics.Step());
    EXPECT_TRUE(recorder.Without(kNotFrame).empty());
}

TEST_F(FrameTest, EntitiesFollowTheirNodesAfterTheFrame)
{
    CTestFrameEntity moved;
    CTestFrameEntity animated;
    CTestFrameEntity gone;
    int updatesDuringFrame = -1;
    CChannelRecorder recorder;
    recorder.action = [&](const std::string& channel)
    {
        if (channel == "DrawPostGui")
            updatesDuringFrame = moved.updates;
    };
    engine.AddPendingNodeUpdate(&moved);
    engine.AddPendingNodeUpdate(&moved);
    engine.AddPendingNodeUpdate(&gone);
    engine.ForgetEntity(&gone);
    engine.AddAutoAnimatedEntity(&animated);

    ASSERT_TRUE(engine.Draw(false, false, false));
    ASSERT_TRUE(engine.Draw(false, false, false));

    // Updated once, after the frame that saw the move; the pending set is
    // emptied, the animated set keeps its entries.
    EXPECT_EQ(updatesDuringFrame, 1);
    EXPECT_EQ(moved.updates, 1);
    EXPECT_EQ(gone.updates, 0);
    EXPECT_EQ(animated.animations, 2);
    EXPECT_TRUE(engine.RemoveAutoAnimatedEntity(&animated));
    ASSERT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(animated.animations, 2);
}

TEST_F(FrameTest, ASubscriberMayCloseTheDeviceInTheMiddleOfAFrame)
{
    CTestCamera active(engine, "active");
    CTestCamera secondary(engine, "secondary");
    engine.SetActiveCamera(&active);
    engine.AddSecondaryCamera(&secondary);
    CChannelRecorder recorder;
    recorder.action = [&](const std::string& channel)
    {
        if (channel == "DrawPostScene" && engine.IsRunning())
            engine.Destroy();
    };
    EXPECT_TRUE(engine.Draw(false, false, false));
    EXPECT_FALSE(engine.IsRunning());
    // The secondary camera was forgotten with the device.
    EXPECT_EQ(recorder.Without(kNotFrame),
              (Strings{"DrawPreScene", "DrawPostScene", "DrawPreGui", "DrawPostGui"}));
}

TEST_F(FrameTest, ASubscribersErrorEndsTheSceneAndReachesTheCaller)
{
    int failures = 0;
    CChannelRecorder recorder;
    recorder.action = [&](const std::string& channel)
    {
        if (channel == "DrawPreGui" && failures++ == 0)
            throw Misc::Error::CKVOError(L"[Test] draw handler failed");
    };
    try
    {
        engine.Draw(false, false, false);
        ADD_FAILURE() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[Test] draw handler failed");
    }
    // The scene was ended: the next frame begins and draws normally.
    EXPECT_TRUE(engine.Draw(false, false, false));
}

TEST_F(FrameTest, TheFaderRunsItsFadeOutBeforeTheLoopEnds)
{
    Graphics::GUI::CGuiManager& gui = *engine.GetGuiManager();
    gui.GetFader().Configure(-1, CColor(0, 0, 0, 1), 0, 40);
    CRecordListener<Kind::TickGraphics> ticks;
    ASSERT_TRUE(engine.OnStart());
    // The loop's time is the fake clock; the fader's is the device's own
    // timer, so the loop keeps stepping until the fade has really ended.
    clock.Advance(100);
    simulation.RequestQuit();
    simulation.Tick();
    ASSERT_TRUE(simulation.Stop()) << "the fade-out needs time";
    EXPECT_FALSE(gui.GetFader().IsComplete());
    EXPECT_FALSE(gui.IsStarted());
    // Bounded by the device's time, which the fade follows, not by a number
    // of steps: an optimised build steps through any number of them before
    // 40 real milliseconds have passed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (simulation.Stop() && std::chrono::steady_clock::now() < deadline)
    {
        clock.Advance(10);
        simulation.Tick();
    }
    EXPECT_TRUE(gui.GetFader().IsComplete());
    EXPECT_GT(ticks.records.size(), 1u);
}

TEST_F(FrameTest, WithoutAFaderTheLoopStopsAtOnce)
{
    EXPECT_TRUE(engine.OnStart());
    EXPECT_TRUE(engine.GetGuiManager()->IsStarted());
    EXPECT_TRUE(engine.OnStop());
    EXPECT_FALSE(engine.GetGuiManager()->IsStarted());
}

TEST_F(FrameTest, ClosingTheWindowDestroysTheDeviceAndQuitsWithStatusOne)
{
    CChannelRecorder recorder;
    engine.GetDevice()->closeDevice();
    clock.Advance(100);
    EXPECT_FALSE(simulation.Tick());
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(simulation.quits, (std::vector<int32_t>{1}));
    EXPECT_TRUE(recorder.Without(kNotFrame).empty());
    EXPECT_EQ(engine.GetDesiredFrameRate(), 0u);
}

// The real engine object ends the process with status 1 when the user
// closes the window while the loop runs.
class CLoopSimulation : public Simulation::CSimulationManager
{
public:
    CLoopSimulation() : graphics(this)
    {
        GetSubEngineMap().clear();
        GetSubEngineMap()["graphics"] = &graphics;
    }
    ~CLoopSimulation() override { GetSubEngineMap().clear(); }

    Graphics::CGraphicsEngine graphics;
};

TEST(FrameDeathTest, ClosingTheWindowEndsTheProgramWithStatusOne)
{
    EXPECT_EXIT(
        {
            CLoopSimulation simulation;
            simulation.graphics.Init("NULL", 64, 64, false, 16, false, false, false, 100, 0, 0, -1, -1, true);
            simulation.graphics.SetBackgroundRenderingEnabled(true);
            int frames = 0;
            CRecordListener<Kind::TickGraphics> ticks(
                [&](const Graphics::Multicast::CEvtGraphicsTick&)
                {
                    if (++frames == 3)
                        simulation.graphics.GetDevice()->closeDevice();
                    return false;
                });
            simulation.Run(0);
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "");
}

} // namespace
