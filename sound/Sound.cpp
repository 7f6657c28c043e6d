#include "sound/Sound.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Math3D.h"
#include "core/foundation/PathUtilities.h"
#include "core/io/File.h"
#include "sound/OggVorbisDecoder.h"
#include "sound/SoundEngine.h"
#include "sound/WaveFile.h"

#include <algorithm>

namespace
{

// Ends of the refill period in milliseconds: 0 would spin, and a script's
// negative period arrives as a huge one that never refills.
constexpr uint32_t kMinPeriod = 1;
constexpr uint32_t kMaxPeriod = 1000;

} // namespace

CSound::CSound(CSoundEngine* engine) : m_engine(engine) {}

CSound::~CSound()
{
    Release();
}

// Loading ------------------------------------------------------------------

bool CSound::Load(IFile* file, bool streaming, float seconds, uint32_t count)
{
    // The worker reads the file: it stops before anything changes.
    Halt();
    if (file != m_file)
    {
        if (m_file != nullptr)
            m_file->drop();
        m_file = file;
    }
    if (m_file == nullptr)
        return false;
    m_file->seek(0);
    bool sourced = false;
    {
        CSoundEngine::COpenALHold hold(*m_engine);
        hold.ClearError();
        if (m_source == 0 || !hold.al.alIsSource(m_source))
            hold.al.alGenSources(1, &m_source);
        sourced = hold.Succeeded();
    }
    if (!sourced)
    {
        // Every source of the context is held by another loaded sound.
        m_source = 0;
        Misc::CLogger::WriteSystem(L"[CSound::Load] OpenAL has no sound source left for %s",
                                   GetFilename().c_str());
        return false;
    }

    const std::wstring loader =
        CSoundEngine::GetLoaderExtension(ExtractFilenameComponents(GetFilename(), false, false, false, true));
    if (loader == L".wav")
        return streaming ? OpenWaveStream(seconds, count) : LoadWaveWhole();
    if (loader == L".ogg")
        return OpenOggStream(seconds, count);
    return false;
}

bool CSound::LoadWaveWhole()
{
    if (m_wave == nullptr)
        m_wave = std::make_unique<CWaveFile>();
    if (!m_wave->Open(m_file))
        return false;
    if (m_buffers.empty())
    {
        ALuint buffer = 0;
        if (!m_engine->CreateBuffer(buffer, false))
        {
            m_wave->Close();
            return false;
        }
        m_buffers.push_back(buffer);
    }

    const ALenum format = m_wave->GetALFormat(m_engine->GetAL().alGetEnumValue);
    // OpenAL takes whole frames only: a last frame the file cuts short is
    // left out.
    const uint32_t size = m_wave->GetDataSize() - m_wave->GetDataSize() % m_wave->GetBlockAlign();
    const uint32_t rate = m_wave->GetSamplesPerSec();
    bool loaded = false;
    if (m_wave->GetData() != nullptr && size != 0 && rate != 0 && rate <= uint32_t(INT32_MAX) && format != 0)
    {
        CSoundEngine::COpenALHold hold(*m_engine);
        hold.ClearError();
        hold.al.alBufferData(m_buffers.front(), format, m_wave->GetData(), static_cast<ALsizei>(size),
                             static_cast<ALsizei>(rate));
        hold.al.alSourcei(m_source, AL_BUFFER, static_cast<ALint>(m_buffers.front()));
        hold.al.alSourcei(m_source, AL_LOOPING, m_looping ? AL_TRUE : AL_FALSE);
        loaded = hold.Succeeded();
    }
    m_wave->Close();
    if (loaded)
        m_streaming = false;
    return loaded;
}

