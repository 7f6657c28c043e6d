#include "sound/SoundEngine.h"

#include "core/app/ActiveCamera.h"
#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/io/Archive.h"
#include "core/io/File.h"
#include "core/io/FileVersions.h"
#include "core/io/Uuid.h"
#include "sound/SonicEntity.h"
#include "sound/Sound.h"
#include "sound/SoundDeviceList.h"
#include "sound/VorbisLibrary.h"

#include <algorithm>
#include <iterator>

namespace FileVersion = Misc::Serialization::FileVersion;

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

namespace
{

// The extension names of the feature numbers, in number order.
constexpr const char* kFeatureNames[] = {"EAX-RAM",
                                         "ALC_EXT_EFX",
                                         "ALC_EXT_CAPTURE",
                                         "AL_EXT_OFFSET",
                                         "AL_EXT_LINEAR_DISTANCE",
                                         "AL_EXT_EXPONENT_DISTANCE",
                                         "EAX2.0",
                                         "EAX3.0",
                                         "EAX4.0",
                                         "EAX5.0"};

// Extensions that scripts map to a reader, for every engine of the process.
struct SExtensionMap
{
    std::mutex lock;
    std::map<std::wstring, std::wstring> readers;
};

SExtensionMap& ExtensionMap()
{
    static SExtensionMap map;
    return map;
}

// The decoder library is one for the process: engines with an open device
// share it, and the last of them to close frees it, so that no other
// engine's stream calls into a library that is gone.
struct SDecoderUsers
{
    std::mutex lock;
    int count = 0;
};

SDecoderUsers& DecoderUsers()
{
    static SDecoderUsers users;
    return users;
}

bool AcquireDecoder(const std::string& libraryName)
{
    SDecoderUsers& users = DecoderUsers();
    std::lock_guard<std::mutex> hold(users.lock);
    if (!LoadVorbisLibrary(libraryName.empty() ? nullptr : libraryName.c_str()))
        return false;
    ++users.count;
    return true;
}

void ReleaseDecoder()
{
    SDecoderUsers& users = DecoderUsers();
    std::lock_guard<std::mutex> hold(users.lock);
    if (users.count > 0 && --users.count == 0)
        FreeVorbisLibrary();
}

} // namespace

CSoundEngine::CSoundEngine(Simulation::CSimulationManager* owner, const SSoundLibraries& libraries)
    : Simulation::CSubEngine(owner), m_vorbisLibrary(libraries.vorbis != nullptr ? libraries.vorbis : "")
{
    if (libraries.openAL != nullptr)
        m_openALLibrary = libraries.openAL;
    CMulticast<Kind::CameraChange>::Subscribe(this, 0);
}

const CSoundDeviceList& CSoundEngine::Devices() const
{
    std::lock_guard<std::recursive_mutex> hold(m_alLock);
    if (!m_devices)
        m_devices = std::make_unique<CSoundDeviceList>(m_openALLibrary ? m_openALLibrary->c_str() : nullptr);
    return *m_devices;
}

CSoundEngine::~CSoundEngine()
{
    // No part keeps a pointer to an engine that is gone.
    m_parts.DetachAll();
    CMulticast<Kind::CameraChange>::Unsubscribe(this);
    Destroy();
    m_devices.reset();
    UnloadOpenALLibrary(&m_al);
}

// Sub-engine --------------------------------------------------------------------

bool CSoundEngine::OnStart()
{
    return true;
}

bool CSoundEngine::OnStop()
{
    return true;
}

bool CSoundEngine::IsRunning()
{
    return m_device != nullptr && m_context != nullptr;
}

bool CSoundEngine::Step()
{
    // One hold for the whole step: the sounds' setters take it again
    // without waiting.
    COpenALHold hold(*this);
    for (CSonicEntity* entity : m_pendingEntities)
    {
        entity->m_queued = false;
        entity->ApplyProperties();
    }
    m_pendingEntities.clear();
    if (m_autoManagedCamera)
        FollowCamera();
    return true;
}

