#include "graphics/scene/BillboardSceneNode.h"

#include <ICameraSceneNode.h>
#include <ISceneManager.h>
#include <IVideoDriver.h>

namespace Graphics::Scene
{

using namespace irr;

namespace
{
// Two triangles over the corners, facing the camera.
const u16 kIndices[6] = {0, 2, 1, 0, 3, 2};
} // namespace

CBillboardSceneNode::CBillboardSceneNode(scene::ISceneNode* parent, scene::ISceneManager* manager, s32 id,
                                         const core::vector3df& position, const core::dimension2df& size,
                                         video::SColor topColor, video::SColor bottomColor)
    : IBillboardSceneNode(parent, manager, id, position), m_size(size), m_topEdgeWidth(size.Width)
{
    m_corners[0].TCoords.set(1.0f, 1.0f);
    m_corners[1].TCoords.set(1.0f, 0.0f);
    m_corners[2].TCoords.set(0.0f, 0.0f);
    m_corners[3].TCoords.set(0.0f, 1.0f);
    setColor(topColor, bottomColor);
    setSize(size);
}

void CBillboardSceneNode::OnRegisterSceneNode()
{
    if (IsVisible)
        SceneManager->registerNodeForRendering(this);
    ISceneNode::OnRegisterSceneNode();
}

void CBillboardSceneNode::render()
{
    video::IVideoDriver* driver = SceneManager->getVideoDriver();
    scene::ICameraSceneNode* camera = SceneManager->getActiveCamera();
    if (driver == nullptr || camera == nullptr)
        return;

    // The quad's axes from the camera's view: across is up x view, and
    // down is across x view.
    const core::vector3df centre = getAbsolutePosition();
    core::vector3df view = camera->getTarget() - camera->getAbsolutePosition();
    view.normalize();
    const core::vector3df up = camera->getUpVector();
    core::vector3df across = up.crossProduct(view);
    if (across.getLength() == 0.0f)
        across.set(up.Y, up.X, up.Z);
    across.normalize();
    core::vector3df down = across.crossProduct(view);
    down.normalize();
    const core::vector3df bottomHalf = across * (0.5f * m_size.Width);
    const core::vector3df topHalf = across * (0.5f * m_topEdgeWidth);
    down *= 0.5f * m_size.Height;

    m_corners[0].Pos = centre + bottomHalf + down;
    m_corners[1].Pos = centre + topHalf - down;
    m_corners[2].Pos = centre - topHalf - down;
    m_corners[3].Pos = centre - bottomHalf + down;
    for (video::S3DVertex& corner : m_corners)
        corner.Normal = -view;

    driver->setTransform(video::ETS_WORLD, core::IdentityMatrix);
    driver->setMaterial(m_material);
    driver->drawIndexedTriangleList(m_corners, kCornerCount, kIndices, 2);
}

video::SMaterial& CBillboardSceneNode::getMaterial(u32 /*index*/)
{
    return m_material;
}

void CBillboardSceneNode::UpdateBox()
{
    const f32 half = 0.5f * core::max_(m_size.Width, m_size.Height, m_topEdgeWidth);
    m_box.reset(-half, -half, -half);
    m_box.addInternalPoint(half, half, half);
}

void CBillboardSceneNode::setSize(const core::dimension2df& size)
{
    m_size = size;
    // A zero size would make the quad vanish without a trace; Irrlicht's own
    // billboard uses 1 there too.
    if (core::equals(m_size.Width, 0.0f))
        m_size.Width = 1.0f;
    if (core::equals(m_size.Height, 0.0f))
        m_size.Height = 1.0f;
    m_topEdgeWidth = m_size.Width;
    UpdateBox();
}

void CBillboardSceneNode::setSize(f32 height, f32 bottomEdgeWidth, f32 topEdgeWidth)
{
    m_size.set(bottomEdgeWidth, height);
    m_topEdgeWidth = topEdgeWidth;
    if (core::equals(m_size.Height, 0.0f))
        m_size.Height = 1.0f;
    if (core::equals(m_size.Width, 0.0f) && core::equals(m_topEdgeWidth, 0.0f))
    {
        m_size.Width = 1.0f;
        m_topEdgeWidth = 1.0f;
    }
    UpdateBox();
}

void CBillboardSceneNode::getSize(f32& height, f32& bottomEdgeWidth, f32& topEdgeWidth) const
{
    height = m_size.Height;
    bottomEdgeWidth = m_size.Width;
    topEdgeWidth = m_topEdgeWidth;
}

void CBillboardSceneNode::setColor(const video::SColor& overallColor)
{
    for (video::S3DVertex& corner : m_corners)
        corner.Color = overallColor;
}

void CBillboardSceneNode::setColor(const video::SColor& topColor, const video::SColor& bottomColor)
{
    m_corners[0].Color = bottomColor;
    m_corners[1].Color = topColor;
    m_corners[2].Color = topColor;
    m_corners[3].Color = bottomColor;
}

void CBillboardSceneNode::getColor(video::SColor& topColor, video::SColor& bottomColor) const
{
    bottomColor = m_corners[0].Color;
    topColor = m_corners[1].Color;
}

video::SColor CBillboardSceneNode::GetCornerColor(u32 corner) const
{
    return corner < kCornerCount ? m_corners[corner].Color : video::SColor(0);
}

void CBillboardSceneNode::SetCornerColor(u32 corner, video::SColor color)
{
    if (corner < kCornerCount)
        m_corners[corner].Color = color;
}

core::vector2df CBillboardSceneNode::GetCornerUV(u32 corner) const
{
    return corner < kCornerCount ? m_corners[corner].TCoords : core::vector2df(0.0f, 0.0f);
}

void CBillboardSceneNode::SetCornerUV(u32 corner, const core::vector2df& uv)
{
    if (corner < kCornerCount)
        m_corners[corner].TCoords = uv;
}

} // namespace Graphics::Scene
