#pragma once

// The entities a world holds: one graphical kind (the entity itself, as its
// base) joined with a physical and a sonic part. The managed entity keeps
// the entity's id, name, placement, script, data and flags and hands every
// change on, in a fixed order, to the sonic part, the graphical part and the
// physical part; each part ignores what arrives while it has no engine.
//
// One template serves every kind; the camera and the waypoint add members
// of their own (ManagedCamera.h, ManagedWaypoint.h), the world's sky record
// wraps the sky (Sky.h).
//
// A managed entity is saved as its kind's block ("Light{" ... "}"), which
// holds the entity record: "-Id", "-Name", "-Position", "-Rotation",
// "-Scale", "-Script", the "Data{" block, the graphical kind's record, the
// "Physics{" block and the "Sounds{" block. Its type name is its kind's tag
// ("KVOLIGHT", ...), the tag of an entity saved to a file of its own.

#include "core/foundation/KVOError.h"
#include "core/io/Archive.h"
#include "core/io/DataBag.h"
#include "core/io/KeyedField.h"
#include "core/io/TextValue.h"
#include "core/io/Uuid.h"
#include "graphics/engine/GraphicsPorts.h"
#include "graphics/scene/GraphicalAgent.h"
#include "graphics/scene/GraphicalBillboard.h"
#include "graphics/scene/GraphicalCamera.h"
#include "graphics/scene/GraphicalCursor.h"
#include "graphics/scene/GraphicalLight.h"
#include "graphics/scene/GraphicalParticleSystem.h"
#include "graphics/scene/GraphicalSky.h"
#include "graphics/scene/GraphicalTerrain.h"
#include "graphics/scene/GraphicalTrigger.h"
#include "graphics/scene/GraphicalUnit.h"
#include "graphics/scene/GraphicalWater.h"
#include "graphics/scene/GraphicalWaypoint.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "sound/SonicEntity.h"
#include "sound/SoundEngine.h"
#include "world/KindClasses.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// The orders in which a managed entity hands a change on to its parts.
enum class EPartOrder
{
    // Sonic, graphical, physical: placement and flags.
    Placement,
    // Graphical, physical, sonic: defaults, copies and the record.
    Record,
};

// One call per part type out of several lambdas, for a fan-out whose parts
// take the change each in their own way.
template <class... Calls> struct CPartCalls : Calls...
{
    using Calls::operator()...;
};
template <class... Calls> CPartCalls(Calls...) -> CPartCalls<Calls...>;