namespace
{

// The owner's graphics sub-engine, or null.
Simulation::CSubEngine* OwnersGraphicsEngine(const Simulation::CSimulationManager* owner)
{
    if (owner == nullptr)
        return nullptr;
    const auto found = owner->GetSubEngines().find("graphics");
    return found != owner->GetSubEngines().end() ? found->second : nullptr;
}

// Its active camera, as it lets other engines see it; null without one.
const Simulation::IActiveCamera* CameraOf(const Simulation::CSubEngine* graphics)
{
    return dynamic_cast<const Simulation::IActiveCamera*>(graphics);
}

} // namespace

void CSoundEngine::FollowCamera()
{
    const Simulation::IActiveCamera* cameras = CameraOf(OwnersGraphicsEngine(GetOwner()));
    CVector position;
    CVector target;
    CVector up;
    if (cameras == nullptr || !cameras->GetActiveCameraView(position, target, up))
        return;
    uint32_t elapsed = GetCurrentTime() - GetLastStepTime();
    if (elapsed == 0)
        elapsed = 1;
    const float perSecond = 1000.0f / static_cast<float>(elapsed);
    const CVector velocity((position.x - m_lastListenerPosition.x) * perSecond,
                           (position.y - m_lastListenerPosition.y) * perSecond,
                           (position.z - m_lastListenerPosition.z) * perSecond);
    const CVector lookAt(target.x - position.x, target.y - position.y, target.z - position.z);
    SetListenerPosition(position, lookAt, up, velocity);
    m_lastListenerPosition = position;
}

bool CSoundEngine::OnEvent(const CEvtEntityPair& event)
{
    // The graphics engine sends its camera changes as itself.
    const Simulation::CSubEngine* graphics = OwnersGraphicsEngine(GetOwner());
    if (graphics == nullptr || event.sender != dynamic_cast<const void*>(graphics))
        return false;
    CVector target;
    CVector up;
    if (const Simulation::IActiveCamera* cameras = CameraOf(graphics))
        cameras->GetActiveCameraView(m_lastListenerPosition, target, up);
    return true;
}

// Device ------------------------------------------------------------------------

bool CSoundEngine::Init(const std::string& deviceName, uint32_t frameRate, bool throwOnFailure)
{
    Destroy();
    // Listed before any device of ours is open: listing makes contexts
    // current and leaves none current.
    Devices();
    // Loaded with the first device, not before: a program that plays no
    // sound does not pay for OpenAL's start.
    if (!m_al.library.IsOpen())
        LoadOpenALLibrary(m_openALLibrary ? m_openALLibrary->c_str() : nullptr, &m_al);
    if (m_al.alcOpenDevice != nullptr)
    {
        const bool byDefault = deviceName.empty() || deviceName == kAutoDetectDevice;
        m_device = m_al.alcOpenDevice(byDefault ? nullptr : deviceName.c_str());
        // Ogg Vorbis files cannot play without the decoder: no device then.
        if (m_device != nullptr && !AcquireDecoder(m_vorbisLibrary))
            CloseDevice();
        if (m_device != nullptr)
        {
            // A device that refuses the request still makes a context of
            // its own size.
            const ALCint attributes[] = {ALC_MONO_SOURCES, kContextSources, 0};
            m_context = m_al.alcCreateContext(m_device, attributes);
            if (m_context == nullptr)
                m_context = m_al.alcCreateContext(m_device, nullptr);
            if (m_context == nullptr || !m_al.alcMakeContextCurrent(m_context))
            {
                CloseDevice();
                ReleaseDecoder();
            }
            else
            {
                COpenALHold hold(*this);
                FetchEaxRamFunctions(m_al, m_eaxRam);
                FetchEffectsFunctions(m_al, m_device, m_effects);
                // No Doppler shift until a script asks for one.
                m_al.alDopplerFactor(0.0f);
            }
        }
    }
    SetDesiredFrameRate(frameRate);
    if (m_device != nullptr)
        return true;
    if (throwOnFailure)
        throw Misc::Error::CKVOError(
            L"[CSoundEngine::Init] Failed to create and initialise the sound device.");
    return false;
}

