// Agents play a skinned mesh built here: frame ranges, speed, looping, the
// end of a non-looping animation, joint values that follow the frames, and
// entities carried on a joint. Also the errors without a node and the
// shadow switch on a driver without a stencil buffer.

#include "support/JoinedEntity.h"
#include "support/NullGraphicsEngine.h"

#include "core/foundation/KVOError.h"
#include "graphics/scene/GraphicalAgent.h"
#include "graphics/scene/GraphicalUnit.h"
#include "graphics/meshes/WalkerMesh.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <functional>
#include <string>

namespace
{

using namespace irr;
using Graphics::Scene::CGraphicalEntity;

using CTestAgent = CJoinedEntity<Graphics::Scene::CGraphicalAgent>;
using CTestUnit = CJoinedEntity<Graphics::Scene::CGraphicalUnit>;

const char* const kWalker = "00000000-0000-4000-8000-0000000000e1";
const char* const kSword = "00000000-0000-4000-8000-0000000000e2";

class AnimationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CacheWalker(null.Scene());
        walker.SetName(L"walker");
        walker.SetModelName(L"walker.x");
        engine.Add(&walker, nullptr, "");
        ASSERT_NE(walker.GetSceneNode(), nullptr);
        ASSERT_EQ(walker.GetSceneNode()->getType(), scene::ESNT_ANIMATED_MESH);
    }
    scene::IAnimatedMeshSceneNode* Node() const
    {
        return static_cast<scene::IAnimatedMeshSceneNode*>(walker.GetSceneNode());
    }

    CNullEngine null;
    Graphics::CGraphicsEngine& engine = null.engine;
    CTestAgent walker{kWalker};
};

TEST_F(AnimationTest, ANonLoopingAnimationEndsOnceAndStaysEndedUntilLoopingIsSwitchedOff)
{
    EXPECT_EQ(walker.GetAnimationFrameCount(),
              static_cast<int32_t>(walker.GetAnimatedMesh()->getFrameCount()));
    EXPECT_GT(walker.GetAnimationFrameCount(), 1);
    walker.SetAnimationSpeed(0, 10);
    EXPECT_EQ(walker.GetAnimationStartFrame(), 0);
    EXPECT_EQ(walker.GetAnimationEndFrame(), 10);
    walker.SetAnimationFrameRate(10.5f);
    EXPECT_EQ(walker.GetAnimationFrameRate(), 10);
    walker.SetAnimationLooping(false);
    EXPECT_FALSE(walker.GetAnimationLooping());
    EXPECT_FALSE(walker.HasAnimationEnded());

    // Half a second: frame 5 or so, still playing.
    Node()->OnAnimate(1000);
    Node()->OnAnimate(1500);
    EXPECT_NEAR(walker.GetAnimationFrame(), 5.25f, 0.5f);
    EXPECT_FALSE(walker.HasAnimationEnded());
    // Two seconds on: past the end frame, held there, and reported.
    Node()->OnAnimate(3500);
    EXPECT_EQ(walker.GetAnimationFrame(), 10.0f);
    EXPECT_TRUE(walker.HasAnimationEnded());
    // Looping again, or starting another range, keeps the flag ...
    walker.SetAnimationLooping(true);
    walker.SetAnimationSpeed(2, 8);
    EXPECT_TRUE(walker.GetAnimationLooping());
    EXPECT_TRUE(walker.HasAnimationEnded());
    // ... and a looping animation wraps round without ending.
    Node()->OnAnimate(6000);
    EXPECT_GE(walker.GetAnimationFrame(), 2.0f);
    EXPECT_LE(walker.GetAnimationFrame(), 8.0f);
    // Switching looping off clears it.
    walker.SetAnimationLooping(false);
    EXPECT_FALSE(walker.HasAnimationEnded());

    // A frame set with a transition of 500 ms; frames outside the range
    // played are held at its ends.
    walker.SetAnimationFrame(6.0f, 500);
    EXPECT_EQ(walker.GetAnimationFrame(), 6.0f);
    walker.SetAnimationFrame(10.0f, 0);
    EXPECT_EQ(walker.GetAnimationFrame(), 8.0f);
    walker.SetAnimationFrame(3.0f, 0);
    EXPECT_EQ(walker.GetAnimationFrame(), 3.0f);
}

