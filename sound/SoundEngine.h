#pragma once

#include "core/app/SubEngine.h"
#include "core/events/Multicast.h"
#include "core/foundation/Vector.h"
#include "core/io/Serializable.h"
#include "core/world/EngineLink.h"
#include "sound/EffectsFunctions.h"
#include "sound/OpenALLibrary.h"
#include "sound/SoundRecord.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <mutex>
#include <string>
#include <vector>

class CSonicEntity;
class CSound;
class CSoundDeviceList;
class CSoundEngine;

// How a sonic part is linked to the sound engine, and the engine's side of
// those links.
using CSoundLink = Misc::World::CEngineLink<CSoundEngine>;
using CSoundParts = Misc::World::CEngineParts<CSoundEngine>;

// The libraries the engine loads by name; tests name missing ones to see
// the engine start without them.
struct SSoundLibraries
{
    // Null: the system's OpenAL under its usual names.
    const wchar_t* openAL = nullptr;
    // Null: the system's libvorbisfile.
    const char* vorbis = nullptr;
};

// The sound sub-engine: one OpenAL device and context, the loaded sounds by
// name, the sonic entities whose sounds follow them, and the listener, which
// follows the graphics engine's active camera.
//
// OpenAL is loaded at run time; every call goes through the engine's table
// (GetAL) and is made under the engine's OpenAL hold (COpenALHold), because
// the context's error state is one for the main thread and every stream
// worker: a call and the read of its error must not interleave with another
// thread's calls.
//
// Without a device (before Init, after Destroy, or when none opens) the
// engine is not running: the loop does not step it, no sound loads and the
// listener settings answer 0.
//
// The sonic parts of entities join it through their links; when the engine
// goes down it lets go of every part first, so that no part keeps anything
// of the engine.
class CSoundEngine : public Simulation::CSubEngine,
                     public Misc::Multicast::CSubscriber<Misc::Multicast::Kind::CameraChange>,
                     public Misc::Serialization::ISerializable
{
public:
    // The feature numbers of IsExtensionSupported.
    enum EFeature : int32_t
    {
        kFeatureEaxRam = 0,
        kFeatureEfx = 1,
        kFeatureCapture = 2,
        kFeatureOffset = 3,
        kFeatureLinearDistance = 4,
        kFeatureExponentDistance = 5,
        kFeatureEax20 = 6,
        kFeatureEax30 = 7,
        kFeatureEax40 = 8,
        kFeatureEax50 = 9,
    };

    // The device name that selects the system's default device, as an
    // empty one does.
    static constexpr const char* kAutoDetectDevice = "AUTO_DETECT_SOUND";
    // The sources the context is asked for. Every loaded sound holds one;
    // OpenAL Soft's default of 256 is too few for a world of sound
    // emitters, and an idle source costs about 1 KiB.
    static constexpr int32_t kContextSources = 4096;

    // Holds the engine's OpenAL lock for a run of calls, so that errors read
    // during the hold belong to the calls made in it.
    class COpenALHold
    {
    public:
        explicit COpenALHold(const CSoundEngine& engine) : al(engine.m_al), m_hold(engine.m_alLock) {}
        COpenALHold(const COpenALHold&) = delete;
        COpenALHold& operator=(const COpenALHold&) = delete;

        // Forgets the errors of earlier calls, made by whichever thread.
        void ClearError() { al.alGetError(); }
        // Whether the calls since ClearError went through.
        bool Succeeded() { return al.alGetError() == AL_NO_ERROR; }

        const SOpenALFunctions& al;

    private:
        std::lock_guard<std::recursive_mutex> m_hold;
    };

    // Follows camera changes. OpenAL is loaded when a device is opened;
    // the devices are listed when first asked for or then, whichever comes
    // first (listing opens every device with a context of its own).
    explicit CSoundEngine(Simulation::CSimulationManager* owner, const SSoundLibraries& libraries = {});
    // Unloads everything and closes the device.
    ~CSoundEngine() override;
    CSoundEngine(const CSoundEngine&) = delete;
    CSoundEngine& operator=(const CSoundEngine&) = delete;

    // Sub-engine.
    bool OnStart() override;
    bool OnStop() override;
    // Moves the queued entities' sounds, then the listener to the active
    // camera (with the auto-managed camera on). Returns true.
    bool Step() override;
    // True while a device and its context are open.
    bool IsRunning() override;

    // The active camera changed: the listener's last position becomes the
    // new camera's, so the switch is no jump in the listener's velocity.
    // False for another graphics engine's camera.
    bool OnEvent(const CEvtEntityPair& event) override;

    // Closes what is open, opens the device by name (empty or
    // kAutoDetectDevice: the default one), loads the Ogg Vorbis decoder and
    // makes a context current; then sets the frame rate. Without a device,
    // a decoder or a context it throws "[CSoundEngine::Init] Failed to
    // create and initialise the sound device." when asked to, else returns
    // false.
    bool Init(const std::string& deviceName, uint32_t frameRate, bool throwOnFailure);
    // Stops stepping, unloads every sound and closes the device; true when a
    // device was open.
    bool Destroy();

    // Devices, as listed when the engine was made. An index past the end
    // names the last device; "" without devices.
    int32_t GetNumberOfDrivers() const;
    std::string GetDriverName(int32_t index) const;
    void GetDriverVersion(int32_t index, int32_t* major, int32_t* minor) const;
    int32_t GetDriverMaxSources(int32_t index) const;
    int32_t GetDefaultDriver() const;
    // The open device's name; "" without one.
    std::string GetCurrentDriverName() const;
    // Whether the listed device has the feature; an unknown feature number
    // throws "[CSoundEngine::IsExtensionSupported] Feature unknown:%i".
    bool IsExtensionSupported(int32_t deviceIndex, int32_t feature) const;

    // The listener and the world. A negative volume is taken as 0.
    float GetGlobalVolume() const;
    void SetGlobalVolume(float volume);
    // An OpenAL distance model (AL_INVERSE_DISTANCE_CLAMPED, ...), passed on.
    void SetDistanceModel(int32_t model);
    int32_t GetDistanceModel() const;
    float GetSpeedOfSound() const;
    void SetSpeedOfSound(float speed);
    // 0 (no Doppler shift) after Init.
    float GetDopplerFactor() const;
    void SetDopplerFactor(float factor);
    // Whether the listener follows the active camera; returns the flag.
    bool EnableAutoManagedCamera(bool enable);
    bool IsAutoManagedCameraEnabled() const { return m_autoManagedCamera; }
    void SetListenerPosition(const CVector& position, const CVector& lookAt, const CVector& up,
                             const CVector& velocity);

    // Loads the file (found through the application's file system) as a
    // sound under the name, replacing a sound of that name; an empty name
    // becomes a new UUID, written back. seconds and count size a stream's
    // buffers (0 for 0.25 seconds and 3 buffers). False, with no sound of
    // that name, when the file is not found or does not load.
    bool LoadSound(std::string& name, CSound*& sound, const std::wstring& fileName, bool streaming,
                   float seconds, uint32_t count);
    bool GetSound(const std::string& name, CSound*& sound) const;
    bool SoundExists(const std::string& name) const;
    // Stops and unloads the sound; false when none has that name.
    bool UnloadSound(const std::string& name);
    // Age 0: unloads every sound. Otherwise the sounds that are not playing
    // and whose last play began at least age milliseconds ago (never played:
    // at time 0). Returns true.
    bool UnloadAll(uint32_t age);
    const std::map<std::string, std::unique_ptr<CSound>>& GetSounds() const { return m_sounds; }

    // Maps a file extension (with its dot) to the reader of ".wav" or ".ogg",
    // for every engine; false for any other reader. Exact and case-sensitive.
    static bool MapSoundExtension(const std::wstring& extension, const std::wstring& loaderExtension);
    // The reader for the extension: itself when it is ".wav" or ".ogg",
    // else what it is mapped to, else "".
    static std::wstring GetLoaderExtension(const std::wstring& extension);

    // A new OpenAL buffer, kept in the engine's list; storage accessible to
    // the program (streams) or automatic (whole sounds) where EAX-RAM is.
    bool CreateBuffer(ALuint& buffer, bool accessible);
    bool DeleteBuffer(ALuint buffer);

    // Sonic entities. Adding one (with a device open) attaches it and moves
    // its sounds at once; removing detaches it. A queued entity's sounds
    // move at the next step.
    void AddEntity(CSonicEntity* entity);
    void RemoveEntity(CSonicEntity* entity);
    void QueueEntityUpdate(CSonicEntity* entity);
    // The sonic parts linked to the engine.
    CSoundParts& GetParts() { return m_parts; }

    // The "SoundTypes{" block: one record per sound, in name order.
    bool Write(Misc::Serialization::IArchive& archive) override;
    // Loads the records' sounds when running; records read without a device
    // are kept and written back, so that no save loses them.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOSOUNDENGINE"; }
    // Loads a read record's sound and applies its settings, or keeps the
    // record while there is no device. False when the sound does not load.
    bool LoadRecord(const CSoundRecord& record);
    // Records kept while no device was open, by name.
    const std::map<std::string, CSoundRecord>& GetKeptRecords() const { return m_keptRecords; }
    // The kept record of that name, or null.
    CSoundRecord* FindKeptRecord(const std::string& name);

    // OpenAL as the engine loaded it; call it under a COpenALHold.
    const SOpenALFunctions& GetAL() const { return m_al; }
    const SEffectsFunctions& GetEffectsFunctions() const { return m_effects; }
    const SEaxRamFunctions& GetEaxRamFunctions() const { return m_eaxRam; }
    // The application clock in milliseconds.
    uint32_t GetNow() const { return GetApplicationTime(); }
    const CVector& GetLastListenerPosition() const { return m_lastListenerPosition; }

private:
    // The graphics engine's active camera moves the listener.
    void FollowCamera();
    // Closes the device and its context, whichever exist.
    void CloseDevice();
    // The device list, made on first use.
    const CSoundDeviceList& Devices() const;
    // A part leaves: it waits for no step any more.
    static void ForgetPart(CSoundEngine& engine, CSoundLink& link);

    SOpenALFunctions m_al;
    mutable std::recursive_mutex m_alLock;
    std::string m_vorbisLibrary;
    // The OpenAL library the device list loads (null: the system's).
    std::optional<std::wstring> m_openALLibrary;
    mutable std::unique_ptr<CSoundDeviceList> m_devices;
    ALCdevice* m_device = nullptr;
    ALCcontext* m_context = nullptr;
    SEffectsFunctions m_effects;
    SEaxRamFunctions m_eaxRam;
    std::vector<ALuint> m_buffers;
    std::map<std::string, std::unique_ptr<CSound>> m_sounds;
    std::map<std::string, CSoundRecord> m_keptRecords;
    // Each queued at most once (its queued mark), in the order queued.
    std::vector<CSonicEntity*> m_pendingEntities;
    bool m_autoManagedCamera = true;
    CVector m_lastListenerPosition;
    CSoundParts m_parts{*this, &CSoundEngine::ForgetPart};
};
