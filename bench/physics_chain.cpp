// A 50-link chain hanging from the world, 300 steps of 1/60 s: hinges made
// of five user-joint rows through our Newton-shaped layer, against the same
// chain held by Bullet's own btHingeConstraint (the floor). Same links,
// solver passes, damping and gravity; sleeping is off in both.
#include "physics/newton/Newton.h"

#include <btBulletDynamicsCommon.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{

constexpr int kLinks = 50;
constexpr int kSteps = 300;
constexpr float kSpacing = 1.0f;
constexpr float kPinLength = 50;

// Link i spans x from i to i + 1 (a 0.8 m box centred at i + 0.5), hinged
// about z at its left end to the previous link or, for link 0, the world.
btVector3 LinkCentre(int i)
{
    return btVector3((i + 0.5f) * kSpacing, 0, 0);
}

struct Hinge
{
    const NewtonBody* child;
    const NewtonBody* parent;
    btVector3 childPivot;  // in the child's frame
    btVector3 parentPivot; // in the parent's frame (world without a parent)
};

btTransform MatrixOf(const NewtonBody* body)
{
    if (!body)
        return btTransform::getIdentity();
    float m[16];
    NewtonBodyGetMatrix(body, m);
    btTransform t;
    t.setFromOpenGLMatrix(m);
    return t;
}

void Row(const NewtonJoint* joint, const btVector3& p0, const btVector3& p1, const btVector3& dir)
{
    const float a[3] = {p0.x(), p0.y(), p0.z()};
    const float b[3] = {p1.x(), p1.y(), p1.z()};
    const float d[3] = {dir.x(), dir.y(), dir.z()};
    NewtonUserJointAddLinearRow(joint, a, b, d);
    NewtonUserJointSetRowStiffness(joint, 1);
}

void SubmitHinge(const NewtonJoint* joint)
{
    const auto& h = *static_cast<const Hinge*>(NewtonJointGetUserData(joint));
    const btTransform c = MatrixOf(h.child);
    const btTransform p = MatrixOf(h.parent);
    const btVector3 p0 = c * h.childPivot;
    const btVector3 p1 = p * h.parentPivot;
    const btVector3 f0 = c.getBasis().getColumn(2);
    const btVector3 f1 = p.getBasis().getColumn(2);
    const btVector3 u1 = p.getBasis().getColumn(1);
    const btVector3 r1 = p.getBasis().getColumn(0);
    Row(joint, p0, p1, f1);
    Row(joint, p0, p1, u1);
    Row(joint, p0, p1, r1);
    Row(joint, p0 + f0 * kPinLength, p1 + f1 * kPinLength, u1);
    Row(joint, p0 + f0 * kPinLength, p1 + f1 * kPinLength, r1);
}

void Gravity(const NewtonBody* body)
{
    const float force[3] = {0, -9.8f, 0};
    NewtonBodyAddForce(body, force);
}

void BM_Chain_UserJointHinges(benchmark::State& state)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        NewtonWorld* world = NewtonCreate(nullptr, nullptr);
        NewtonSetSolverModel(world, 1);
        NewtonCollision* box = NewtonCreateBox(world, 0.8f, 0.2f, 0.2f, nullptr);
        std::vector<NewtonBody*> links;
        std::vector<Hinge> hinges(kLinks);
        for (int i = 0; i < kLinks; ++i)
        {
            NewtonBody* link = NewtonCreateBody(world, box);
            NewtonBodySetMassMatrix(link, 1, 0.0067f, 0.0567f, 0.0567f);
            float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
            matrix[12] = LinkCentre(i).x();
            NewtonBodySetMatrix(link, matrix);
            NewtonBodySetAutoFreeze(link, 0);
            NewtonBodySetJointRecursiveCollision(link, 0);
            NewtonBodySetForceAndTorqueCallback(link, Gravity);
            NewtonBody* parent = i ? links.back() : nullptr;
            hinges[i] = Hinge{link, parent, btVector3(-0.5f * kSpacing, 0, 0),
                              i ? btVector3(0.5f * kSpacing, 0, 0) : btVector3(0, 0, 0)};
            NewtonJoint* joint = NewtonConstraintCreateUserJoint(world, 6, SubmitHinge, link, parent);
            NewtonJointSetUserData(joint, &hinges[i]);
            links.push_back(link);
        }
        NewtonReleaseCollision(world, box);
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step)
            NewtonUpdate(world, 1.0f / 60);
        state.PauseTiming();
        benchmark::DoNotOptimize(MatrixOf(links.back()));
        NewtonDestroy(world);
        state.ResumeTiming();
    }
}

struct RawChain
{
    RawChain() : dispatcher(&configuration), world(&dispatcher, &broadphase, &solver, &configuration)
    {
        configuration.setConvexConvexMultipointIterations(3, 3);
        world.setGravity(btVector3(0, -9.8f, 0));
        shape = std::make_unique<btBoxShape>(btVector3(0.4f, 0.1f, 0.1f));
        shape->setMargin(0.001f);
        for (int i = 0; i < kLinks; ++i)
        {
            btRigidBody::btRigidBodyConstructionInfo info(1, nullptr, shape.get(),
                                                          btVector3(0.0067f, 0.0567f, 0.0567f));
            info.m_startWorldTransform.setOrigin(LinkCentre(i));
            links.push_back(std::make_unique<btRigidBody>(info));
            links.back()->setDamping(0.1f, 0.1f);
            links.back()->setActivationState(DISABLE_DEACTIVATION);
            world.addRigidBody(links.back().get());
            const btVector3 axis(0, 0, 1);
            if (i == 0)
                hinges.push_back(
                    std::make_unique<btHingeConstraint>(*links[0], btVector3(-0.5f * kSpacing, 0, 0), axis));
            else
                hinges.push_back(std::make_unique<btHingeConstraint>(
                    *links[i], *links[i - 1], btVector3(-0.5f * kSpacing, 0, 0),
                    btVector3(0.5f * kSpacing, 0, 0), axis, axis));
            world.addConstraint(hinges.back().get(), true);
        }
    }
    ~RawChain()
    {
        for (auto& hinge : hinges)
            world.removeConstraint(hinge.get());
        for (auto& link : links)
            world.removeRigidBody(link.get());
    }

    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world;
    std::unique_ptr<btBoxShape> shape;
    std::vector<std::unique_ptr<btRigidBody>> links;
    std::vector<std::unique_ptr<btHingeConstraint>> hinges;
};

void BM_Chain_BulletHinges(benchmark::State& state)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        auto chain = std::make_unique<RawChain>();
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step)
            chain->world.stepSimulation(1.0f / 60, 0);
        state.PauseTiming();
        benchmark::DoNotOptimize(chain->links.back()->getWorldTransform());
        chain.reset();
        state.ResumeTiming();
    }
}

// On a shared machine the fastest run is the one least disturbed.
double Fastest(const std::vector<double>& runs)
{
    return *std::min_element(runs.begin(), runs.end());
}

} // namespace

BENCHMARK(BM_Chain_BulletHinges)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);
BENCHMARK(BM_Chain_UserJointHinges)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);
