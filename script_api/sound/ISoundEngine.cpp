// ISound functions on the sound engine as a whole: opening and closing the
// device, the sub-engine's lock, frame rate and frame counter, the devices
// of the machine and the listener's global settings.

#include "core/foundation/CriticalSection.h"
#include "core/foundation/KVOError.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptNumbers.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/VectorScript.h"
#include "script_api/sound/ISoundFunctions.h"
#include "sound/SoundEngine.h"

#include <cstdint>
#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using LuaPlus::Saturating;
using ScriptSound::TheEngine;

namespace ScriptSound
{

CSoundEngine& Engine()
{
    CSoundEngine* engine = GetScriptEngine().GetPart<CSoundEngine>();
    if (engine == nullptr)
        throw Misc::Error::CKVOError(L"[CScriptManager::GetSoundEngine] There is no sound engine");
    return *engine;
}

} // namespace ScriptSound

namespace
{

// A device position: truncated and held within 32 bits, so that a huge
// index stays past the end instead of wrapping onto a device.
using DriverIndex = Saturating<int32_t>;

// Opening and destroying the device serialise on one process-wide lock
// (never destroyed: a script may end the process from inside either).
CCriticalSection& DeviceLock()
{
    static auto* lock = new CCriticalSection;
    return *lock;
}

// Quiet: a device that does not open gives false instead of the error.
bool init(LuaState*, const std::string& driverName, uint32_t frameRate, bool quiet)
{
    CSoundEngine& engine = ScriptSound::Engine();
    CScopedLock lock(DeviceLock());
    return engine.Init(driverName, frameRate, !quiet);
}

void destroy(LuaState*)
{
    CSoundEngine& engine = ScriptSound::Engine();
    CScopedLock lock(DeviceLock());
    engine.Destroy();
}

void setDesiredFrameRate(LuaState*, uint32_t framesPerSecond)
{
    ScriptSound::Engine().SetDesiredFrameRate(framesPerSecond);
}

// nil while no device is open.
LuaObject getCurrentDriverName(LuaState* state)
{
    LuaObject name;
    const std::string driver = ScriptSound::Engine().GetCurrentDriverName();
    if (!driver.empty())
        name.Assign(state, std::string_view(driver));
    return name;
}

int32_t DriverVersion(int32_t index, bool major)
{
    int32_t majorVersion = 0;
    int32_t minorVersion = 0;
    ScriptSound::Engine().GetDriverVersion(index, &majorVersion, &minorVersion);
    return major ? majorVersion : minorVersion;
}

int32_t getSoundDriverVersionMajor(LuaState*, DriverIndex index)
{
    return DriverVersion(index, true);
}

int32_t getSoundDriverVersionMinor(LuaState*, DriverIndex index)
{
    return DriverVersion(index, false);
}

// callback(index, name, major, minor, maximum sources, is default, user
// value) for each device until it returns true.
void forEachSoundDriver(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    CSoundEngine& engine = ScriptSound::Engine();
    const LuaPlus::LuaStackFunction<bool> function(callback);
    for (int32_t index = 0; index < engine.GetNumberOfDrivers(); ++index)
    {
        int32_t major = 0;
        int32_t minor = 0;
        engine.GetDriverVersion(index, &major, &minor);
        if (function(index, engine.GetDriverName(index), major, minor, engine.GetDriverMaxSources(index),
                     index == engine.GetDefaultDriver(), userData))
            break;
    }
}

// Scripts give the velocity second; the engine takes it last.
void setListenerPosition(LuaState*, const CVector& position, const CVector& velocity, const CVector& lookAt,
                         const CVector& up)
{
    ScriptSound::Engine().SetListenerPosition(position, lookAt, up, velocity);
}

void enableAutoManagedCamera(LuaState*, bool enable)
{
    ScriptSound::Engine().EnableAutoManagedCamera(enable);
}

} // namespace

void RegisterISoundEngineFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("init", &init);
    table.RegisterHelper("destroy", &destroy);
    table.RegisterMethod<TheEngine>("isInitialised", &CSoundEngine::IsRunning);
    table.RegisterMethod<TheEngine>("lock", &CSoundEngine::SetLocked);
    table.RegisterHelper("setDesiredFrameRate", &setDesiredFrameRate);
    table.RegisterMethod<TheEngine>("getDesiredFrameRate", &CSoundEngine::GetDesiredFrameRate);
    table.RegisterMethod<TheEngine>("getTotalFrames", &CSoundEngine::GetTotalFrames);
    table.RegisterMethod<TheEngine>("getTotalProcessingTime", &CSoundEngine::GetTotalProcessingTime);
    table.RegisterMethod<TheEngine>("getAveProcessingTime", &CSoundEngine::GetAveProcessingTime);
    table.RegisterMethod<TheEngine>("enableFrameCounter", &CSoundEngine::EnableFrameCounter);
    table.RegisterMethod<TheEngine>("isFrameCounterEnabled", &CSoundEngine::IsFrameCounterEnabled);
}

void RegisterISoundDriverFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getCurrentDriverName", &getCurrentDriverName);
    table.RegisterMethod<TheEngine>("getNumberOfSoundDrivers", &CSoundEngine::GetNumberOfDrivers);
    table.RegisterMethod<TheEngine, DriverIndex>("getSoundDriverName", &CSoundEngine::GetDriverName);
    table.RegisterHelper("getSoundDriverVersionMajor", &getSoundDriverVersionMajor);
    table.RegisterHelper("getSoundDriverVersionMinor", &getSoundDriverVersionMinor);
    table.RegisterMethod<TheEngine, DriverIndex>("getSoundDriverMaxSources",
                                                 &CSoundEngine::GetDriverMaxSources);
    table.RegisterMethod<TheEngine>("getSoundDriverDefault", &CSoundEngine::GetDefaultDriver);
    // A feature id beyond 32 bits stays unknown instead of wrapping onto a
    // known one.
    table.RegisterMethod<TheEngine, DriverIndex, Saturating<int32_t>>("querySoundDriverFeature",
                                                                      &CSoundEngine::IsExtensionSupported);
    table.RegisterHelper("forEachSoundDriver", &forEachSoundDriver);
}

void RegisterISoundListenerFunctions(CScriptMetaTable& table)
{
    table.RegisterMethod<TheEngine>("getGlobalVolume", &CSoundEngine::GetGlobalVolume);
    table.RegisterMethod<TheEngine>("setGlobalVolume", &CSoundEngine::SetGlobalVolume);
    table.RegisterMethod<TheEngine>("getDistanceModel", &CSoundEngine::GetDistanceModel);
    table.RegisterMethod<TheEngine>("setDistanceModel", &CSoundEngine::SetDistanceModel);
    table.RegisterMethod<TheEngine>("getSpeedOfSound", &CSoundEngine::GetSpeedOfSound);
    table.RegisterMethod<TheEngine>("setSpeedOfSound", &CSoundEngine::SetSpeedOfSound);
    table.RegisterMethod<TheEngine>("getDopplerFactor", &CSoundEngine::GetDopplerFactor);
    table.RegisterMethod<TheEngine>("setDopplerFactor", &CSoundEngine::SetDopplerFactor);
    table.RegisterHelper("setListenerPosition", &setListenerPosition);
    table.RegisterHelper("enableAutoManagedCamera", &enableAutoManagedCamera);
    table.RegisterMethod<TheEngine>("getAutoManagedCamera", &CSoundEngine::IsAutoManagedCameraEnabled);
}
