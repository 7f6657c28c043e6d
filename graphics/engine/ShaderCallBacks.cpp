#include "graphics/engine/ShaderCallBacks.h"

#include "graphics/engine/GraphicsEngine.h"

#include <irrlicht.h>

namespace Graphics
{

using namespace irr;

SShaderConstants SShaderConstants::Compute(CGraphicsEngine* engine, video::IVideoDriver* driver)
{
    SShaderConstants constants;
    const core::matrix4& world = driver->getTransform(video::ETS_WORLD);
    constants.inverseWorld = world;
    // Left as it is when the world has no inverse.
    constants.inverseWorld.makeInverse();
    constants.worldViewProjection = driver->getTransform(video::ETS_PROJECTION);
    constants.worldViewProjection *= driver->getTransform(video::ETS_VIEW);
    constants.worldViewProjection *= world;
    constants.transposedWorld = world.getTransposed();

    IrrlichtDevice* device = engine != nullptr ? engine->GetDevice() : nullptr;
    scene::ICameraSceneNode* camera =
        device != nullptr ? device->getSceneManager()->getActiveCamera() : nullptr;
    if (camera != nullptr)
    {
        const core::vector3df position = camera->getAbsolutePosition();
        constants.lightPosition[0] = position.X;
        constants.lightPosition[1] = position.Y;
        constants.lightPosition[2] = position.Z;
    }
    return constants;
}

void LowLevelShaderCallBack::OnSetConstants(video::IMaterialRendererServices* services, s32)
{
    const SShaderConstants constants = SShaderConstants::Compute(m_engine, services->getVideoDriver());
    services->setVertexShaderConstant(constants.inverseWorld.pointer(), 0, 4);
    services->setVertexShaderConstant(constants.worldViewProjection.pointer(), 4, 4);
    services->setVertexShaderConstant(constants.lightPosition, 8, 1);
    services->setVertexShaderConstant(constants.lightColor, 9, 1);
    services->setVertexShaderConstant(constants.transposedWorld.pointer(), 10, 4);
}

void HighLevelShaderCallBack::OnSetConstants(video::IMaterialRendererServices* services, s32)
{
    const SShaderConstants constants = SShaderConstants::Compute(m_engine, services->getVideoDriver());
    services->setVertexShaderConstant("mInvWorld", constants.inverseWorld.pointer(), 16);
    services->setVertexShaderConstant("mWorldViewProj", constants.worldViewProjection.pointer(), 16);
    services->setVertexShaderConstant("mLightPos", constants.lightPosition, 3);
    services->setVertexShaderConstant("mLightColor", constants.lightColor, 4);
    services->setVertexShaderConstant("mTransWorld", constants.transposedWorld.pointer(), 16);
}

} // namespace Graphics
