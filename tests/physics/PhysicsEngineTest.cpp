// The physics sub-engine: start-up, defaults and clamps, physics types as
// material groups, the step and its events, and the "PhysicsTypes{" block.
#include "PhysicsTest.h"

#include "app/EngineComposition.h"
#include "core/events/Multicast.h"
#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/newton/NewtonWorld.h"

#include "graphics/scene/EntityArchive.h"
#include "support/ErrorOf.h"
#include "support/EventListener.h"
#include "support/TestFolder.h"

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace Misc::Multicast;

namespace
{

const MaterialPair& Pair(const CPhysicsEngine& engine, const std::wstring& a, const std::wstring& b)
{
    return engine.GetWorld()->materials.PairOf(engine.GetTypeId(a), engine.GetTypeId(b));
}

using PhysicsEngineTest = CPhysicsTest;

} // namespace

TEST(PhysicsEngineStartTest, InitClampsItsSettings)
{
    Simulation::CSimulationManager manager;
    CPhysicsEngine engine(&manager);
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(engine.GetMinMass(), 0.0f);
    EXPECT_EQ(engine.GetMaxMass(), 1000.0f);
    EXPECT_EQ(CPhysicsEngine::GetGravity().y, -9.8f);

    struct SCase
    {
        float staticFriction, dynamicFriction, minMass, maxMass;
        float storedDynamic, storedMin, storedMax;
    };
    const SCase cases[] = {
        {0.6f, 0.5f, 0.0f, 1000.0f, 0.5f, 0.0f, 1000.0f},
        {0.3f, 0.8f, 0.0f, 1000.0f, 0.3f, 0.0f, 1000.0f},  // dynamic friction at most static
        {0.6f, 0.5f, -5.0f, 1000.0f, 0.5f, 0.0f, 1000.0f}, // no negative minimum
        {0.6f, 0.5f, 50.0f, 10.0f, 0.5f, 50.0f, 50.0f},    // maximum at least the minimum
    };
    for (const SCase& c : cases)
    {
        ASSERT_TRUE(engine.Init(0, 0, c.staticFriction, c.dynamicFriction, 0.25f, c.minMass, c.maxMass, true,
                                60, true));
        EXPECT_EQ(engine.GetDefaultStaticFriction(), c.staticFriction);
        EXPECT_EQ(engine.GetDefaultDynamicFriction(), c.storedDynamic);
        EXPECT_EQ(engine.GetMinMass(), c.storedMin);
        EXPECT_EQ(engine.GetMaxMass(), c.storedMax);
        const CPhysicsType& type = engine.GetType(L"default");
        EXPECT_EQ(type.GetStaticFriction(), c.staticFriction);
        EXPECT_EQ(type.GetDynamicFriction(), c.storedDynamic);
        EXPECT_EQ(type.GetElasticity(), 0.25f);
    }
    // 60 updates a second: a 16 ms period and half the rate as the world's
    // minimum frame rate.
    EXPECT_EQ(engine.GetPeriod(), 16u);
    EXPECT_EQ(engine.GetWorld()->minimumFrameRate, 30.0f);

    engine.Destroy();
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(engine.GetPeriod(), 0u);
    EXPECT_EQ(engine.GetMinMass(), 50.0f) << "the settings stay until the next start";
    EXPECT_EQ(ErrorOf([&] { engine.GetType(L"ice"); }), "[CPhysicsEngine::GetType] Type not found : ice");
    EXPECT_FALSE(engine.CreateType(L"ice", 0.1f, 0.05f, 0.0f));
}

TEST_F(PhysicsEngineTest, MassClasses)
{
    ASSERT_TRUE(engine.Init(0, 0, 0.6f, 0.5f, 0.0f, 1.0f, 1000.0f, false, 60, true));
    const std::pair<float, int> cases[] = {{0.99f, CPhysicsEngine::kNoBody},
                                           {1.0f, CPhysicsEngine::kDynamic},
                                           {999.0f, CPhysicsEngine::kDynamic},
                                           {1000.0f, CPhysicsEngine::kStatic}};
    for (const auto& [mass, type] : cases)
        EXPECT_EQ(engine.GetMassType(mass), type) << mass;
}

