#pragma once

#include "core/app/SubEngine.h"
#include "core/events/Multicast.h"

// The sound sub-engine. It follows camera changes for its whole life. It has
// no sound device yet, so it is never running and the loop never steps it.
class CSoundEngine : public Simulation::CSubEngine,
                     public Misc::Multicast::CSubscriber<Misc::Multicast::Kind::CameraChange>
{
public:
    explicit CSoundEngine(Simulation::CSimulationManager* owner);
    ~CSoundEngine() override;

    bool OnStart() override;
    bool OnStop() override;
    // Nothing to update yet.
    bool Step() override;
    // True while a sound device and its context exist; there are none yet.
    bool IsRunning() override;
};
