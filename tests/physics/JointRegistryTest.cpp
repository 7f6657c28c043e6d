// The engine's joint registry: registering, finding and destroying joints,
// failed creations, rebuilding around a new body and after a world load.
#include "PhysicsTest.h"

#include "core/foundation/KVOError.h"
#include "graphics/scene/EntityArchive.h"
#include "physics/JointHinge.h"
#include "support/ErrorOf.h"
#include "support/JointTestWorld.h"

#include <functional>
#include <memory>
#include <string>

using EntityArchive::EForm;

namespace
{

using JointRegistryTest = CPhysicsTest;

// A hinge that counts how often hinges of its kind were destroyed.
class CCountedHinge : public CJointHinge
{
public:
    CCountedHinge(const std::string& id, CPhysicalEntity* child, CPhysicalEntity* parent)
        : CJointHinge(id, CVector(), CVector(0, 0, 1), child, parent, false, 0, 0)
    {
    }
    ~CCountedHinge() override { ++destroyed; }
    static int destroyed;
};
int CCountedHinge::destroyed = 0;

// A description of another joint under another type code.
class CRetyped : public CJoint
{
public:
    CRetyped(const CJoint& other, int32_t type) : CJoint(other) { m_type = type; }
};

} // namespace

TEST_F(JointRegistryTest, JointsLeaveWithTheirBodiesOnce)
{
    CCountedHinge::destroyed = 0;
    CPhysicalTestEntity& a = Add(1.0f, CVector(0, 5, 0));
    CPhysicalTestEntity& b = Add(1.0f, CVector(2, 5, 0));
    engine.RegisterJoint(std::make_unique<CCountedHinge>("same", &a, nullptr));
    engine.RegisterJoint(std::make_unique<CCountedHinge>("same", &a, nullptr));
    EXPECT_EQ(CCountedHinge::destroyed, 1) << "an older joint of the id goes";
    engine.RegisterJoint(std::make_unique<CCountedHinge>("to b", &b, &a));
    engine.RegisterJoint(std::make_unique<CCountedHinge>("b alone", &b, nullptr));

    // The body of a goes: both joints that involve it, each once.
    engine.RemoveEntity(&a);
    EXPECT_EQ(CCountedHinge::destroyed, 3);
    EXPECT_FALSE(engine.JointExists("same"));
    EXPECT_FALSE(engine.JointExists("to b"));
    EXPECT_TRUE(engine.JointExists("b alone"));
    // The entity itself goes.
    entities.pop_back();
    EXPECT_EQ(CCountedHinge::destroyed, 4);
    EXPECT_TRUE(engine.GetJoints().empty());
    Run(2);

    // A second start of the world takes every joint with it.
    CPhysicalTestEntity& c = Add(1.0f, CVector(0, 5, 0));
    engine.CreateJointHinge("c", CVector(), CVector(0, 0, 1), &c, nullptr);
    Init();
    EXPECT_TRUE(engine.GetJoints().empty());
}

TEST_F(JointRegistryTest, LookupsAndFailedCreations)
{
    CPhysicalTestEntity& body = Add(1.0f, CVector(0, 5, 0));
    CPhysicalTestEntity& other = Add(1.0f, CVector(2, 5, 0));
    CPhysicalTestEntity detached;
    EXPECT_EQ(WideErrorOf([&] { engine.GetJoint("nope"); }),
              L"[CPhysicsEngine::GetJoint] Joint id not found:nope");
    EXPECT_FALSE(engine.DestroyJoint("nope"));
    ASSERT_NE(engine.CreateJointHinge("kept", CVector(), CVector(0, 0, 1), &body, nullptr), nullptr);

    EXPECT_EQ(WideErrorOf([&] { engine.CreateJointFixed("kept", nullptr, &body); }),
              L"[CJoint::createBaseJoint] Child Entity not defined");
    EXPECT_EQ(WideErrorOf([&] { engine.CreateJointFixed("kept", &detached, &body); }),
              L"[CJoint::createBaseJoint] Physics engine not initialised");
    // Sides without a body, or one body on both sides: no joint, and the
    // registered one of the id stays.
    EXPECT_EQ(engine.CreateJointFixed("kept", &body, &detached), nullptr);
    EXPECT_EQ(engine.CreateJointFixed("kept", &body, &body), nullptr);
    EXPECT_NE(engine.GetJoint("kept").GetNewtonJoint(), nullptr);
    EXPECT_EQ(engine.GetJoints().size(), 1u);

    CJoint record;
    EXPECT_EQ(engine.CreateJointFromParams(record), nullptr) << "an empty id";
    const CRetyped nine(engine.GetJoint("kept"), 9);
    EXPECT_EQ(WideErrorOf([&] { engine.CreateJointFromParams(nine); }),
              L"[CPhysicsEngine::CreateJointFromParams] Unknown joint type:9");

    // Every kind comes back as its kind; a slider stays a slider.
    engine.CreateJointSlider("slider", CVector(), CVector(1, 0, 0), &body, &other);
    engine.CreateJointSpring("spring", CVector(), CVector(1, 0, 0), &body, &other, -1, 1, 0.5f, 10, 1);
    engine.CreateJointCorkscrew("corkscrew", CVector(), CVector(1, 0, 0), &body, &other);
    engine.CreateJointBallAndSocket("ball", CVector(), &body, &other);
    engine.CreateJointUpVector("up", CVector(0, 1, 0), &body);
    engine.CreateJointGear("gear", CVector(0, 1, 0), CVector(0, 1, 0), &body, &other, 2);
    engine.CreateJointPulley("pulley", CVector(1, 0, 0), CVector(1, 0, 0), &body, &other, 2);
    engine.CreateJointFixed("fixed", &body, &other);
    for (const auto& entry : engine.GetJoints())
    {
        const std::unique_ptr<CJoint> made = engine.CreateJointFromParams(CJoint(*entry.second));
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->GetType(), entry.second->GetType()) << entry.first;
        EXPECT_NE(made->GetNewtonJoint(), nullptr) << entry.first;
    }
}

