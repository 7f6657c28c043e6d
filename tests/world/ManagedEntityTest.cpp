// The managed entity of every kind through the entity interface: what a new
// one answers, what Clear resets, assignment and copies within a kind, and
// what reaches the engines its parts joined.

#include "ManagedKinds.h"
#include "support/ErrorOf.h"
#include "support/NullGraphicsEngine.h"

#include "core/app/SimulationManager.h"
#include "core/io/DataBag.h"
#include "physics/newton/Newton.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <map>

namespace
{

void ExpectVector(const CVector& actual, const CVector& expected)
{
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.z, expected.z);
}

// What a new or cleared entity of any kind answers (scale one, not zero).
void ExpectCommonDefaults(const IEntityInterface& entity)
{
    EXPECT_EQ(entity.GetName(), L"");
    ExpectVector(entity.GetPosition(), CVector(0, 0, 0));
    ExpectVector(entity.GetRotation(), CVector(0, 0, 0));
    ExpectVector(entity.GetScale(), CVector(1, 1, 1));
    EXPECT_EQ(entity.GetScript(), L"");
    EXPECT_EQ(entity.GetData().GetCount(), 0u);
}

std::map<std::wstring, std::wstring> Entries(const CDataBag& bag)
{
    return std::map<std::wstring, std::wstring>(bag.begin(), bag.end());
}

TEST(ManagedEntityTest, EveryKindAnswersTheInterfaceTable)
{
    uint32_t kinds = 0;
    for (const SManagedKind& kind : ManagedKinds())
    {
        SCOPED_TRACE(kind.name);
        const auto entity = kind.make();
        const auto other = kind.make();
        EXPECT_EQ(entity->GetTypeId(), kind.typeId);
        EXPECT_EQ(kinds & kind.typeId, 0u);
        kinds |= kind.typeId;
        // The kind's own tag, the tag of an entity saved on its own.
        EXPECT_STREQ(entity->GetTypeName(), kind.tag);
        EXPECT_EQ(entity->GetVersion(), 1030u);
        EXPECT_EQ(entity->GetMinimumVersion(), 1u);

        // The id's pointer stays until the id changes, and is the entity's own.
        const char* id = entity->GetId();
        EXPECT_EQ(entity->GetId(), id);
        EXPECT_NE(other->GetId(), id);
        EXPECT_STRNE(other->GetId(), id);
        EXPECT_EQ(std::string(id).size(), 36u);

        // A new entity: the defaults of every kind, and the kind's solidity.
        ExpectCommonDefaults(*entity);
        EXPECT_EQ(entity->GetFlags(), 0u);
        EXPECT_EQ(entity->GetGraphicalPart()->IsSolid(), kind.solid);
        EXPECT_EQ(entity->GetPhysicalPart()->IsCollidable(), kind.solid);
        EXPECT_NE(entity->GetSonicPart(), nullptr);

        // Without a body the dynamics read zero; without a node the
        // absolute values are the stored ones.
        entity->SetPosition(CVector(4, 5, 6));
        CVector value(9, 9, 9);
        entity->GetForce(value);
        ExpectVector(value, CVector(0, 0, 0));
        value = CVector(9, 9, 9);
        entity->GetTorque(value);
        ExpectVector(value, CVector(0, 0, 0));
        value = CVector(9, 9, 9);
        entity->GetVelocity(value);
        ExpectVector(value, CVector(0, 0, 0));
        entity->GetAbsolutePosition(value);
        ExpectVector(value, CVector(4, 5, 6));

        // Both data entries are the one bag.
        const IEntityInterface& constant = *entity;
        EXPECT_EQ(&entity->GetData(), &constant.GetData());

        // Clear: the defaults again (scale one, not zero), the same id.
        Dress(*entity);
        const std::string dressedId = entity->GetId();
        entity->Clear();
        EXPECT_EQ(entity->GetId(), dressedId);
        ExpectCommonDefaults(*entity);
        // The particle system's and the sky's own clears keep the model.
        const bool keepsModel =
            kind.typeId == Misc::World::kTypeIdParticleSystem || kind.typeId == Misc::World::kTypeIdSky;
        EXPECT_EQ(entity->GetGraphicalPart()->GetModelName(), keepsModel ? L"models/gate.x" : L"");
        EXPECT_EQ(entity->GetPhysicalPart()->GetMass(), -1.0f);
        EXPECT_TRUE(entity->UpdateParts());
    }
    EXPECT_EQ(kinds, 65520u);
}

