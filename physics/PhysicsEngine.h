#pragma once

#include "core/app/SubEngine.h"
#include "core/events/Multicast.h"
#include "core/foundation/Vector.h"
#include "core/io/Serializable.h"
#include "core/world/EngineLink.h"
#include "physics/PhysicsType.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct NewtonBody;
struct NewtonCollision;
struct NewtonMaterial;
struct NewtonWorld;
class CPhysicalEntity;
class CPhysicsEngine;
class CJoint;
class IJointEntityLookup;
struct CRayCastResult;

namespace Graphics
{
class ILineSink;
}

// How a physical part is linked to the physics engine, and the engine's side
// of those links.
using CPhysicsLink = Misc::World::CEngineLink<CPhysicsEngine>;
using CPhysicsParts = Misc::World::CEngineParts<CPhysicsEngine>;

// The physics sub-engine: one rigid-body world (our Newton-shaped layer),
// stepped at the engine's own period. Its first base is the draw-post-scene
// subscriber of the collision debug drawing, its second the sub-engine of
// the loop.
//
// Physical parts of entities get bodies through AddEntity. The callbacks the
// world runs during an update only fill the engine's event queues and the
// entities' contact maps; Step publishes what they queued at the start of
// the next step, before the world moves again.
//
// Physics types (named materials), the gravity and the contact scratch
// record are process-wide, shared by every engine.
class CPhysicsEngine : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsDrawPostScene>,
                       public Simulation::CSubEngine,
                       public Misc::Serialization::ISerializable
{
public:
    // Mass classes (GetMassType).
    static constexpr int kNoBody = 0;
    static constexpr int kDynamic = 1;
    static constexpr int kStatic = 2;
    // The entity flag that draws a body's collision outlines.
    static constexpr uint32_t kDebugDrawFlag = 0x400;

    explicit CPhysicsEngine(Simulation::CSimulationManager* owner);
    ~CPhysicsEngine() override;
    CPhysicsEngine(const CPhysicsEngine&) = delete;
    CPhysicsEngine& operator=(const CPhysicsEngine&) = delete;

    // Makes the world (destroying a running one first): stores the rate and
    // Newton's minimum frame rate (half of it), the default frictions (the
    // dynamic one at most the static one), elasticity and masses (minimum at
    // least 0, maximum at least the minimum), and makes the "default" type.
    // Without a world: false, or with throwOnFailure the error
    // "[CPhysicsEngine::Init] Failed to create the physics device.". The
    // debug outlines are drawn into debugLines (none without one) until
    // Destroy.
    bool Init(int32_t solverModel, int32_t frictionModel, float staticFriction, float dynamicFriction,
              float elasticity, float minMass, float maxMass, bool optimiseTreeCollisions, uint32_t frameRate,
              bool throwOnFailure, Graphics::ILineSink* debugLines = nullptr);
    // Every part leaves the engine (their bodies go), then the world goes.
    // The stored defaults stay; queued events wait for the next step.
    void Destroy();
    NewtonWorld* GetWorld() const { return m_world; }

    bool OnStart() override;
    // Switches the collision debug drawing off.
    bool OnStop() override;
    // Publishes what the last update queued, advances the world by the time
    // since the last step, turns the contacts it saw into enter and exit
    // events for the next step, and publishes the physics tick.
    bool Step() override;
    // True while the world exists.
    bool IsRunning() override;

    // The world box: bodies leaving it are reported.
    void SetBounds(const CVector& minimum, const CVector& maximum);
    // Grows the box per axis to take in the given one.
    void ExpandBounds(const CVector& minimum, const CVector& maximum);
    const CVector& GetWorldMin() const { return m_worldMin; }
    const CVector& GetWorldMax() const { return m_worldMax; }

    // kNoBody below the minimum mass, kStatic at or above the maximum,
    // kDynamic between.
    int GetMassType(float mass) const;
    float GetMinMass() const { return m_minMass; }
    float GetMaxMass() const { return m_maxMass; }
    float GetDefaultStaticFriction() const { return m_staticFriction; }
    float GetDefaultDynamicFriction() const { return m_dynamicFriction; }

    // The process-wide gravity, (0, -9.8, 0) until set. Not saved.
    static const CVector& GetGravity();
    static void SetGravity(const CVector& gravity);

    // Draws the collision outlines of flagged entities into the line sink
    // after the scene of the owner's graphics engine; on only while the
    // world exists. OnStop switches it off.
    void EnableDebugDrawing(bool on);
    bool OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostScene& event) override;

    // Physics types (PhysicsEngineTypes.cpp). Without a world, CreateType,
    // DeleteType and DeleteAllTypes do nothing (CreateType answers false).
    // A type past the world's last material group is refused with
    // "[CPhysicsEngine::CreateType] No material group left for type : %s".
    bool CreateType(const std::wstring& name, float staticFriction, float dynamicFriction, float elasticity);
    // "default" stays.
    void DeleteType(const std::wstring& name);
    // With recreate, "default" is made again and every body takes the
    // group of its type anew (that of "default" when its type is gone),
    // since the old group ids are handed out again to new types.
    void DeleteAllTypes(bool recreate);
    // The named type, else "default"; without "default" the error
    // "[CPhysicsEngine::GetType] Type not found : %s".
    const CPhysicsType& GetType(const std::wstring& name) const;
    int32_t GetTypeId(const std::wstring& name) const;
    bool TypeExists(const std::wstring& name) const;
    using TypeMap = std::map<std::wstring, CPhysicsType>;
    static const TypeMap& GetTypes();

    // Bodies (PhysicsEngineBodies.cpp). AddEntity builds (or builds again)
    // the entity's body from its settings and mesh and attaches the entity;
    // nothing happens without a world or below the minimum mass. A static
    // body takes its tree from the entity's cache file when there is one.
    void AddEntity(CPhysicalEntity* entity);
    // Gives the entity's dynamic convex body (no collision prediction, no
    // joints) the shape its settings make now, in place; false, touching
    // nothing, for any other entity.
    bool ReshapeEntity(CPhysicalEntity* entity);
    // The body goes (its contacts end: exit events follow) and the entity
    // leaves the engine.
    void RemoveEntity(CPhysicalEntity* entity);
    // The physical parts linked to the engine: exactly those with a body.
    CPhysicsParts& GetParts() { return m_parts; }
    // How many of those bodies are awake.
    uint32_t CountActiveEntities() const;

    // Contact monitoring (PhysicsEngineTypes.cpp). Monitored entities are
    // those with a monitor mode and an awake body.
    bool SetMonitored(CPhysicalEntity* entity, bool on);
    bool IsMonitored(const CPhysicalEntity* entity) const;
    // New contacts become enter events, contacts not seen since the last
    // flush exit events.
    void FlushContacts(CPhysicalEntity* entity);
    void FlushAllContacts();
    // Notes a contact with the other entity; true when it is new.
    bool AddCollisionToList(CPhysicalEntity* entity, CPhysicalEntity* other);
    bool RemoveCollisionFromList(CPhysicalEntity* entity, CPhysicalEntity* other);

    // The collision cache (PhysicsEngineCache.cpp): one file per static
    // entity, "<id>.kvophysicscache", holding its tree. A cache that does
    // not read back is ignored (the tree is built from the mesh).
    NewtonCollision* LoadCollisionCache(CPhysicalEntity* entity);
    // Written to a temporary file and put in place only when complete.
    bool SaveCollisionCache(CPhysicalEntity* entity, const std::wstring& folder);
    // The cache file found along the search paths, or empty.
    void FindCollisionCache(std::wstring& path, CPhysicalEntity* entity);

    // The joint registry (PhysicsEngineJoints.cpp): the engine owns every
    // joint in it, keyed by id. Each create operation makes the kind and
    // registers it, replacing a joint of the same id; it answers null, with
    // nothing registered, when the world refuses the joint (a side without
    // a body). Hinge and cone angles are degrees.
    using JointMap = std::map<std::string, std::unique_ptr<CJoint>>;
    CJoint* RegisterJoint(std::unique_ptr<CJoint> joint);
    CJoint* CreateJointHinge(const std::string& id, const CVector& pivot, const CVector& pin,
                             CPhysicalEntity* child, CPhysicalEntity* parent);
    CJoint* CreateJointHingeLimited(const std::string& id, const CVector& pivot, const CVector& pin,
                                    CPhysicalEntity* child, CPhysicalEntity* parent, float minimum,
                                    float maximum);
    CJoint* CreateJointCorkscrew(const std::string& id, const CVector& pivot, const CVector& pin,
                                 CPhysicalEntity* child, CPhysicalEntity* parent);
    CJoint* CreateJointCorkscrewLimited(const std::string& id, const CVector& pivot, const CVector& pin,
                                        CPhysicalEntity* child, CPhysicalEntity* parent, float minimum,
                                        float maximum);
    CJoint* CreateJointSlider(const std::string& id, const CVector& pivot, const CVector& pin,
                              CPhysicalEntity* child, CPhysicalEntity* parent);
    CJoint* CreateJointSliderLimited(const std::string& id, const CVector& pivot, const CVector& pin,
                                     CPhysicalEntity* child, CPhysicalEntity* parent, float minimum,
                                     float maximum);
    CJoint* CreateJointSpring(const std::string& id, const CVector& pivot, const CVector& pin,
                              CPhysicalEntity* child, CPhysicalEntity* parent, float minimum, float maximum,
                              float stiffness, float springFactor, float springDamping);
    CJoint* CreateJointBallAndSocket(const std::string& id, const CVector& pivot, CPhysicalEntity* child,
                                     CPhysicalEntity* parent);
    CJoint* CreateJointBallAndSocketLimited(const std::string& id, const CVector& pivot,
                                            CPhysicalEntity* child, CPhysicalEntity* parent, float coneAngle,
                                            const CVector& twistDirection);
    CJoint* CreateJointUpVector(const std::string& id, const CVector& pin, CPhysicalEntity* child);
    CJoint* CreateJointPulley(const std::string& id, const CVector& childPin, const CVector& parentPin,
                              CPhysicalEntity* child, CPhysicalEntity* parent, float ratio);
    CJoint* CreateJointGear(const std::string& id, const CVector& childPin, const CVector& parentPin,
                            CPhysicalEntity* child, CPhysicalEntity* parent, float ratio);
    CJoint* CreateJointFixed(const std::string& id, CPhysicalEntity* child, CPhysicalEntity* parent);
    // Throws "[CPhysicsEngine::GetJoint] Joint id not found:%s".
    CJoint& GetJoint(const std::string& id) const;
    bool JointExists(const std::string& id) const;
    // False when the id is not registered.
    bool DestroyJoint(const std::string& id);
    bool DestroyAllJoints();
    const JointMap& GetJoints() const { return m_joints; }
    // The joint of the record's kind, from its settings (not registered);
    // null for an empty id. Throws "[CPhysicsEngine::CreateJointFromParams]
    // Unknown joint type:%i" for another type code.
    std::unique_ptr<CJoint> CreateJointFromParams(const CJoint& record);
    // After a world load: every joint is made again between the entities of
    // the world that carry its ids. A joint that cannot be made (an entity
    // missing or without a body) stays as it is, and the log says so.
    bool RecreateJoints(IJointEntityLookup& world);

    // Queries (PhysicsEngineQueries.cpp). The ray's hits, nearest first
    // (equal parameters in the order found); false without a world or a hit.
    bool RayCast(const CVector& start, const CVector& end, CRayCastResult& result);
    // Appends the ids of the entities whose bodies' boxes meet the box (an
    // axis given the wrong way round is swapped); the list's size.
    int GetEntitiesInBox(float minX, float minY, float minZ, float maxX, float maxY, float maxZ,
                         std::vector<std::string>& ids);
    // Where the two bodies touch: up to maxContacts points (3 floats),
    // normals (3 floats) and penetrations (1 float); the count.
    int GetCollisionData(int maxContacts, CPhysicalEntity* entityA, CPhysicalEntity* entityB, float* contacts,
                         float* normals, float* penetrations);

    // Saving: the "PhysicsTypes{" block of the world file.
    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOPHYSICSENGINE"; }

