#pragma once

#include "core/app/SubEngine.h"
#include "core/events/Multicast.h"

// The physics sub-engine. Its sub-engine part is its second base; the first
// is the draw-post-scene subscriber of the collision debug drawing. It has no
// physics world yet, so it is never running and the loop never steps it.
class CPhysicsEngine : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsDrawPostScene>,
                       public Simulation::CSubEngine
{
public:
    explicit CPhysicsEngine(Simulation::CSimulationManager* owner);
    ~CPhysicsEngine() override;

    bool OnStart() override;
    // Switches the collision debug drawing off.
    bool OnStop() override;
    // Publishes the physics tick {engine, step time, previous step time}.
    bool Step() override;
    // True while the physics world exists; there is none yet.
    bool IsRunning() override;
};
