#include "physics/PhysicalEntity.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/Math3D.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "physics/newton/Newton.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace FileVersion = Misc::Serialization::FileVersion;

using Misc::Serialization::IArchive;

namespace
{

CVector FromFloats(const float* values)
{
    return CVector(values[0], values[1], values[2]);
}

CVector Sum(const CVector& a, const CVector& b)
{
    return CVector(a.x + b.x, a.y + b.y, a.z + b.z);
}

// A value that does not read ends the read: what follows it cannot be
// found.
void ThrowUnreadable(const char* key)
{
    throw Misc::Error::CKVOError::Format(L"[CPhysicalEntity::Read] Value of %S unreadable", key);
}

void RequireValue(bool read, const char* key)
{
    if (!read)
        ThrowUnreadable(key);
}

bool WriteKeyVector(IArchive& archive, const char* key, const CVector& value)
{
    return archive.WriteKeyString(key, value.ToString());
}

// A vector saved as one text value; parts the text lacks read as 0.
bool ReadKeyVector(IArchive& archive, const char* key, CVector& value)
{
    std::string text;
    if (!archive.ReadKeyString(key, text))
        return false;
    value = CVector();
    value.FromString(text);
    return true;
}

// A float saved where newer files keep a vector: copied to all three.
bool ReadKeySpread(IArchive& archive, const char* key, CVector& value)
{
    float single = 0.0f;
    if (!archive.ReadKeyFloat(key, single))
        return false;
    value = CVector(single, single, single);
    return true;
}

// A frame count kept as a float, as a whole number: what is no count
// (negative, NaN) is 0, and counts past the largest are the largest.
uint32_t WholeFrames(float frames)
{
    if (!(frames > 0.0f))
        return 0;
    if (frames >= 4294967296.0f)
        return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(frames);
}

} // namespace

CPhysicalEntity::CPhysicalEntity() = default;

CPhysicalEntity::CPhysicalEntity(const CPhysicalEntity& other) : Misc::World::IEntityInterface(other)
{
    *this = other;
}

CPhysicalEntity& CPhysicalEntity::operator=(const CPhysicalEntity& other)
{
    if (this == &other)
        return *this;
    // A copy is a new part: it holds no body of its own.
    if (CPhysicsEngine* engine = GetEngine())
        engine->RemoveEntity(this);
    m_mass = other.m_mass;
    m_collisionType = other.m_collisionType;
    m_typeName = other.m_typeName;
    m_detailLevel = other.m_detailLevel;
    m_collidable = other.m_collidable;
    m_predictionSkew = other.m_predictionSkew;
    m_predictionEnabled = other.m_predictionEnabled;
    m_predictionThreshold = other.m_predictionThreshold;
    m_predictionSkewFactor = other.m_predictionSkewFactor;
    m_predictionSkewDampening = other.m_predictionSkewDampening;
    m_constantVelocity = other.m_constantVelocity;
    m_constantOmega = other.m_constantOmega;
    m_impulseForce = other.m_impulseForce;
    m_impulseTorque = other.m_impulseTorque;
    m_impulseDamping = other.m_impulseDamping;
    m_constantForce = other.m_constantForce;
    m_constantTorque = other.m_constantTorque;
    m_buoyancy = other.m_buoyancy;
    m_monitorMode = other.m_monitorMode;
    m_contacts.clear();
    m_centreOfMass = other.m_centreOfMass;
    m_momentOfInertia = other.m_momentOfInertia;
    m_linearDamping = other.m_linearDamping;
    m_angularDamping = other.m_angularDamping;
    m_linearThreshold = other.m_linearThreshold;
    m_angularThreshold = other.m_angularThreshold;
    m_thresholdFrames = other.m_thresholdFrames;
    m_autoDeactivate = other.m_autoDeactivate;
    m_velocity = other.m_velocity;
    m_omega = other.m_omega;
    return *this;
}

// The link leaves the engine as it goes (the body goes with it).
CPhysicalEntity::~CPhysicalEntity() = default;

