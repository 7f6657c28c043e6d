#pragma once

#include "core/foundation/Vector.h"
#include "core/io/StoredFields.h"
#include "core/io/TextValue.h"
#include "core/world/EntityInterface.h"
#include "physics/PhysicsEngine.h"

#include <cstdint>
#include <map>
#include <string>

struct NewtonBody;

// The physical part of an entity: its mass, shape, physics type, dampings,
// sleeping thresholds and the motion the engine applies each step
// (constant and decaying impulse forces, buoyancy, collision prediction).
// It keeps every setting whether or not it has a body and applies it to the
// body when there is one; a new body gets them all (ApplyProperties).
//
// The part joins a physics engine through its link: attached exactly while
// it has a body (CPhysicsEngine::AddEntity, RemoveEntity). Whichever goes
// first, the part or the engine, the body goes with the link.
//
// The entity that owns the part (the world's managed entity) implements
// the rest of the entity interface and OnBodyMoved; this part reads the
// owner's id, name, placement, flags and mesh through the interface.
class CPhysicalEntity : public virtual Misc::World::IEntityInterface
{
public:
    // The contact map: other entity's id to the contact's state.
    static constexpr int32_t kContactOver = 0;
    static constexpr int32_t kContactNew = 1;
    static constexpr int32_t kContactGoesOn = 3;
    using ContactMap = std::map<std::string, int32_t>;
    // Collision shapes.
    static constexpr int32_t kBox = 0;
    static constexpr int32_t kSphere = 1;
    static constexpr int32_t kConvexHull = 2;

    CPhysicalEntity();
    // A copy has the settings but no engine, body, contacts, or collision
    // size and centre.
    CPhysicalEntity(const CPhysicalEntity& other);
    CPhysicalEntity& operator=(const CPhysicalEntity& other);
    ~CPhysicalEntity() override;

    // The body moved: its position, rotation in degrees and the diagonal of
    // its matrix. The owner takes the placement without handing it back.
    virtual void OnBodyMoved(const CVector& position, const CVector& rotation, const CVector& diagonal) = 0;

    // Stored; they take effect at the next body build.
    void SetMass(float mass) { m_mass = mass; }
    float GetMass() const { return m_mass; }
    void SetType(const std::wstring& name) { m_typeName.SetValue(name); }
    const std::wstring& GetPhysicsTypeName() const { return m_typeName.GetValue(); }
    void SetCollisionType(int32_t type) { m_collisionType = type; }
    int32_t GetCollisionType() const { return m_collisionType; }
    void SetDetailLevel(uint32_t level) { m_detailLevel = level; }
    uint32_t GetDetailLevel() const { return m_detailLevel; }
    // Read by the contact callback for every touching pair.
    void SetCollidable(bool collidable) { m_collidable = collidable; }
    bool IsCollidable() const { return m_collidable; }
    // Kept within [0, 1].
    void SetImpulseDamping(float damping);
    float GetImpulseDamping() const { return m_impulseDamping; }

    // Stored and applied; the getters read the body first when there is one.
    void SetLinearDamping(float damping);
    float GetLinearDamping();
    void SetAngularDamping(const CVector& damping);
    const CVector& GetAngularDamping();
    void SetCentreOfMass(const CVector& centre);
    const CVector& GetCentreOfMass();
    // Applied only to a dynamic body: static bodies get no mass matrix.
    void SetMomentOfInertia(const CVector& inertia);
    const CVector& GetMomentOfInertia();
    void SetVelocity(const CVector& velocity);
    void SetOmega(const CVector& omega);
    const CVector& GetOmega();
    // The length of the owner's velocity, and its part along a direction.
    float GetSpeed();
    float GetSpeedInDirection(const CVector& direction);
    // The body sleeps once both speeds stayed below these for the frames.
    void SetThresholds(float linearSpeed, float angularSpeed, uint32_t frames);
    bool GetThresholds(float& linearSpeed, float& angularSpeed, uint32_t& frames);
    // Off also wakes the body.
    void SetAutoDeactivation(bool on);
    bool GetAutoDeactivation();
    void Activate();
    // False without a body.
    bool IsActive() const;
    // Throws "[CPhysicalEntity::Deactivate] Physical entity not intialised
    // [name,id]" without a body.
    void Deactivate();

    // What the engine applies each step; each setter and adder wakes the
    // body.
    void SetConstantVelocity(const CVector& velocity);
    void SetConstantOmega(const CVector& omega);
    void SetImpulseForce(const CVector& force);
    void SetImpulseTorque(const CVector& torque);
    void SetConstantForce(const CVector& force);
    void SetConstantTorque(const CVector& torque);
    // Fluid density, fluid linear viscosity, fluid angular viscosity. The
    // fluid has no surface: a body with buoyancy counts as wholly immersed
    // (one lighter than its fluid rises for as long as it is set).
    void SetBuoyancyParams(const CVector& params);
    void AddConstantVelocity(const CVector& velocity);
    void AddConstantOmega(const CVector& omega);
    void AddImpulseForce(const CVector& force);
    void AddImpulseTorque(const CVector& torque);
    void AddConstantForce(const CVector& force);
    void AddConstantTorque(const CVector& torque);
    const CVector& GetConstantVelocity() const { return m_constantVelocity; }
    const CVector& GetConstantOmega() const { return m_constantOmega; }
    const CVector& GetImpulseForce() const { return m_impulseForce; }
    const CVector& GetImpulseTorque() const { return m_impulseTorque; }
    const CVector& GetConstantForce() const { return m_constantForce; }
    const CVector& GetConstantTorque() const { return m_constantTorque; }
    const CVector& GetBuoyancyParams() const { return m_buoyancy; }
    // Changes the velocity at the owner's position plus the offset. Throws
    // "[CPhysicalEntity::AddImpulseForceOffset] Physical entity not
    // intialised [name,id]" without a body.
    void AddImpulseForceOffset(const CVector& deltaVelocity, const CVector& offset);
    // Everything back to rest: the body's motion and every applied value.
    void StopMotion();

