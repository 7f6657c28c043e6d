// The "Physics{" block of an entity through text and binary archives, the
// layouts of older versions, and a seeded run of damaged files.
#include "PhysicsTest.h"

#include "core/io/Archive.h"
#include "physics/newton/Newton.h"

#include "graphics/scene/EntityArchive.h"
#include "support/TestFolder.h"

#include <random>
#include <string>

using EntityArchive::EForm;

namespace
{

using PhysicsPersistenceTest = CPhysicsTest;

constexpr EForm kForms[] = {EForm::Text, EForm::Binary};

void Configure(CPhysicalEntity& entity)
{
    entity.SetMass(5.0f);
    entity.SetDetailLevel(3);
    entity.SetType(L"ice \u00e9");
    entity.SetCollisionType(CPhysicalEntity::kSphere);
    entity.SetCollidable(false);
    entity.SetCentreOfMass(CVector(0, 0.25f, 0));
    entity.SetMomentOfInertia(CVector(1, 2, 3));
    entity.SetLinearDamping(0.3f);
    entity.SetAngularDamping(CVector(0.2f, 0.3f, 0.4f));
    entity.SetThresholds(0.2f, 0.3f, 7);
    entity.SetAutoDeactivation(false);
    entity.SetConstantVelocity(CVector(1, 0, 0));
    entity.SetConstantOmega(CVector(0, 1, 0));
    entity.SetConstantForce(CVector(0, 0, 2));
    entity.SetConstantTorque(CVector(3, 0, 0));
    entity.SetBuoyancyParams(CVector(1.5f, 0.1f, 0.2f));
    entity.SetImpulseDamping(0.5f);
    entity.SetVelocity(CVector(4, 5, 6));
    entity.SetOmega(CVector(0.5f, 0, 0));
    entity.EnableCollisionPrediction(true, CVector(0.1f, 0.2f, 0.3f), CVector(2, 2, 2),
                                     CVector(0.5f, 0.6f, 0.7f));
    entity.MonitorCollisions(2);
}

void ExpectEqualVectors(const CVector& a, const CVector& b)
{
    EXPECT_FLOAT_EQ(a.x, b.x);
    EXPECT_FLOAT_EQ(a.y, b.y);
    EXPECT_FLOAT_EQ(a.z, b.z);
}

// A "Physics{" block as files of an older version hold it: "Physics{"
// from 1000, the shape from 1004, the dynamic block from 1025, the single
// prediction numbers before 1030.
class COldPhysicsBlock : public Misc::Serialization::ISerializable
{
public:
    explicit COldPhysicsBlock(uint32_t version) : m_version(version) {}
    virtual ~COldPhysicsBlock() = default;
    bool Write(Misc::Serialization::IArchive& a) override
    {
        if (m_version >= 1000)
            a.WriteString("Physics{") && a.EndLine(+1);
        a.WriteKeyFloat("-Mass", 7.0f);
        a.WriteKeyLong("-PhysicsDetailLevel", 2);
        a.WriteKeyWString("-PhysicsType", L"rubber");
        if (m_version >= 1004)
            a.WriteKeyInt("-CollisionType", 2);
        if (m_version >= 1025)
        {
            a.WriteString("DynamicProperties{") && a.EndLine(+1);
            a.WriteKeyBool("-Collidable", false);
            for (const char* key : {"-CentreOfMass", "-MomentOfInertia"})
                a.WriteKeyString(key, "0.000000 0.000000 0.000000");
            a.WriteKeyFloat("-LinearDamping", 0.4f);
            a.WriteKeyString("-AngularDamping", "0.100000 0.100000 0.100000");
            a.WriteKeyString("-ActivationThresholds", "0.500000 0.600000 12.000000");
            a.WriteKeyBool("-AutoDeactivate", true);
            for (const char* key : {"-ConstantVelocity", "-ConstantOmega", "-ConstantForce",
                                    "-ConstantTorque", "-BuoyancyParams"})
                a.WriteKeyString(key, "0.000000 0.000000 0.000000");
            a.WriteKeyFloat("-ImpulseDamping", 0.25f);
            a.WriteKeyString("-Velocity", "1.000000 2.000000 3.000000");
            a.WriteKeyString("-Omega", "0.000000 0.000000 0.000000");
            a.WriteKeyFloat("-CollisionPredictionThreshold", 0.5f);
            a.WriteKeyString("-CollisionPredictionSkew", "1.000000 1.000000 1.000000");
            a.WriteKeyFloat("-CollisionPredictionSkewFactor", 2.0f);
            a.WriteKeyFloat("-CollisionPredictionSkewDampening", 0.8f);
            a.WriteKeyInt("-MonitorCollisions", 1);
            a.EndLine(-1) && a.WriteString("}") && a.EndLine(0);
        }
        if (m_version >= 1000)
            a.EndLine(-1) && a.WriteString("}") && a.EndLine(0);
        return true;
    }
    bool Read(Misc::Serialization::IArchive&) override { return false; }
    const char* GetTypeName() const override { return "KVOPHYSICALENTITY"; }

private:
    uint32_t m_version;
};

} // namespace

