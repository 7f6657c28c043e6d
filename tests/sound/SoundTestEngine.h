#pragma once

// A sound engine on OpenAL Soft's null backend inside an engine object of
// the core alone (its application object opens the sound files), with the
// sound files the tests write into their temporary folder.

#include "core/app/SimulationManager.h"
#include "sound/Sound.h"
#include "sound/SoundEngine.h"

#include "OggTestEncoder.h"
#include "WaveBuilder.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

// A mono 16-bit WAVE of the given bytes of samples.
inline std::string MonoWave(uint32_t rate, size_t bytes)
{
    return Riff({Chunk("fmt ", PcmHeader(1, rate, 16)), Chunk("data", CountingSamples(bytes))});
}

// A stereo tone of the given length as Ogg Vorbis.
inline std::string StereoOgg(long rate, double seconds)
{
    return EncodeOgg(2, rate, static_cast<long>(rate * seconds), ChannelTones(rate));
}

// The three components compared as numbers (-0 equals 0).
inline testing::AssertionResult SameVector(const CVector& actual, const CVector& expected)
{
    if (actual.x == expected.x && actual.y == expected.y && actual.z == expected.z)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << actual.ToString() << " is not " << expected.ToString();
}

inline CVector VectorAt(const float* values)
{
    return CVector(values[0], values[1], values[2]);
}

// The listener as OpenAL has it, z negated back to the engine's axes.
struct SListener
{
    CVector position;
    CVector velocity;
    CVector at;
    CVector up;
};

inline SListener ListenerOf(const CSoundEngine& engine)
{
    CSoundEngine::COpenALHold hold(engine);
    float position[3];
    float velocity[3];
    float orientation[6];
    hold.al.alGetListenerfv(AL_POSITION, position);
    hold.al.alGetListenerfv(AL_VELOCITY, velocity);
    hold.al.alGetListenerfv(AL_ORIENTATION, orientation);
    const auto engineAxes = [](const float* v) { return CVector(v[0], v[1], 0.0f - v[2]); };
    return SListener{engineAxes(position), engineAxes(velocity), engineAxes(orientation),
                     engineAxes(orientation + 3)};
}

class CSoundTestEngine
{
public:
    explicit CSoundTestEngine(const SSoundLibraries& libraries = {}) : engine(&manager, libraries) {}

    // Opens the default device at 100 steps a second.
    bool Open() { return engine.Init("", 100, false); }

    // Writes the file into the test folder; its full path.
    std::wstring File(const std::string& name, const std::string& bytes)
    {
        folder.Write(name, bytes);
        return folder.Wide(name);
    }

    // Loads the bytes, written under the file name, as the sound of that
    // name; null when the load fails.
    CSound* Load(const std::string& name, const std::string& fileName, const std::string& bytes,
                 bool streaming = false, float seconds = 0.0f, uint32_t count = 0)
    {
        std::string soundName = name;
        CSound* sound = nullptr;
        return engine.LoadSound(soundName, sound, File(fileName, bytes), streaming, seconds, count) ? sound
                                                                                                    : nullptr;
    }

    // An integer property of the sound's source.
    ALint SourceInt(const CSound& sound, ALenum property)
    {
        CSoundEngine::COpenALHold hold(engine);
        ALint value = 0;
        hold.al.alGetSourcei(sound.GetSource(), property, &value);
        return value;
    }

    // Waits (at most the timeout) until the condition holds; whether it does.
    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!condition())
        {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    CTestFolder folder;
    Simulation::CSimulationManager manager;
    CSoundEngine engine;
};