// Re-adding a body remakes its joints: new objects under the same ids,
// with the settings they had.
TEST_F(JointRegistryTest, RebuiltBodyKeepsItsJoints)
{
    CPhysicalTestEntity& door = Add(1.0f, CVector(0, 5, 0));
    CPhysicalTestEntity& frame = Add(1.0f, CVector(2, 5, 0));
    CJoint* hinge =
        engine.CreateJointHingeLimited("hinge", CVector(1, 5, 0), CVector(0, 1, 0), &door, &frame, -45, 45);
    hinge->SetJointMotor(3, 0.5f);
    hinge->SetSpringStiffness(0.6f);
    engine.CreateJointBallAndSocketLimited("cone", CVector(0, 6, 0), &door, nullptr, 30, CVector());
    engine.AddEntity(&door);
    CJoint& rebuilt = engine.GetJoint("hinge");
    EXPECT_NE(rebuilt.GetNewtonJoint(), nullptr);
    EXPECT_EQ(rebuilt.GetChild(), &door);
    EXPECT_FLOAT_EQ(rebuilt.GetMinLimit(), -45.0f) << "still degrees";
    EXPECT_FLOAT_EQ(rebuilt.GetMaxLimit(), 45.0f);
    EXPECT_TRUE(rebuilt.GetMotorEnabled());
    EXPECT_FLOAT_EQ(rebuilt.GetAngularAcceleration(), 3.0f);
    EXPECT_FLOAT_EQ(rebuilt.GetSpringStiffness(), 0.6f);
    EXPECT_FALSE(rebuilt.IsCollidable());
    EXPECT_FLOAT_EQ(engine.GetJoint("cone").GetMaxLimit(), 30.0f);
    Run(5);

    // The body goes, its joints with it.
    engine.RemoveEntity(&door);
    EXPECT_TRUE(engine.GetJoints().empty());
}

// A saved world's joints come back as descriptions and are made again
// between the entities of the loaded world; one whose entity is missing
// stays a description, and the load goes on.
TEST_F(JointRegistryTest, JointsAreRemadeAfterAWorldLoad)
{
    CTestFolder folder;
    CPhysicalTestEntity& door = Add(1.0f, CVector(0, 5, 0));
    CPhysicalTestEntity& frame = Add(1.0f, CVector(2, 5, 0));
    CPhysicalTestEntity& lost = Add(1.0f, CVector(4, 5, 0));
    engine.CreateJointHingeLimited("hinge", CVector(1, 5, 0), CVector(0, 1, 0), &door, &frame, -30, 60);
    engine.CreateJointSpring("spring", CVector(2, 5, 0), CVector(1, 0, 0), &frame, nullptr, -1, 1, 0.5f, 10,
                             1);
    engine.CreateJointFixed("lost", &lost, &frame);
    const std::string bytes = EntityArchive::Save(folder, engine, EForm::Text);

    // Without a world the blocks are read and dropped.
    Simulation::CSimulationManager otherManager;
    CPhysicsEngine stopped(&otherManager);
    ASSERT_EQ(EntityArchive::Load(folder, stopped, bytes, EForm::Text), "");
    EXPECT_TRUE(stopped.GetJoints().empty());

    engine.DestroyAllJoints();
    ASSERT_EQ(EntityArchive::Load(folder, engine, bytes, EForm::Text), "");
    ASSERT_EQ(engine.GetJoints().size(), 3u);
    for (const auto& entry : engine.GetJoints())
        EXPECT_EQ(entry.second->GetNewtonJoint(), nullptr) << entry.first;

    CJointTestWorld world;
    world.Add(door);
    world.Add(frame);
    EXPECT_TRUE(engine.RecreateJoints(world));
    CJoint& hinge = engine.GetJoint("hinge");
    EXPECT_EQ(hinge.GetType(), CJoint::kHinge);
    EXPECT_NE(hinge.GetNewtonJoint(), nullptr);
    EXPECT_EQ(hinge.GetChild(), &door);
    EXPECT_EQ(hinge.GetParent(), &frame);
    EXPECT_FLOAT_EQ(hinge.GetMinLimit(), -30.0f);
    EXPECT_FLOAT_EQ(hinge.GetMaxLimit(), 60.0f);
    CJoint& spring = engine.GetJoint("spring");
    EXPECT_EQ(spring.GetType(), CJoint::kSpring);
    EXPECT_NE(spring.GetNewtonJoint(), nullptr);
    EXPECT_FLOAT_EQ(spring.GetSpringFactor(), 10.0f);
    CJoint& kept = engine.GetJoint("lost");
    EXPECT_EQ(kept.GetNewtonJoint(), nullptr);
    EXPECT_EQ(kept.GetChildId(), lost.GetId());
    Run(5);

    // Saved again, the description is still there.
    EXPECT_NE(EntityArchive::Save(folder, engine, EForm::Text).find(lost.GetId()), std::string::npos);
}