namespace
{

// A stream's buffer length and count as asked for, held to what streams
// well: 0 (or less, or not a number) selects the default, values outside the
// bounds the nearest bound.
float StreamSeconds(float seconds)
{
    if (!(seconds > 0.0f))
        return CSound::kDefaultBufferSeconds;
    return std::clamp(seconds, 0.02f, 5.0f);
}

uint32_t StreamCount(uint32_t count)
{
    if (count == 0)
        return CSound::kDefaultBufferCount;
    return std::clamp<uint32_t>(count, 2, 16);
}

// Bytes of one buffer: the product truncated, then rounded down to whole
// frames, and never more than a hostile rate in a file could make of it.
uint32_t StreamBufferSize(double bytesPerSecond, float seconds, uint32_t frameSize)
{
    constexpr float kMaxBufferBytes = 16.0f * 1024 * 1024;
    if (frameSize == 0)
        return 0;
    // In single precision, as the lengths are given: 0.02 seconds of 44.1 kHz
    // stereo are 3528 bytes, not one byte short of them.
    const float product = static_cast<float>(bytesPerSecond) * seconds;
    const uint32_t bytes = static_cast<uint32_t>(std::min(product, kMaxBufferBytes));
    return bytes - bytes % frameSize;
}

} // namespace

bool CSound::OpenWaveStream(float seconds, uint32_t count)
{
    seconds = StreamSeconds(seconds);
    count = StreamCount(count);
    if (m_wave == nullptr)
        m_wave = std::make_unique<CWaveFile>();
    m_wave->Close();
    // Only the header is read: the samples come from the file as they play.
    if (!m_wave->Parse(m_file))
        return false;
    m_format = m_wave->GetALFormat(m_engine->GetAL().alGetEnumValue);
    const uint32_t rate = m_wave->GetSamplesPerSec();
    if (m_format == 0 || rate == 0 || rate > uint32_t(INT32_MAX))
        return false;
    m_rate = static_cast<ALsizei>(rate);

    m_bufferSize = StreamBufferSize(m_wave->GetAvgBytesPerSec(), seconds, m_wave->GetBlockAlign());
    if (m_wave->GetDataSize() <= m_bufferSize)
        return LoadWaveWhole();
    if (m_bufferSize == 0 || !CreateStreamBuffers(count))
        return false;
    m_wave->SeekData(0);
    if (!QueueStreamStart())
        return false;
    m_seconds = seconds;
    m_streaming = true;
    m_count = count;
    return true;
}

bool CSound::OpenOggStream(float seconds, uint32_t count)
{
    seconds = StreamSeconds(seconds);
    count = StreamCount(count);
    const SVorbisFunctions& vorbis = VorbisFunctions();
    if (vorbis.ov_open_callbacks == nullptr)
        return false;
    if (m_ogg == nullptr)
        m_ogg = std::make_unique<OggVorbis_File>();
    else if (m_oggOpen)
        vorbis.ov_clear(m_ogg.get());
    m_oggOpen = false;
    if (vorbis.ov_open_callbacks(m_file, m_ogg.get(), nullptr, 0, OggFileCallbacks()) != 0)
        return false;
    m_oggOpen = true;

    const vorbis_info* info = vorbis.ov_info(m_ogg.get(), -1);
    if (info == nullptr || info->rate <= 0 || info->rate > INT32_MAX)
        return false;
    const SOpenALFunctions& al = m_engine->GetAL();
    m_oggChannels = info->channels;
    m_rate = static_cast<ALsizei>(info->rate);
    switch (m_oggChannels)
    {
    case 1:
        m_format = AL_FORMAT_MONO16;
        break;
    case 2:
        m_format = AL_FORMAT_STEREO16;
        break;
    case 4:
        m_format = al.alGetEnumValue("AL_FORMAT_QUAD16");
        break;
    case 6:
        m_format = al.alGetEnumValue("AL_FORMAT_51CHN16");
        break;
    default:
        // No OpenAL format takes these channels in Vorbis's order: refused,
        // rather than loaded to play nothing.
        m_format = 0;
        break;
    }
    if (m_format == 0)
        return false;
    const uint32_t frameSize = 2u * static_cast<uint32_t>(m_oggChannels);
    m_bufferSize = StreamBufferSize(double(m_rate) * frameSize, seconds, frameSize);
    if (m_bufferSize == 0 || !CreateStreamBuffers(count))
        return false;
    vorbis.ov_pcm_seek(m_ogg.get(), 0);
    if (!QueueStreamStart())
        return false;
    m_seconds = seconds;
    m_streaming = true;
    m_count = count;
    return true;
}

