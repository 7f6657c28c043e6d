// Cameras: the active and the secondary cameras with their change events,
// values stored before a node exists and applied to it, projections, moves
// and turns.

#include "support/JoinedEntity.h"
#include "support/NullGraphicsEngine.h"

#include "core/events/Multicast.h"
#include "graphics/engine/GraphicsEngine.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cmath>

namespace
{

using namespace irr;
namespace Kind = Misc::Multicast::Kind;

const char* const kFirst = "00000000-0000-4000-8000-000000000001";
const char* const kSecond = "00000000-0000-4000-8000-000000000002";

class CCameraChanges : public Misc::Multicast::CSubscriberOf<Kind::CameraChange>
{
public:
    CCameraChanges() { Misc::Multicast::CMulticastOf<Kind::CameraChange>::Subscribe(this, 0); }
    ~CCameraChanges() override { Misc::Multicast::CMulticastOf<Kind::CameraChange>::Unsubscribe(this); }
    CCameraChanges(const CCameraChanges&) = delete;
    CCameraChanges& operator=(const CCameraChanges&) = delete;

    bool OnEvent(const CEvtEntityPair& change) override
    {
        pairs.emplace_back(change.nameA, change.nameB);
        return false;
    }

    std::vector<std::pair<std::string, std::string>> pairs;
};

void ExpectNear(const CVector& actual, const CVector& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

class CameraTest : public ::testing::Test
{
protected:
    CNullEngine null;
    Graphics::CGraphicsEngine& engine = null.engine;
};

TEST_F(CameraTest, TheFirstCameraBecomesActiveAndStaysSo)
{
    CCameraChanges changes;
    CTestCameraEntity first(kFirst);
    CTestCameraEntity second(kSecond);
    engine.Add(&first, nullptr, "");
    engine.Add(&second, nullptr, "");
    EXPECT_EQ(engine.GetActiveCamera(), &first);
    EXPECT_EQ(null.Scene()->getActiveCamera(), first.GetCameraNode());
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(changes.pairs, (std::vector<Pair>{{kFirst, ""}, {kFirst, kFirst}}));
    // Applying an existing camera again publishes nothing.
    engine.Add(&first, nullptr, "");
    EXPECT_EQ(changes.pairs.size(), 2u);

    second.Activate();
    EXPECT_EQ(engine.GetActiveCamera(), &second);
    EXPECT_EQ(changes.pairs.back(), Pair(kSecond, kFirst));

    EXPECT_TRUE(engine.AddSecondaryCamera(&first));
    EXPECT_FALSE(engine.AddSecondaryCamera(&first));
    EXPECT_TRUE(engine.Draw(false, false, false));
    EXPECT_TRUE(engine.RemoveSecondaryCamera(&first));
    EXPECT_FALSE(engine.RemoveSecondaryCamera(&first));
}

TEST_F(CameraTest, ValuesAreStoredFirstAndReachTheNodeWhenItIsMade)
{
    CTestCameraEntity camera(kFirst);
    camera.SetNear(2.0f);
    camera.SetFar(500.0f);
    camera.SetFOV(4.0f);
    camera.SetAspectRatio(2.0f);
    camera.SetLookAt(CVector(0, 0, 50));
    camera.SetUp(CVector(0, 0, 1));
    camera.SetOffset(CVector(0, 10, 0));
    camera.SetOrthogonal(10, 10);
    EXPECT_FALSE(camera.IsOrthogonal());
    EXPECT_EQ(camera.GetCameraNode(), nullptr);

    engine.Add(&camera, nullptr, "");
    scene::ICameraSceneNode* node = camera.GetCameraNode();
    ASSERT_NE(node, nullptr);
    EXPECT_FLOAT_EQ(node->getNearValue(), 2.0f);
    EXPECT_FLOAT_EQ(node->getFarValue(), 500.0f);
    EXPECT_FLOAT_EQ(node->getFOV(), 3.14159265f / 4.0f);
    EXPECT_FLOAT_EQ(node->getAspectRatio(), 2.0f);
    EXPECT_EQ(node->getTarget(), core::vector3df(0, 0, 50));
    EXPECT_EQ(node->getUpVector(), core::vector3df(0, 0, 1));
    // The offset moves the node, not the stored position.
    EXPECT_EQ(node->getPosition(), core::vector3df(0, 10, 0));
    EXPECT_EQ(camera.GetPosition().y, 0.0f);
    // The camera answers its own up vector.
    EXPECT_EQ(camera.GetUpVector().z, 1.0f);

    camera.SetFOV(2.0f);
    EXPECT_FLOAT_EQ(node->getFOV(), 3.14159265f / 2.0f);
}

TEST_F(CameraTest, ProjectsAKnownPointAndSwitchesProjections)
{
    CTestCameraEntity camera(kFirst);
    camera.SetPosition(CVector(0, 0, -10));
    camera.SetLookAt(CVector(0, 0, 0));
    camera.SetAspectRatio(640.0f / 480.0f);
    engine.Add(&camera, nullptr, "");
    scene::ICameraSceneNode* node = camera.GetCameraNode();
    node->OnAnimate(0);
    node->render();
    scene::ISceneCollisionManager* collision = null.Scene()->getSceneCollisionManager();
    // The target lies in the middle of the screen; a point to the right of
    // it lies right of the middle.
    EXPECT_EQ(collision->getScreenCoordinatesFrom3DPosition(core::vector3df(0, 0, 0), node),
              core::position2di(320, 240));
    EXPECT_GT(collision->getScreenCoordinatesFrom3DPosition(core::vector3df(1, 0, 0), node).X, 320);
    // The engine's answer in screen fractions, through the active camera.
    const CPoint centre = engine.GetScreenPosFrom3DPos(CVector(0, 0, 0));
    EXPECT_FLOAT_EQ(centre.x, 0.5f);
    EXPECT_FLOAT_EQ(centre.y, 0.5f);

    camera.SetOrthogonal(20.0f, 10.0f);
    EXPECT_TRUE(camera.IsOrthogonal());
    const core::matrix4& ortho = node->getProjectionMatrix();
    EXPECT_FLOAT_EQ(ortho[0], 2.0f / 20.0f);
    EXPECT_FLOAT_EQ(ortho[5], 2.0f / 10.0f);
    EXPECT_FLOAT_EQ(ortho[10], 1.0f / (2000.0f - 1.0f));
    EXPECT_FLOAT_EQ(ortho[14], 1.0f / (1.0f - 2000.0f));
    EXPECT_FLOAT_EQ(ortho[15], 1.0f);

    camera.SetPerspective();
    EXPECT_FALSE(camera.IsOrthogonal());
    const core::matrix4& perspective = node->getProjectionMatrix();
    const float h = 1.0f / std::tan(3.14159265f / 2.5f / 2.0f);
    EXPECT_NEAR(perspective[5], h, 1e-5f);
    EXPECT_NEAR(perspective[0], h / (640.0f / 480.0f), 1e-5f);
    EXPECT_FLOAT_EQ(perspective[11], 1.0f);
}

TEST_F(CameraTest, MovesAndTurns)
{
    CTestCameraEntity camera(kFirst);
    camera.SetLookAt(CVector(0, 0, 10));
    camera.MoveForward(CVector(1, 1, 1), 2.0f);
    ExpectNear(camera.GetPosition(), CVector(0, 0, 2));
    ExpectNear(camera.GetLookAt(), CVector(0, 0, 12));
    // Looking along +z with up +y, left is -x.
    ExpectNear(camera.GetLeftDirection(), CVector(-1, 0, 0));
    camera.StrafeLeft(CVector(3, 3, 3), 1.0f);
    ExpectNear(camera.GetPosition(), CVector(-3, 0, 2));
    camera.StrafeUp(CVector(1, 2, 1), 1.0f);
    ExpectNear(camera.GetPosition(), CVector(-3, 2, 2));
    ExpectNear(camera.GetLookAt(), CVector(-3, 2, 12));

    // A quarter turn about the vertical through the camera.
    camera.RotateLeft(90.0f, 1.0f);
    const CVector target = camera.GetLookAt();
    EXPECT_NEAR(target.y, 2.0f, 1e-4f);
    EXPECT_NEAR(std::hypot(target.x + 3.0f, target.z - 2.0f), 10.0f, 1e-3f);
    EXPECT_NEAR(target.z, 2.0f, 1e-3f);
    ExpectNear(camera.GetPosition(), CVector(-3, 2, 2));

    // Looking at itself: no direction, no move, no infinities.
    CTestCameraEntity still(kSecond);
    still.MoveForward(CVector(1, 1, 1), 1.0f);
    still.StrafeLeft(CVector(1, 1, 1), 1.0f);
    still.RotateUp(45.0f, 1.0f);
    ExpectNear(still.GetPosition(), CVector(0, 0, 0));
    ExpectNear(still.GetLookAt(), CVector(0, 0, 0));
}

TEST_F(CameraTest, ClearRestoresTheDefaults)
{
    CTestCameraEntity camera(kFirst);
    camera.SetNear(5);
    camera.SetViewPort(CRect(0.5f, 0, 1, 1));
    camera.SetTypeName(L"chase");
    camera.Clear();
    EXPECT_EQ(camera.GetCameraTypeName(), L"unknown");
    EXPECT_EQ(camera.GetNear(), 1.0f);
    EXPECT_EQ(camera.GetViewPort().x1, 0.0f);
    EXPECT_FLOAT_EQ(camera.GetAspectRatio(), 1.3333334f);
}

} // namespace