TEST_F(PhysicsEngineTest, TypesAreMaterialGroupsWithAveragedPairs)
{
    CPhysicsType blank;
    EXPECT_EQ(blank.GetGroupId(), -1);
    EXPECT_EQ(blank.GetName(), L"");
    EXPECT_EQ(blank.GetStaticFriction(), 0.6f);
    EXPECT_EQ(blank.GetDynamicFriction(), 0.5f);
    EXPECT_EQ(blank.GetElasticity(), 0.0f);

    ASSERT_TRUE(engine.CreateType(L"ice", 0.1f, 0.05f, 0.0f));
    ASSERT_TRUE(engine.CreateType(L"rubber", 1.0f, 0.8f, 0.9f));
    EXPECT_EQ(engine.GetTypeId(L"default"), 0);
    EXPECT_NE(engine.GetTypeId(L"ice"), engine.GetTypeId(L"rubber"));
    EXPECT_NEAR(Pair(engine, L"ice", L"rubber").staticFriction, 0.55f, 1e-6f);
    EXPECT_NEAR(Pair(engine, L"ice", L"rubber").kineticFriction, 0.425f, 1e-6f);
    EXPECT_NEAR(Pair(engine, L"ice", L"rubber").elasticity, 0.45f, 1e-6f);
    EXPECT_NEAR(Pair(engine, L"ice", L"ice").staticFriction, 0.1f, 1e-6f);
    EXPECT_NEAR(Pair(engine, L"ice", L"ice").kineticFriction, 0.05f, 1e-6f);

    // "default" takes new values in its own group; it cannot be deleted.
    ASSERT_TRUE(engine.CreateType(L"default", 0.2f, 0.2f, 0.5f));
    EXPECT_EQ(engine.GetTypeId(L"default"), 0);
    EXPECT_NEAR(Pair(engine, L"default", L"rubber").elasticity, 0.7f, 1e-6f);
    engine.DeleteType(L"default");
    engine.DeleteType(L"ice");
    EXPECT_TRUE(engine.TypeExists(L"default"));
    EXPECT_FALSE(engine.TypeExists(L"ice"));
    EXPECT_EQ(engine.GetType(L"ice").GetName(), L"default") << "a missing type reads as the default";

    // A new start forgets every type but a fresh "default".
    Init();
    EXPECT_EQ(CPhysicsEngine::GetTypes().size(), 1u);
    EXPECT_EQ(engine.GetType(L"default").GetStaticFriction(), 0.6f);
}

TEST_F(PhysicsEngineTest, TypesPastTheLastGroupAreRefused)
{
    for (int i = 1; i < 1024; ++i)
        ASSERT_TRUE(engine.CreateType(L"type" + std::to_wstring(i), 0.1f, 0.1f, 0.0f));
    const float before = Pair(engine, L"default", L"default").staticFriction;
    EXPECT_EQ(ErrorOf([&] { engine.CreateType(L"one too many", 2.0f, 2.0f, 1.0f); }),
              "[CPhysicsEngine::CreateType] No material group left for type : one too many");
    EXPECT_FALSE(engine.TypeExists(L"one too many"));
    EXPECT_EQ(Pair(engine, L"default", L"default").staticFriction, before);
    // An existing type keeps its group and may still change.
    EXPECT_TRUE(engine.CreateType(L"type5", 0.3f, 0.3f, 0.0f));
}

TEST_F(PhysicsEngineTest, BoundsOnlyGrow)
{
    engine.SetBounds(CVector(-10, -10, -10), CVector(10, 10, 10));
    engine.ExpandBounds(CVector(-5, -5, -5), CVector(5, 5, 5));
    EXPECT_EQ(engine.GetWorldMin().x, -10.0f);
    EXPECT_EQ(engine.GetWorldMax().z, 10.0f);
    engine.ExpandBounds(CVector(-5, -20, 0), CVector(30, 5, 5));
    EXPECT_EQ(engine.GetWorldMin().y, -20.0f);
    EXPECT_EQ(engine.GetWorldMin().x, -10.0f);
    EXPECT_EQ(engine.GetWorldMax().x, 30.0f);
    EXPECT_EQ(engine.GetWorld()->worldMin.y(), -20.0f);
    EXPECT_EQ(engine.GetWorld()->worldMax.x(), 30.0f);
    engine.Destroy();
    EXPECT_EQ(engine.GetWorldMax().x, 0.0f);
}

