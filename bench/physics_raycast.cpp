// 1,000 vertical rays against 100, 1,000 and 10,000 still boxes: through
// our Newton-shaped layer (NewtonWorldRayCast with a filter that keeps the
// nearest hit), and the same boxes in a Bullet world of the same kind with
// Bullet's closest-hit ray test as the floor. Both sides place the same
// boxes and cast the same rays, in one run: the later rays (a scene that
// has been queried for a long time), and the first rays (the first 1,000 of
// a scene just built, each of 30 iterations a new scene). The machine is shared:
// compare the two with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N.
#include "physics/newton/Newton.h"

#include <btBulletDynamicsCommon.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{

constexpr int kRays = 1000;
constexpr float kSpacing = 3.0f;
constexpr int kSettleSteps = 10;

int Side(int bodies)
{
    return static_cast<int>(std::ceil(std::sqrt(static_cast<double>(bodies))));
}

btVector3 BoxAt(int index, int side)
{
    return btVector3(static_cast<float>(index % side) * kSpacing, 0.0f,
                     static_cast<float>(index / side) * kSpacing);
}

// Ray ends over the whole field, about half of them through a box.
std::vector<btVector3> RayColumns(int bodies)
{
    std::mt19937 random(17);
    const float extent = static_cast<float>(Side(bodies)) * kSpacing;
    std::uniform_real_distribution<float> where(-1.0f, extent);
    std::vector<btVector3> columns;
    for (int ray = 0; ray < kRays; ++ray)
        columns.emplace_back(where(random), 0.0f, where(random));
    return columns;
}

float g_nearest = 0;

float KeepNearest(const NewtonBody*, const float*, int, void*, float intersectParam)
{
    return intersectParam;
}

NewtonWorld* LayerScene(int bodies)
{
    const int side = Side(bodies);
    NewtonWorld* world = NewtonCreate(nullptr, nullptr);
    const float low[3] = {-1000, -1000, -1000};
    const float high[3] = {1000, 1000, 1000};
    NewtonSetWorldSize(world, low, high);
    NewtonCollision* box = NewtonCreateBox(world, 1, 1, 1, nullptr);
    for (int i = 0; i < bodies; ++i)
    {
        NewtonBody* body = NewtonCreateBody(world, box);
        float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const btVector3 at = BoxAt(i, side);
        matrix[12] = at.x();
        matrix[13] = at.y();
        matrix[14] = at.z();
        NewtonBodySetMatrix(body, matrix);
    }
    NewtonReleaseCollision(world, box);
    // A few steps, so that the broadphase has settled as in a running game.
    for (int step = 0; step < kSettleSteps; ++step)
        NewtonUpdate(world, 1.0f / 60);
    return world;
}

void LayerRays(NewtonWorld* world, const std::vector<btVector3>& columns)
{
    for (const btVector3& column : columns)
    {
        const float from[3] = {column.x(), 50.0f, column.z()};
        const float to[3] = {column.x(), -50.0f, column.z()};
        NewtonWorldRayCast(world, from, to, KeepNearest, nullptr, nullptr);
    }
}

void BM_Rays_Layer(benchmark::State& state)
{
    const int bodies = static_cast<int>(state.range(0));
    NewtonWorld* world = LayerScene(bodies);
    const std::vector<btVector3> columns = RayColumns(bodies);
    for (auto _ : state)
        LayerRays(world, columns);
    NewtonDestroy(world);
    state.SetItemsProcessed(state.iterations() * kRays);
}

void BM_FirstRays_Layer(benchmark::State& state)
{
    const int bodies = static_cast<int>(state.range(0));
    const std::vector<btVector3> columns = RayColumns(bodies);
    for (auto _ : state)
    {
        state.PauseTiming();
        NewtonWorld* world = LayerScene(bodies);
        state.ResumeTiming();
        LayerRays(world, columns);
        state.PauseTiming();
        NewtonDestroy(world);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRays);
}

struct RawScene
{
    explicit RawScene(int bodies)
        : dispatcher(&configuration), world(&dispatcher, &broadphase, &solver, &configuration),
          boxShape(btVector3(0.5f, 0.5f, 0.5f))
    {
        boxShape.setMargin(0.001f);
        const int side = Side(bodies);
        for (int i = 0; i < bodies; ++i)
        {
            btRigidBody::btRigidBodyConstructionInfo info(0, nullptr, &boxShape);
            info.m_startWorldTransform.setOrigin(BoxAt(i, side));
            boxes.push_back(std::make_unique<btRigidBody>(info));
            world.addRigidBody(boxes.back().get());
        }
        for (int step = 0; step < kSettleSteps; ++step)
            world.stepSimulation(1.0f / 60, 0);
    }
    ~RawScene()
    {
        for (auto& body : boxes)
            world.removeRigidBody(body.get());
    }
    RawScene(const RawScene&) = delete;
    RawScene& operator=(const RawScene&) = delete;

    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world;
    btBoxShape boxShape;
    std::vector<std::unique_ptr<btRigidBody>> boxes;
};

void RawRays(RawScene& scene, const std::vector<btVector3>& columns)
{
    for (const btVector3& column : columns)
    {
        const btVector3 from(column.x(), 50.0f, column.z());
        const btVector3 to(column.x(), -50.0f, column.z());
        btCollisionWorld::ClosestRayResultCallback nearest(from, to);
        scene.world.rayTest(from, to, nearest);
        g_nearest += nearest.m_closestHitFraction;
    }
}

void BM_Rays_RawBullet(benchmark::State& state)
{
    const int bodies = static_cast<int>(state.range(0));
    RawScene scene(bodies);
    const std::vector<btVector3> columns = RayColumns(bodies);
    for (auto _ : state)
        RawRays(scene, columns);
    benchmark::DoNotOptimize(g_nearest);
    state.SetItemsProcessed(state.iterations() * kRays);
}

void BM_FirstRays_RawBullet(benchmark::State& state)
{
    const int bodies = static_cast<int>(state.range(0));
    const std::vector<btVector3> columns = RayColumns(bodies);
    for (auto _ : state)
    {
        state.PauseTiming();
        auto scene = std::make_unique<RawScene>(bodies);
        state.ResumeTiming();
        RawRays(*scene, columns);
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(g_nearest);
    state.SetItemsProcessed(state.iterations() * kRays);
}

} // namespace

BENCHMARK(BM_Rays_RawBullet)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rays_Layer)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstRays_RawBullet)->Arg(1000)->Arg(10000)->Iterations(30)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstRays_Layer)->Arg(1000)->Arg(10000)->Iterations(30)->Unit(benchmark::kMicrosecond);
