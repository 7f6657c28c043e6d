// The camera processor on the program's real engine object (NULL driver)
// with one world camera found through a lookup of its own: when a tick is
// due, direct and physical flight, exclusive key pairs, the mouse's dead
// zone, and a camera that goes away while the control runs.

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/manager/GuiManager.h"
#include "lenscart/CameraProcessor.h"
#include "physics/PhysicsEngine.h"
#include "script_api/world/EntityArguments.h"
#include "support/ErrorOf.h"
#include "support/LuaTestState.h"
#include "world/ManagedCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace
{

using Camera = CManagedEntity<Graphics::Scene::CGraphicalCamera>;
using LensCart::CCameraProcessor;

constexpr const char* kCameraId = "0b7d3c1e-4f2a-4c39-9d6e-8a1b2c3d4e5f";

// The world's cameras as far as the control sees them: at most one.
class COneCameraWorld final : public ScriptWorld::IEntityLookup
{
public:
    COneCameraWorld() : m_previous(ScriptWorld::SetEntityLookup(this)) {}
    ~COneCameraWorld() { ScriptWorld::SetEntityLookup(m_previous); }
    COneCameraWorld(const COneCameraWorld&) = delete;
    COneCameraWorld& operator=(const COneCameraWorld&) = delete;

    std::unique_ptr<Camera> camera;

    Misc::World::IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) override
    {
        if (typeId != Misc::World::kTypeIdCamera || camera == nullptr || id != camera->GetId())
            return nullptr;
        return camera.get();
    }
    Misc::World::IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        return FindUnit(Misc::World::kTypeIdCamera, id);
    }

private:
    ScriptWorld::IEntityLookup* m_previous;
};

class CameraProcessorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        ASSERT_EQ(
            RunScript(engine->GetMainState(),
                      "assert(IGraphics:init('NULL', 800, 600, false, 16, false, false, false, 100, false))"),
            "");
        graphics = engine->GetPart<Graphics::CGraphicsEngine>();
        // The engine object's world installed itself as the lookup: the
        // test's own goes back in front of it.
        ScriptWorld::SetEntityLookup(&world);
        world.camera = std::make_unique<Camera>();
        world.camera->SetId(kCameraId);
        world.camera->SetPosition(CVector(0, 0, 0));
        world.camera->SetLookAt(CVector(0, 0, 10));
        // The cursor in the dead zone: only the keys move the camera.
        graphics->SetCursorPosition(0.5f, 0.5f);
    }
    void TearDown() override
    {
        world.camera.reset();
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    // Binds the action to a key the first time, then sets it on or off.
    void Key(const wchar_t* action, bool on)
    {
        Graphics::GUI::CInputKeyMap& keys = graphics->GetGuiManager()->GetInputKeyMap();
        if (!keys.ActionExists(action))
            keys.AddActionKeyCode(action, L"", 0x41, false, false);
        keys.SetActionOn(action, on);
    }
    // A tick at time ms whose previous tick was at previous ms.
    void Tick(uint32_t time, uint32_t previous)
    {
        CCameraProcessor::Event tick;
        tick.engine = engine.get();
        tick.time = time;
        tick.previousTime = previous;
        EXPECT_FALSE(processor.OnEvent(tick));
    }

    std::unique_ptr<CScriptManager> engine;
    Graphics::CGraphicsEngine* graphics = nullptr;
    COneCameraWorld world;
    CCameraProcessor processor;
};

TEST_F(CameraProcessorTest, SettingsKeepTheirDocumentedForms)
{
    const struct
    {
        double rate;
        uint32_t period;
    } rates[] = {{0, 1}, {30, 33}, {1000, 1}, {1001, 0}, {-5, 1}, {NAN, 1}, {1e300, 0}, {0.9, 1}, {40.7, 25}};
    for (const auto& row : rates)
    {
        processor.SetFrameRate(row.rate);
        EXPECT_EQ(processor.GetPeriod(), row.period) << row.rate;
    }
    const struct
    {
        float set;
        float stored;
    } thresholds[] = {{2, 0.5f}, {-1, 0}, {0.4f, 0.2f}, {NAN, 0}};
    for (const auto& row : thresholds)
    {
        processor.SetRotateThreshold(row.set);
        EXPECT_FLOAT_EQ(processor.GetRotateThreshold(), row.stored) << row.set;
    }
}

TEST_F(CameraProcessorTest, AnUnknownCameraIsRefusedAndTheOldOneKept)
{
    processor.Start(kCameraId, 0);
    EXPECT_EQ(ErrorOf([&] { processor.Start("no-such-camera", 0); }),
              "[CWorldMap::GetUnit] Unit not found [no-such-camera]");
    EXPECT_EQ(processor.GetCameraId(), kCameraId);
}

TEST_F(CameraProcessorTest, DirectFlightMovesOnDueTicksAndForwardWins)
{
    processor.Start(kCameraId, 1000);
    ASSERT_FALSE(processor.IsPhysicsMode());
    Key(CCameraProcessor::kMoveForward, true);
    Key(CCameraProcessor::kMoveBackward, true);

    // 20 ms after the start: not due with the 25 ms period.
    Tick(1020, 1000);
    EXPECT_FLOAT_EQ(world.camera->GetPosition().z, 0.0f);

    // Due at 1100: 0.1 s at 10 units per second, camera and target alike.
    Tick(1100, 1050);
    EXPECT_FLOAT_EQ(world.camera->GetPosition().z, 1.0f);
    EXPECT_FLOAT_EQ(world.camera->GetLookAt().z, 11.0f);
    // The reference time is the tick before (1050): the next step counts
    // from there.
    Tick(1150, 1100);
    EXPECT_FLOAT_EQ(world.camera->GetPosition().z, 2.0f);
}

