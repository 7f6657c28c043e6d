#pragma once

#include "core/app/SubEngine.h"
#include "core/events/Multicast.h"
#include "core/world/EngineLink.h"

class CPhysicsEngine;
// How a physical part is linked to the physics engine, and the engine's side
// of those links.
using CPhysicsLink = Misc::World::CEngineLink<CPhysicsEngine>;
using CPhysicsParts = Misc::World::CEngineParts<CPhysicsEngine>;

// The physics sub-engine. Its sub-engine part is its second base; the first
// is the draw-post-scene subscriber of the collision debug drawing. It has no
// physics world yet, so it is never running and the loop never steps it.
//
// The physical parts of entities join it through their links; when the
// engine goes down it lets go of every part first, so that no part keeps
// anything of the engine.
class CPhysicsEngine : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsDrawPostScene>,
                       public Simulation::CSubEngine
{
public:
    explicit CPhysicsEngine(Simulation::CSimulationManager* owner);
    ~CPhysicsEngine() override;
    CPhysicsEngine(const CPhysicsEngine&) = delete;
    CPhysicsEngine& operator=(const CPhysicsEngine&) = delete;

    bool OnStart() override;
    // Switches the collision debug drawing off.
    bool OnStop() override;
    // Publishes the physics tick {engine, step time, previous step time}.
    bool Step() override;
    // True while the physics world exists; there is none yet.
    bool IsRunning() override;

    // The physical parts linked to the engine.
    CPhysicsParts& GetParts() { return m_parts; }

private:
    // What the engine keeps of a part that leaves it: nothing yet.
    static void ForgetPart(CPhysicsEngine& engine, CPhysicsLink& link);

    CPhysicsParts m_parts{*this, &CPhysicsEngine::ForgetPart};
};