// What every managed kind shares; CManagedEntity<Kind> below is the class
// the world uses.
template <class Kind> class CManagedEntityBase : public Kind, public CPhysicalEntity, public CSonicEntity
{
public:
    using Archive = Misc::Serialization::IArchive;

    // The defaults (Clear), then the kind's solidity.
    CManagedEntityBase();
    // The settings and the same id; the copy belongs to no engine (NewId
    // makes it an entity of its own).
    CManagedEntityBase(const CManagedEntityBase& other);
    // The parts' settings, then the id, name, placement, script, data and
    // flags, in that order.
    CManagedEntityBase& operator=(const CManagedEntityBase& other);
    // Leaves the sound, physics and graphics engines while still whole.
    ~CManagedEntityBase() override;

    // The entity interface.
    const char* GetId() const override { return m_id.GetId().c_str(); }
    // Text that is no UUID throws "[CManagedEntity::SetId] Invalid id:%s"
    // and keeps the id.
    void SetId(const char* id) override;
    void NewId() override { m_id.NewId(); }
    const std::wstring& GetName() const override { return m_name.GetValue(); }
    void SetName(const std::wstring& name) override { m_name.SetValue(name); }
    const CVector& GetPosition() const override { return m_position; }
    void SetPosition(const CVector& position) override;
    const CVector& GetRotation() const override { return m_rotation; }
    void SetRotation(const CVector& rotation) override;
    const CVector& GetFrontVector() const override { return Kind::GetFrontVector(); }
    const CVector& GetUpVector() const override { return Kind::GetUpVector(); }
    const CVector& GetScale() const override { return m_scale; }
    // The body, when there is one, is built again for the new scale.
    void SetScale(const CVector& scale) override;
    void GetForce(CVector& force) override { CPhysicalEntity::GetForce(force); }
    void GetTorque(CVector& torque) override { CPhysicalEntity::GetTorque(torque); }
    void GetVelocity(CVector& velocity) override { CPhysicalEntity::GetVelocity(velocity); }
    const std::wstring& GetScript() const override { return m_script.GetValue(); }
    void SetScript(const std::wstring& script) override { m_script.SetValue(script); }
    void SetFlags(uint32_t flags) override;
    uint32_t GetFlags() const override { return m_flags; }
    CDataBag& GetData() override { return m_data; }
    const CDataBag& GetData() const override { return m_data; }
    // Name, placement, script and data to their defaults (the id stays),
    // then the graphical, physical and sonic parts' own.
    void Clear() override;
    // Every part applies its stored state again; true.
    bool UpdateParts() override;
    CPhysicalEntity* GetPhysicalPart() override { return this; }
    Graphics::Scene::CGraphicalEntity* GetGraphicalPart() override { return this; }
    CSonicEntity* GetSonicPart() override { return this; }
    uint32_t GetFaces(std::vector<Misc::World::CTriangle>& faces, CVector& collisionSize,
                      CVector& collisionCentre, float epsilon, uint32_t detailLevel) override
    {
        return Kind::GetFaces(faces, collisionSize, collisionCentre, epsilon, detailLevel);
    }
    uint32_t GetVertices(std::vector<CVector>& vertices, CVector& collisionSize,
                         CVector& collisionCentre) override
    {
        return Kind::GetVertices(vertices, collisionSize, collisionCentre);
    }
    void GetBoundingBox(CVector& minimum, CVector& maximum) override
    {
        Kind::GetBoundingBox(minimum, maximum);
    }
    void GetAbsolutePosition(CVector& position) override { Kind::GetAbsolutePosition(position); }
    void GetAbsoluteRotation(CVector& rotation) override { Kind::GetAbsoluteRotation(rotation); }
    void GetAbsoluteScale(CVector& scale) override { Kind::GetAbsoluteScale(scale); }

    // The body moved: the placement is taken as it is (the body has it
    // already) and the other parts follow at their engines' next steps.
    void OnBodyMoved(const CVector& position, const CVector& rotation, const CVector& diagonal) override;

    // The kind's block. Reading gives false, with only the first token
    // read, when the block is another kind's.
    bool Write(Archive& archive) override;
    bool Read(Archive& archive) override;
    const char* GetTypeName() const override { return Kind::GetTypeName(); }

protected:
    // The entity record, without the block around it.
    bool WriteRecord(Archive& archive);
    // A value that does not read throws "[CManagedEntity::Read] Value of %s
    // unreadable"; an "-Id" that is no UUID "[CManagedEntity::Read] Invalid
    // id:%s".
    void ReadRecord(Archive& archive);
    // The block's opening token: true when it is the kind's.
    static bool ReadOpening(Archive& archive) { return archive.GetString() == KindRowOf<Kind>().block; }

    // Calls f with each part (Kind&, CPhysicalEntity&, CSonicEntity&) in
    // the order. When f answers bool, the walk stops at the first false and
    // answers whether every part said true.
    template <EPartOrder Order, class F> auto ForEachPart(F&& f)
    {
        Kind& graphical = *this;
        CPhysicalEntity& physical = *this;
        CSonicEntity& sonic = *this;
        if constexpr (Order == EPartOrder::Placement)
            return CallParts(f, sonic, graphical, physical);
        else
            return CallParts(f, graphical, physical, sonic);
    }

private:
    template <class F, class... Parts> static auto CallParts(F& f, Parts&... parts)
    {
        if constexpr ((std::is_same_v<decltype(f(parts)), bool> && ...))
            return (f(parts) && ...);
        else
            (f(parts), ...);
    }

    // The engines' removal steps, while the entity can still say who it is.
    void LeaveEngines();

    CUuid m_id;
    CTextValue m_name{L"-Name"};
    CVectorField m_position{0.0f, 0.0f, 0.0f, "-Position"};
    CVectorField m_rotation{0.0f, 0.0f, 0.0f, "-Rotation"};
    CVectorField m_scale{1.0f, 1.0f, 1.0f, "-Scale"};
    CTextValue m_script{L"-Script"};
    CDataBag m_data;
    uint32_t m_flags = 0;
};

