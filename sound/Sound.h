#pragma once

// One loaded sound: an OpenAL source, the buffers that feed it and the file
// it came from. WAVE files load whole or stream; Ogg Vorbis files always
// stream. A streamed sound keeps a short queue of buffers on its source and
// refills the ones played on its own worker thread.
//
// Threads: the worker touches only this sound's queue, reader, decoder and
// decode buffer. Whatever changes the queue on the main thread (Play, Pause,
// Stop, Rewind, Load, Release) stops the worker first and waits for it;
// property setters run beside it. Every OpenAL call is made under the
// engine's OpenAL hold, so each call's error is read by the thread that made
// it.
//
// Coordinates: positions, velocities and directions pass to OpenAL as
// (x, y, -z) and come back with z negated again.

#include "core/foundation/Thread.h"
#include "core/foundation/Vector.h"

#include <AL/al.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSoundEngine;
class CWaveFile;
class IFile;
struct OggVorbis_File;

class CSound : public CThread
{
public:
    // A stream's buffers hold this many seconds by default, and a stream
    // keeps this many of them queued.
    static constexpr float kDefaultBufferSeconds = 0.25f;
    static constexpr uint32_t kDefaultBufferCount = 3;
    // The worker's default refill period in milliseconds.
    static constexpr uint32_t kDefaultPeriod = 20;

    explicit CSound(CSoundEngine* engine);
    // Releases the sound.
    ~CSound() override;
    // A sound owns a worker thread and OpenAL objects: never copied.
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    const char* GetTypeName() const { return "KVOSOUND"; }

    // Loads the sound from the file, which the sound keeps (and drops when
    // released, or when another file is loaded). Ogg Vorbis streams whatever
    // the flag says; a WAVE that fits into one buffer loads whole. seconds
    // and count size a stream's buffers (0 for the defaults; both are held
    // to sane bounds). False when the extension has no reader, the file is
    // damaged or OpenAL refuses; the file is kept all the same.
    bool Load(IFile* file, bool streaming, float seconds, uint32_t count);
    // Stops the sound and gives back its buffers, source, readers and file.
    void Release();
    // The open file's name; throws "[CSound::GetFilename] Invalid file
    // handle" without one.
    std::wstring GetFilename() const;

    // Plays from the start, or on from where a pause left it. A stream that
    // was stopped, has ended or is playing is loaded again first, so that it
    // is heard from its start. The period (milliseconds, 0 for 20) paces a
    // stream's refills; the priority is accepted and not used.
    bool Play(uint32_t period, int32_t priority);
    bool Pause();
    // Stops; a stream also lets go of its queue.
    bool Stop();
    // Back to the start: a whole sound rewinds its source, a stream is
    // stopped and loaded again.
    bool Rewind();
    bool IsPlaying() const;
    bool IsPaused() const;
    bool IsStopped() const;
    bool HasBuffers() const { return !m_buffers.empty(); }
    bool IsStreaming() const { return m_streaming; }
    // When the last successful Play started (application milliseconds; 0
    // before the first).
    uint32_t GetLastPlayTime() const { return m_lastPlayTime; }
    float GetBufferSeconds() const { return m_seconds; }
    uint32_t GetBufferCount() const { return m_count; }
    // The bytes each of a stream's buffers holds.
    uint32_t GetBufferSize() const { return m_bufferSize; }
    ALuint GetSource() const { return m_source; }