TEST_F(PhysicsPersistenceTest, SettingsRoundTripThroughTextAndBinary)
{
    CTestFolder folder;
    CPhysicalTestEntity saved;
    Configure(saved);
    for (const EForm form : kForms)
    {
        SCOPED_TRACE(EntityArchive::FormName(form));
        const std::string bytes = EntityArchive::Save(folder, saved, form);
        if (form == EForm::Text)
        {
            EXPECT_NE(bytes.find("DynamicProperties{"), std::string::npos) << "kept without a running engine";
            EXPECT_NE(bytes.find("-ActivationThresholds \"0.200000 0.300000 7.000000\""), std::string::npos)
                << bytes;
        }
        CPhysicalTestEntity loaded;
        ASSERT_EQ(EntityArchive::Load(folder, loaded, bytes, form), "");
        EXPECT_EQ(loaded.GetMass(), 5.0f);
        EXPECT_EQ(loaded.GetDetailLevel(), 3u);
        EXPECT_EQ(loaded.GetPhysicsTypeName(), L"ice \u00e9");
        EXPECT_EQ(loaded.GetCollisionType(), CPhysicalEntity::kSphere);
        EXPECT_FALSE(loaded.IsCollidable());
        ExpectEqualVectors(loaded.GetCentreOfMass(), saved.GetCentreOfMass());
        ExpectEqualVectors(loaded.GetMomentOfInertia(), saved.GetMomentOfInertia());
        EXPECT_FLOAT_EQ(loaded.GetLinearDamping(), 0.3f);
        ExpectEqualVectors(loaded.GetAngularDamping(), saved.GetAngularDamping());
        float linear = 0;
        float angular = 0;
        uint32_t frames = 0;
        loaded.GetThresholds(linear, angular, frames);
        EXPECT_FLOAT_EQ(linear, 0.2f);
        EXPECT_FLOAT_EQ(angular, 0.3f);
        EXPECT_EQ(frames, 7u);
        EXPECT_FALSE(loaded.GetAutoDeactivation());
        ExpectEqualVectors(loaded.GetConstantVelocity(), saved.GetConstantVelocity());
        ExpectEqualVectors(loaded.GetConstantOmega(), saved.GetConstantOmega());
        ExpectEqualVectors(loaded.GetConstantForce(), saved.GetConstantForce());
        ExpectEqualVectors(loaded.GetConstantTorque(), saved.GetConstantTorque());
        ExpectEqualVectors(loaded.GetBuoyancyParams(), saved.GetBuoyancyParams());
        EXPECT_FLOAT_EQ(loaded.GetImpulseDamping(), 0.5f);
        CVector velocity;
        loaded.GetVelocity(velocity);
        ExpectEqualVectors(velocity, CVector(4, 5, 6));
        ExpectEqualVectors(loaded.GetOmega(), saved.GetOmega());
        EXPECT_TRUE(loaded.IsCollisionPredictionEnabled());
        ExpectEqualVectors(loaded.GetCollisionPredictionThreshold(), saved.GetCollisionPredictionThreshold());
        ExpectEqualVectors(loaded.GetCollisionPredictionSkewFactor(),
                           saved.GetCollisionPredictionSkewFactor());
        ExpectEqualVectors(loaded.GetCollisionPredictionSkewDampening(),
                           saved.GetCollisionPredictionSkewDampening());
        EXPECT_EQ(loaded.GetMonitorMode(), 2);

        // Read into an attached part, the values reach its body; its saved
        // motion starts the body when it is built again.
        CPhysicalTestEntity& attached = Add(1.0f, CVector(0, 10, 0));
        ASSERT_EQ(EntityArchive::Load(folder, attached, bytes, form), "");
        EXPECT_FLOAT_EQ(NewtonBodyGetLinearDamping(attached.GetBody()), 0.3f);
        engine.AddEntity(&attached);
        EXPECT_TRUE(engine.IsMonitored(&attached));
        EXPECT_FALSE(NewtonBodyGetAutoFreeze(attached.GetBody()));
    }
}

