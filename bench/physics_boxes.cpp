// 1,000 boxes falling onto a static triangle mesh for 300 steps of 1/60 s:
// through our Newton-shaped layer, and the same scene built on Bullet
// directly (same shapes, margins, contact settings, solver passes, damping
// and friction) as the floor. Sleeping is off in both so that both do the
// same work; both copy every body's matrix out after each step, as the
// engine's transform callback does. The machine is shared: compare the two
// with --benchmark_enable_random_interleaving=true --benchmark_repetitions=N.
#include "PhysicsBenchScene.h"
#include "physics/newton/Newton.h"

#include <btBulletDynamicsCommon.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{

using PhysicsBenchScene::GroundTriangles;
using PhysicsBenchScene::kBoxes;
constexpr int kSteps = 300;

btVector3 BoxStart(int i)
{
    const auto start = PhysicsBenchScene::BoxStart(i);
    return btVector3(start[0], start[1], start[2]);
}

std::vector<float> g_matrices(kBoxes * 16);

void LayerGravity(const NewtonBody* body)
{
    const float force[3] = {0, -9.8f, 0};
    NewtonBodyAddForce(body, force);
}

void LayerTransform(const NewtonBody* body, const float* matrix)
{
    const auto index = reinterpret_cast<size_t>(NewtonBodyGetUserData(body));
    std::copy(matrix, matrix + 16, &g_matrices[index * 16]);
}

void BM_BoxesOnMesh_Layer(benchmark::State& state)
{
    const std::vector<float> triangles = GroundTriangles();
    for (auto _ : state)
    {
        state.PauseTiming();
        NewtonWorld* world = NewtonCreate(nullptr, nullptr);
        NewtonSetSolverModel(world, 1);
        // Bullet's default contact: friction 0.5 x 0.5, no bounce.
        NewtonMaterialSetDefaultFriction(world, 0, 0, 0.25f, 0.25f);
        NewtonMaterialSetDefaultElasticity(world, 0, 0, 0);
        const float low[3] = {-100, -100, -100};
        const float high[3] = {100, 100, 100};
        NewtonSetWorldSize(world, low, high);
        NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
        NewtonTreeCollisionBeginBuild(tree);
        for (size_t t = 0; t < triangles.size(); t += 9)
            NewtonTreeCollisionAddFace(tree, 3, &triangles[t], 12, 1);
        NewtonTreeCollisionEndBuild(tree, 1);
        NewtonCreateBody(world, tree);
        NewtonReleaseCollision(world, tree);
        NewtonCollision* box = NewtonCreateBox(world, 1, 1, 1, nullptr);
        for (int i = 0; i < kBoxes; ++i)
        {
            NewtonBody* body = NewtonCreateBody(world, box);
            NewtonBodySetMassMatrix(body, 1, 1.0f / 6, 1.0f / 6, 1.0f / 6);
            float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
            const btVector3 start = BoxStart(i);
            matrix[12] = start.x();
            matrix[13] = start.y();
            matrix[14] = start.z();
            NewtonBodySetMatrix(body, matrix);
            NewtonBodySetUserData(body, reinterpret_cast<void*>(static_cast<size_t>(i)));
            NewtonBodySetAutoFreeze(body, 0);
            NewtonBodySetForceAndTorqueCallback(body, LayerGravity);
            NewtonBodySetTransformCallback(body, LayerTransform);
        }
        NewtonReleaseCollision(world, box);
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step)
            NewtonUpdate(world, 1.0f / 60);
        state.PauseTiming();
        benchmark::DoNotOptimize(g_matrices.data());
        NewtonDestroy(world);
        state.ResumeTiming();
    }
}

struct RawScene
{
    RawScene(const std::vector<float>& triangles)
        : dispatcher(&configuration), world(&dispatcher, &broadphase, &solver, &configuration)
    {
        configuration.setConvexConvexMultipointIterations(3, 3);
        world.setGravity(btVector3(0, -9.8f, 0));
        vertices = triangles;
        for (size_t i = 0; i < triangles.size() / 3; ++i)
            indices.push_back(static_cast<int>(i));
        mesh = std::make_unique<btTriangleIndexVertexArray>(
            static_cast<int>(indices.size() / 3), indices.data(), 12, static_cast<int>(vertices.size() / 3),
            vertices.data(), 12);
        groundShape = std::make_unique<btBvhTriangleMeshShape>(mesh.get(), true, true);
        ground = std::make_unique<btRigidBody>(
            btRigidBody::btRigidBodyConstructionInfo(0, nullptr, groundShape.get()));
        world.addRigidBody(ground.get());
        boxShape = std::make_unique<btBoxShape>(btVector3(0.5f, 0.5f, 0.5f));
        boxShape->setMargin(0.001f);
        for (int i = 0; i < kBoxes; ++i)
        {
            btRigidBody::btRigidBodyConstructionInfo info(1, nullptr, boxShape.get(),
                                                          btVector3(1.0f / 6, 1.0f / 6, 1.0f / 6));
            info.m_startWorldTransform.setOrigin(BoxStart(i));
            boxes.push_back(std::make_unique<btRigidBody>(info));
            boxes.back()->setDamping(0.1f, 0.1f);
            boxes.back()->setActivationState(DISABLE_DEACTIVATION);
            world.addRigidBody(boxes.back().get());
        }
    }
    ~RawScene()
    {
        for (auto& body : boxes)
            world.removeRigidBody(body.get());
        world.removeRigidBody(ground.get());
    }

    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world;
    std::vector<float> vertices;
    std::vector<int> indices;
    std::unique_ptr<btTriangleIndexVertexArray> mesh;
    std::unique_ptr<btBvhTriangleMeshShape> groundShape;
    std::unique_ptr<btRigidBody> ground;
    std::unique_ptr<btBoxShape> boxShape;
    std::vector<std::unique_ptr<btRigidBody>> boxes;
};

void BM_BoxesOnMesh_RawBullet(benchmark::State& state)
{
    const std::vector<float> triangles = GroundTriangles();
    for (auto _ : state)
    {
        state.PauseTiming();
        auto scene = std::make_unique<RawScene>(triangles);
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step)
        {
            scene->world.stepSimulation(1.0f / 60, 0);
            for (int i = 0; i < kBoxes; ++i)
                scene->boxes[i]->getWorldTransform().getOpenGLMatrix(&g_matrices[i * 16]);
        }
        state.PauseTiming();
        benchmark::DoNotOptimize(g_matrices.data());
        scene.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_BoxesOnMesh_RawBullet)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", PhysicsBenchScene::Fastest);
BENCHMARK(BM_BoxesOnMesh_Layer)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", PhysicsBenchScene::Fastest);