void CPhysicalEntity::ReleaseEngine()
{
    m_body = nullptr;
}

void CPhysicalEntity::ThrowAbout(const wchar_t* format) const
{
    throw Misc::Error::CKVOError::Format(format, GetName().c_str(), Misc::Text::Utf8ToWide(GetId()).c_str());
}

bool CPhysicalEntity::IsDynamic() const
{
    return GetEngine() != nullptr && GetEngine()->GetMassType(m_mass) == CPhysicsEngine::kDynamic;
}

void CPhysicalEntity::SetImpulseDamping(float damping)
{
    // NaN counts as below.
    m_impulseDamping = damping >= 0.0f ? (damping > 1.0f ? 1.0f : damping) : 0.0f;
}

void CPhysicalEntity::SetLinearDamping(float damping)
{
    m_linearDamping = damping;
    if (HasBody())
        NewtonBodySetLinearDamping(m_body, damping);
}

float CPhysicalEntity::GetLinearDamping()
{
    if (HasBody())
        m_linearDamping = NewtonBodyGetLinearDamping(m_body);
    return m_linearDamping;
}

void CPhysicalEntity::SetAngularDamping(const CVector& damping)
{
    m_angularDamping = damping;
    const float values[3] = {damping.x, damping.y, damping.z};
    if (HasBody())
        NewtonBodySetAngularDamping(m_body, values);
}

const CVector& CPhysicalEntity::GetAngularDamping()
{
    if (HasBody())
    {
        float values[3];
        NewtonBodyGetAngularDamping(m_body, values);
        m_angularDamping = FromFloats(values);
    }
    return m_angularDamping;
}

void CPhysicalEntity::SetCentreOfMass(const CVector& centre)
{
    m_centreOfMass = centre;
    const float values[3] = {centre.x, centre.y, centre.z};
    if (HasBody())
        NewtonBodySetCentreOfMass(m_body, values);
}

const CVector& CPhysicalEntity::GetCentreOfMass()
{
    if (HasBody())
    {
        float values[3];
        NewtonBodyGetCentreOfMass(m_body, values);
        m_centreOfMass = FromFloats(values);
    }
    return m_centreOfMass;
}

void CPhysicalEntity::SetMomentOfInertia(const CVector& inertia)
{
    m_momentOfInertia = inertia;
    if (HasBody() && IsDynamic())
        NewtonBodySetMassMatrix(m_body, m_mass, inertia.x, inertia.y, inertia.z);
}

const CVector& CPhysicalEntity::GetMomentOfInertia()
{
    // A static body has no mass matrix to read: the stored value stays.
    if (HasBody() && IsDynamic())
    {
        float mass;
        float values[3];
        NewtonBodyGetMassMatrix(m_body, &mass, &values[0], &values[1], &values[2]);
        m_momentOfInertia = FromFloats(values);
    }
    return m_momentOfInertia;
}

void CPhysicalEntity::SetVelocity(const CVector& velocity)
{
    m_velocity = velocity;
    const float values[3] = {velocity.x, velocity.y, velocity.z};
    if (HasBody())
        NewtonBodySetVelocity(m_body, values);
}

void CPhysicalEntity::GetVelocity(CVector& velocity)
{
    if (HasBody())
    {
        float values[3];
        NewtonBodyGetVelocity(m_body, values);
        m_velocity = FromFloats(values);
    }
    velocity = m_velocity;
}

void CPhysicalEntity::SetOmega(const CVector& omega)
{
    m_omega = omega;
    const float values[3] = {omega.x, omega.y, omega.z};
    if (HasBody())
        NewtonBodySetOmega(m_body, values);
}

const CVector& CPhysicalEntity::GetOmega()
{
    if (HasBody())
    {
        float values[3];
        NewtonBodyGetOmega(m_body, values);
        m_omega = FromFloats(values);
    }
    return m_omega;
}