bool CSound::CreateStreamBuffers(uint32_t count)
{
    while (m_buffers.size() < count)
    {
        ALuint buffer = 0;
        if (!m_engine->CreateBuffer(buffer, true))
            break;
        m_buffers.push_back(buffer);
    }
    m_decodeBuffer.assign(m_bufferSize, 0);
    return !m_buffers.empty();
}

bool CSound::QueueStreamStart()
{
    for (ALuint buffer : m_buffers)
    {
        const uint32_t bytes = ReadStream();
        if (bytes != 0 && !QueueBuffer(buffer, bytes))
            return false;
    }
    m_queueFresh = true;
    return true;
}

uint32_t CSound::ReadStream()
{
    if (m_decodeBuffer.empty())
        return 0;
    if (m_wave != nullptr && m_wave->IsOpen())
    {
        const uint32_t read = m_wave->ReadData(m_decodeBuffer.data(), m_bufferSize);
        return read - read % m_wave->GetBlockAlign();
    }
    if (m_oggOpen)
    {
        const int decoded = DecodeOggVorbis(m_ogg.get(), m_decodeBuffer.data(),
                                            static_cast<int>(m_bufferSize), m_oggChannels);
        return decoded > 0 ? static_cast<uint32_t>(decoded) : 0;
    }
    return 0;
}

bool CSound::RewindStream()
{
    if (m_wave != nullptr && m_wave->IsOpen())
        return m_wave->SeekData(0);
    if (m_oggOpen)
        return VorbisFunctions().ov_pcm_seek(m_ogg.get(), 0) == 0;
    return false;
}

bool CSound::QueueBuffer(ALuint buffer, uint32_t bytes)
{
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.ClearError();
    hold.al.alBufferData(buffer, m_format, m_decodeBuffer.data(), static_cast<ALsizei>(bytes), m_rate);
    hold.al.alSourceQueueBuffers(m_source, 1, &buffer);
    return hold.Succeeded();
}

bool CSound::Reload()
{
    return Load(m_file, true, m_seconds, m_count);
}

void CSound::CloseReaders()
{
    m_wave.reset();
    if (m_oggOpen)
        VorbisFunctions().ov_clear(m_ogg.get());
    m_oggOpen = false;
    m_ogg.reset();
    m_decodeBuffer.clear();
    m_decodeBuffer.shrink_to_fit();
}

void CSound::Halt()
{
    CThread::Stop();
    if (m_source == 0)
        return;
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.al.alSourceStop(m_source);
    hold.al.alSourcei(m_source, AL_BUFFER, 0);
    // Back to the state of a new source: a sound loaded again waits to play.
    hold.al.alSourceRewind(m_source);
    m_queueFresh = false;
}

void CSound::Release()
{
    Halt();
    for (ALuint buffer : m_buffers)
        m_engine->DeleteBuffer(buffer);
    m_buffers.clear();
    if (m_source != 0)
    {
        CSoundEngine::COpenALHold hold(*m_engine);
        if (hold.al.alIsSource(m_source))
            hold.al.alDeleteSources(1, &m_source);
        m_source = 0;
    }
    CloseReaders();
    if (m_file != nullptr)
        m_file->drop();
    m_file = nullptr;
}

std::wstring CSound::GetFilename() const
{
    if (m_file == nullptr)
        throw Misc::Error::CKVOError(L"[CSound::GetFilename] Invalid file handle");
    return m_file->GetFileNameW();
}

// Playback -----------------------------------------------------------------