TEST(ManagedEntityTest, AnIdMustBeAUuid)
{
    for (const SManagedKind& kind : ManagedKinds())
    {
        SCOPED_TRACE(kind.name);
        const auto entity = kind.make();
        entity->SetId("00000000-0000-4000-8000-0000000000AB");
        EXPECT_STREQ(entity->GetId(), "00000000-0000-4000-8000-0000000000ab");
        for (const char* bad : {"", "not a uuid", "00000000-0000-4000-8000-0000000000abc",
                                "00000000+0000-4000-8000-0000000000ab"})
        {
            EXPECT_EQ(ErrorOf([&] { entity->SetId(bad); }),
                      std::string("[CManagedEntity::SetId] Invalid id:") + bad);
            EXPECT_STREQ(entity->GetId(), "00000000-0000-4000-8000-0000000000ab");
        }
        EXPECT_EQ(ErrorOf([&] { entity->SetId(nullptr); }), "[CManagedEntity::SetId] Invalid id:");
    }
}

TEST(ManagedEntityTest, AssignmentAndCopiesWithinEachKind)
{
    for (const SManagedKind& kind : ManagedKinds())
    {
        SCOPED_TRACE(kind.name);
        const auto source = kind.make();
        Dress(*source);
        source->GetGraphicalPart()->SetSolid(!kind.solid);

        // A target with settings and data of its own loses them all.
        const auto target = kind.make();
        Dress(*target, kSecondId);
        target->SetName(L"old");
        target->GetData().Set(L"only here", L"1");
        kind.assign(*target, *source);
        EXPECT_STREQ(target->GetId(), kFirstId);
        EXPECT_EQ(target->GetName(), source->GetName());
        ExpectVector(target->GetPosition(), source->GetPosition());
        ExpectVector(target->GetRotation(), source->GetRotation());
        ExpectVector(target->GetScale(), source->GetScale());
        EXPECT_EQ(target->GetScript(), source->GetScript());
        EXPECT_EQ(Entries(target->GetData()), Entries(source->GetData()));
        EXPECT_EQ(target->GetFlags(), source->GetFlags());
        EXPECT_EQ(target->GetGraphicalPart()->GetModelName(), L"models/gate.x");
        EXPECT_EQ(target->GetGraphicalPart()->IsSolid(), !kind.solid);
        EXPECT_EQ(target->GetPhysicalPart()->GetMass(), 2.5f);
        EXPECT_EQ(target->GetPhysicalPart()->GetPhysicsTypeName(), L"metal");

        // Assigning an entity to itself keeps its data.
        kind.assign(*target, *target);
        EXPECT_EQ(Entries(target->GetData()), Entries(source->GetData()));
        EXPECT_STREQ(target->GetId(), kFirstId);

        // A copy keeps the id until it gets one of its own.
        const auto copy = kind.copy(*source);
        EXPECT_STREQ(copy->GetId(), kFirstId);
        EXPECT_EQ(copy->GetName(), source->GetName());
        EXPECT_EQ(Entries(copy->GetData()), Entries(source->GetData()));
        EXPECT_EQ(copy->GetFlags(), source->GetFlags());
        EXPECT_EQ(copy->GetPhysicalPart()->GetMass(), 2.5f);
        copy->NewId();
        EXPECT_STRNE(copy->GetId(), kFirstId);
        EXPECT_STREQ(source->GetId(), kFirstId);
    }
}

// A unit that counts how often its parts are brought up to date: a new
// physics body does that once.
class CCountingUnit : public CManagedEntity<Graphics::Scene::CGraphicalUnit>
{
public:
    bool UpdateParts() override
    {
        ++updates;
        return CManagedEntity::UpdateParts();
    }
    int updates = 0;
};