    // Stretches the shape along its axes when it would move further than
    // threshold x collision size in one step; read at the next body build
    // and by every step.
    void EnableCollisionPrediction(bool enabled, const CVector& threshold, const CVector& skewFactor,
                                   const CVector& skewDampening);
    bool IsCollisionPredictionEnabled() const { return m_predictionEnabled; }
    const CVector& GetCollisionPredictionThreshold() const { return m_predictionThreshold; }
    const CVector& GetCollisionPredictionSkew() const { return m_predictionSkew; }
    const CVector& GetCollisionPredictionSkewFactor() const { return m_predictionSkewFactor; }
    const CVector& GetCollisionPredictionSkewDampening() const { return m_predictionSkewDampening; }

    // 0 off, 1 contacts when the bounding boxes meet, 2 only when contact
    // points were made.
    void MonitorCollisions(int32_t mode);
    int32_t GetMonitorMode() const { return m_monitorMode; }
    const ContactMap& GetContacts() const { return m_contacts; }

    CPhysicsEngine* GetEngine() const { return m_link.GetEngine(); }
    NewtonBody* GetBody() const { return m_body; }
    const CVector& GetCollisionSize() const { return m_collisionSize; }
    const CVector& GetCollisionCentre() const { return m_collisionCentre; }

    // The path of this entity's cache file, empty when there is none or no
    // engine.
    std::wstring GetCacheFilename();
    // Throws "[CPhysicalEntity::SaveToCache] Physical entity not intialised
    // [name,id]" without a body.
    bool SaveToCache(const std::wstring& folder);
    // Builds the body again where the owner stands.
    void Refresh();
    // After a new scale: a dynamic body takes the new shape in place (it
    // keeps its joints, contacts and motion, and wakes); any other body is
    // built again.
    void Rescale();

    // The entity interface's operations that concern the physical part.
    void SetPosition(const CVector& position) override;
    void SetRotation(const CVector& rotation) override;
    void GetForce(CVector& force) override;
    void GetTorque(CVector& torque) override;
    void GetVelocity(CVector& velocity) override;
    // Bit 0x400 switches the engine's debug drawing on.
    void SetDebugFlags(uint32_t flags);
    // Every stored setting onto the body; false without one.
    bool ApplyProperties();
    // Back to the defaults. A part still holding a body is reset, then
    // throws "[CPhysicalEntity::Clear] Physical entity cannot be released
    // [name,id]".
    void Clear() override;

    // The "Physics{" block; the dynamic settings ("DynamicProperties{")
    // are written for a dynamic body, and for a part without a body that
    // could have one (mass 0 or more), so a world saved while physics is
    // stopped keeps them.
    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOPHYSICALENTITY"; }

private:
    friend class CPhysicsEngine;

    // The error of the format, given the owner's name and id.
    [[noreturn]] void ThrowAbout(const wchar_t* format) const;
    bool HasBody() const { return m_body != nullptr && GetEngine() != nullptr; }
    bool IsDynamic() const;
    // The stored frame count as a whole number.
    uint32_t FrameCount() const;
    void ApplyThresholds();
    void WriteDynamicProperties(Misc::Serialization::IArchive& archive, bool& written);
    void ReadDynamicProperties(Misc::Serialization::IArchive& archive);

    // The fields of the "Physics{" block, in file order; Write and Read
    // run over them.
    static const Misc::Serialization::SStoredField<CPhysicalEntity> kStoredFields[];
    // The link's release step: the engine is going down.
    void ReleaseEngine();

    float m_mass = -1.0f;
    int32_t m_collisionType = kBox;
    CTextValue m_typeName{L"-PhysicsType"};
    uint32_t m_detailLevel = 5;
    bool m_collidable = true;
    CVector m_predictionSkew;
    bool m_predictionEnabled = false;
    CVector m_predictionThreshold;
    CVector m_predictionSkewFactor{1.5f, 1.5f, 1.5f};
    CVector m_predictionSkewDampening{0.9f, 0.9f, 0.9f};
    NewtonBody* m_body = nullptr;
    CVector m_collisionSize;
    CVector m_collisionCentre;
    CVector m_constantVelocity;
    CVector m_constantOmega;
    CVector m_impulseForce;
    CVector m_impulseTorque;
    float m_impulseDamping = 1.0f;
    CVector m_constantForce;
    CVector m_constantTorque;
    CVector m_buoyancy;
    int32_t m_monitorMode = 0;
    ContactMap m_contacts;
    CVector m_centreOfMass;
    CVector m_momentOfInertia;
    float m_linearDamping = 0.1f;
    CVector m_angularDamping{0.1f, 0.1f, 0.1f};
    float m_linearThreshold = 0.1f;
    float m_angularThreshold = 0.1f;
    float m_thresholdFrames = 10.0f;
    bool m_autoDeactivate = true;
    CVector m_velocity;
    CVector m_omega;
    CPhysicsLink m_link{this, &Misc::World::CPartRelease<&CPhysicalEntity::ReleaseEngine>::Call};
};