bool CSoundEngine::Destroy()
{
    SetDesiredFrameRate(0);
    UnloadAll(0);
    if (m_device == nullptr || m_context == nullptr)
        return false;
    CloseDevice();
    ReleaseDecoder();
    return true;
}

void CSoundEngine::CloseDevice()
{
    if (m_context != nullptr)
    {
        m_al.alcMakeContextCurrent(nullptr);
        m_al.alcDestroyContext(m_context);
        m_context = nullptr;
    }
    if (m_device != nullptr)
        m_al.alcCloseDevice(m_device);
    m_device = nullptr;
    m_effects = SEffectsFunctions();
    m_eaxRam = SEaxRamFunctions();
}

int32_t CSoundEngine::GetNumberOfDrivers() const
{
    return Devices().GetNumberOfDevices();
}

std::string CSoundEngine::GetDriverName(int32_t index) const
{
    const int32_t count = Devices().GetNumberOfDevices();
    if (count == 0)
        return std::string();
    return Devices().GetDeviceName(std::clamp(index, 0, count - 1));
}

void CSoundEngine::GetDriverVersion(int32_t index, int32_t* major, int32_t* minor) const
{
    Devices().GetDeviceVersion(index, major, minor);
}

int32_t CSoundEngine::GetDriverMaxSources(int32_t index) const
{
    return Devices().GetMaxNumSources(index);
}

int32_t CSoundEngine::GetDefaultDriver() const
{
    return Devices().GetDefaultDevice();
}

std::string CSoundEngine::GetCurrentDriverName() const
{
    if (m_device == nullptr)
        return std::string();
    const ALCchar* name = m_al.alcGetString(m_device, ALC_DEVICE_SPECIFIER);
    return name != nullptr ? name : "";
}

bool CSoundEngine::IsExtensionSupported(int32_t deviceIndex, int32_t feature) const
{
    if (feature < 0 || feature >= static_cast<int32_t>(std::size(kFeatureNames)))
        throw Misc::Error::CKVOError::Format(L"[CSoundEngine::IsExtensionSupported] Feature unknown:%i",
                                             feature);
    return Devices().IsExtensionSupported(deviceIndex, kFeatureNames[feature]);
}

// Listener and world ----------------------------------------------------------------

float CSoundEngine::GetGlobalVolume() const
{
    if (m_context == nullptr)
        return 0.0f;
    COpenALHold hold(*this);
    float volume = 0.0f;
    m_al.alGetListenerf(AL_GAIN, &volume);
    return volume;
}

void CSoundEngine::SetGlobalVolume(float volume)
{
    if (m_context == nullptr)
        return;
    COpenALHold hold(*this);
    m_al.alListenerf(AL_GAIN, volume < 0.0f ? 0.0f : volume);
}

void CSoundEngine::SetDistanceModel(int32_t model)
{
    if (m_context == nullptr)
        return;
    COpenALHold hold(*this);
    m_al.alDistanceModel(model);
}

int32_t CSoundEngine::GetDistanceModel() const
{
    if (m_context == nullptr)
        return 0;
    COpenALHold hold(*this);
    return m_al.alGetInteger(AL_DISTANCE_MODEL);
}

float CSoundEngine::GetSpeedOfSound() const
{
    if (m_context == nullptr)
        return 0.0f;
    COpenALHold hold(*this);
    return m_al.alGetFloat(AL_SPEED_OF_SOUND);
}

void CSoundEngine::SetSpeedOfSound(float speed)
{
    if (m_context == nullptr)
        return;
    COpenALHold hold(*this);
    m_al.alSpeedOfSound(speed);
}

float CSoundEngine::GetDopplerFactor() const
{
    if (m_context == nullptr)
        return 0.0f;
    COpenALHold hold(*this);
    return m_al.alGetFloat(AL_DOPPLER_FACTOR);
}

void CSoundEngine::SetDopplerFactor(float factor)
{
    if (m_context == nullptr)
        return;
    COpenALHold hold(*this);
    m_al.alDopplerFactor(factor);
}