TEST(ManagedEntityTest, AScaleReshapesOrRebuildsTheBodyAndAMoveDoesNot)
{
    Simulation::CSimulationManager manager;
    CPhysicsEngine physics(&manager);
    ASSERT_TRUE(physics.Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true));
    CCountingUnit unit;
    unit.SetMass(1.0f);
    physics.AddEntity(&unit);
    ASSERT_NE(unit.GetBody(), nullptr);
    ASSERT_EQ(unit.updates, 1);
    ExpectVector(unit.GetCollisionSize(), CVector(1, 1, 1));

    unit.SetPosition(CVector(3, 4, 5));
    unit.SetRotation(CVector(0, 90, 0));
    EXPECT_EQ(unit.updates, 1);
    float matrix[16];
    NewtonBodyGetMatrix(unit.GetBody(), matrix);
    EXPECT_FLOAT_EQ(matrix[12], 3.0f);
    EXPECT_FLOAT_EQ(matrix[13], 4.0f);
    EXPECT_FLOAT_EQ(matrix[14], 5.0f);

    // A dynamic body takes the new size in place, where the entity stands:
    // nothing else of it is built again.
    const NewtonBody* body = unit.GetBody();
    const NewtonCollision* shape = NewtonBodyGetCollision(body);
    unit.SetScale(CVector(2, 3, 4));
    EXPECT_EQ(unit.updates, 1);
    ASSERT_EQ(unit.GetBody(), body);
    EXPECT_NE(NewtonBodyGetCollision(body), shape);
    ExpectVector(unit.GetCollisionSize(), CVector(2, 3, 4));
    NewtonBodyGetMatrix(unit.GetBody(), matrix);
    EXPECT_FLOAT_EQ(matrix[12], 3.0f);
    EXPECT_FLOAT_EQ(matrix[14], 5.0f);

    // A static body is built again for its new size.
    CCountingUnit wall;
    wall.SetMass(1000.0f);
    physics.AddEntity(&wall);
    ASSERT_NE(wall.GetBody(), nullptr);
    wall.SetScale(CVector(2, 2, 2));
    EXPECT_EQ(wall.updates, 2);
    ASSERT_NE(wall.GetBody(), nullptr);
    ExpectVector(wall.GetCollisionSize(), CVector(2, 2, 2));

    // The same scale again keeps the body it was built for.
    unit.SetScale(CVector(2, 3, 4));
    EXPECT_EQ(unit.updates, 1);
    EXPECT_EQ(unit.GetBody(), body);

    // Without a body a scale changes the entity only.
    CCountingUnit loose;
    loose.SetScale(CVector(2, 2, 2));
    EXPECT_EQ(loose.updates, 0);
    EXPECT_EQ(loose.GetBody(), nullptr);
}

TEST(ManagedEntityTest, AMovingBodyMovesTheEntityWithoutBeingSetAgain)
{
    Simulation::CSimulationManager manager;
    CPhysicsEngine physics(&manager);
    ASSERT_TRUE(physics.Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true));
    CCountingUnit unit;
    unit.SetMass(1.0f);
    unit.SetPosition(CVector(0, 10, 0));
    physics.AddEntity(&unit);
    uint32_t now = 0;
    for (int step = 0; step < 20; ++step)
    {
        const uint32_t previous = now;
        now += 16;
        physics.Update(Simulation::Multicast::CEvtTick{&manager, now, previous});
    }
    // Gravity pulled the body down and the entity followed it.
    EXPECT_LT(unit.GetPosition().y, 10.0f);
    EXPECT_EQ(unit.updates, 1);
}

TEST(ManagedEntityTest, AnEntityLeavesEveryEngineAsItGoes)
{
    CNullEngine graphics;
    Simulation::CSimulationManager manager;
    CPhysicsEngine physics(&manager);
    ASSERT_TRUE(physics.Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true));
    CSoundEngine sound(&manager);
    const bool soundOpen = sound.Init("", 100, false);

    irr::scene::ISceneNode* root = graphics.Scene()->getRootSceneNode();
    const size_t nodesBefore = root->getChildren().size();
    for (const SManagedKind& kind : ManagedKinds())
    {
        SCOPED_TRACE(kind.name);
        auto entity = kind.make();
        entity->GetPhysicalPart()->SetMass(1.0f);
        graphics.engine.Add(entity->GetGraphicalPart(), nullptr, "");
        physics.AddEntity(entity->GetPhysicalPart());
        if (soundOpen)
            sound.AddEntity(entity->GetSonicPart());
        ASSERT_EQ(physics.GetParts().GetCount(), 1u);
        entity.reset();
        // Out of the engines' lists, its body and its node gone with it.
        EXPECT_EQ(graphics.engine.GetParts().GetCount(), 0u);
        EXPECT_EQ(physics.GetParts().GetCount(), 0u);
        EXPECT_EQ(sound.GetParts().GetCount(), 0u);
        EXPECT_EQ(root->getChildren().size(), nodesBefore);
    }
}

} // namespace
