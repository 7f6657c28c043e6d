// 1,000 physical entities with bodies falling onto a static mesh for 300
// steps of 16 ms (60 steps a second): the physics engine's step, beside the
// bare layer doing the same work in the same run (gravity from each body's
// force callback, each moved body's position and degrees handed back to its
// entity, the same shapes, solver, sleeping and stepping). Bodies made:
// 1,000 box entities given bodies by the engine, beside Bullet making the
// same boxes; and a unit of the world with a body whose scale is set again
// unchanged (from a script) and changed (a new body each time, beside Bullet
// making the body again). The machine is shared:
// compare with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N.
#include "PhysicsBenchScene.h"
#include "ScriptLoop.h"
#include "app/EngineComposition.h"
#include "core/app/SimulationManager.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"
#include "physics/PhysicsEngine.h"
#include "physics/RayCastResult.h"
#include "physics/newton/Newton.h"
#include "tests/support/PhysicalTestEntity.h"
#include "world/World.h"

#include <btBulletDynamicsCommon.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

constexpr int kEntities = PhysicsBenchScene::kBoxes;
constexpr int kSteps = 300;
constexpr uint32_t kStepMs = 16;

std::vector<Misc::World::CTriangle> GroundTriangles()
{
    const std::vector<float> soup = PhysicsBenchScene::GroundTriangles();
    std::vector<Misc::World::CTriangle> triangles;
    for (size_t t = 0; t < soup.size(); t += 9)
        triangles.push_back({CVector(soup[t], soup[t + 1], soup[t + 2]),
                             CVector(soup[t + 3], soup[t + 4], soup[t + 5]),
                             CVector(soup[t + 6], soup[t + 7], soup[t + 8])});
    return triangles;
}

CVector BoxStart(int i)
{
    const auto start = PhysicsBenchScene::BoxStart(i);
    return CVector(start[0], start[1], start[2]);
}

void BM_FallingEntities_Engine(benchmark::State& state)
{
    const std::vector<Misc::World::CTriangle> ground = GroundTriangles();
    Simulation::CSimulationManager manager;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto engine = std::make_unique<CPhysicsEngine>(&manager);
        engine->Init(1, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, true, 1000 / kStepMs, true);
        engine->SetBounds(CVector(-100, -100, -100), CVector(100, 100, 100));
        std::vector<std::unique_ptr<CPhysicalTestEntity>> entities;
        entities.push_back(std::make_unique<CPhysicalTestEntity>());
        entities.back()->triangles = ground;
        entities.back()->SetMass(1000.0f);
        engine->AddEntity(entities.back().get());
        for (int i = 0; i < kEntities; ++i)
        {
            entities.push_back(std::make_unique<CPhysicalTestEntity>());
            CPhysicalTestEntity& entity = *entities.back();
            entity.SetMass(1.0f);
            entity.SetPosition(BoxStart(i));
            engine->AddEntity(&entity);
        }
        uint32_t now = 0;
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step)
        {
            now += kStepMs;
            engine->Update(Simulation::Multicast::CEvtTick{&manager, now, now - kStepMs});
        }
        state.PauseTiming();
        benchmark::DoNotOptimize(entities.back()->GetPosition());
        entities.clear();
        engine.reset();
        state.ResumeTiming();
    }
}

// What the engine's callbacks do for an entity, done by hand.
struct SBareEntity
{
    float mass = 1.0f;
    CVector position;
    CVector rotation;
};

void BareForces(const NewtonBody* body)
{
    const auto* entity = static_cast<const SBareEntity*>(NewtonBodyGetUserData(body));
    const float force[3] = {0.0f, -9.8f * entity->mass, 0.0f};
    NewtonBodyAddForce(body, force);
    const float torque[3] = {0.0f, 0.0f, 0.0f};
    NewtonBodyAddTorque(body, torque);
}

void BareMove(const NewtonBody* body, const float* matrix)
{
    auto* entity = static_cast<SBareEntity*>(NewtonBodyGetUserData(body));
    float angles[3];
    NewtonGetEulerAngle(matrix, angles);
    entity->position = CVector(matrix[12], matrix[13], matrix[14]);
    entity->rotation = CVector(angles[0] * 57.29578f, angles[1] * 57.29578f, angles[2] * 57.29578f);
}