TEST_F(CameraProcessorTest, LookingDownMovesOverTheGroundOnlyAndSlower)
{
    world.camera->SetLookAt(CVector(0, -10, 10));
    processor.Start(kCameraId, 0);
    Key(CCameraProcessor::kMoveForward, true);
    Tick(1000, 0);
    const CVector p = world.camera->GetPosition();
    EXPECT_FLOAT_EQ(p.y, 0.0f);
    // The facing is not normalised again after its height is dropped.
    EXPECT_NEAR(p.z, 10.0f * std::sqrt(0.5f), 1e-4);

    processor.EnableYComponent(true);
    Tick(2000, 1000);
    EXPECT_LT(world.camera->GetPosition().y, 0.0f);
}

TEST_F(CameraProcessorTest, TheMouseTurnsOutsideTheDeadZoneOnly)
{
    processor.Start(kCameraId, 0);
    // On the dead zone's edge (0.5 + 0.1): no turn.
    graphics->SetCursorPosition(0.6f, 0.5f);
    Tick(1000, 0);
    EXPECT_FLOAT_EQ(world.camera->GetLookAt().x, 0.0f);

    // At the right edge the turn is (0.5 - 1) x 100 = -50 per second: the
    // same as the camera's own RotateLeft(-50, elapsed). Elapsed counts from
    // the tick before the last (0), so 2 s.
    Camera expected;
    expected.SetLookAt(CVector(0, 0, 10));
    expected.RotateLeft(-50.0f, 2.0f);
    graphics->SetCursorPosition(1.0f, 0.5f);
    Tick(2000, 1000);
    EXPECT_NEAR(world.camera->GetLookAt().x, expected.GetLookAt().x, 1e-4);
    EXPECT_NEAR(world.camera->GetLookAt().z, expected.GetLookAt().z, 1e-4);
    EXPECT_NE(expected.GetLookAt().x, 0.0f);

    // A rotate speed of 0 switches the mouse off.
    processor.SetRotateSpeed(0);
    const CVector before = world.camera->GetLookAt();
    Tick(3000, 2000);
    EXPECT_FLOAT_EQ(world.camera->GetLookAt().x, before.x);
}

TEST_F(CameraProcessorTest, AHeavyCameraFliesByImpulsesAndNoKeysPushNothing)
{
    auto* physics = engine->GetPart<CPhysicsEngine>();
    ASSERT_NE(physics, nullptr);
    world.camera->GetPhysicalPart()->SetMass(2.0f);
    ASSERT_GT(2.0f, physics->GetMinMass());
    processor.Start(kCameraId, 0);
    ASSERT_TRUE(processor.IsPhysicsMode());

    Tick(1000, 0);
    EXPECT_FLOAT_EQ(world.camera->GetPhysicalPart()->GetImpulseForce().z, 0.0f);

    // At rest, 10 units per second wanted of a 2 kg body within the 1.5 s
    // since the tick before the last.
    Key(CCameraProcessor::kMoveForward, true);
    Tick(1500, 1000);
    EXPECT_FLOAT_EQ(world.camera->GetPhysicalPart()->GetImpulseForce().z, 10.0f * 2.0f / 1.5f);
    // With no period, a tick at the reference time has no time to divide
    // by: no force.
    processor.SetFrameRate(2000);
    Tick(1500, 1500);
    const float before = world.camera->GetPhysicalPart()->GetImpulseForce().z;
    Tick(1500, 1500);
    EXPECT_FLOAT_EQ(world.camera->GetPhysicalPart()->GetImpulseForce().z, before);
    // Nothing moved the camera itself.
    EXPECT_FLOAT_EQ(world.camera->GetPosition().z, 0.0f);
}

TEST_F(CameraProcessorTest, ACameraThatGoesAwayIsNotMoved)
{
    processor.Start(kCameraId, 0);
    Key(CCameraProcessor::kMoveForward, true);
    world.camera.reset();
    Tick(1000, 0);
    Tick(1000, 1000);
}

TEST_F(CameraProcessorTest, TheCameraFlownIsTheOneItsIdFindsOnEachTick)
{
    processor.Start(kCameraId, 0);
    Key(CCameraProcessor::kMoveForward, true);
    Tick(1000, 0);
    EXPECT_GT(world.camera->GetPosition().z, 0.0f);
    // Gone after a tick found it (in no engine: only its destruction
    // tells): the sanitizer build sees any use of it.
    world.camera.reset();
    Tick(2000, 1000);
    // Another camera under the id is flown from then on.
    world.camera = std::make_unique<Camera>();
    world.camera->SetId(kCameraId);
    world.camera->SetLookAt(CVector(0, 0, 10));
    Tick(3000, 2000);
    const float flown = world.camera->GetPosition().z;
    EXPECT_GT(flown, 0.0f);
    // Given another id, the camera is not the one the control flies.
    world.camera->SetId("1c8e4d2f-5a3b-4d4a-8e7f-9b2c3d4e5f60");
    Tick(4000, 3000);
    EXPECT_FLOAT_EQ(world.camera->GetPosition().z, flown);
}

} // namespace