void CPhysicalEntity::GetForce(CVector& force)
{
    float values[3] = {0.0f, 0.0f, 0.0f};
    if (HasBody())
        NewtonBodyGetForce(m_body, values);
    force = FromFloats(values);
}

void CPhysicalEntity::GetTorque(CVector& torque)
{
    float values[3] = {0.0f, 0.0f, 0.0f};
    if (HasBody())
        NewtonBodyGetTorque(m_body, values);
    torque = FromFloats(values);
}

float CPhysicalEntity::GetSpeed()
{
    CVector velocity;
    GetVelocity(velocity);
    return std::sqrt(velocity.x * velocity.x + velocity.y * velocity.y + velocity.z * velocity.z);
}

float CPhysicalEntity::GetSpeedInDirection(const CVector& direction)
{
    CVector velocity;
    GetVelocity(velocity);
    return velocity.x * direction.x + velocity.y * direction.y + velocity.z * direction.z;
}

void CPhysicalEntity::SetThresholds(float linearSpeed, float angularSpeed, uint32_t frames)
{
    m_linearThreshold = linearSpeed;
    m_angularThreshold = angularSpeed;
    m_thresholdFrames = static_cast<float>(frames);
    ApplyThresholds();
}

uint32_t CPhysicalEntity::FrameCount() const
{
    return WholeFrames(m_thresholdFrames);
}

void CPhysicalEntity::ApplyThresholds()
{
    // The body compares squared speeds.
    if (HasBody())
        NewtonBodySetFreezeTreshold(
            m_body, m_linearThreshold * m_linearThreshold, m_angularThreshold * m_angularThreshold,
            static_cast<int>(std::min<uint32_t>(FrameCount(), std::numeric_limits<int>::max())));
}

bool CPhysicalEntity::GetThresholds(float& linearSpeed, float& angularSpeed, uint32_t& frames)
{
    if (HasBody())
    {
        float linear2 = 0.0f;
        float angular2 = 0.0f;
        int count = 0;
        NewtonBodyGetFreezeTreshold(m_body, &linear2, &angular2, &count);
        m_linearThreshold = std::sqrt(linear2);
        m_angularThreshold = std::sqrt(angular2);
        m_thresholdFrames = static_cast<float>(count);
    }
    linearSpeed = m_linearThreshold;
    angularSpeed = m_angularThreshold;
    frames = FrameCount();
    return true;
}

void CPhysicalEntity::SetAutoDeactivation(bool on)
{
    m_autoDeactivate = on;
    if (HasBody())
        NewtonBodySetAutoFreeze(m_body, on ? 1 : 0);
    if (!on)
        Activate();
}

bool CPhysicalEntity::GetAutoDeactivation()
{
    if (HasBody())
        m_autoDeactivate = NewtonBodyGetAutoFreeze(m_body) != 0;
    return m_autoDeactivate;
}

void CPhysicalEntity::Activate()
{
    if (HasBody())
        NewtonWorldUnfreezeBody(GetEngine()->GetWorld(), m_body);
}

bool CPhysicalEntity::IsActive() const
{
    return HasBody() && NewtonBodyGetSleepingState(m_body) != 0;
}

void CPhysicalEntity::Deactivate()
{
    if (!HasBody())
        ThrowAbout(L"[CPhysicalEntity::Deactivate] Physical entity not intialised [%s,%s]");
    NewtonWorldFreezeBody(GetEngine()->GetWorld(), m_body);
}

void CPhysicalEntity::SetConstantVelocity(const CVector& velocity)
{
    m_constantVelocity = velocity;
    Activate();
}

void CPhysicalEntity::SetConstantOmega(const CVector& omega)
{
    m_constantOmega = omega;
    Activate();
}

void CPhysicalEntity::SetImpulseForce(const CVector& force)
{
    m_impulseForce = force;
    Activate();
}

void CPhysicalEntity::SetImpulseTorque(const CVector& torque)
{
    m_impulseTorque = torque;
    Activate();
}

void CPhysicalEntity::SetConstantForce(const CVector& force)
{
    m_constantForce = force;
    Activate();
}

