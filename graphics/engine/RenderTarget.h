#pragma once

#include "core/events/Multicast.h"
#include "graphics/engine/GraphicsEngine.h"

namespace Graphics
{

// A texture the scene is drawn into from a camera, before the scene of a
// camera pass of the frame. With a frame rate it draws at most once per
// period (periods it missed are skipped, not made up); with rate 0 at every
// camera pass. It listens to the pre-scene draw only while it has both a
// texture and a camera.
class CGraphicsEngine::CRenderTarget
    : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsDrawPreScene>
{
public:
    CRenderTarget() = default;
    // Stops listening and lets go of the texture.
    ~CRenderTarget() override;
    CRenderTarget(const CRenderTarget&) = delete;
    CRenderTarget& operator=(const CRenderTarget&) = delete;

    // Makes a new texture of the size, each side reduced to the largest
    // power of two not above it (at most 65536). A side below 1 (or not a
    // number) or above the driver's largest texture (8192 where the driver
    // names none) makes none. Stops
    // listening until the next SetCamera. Whether a texture was made.
    bool Create(CGraphicsEngine* engine, const CPoint& size);
    // Binds the camera (null: none) and the frame rate, and listens when
    // there is a texture and a camera. The next pass draws.
    void SetCamera(IFrameCamera* camera, uint32_t frameRate);
    // The camera is going: the target stops drawing.
    void ForgetCamera(IFrameCamera* camera);

    bool OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPreScene& record) override;

    irr::video::ITexture* GetTexture() const { return m_texture; }
    IFrameCamera* GetCamera() const { return m_camera; }
    // The texture's size in pixels as asked for, after the power-of-two
    // reduction.
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    // Milliseconds between two drawings; 0 for every pass.
    uint32_t GetPeriod() const { return m_period; }

private:
    void Render();
    void DropTexture();

    CGraphicsEngine* m_engine = nullptr;
    float m_width = 0.0f;
    float m_height = 0.0f;
    irr::video::ITexture* m_texture = nullptr;
    IFrameCamera* m_camera = nullptr;
    uint32_t m_period = 0;
    uint32_t m_dueTime = 0;
    // Set by SetCamera: the next pass draws whatever the time says.
    bool m_drawNext = true;
};

} // namespace Graphics
