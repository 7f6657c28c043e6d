#pragma once

// An entity of any graphical kind joined the way the world's managed entity
// joins its parts: it keeps its id, name, placement, script, data and flags
// itself and hands every change on, in order, to the sonic part, to the
// graphical part (the kind, its base) and to the physical part. The sonic
// and physical parts are stand-ins that join the real sound and physics
// engines through those engines' links and count what reaches them, so that
// tests see which steps would move or rebuild a body.

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

#include <string>
#include <vector>

// A part of an entity in another engine than graphics. A copy starts
// unattached, with nothing counted.
template <class Engine> class CTestPart
{
public:
    CTestPart() = default;
    CTestPart(const CTestPart&) {}
    CTestPart& operator=(const CTestPart&) { return *this; }

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

template <class Kind> class CJoinedEntity : public Kind
{
public:
    CJoinedEntity() = default;
    explicit CJoinedEntity(const std::string& id) { m_id.SetId(id); }

    const char* GetId() const override { return m_id.GetId().c_str(); }
    void SetId(const char* id) override
    {
        m_id.SetId(id);
        Kind::SetId(GetId());
    }
    void NewId() override { m_id.NewId(); }
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
        m_scale = scale;
        Kind::SetScale(scale);
        if (physical.IsAttached())
            ++physical.rebuilds;
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
        if (sonic.IsAttached())
            ++sonic.updates;
        const bool updated = Kind::UpdateParts();
        if (physical.IsAttached())
            ++physical.updates;
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

    CTestPart<CSoundEngine> sonic;
    CTestPart<CPhysicsEngine> physical;

private:
    // A placement handed to the sonic and to the physical part.
    void PlaceSonicPart()
    {
        if (sonic.IsAttached())
            ++sonic.placements;
    }
    void PlacePhysicalPart()
    {
        if (physical.IsAttached())
            ++physical.placements;
    }

    CUuid m_id;
    std::wstring m_name;
    CVector m_position;
    CVector m_rotation;
    CVector m_scale{1.0f, 1.0f, 1.0f};
    std::wstring m_script;
    uint32_t m_flags = 0;
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