void CPhysicalEntity::SetConstantTorque(const CVector& torque)
{
    m_constantTorque = torque;
    Activate();
}

void CPhysicalEntity::SetBuoyancyParams(const CVector& params)
{
    m_buoyancy = params;
    Activate();
}

void CPhysicalEntity::AddConstantVelocity(const CVector& velocity)
{
    SetConstantVelocity(Sum(m_constantVelocity, velocity));
}

void CPhysicalEntity::AddConstantOmega(const CVector& omega)
{
    SetConstantOmega(Sum(m_constantOmega, omega));
}

void CPhysicalEntity::AddImpulseForce(const CVector& force)
{
    SetImpulseForce(Sum(m_impulseForce, force));
}

void CPhysicalEntity::AddImpulseTorque(const CVector& torque)
{
    SetImpulseTorque(Sum(m_impulseTorque, torque));
}

void CPhysicalEntity::AddConstantForce(const CVector& force)
{
    SetConstantForce(Sum(m_constantForce, force));
}

void CPhysicalEntity::AddConstantTorque(const CVector& torque)
{
    SetConstantTorque(Sum(m_constantTorque, torque));
}

void CPhysicalEntity::AddImpulseForceOffset(const CVector& deltaVelocity, const CVector& offset)
{
    if (!HasBody())
        ThrowAbout(L"[CPhysicalEntity::AddImpulseForceOffset] Physical entity not intialised [%s,%s]");
    const CVector point = Sum(GetPosition(), offset);
    const float change[3] = {deltaVelocity.x, deltaVelocity.y, deltaVelocity.z};
    const float where[3] = {point.x, point.y, point.z};
    NewtonAddBodyImpulse(m_body, change, where);
}

void CPhysicalEntity::StopMotion()
{
    // Also without a body: the next body starts at rest.
    SetVelocity(CVector());
    SetOmega(CVector());
    SetImpulseForce(CVector());
    SetImpulseTorque(CVector());
    SetImpulseDamping(1.0f);
    SetConstantForce(CVector());
    SetBuoyancyParams(CVector());
    SetConstantTorque(CVector());
    SetConstantVelocity(CVector());
    SetConstantOmega(CVector());
}

void CPhysicalEntity::EnableCollisionPrediction(bool enabled, const CVector& threshold,
                                                const CVector& skewFactor, const CVector& skewDampening)
{
    m_predictionEnabled = enabled;
    m_predictionThreshold = threshold;
    m_predictionSkewFactor = skewFactor;
    m_predictionSkewDampening = skewDampening;
}

void CPhysicalEntity::MonitorCollisions(int32_t mode)
{
    m_monitorMode = mode;
    if (CPhysicsEngine* engine = GetEngine())
        engine->SetMonitored(this, mode != 0);
}

std::wstring CPhysicalEntity::GetCacheFilename()
{
    std::wstring path;
    if (CPhysicsEngine* engine = GetEngine())
        engine->FindCollisionCache(path, this);
    return path;
}

bool CPhysicalEntity::SaveToCache(const std::wstring& folder)
{
    if (!HasBody())
        ThrowAbout(L"[CPhysicalEntity::SaveToCache] Physical entity not intialised [%s,%s]");
    return GetEngine()->SaveCollisionCache(this, folder);
}

void CPhysicalEntity::Refresh()
{
    CPhysicsEngine* engine = GetEngine();
    if (engine == nullptr)
        return;
    const CVector position = GetPosition();
    const CVector rotation = GetRotation();
    engine->AddEntity(this);
    // The new body stands where the owner stood, unless bringing the parts
    // up to date moved the owner.
    const auto same = [](const CVector& a, const CVector& b)
    { return a.x == b.x && a.y == b.y && a.z == b.z; };
    if (same(GetPosition(), position) && same(GetRotation(), rotation))
        return;
    CPhysicalEntity::SetPosition(position);
    CPhysicalEntity::SetRotation(rotation);
}

