#include "graphics/engine/RenderTarget.h"

#include "core/foundation/KVOError.h"
#include "irrlicht/IrrlichtConversions.h"
#include "graphics/engine/TextureLocks.h"

#include <irrlicht.h>

#include <cmath>

namespace Graphics
{

using namespace irr;
using Misc::Multicast::CMulticast;
using PreScene = Graphics::Multicast::CEvtGraphicsDrawPreScene;

namespace
{

// The largest side of a target where the driver names no limit.
constexpr u32 kLargestUnknownSize = 8192;

// The largest power of two not above the value, from 2^16 down; a value
// below 1 stays.
float PowerOfTwoBelow(float value)
{
    for (int exponent = 16; exponent >= 0; --exponent)
    {
        const float power = std::ldexp(1.0f, exponent);
        if (power <= value)
            return power;
    }
    return value;
}

// Puts back the screen, its viewport and the active camera when a drawing
// into a texture ends, also through an error.
class CScreenRestore
{
public:
    CScreenRestore(video::IVideoDriver* driver, scene::ISceneManager* scene)
        : m_driver(driver), m_scene(scene), m_viewPort(driver->getViewPort()),
          m_camera(scene->getActiveCamera())
    {
        if (m_camera != nullptr)
            m_camera->grab();
    }
    ~CScreenRestore()
    {
        // The screen keeps what earlier passes drew: only depth is cleared.
        m_driver->setRenderTarget(nullptr, false, true, video::SColor(0));
        m_driver->setViewPort(m_viewPort);
        m_scene->setActiveCamera(m_camera);
        if (m_camera != nullptr)
            m_camera->drop();
    }
    CScreenRestore(const CScreenRestore&) = delete;
    CScreenRestore& operator=(const CScreenRestore&) = delete;

private:
    video::IVideoDriver* m_driver;
    scene::ISceneManager* m_scene;
    core::rect<s32> m_viewPort;
    scene::ICameraSceneNode* m_camera;
};

} // namespace

CGraphicsEngine::CRenderTarget::~CRenderTarget()
{
    CMulticast<PreScene>::Unsubscribe(this);
    DropTexture();
}

void CGraphicsEngine::CRenderTarget::DropTexture()
{
    if (m_texture == nullptr)
        return;
    // The driver's cache lets go of it too (scripts' locks first).
    if (m_engine != nullptr && m_engine->GetDevice() != nullptr)
        m_engine->RemoveTexture(m_texture);
    m_texture->drop();
    m_texture = nullptr;
}

bool CGraphicsEngine::CRenderTarget::Create(CGraphicsEngine* engine, const CPoint& size)
{
    CMulticast<PreScene>::Unsubscribe(this);
    DropTexture();
    m_engine = engine;
    m_width = PowerOfTwoBelow(size.x);
    m_height = PowerOfTwoBelow(size.y);
    if (engine == nullptr || engine->GetDevice() == nullptr)
        return false;
    // Nothing smaller than one pixel: a texture of no size draws nowhere.
    if (!(m_width >= 1.0f && m_height >= 1.0f))
        return false;
    video::IVideoDriver* driver = engine->GetDevice()->getVideoDriver();
    core::dimension2du largest = driver->getMaxTextureSize();
    // Burnings names no limit, but allocates every pixel at once.
    if (largest.Width == 0 || largest.Height == 0)
        largest = core::dimension2du(kLargestUnknownSize, kLargestUnknownSize);
    const core::dimension2du pixels(static_cast<u32>(m_width), static_cast<u32>(m_height));
    if (pixels.Width > largest.Width || pixels.Height > largest.Height)
        return false;
    m_texture = driver->addRenderTargetTexture(pixels, "");
    if (m_texture != nullptr)
        m_texture->grab();
    return m_texture != nullptr;
}

void CGraphicsEngine::CRenderTarget::SetCamera(IFrameCamera* camera, uint32_t frameRate)
{
    CMulticast<PreScene>::Unsubscribe(this);
    m_camera = camera;
    m_period = frameRate != 0 ? 1000 / frameRate : 0;
    m_dueTime = 0;
    m_drawNext = true;
    if (m_texture != nullptr && m_camera != nullptr)
        CMulticast<PreScene>::Subscribe(this, 0);
}

void CGraphicsEngine::CRenderTarget::ForgetCamera(IFrameCamera* camera)
{
    if (camera == nullptr || m_camera != camera)
        return;
    CMulticast<PreScene>::Unsubscribe(this);
    m_camera = nullptr;
}

bool CGraphicsEngine::CRenderTarget::OnEvent(const PreScene& record)
{
    if (record.engine != m_engine || m_engine == nullptr)
        return false;
    if (m_period == 0)
    {
        Render();
        return true;
    }
    const uint32_t now = m_engine->GetCurrentTime();
    // Times wrap around: "after" is a positive signed distance.
    if (!m_drawNext && static_cast<int32_t>(now - m_dueTime) <= 0)
        return true;
    if (m_drawNext)
        m_dueTime = now;
    m_drawNext = false;
    // Whole periods, past now: the periods missed are skipped.
    const uint32_t behind = now - m_dueTime;
    m_dueTime += (behind / m_period + 1) * m_period;
    Render();
    return true;
}

void CGraphicsEngine::CRenderTarget::Render()
{
    IrrlichtDevice* device = m_engine->GetDevice();
    if (device == nullptr || m_texture == nullptr)
        return;
    video::IVideoDriver* driver = device->getVideoDriver();
    scene::ISceneManager* scene = device->getSceneManager();
    CScreenRestore restore(driver, scene);
    driver->setRenderTarget(m_texture, true, true, ToIrrlichtColor(m_engine->GetBackColor()));
    if (m_camera != nullptr && m_camera->GetCameraNode() != nullptr)
        scene->setActiveCamera(m_camera->GetCameraNode());
    scene->drawAll();
}

} // namespace Graphics
