#pragma once

// What the frame asks of the graphical entities it draws and updates. The
// entity classes implement these; the engine keeps plain pointers and drops
// them whenever the scene nodes go (scene reset, cache clearing, device end).

#include "core/foundation/Rect.h"

#include <string>

namespace irr::scene
{
class ICameraSceneNode;
}

namespace Graphics
{

// An entity whose scene node follows it once per frame.
class IFrameEntity
{
public:
    // Copies the entity's position, rotation and scale to its scene node.
    virtual void UpdateTransformation() = 0;
    // Animates the joints of the entity's animated-mesh node.
    virtual void AnimateJoints() = 0;

protected:
    ~IFrameEntity() = default;
};

// A camera as a camera pass of the frame sees it.
class IFrameCamera
{
public:
    // The camera's scene node; null while it has none.
    virtual irr::scene::ICameraSceneNode* GetCameraNode() const = 0;
    // The viewport as fractions of the screen: left, top, right, bottom.
    virtual CRect GetViewPort() const = 0;
    // The entity id that names the camera in camera change events.
    virtual std::string GetCameraId() const = 0;

protected:
    ~IFrameCamera() = default;
};

} // namespace Graphics