TEST_F(PhysicsEngineTest, TheStepPublishesWhatTheLastUpdateQueuedBeforeMovingOn)
{
    AddGround();
    CPhysicalTestEntity& box = Add(1.0f, CVector(0, 0.5f, 0));
    box.MonitorCollisions(2);
    CEventListener<Kind::CollisionEnter> enters;
    CEventListener<Kind::TickPhysics> ticks;
    // The box touches within the first update; its enter event waits for
    // the start of the next step.
    Run(3);
    ASSERT_EQ(ticks.events.size(), 3u);
    ASSERT_EQ(enters.events.size(), 1u);
    EXPECT_EQ(enters.events[0].nameA, box.GetId());
    EXPECT_EQ(enters.events[0].nameB, entities[0]->GetId());
    EXPECT_EQ(enters.events[0].sender, &engine);
    EXPECT_EQ(ticks.events[1].time, 32u);
    EXPECT_EQ(ticks.events[1].previousTime, 16u);

    // A step without a world (a script's update) moves nothing and still
    // delivers what was queued.
    engine.Destroy();
    engine.Step();
    EXPECT_EQ(ticks.events.size(), 3u);
}

TEST_F(PhysicsEngineTest, TypesRoundTripThroughTextAndBinary)
{
    CTestFolder folder;
    for (const auto form : {EntityArchive::EForm::Text, EntityArchive::EForm::Binary})
    {
        ASSERT_TRUE(engine.CreateType(L"ice", 0.1f, 0.05f, 0.0f));
        ASSERT_TRUE(engine.CreateType(L"rubber \u00e9", 1.0f, 0.8f, 0.9f));
        const std::string saved = EntityArchive::Save(folder, engine, form);
        if (form == EntityArchive::EForm::Text)
        {
            EXPECT_NE(saved.find("PhysicsTypes{"), std::string::npos);
            EXPECT_NE(saved.find("CollisionData{"), std::string::npos);
            EXPECT_NE(saved.find("-StaticFriction 0.100000"), std::string::npos);
        }
        Init();
        ASSERT_EQ(EntityArchive::Load(folder, engine, saved, form), "") << EntityArchive::FormName(form);
        ASSERT_TRUE(engine.TypeExists(L"rubber \u00e9"));
        EXPECT_EQ(engine.GetType(L"ice").GetDynamicFriction(), 0.05f);
        EXPECT_EQ(engine.GetType(L"rubber \u00e9").GetElasticity(), 0.9f);
        EXPECT_NEAR(Pair(engine, L"ice", L"rubber \u00e9").elasticity, 0.45f, 1e-6f);

        // Without a world the records are read and dropped.
        engine.Destroy();
        EXPECT_EQ(EntityArchive::Load(folder, engine, saved, form), "");
        EXPECT_TRUE(CPhysicsEngine::GetTypes().empty());
        Init();
    }
}

// Whatever a damaged block creates, "default" stays and a body on the
// ground still steps.
TEST_F(PhysicsEngineTest, DamagedTypeBlocksNeverCrash)
{
    CTestFolder folder;
    ASSERT_TRUE(engine.CreateType(L"ice", 0.1f, 0.05f, 0.0f));
    ASSERT_TRUE(engine.CreateType(L"rubber", 1.0f, 0.8f, 0.9f));
    std::mt19937 random(20261210);
    for (const auto form : {EntityArchive::EForm::Text, EntityArchive::EForm::Binary})
    {
        const std::string original = EntityArchive::Save(folder, engine, form);
        for (int round = 0; round < 100; ++round)
        {
            const std::string bytes = Damaged(original, random);
            EntityArchive::Load(folder, engine, bytes, form);
            ASSERT_TRUE(engine.TypeExists(L"default"));
        }
    }
    AddGround();
    CPhysicalTestEntity& box = Add(1.0f, CVector(0, 2, 0));
    box.SetType(L"rubber");
    box.ApplyProperties();
    Run(30);
    EXPECT_TRUE(std::isfinite(box.GetPosition().y));
}

