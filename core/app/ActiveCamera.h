#pragma once

#include "core/foundation/Vector.h"

namespace Simulation
{

// What the engines beside graphics see of its active camera: the sound
// engine's listener follows it without knowing the graphics engine. The
// graphics sub-engine implements it.
class IActiveCamera
{
public:
    virtual ~IActiveCamera() = default;

    // The active camera's position, the point it looks at and its up vector;
    // false (nothing written) while no camera is active.
    virtual bool GetActiveCameraView(CVector& position, CVector& target, CVector& up) const = 0;
};

} // namespace Simulation