    // Source properties. The setters of gain, pitch, play position and
    // looping report OpenAL's refusal; the others report nothing. A getter
    // whose query fails answers 0.
    float GetVolume() const;
    bool SetVolume(float volume);
    float GetPitch() const;
    bool SetPitch(float pitch);
    // The stored flag; only a whole sound hands it to its source (a stream
    // loops by reading its file again).
    bool IsLooping() const { return m_looping; }
    bool SetLooping(bool looping);
    // Seconds into the sound.
    float GetPlayPosition() const;
    bool SetPlayPosition(float seconds);
    float GetMaxDistance() const;
    void SetMaxDistance(float distance);
    float GetReferenceDistance() const;
    void SetReferenceDistance(float distance);
    float GetRolloffFactor() const;
    void SetRolloffFactor(float factor);
    void SetDirectionConeAngles(float inner, float outer);
    void GetDirectionConeAngles(float& inner, float& outer) const;
    void SetDirectionConeVolumeOuter(float volume);
    float GetDirectionConeVolumeOuter() const;
    void SetPosition(const CVector& position);
    CVector GetPosition() const;
    void SetVelocity(const CVector& velocity);
    CVector GetVelocity() const;
    // Stores the direction and sets it on the source.
    void SetDirection(const CVector& direction);
    const CVector& GetDirection() const { return m_direction; }
    // Sets the stored direction turned by the rotation (degrees); the stored
    // direction stays as it is.
    void SetDirectionByRotation(const CVector& rotation);
    // Position, direction by the rotation and velocity at once: what an
    // entity's move sets, in one hold.
    void SetPlacement(const CVector& position, const CVector& rotation, const CVector& velocity);

protected:
    // The worker's refill: refills and queues again the buffers the source
    // has played. False when a stream that does not loop has no more data,
    // or OpenAL refuses the queue.
    bool OnTimer() override;

private:
    // The source's state, or 0 when the query fails.
    ALint GetState() const;
    float GetFloat(ALenum property) const;
    bool SetFloat(ALenum property, float value);
    CVector GetVector(ALenum property) const;
    void SetVector(ALenum property, const CVector& vector);
    // The stored direction turned by the rotation.
    const CVector& TurnedDirection(const CVector& rotation);

    // Stops the worker and the source and empties the source's queue.
    void Halt();
    // Loads the stream again from its start with its own settings.
    bool Reload();
    bool LoadWaveWhole();
    bool OpenWaveStream(float seconds, uint32_t count);
    bool OpenOggStream(float seconds, uint32_t count);
    // Adds buffers until the sound has count of them; false when OpenAL
    // gives none at all.
    bool CreateStreamBuffers(uint32_t count);
    // Fills the stream's buffers in list order and queues them.
    bool QueueStreamStart();
    // Up to one buffer of the stream's next data into the decode buffer;
    // the bytes read, 0 at the end.
    uint32_t ReadStream();
    // Moves the stream back to its start.
    bool RewindStream();
    // Fills the buffer with the decode buffer's first bytes and queues it;
    // false when OpenAL refuses.
    bool QueueBuffer(ALuint buffer, uint32_t bytes);
    void CloseReaders();

    CSoundEngine* m_engine;
    IFile* m_file = nullptr;
    std::vector<ALuint> m_buffers;
    ALuint m_source = 0;
    bool m_streaming = false;
    float m_seconds = kDefaultBufferSeconds;
    uint32_t m_count = kDefaultBufferCount;
    // Read by the worker while the main thread may set it.
    std::atomic<bool> m_looping{false};
    std::unique_ptr<CWaveFile> m_wave;
    std::unique_ptr<OggVorbis_File> m_ogg;
    bool m_oggOpen = false;
    int m_oggChannels = 0;
    ALenum m_format = 0;
    ALsizei m_rate = 0;
    std::vector<char> m_decodeBuffer;
    uint32_t m_bufferSize = 0;
    // The queue as a load left it, not played yet: Play can start it as it
    // is. Any other stream that is not paused is loaded again by Play.
    bool m_queueFresh = false;
    CVector m_direction{0.0f, 0.0f, 1.0f};
    // The last rotation the direction was turned by, and the result: an
    // entity that moves without turning needs no new one.
    CVector m_turnedBy;
    CVector m_turned{0.0f, 0.0f, 1.0f};
    uint32_t m_lastPlayTime = 0;
};