bool CSound::Play(uint32_t period, int32_t priority)
{
    if (m_streaming)
    {
        // A stream that is not paused has let go of its queue (Stop), played
        // it out or is playing it: only a fresh queue plays from the start.
        if (!m_queueFresh && !IsPaused() && !Reload())
            return false;
    }
    else if (IsPlaying())
    {
        Stop();
    }
    {
        CSoundEngine::COpenALHold hold(*m_engine);
        hold.ClearError();
        hold.al.alSourcePlay(m_source);
        if (!hold.Succeeded())
            return false;
    }
    m_queueFresh = false;
    // The worker starts once the source plays, so that it never mistakes the
    // source for one that ran dry.
    if (m_streaming)
        Start(0, period == 0 ? kDefaultPeriod : std::clamp(period, kMinPeriod, kMaxPeriod), priority,
              nullptr);
    m_lastPlayTime = m_engine->GetNow();
    return true;
}

bool CSound::Pause()
{
    CThread::Stop();
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.ClearError();
    hold.al.alSourcePause(m_source);
    return hold.Succeeded();
}

bool CSound::Stop()
{
    CThread::Stop();
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.ClearError();
    hold.al.alSourceStop(m_source);
    if (m_streaming)
    {
        hold.al.alSourcei(m_source, AL_BUFFER, 0);
        m_queueFresh = false;
    }
    return hold.Succeeded();
}

bool CSound::Rewind()
{
    if (m_streaming)
    {
        Stop();
        return Reload();
    }
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.ClearError();
    hold.al.alSourceRewind(m_source);
    return hold.Succeeded();
}

ALint CSound::GetState() const
{
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.ClearError();
    ALint state = 0;
    hold.al.alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    return hold.Succeeded() ? state : 0;
}

bool CSound::IsPlaying() const
{
    return GetState() == AL_PLAYING;
}

bool CSound::IsPaused() const
{
    return GetState() == AL_PAUSED;
}

bool CSound::IsStopped() const
{
    return GetState() == AL_STOPPED;
}

bool CSound::OnTimer()
{
    ALint processed = 0;
    {
        CSoundEngine::COpenALHold hold(*m_engine);
        hold.ClearError();
        hold.al.alGetSourcei(m_source, AL_BUFFERS_PROCESSED, &processed);
        if (!hold.Succeeded())
            return false;
    }
    for (; processed > 0; --processed)
    {
        ALuint buffer = 0;
        {
            CSoundEngine::COpenALHold hold(*m_engine);
            hold.ClearError();
            hold.al.alSourceUnqueueBuffers(m_source, 1, &buffer);
            if (!hold.Succeeded())
                return false;
        }
        // Decoding runs without the hold: the main thread's calls go on.
        uint32_t bytes = ReadStream();
        if (bytes == 0)
        {
            if (!m_looping)
                return false; // the source plays out what is queued
            if (RewindStream())
                bytes = ReadStream();
        }
        // A buffer still empty after the wrap stays out of the queue.
        if (bytes != 0 && !QueueBuffer(buffer, bytes))
            return false;
    }

    // A source that played its queue out before the refill came (the
    // system was busy) has stopped: it plays on from the refilled queue.
    CSoundEngine::COpenALHold hold(*m_engine);
    ALint state = 0;
    ALint queued = 0;
    hold.al.alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    hold.al.alGetSourcei(m_source, AL_BUFFERS_QUEUED, &queued);
    if (state == AL_STOPPED && queued > 0)
        hold.al.alSourcePlay(m_source);
    return true;
}

// Source properties ----------------------------------------------------------

float CSound::GetFloat(ALenum property) const
{
    CSoundEngine::COpenALHold hold(*m_engine);
    float value = 0.0f;
    hold.al.alGetSourcef(m_source, property, &value);
    return value;
}

bool CSound::SetFloat(ALenum property, float value)
{
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.ClearError();
    hold.al.alSourcef(m_source, property, value);
    return hold.Succeeded();
}

CVector CSound::GetVector(ALenum property) const
{
    CSoundEngine::COpenALHold hold(*m_engine);
    float values[3] = {0.0f, 0.0f, 0.0f};
    hold.al.alGetSourcefv(m_source, property, values);
    // 0 - z: a z of 0 comes back as 0, not -0.
    return CVector(values[0], values[1], 0.0f - values[2]);
}

