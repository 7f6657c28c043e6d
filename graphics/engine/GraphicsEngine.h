#pragma once

#include "core/app/SubEngine.h"

namespace Graphics
{

// The graphics sub-engine. It has no device yet, so it is never running:
// the loop neither steps it nor asks it to start or stop.
class CGraphicsEngine : public Simulation::CSubEngine
{
public:
    explicit CGraphicsEngine(Simulation::CSimulationManager* owner);
    ~CGraphicsEngine() override;

    // Nothing to fade in yet.
    bool OnStart() override;
    // Nothing to fade out yet: done at once.
    bool OnStop() override;
    // No frame to draw without a device.
    bool Step() override;
    // True while a device exists; there is none yet.
    bool IsRunning() override;
};

} // namespace Graphics
