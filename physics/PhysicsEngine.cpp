#include "physics/PhysicsEngine.h"

#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/io/Archive.h"
#include "graphics/engine/GraphicsPorts.h"
#include "physics/Joint.h"
#include "physics/PhysicalEntity.h"
#include "physics/newton/Newton.h"

#include <algorithm>
#include <utility>
#include <vector>

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

namespace
{

CVector g_gravity(0.0f, -9.8f, 0.0f);

} // namespace

CPhysicsEngine::CPhysicsEngine(Simulation::CSimulationManager* owner) : Simulation::CSubEngine(owner) {}

CPhysicsEngine::~CPhysicsEngine()
{
    Destroy();
    CMulticast<Kind::DrawPostScene>::Unsubscribe(this);
}

bool CPhysicsEngine::Init(int32_t solverModel, int32_t frictionModel, float staticFriction,
                          float dynamicFriction, float elasticity, float minMass, float maxMass,
                          bool optimiseTreeCollisions, uint32_t frameRate, bool throwOnFailure,
                          Graphics::ILineSink* debugLines)
{
    if (m_world != nullptr)
        Destroy();
    m_debugLines = debugLines;
    SetDesiredFrameRate(frameRate);
    m_world = NewtonCreate(nullptr, nullptr);
    if (m_world != nullptr)
    {
        NewtonSetSolverModel(m_world, solverModel);
        NewtonSetFrictionModel(m_world, frictionModel);
        NewtonSetMinimumFrameRate(m_world, static_cast<float>(frameRate) * 0.5f);
        NewtonSetBodyLeaveWorldEvent(m_world, &CPhysicsEngine::LeaveWorld);
        m_staticFriction = staticFriction;
        m_dynamicFriction = std::min(staticFriction, dynamicFriction);
        m_elasticity = elasticity;
        m_minMass = minMass < 0.0f ? 0.0f : minMass;
        m_maxMass = std::max(minMass, maxMass);
        m_optimiseTrees = optimiseTreeCollisions;
        DeleteAllTypes(true);
    }
    else if (throwOnFailure)
    {
        throw Misc::Error::CKVOError(L"[CPhysicsEngine::Init] Failed to create the physics device.");
    }
    return m_world != nullptr;
}

void CPhysicsEngine::Destroy()
{
    // Joints first, while the bodies they join still exist.
    DestroyAllJoints();
    // Entities still holding bodies let go of them first: no part may keep
    // a body of a world that is gone.
    DetachAllEntities();
    SetDesiredFrameRate(0);
    m_worldMin = CVector();
    m_worldMax = CVector();
    DeleteAllTypes(false);
    m_monitored.clear();
    m_monitoredAt.clear();
    m_debugLines = nullptr;
    if (m_world != nullptr)
    {
        NewtonDestroy(m_world);
        m_world = nullptr;
    }
}

bool CPhysicsEngine::OnStart()
{
    return true;
}

bool CPhysicsEngine::OnStop()
{
    EnableDebugDrawing(false);
    return true;
}

bool CPhysicsEngine::IsRunning()
{
    return m_world != nullptr;
}

bool CPhysicsEngine::Step()
{
    PublishQueued();
    // A step asked for without a world (a script's update) only delivers
    // what is queued.
    if (m_world == nullptr)
        return true;
    // Whole milliseconds since the last step. The layer's shortest step is
    // 1 ms: a step of 0 ms still advances the world by 1 ms.
    const uint32_t elapsed = GetCurrentTime() - GetLastStepTime();
    NewtonUpdate(m_world, static_cast<float>(elapsed) * 0.001f);
    FlushAllContacts();
    CMulticast<CEvtPhysicsTick>::Publish(CEvtPhysicsTick{this, GetCurrentTime(), GetLastStepTime()});
    return true;
}

void CPhysicsEngine::PublishQueued()
{
    // Taken out first: what subscribers cause now is queued for the next
    // step instead of being dropped with this batch.
    SQueues queued = std::move(m_queues);
    m_queues = SQueues();
    for (const CEvtEntityActivated& event : queued.activated)
        CMulticast<Kind::Activated>::Publish(event);
    for (const CEvtEntityPair& event : queued.enter)
        CMulticast<Kind::CollisionEnter>::Publish(event);
    for (const CEvtEntityPair& event : queued.exit)
        CMulticast<Kind::CollisionExit>::Publish(event);
    for (const CEvtEntity& event : queued.leftWorld)
        CMulticast<Kind::LeaveWorld>::Publish(event);
}

void CPhysicsEngine::LeaveWorld(const NewtonBody* body)
{
    auto* entity = static_cast<CPhysicalEntity*>(NewtonBodyGetUserData(body));
    if (entity != nullptr && entity->GetEngine() != nullptr)
        entity->GetEngine()->m_queues.leftWorld.push_back(CEvtEntity{entity->GetEngine(), entity->GetId()});
}

