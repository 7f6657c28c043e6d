#include "graphics/scene/GraphicalBillboard.h"

#include "graphics/engine/GraphicsEngine.h"
#include "irrlicht/IrrlichtConversions.h"
#include "graphics/scene/BillboardSceneNode.h"

#include <irrlicht.h>

namespace Graphics::Scene
{

CBillboardSceneNode* CGraphicalBillboard::GetBillboardNode() const
{
    return dynamic_cast<CBillboardSceneNode*>(GetSceneNode());
}

void CGraphicalBillboard::SetScale(const CVector& scale)
{
    SetNodeScale(scale);
}

void CGraphicalBillboard::SetNodeScale(const CVector& scale)
{
    CGraphicalEntity::SetNodeScale(scale);
    irr::scene::ISceneNode* node = GetSceneNode();
    if (node == nullptr || GetEngine() == nullptr || IsUpdatingNode())
        return;
    // The frame hands every moved entity its scale again: only a new size
    // needs the node made again.
    if (node->getType() == irr::scene::ESNT_BILLBOARD &&
        static_cast<irr::scene::IBillboardSceneNode*>(node)->getSize() ==
            irr::core::dimension2df(scale.x, scale.z))
        return;
    GetEngine()->Add(this, nullptr, std::string());
}

void CGraphicalBillboard::GetVertexColor(uint32_t corner, CColor& color)
{
    CBillboardSceneNode* node = GetBillboardNode();
    if (node == nullptr)
    {
        color.SetComponents(0.0f, 0.0f, 0.0f, 0.0f);
        return;
    }
    const irr::video::SColor value = node->GetCornerColor(corner);
    color.SetComponents(static_cast<float>(value.getRed()), static_cast<float>(value.getGreen()),
                        static_cast<float>(value.getBlue()), static_cast<float>(value.getAlpha()));
}

void CGraphicalBillboard::SetVertexColor(uint32_t corner, const CColor& color)
{
    if (CBillboardSceneNode* node = GetBillboardNode())
        node->SetCornerColor(corner, ToIrrlichtColor(color));
}

void CGraphicalBillboard::GetVertexUV(uint32_t corner, CPoint& uv)
{
    CBillboardSceneNode* node = GetBillboardNode();
    const irr::core::vector2df value =
        node != nullptr ? node->GetCornerUV(corner) : irr::core::vector2df(0, 0);
    uv = CPoint(value.X, value.Y);
}

void CGraphicalBillboard::SetVertexUV(uint32_t corner, const CPoint& uv)
{
    if (CBillboardSceneNode* node = GetBillboardNode())
        node->SetCornerUV(corner, irr::core::vector2df(uv.x, uv.y));
}

} // namespace Graphics::Scene
