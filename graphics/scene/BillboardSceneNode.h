#pragma once

#include <IBillboardSceneNode.h>
#include <S3DVertex.h>
#include <SMaterial.h>

namespace Graphics::Scene
{

// A camera-facing quad like Irrlicht's billboard, whose four corners can
// also be coloured and texture-mapped one by one. Corners: 0 lower right,
// 1 upper right, 2 upper left, 3 lower left (as seen from the camera).
class CBillboardSceneNode : public irr::scene::IBillboardSceneNode
{
public:
    static constexpr irr::u32 kCornerCount = 4;

    CBillboardSceneNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager, irr::s32 id,
                        const irr::core::vector3df& position, const irr::core::dimension2df& size,
                        irr::video::SColor topColor, irr::video::SColor bottomColor);

    void OnRegisterSceneNode() override;
    void render() override;
    const irr::core::aabbox3df& getBoundingBox() const override { return m_box; }
    irr::video::SMaterial& getMaterial(irr::u32 index) override;
    irr::u32 getMaterialCount() const override { return 1; }
    irr::scene::ESCENE_NODE_TYPE getType() const override { return irr::scene::ESNT_BILLBOARD; }

    void setSize(const irr::core::dimension2df& size) override;
    void setSize(irr::f32 height, irr::f32 bottomEdgeWidth, irr::f32 topEdgeWidth) override;
    const irr::core::dimension2df& getSize() const override { return m_size; }
    void getSize(irr::f32& height, irr::f32& bottomEdgeWidth, irr::f32& topEdgeWidth) const override;
    void setColor(const irr::video::SColor& overallColor) override;
    void setColor(const irr::video::SColor& topColor, const irr::video::SColor& bottomColor) override;
    void getColor(irr::video::SColor& topColor, irr::video::SColor& bottomColor) const override;

    // Corner access; a corner index of 4 or more gives black, (0, 0) or
    // changes nothing.
    irr::video::SColor GetCornerColor(irr::u32 corner) const;
    void SetCornerColor(irr::u32 corner, irr::video::SColor color);
    irr::core::vector2df GetCornerUV(irr::u32 corner) const;
    void SetCornerUV(irr::u32 corner, const irr::core::vector2df& uv);
    // The corners as the last render placed them.
    const irr::video::S3DVertex& GetCorner(irr::u32 corner) const { return m_corners[corner % kCornerCount]; }

private:
    void UpdateBox();

    irr::core::dimension2df m_size;
    irr::f32 m_topEdgeWidth;
    irr::core::aabbox3df m_box;
    irr::video::SMaterial m_material;
    irr::video::S3DVertex m_corners[kCornerCount];
};

} // namespace Graphics::Scene