TEST_F(AnimationTest, JointsFollowTheFramesAndCarryTheEntitiesAttachedToThem)
{
    ASSERT_TRUE(walker.GetAnimatedMeshJointName(1).has_value());
    EXPECT_EQ(*walker.GetAnimatedMeshJointName(0), "root");
    EXPECT_EQ(*walker.GetAnimatedMeshJointName(1), "hand");
    EXPECT_FALSE(walker.GetAnimatedMeshJointName(2).has_value());
    EXPECT_FALSE(walker.GetAnimatedMeshJointName(0xFFFFFFFFu).has_value());

    walker.SetPosition(CVector(10, 0, 0));
    walker.SetJointMode("READ");
    walker.SetAnimationFrame(10.0f, 0);
    walker.AnimateJoints();
    CVector position(-1, -1, -1);
    walker.GetAnimatedMeshJointPosition("hand", position);
    EXPECT_NEAR(position.x, 10.0f, 1e-4f);
    EXPECT_NEAR(position.y, 3.0f, 1e-4f);
    CVector rotation;
    CVector scale;
    walker.GetAnimatedMeshJointTransformation("hand", position, rotation, scale);
    EXPECT_NEAR(position.y, 3.0f, 1e-4f);
    EXPECT_NEAR(scale.x, 1.0f, 1e-4f);
    EXPECT_NEAR(rotation.z, 0.0f, 1e-3f);
    // A joint the mesh lacks leaves the values alone.
    CVector unchanged(7, 7, 7);
    walker.GetAnimatedMeshJointPosition("foot", unchanged);
    walker.GetAnimatedMeshJointScale("", unchanged);
    EXPECT_EQ(unchanged.x, 7.0f);

    // A sword in the hand follows the hand.
    CTestUnit sword(kSword);
    sword.SetPosition(CVector(0, 1, 0));
    engine.Add(&sword, nullptr, "");
    walker.AttachChild(&sword, "hand");
    std::string parent;
    ASSERT_TRUE(sword.GetAttachmentParent(parent));
    EXPECT_EQ(parent, "hand");
    walker.SetAnimationFrame(0.0f, 0);
    walker.AnimateJoints();
    sword.GetSceneNode()->updateAbsolutePosition();
    EXPECT_NEAR(sword.GetSceneNode()->getAbsolutePosition().Y, 3.0f, 1e-3f);
    walker.SetAnimationFrame(10.0f, 0);
    walker.AnimateJoints();
    sword.GetSceneNode()->updateAbsolutePosition();
    EXPECT_NEAR(sword.GetSceneNode()->getAbsolutePosition().Y, 4.0f, 1e-3f);
    EXPECT_NEAR(sword.GetSceneNode()->getAbsolutePosition().X, 10.0f, 1e-3f);

    // Back on the walker itself, then on the root of the scene.
    walker.AttachChild(&sword, "");
    ASSERT_TRUE(sword.GetAttachmentParent(parent));
    EXPECT_EQ(parent, kWalker);
    null.Scene()->getRootSceneNode()->addChild(sword.GetSceneNode());
    parent = "unchanged";
    EXPECT_FALSE(sword.GetAttachmentParent(parent));
    EXPECT_EQ(parent, "unchanged");

    // Errors: an unknown joint, a joint on a node without one, a loop.
    EXPECT_EQ(ErrorOf([&] { walker.AttachChild(&sword, "foot"); }),
              "[CGraphicalEntity::AttachChild] Joint not found:foot");
    EXPECT_EQ(ErrorOf([&] { sword.AttachChild(&walker, "hand"); }),
              std::string("[CGraphicalEntity::AttachChild] Graphical entity not intialised [,") + kSword +
                  "]");
    sword.AttachChild(&walker, "");
    EXPECT_EQ(ErrorOf([&] { walker.AttachChild(&sword, ""); }),
              std::string("[CGraphicalEntity::AttachChild] Invalid child entity [,") + kSword + "]");
    EXPECT_EQ(ErrorOf([&] { walker.AttachChild(&walker, ""); }),
              std::string("[CGraphicalEntity::AttachChild] Invalid child entity [walker,") + kWalker + "]");
    EXPECT_EQ(ErrorOf([&] { walker.AttachChild(nullptr, ""); }),
              "[CGraphicalEntity::AttachChild] Invalid child entity [,]");
    null.Scene()->getRootSceneNode()->addChild(walker.GetSceneNode());
    engine.Remove(&sword);
}

TEST_F(AnimationTest, AnimationNamesAndJointModes)
{
    EXPECT_EQ(Graphics::Scene::convertMD2Animation("MD2_STAND"), 0);
    EXPECT_EQ(Graphics::Scene::convertMD2Animation("MD2_RUN"), 1);
    EXPECT_EQ(Graphics::Scene::convertMD2Animation("MD2_BOOM"), 20);
    for (const char* bad : {"MD2_run", "MD2", "MD2_STAND ", ""})
        EXPECT_EQ(ErrorOf([&] { Graphics::Scene::convertMD2Animation(bad); }),
                  std::string("[convertMD2Animation] Unknown MD2 animation type:") + bad);
    // A skinned mesh has no MD2 animations: the names change nothing.
    walker.SetAnimationSpeed(1, 9);
    walker.SetAnimation("MD2_RUN");
    walker.SetAnimation("walk");
    EXPECT_EQ(ErrorOf([&] { walker.SetAnimation("MD2_run"); }),
              "[convertMD2Animation] Unknown MD2 animation type:MD2_run");
    // "Write" is no mode: the joints are left alone.
    for (const char* mode : {"READ", "read", "WRITE", "write", "Write", ""})
    {
        walker.SetJointMode(mode);
        EXPECT_TRUE(walker.GetSceneNode() != nullptr) << mode;
    }
}