void CPhysicalEntity::Rescale()
{
    CPhysicsEngine* engine = GetEngine();
    if (engine != nullptr && !engine->ReshapeEntity(this))
        Refresh();
}

void CPhysicalEntity::SetPosition(const CVector& position)
{
    if (!HasBody())
        return;
    float matrix[16];
    MakeTransformationMatrix(position, GetRotation(), GetScale(), matrix);
    NewtonBodySetMatrix(m_body, matrix);
}

void CPhysicalEntity::SetRotation(const CVector& rotation)
{
    if (!HasBody())
        return;
    float matrix[16];
    MakeTransformationMatrix(GetPosition(), rotation, GetScale(), matrix);
    NewtonBodySetMatrix(m_body, matrix);
}

void CPhysicalEntity::SetDebugFlags(uint32_t flags)
{
    CPhysicsEngine* engine = GetEngine();
    if (engine != nullptr && (flags & CPhysicsEngine::kDebugDrawFlag) != 0)
        engine->EnableDebugDrawing(true);
}

bool CPhysicalEntity::ApplyProperties()
{
    if (!HasBody())
        return false;
    CPhysicsEngine* engine = GetEngine();
    if (engine->TypeExists(GetPhysicsTypeName()))
        NewtonBodySetMaterialGroupID(m_body, engine->GetTypeId(GetPhysicsTypeName()));
    float matrix[16];
    MakeTransformationMatrix(GetPosition(), GetRotation(), GetScale(), matrix);
    NewtonBodySetMatrix(m_body, matrix);
    SetCollidable(m_collidable);
    SetCentreOfMass(m_centreOfMass);
    SetMomentOfInertia(m_momentOfInertia);
    SetLinearDamping(m_linearDamping);
    SetAngularDamping(m_angularDamping);
    SetThresholds(m_linearThreshold, m_angularThreshold, FrameCount());
    SetAutoDeactivation(m_autoDeactivate);
    // The stored motion: what a file held, or what the last body had.
    SetVelocity(m_velocity);
    SetOmega(m_omega);
    MonitorCollisions(m_monitorMode);
    return true;
}

void CPhysicalEntity::Clear()
{
    m_mass = -1.0f;
    m_collisionType = kBox;
    m_detailLevel = 5;
    m_typeName.SetValue(std::wstring());
    m_contacts.clear();
    m_predictionEnabled = false;
    m_predictionThreshold = CVector();
    m_predictionSkewFactor = CVector(1.5f, 1.5f, 1.5f);
    m_predictionSkewDampening = CVector(0.9f, 0.9f, 0.9f);
    m_centreOfMass = CVector();
    m_momentOfInertia = CVector();
    m_linearDamping = 0.1f;
    m_angularDamping = CVector(0.1f, 0.1f, 0.1f);
    m_linearThreshold = 0.1f;
    m_angularThreshold = 0.1f;
    m_thresholdFrames = 10.0f;
    m_autoDeactivate = true;
    StopMotion();
    if (HasBody())
        ThrowAbout(L"[CPhysicalEntity::Clear] Physical entity cannot be released [%s,%s]");
}

namespace Field = Misc::Serialization::StoredField;

// The physics type is required; older files lack the collision type and
// the dynamic properties, and keep the values.
const Misc::Serialization::SStoredField<CPhysicalEntity> CPhysicalEntity::kStoredFields[] = {
    Field::Float<&CPhysicalEntity::m_mass>("-Mass"),
    Field::WholeNumber<&CPhysicalEntity::m_detailLevel>("-PhysicsDetailLevel"),
    {"-PhysicsType", 0,
     [](IArchive& archive, CPhysicalEntity& entity, const char*) { return entity.m_typeName.Write(archive); },
     [](IArchive& archive, CPhysicalEntity& entity, const char* key)
     {
         if (entity.m_typeName.Read(archive))
             return true;
         // Not the key: the archive's reading error names it.
         archive.ExpectToken(key);
         return false;
     }},
    Field::Signed<&CPhysicalEntity::m_collisionType>("-CollisionType", FileVersion::kCollisionType),
    {"DynamicProperties{", FileVersion::kDynamicProperties,
     [](IArchive& archive, CPhysicalEntity& entity, const char*)
     {
         // With a body, only a dynamic one has these settings; without
         // one, a part that could have a body keeps them in the file.
         const bool dynamic = entity.GetEngine() != nullptr ? entity.IsDynamic() : entity.m_mass >= 0.0f;
         bool written = true;
         if (dynamic)
             entity.WriteDynamicProperties(archive, written);
         return written;
     },
     [](IArchive& archive, CPhysicalEntity& entity, const char* key)
     {
         if (archive.TestToken(key))
             entity.ReadDynamicProperties(archive);
         return true;
     }},
};