// A managed entity of the kind. The camera and the waypoint have their own
// (ManagedCamera.h, ManagedWaypoint.h): include those to use them.
template <class Kind> class CManagedEntity : public CManagedEntityBase<Kind>
{
public:
    CManagedEntity() = default;
    CManagedEntity(const CManagedEntity&) = default;
    CManagedEntity& operator=(const CManagedEntity&) = default;
    ~CManagedEntity() override = default;
};
template <> class CManagedEntity<Graphics::Scene::CGraphicalCamera>;
template <> class CManagedEntity<Graphics::Scene::CGraphicalWaypoint>;

// ---- the shared operations --------------------------------------------------

template <class Kind> CManagedEntityBase<Kind>::CManagedEntityBase()
{
    Clear();
    using Misc::World::EKindSolidity;
    constexpr EKindSolidity solidity = KindRowOf<Kind>().solidity;
    if constexpr (solidity != EKindSolidity::PartsOwn)
    {
        Kind::SetSolid(solidity == EKindSolidity::Solid);
        CPhysicalEntity::SetCollidable(solidity == EKindSolidity::Solid);
    }
}

template <class Kind>
CManagedEntityBase<Kind>::CManagedEntityBase(const CManagedEntityBase& other)
    : Misc::World::ITypeId(other), Misc::Serialization::ISerializable(other), Misc::World::IEntityInterface(
                                                                                  other),
      Kind(other), CPhysicalEntity(other), CSonicEntity(other), m_id(other.m_id), m_name(other.m_name),
      m_position(other.m_position), m_rotation(other.m_rotation), m_scale(other.m_scale),
      m_script(other.m_script), m_data(other.m_data), m_flags(other.m_flags)
{
}

template <class Kind>
CManagedEntityBase<Kind>& CManagedEntityBase<Kind>::operator=(const CManagedEntityBase& other)
{
    ForEachPart<EPartOrder::Record>(
        [&other](auto& part)
        {
            using Part = std::remove_reference_t<decltype(part)>;
            part.Part::operator=(static_cast<const Part&>(other));
        });
    m_id = other.m_id;
    m_name.SetValue(other.m_name.GetValue());
    m_position = other.m_position;
    m_rotation = other.m_rotation;
    m_scale = other.m_scale;
    m_script.SetValue(other.m_script.GetValue());
    if (this != &other)
        m_data = other.m_data;
    m_flags = other.m_flags;
    return *this;
}

template <class Kind> CManagedEntityBase<Kind>::~CManagedEntityBase()
{
    LeaveEngines();
}

template <class Kind> void CManagedEntityBase<Kind>::LeaveEngines()
{
    if (CSoundEngine* sound = CSonicEntity::GetSoundEngine())
        sound->RemoveEntity(this);
    if (CPhysicsEngine* physics = CPhysicalEntity::GetEngine())
        physics->RemoveEntity(this);
    if (Graphics::IWorldGraphics* graphics = Graphics::WorldGraphicsOf(Kind::GetEngine()))
    {
        try
        {
            graphics->Remove(this);
        }
        catch (const Misc::Error::CKVOError&)
        {
            // Every managed kind has its scene node kind; the graphical
            // part's own destructor lets go of the engine in any case.
        }
    }
}

template <class Kind> void CManagedEntityBase<Kind>::SetId(const char* id)
{
    const std::string text = id != nullptr ? id : "";
    if (!m_id.SetId(text))
        throw Misc::Error::CKVOError::Format(L"[CManagedEntity::SetId] Invalid id:%S", text.c_str());
    Kind::SetId(GetId());
}

template <class Kind> void CManagedEntityBase<Kind>::SetPosition(const CVector& position)
{
    m_position = position;
    ForEachPart<EPartOrder::Placement>(
        [&position](auto& part)
        {
            using Part = std::remove_reference_t<decltype(part)>;
            part.Part::SetPosition(position);
        });
}

template <class Kind> void CManagedEntityBase<Kind>::SetRotation(const CVector& rotation)
{
    m_rotation = rotation;
    ForEachPart<EPartOrder::Placement>(
        [&rotation](auto& part)
        {
            using Part = std::remove_reference_t<decltype(part)>;
            part.Part::SetRotation(rotation);
        });
}

template <class Kind> void CManagedEntityBase<Kind>::SetScale(const CVector& scale)
{
    // The body is built for the scale: the same scale again rebuilds nothing.
    const bool changed = !(scale.x == m_scale.x && scale.y == m_scale.y && scale.z == m_scale.z);
    m_scale = scale;
    // Sound has no scale.
    ForEachPart<EPartOrder::Placement>(
        CPartCalls{[](CSonicEntity&) {}, [&scale](Kind& graphical) { graphical.Kind::SetScale(scale); },
                   [changed](CPhysicalEntity& physical)
                   {
                       if (changed)
                           physical.Rescale();
                   }});
}