TEST(AnimationWithoutNodeTest, OperationsNameThemselvesInTheirErrors)
{
    CTestAgent loose(kWalker);
    loose.SetName(L"loose");
    const std::string tail = std::string("] Animated mesh not intialised [loose,") + kWalker + "]";
    CVector out;
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"SetAnimationLooping", [&] { loose.SetAnimationLooping(true); }},
        {"SetAnimationFrameRate", [&] { loose.SetAnimationFrameRate(1.0f); }},
        {"SetAnimationSpeed", [&] { loose.SetAnimationSpeed(0, 1); }},
        {"GetAnimationStartFrame", [&] { loose.GetAnimationStartFrame(); }},
        {"GetAnimationEndFrame", [&] { loose.GetAnimationEndFrame(); }},
        {"GetAnimationFrameRate", [&] { loose.GetAnimationFrameRate(); }},
        {"GetAnimationLooping", [&] { loose.GetAnimationLooping(); }},
        {"GetAnimationFrameCount", [&] { loose.GetAnimationFrameCount(); }},
        {"GetAnimationFrame", [&] { loose.GetAnimationFrame(); }},
        {"SetAnimationFrame", [&] { loose.SetAnimationFrame(1.0f, 0); }},
        {"SetAnimation", [&] { loose.SetAnimation("walk"); }},
        {"GetAnimatedMeshJointName", [&] { loose.GetAnimatedMeshJointName(0); }},
        {"GetAnimatedMeshJointPosition", [&] { loose.GetAnimatedMeshJointPosition("hand", out); }},
        {"GetAnimatedMeshJointRotation", [&] { loose.GetAnimatedMeshJointRotation("hand", out); }},
        {"GetAnimatedMeshJointScale", [&] { loose.GetAnimatedMeshJointScale("hand", out); }},
        {"GetAnimatedMeshJointTransformation",
         [&] { loose.GetAnimatedMeshJointTransformation("hand", out, out, out); }},
    };
    for (const auto& [name, action] : cases)
        EXPECT_EQ(ErrorOf(action), std::string("[CGraphicalEntity::") + name + tail);
    std::string parent;
    EXPECT_EQ(ErrorOf([&] { loose.GetAttachmentParent(parent); }),
              std::string("[CGraphicalEntity::GetAttachmentParent] Graphical entity not intialised [loose,") +
                  kWalker + "]");
    EXPECT_EQ(ErrorOf([&] { loose.AttachChild(&loose, ""); }),
              std::string("[CGraphicalEntity::AttachChild] Graphical entity not intialised [loose,") +
                  kWalker + "]");
    // These need no node.
    loose.SetJointMode("READ");
    loose.AnimateJoints();
    EXPECT_FALSE(loose.HasAnimationEnded());
    loose.SetShadows(true, L"none.x");
    EXPECT_TRUE(loose.GetShadows());
}

TEST(AnimationOtherNodeTest, NodesThatAreNoAnimatedMeshAnswerZero)
{
    CNullEngine null;
    CTestAgent cube(kWalker);
    null.engine.Add(&cube, nullptr, "");
    ASSERT_EQ(cube.GetSceneNode()->getType(), scene::ESNT_CUBE);
    cube.SetAnimationSpeed(3, 9);
    cube.SetAnimationLooping(true);
    EXPECT_EQ(cube.GetAnimationStartFrame(), 0);
    EXPECT_EQ(cube.GetAnimationEndFrame(), 0);
    EXPECT_EQ(cube.GetAnimationFrameRate(), 0);
    EXPECT_EQ(cube.GetAnimationFrameCount(), 0);
    EXPECT_FALSE(cube.GetAnimationLooping());
    EXPECT_EQ(cube.GetAnimationFrame(), 0.0f);
    EXPECT_FALSE(cube.GetAnimatedMeshJointName(0).has_value());
    CTestUnit other("00000000-0000-4000-8000-0000000000e3");
    null.engine.Add(&other, nullptr, "");
    EXPECT_EQ(ErrorOf([&] { cube.AttachChild(&other, "hand"); }),
              std::string("[CGraphicalEntity::AttachChild] Graphical entity not intialised [,") + kWalker +
                  "]");
}

TEST_F(AnimationTest, ShadowsWithoutAStencilBufferAreSwitchedWithoutAVolume)
{
    // The NULL driver has no stencil buffer: Irrlicht makes no volume.
    walker.SetShadows(true, L"");
    EXPECT_TRUE(walker.GetShadows());
    walker.SetShadows(false, L"walker.x");
    walker.SetShadows(true, L"walker.x");
    for (scene::ISceneNode* child : walker.GetSceneNode()->getChildren())
        EXPECT_NE(child->getType(), scene::ESNT_SHADOW_VOLUME);
    // A moved agent takes its joints along at once.
    walker.SetPosition(CVector(0, 5, 0));
    walker.UpdateTransformation();
    EXPECT_NEAR(Node()->getJointNode("root")->getAbsolutePosition().Y, 5.0f, 1e-4f);
}

} // namespace