bool CPhysicalEntity::Write(IArchive& archive)
{
    return archive.WriteString("Physics{") && archive.EndLine(+1) &&
           Misc::Serialization::WriteFields(archive, *this, kStoredFields) && archive.EndLine(-1) &&
           archive.WriteString("}") && archive.EndLine(0);
}

void CPhysicalEntity::WriteDynamicProperties(IArchive& archive, bool& written)
{
    float linear = 0.0f;
    float angular = 0.0f;
    uint32_t frames = 0;
    GetThresholds(linear, angular, frames);
    CVector velocity;
    GetVelocity(velocity);
    written = archive.WriteString("DynamicProperties{") && archive.EndLine(+1) &&
              archive.WriteKeyBool("-Collidable", m_collidable) &&
              WriteKeyVector(archive, "-CentreOfMass", GetCentreOfMass()) &&
              WriteKeyVector(archive, "-MomentOfInertia", GetMomentOfInertia()) &&
              archive.WriteKeyFloat("-LinearDamping", GetLinearDamping()) &&
              WriteKeyVector(archive, "-AngularDamping", GetAngularDamping()) &&
              WriteKeyVector(archive, "-ActivationThresholds",
                             CVector(linear, angular, static_cast<float>(frames))) &&
              archive.WriteKeyBool("-AutoDeactivate", GetAutoDeactivation()) &&
              WriteKeyVector(archive, "-ConstantVelocity", m_constantVelocity) &&
              WriteKeyVector(archive, "-ConstantOmega", m_constantOmega) &&
              WriteKeyVector(archive, "-ConstantForce", m_constantForce) &&
              WriteKeyVector(archive, "-ConstantTorque", m_constantTorque) &&
              WriteKeyVector(archive, "-BuoyancyParams", m_buoyancy) &&
              archive.WriteKeyFloat("-ImpulseDamping", m_impulseDamping) &&
              WriteKeyVector(archive, "-Velocity", velocity) &&
              WriteKeyVector(archive, "-Omega", GetOmega()) &&
              archive.WriteKeyBool("-CollisionPredictionEnabled", m_predictionEnabled) &&
              WriteKeyVector(archive, "-CollisionPredictionThreshold", m_predictionThreshold) &&
              WriteKeyVector(archive, "-CollisionPredictionSkew", m_predictionSkew) &&
              WriteKeyVector(archive, "-CollisionPredictionSkewFactor", m_predictionSkewFactor) &&
              WriteKeyVector(archive, "-CollisionPredictionSkewDampening", m_predictionSkewDampening) &&
              archive.WriteKeyInt("-MonitorCollisions", m_monitorMode) && archive.EndLine(-1) &&
              archive.WriteString("}") && archive.EndLine(0);
}

bool CPhysicalEntity::Read(IArchive& archive)
{
    const bool braced = archive.IsVersionAtLeast(FileVersion::kPhysicsBlock);
    if (braced)
        archive.ExpectToken("Physics{");
    Misc::Serialization::ReadRequiredFields(archive, *this, kStoredFields, &ThrowUnreadable);
    if (braced)
        archive.ExpectToken("}");
    return true;
}