void CPhysicsEngine::SetBounds(const CVector& minimum, const CVector& maximum)
{
    m_worldMin = minimum;
    m_worldMax = maximum;
    ApplyWorldSize();
}

void CPhysicsEngine::ExpandBounds(const CVector& minimum, const CVector& maximum)
{
    const bool inside = minimum.x >= m_worldMin.x && minimum.y >= m_worldMin.y && minimum.z >= m_worldMin.z &&
                        maximum.x <= m_worldMax.x && maximum.y <= m_worldMax.y && maximum.z <= m_worldMax.z;
    if (inside)
        return;
    m_worldMin = CVector(std::min(m_worldMin.x, minimum.x), std::min(m_worldMin.y, minimum.y),
                         std::min(m_worldMin.z, minimum.z));
    m_worldMax = CVector(std::max(m_worldMax.x, maximum.x), std::max(m_worldMax.y, maximum.y),
                         std::max(m_worldMax.z, maximum.z));
    ApplyWorldSize();
}

void CPhysicsEngine::ApplyWorldSize()
{
    if (m_world == nullptr)
        return;
    const float minimum[3] = {m_worldMin.x, m_worldMin.y, m_worldMin.z};
    const float maximum[3] = {m_worldMax.x, m_worldMax.y, m_worldMax.z};
    NewtonSetWorldSize(m_world, minimum, maximum);
}

int CPhysicsEngine::GetMassType(float mass) const
{
    if (mass < m_minMass)
        return kNoBody;
    if (mass >= m_maxMass)
        return kStatic;
    return kDynamic;
}

const CVector& CPhysicsEngine::GetGravity()
{
    return g_gravity;
}

void CPhysicsEngine::SetGravity(const CVector& gravity)
{
    g_gravity = gravity;
}

void CPhysicsEngine::EnableDebugDrawing(bool on)
{
    if (on && m_world != nullptr)
        CMulticast<Kind::DrawPostScene>::Subscribe(this, 0);
    else
        CMulticast<Kind::DrawPostScene>::Unsubscribe(this);
}

bool CPhysicsEngine::OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostScene& event)
{
    Simulation::CSimulationManager* owner = GetOwner();
    if (owner == nullptr || event.engine == nullptr ||
        Graphics::WorldGraphicsOf(event.engine) != Graphics::WorldGraphicsOf(*owner))
        return false;
    if (m_world != nullptr && m_debugLines != nullptr)
        NewtonWorldForEachBodyDo(m_world, &CPhysicsEngine::DrawBody);
    return true;
}

void CPhysicsEngine::DrawBody(const NewtonBody* body)
{
    auto* entity = static_cast<CPhysicalEntity*>(NewtonBodyGetUserData(body));
    if (entity == nullptr || (entity->GetFlags() & kDebugDrawFlag) == 0 || entity->GetEngine() == nullptr)
        return;
    // The walks' callbacks have no context of their own: the sink is found
    // from the body, through its entity's engine.
    NewtonBodyForEachPolygonDo(
        body,
        [](const NewtonBody* polygonBody, int vertexCount, const float* points, int)
        {
            auto* owner = static_cast<CPhysicalEntity*>(NewtonBodyGetUserData(polygonBody));
            Graphics::ILineSink& lines = *owner->GetEngine()->m_debugLines;
            // A closed outline: from the last corner to the first, then on.
            const CColor cyan(0.0f, 1.0f, 1.0f, 1.0f);
            auto corner = [points](int i)
            { return CVector(points[3 * i], points[3 * i + 1], points[3 * i + 2]); };
            for (int i = 0; i < vertexCount; ++i)
                lines.Draw3DLine(corner(i == 0 ? vertexCount - 1 : i - 1), corner(i), cyan);
        });
}

bool CPhysicsEngine::Write(Misc::Serialization::IArchive& archive)
{
    bool written = archive.WriteString("PhysicsTypes{") && archive.EndLine(+1);
    for (auto& entry : Types())
        written = written && entry.second.Write(archive);
    for (auto& entry : m_joints)
        written = written && entry.second->Write(archive);
    return written && archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

bool CPhysicsEngine::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken("PhysicsTypes{");
    CPhysicsType record;
    while (record.Read(archive))
    {
        if (m_world != nullptr)
            CreateType(record.GetName(), record.GetStaticFriction(), record.GetDynamicFriction(),
                       record.GetElasticity());
        record = CPhysicsType();
    }
    // Joints stay descriptions until RecreateJoints finds their entities.
    for (auto joint = std::make_unique<CJoint>(); joint->Read(archive); joint = std::make_unique<CJoint>())
        if (m_world != nullptr)
            RegisterJoint(std::move(joint));
    archive.ExpectToken("}");
    return true;
}
