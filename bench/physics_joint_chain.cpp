// A 50-link chain swinging down from the world, 300 steps of 16 ms: links
// joined by the engine's hinge joints, beside the same links joined by bare
// layer user joints that submit the same five rows from the same frames.
// Both chains are physical entities of the engine (same bodies, callbacks,
// solver and stepping), so the difference is what the joint objects cost.
// The machine is shared: compare with --benchmark_repetitions=N.
#include "core/app/SimulationManager.h"
#include "physics/Joint.h"
#include "physics/JointMath.h"
#include "physics/PhysicsEngine.h"
#include "physics/newton/Newton.h"
#include "tests/support/PhysicalTestEntity.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace JointMath;

namespace
{

constexpr int kLinks = 50;
constexpr int kSteps = 300;
constexpr uint32_t kStepMs = 16;

struct SChain
{
    SChain()
    {
        engine.Init(1, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, true, 1000 / kStepMs, true);
        engine.SetBounds(CVector(-100, -100, -100), CVector(100, 100, 100));
        for (int i = 0; i < kLinks; ++i)
        {
            links.push_back(std::make_unique<CPhysicalTestEntity>());
            CPhysicalTestEntity& link = *links.back();
            link.SetBox(CVector(0.8f, 0.2f, 0.2f));
            link.SetMass(1.0f);
            link.SetAutoDeactivation(false);
            link.SetPosition(CVector(i + 0.5f, 10, 0));
            engine.AddEntity(&link);
        }
    }

    void Run()
    {
        uint32_t now = 0;
        for (int step = 0; step < kSteps; ++step)
        {
            now += kStepMs;
            engine.Update(Simulation::Multicast::CEvtTick{&manager, now, now - kStepMs});
        }
    }

    Simulation::CSimulationManager manager;
    CPhysicsEngine engine{&manager};
    std::vector<std::unique_ptr<CPhysicalTestEntity>> links;
};

// Builds a chain, joins its links (untimed), then times its steps.
template <class Join> void RunChain(benchmark::State& state, Join join)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        auto chain = std::make_unique<SChain>();
        join(*chain);
        state.ResumeTiming();
        chain->Run();
        state.PauseTiming();
        benchmark::DoNotOptimize(chain->links.back()->GetPosition());
        chain.reset();
        state.ResumeTiming();
    }
}

void BM_Chain_EngineHinges(benchmark::State& state)
{
    RunChain(state,
             [](SChain& chain)
             {
                 for (int i = 0; i < kLinks; ++i)
                     chain.engine.CreateJointHinge("link " + std::to_string(i), CVector(float(i), 10, 0),
                                                   CVector(0, 0, 1), chain.links[i].get(),
                                                   i > 0 ? chain.links[i - 1].get() : nullptr);
             });
}

// The hinge's rows, written straight against the layer.
struct SBareHinge
{
    const NewtonBody* child = nullptr;
    const NewtonBody* parent = nullptr;
    float childLocal[16];
    float parentLocal[16];
};

void Matrix(const NewtonBody* body, float* matrix)
{
    if (body != nullptr)
        NewtonBodyGetMatrix(body, matrix);
    else
        SetIdentity(matrix);
}

void Linear(const NewtonJoint* joint, const CVector& p0, const CVector& p1, const CVector& dir,
            float stiffness)
{
    float a[3];
    float b[3];
    float d[3];
    FromVector(p0, a);
    FromVector(p1, b);
    FromVector(dir, d);
    NewtonUserJointAddLinearRow(joint, a, b, d);
    NewtonUserJointSetRowStiffness(joint, stiffness);
}

void SubmitBareHinge(const NewtonJoint* joint)
{
    const auto& h = *static_cast<const SBareHinge*>(NewtonJointGetUserData(joint));
    float world[16];
    float child[16];
    float parent[16];
    Matrix(h.child, world);
    Multiply(h.childLocal, world, child);
    Matrix(h.parent, world);
    Multiply(h.parentLocal, world, parent);
    const CVector p0 = Row(child, 3);
    const CVector p1 = Row(parent, 3);
    const CVector f0 = Row(child, 0);
    Linear(joint, p0, p1, f0, 1.0f);
    Linear(joint, p0, p1, Row(child, 1), 0.9f);
    Linear(joint, p0, p1, Row(child, 2), 0.9f);
    const CVector tip0 = Add(p0, Scale(f0, CJoint::kPinLength));
    const CVector tip1 = Add(p1, Scale(Row(parent, 0), CJoint::kPinLength));
    Linear(joint, tip0, tip1, Row(parent, 1), 1.0f);
    Linear(joint, tip0, tip1, Row(parent, 2), 1.0f);
}

void BM_Chain_BareUserJoints(benchmark::State& state)
{
    std::vector<SBareHinge> hinges(kLinks);
    RunChain(state,
             [&hinges](SChain& chain)
             {
                 for (int i = 0; i < kLinks; ++i)
                 {
                     SBareHinge& h = hinges[i];
                     h.child = chain.links[i]->GetBody();
                     h.parent = i > 0 ? chain.links[i - 1]->GetBody() : nullptr;
                     // The pin frame about z at the link's left end, in each
                     // body's space: the frame a hinge of the engine works out.
                     const float pinFrame[16] = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, float(i), 10, 0, 1};
                     float world[16];
                     float inverse[16];
                     Matrix(h.child, world);
                     InverseRigid(world, inverse);
                     Multiply(pinFrame, inverse, h.childLocal);
                     Matrix(h.parent, world);
                     InverseRigid(world, inverse);
                     Multiply(pinFrame, inverse, h.parentLocal);
                     NewtonJoint* joint = NewtonConstraintCreateUserJoint(chain.engine.GetWorld(), 6,
                                                                          SubmitBareHinge, h.child, h.parent);
                     NewtonJointSetUserData(joint, &h);
                     NewtonBodySetJointRecursiveCollision(h.child, 0);
                 }
             });
}

// On a shared machine the fastest run is the one least disturbed.
double Fastest(const std::vector<double>& runs)
{
    return *std::min_element(runs.begin(), runs.end());
}

} // namespace

BENCHMARK(BM_Chain_BareUserJoints)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);
BENCHMARK(BM_Chain_EngineHinges)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);
