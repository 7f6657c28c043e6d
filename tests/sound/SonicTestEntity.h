#pragma once

// An entity joined around a sonic part the way the world's managed entity
// joins its parts: it keeps identity and placement and hands placement
// changes to the part. Its velocity is set by the test, as a physics body
// would report it.

#include "core/io/DataBag.h"
#include "core/io/Uuid.h"
#include "sound/SonicEntity.h"

#include <string>
#include <vector>

class CSonicTestEntity : public CSonicEntity
{
public:
    const char* GetId() const override { return m_id.GetId().c_str(); }
    void SetId(const char* id) override { m_id.SetId(id); }
    void NewId() override { m_id.NewId(); }
    const std::wstring& GetName() const override { return m_name; }
    void SetName(const std::wstring& name) override { m_name = name; }
    const CVector& GetPosition() const override { return m_position; }
    void SetPosition(const CVector& position) override
    {
        m_position = position;
        CSonicEntity::SetPosition(position);
    }
    const CVector& GetRotation() const override { return m_rotation; }
    void SetRotation(const CVector& rotation) override
    {
        m_rotation = rotation;
        CSonicEntity::SetRotation(rotation);
    }
    const CVector& GetFrontVector() const override { return m_front; }
    const CVector& GetUpVector() const override { return m_up; }
    const CVector& GetScale() const override { return m_scale; }
    void SetScale(const CVector& scale) override { m_scale = scale; }
    void GetForce(CVector& force) override { force = CVector(); }
    void GetTorque(CVector& torque) override { torque = CVector(); }
    void GetVelocity(CVector& velocity) override { velocity = m_velocity; }
    const std::wstring& GetScript() const override { return m_script; }
    void SetScript(const std::wstring& script) override { m_script = script; }
    uint32_t GetFlags() const override { return 0; }
    CDataBag& GetData() override { return m_data; }
    const CDataBag& GetData() const override { return m_data; }
    CPhysicalEntity* GetPhysicalPart() override { return nullptr; }
    Graphics::Scene::CGraphicalEntity* GetGraphicalPart() override { return nullptr; }
    CSonicEntity* GetSonicPart() override { return this; }
    uint32_t GetFaces(std::vector<Misc::World::CTriangle>&, CVector&, CVector&, float, uint32_t) override
    {
        return 0;
    }
    uint32_t GetVertices(std::vector<CVector>&, CVector&, CVector&) override { return 0; }
    void GetBoundingBox(CVector& minimum, CVector& maximum) override { minimum = maximum = m_position; }
    void GetAbsolutePosition(CVector& position) override { position = m_position; }
    void GetAbsoluteRotation(CVector& rotation) override { rotation = m_rotation; }
    void GetAbsoluteScale(CVector& scale) override { scale = m_scale; }
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdUnit; }

    // Moves the entity the way a body does: the stored placement changes and
    // the parts follow at their engines' next steps.
    void MoveBy(const CVector& position, const CVector& velocity)
    {
        m_position = position;
        m_velocity = velocity;
        RegisterWithEngine();
    }

    CVector m_velocity;

private:
    CUuid m_id;
    std::wstring m_name;
    CVector m_position;
    CVector m_rotation;
    CVector m_front{0, 0, 1};
    CVector m_up{0, 1, 0};
    CVector m_scale{1, 1, 1};
    std::wstring m_script;
    CDataBag m_data;
};