private:
    // Takes the entity off the monitored ones; false if it was not on.
    bool Unmonitor(const CPhysicalEntity* entity);
    // The events the world's callbacks queue during an update.
    struct SQueues
    {
        std::list<CEvtEntityActivated> activated;
        std::list<CEvtEntityPair> enter;
        std::list<CEvtEntityPair> exit;
        std::list<CEvtEntity> leftWorld;
    };

    void PublishQueued();
    void ApplyWorldSize();
    static TypeMap& Types();
    void DetachAllEntities();
    // The body of a new build, or null (PhysicsEngineBodies.cpp).
    NewtonBody* BuildBody(CPhysicalEntity& entity);
    NewtonCollision* BuildShape(CPhysicalEntity& entity, bool isStatic, bool& isTree);
    // The link's leaving step: the body goes, and nothing of the part stays
    // in the engine. It runs also while the part is being destroyed, so it
    // reads nothing of the entity that owns the part.
    static void ForgetPart(CPhysicsEngine& engine, CPhysicsLink& link);

    // Joints (PhysicsEngineJoints.cpp). The joint, registered; null (and
    // nothing registered) when it has no world joint.
    CJoint* RegisterCreated(std::unique_ptr<CJoint> joint);
    // Descriptions of the joints that involve the entity, for making them
    // again once its body is rebuilt.
    std::vector<std::unique_ptr<CJoint>> CaptureJoints(const CPhysicalEntity* entity) const;
    void RestoreJoints(std::vector<std::unique_ptr<CJoint>>& captured);
    // Before the entity's body goes: its joints leave the registry.
    void DestroyJointsOf(const CPhysicalEntity* entity);
    // The registered joints that involve the entity, in id order.
    std::vector<CJoint*> JointsOf(const CPhysicalEntity* entity) const;
    // The registry's joints by the entities they join, kept with it.
    void IndexJoint(CJoint& joint);
    void UnindexJoint(const CJoint& joint);

    // World callbacks.
    static void LeaveWorld(const NewtonBody* body);
    static void DrawBody(const NewtonBody* body);
    static void MoveEntity(const NewtonBody* body, const float* matrix);
    static void ApplyForces(const NewtonBody* body);
    static void ActivationChanged(const NewtonBody* body, unsigned state);
    static int ContactBegin(const NewtonMaterial* material, const NewtonBody* body0, const NewtonBody* body1);
    static int ContactProcess(const NewtonMaterial* material);
    static void ContactEnd(const NewtonMaterial* material);

    NewtonWorld* m_world = nullptr;
    Graphics::ILineSink* m_debugLines = nullptr;
    float m_minMass = 0.0f;
    float m_maxMass = 1000.0f;
    float m_staticFriction = 0.6f;
    float m_dynamicFriction = 0.5f;
    float m_elasticity = 0.0f;
    bool m_optimiseTrees = false;
    CVector m_worldMin;
    CVector m_worldMax;
    // In the order they came (their events are flushed in that order), and
    // where each stands in it, so that one leaves in constant time.
    std::list<CPhysicalEntity*> m_monitored;
    std::unordered_map<const CPhysicalEntity*, std::list<CPhysicalEntity*>::iterator> m_monitoredAt;
    // The parts with a body of this world.
    std::unordered_set<CPhysicalEntity*> m_bodied;
    SQueues m_queues;
    JointMap m_joints;
    // The same joints by their child and their parent, so that what an
    // entity's body change touches is found without walking every joint.
    std::unordered_multimap<const CPhysicalEntity*, CJoint*> m_jointsOf;
    // Last: its parts leave before the rest of the engine goes.
    CPhysicsParts m_parts{*this, &CPhysicsEngine::ForgetPart};
};
