#pragma once

// An entity of any graphical kind joined the way the world's managed entity
// joins its parts: it keeps its id, name, placement, script, data and flags
// itself and hands every change on, in order, to the sonic part, to the
// graphical part (the kind, its base) and to the physical part. The sonic
// and physical parts are stand-ins that join the real sound and physics
// engines through those engines' links and count what reaches them, so that
// tests see which steps would move or rebuild a body. They are made when a
// test first asks for them, so that an entity without them costs what the
// graphical part costs (benchmarks use this joiner too).

#include "core/io/DataBag.h"
#include "core/io/Uuid.h"
#include "core/world/EngineLink.h"
#include "graphics/scene/GraphicalBillboard.h"
#include "graphics/scene/GraphicalCamera.h"
#include "graphics/scene/GraphicalCursor.h"
#include "graphics/scene/GraphicalEntity.h"
#include "graphics/scene/GraphicalLight.h"
#include "graphics/scene/GraphicalParticleSystem.h"
#include "graphics/scene/GraphicalTrigger.h"
#include "graphics/scene/GraphicalWaypoint.h"
#include "physics/PhysicsEngine.h"
#include "sound/SoundEngine.h"

#include <memory>
#include <string>
#include <vector>

// A part of an entity in another engine than graphics.
template <class Engine> class CTestPart
{
public:
    void Attach(Engine& engine) { link.Attach(engine.GetParts()); }
    bool IsAttached() const { return link.IsAttached(); }

    // Positions and rotations handed on: a body's matrix set.
    int placements = 0;
    // Scales handed on: a body rebuilt.
    int rebuilds = 0;
    // Whole updates handed on (UpdateParts).
    int updates = 0;
    // When set, the part notes its name there as its engine lets go of it.
    std::vector<std::string>* releases = nullptr;
    std::string name;
    Misc::World::CEngineLink<Engine> link{this, &Misc::World::CPartRelease<&CTestPart::Release>::Call};

private:
    void Release()
    {
        if (releases != nullptr)
            releases->push_back(name);
    }
};

// The stand-in sonic and physical parts, made on first use. A copy starts
// without them: the copy of an entity is unattached, with nothing counted.
class CTestParts
{
public:
    CTestParts() = default;
    CTestParts(const CTestParts&) {}
    CTestParts& operator=(const CTestParts&) { return *this; }

    CTestPart<CSoundEngine>& Sonic() { return Get().sonic; }
    CTestPart<CPhysicsEngine>& Physical() { return Get().physical; }
    bool IsSonicAttached() const { return m_parts != nullptr && m_parts->sonic.IsAttached(); }
    bool IsPhysicalAttached() const { return m_parts != nullptr && m_parts->physical.IsAttached(); }

private:
    struct SParts
    {
        CTestPart<CSoundEngine> sonic;
        CTestPart<CPhysicsEngine> physical;
    };
    SParts& Get()
    {
        if (m_parts == nullptr)
            m_parts = std::make_unique<SParts>();
        return *m_parts;
    }

    std::unique_ptr<SParts> m_parts;
};