void CPhysicalEntity::ReadDynamicProperties(IArchive& archive)
{
    auto require = [](bool read, const char* key) { RequireValue(read, key); };
    CVector vector;
    float single = 0.0f;
    bool flag = false;
    require(archive.ReadKeyBool("-Collidable", m_collidable), "-Collidable");
    require(ReadKeyVector(archive, "-CentreOfMass", vector), "-CentreOfMass");
    SetCentreOfMass(vector);
    require(ReadKeyVector(archive, "-MomentOfInertia", vector), "-MomentOfInertia");
    SetMomentOfInertia(vector);
    require(archive.ReadKeyFloat("-LinearDamping", single), "-LinearDamping");
    SetLinearDamping(single);
    require(ReadKeyVector(archive, "-AngularDamping", vector), "-AngularDamping");
    SetAngularDamping(vector);
    require(ReadKeyVector(archive, "-ActivationThresholds", vector), "-ActivationThresholds");
    SetThresholds(vector.x, vector.y, WholeFrames(vector.z));
    require(archive.ReadKeyBool("-AutoDeactivate", flag), "-AutoDeactivate");
    SetAutoDeactivation(flag);
    require(ReadKeyVector(archive, "-ConstantVelocity", vector), "-ConstantVelocity");
    SetConstantVelocity(vector);
    require(ReadKeyVector(archive, "-ConstantOmega", vector), "-ConstantOmega");
    SetConstantOmega(vector);
    require(ReadKeyVector(archive, "-ConstantForce", vector), "-ConstantForce");
    SetConstantForce(vector);
    require(ReadKeyVector(archive, "-ConstantTorque", vector), "-ConstantTorque");
    SetConstantTorque(vector);
    require(ReadKeyVector(archive, "-BuoyancyParams", vector), "-BuoyancyParams");
    SetBuoyancyParams(vector);
    require(archive.ReadKeyFloat("-ImpulseDamping", single), "-ImpulseDamping");
    SetImpulseDamping(single);
    require(ReadKeyVector(archive, "-Velocity", vector), "-Velocity");
    SetVelocity(vector);
    require(ReadKeyVector(archive, "-Omega", vector), "-Omega");
    SetOmega(vector);
    if (archive.IsVersionAtLeast(FileVersion::kCollisionPredictionVectors))
    {
        require(archive.ReadKeyBool("-CollisionPredictionEnabled", m_predictionEnabled),
                "-CollisionPredictionEnabled");
        require(ReadKeyVector(archive, "-CollisionPredictionThreshold", m_predictionThreshold),
                "-CollisionPredictionThreshold");
        require(ReadKeyVector(archive, "-CollisionPredictionSkew", m_predictionSkew),
                "-CollisionPredictionSkew");
        require(ReadKeyVector(archive, "-CollisionPredictionSkewFactor", m_predictionSkewFactor),
                "-CollisionPredictionSkewFactor");
        require(ReadKeyVector(archive, "-CollisionPredictionSkewDampening", m_predictionSkewDampening),
                "-CollisionPredictionSkewDampening");
    }
    else
    {
        // Older files keep one threshold, which also says whether
        // prediction is on, and single factors.
        require(ReadKeySpread(archive, "-CollisionPredictionThreshold", m_predictionThreshold),
                "-CollisionPredictionThreshold");
        m_predictionEnabled = m_predictionThreshold.x > 0.0f;
        require(ReadKeyVector(archive, "-CollisionPredictionSkew", m_predictionSkew),
                "-CollisionPredictionSkew");
        require(ReadKeySpread(archive, "-CollisionPredictionSkewFactor", m_predictionSkewFactor),
                "-CollisionPredictionSkewFactor");
        require(ReadKeySpread(archive, "-CollisionPredictionSkewDampening", m_predictionSkewDampening),
                "-CollisionPredictionSkewDampening");
    }
    require(archive.ReadKeyInt("-MonitorCollisions", m_monitorMode), "-MonitorCollisions");
    archive.ExpectToken("}");
}
