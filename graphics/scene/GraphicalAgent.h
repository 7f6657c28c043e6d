#pragma once

#include "core/io/StoredFields.h"
#include "graphics/scene/GraphicalEntity.h"

#include <string>

namespace Graphics::Scene
{

// A character: an animated mesh that plays its animations, carries other
// entities on its joints and may cast a shadow volume, made from its own
// mesh or from a separate shadow mesh.
class CGraphicalAgent : public CGraphicalEntity
{
public:
    CGraphicalAgent() = default;
    CGraphicalAgent(const CGraphicalAgent&) = default;
    CGraphicalAgent& operator=(const CGraphicalAgent&) = default;
    ~CGraphicalAgent() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdAgent;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdAgent; }

    // Stores both; then, on an animated-mesh node, shows the node's shadow
    // volume (made the first time, from frame 0 of the shadow mesh or,
    // without one, from the node's own mesh) or hides it. Drivers without
    // a stencil buffer (NULL among them) make no shadow volume.
    void SetShadows(bool shadows, const std::wstring& shadowMesh);
    bool GetShadows() const { return m_shadows; }
    const std::wstring& GetShadowMesh() const { return m_shadowMesh; }

    // The base's, then the joints follow the node at once, and with them
    // the entities on the joints.
    void UpdateTransformation() override;

    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOAGENT"; }

private:
    // The record's own fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CGraphicalAgent> kStoredFields[];

    bool m_shadows = false;
    std::wstring m_shadowMesh;
};

} // namespace Graphics::Scene