void BM_FallingEntities_BareLayer(benchmark::State& state)
{
    const std::vector<Misc::World::CTriangle> ground = GroundTriangles();
    std::vector<SBareEntity> entities(kEntities);
    for (auto _ : state)
    {
        state.PauseTiming();
        NewtonWorld* world = NewtonCreate(nullptr, nullptr);
        NewtonSetSolverModel(world, 1);
        NewtonSetMinimumFrameRate(world, 0.5f * float(1000 / kStepMs));
        NewtonMaterialSetDefaultFriction(world, 0, 0, 0.6f, 0.5f);
        NewtonMaterialSetDefaultElasticity(world, 0, 0, 0.0f);
        const float low[3] = {-100, -100, -100};
        const float high[3] = {100, 100, 100};
        NewtonSetWorldSize(world, low, high);
        NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
        NewtonTreeCollisionBeginBuild(tree);
        for (const auto& triangle : ground)
        {
            const float corners[9] = {triangle[0].x, triangle[0].y, triangle[0].z,
                                      triangle[1].x, triangle[1].y, triangle[1].z,
                                      triangle[2].x, triangle[2].y, triangle[2].z};
            NewtonTreeCollisionAddFace(tree, 3, corners, 12, 1);
        }
        NewtonTreeCollisionEndBuild(tree, 1);
        NewtonCreateBody(world, tree);
        NewtonReleaseCollision(world, tree);
        for (int i = 0; i < kEntities; ++i)
        {
            NewtonCollision* box = NewtonCreateBox(world, 1, 1, 1, nullptr);
            NewtonBody* body = NewtonCreateBody(world, box);
            NewtonReleaseCollision(world, box);
            NewtonBodySetMassMatrix(body, 1, 1.0f / 6, 1.0f / 6, 1.0f / 6);
            float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
            const CVector start = BoxStart(i);
            matrix[12] = start.x;
            matrix[13] = start.y;
            matrix[14] = start.z;
            NewtonBodySetMatrix(body, matrix);
            NewtonBodySetUserData(body, &entities[i]);
            NewtonBodySetForceAndTorqueCallback(body, BareForces);
            NewtonBodySetTransformCallback(body, BareMove);
        }
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step)
            NewtonUpdate(world, float(kStepMs) * 0.001f);
        state.PauseTiming();
        benchmark::DoNotOptimize(entities.back().position);
        NewtonDestroy(world);
        state.ResumeTiming();
    }
}

void BM_MakeBoxes_Engine(benchmark::State& state)
{
    Simulation::CSimulationManager manager;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto engine = std::make_unique<CPhysicsEngine>(&manager);
        engine->Init(1, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, true, 1000 / kStepMs, true);
        engine->SetBounds(CVector(-100, -100, -100), CVector(100, 100, 100));
        std::vector<std::unique_ptr<CPhysicalTestEntity>> entities;
        for (int i = 0; i < kEntities; ++i)
        {
            entities.push_back(std::make_unique<CPhysicalTestEntity>());
            entities.back()->SetMass(1.0f);
            entities.back()->SetPosition(BoxStart(i));
        }
        state.ResumeTiming();
        for (const auto& entity : entities)
            engine->AddEntity(entity.get());
        // New bodies enter the broadphase at the first query or step: a
        // ray out where nothing is puts them there.
        CRayCastResult hit;
        benchmark::DoNotOptimize(engine->RayCast(CVector(0, -90, 0), CVector(0, -91, 0), hit));
        state.PauseTiming();
        entities.clear();
        engine.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
}

// Bullet making what the engine makes for a box entity: a box shape of
// the same margin, its inertia, a body at its place in the world.
struct SRawWorld
{
    SRawWorld() : dispatcher(&configuration), world(&dispatcher, &broadphase, &solver, &configuration) {}
    ~SRawWorld()
    {
        for (auto& body : bodies)
            world.removeRigidBody(body.get());
    }
    SRawWorld(const SRawWorld&) = delete;
    SRawWorld& operator=(const SRawWorld&) = delete;

    void Make(const CVector& at)
    {
        shapes.push_back(std::make_unique<btBoxShape>(btVector3(0.5f, 0.5f, 0.5f)));
        shapes.back()->setMargin(0.001f);
        btVector3 inertia;
        shapes.back()->calculateLocalInertia(1.0f, inertia);
        btRigidBody::btRigidBodyConstructionInfo info(1.0f, nullptr, shapes.back().get(), inertia);
        info.m_startWorldTransform.setOrigin(btVector3(at.x, at.y, at.z));
        bodies.push_back(std::make_unique<btRigidBody>(info));
        world.addRigidBody(bodies.back().get());
    }

    // The ray the engine's side casts out where nothing is.
    void RayOut()
    {
        const btVector3 from(0, -90, 0);
        const btVector3 to(0, -91, 0);
        btCollisionWorld::ClosestRayResultCallback hit(from, to);
        world.rayTest(from, to, hit);
        benchmark::DoNotOptimize(hit.hasHit());
    }

    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world;
    std::vector<std::unique_ptr<btBoxShape>> shapes;
    std::vector<std::unique_ptr<btRigidBody>> bodies;
};