bool CSoundEngine::EnableAutoManagedCamera(bool enable)
{
    m_autoManagedCamera = enable;
    return enable;
}

void CSoundEngine::SetListenerPosition(const CVector& position, const CVector& lookAt, const CVector& up,
                                       const CVector& velocity)
{
    if (m_context == nullptr)
        return;
    COpenALHold hold(*this);
    m_al.alListener3f(AL_POSITION, position.x, position.y, -position.z);
    m_al.alListener3f(AL_VELOCITY, velocity.x, velocity.y, -velocity.z);
    const float orientation[6] = {lookAt.x, lookAt.y, -lookAt.z, up.x, up.y, -up.z};
    m_al.alListenerfv(AL_ORIENTATION, orientation);
}

// Sounds ---------------------------------------------------------------------------

bool CSoundEngine::LoadSound(std::string& name, CSound*& sound, const std::wstring& fileName, bool streaming,
                             float seconds, uint32_t count)
{
    if (name.empty())
        name = CUuid().GetId();
    else if (SoundExists(name))
        UnloadSound(name);
    if (m_context == nullptr)
        return false;

    CApplication* application = GetOwner() != nullptr ? GetOwner()->GetApplication() : nullptr;
    IFile* file = application != nullptr ? application->OpenFile(fileName) : nullptr;
    if (file == nullptr)
        return false;
    std::unique_ptr<CSound>& slot = m_sounds[name];
    slot = std::make_unique<CSound>(this);
    if (!slot->Load(file, streaming, seconds, count))
    {
        UnloadSound(name);
        return false;
    }
    sound = slot.get();
    m_keptRecords.erase(name);
    return true;
}

bool CSoundEngine::GetSound(const std::string& name, CSound*& sound) const
{
    const auto found = m_sounds.find(name);
    if (found == m_sounds.end())
        return false;
    sound = found->second.get();
    return true;
}

bool CSoundEngine::SoundExists(const std::string& name) const
{
    return m_sounds.count(name) != 0;
}

bool CSoundEngine::UnloadSound(const std::string& name)
{
    m_keptRecords.erase(name);
    const auto found = m_sounds.find(name);
    if (found == m_sounds.end())
        return false;
    found->second->Stop();
    m_sounds.erase(found);
    return true;
}

bool CSoundEngine::UnloadAll(uint32_t age)
{
    if (age == 0)
    {
        for (auto& entry : m_sounds)
            entry.second->Stop();
        m_sounds.clear();
        m_keptRecords.clear();
        return true;
    }
    // Differences of the wrapping clock: a sound played just before the
    // clock wrapped is as young as it is.
    const uint32_t now = GetNow();
    for (auto entry = m_sounds.begin(); entry != m_sounds.end();)
    {
        const CSound& sound = *entry->second;
        if (!sound.IsPlaying() && now - sound.GetLastPlayTime() >= age)
            entry = m_sounds.erase(entry);
        else
            ++entry;
    }
    return true;
}

bool CSoundEngine::MapSoundExtension(const std::wstring& extension, const std::wstring& loaderExtension)
{
    if (loaderExtension != L".wav" && loaderExtension != L".ogg")
        return false;
    SExtensionMap& map = ExtensionMap();
    std::lock_guard<std::mutex> hold(map.lock);
    map.readers[extension] = loaderExtension;
    return true;
}

std::wstring CSoundEngine::GetLoaderExtension(const std::wstring& extension)
{
    if (extension == L".wav" || extension == L".ogg")
        return extension;
    SExtensionMap& map = ExtensionMap();
    std::lock_guard<std::mutex> hold(map.lock);
    const auto found = map.readers.find(extension);
    return found != map.readers.end() ? found->second : std::wstring();
}

// Buffers ---------------------------------------------------------------------------