void CSound::SetVector(ALenum property, const CVector& vector)
{
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.al.alSource3f(m_source, property, vector.x, vector.y, -vector.z);
}

float CSound::GetVolume() const
{
    return GetFloat(AL_GAIN);
}

bool CSound::SetVolume(float volume)
{
    return SetFloat(AL_GAIN, volume);
}

float CSound::GetPitch() const
{
    return GetFloat(AL_PITCH);
}

bool CSound::SetPitch(float pitch)
{
    return SetFloat(AL_PITCH, pitch);
}

bool CSound::SetLooping(bool looping)
{
    m_looping = looping;
    if (m_streaming)
        return true;
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.ClearError();
    hold.al.alSourcei(m_source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    return hold.Succeeded();
}

float CSound::GetPlayPosition() const
{
    return GetFloat(AL_SEC_OFFSET);
}

bool CSound::SetPlayPosition(float seconds)
{
    return SetFloat(AL_SEC_OFFSET, seconds);
}

float CSound::GetMaxDistance() const
{
    return GetFloat(AL_MAX_DISTANCE);
}

void CSound::SetMaxDistance(float distance)
{
    SetFloat(AL_MAX_DISTANCE, distance);
}

float CSound::GetReferenceDistance() const
{
    return GetFloat(AL_REFERENCE_DISTANCE);
}

void CSound::SetReferenceDistance(float distance)
{
    SetFloat(AL_REFERENCE_DISTANCE, distance);
}

float CSound::GetRolloffFactor() const
{
    return GetFloat(AL_ROLLOFF_FACTOR);
}

void CSound::SetRolloffFactor(float factor)
{
    SetFloat(AL_ROLLOFF_FACTOR, factor);
}

void CSound::SetDirectionConeAngles(float inner, float outer)
{
    SetFloat(AL_CONE_INNER_ANGLE, inner);
    SetFloat(AL_CONE_OUTER_ANGLE, outer);
}

void CSound::GetDirectionConeAngles(float& inner, float& outer) const
{
    inner = GetFloat(AL_CONE_INNER_ANGLE);
    outer = GetFloat(AL_CONE_OUTER_ANGLE);
}

void CSound::SetDirectionConeVolumeOuter(float volume)
{
    SetFloat(AL_CONE_OUTER_GAIN, volume);
}

float CSound::GetDirectionConeVolumeOuter() const
{
    return GetFloat(AL_CONE_OUTER_GAIN);
}

void CSound::SetPosition(const CVector& position)
{
    SetVector(AL_POSITION, position);
}

CVector CSound::GetPosition() const
{
    return GetVector(AL_POSITION);
}

void CSound::SetVelocity(const CVector& velocity)
{
    SetVector(AL_VELOCITY, velocity);
}

CVector CSound::GetVelocity() const
{
    return GetVector(AL_VELOCITY);
}

void CSound::SetDirection(const CVector& direction)
{
    m_direction = direction;
    m_turnedBy = CVector();
    m_turned = direction;
    SetVector(AL_DIRECTION, direction);
}

const CVector& CSound::TurnedDirection(const CVector& rotation)
{
    if (rotation.x != m_turnedBy.x || rotation.y != m_turnedBy.y || rotation.z != m_turnedBy.z)
    {
        m_turned = GetOrientation(rotation, m_direction);
        m_turnedBy = rotation;
    }
    return m_turned;
}

void CSound::SetDirectionByRotation(const CVector& rotation)
{
    SetVector(AL_DIRECTION, TurnedDirection(rotation));
}

void CSound::SetPlacement(const CVector& position, const CVector& rotation, const CVector& velocity)
{
    const CVector& direction = TurnedDirection(rotation);
    CSoundEngine::COpenALHold hold(*m_engine);
    hold.al.alSource3f(m_source, AL_POSITION, position.x, position.y, -position.z);
    hold.al.alSource3f(m_source, AL_DIRECTION, direction.x, direction.y, -direction.z);
    hold.al.alSource3f(m_source, AL_VELOCITY, velocity.x, velocity.y, -velocity.z);
}
