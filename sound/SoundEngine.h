#pragma once

#include "core/app/SubEngine.h"
#include "core/events/Multicast.h"
#include "core/world/EngineLink.h"

class CSoundEngine;
// How a sonic part is linked to the sound engine, and the engine's side of
// those links.
using CSoundLink = Misc::World::CEngineLink<CSoundEngine>;
using CSoundParts = Misc::World::CEngineParts<CSoundEngine>;

// The sound sub-engine. It follows camera changes for its whole life. It has
// no sound device yet, so it is never running and the loop never steps it.
//
// The sonic parts of entities join it through their links; when the engine
// goes down it lets go of every part first, so that no part keeps anything
// of the engine.
class CSoundEngine : public Simulation::CSubEngine,
                     public Misc::Multicast::CSubscriber<Misc::Multicast::Kind::CameraChange>
{
public:
    explicit CSoundEngine(Simulation::CSimulationManager* owner);
    ~CSoundEngine() override;
    CSoundEngine(const CSoundEngine&) = delete;
    CSoundEngine& operator=(const CSoundEngine&) = delete;

    bool OnStart() override;
    bool OnStop() override;
    // Nothing to update yet.
    bool Step() override;
    // True while a sound device and its context exist; there are none yet.
    bool IsRunning() override;

    // The sonic parts linked to the engine.
    CSoundParts& GetParts() { return m_parts; }

private:
    // What the engine keeps of a part that leaves it: nothing yet.
    static void ForgetPart(CSoundEngine& engine, CSoundLink& link);

    CSoundParts m_parts{*this, &CSoundEngine::ForgetPart};
};
