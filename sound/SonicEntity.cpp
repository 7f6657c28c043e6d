#include "sound/SonicEntity.h"

#include "core/io/Archive.h"
#include "core/app/SimulationManager.h"
#include "core/io/FileVersions.h"
#include "sound/Sound.h"
#include "sound/SoundEngine.h"

#include <algorithm>
#include <cfloat>

namespace FileVersion = Misc::Serialization::FileVersion;

using Misc::Serialization::IArchive;

CSonicEntity::CSonicEntity(const CSonicEntity& other) : m_sounds(other.m_sounds) {}

CSonicEntity& CSonicEntity::operator=(const CSonicEntity& other)
{
    m_sounds = other.m_sounds;
    return *this;
}

CSonicEntity::~CSonicEntity()
{
    // Out of the engine's lists while the part is still whole.
    m_link.Detach();
}

void CSonicEntity::SetSoundEngine(CSoundEngine* engine)
{
    if (engine != nullptr)
        m_link.Attach(engine->GetParts());
    else
        m_link.Detach();
}

void CSonicEntity::RegisterWithEngine()
{
    if (CSoundEngine* engine = GetSoundEngine())
        engine->QueueEntityUpdate(this);
}

bool CSonicEntity::AttachSound(const std::string& name)
{
    const CSoundEngine* engine = GetSoundEngine();
    if (engine == nullptr || !engine->SoundExists(name))
        return false;
    m_sounds.push_back(name);
    return UpdateSounds();
}

bool CSonicEntity::DetachSound(const std::string& name)
{
    if (GetSoundEngine() == nullptr)
        return false;
    const auto found = std::find(m_sounds.begin(), m_sounds.end(), name);
    if (found == m_sounds.end())
        return false;
    m_sounds.erase(found);
    return true;
}

bool CSonicEntity::DetachAllSounds()
{
    m_sounds.clear();
    return true;
}

template <class Action> void CSonicEntity::ForEachSound(bool dropMissing, Action action)
{
    const CSoundEngine* engine = GetSoundEngine();
    if (engine == nullptr)
        return;
    // One pass: each name is looked up once.
    const auto missing = [&](const std::string& name)
    {
        CSound* sound = nullptr;
        if (!engine->GetSound(name, sound))
            return dropMissing;
        action(*sound);
        return false;
    };
    m_sounds.erase(std::remove_if(m_sounds.begin(), m_sounds.end(), missing), m_sounds.end());
}

bool CSonicEntity::MoveSounds(bool dropMissing)
{
    if (GetSoundEngine() == nullptr)
        return true;
    const CVector& position = GetPosition();
    const CVector& rotation = GetRotation();
    CVector velocity;
    GetVelocity(velocity);
    ForEachSound(dropMissing, [&](CSound& sound) { sound.SetPlacement(position, rotation, velocity); });
    return true;
}

bool CSonicEntity::UpdateSounds()
{
    return MoveSounds(false);
}

bool CSonicEntity::ApplyProperties()
{
    return MoveSounds(true);
}

void CSonicEntity::SetPosition(const CVector& position)
{
    ForEachSound(false, [&](CSound& sound) { sound.SetPosition(position); });
}

void CSonicEntity::SetRotation(const CVector& rotation)
{
    ForEachSound(false, [&](CSound& sound) { sound.SetDirectionByRotation(rotation); });
}

void CSonicEntity::SetFlags(uint32_t flags)
{
    (void)flags;
}

void CSonicEntity::Clear()
{
    m_sounds.clear();
    m_link.Detach();
}

bool CSonicEntity::Write(IArchive& archive)
{
    archive.WriteString("Sounds{");
    archive.EndLine(+1);
    bool written = true;
    for (const std::string& name : m_sounds)
    {
        archive.WriteString("Sound{");
        archive.EndLine(+1);
        written = archive.WriteKeyString("-Id", name) && written;
        archive.EndLine(-1);
        archive.WriteString("}");
        archive.EndLine(0);
    }
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return written;
}

bool CSonicEntity::Read(IArchive& archive)
{
    m_sounds.clear();
    if (archive.IsVersionAtLeast(FileVersion::kSonicSoundNames))
    {
        // Names only: the sound engine's own block loads the sounds.
        archive.ExpectToken("Sounds{");
        while (archive.TestToken("Sound{"))
        {
            std::string name;
            archive.ReadKeyString("-Id", name);
            archive.ExpectToken("}");
            m_sounds.push_back(name);
        }
        archive.ExpectToken("}");
        return true;
    }
    if (archive.IsVersionAtLeast(FileVersion::kSonicSoundFiles))
        return ReadOlderForm(archive);
    return true;
}

namespace
{

// The engine that loads the sounds an older file lists: the part's own, or
// else the engine object's (the world reads entities into parts that are not
// attached yet).
CSoundEngine* EngineForOlderSounds(CSoundEngine* attached)
{
    if (attached != nullptr)
        return attached;
    const Simulation::CSimulationManager* engineObject = Simulation::CSimulationManager::GetEngineObject();
    return engineObject != nullptr ? engineObject->GetPart<CSoundEngine>() : nullptr;
}

// The sound of an older record with the entity-wide settings: loaded (or
// kept without a device) unless it is there already. False when it could
// not be.
bool TakeOlderSound(CSoundEngine& engine, const CSoundRecord& record)
{
    CSound* sound = nullptr;
    if (engine.GetSound(record.name, sound))
    {
        sound->SetLooping(record.looping);
        sound->SetMaxDistance(record.maxDistance);
        sound->SetReferenceDistance(record.minDistance);
        sound->SetVolume(record.volume);
        return true;
    }
    if (CSoundRecord* kept = engine.FindKeptRecord(record.name))
    {
        kept->looping = record.looping;
        kept->maxDistance = record.maxDistance;
        kept->minDistance = record.minDistance;
        kept->volume = record.volume;
        return true;
    }
    return engine.LoadRecord(record);
}

} // namespace

bool CSonicEntity::ReadOlderForm(IArchive& archive)
{
    // The block starts with settings for all its sounds, then lists each
    // sound's file; anything else between the records is skipped.
    CSoundRecord settings;
    archive.ExpectToken("Sounds{");
    archive.ReadKeyFloat("-MinDist", settings.minDistance);
    archive.ReadKeyFloat("-MaxDist", settings.maxDistance);
    archive.ReadKeyFloat("-Volume", settings.volume);
    CSoundEngine* engine = EngineForOlderSounds(GetSoundEngine());
    while (!archive.TestToken("}"))
    {
        if (!archive.TestToken("Sound{"))
        {
            // The end of the input ends the block with the archive's error.
            if (archive.ReadToken(nullptr).empty())
                archive.ExpectToken("}");
            continue;
        }
        CSoundRecord record = settings;
        archive.ReadKeyString("-Id", record.name);
        archive.ReadKeyWString("-File", record.fileName);
        archive.ReadKeyBool("-Stream", record.streaming);
        archive.ReadKeyBool("-Loop", record.looping);
        archive.ExpectToken("}");
        // A sound that cannot be loaded leaves nothing to name.
        if (engine != nullptr && !record.name.empty() && TakeOlderSound(*engine, record))
            m_sounds.push_back(record.name);
    }
    return true;
}
