#pragma once

#include "graphics/scene/GraphicalEntity.h"

namespace Graphics::Scene
{

class CBillboardSceneNode;

// A camera-facing quad sized by the entity's scale (x wide, z high). Its
// corners' colours and texture coordinates live in the node only: they are
// neither stored nor saved.
class CGraphicalBillboard : public CGraphicalEntity
{
public:
    CGraphicalBillboard() = default;
    CGraphicalBillboard(const CGraphicalBillboard&) = default;
    CGraphicalBillboard& operator=(const CGraphicalBillboard&) = default;
    ~CGraphicalBillboard() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdBillboard;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdBillboard; }
    const char* GetTypeName() const override { return "KVOBILLBOARD"; }

    // Corner 0 to 3 of the node: (0, 0, 0, 0) and (0, 0) without a node;
    // the setters change nothing without one.
    using CGraphicalEntity::GetVertexColor;
    using CGraphicalEntity::GetVertexUV;
    using CGraphicalEntity::SetVertexColor;
    using CGraphicalEntity::SetVertexUV;
    void GetVertexColor(uint32_t corner, CColor& color) override;
    void SetVertexColor(uint32_t corner, const CColor& color) override;
    void GetVertexUV(uint32_t corner, CPoint& uv);
    void SetVertexUV(uint32_t corner, const CPoint& uv);

    // The node when it is our billboard node; null otherwise.
    CBillboardSceneNode* GetBillboardNode() const;

    // The kind's own node step.
    void SetScale(const CVector& scale) override;

protected:
    // The new size takes effect through the engine making the node again.
    void SetNodeScale(const CVector& scale) override;
};

} // namespace Graphics::Scene
