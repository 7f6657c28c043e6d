#pragma once

#include "core/world/EntityInterface.h"
#include "sound/SoundEngine.h"

#include <cstdint>
#include <string>
#include <vector>

// The sonic part of a world entity: the names of loaded sounds that travel
// with it. The sounds stay the sound engine's; the part holds names only, so
// a sound unloaded behind its back is skipped and dropped at the next
// UpdateParts.
//
// Attached to an engine (CSoundEngine::AddEntity), the part moves its sounds
// to the entity's position, direction and velocity: at once, and at the
// engine's next step after the entity queues itself (RegisterWithEngine).
// The entity that joins the parts answers the placement queries: this part
// implements only the operations that concern sound.
//
// Whichever goes first, no dangling pointer stays behind: the part leaves
// its engine when destroyed, and an engine going down detaches its parts.
// A copy has the names and no engine.
class CSonicEntity : public virtual Misc::World::IEntityInterface
{
public:
    CSonicEntity() = default;
    CSonicEntity(const CSonicEntity& other);
    CSonicEntity& operator=(const CSonicEntity& other);
    ~CSonicEntity() override;

    // Links the part to the engine (leaving another one first), or unlinks
    // it; the engine's AddEntity and RemoveEntity call it.
    void SetSoundEngine(CSoundEngine* engine);
    CSoundEngine* GetSoundEngine() const { return m_link.GetEngine(); }
    // Queues the part for the engine's next step; nothing while detached.
    void RegisterWithEngine();

    uint32_t GetNumberOfSounds() const { return static_cast<uint32_t>(m_sounds.size()); }
    const std::vector<std::string>& GetSoundNames() const { return m_sounds; }
    // Appends the name of a loaded sound (a name may come twice) and moves
    // the sounds at once; false while detached or for a sound not loaded.
    bool AttachSound(const std::string& name);
    // Removes the name's first entry; false while detached or when absent.
    bool DetachSound(const std::string& name);
    bool DetachAllSounds();
    // Moves every listed loaded sound to the entity's position, its stored
    // direction turned by the entity's rotation, and the entity's velocity.
    bool UpdateSounds();
    // Drops the names of sounds no longer loaded, then UpdateSounds; true.
    bool ApplyProperties();

    // The entity-interface operations that concern sound; each does nothing
    // while detached.
    void SetPosition(const CVector& position) override;
    void SetRotation(const CVector& rotation) override;
    // Sound has no flags.
    void SetFlags(uint32_t flags) override;
    // Forgets the names and the engine.
    void Clear() override;
    bool UpdateParts() override { return ApplyProperties(); }

    // "Sounds{": one "Sound{" record with its "-Id" per name.
    bool Write(Misc::Serialization::IArchive& archive) override;
    // Replaces the names. Files older than 1010 list the sounds' files, which
    // are loaded (or, without a device, kept) through the attached engine or
    // else the engine object's sound engine.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOSONICENTITY"; }

private:
    // The engine marks the parts waiting for its next step.
    friend class CSoundEngine;

    // Calls the action on each listed sound that is loaded; with dropMissing
    // the names of sounds no longer loaded leave the list.
    template <class Action> void ForEachSound(bool dropMissing, Action action);
    // The sounds to the entity's placement.
    bool MoveSounds(bool dropMissing);
    bool ReadOlderForm(Misc::Serialization::IArchive& archive);
    // The engine went down: the part keeps its names (they name sounds, not
    // the engine's objects) and has nothing else of it.
    void ReleaseEngine() {}

    bool m_queued = false;
    std::vector<std::string> m_sounds;
    CSoundLink m_link{this, &Misc::World::CPartRelease<&CSonicEntity::ReleaseEngine>::Call};
};
