#pragma once

// What the scene tests share: an entity of any graphical kind joined the
// way the world map's managed entity joins its parts (it stores identity and
// placement, then hands them to the graphical part), and an engine with a
// headless device.

#include "core/io/DataBag.h"
#include "core/io/Uuid.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalBillboard.h"
#include "graphics/scene/GraphicalCamera.h"
#include "graphics/scene/GraphicalCursor.h"
#include "graphics/scene/GraphicalEntity.h"
#include "graphics/scene/GraphicalLight.h"
#include "graphics/scene/GraphicalParticleSystem.h"
#include "graphics/scene/GraphicalTrigger.h"
#include "graphics/scene/GraphicalWaypoint.h"

#include <irrlicht.h>

#include <string>

template <class Kind> class CSceneTestEntity : public Kind
{
public:
    CSceneTestEntity() = default;
    explicit CSceneTestEntity(const std::string& id) { m_id.SetId(id); }

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
        Kind::SetPosition(position);
    }
    const CVector& GetRotation() const override { return m_rotation; }
    void SetRotation(const CVector& rotation) override
    {
        m_rotation = rotation;
        Kind::SetRotation(rotation);
    }
    const CVector& GetScale() const override { return m_scale; }
    void SetScale(const CVector& scale) override
    {
        m_scale = scale;
        Kind::SetScale(scale);
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
    CPhysicalEntity* GetPhysicalPart() override { return nullptr; }
    Graphics::Scene::CGraphicalEntity* GetGraphicalPart() override { return this; }
    CSonicEntity* GetSonicPart() override { return nullptr; }

private:
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
class CKindEntity : public CSceneTestEntity<Graphics::Scene::CGraphicalEntity>
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

using CTestLight = CSceneTestEntity<Graphics::Scene::CGraphicalLight>;
using CTestCameraEntity = CSceneTestEntity<Graphics::Scene::CGraphicalCamera>;
using CTestBillboard = CSceneTestEntity<Graphics::Scene::CGraphicalBillboard>;
using CTestCursor = CSceneTestEntity<Graphics::Scene::CGraphicalCursor>;
using CTestWaypoint = CSceneTestEntity<Graphics::Scene::CGraphicalWaypoint>;
using CTestTrigger = CSceneTestEntity<Graphics::Scene::CGraphicalTrigger>;
using CTestParticleSystem = CSceneTestEntity<Graphics::Scene::CGraphicalParticleSystem>;

// A headless engine without an engine object around it.
class CNullEngine
{
public:
    CNullEngine() : engine(nullptr)
    {
        engine.Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true);
        engine.SetBackgroundRenderingEnabled(true);
    }
    irr::scene::ISceneManager* Scene() const { return engine.GetDevice()->getSceneManager(); }

    Graphics::CGraphicsEngine engine;
};