// The id is kept as text; a new entity's is a fresh UUID.
template <class Kind> class CJoinedEntity : public Kind
{
public:
    CJoinedEntity() : m_id(CUuid().GetId()) {}
    explicit CJoinedEntity(const std::string& id) : m_id(id) {}

    const char* GetId() const override { return m_id.c_str(); }
    void SetId(const char* id) override
    {
        m_id = id != nullptr ? id : "";
        Kind::SetId(GetId());
    }
    void NewId() override { m_id = CUuid().GetId(); }
    const std::wstring& GetName() const override { return m_name; }
    void SetName(const std::wstring& name) override { m_name = name; }
    const CVector& GetPosition() const override { return m_position; }
    void SetPosition(const CVector& position) override
    {
        m_position = position;
        PlaceSonicPart();
        Kind::SetPosition(position);
        PlacePhysicalPart();
    }
    const CVector& GetRotation() const override { return m_rotation; }
    void SetRotation(const CVector& rotation) override
    {
        m_rotation = rotation;
        PlaceSonicPart();
        Kind::SetRotation(rotation);
        PlacePhysicalPart();
    }
    const CVector& GetScale() const override { return m_scale; }
    void SetScale(const CVector& scale) override
    {
        const bool changed = !(scale.x == m_scale.x && scale.y == m_scale.y && scale.z == m_scale.z);
        m_scale = scale;
        Kind::SetScale(scale);
        if (changed && m_parts.IsPhysicalAttached())
            ++m_parts.Physical().rebuilds;
    }
    void GetForce(CVector& force) override { force = CVector(); }
    void GetTorque(CVector& torque) override { torque = CVector(); }
    void GetVelocity(CVector& velocity) override { velocity = CVector(); }
    const std::wstring& GetScript() const override { return m_script; }
    void SetScript(const std::wstring& script) override { m_script = script; }
    void SetFlags(uint32_t flags) override
    {
        m_flags = flags;
        Kind::SetFlags(flags);
    }
    uint32_t GetFlags() const override { return m_flags; }
    CDataBag& GetData() override { return m_data; }
    const CDataBag& GetData() const override { return m_data; }
    void Clear() override
    {
        m_name.clear();
        m_position = CVector();
        m_rotation = CVector();
        m_scale = CVector(1.0f, 1.0f, 1.0f);
        m_script.clear();
        m_data.Clear();
        Kind::Clear();
    }
    // Every part brings itself up to date. The answer is the graphical
    // part's (the managed entity answers true), so that tests see it.
    bool UpdateParts() override
    {
        if (m_parts.IsSonicAttached())
            ++m_parts.Sonic().updates;
        const bool updated = Kind::UpdateParts();
        if (m_parts.IsPhysicalAttached())
            ++m_parts.Physical().updates;
        return updated;
    }
    CPhysicalEntity* GetPhysicalPart() override { return nullptr; }
    Graphics::Scene::CGraphicalEntity* GetGraphicalPart() override { return this; }
    CSonicEntity* GetSonicPart() override { return nullptr; }

    // A move the body made: the entity takes the placement without handing
    // it back to the body, and the other parts follow at their next update.
    void MoveByBody(const CVector& position, const CVector& rotation)
    {
        m_position = position;
        m_rotation = rotation;
        Kind::RegisterWithEngine();
    }

    CTestPart<CSoundEngine>& Sonic() { return m_parts.Sonic(); }
    CTestPart<CPhysicsEngine>& Physical() { return m_parts.Physical(); }

private:
    // A placement handed to the sonic and to the physical part.
    void PlaceSonicPart()
    {
        if (m_parts.IsSonicAttached())
            ++m_parts.Sonic().placements;
    }
    void PlacePhysicalPart()
    {
        if (m_parts.IsPhysicalAttached())
            ++m_parts.Physical().placements;
    }

    // What the setters touch comes first.
    CVector m_position;
    CVector m_rotation;
    CVector m_scale{1.0f, 1.0f, 1.0f};
    uint32_t m_flags = 0;
    CTestParts m_parts;
    std::string m_id;
    std::wstring m_name;
    std::wstring m_script;
    CDataBag m_data;
};

// A bare graphical entity of any kind id (agents, and ids no kind has).
class CKindEntity : public CJoinedEntity<Graphics::Scene::CGraphicalEntity>
{
public:
    explicit CKindEntity(uint32_t kind, const std::string& id = std::string()) : m_kind(kind)
    {
        if (!id.empty())
            SetId(id.c_str());
    }
    uint32_t GetTypeId() const override { return m_kind; }

private:
    uint32_t m_kind;
};

using CTestLight = CJoinedEntity<Graphics::Scene::CGraphicalLight>;
using CTestCameraEntity = CJoinedEntity<Graphics::Scene::CGraphicalCamera>;
using CTestBillboard = CJoinedEntity<Graphics::Scene::CGraphicalBillboard>;
using CTestCursor = CJoinedEntity<Graphics::Scene::CGraphicalCursor>;
using CTestWaypoint = CJoinedEntity<Graphics::Scene::CGraphicalWaypoint>;
using CTestTrigger = CJoinedEntity<Graphics::Scene::CGraphicalTrigger>;
using CTestParticleSystem = CJoinedEntity<Graphics::Scene::CGraphicalParticleSystem>;