bool CSoundEngine::CreateBuffer(ALuint& buffer, bool accessible)
{
    if (m_context == nullptr)
        return false;
    COpenALHold hold(*this);
    hold.ClearError();
    m_al.alGenBuffers(1, &buffer);
    if (!hold.Succeeded())
        return false;
    if (m_eaxRam.EAXSetBufferMode != nullptr)
    {
        const ALenum mode =
            m_al.alGetEnumValue(accessible ? "AL_STORAGE_ACCESSIBLE" : "AL_STORAGE_AUTOMATIC");
        m_eaxRam.EAXSetBufferMode(1, &buffer, mode);
    }
    m_buffers.push_back(buffer);
    return true;
}

bool CSoundEngine::DeleteBuffer(ALuint buffer)
{
    if (buffer == 0 || m_context == nullptr)
        return false;
    COpenALHold hold(*this);
    hold.ClearError();
    m_al.alDeleteBuffers(1, &buffer);
    if (!hold.Succeeded())
        return false;
    m_buffers.erase(std::remove(m_buffers.begin(), m_buffers.end(), buffer), m_buffers.end());
    return true;
}

// Sonic entities ----------------------------------------------------------------------

void CSoundEngine::AddEntity(CSonicEntity* entity)
{
    if (m_device == nullptr || entity == nullptr)
        return;
    CScopedLock lock(GetSection());
    entity->SetSoundEngine(this);
    entity->UpdateSounds();
}

void CSoundEngine::RemoveEntity(CSonicEntity* entity)
{
    CScopedLock lock(GetSection());
    if (entity != nullptr && entity->GetSoundEngine() == this)
        entity->SetSoundEngine(nullptr);
}

void CSoundEngine::ForgetPart(CSoundEngine& engine, CSoundLink& link)
{
    // Only sonic parts wait for a step, and only while linked: one found
    // there is this link's. The part behind the link is never assumed to be
    // a sonic one.
    std::vector<CSonicEntity*>& pending = engine.m_pendingEntities;
    const auto found = std::find_if(pending.begin(), pending.end(),
                                    [&link](const CSonicEntity* entity) { return &entity->m_link == &link; });
    if (found == pending.end())
        return;
    (*found)->m_queued = false;
    pending.erase(found);
}

void CSoundEngine::QueueEntityUpdate(CSonicEntity* entity)
{
    if (entity == nullptr || entity->m_queued || entity->GetSoundEngine() != this)
        return;
    entity->m_queued = true;
    m_pendingEntities.push_back(entity);
}

// Persistence ---------------------------------------------------------------------------

bool CSoundEngine::Write(Misc::Serialization::IArchive& archive)
{
    // The kept records and the loaded sounds, one list in name order; a
    // loaded sound stands for a kept record of its name.
    std::map<std::string, CSoundRecord> records = m_keptRecords;
    for (const auto& entry : m_sounds)
        records[entry.first] = CSoundRecord(entry.first, *entry.second);

    archive.EndLine(0);
    archive.WriteString("SoundTypes{");
    archive.EndLine(+1);
    bool written = true;
    for (const auto& entry : records)
        written = entry.second.Write(archive) && written;
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return written;
}

bool CSoundEngine::Read(Misc::Serialization::IArchive& archive)
{
    if (!archive.IsVersionAtLeast(FileVersion::kEngineRecords))
        return true;
    archive.ExpectToken("SoundTypes{");
    while (archive.TestToken("Sound{", true))
    {
        CSoundRecord record;
        record.Read(archive);
        LoadRecord(record);
    }
    archive.ExpectToken("}");
    return true;
}

bool CSoundEngine::LoadRecord(const CSoundRecord& record)
{
    if (m_context == nullptr)
    {
        m_keptRecords[record.name] = record;
        return true;
    }
    std::string name = record.name;
    CSound* sound = nullptr;
    if (!LoadSound(name, sound, record.fileName, record.streaming, CSound::kDefaultBufferSeconds,
                   CSound::kDefaultBufferCount))
        return false;
    record.ApplyTo(*sound);
    return true;
}

CSoundRecord* CSoundEngine::FindKeptRecord(const std::string& name)
{
    const auto found = m_keptRecords.find(name);
    return found != m_keptRecords.end() ? &found->second : nullptr;
}