void BM_MakeBoxes_RawBullet(benchmark::State& state)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        auto world = std::make_unique<SRawWorld>();
        state.ResumeTiming();
        for (int i = 0; i < kEntities; ++i)
            world->Make(BoxStart(i));
        world->RayOut();
        state.PauseTiming();
        world.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
}

// A unit of the world with a body in a running physics engine, known to
// scripts by its id.
struct SScaledUnit
{
    SScaledUnit()
    {
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        physics = engine->GetPart<CPhysicsEngine>();
        physics->Init(1, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, true, 60, true);
        engine->GetPart<CWorld>()->GetData().GetUnits().CreateUnit(unit);
        unit->GetPhysicalPart()->SetMass(1.0f);
        physics->AddEntity(unit->GetPhysicalPart());
        lua_State* L = engine->GetMainState()->GetCState();
        lua_pushstring(L, unit->GetId());
        lua_setglobal(L, "id");
    }
    ~SScaledUnit()
    {
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }
    SScaledUnit(const SScaledUnit&) = delete;
    SScaledUnit& operator=(const SScaledUnit&) = delete;

    bool HasBody() const { return unit->GetPhysicalPart()->GetBody() != nullptr; }

    std::unique_ptr<CScriptManager> engine;
    CPhysicsEngine* physics = nullptr;
    Misc::World::IEntityInterface* unit = nullptr;
};

// IWorld:setEntityScale from a script with the scale the unit has, 1,000
// calls an iteration (so milliseconds read as microseconds a call).
void BM_SetScale_Unchanged(benchmark::State& state)
{
    SScaledUnit scaled;
    if (!scaled.HasBody())
        state.SkipWithError("no body");
    scaled.unit->SetScale(CVector(2, 2, 2));
    RunScriptLoop(state, scaled.engine->GetMainState(),
                  "local W, id, v = IWorld, id, IMisc:vectorCreate(2, 2, 2)",
                  "W:setEntityScale(id, v) s = s + 1");
}

// A new scale: a new body each time, put into the broadphase by a ray out
// where nothing is.
void BM_SetScale_Changed(benchmark::State& state)
{
    SScaledUnit scaled;
    if (!scaled.HasBody())
        state.SkipWithError("no body");
    const CVector scales[2] = {CVector(2, 2, 2), CVector(3, 3, 3)};
    CRayCastResult hit;
    int turn = 0;
    for (auto _ : state)
    {
        scaled.unit->SetScale(scales[++turn & 1]);
        benchmark::DoNotOptimize(scaled.physics->RayCast(CVector(0, -90, 0), CVector(0, -91, 0), hit));
    }
    if (!scaled.HasBody())
        state.SkipWithError("no body");
}

// Bullet doing the same: the body out of the world and gone, a box of the
// new size with its inertia, a body where the old one stood, into the
// world, and the same ray.
void BM_SetScale_RawBullet(benchmark::State& state)
{
    SRawWorld world;
    world.Make(CVector(0, 0, 0));
    const btScalar halves[2] = {1.0f, 1.5f};
    int turn = 0;
    for (auto _ : state)
    {
        const btTransform place = world.bodies.back()->getWorldTransform();
        world.world.removeRigidBody(world.bodies.back().get());
        world.bodies.pop_back();
        world.shapes.pop_back();
        world.shapes.push_back(std::make_unique<btBoxShape>(btVector3(1, 1, 1) * halves[++turn & 1]));
        world.shapes.back()->setMargin(0.001f);
        btVector3 inertia;
        world.shapes.back()->calculateLocalInertia(1.0f, inertia);
        btRigidBody::btRigidBodyConstructionInfo info(1.0f, nullptr, world.shapes.back().get(), inertia);
        info.m_startWorldTransform = place;
        world.bodies.push_back(std::make_unique<btRigidBody>(info));
        world.world.addRigidBody(world.bodies.back().get());
        world.RayOut();
    }
}

} // namespace

BENCHMARK(BM_MakeBoxes_RawBullet)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", PhysicsBenchScene::Fastest);
BENCHMARK(BM_MakeBoxes_Engine)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", PhysicsBenchScene::Fastest);
BENCHMARK(BM_SetScale_Unchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetScale_RawBullet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetScale_Changed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FallingEntities_BareLayer)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", PhysicsBenchScene::Fastest);
BENCHMARK(BM_FallingEntities_Engine)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", PhysicsBenchScene::Fastest);