TEST(PhysicsEngineDrawingTest, FlaggedBodiesDrawAfterTheirOwnGraphicsEnginesScene)
{
    Simulation::CSimulationManager manager(Halvane::AddEngineParts);
    auto* graphics = manager.GetPart<Graphics::CGraphicsEngine>();
    auto* engine = manager.GetPart<CPhysicsEngine>();
    ASSERT_TRUE(graphics->Init("NULL", 320, 240, false, 16, false, false, false, 60, 0, 0, -1, -1, true));
    CPhysicalTestEntity entity;
    entity.SetMass(1.0f);
    // Without a world there is nothing to draw: no subscription.
    entity.SetFlags(CPhysicsEngine::kDebugDrawFlag);
    EXPECT_FALSE(CMulticast<Kind::DrawPostScene>::IsSubscribed(engine));

    ASSERT_TRUE(engine->Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true, graphics));
    engine->AddEntity(&entity);
    entity.SetFlags(0);
    EXPECT_FALSE(CMulticast<Kind::DrawPostScene>::IsSubscribed(engine));
    entity.SetFlags(CPhysicsEngine::kDebugDrawFlag | 1);
    EXPECT_TRUE(CMulticast<Kind::DrawPostScene>::IsSubscribed(engine));
    EXPECT_TRUE(engine->OnEvent(Graphics::Multicast::CEvtGraphicsDrawPostScene{graphics}));
    Graphics::CGraphicsEngine other(nullptr);
    EXPECT_FALSE(engine->OnEvent(Graphics::Multicast::CEvtGraphicsDrawPostScene{&other}));
    graphics->Step(); // a frame: the outlines draw after its scene
    // Only the loop's stop switches it off.
    entity.SetFlags(0);
    EXPECT_TRUE(CMulticast<Kind::DrawPostScene>::IsSubscribed(engine));
    engine->OnStop();
    EXPECT_FALSE(CMulticast<Kind::DrawPostScene>::IsSubscribed(engine));
    engine->RemoveEntity(&entity);
}

TEST(PhysicsEngineDrawingTest, OutlinesGoToTheSinkOfInitUntilDestroy)
{
    struct CLineRecorder : Graphics::ILineSink
    {
        virtual ~CLineRecorder() = default;
        std::vector<CVector> ends;
        void Draw3DLine(const CVector& start, const CVector& end, const CColor&) override
        {
            ends.push_back(start);
            ends.push_back(end);
        }
    };
    Simulation::CSimulationManager manager(Halvane::AddEngineParts);
    auto* graphics = manager.GetPart<Graphics::CGraphicsEngine>();
    auto* engine = manager.GetPart<CPhysicsEngine>();
    CLineRecorder recorder;
    ASSERT_TRUE(engine->Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true, &recorder));
    CPhysicalTestEntity flagged;
    CPhysicalTestEntity plain;
    plain.SetPosition(CVector(10.0f, 0.0f, 0.0f));
    for (CPhysicalTestEntity* entity : {&flagged, &plain})
    {
        entity->SetMass(1.0f);
        engine->AddEntity(entity);
    }
    flagged.SetFlags(CPhysicsEngine::kDebugDrawFlag);
    EXPECT_TRUE(engine->OnEvent(Graphics::Multicast::CEvtGraphicsDrawPostScene{graphics}));
    // The flagged unit box alone, all twelve edges of its six faces at least.
    EXPECT_GE(recorder.ends.size(), 2u * 12u);
    for (const CVector& end : recorder.ends)
        EXPECT_LE(std::fabs(end.x), 0.5f + 1e-3f) << end.x;

    // Destroy lets go of the sink: a world made again without one draws
    // nothing.
    engine->Destroy();
    recorder.ends.clear();
    ASSERT_TRUE(engine->Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true));
    engine->AddEntity(&flagged);
    flagged.SetFlags(CPhysicsEngine::kDebugDrawFlag);
    EXPECT_TRUE(engine->OnEvent(Graphics::Multicast::CEvtGraphicsDrawPostScene{graphics}));
    EXPECT_TRUE(recorder.ends.empty());
    engine->RemoveEntity(&flagged);
}