TEST_F(PhysicsPersistenceTest, OnlyDynamicBodiesWriteDynamicSettings)
{
    CTestFolder folder;
    struct SCase
    {
        float mass;
        bool attach;
        bool dynamicBlock;
    };
    // A body says what the part is; a part without a body keeps its settings
    // when it could have one.
    const SCase cases[] = {
        {1000.0f, true, false}, {5.0f, true, true}, {-1.0f, false, false}, {0.0f, false, true}};
    for (const SCase& c : cases)
    {
        CPhysicalTestEntity entity;
        entity.SetMass(c.mass);
        if (c.attach)
            engine.AddEntity(&entity);
        const std::string text = EntityArchive::Save(folder, entity, EForm::Text);
        EXPECT_EQ(text.find("DynamicProperties{") != std::string::npos, c.dynamicBlock) << c.mass;
        EXPECT_NE(text.find("-PhysicsDetailLevel 5"), std::string::npos);
        EXPECT_NE(text.find("-CollisionType 0"), std::string::npos);
    }
}

TEST(PhysicsPersistenceVersionTest, OlderLayoutsRead)
{
    CTestFolder folder;
    for (const EForm form : kForms)
        for (const uint32_t version : {999u, 1003u, 1024u, 1029u})
        {
            SCOPED_TRACE(std::string(EntityArchive::FormName(form)) + " " + std::to_string(version));
            COldPhysicsBlock old(version);
            const std::string bytes = EntityArchive::Save(folder, old, form, version);
            CPhysicalTestEntity loaded;
            ASSERT_EQ(EntityArchive::Load(folder, loaded, bytes, form), "");
            EXPECT_EQ(loaded.GetMass(), 7.0f);
            EXPECT_EQ(loaded.GetDetailLevel(), 2u);
            EXPECT_EQ(loaded.GetPhysicsTypeName(), L"rubber");
            EXPECT_EQ(loaded.GetCollisionType(), version >= 1004 ? CPhysicalEntity::kConvexHull : 0);
            if (version < 1025)
            {
                EXPECT_TRUE(loaded.IsCollidable());
                EXPECT_FALSE(loaded.IsCollisionPredictionEnabled());
                continue;
            }
            EXPECT_FALSE(loaded.IsCollidable());
            EXPECT_FLOAT_EQ(loaded.GetImpulseDamping(), 0.25f);
            EXPECT_EQ(loaded.GetMonitorMode(), 1);
            // One threshold of 0.5 for all axes, which also turns prediction on.
            EXPECT_TRUE(loaded.IsCollisionPredictionEnabled());
            ExpectEqualVectors(loaded.GetCollisionPredictionThreshold(), CVector(0.5f, 0.5f, 0.5f));
            ExpectEqualVectors(loaded.GetCollisionPredictionSkewFactor(), CVector(2, 2, 2));
            ExpectEqualVectors(loaded.GetCollisionPredictionSkewDampening(), CVector(0.8f, 0.8f, 0.8f));
            float linear = 0;
            float angular = 0;
            uint32_t frames = 0;
            loaded.GetThresholds(linear, angular, frames);
            EXPECT_EQ(frames, 12u);
        }
}

// Whatever a damaged block leaves in the part, its body builds and steps.
TEST_F(PhysicsPersistenceTest, DamagedBlocksNeverCrash)
{
    CTestFolder folder;
    CPhysicalTestEntity saved;
    Configure(saved);
    std::mt19937 random(20261210);
    for (const EForm form : kForms)
    {
        const std::string original = EntityArchive::Save(folder, saved, form);
        for (int round = 0; round < 100; ++round)
        {
            const std::string bytes = Damaged(original, random);
            CPhysicalTestEntity loaded;
            EntityArchive::Load(folder, loaded, bytes, form);
            engine.AddEntity(&loaded);
            Run(1);
        }
    }
}
