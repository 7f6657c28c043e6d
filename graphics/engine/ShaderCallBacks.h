#pragma once

// The constant-setting callbacks of the engine's shader materials. Both feed
// the same values to the vertex shader, before each draw with the material:
//
//   inverse world (the world transform inverted; unchanged when it has no
//   inverse), world-view-projection, the active camera's position as the
//   light position, the light colour (0, 1, 1, 0) and the transposed world.
//
// The low-level one writes registers 0-3, 4-7, 8, 9 and 10-13; the
// high-level one the constants "mInvWorld", "mWorldViewProj", "mLightPos",
// "mLightColor" and "mTransWorld". They are reference-counted: the driver
// holds them as long as the material exists.

#include <IShaderConstantSetCallBack.h>
#include <matrix4.h>

namespace irr::video
{
class IVideoDriver;
}

namespace Graphics
{

class CGraphicsEngine;

// The values both callbacks set, in the order of the table above.
struct SShaderConstants
{
    irr::core::matrix4 inverseWorld;
    irr::core::matrix4 worldViewProjection;
    irr::f32 lightPosition[4] = {0, 0, 0, 0};
    irr::f32 lightColor[4] = {0, 1, 1, 0};
    irr::core::matrix4 transposedWorld;

    // From the driver's transforms and the engine's active scene camera.
    static SShaderConstants Compute(CGraphicsEngine* engine, irr::video::IVideoDriver* driver);
};

class LowLevelShaderCallBack : public irr::video::IShaderConstantSetCallBack
{
public:
    explicit LowLevelShaderCallBack(CGraphicsEngine* engine) : m_engine(engine) {}

    void OnSetMaterial(const irr::video::SMaterial&) override {}
    void OnSetConstants(irr::video::IMaterialRendererServices* services, irr::s32 userData) override;

private:
    CGraphicsEngine* m_engine;
};

class HighLevelShaderCallBack : public irr::video::IShaderConstantSetCallBack
{
public:
    explicit HighLevelShaderCallBack(CGraphicsEngine* engine) : m_engine(engine) {}

    void OnSetMaterial(const irr::video::SMaterial&) override {}
    void OnSetConstants(irr::video::IMaterialRendererServices* services, irr::s32 userData) override;

private:
    CGraphicsEngine* m_engine;
};

} // namespace Graphics
