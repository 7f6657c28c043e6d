// ISound functions on sounds loaded under names. Each one names its sound
// first; for a name that names none it answers 0, false or nil and changes
// nothing (the Sound argument type).

#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptNumbers.h"
#include "script_api/core/VectorScript.h"
#include "script_api/sound/ISoundFunctions.h"
#include "sound/Sound.h"
#include "sound/SoundEngine.h"

#include <cstdint>
#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using LuaPlus::Saturating;
using ScriptSound::Sound;
using ScriptSound::TheEngine;

CSound* ScriptSound::LoadedSounds::Find(std::string_view name)
{
    CSound* sound = nullptr;
    return Engine().GetSound(std::string(name), sound) ? sound : nullptr;
}

namespace
{

uint32_t getNumberOfSounds(LuaState*)
{
    return static_cast<uint32_t>(ScriptSound::Engine().GetSounds().size());
}

bool mapSoundExtension(LuaState*, const std::wstring& extension, const std::wstring& loaderExtension)
{
    return CSoundEngine::MapSoundExtension(extension, loaderExtension);
}

// A looping argument loops when it is true or a number other than 0 (NaN
// reads as 0, as in every whole-number argument).
bool IsLoopingArgument(const LuaStackObject& looping)
{
    if (looping.IsBoolean())
        return looping.GetBoolean();
    const double number = looping.GetNumber();
    return number == number && number != 0;
}

// The name the sound was stored under (a new UUID text for an empty name);
// nil when it did not load.
LuaObject load(LuaState* state, const std::string& name, const std::wstring& fileName, bool streamed,
               float volume, const LuaStackObject& looping)
{
    CSoundEngine& engine = ScriptSound::Engine();
    std::string storedName = name;
    CSound* sound = nullptr;
    LuaObject result;
    if (!engine.LoadSound(storedName, sound, fileName, streamed, CSound::kDefaultBufferSeconds,
                          CSound::kDefaultBufferCount))
        return result;
    sound->SetVolume(volume);
    sound->SetLooping(IsLoopingArgument(looping));
    result.Assign(state, std::string_view(storedName));
    return result;
}

// A negative period reads as 0 (the default period) and a huge one as the
// longest, which the sound holds to its own bounds.
bool play(LuaState*, Sound sound, Saturating<uint32_t> period, int32_t priority)
{
    return sound->Play(period, priority);
}

void unload(LuaState*, const std::string& name)
{
    ScriptSound::Engine().UnloadSound(name);
}

void unloadAll(LuaState*, uint32_t age)
{
    ScriptSound::Engine().UnloadAll(age);
}

void setVolume(LuaState*, Sound sound, float volume)
{
    sound->SetVolume(volume);
}

void setPitch(LuaState*, Sound sound, float pitch)
{
    sound->SetPitch(pitch);
}

void setLooping(LuaState*, Sound sound, bool looping)
{
    sound->SetLooping(looping);
}

float getDirectionConeAngleInner(LuaState*, Sound sound)
{
    float inner = 0.0f;
    float outer = 0.0f;
    sound->GetDirectionConeAngles(inner, outer);
    return inner;
}

float getDirectionConeAngleOuter(LuaState*, Sound sound)
{
    float inner = 0.0f;
    float outer = 0.0f;
    sound->GetDirectionConeAngles(inner, outer);
    return outer;
}

void setDirectionConeAngleParams(LuaState*, Sound sound, float inner, float outer, float outerVolume)
{
    sound->SetDirectionConeAngles(inner, outer);
    sound->SetDirectionConeVolumeOuter(outerVolume);
}

// callback(name, user value) for each sound in name order until it returns
// true. The walk finds the next sound by name after each call, so the
// callback may load and unload any sound, this one included.
void forEachSound(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    CSoundEngine& engine = ScriptSound::Engine();
    const LuaPlus::LuaStackFunction<bool> function(callback);
    const auto& sounds = engine.GetSounds();
    for (auto next = sounds.begin(); next != sounds.end();)
    {
        const std::string name = next->first;
        if (function(name, userData))
            break;
        next = sounds.upper_bound(name);
    }
}

} // namespace

void RegisterISoundSoundFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getNumberOfSounds", &getNumberOfSounds);
    table.RegisterHelper("mapSoundExtension", &mapSoundExtension);
    table.RegisterHelper("load", &load);
    table.RegisterMethod<TheEngine>("soundExists", &CSoundEngine::SoundExists);
    table.RegisterMethod<Sound>("getSoundFilename", &CSound::GetFilename);
    table.RegisterMethod<Sound>("isStreamMode", &CSound::IsStreaming);
    table.RegisterHelper("play", &play);
    table.RegisterMethod<Sound>("stop", &CSound::Stop);
    table.RegisterMethod<Sound>("rewind", &CSound::Rewind);
    table.RegisterMethod<Sound>("pause", &CSound::Pause);
    table.RegisterMethod<Sound>("isPlaying", &CSound::IsPlaying);
    table.RegisterMethod<Sound>("isPaused", &CSound::IsPaused);
    table.RegisterMethod<Sound>("isStopped", &CSound::IsStopped);
    table.RegisterHelper("unload", &unload);
    table.RegisterHelper("unloadAll", &unloadAll);
    table.RegisterMethod<Sound>("getVolume", &CSound::GetVolume);
    table.RegisterHelper("setVolume", &setVolume);
    table.RegisterMethod<Sound>("getPitch", &CSound::GetPitch);
    table.RegisterHelper("setPitch", &setPitch);
    table.RegisterMethod<Sound>("isLooping", &CSound::IsLooping);
    table.RegisterHelper("setLooping", &setLooping);
    table.RegisterMethod<Sound>("getMaxDistance", &CSound::GetMaxDistance);
    table.RegisterMethod<Sound>("setMaxDistance", &CSound::SetMaxDistance);
    table.RegisterMethod<Sound>("getReferenceDistance", &CSound::GetReferenceDistance);
    table.RegisterMethod<Sound>("setReferenceDistance", &CSound::SetReferenceDistance);
    table.RegisterMethod<Sound>("getRolloffFactor", &CSound::GetRolloffFactor);
    table.RegisterMethod<Sound>("setRolloffFactor", &CSound::SetRolloffFactor);
    table.RegisterMethod<Sound>("getPosition", &CSound::GetPosition);
    table.RegisterMethod<Sound>("setPosition", &CSound::SetPosition);
    table.RegisterMethod<Sound>("setVelocity", &CSound::SetVelocity);
    table.RegisterMethod<Sound>("getDirection", &CSound::GetDirection);
    table.RegisterMethod<Sound>("setDirection", &CSound::SetDirection);
    table.RegisterHelper("getDirectionConeAngleInner", &getDirectionConeAngleInner);
    table.RegisterHelper("getDirectionConeAngleOuter", &getDirectionConeAngleOuter);
    table.RegisterMethod<Sound>("getDirectionConeVolumeOuter", &CSound::GetDirectionConeVolumeOuter);
    table.RegisterHelper("setDirectionConeAngleParams", &setDirectionConeAngleParams);
    table.RegisterMethod<Sound>("getPlayPosition", &CSound::GetPlayPosition);
    table.RegisterMethod<Sound>("setPlayPosition", &CSound::SetPlayPosition);
    table.RegisterHelper("forEachSound", &forEachSound);
}