template <class Kind> void CManagedEntityBase<Kind>::SetFlags(uint32_t flags)
{
    m_flags = flags;
    // Physics draws the flags as debug shapes.
    ForEachPart<EPartOrder::Placement>(
        CPartCalls{[flags](CSonicEntity& sonic) { sonic.CSonicEntity::SetFlags(flags); },
                   [flags](Kind& graphical) { graphical.Kind::SetFlags(flags); },
                   [flags](CPhysicalEntity& physical) { physical.SetDebugFlags(flags); }});
}

template <class Kind> void CManagedEntityBase<Kind>::Clear()
{
    m_name.SetValue(std::wstring());
    m_position = CVector(0.0f, 0.0f, 0.0f);
    m_rotation = CVector(0.0f, 0.0f, 0.0f);
    m_scale = CVector(1.0f, 1.0f, 1.0f);
    m_script.SetValue(std::wstring());
    m_data.Clear();
    ForEachPart<EPartOrder::Record>(
        [](auto& part)
        {
            using Part = std::remove_reference_t<decltype(part)>;
            part.Part::Clear();
        });
}

template <class Kind> bool CManagedEntityBase<Kind>::UpdateParts()
{
    CSonicEntity::UpdateParts();
    Kind::UpdateParts();
    CPhysicalEntity::ApplyProperties();
    return true;
}

template <class Kind>
void CManagedEntityBase<Kind>::OnBodyMoved(const CVector& position, const CVector& rotation, const CVector&)
{
    m_position = position;
    m_rotation = rotation;
    CSonicEntity::RegisterWithEngine();
    Kind::RegisterWithEngine();
}

template <class Kind> bool CManagedEntityBase<Kind>::WriteRecord(Archive& archive)
{
    return m_id.Write(archive) && m_name.Write(archive) && m_position.Write(archive) &&
           m_rotation.Write(archive) && m_scale.Write(archive) && m_script.Write(archive) &&
           m_data.Write(archive) &&
           ForEachPart<EPartOrder::Record>(
               [&archive](auto& part)
               {
                   using Part = std::remove_reference_t<decltype(part)>;
                   return part.Part::Write(archive);
               });
}

namespace ManagedEntityReading
{
// Throws the reading error of the value under the key.
[[noreturn]] void ThrowUnreadable(const std::wstring& key);
// A keyed text: the archive's error when the key is not next, the value
// error when its value does not read.
void ReadText(Misc::Serialization::IArchive& archive, CTextValue& value);
// The "-Id" line; text that is no UUID throws.
void ReadId(Misc::Serialization::IArchive& archive, CUuid& id);
} // namespace ManagedEntityReading

template <class Kind> void CManagedEntityBase<Kind>::ReadRecord(Archive& archive)
{
    using namespace ManagedEntityReading;
    ReadId(archive, m_id);
    ReadText(archive, m_name);
    for (CVectorField* field : {&m_position, &m_rotation, &m_scale})
    {
        if (!field->Read(archive))
            ThrowUnreadable(std::wstring(field->GetKey().begin(), field->GetKey().end()));
    }
    ReadText(archive, m_script);
    m_data.Read(archive);
    Kind::Read(archive);
    CPhysicalEntity::Read(archive);
    CSonicEntity::Read(archive);
    // What the script was read into goes through the setter, as a script
    // set from outside would.
    const std::wstring script = m_script.GetValue();
    SetScript(script);
}

template <class Kind> bool CManagedEntityBase<Kind>::Write(Archive& archive)
{
    return archive.EndLine(0) && archive.WriteString(KindRowOf<Kind>().block) && archive.EndLine(+1) &&
           WriteRecord(archive) && archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

template <class Kind> bool CManagedEntityBase<Kind>::Read(Archive& archive)
{
    if (!ReadOpening(archive))
        return false;
    ReadRecord(archive);
    archive.ExpectToken("}");
    return true;
}

// The kinds are built once, in ManagedEntity.cpp.
#define HALVANE_DECLARE_MANAGED_KIND(Class) extern template class CManagedEntityBase<Graphics::Scene::Class>;
HALVANE_KIND_CLASSES(HALVANE_DECLARE_MANAGED_KIND)
#undef HALVANE_DECLARE_MANAGED_KIND
