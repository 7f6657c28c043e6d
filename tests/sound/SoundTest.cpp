// Sounds: how files load (whole or streamed, buffer sizes), the playback
// states, streaming across refills, and the source properties.
#include "core/foundation/Math3D.h"
#include "support/ErrorOf.h"

#include "SoundTestEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

namespace
{

// A sound file of some channels and rate.
std::string Ogg(int channels, long rate, double seconds)
{
    return EncodeOgg(channels, rate, static_cast<long>(rate * seconds), ChannelTones(rate));
}

} // namespace

TEST(SoundTest, FilesLoadWholeOrStreamedWithBuffersSizedByTheirFormat)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    struct SCase
    {
        const char* what;
        std::string file;
        std::string bytes;
        bool streaming;
        float seconds;
        uint32_t count;
        bool streamed;
        uint32_t bufferSize; // of a stream
        uint32_t buffers;
    };
    const std::string stereo = Ogg(2, 44100, 1.0);
    const SCase cases[] = {
        {"stereo Ogg", "a.ogg", stereo, true, 0, 0, true, 44100, 3},
        {"an Ogg streams whatever the flag", "a.ogg", stereo, false, 0, 0, true, 44100, 3},
        {"mono Ogg", "a.ogg", Ogg(1, 22050, 1.0), true, 0, 0, true, 11024, 3},
        {"four channels", "a.ogg", Ogg(4, 22050, 1.0), true, 0, 0, true, 44096, 3},
        {"six channels", "a.ogg", Ogg(6, 22050, 1.0), true, 0, 0, true, 66144, 3},
        {"WAVE that fits one buffer", "a.wav", MonoWave(22050, 8000), true, 0, 0, false, 0, 1},
        {"WAVE stream", "a.wav", MonoWave(22050, 40000), true, 0, 0, true, 11024, 3},
        {"WAVE whole", "a.wav", MonoWave(22050, 40000), false, 0, 0, false, 0, 1},
        {"chosen length and count", "a.ogg", stereo, true, 0.1f, 4, true, 17640, 4},
        // Lengths and counts out of bounds are held to them.
        {"negative length", "a.ogg", stereo, true, -1.0f, 0, true, 44100, 3},
        {"length not a number", "a.ogg", stereo, true, NAN, 0, true, 44100, 3},
        {"very short buffers", "a.ogg", stereo, true, 0.0001f, 0, true, 3528, 3},
        {"very long buffers", "a.ogg", stereo, true, 100.0f, 0, true, 882000, 1},
        {"one buffer", "a.ogg", stereo, true, 0, 1, true, 44100, 2},
        {"a thousand buffers", "a.ogg", stereo, true, 0.02f, 1000, true, 3528, 16},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CSound* sound = test.Load("s", c.file, c.bytes, c.streaming, c.seconds, c.count);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->IsStreaming(), c.streamed);
        EXPECT_EQ(test.SourceInt(*sound, AL_BUFFERS_QUEUED), ALint(c.buffers));
        if (c.streamed)
        {
            EXPECT_EQ(sound->GetBufferSize(), c.bufferSize);
        }
        EXPECT_FALSE(sound->IsPlaying());
        EXPECT_FALSE(sound->IsStopped());
    }

    // Three channels have no OpenAL format in Vorbis's order: refused,
    // rather than loaded to play nothing. So is a WAVE OpenAL cannot take.
    EXPECT_EQ(test.Load("s", "a.ogg", Ogg(3, 22050, 0.5)), nullptr);
    EXPECT_EQ(
        test.Load("s", "a.wav", Riff({Chunk("fmt ", PcmHeader(3, 22050, 16)), Chunk("data", "abcdef")})),
        nullptr);
}

namespace
{

enum class EState
{
    Initial,
    Playing,
    Paused,
    Stopped,
};

EState StateOf(const CSound& sound)
{
    if (sound.IsPlaying())
        return EState::Playing;
    if (sound.IsPaused())
        return EState::Paused;
    if (sound.IsStopped())
        return EState::Stopped;
    return EState::Initial;
}

// Runs the space-separated operations (play, pause, stop, rewind).
bool RunOperations(CSound& sound, const std::string& operations)
{
    std::istringstream words(operations);
    std::string word;
    bool all = true;
    while (words >> word)
    {
        if (word == "play")
            all = sound.Play(0, 0) && all;
        else if (word == "pause")
            all = sound.Pause() && all;
        else if (word == "stop")
            all = sound.Stop() && all;
        else if (word == "rewind")
            all = sound.Rewind() && all;
    }
    return all;
}

} // namespace

TEST(SoundTest, PlayPauseStopAndRewindOnWholeAndStreamedSounds)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    struct SCase
    {
        std::string operations;
        EState state;
    };
    // The sounds loop, so that none ends while the table runs.
    const std::string ogg = StereoOgg(44100, 1.0);
    const std::string wave = MonoWave(22050, 44100);
    const SCase cases[] = {
        {"", EState::Initial},
        {"play", EState::Playing},
        {"play pause", EState::Paused},
        {"play pause play", EState::Playing},
        {"play stop", EState::Stopped},
        {"play stop play", EState::Playing},
        {"play play", EState::Playing},
        {"play rewind", EState::Initial},
        {"play stop rewind play", EState::Playing},
        {"pause play", EState::Playing},
        {"stop play", EState::Playing},
    };
    for (bool streamed : {false, true})
    {
        for (const SCase& c : cases)
        {
            SCOPED_TRACE((streamed ? "stream: " : "whole: ") + c.operations);
            CSound* sound = streamed ? test.Load("s", "a.ogg", ogg) : test.Load("s", "a.wav", wave);
            ASSERT_NE(sound, nullptr);
            ASSERT_TRUE(sound->SetLooping(true));
            EXPECT_TRUE(RunOperations(*sound, c.operations));
            EXPECT_EQ(StateOf(*sound), c.state);
            if (streamed && c.state != EState::Stopped)
            {
                // Whatever went before, a stream that may play has its
                // whole queue: playing after a stop is heard.
                EXPECT_EQ(test.SourceInt(*sound, AL_BUFFERS_QUEUED), 3);
            }
            // Only a playing stream keeps its worker.
            EXPECT_EQ(sound->IsRunning(), streamed && c.state == EState::Playing);
        }
    }
}

TEST(SoundTest, StreamsPlayAcrossRefillsEndByThemselvesOrLoop)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    // Half a second in buffers of a tenth: two refills at least.
    CSound* once = test.Load("once", "once.ogg", StereoOgg(44100, 0.5), true, 0.1f, 3);
    CSound* looping = test.Load("loop", "loop.wav", MonoWave(22050, 8820), true, 0.05f, 3);
    ASSERT_NE(once, nullptr);
    ASSERT_NE(looping, nullptr);
    ASSERT_TRUE(looping->IsStreaming());
    EXPECT_TRUE(looping->SetLooping(true));
    EXPECT_EQ(test.SourceInt(*looping, AL_LOOPING), AL_FALSE); // a stream loops by reading again
    ASSERT_TRUE(once->Play(0, 0));
    ASSERT_TRUE(looping->Play(5, 0));
    EXPECT_EQ(once->GetPeriod(), 20u);
    EXPECT_EQ(looping->GetPeriod(), 5u);

    EXPECT_TRUE(CSoundTestEngine::WaitFor([&] { return once->IsStopped(); }));
    EXPECT_TRUE(CSoundTestEngine::WaitFor([&] { return !once->IsRunning(); }));
    // The looping stream (a fifth of a second) has wrapped more than once.
    EXPECT_TRUE(looping->IsPlaying());
    EXPECT_TRUE(looping->IsRunning());

    // A source that ran dry before its refill (the system was busy) plays on.
    {
        CSoundEngine::COpenALHold hold(test.engine);
        hold.al.alSourceStop(looping->GetSource());
    }
    EXPECT_TRUE(CSoundTestEngine::WaitFor([&] { return looping->IsPlaying(); }));

    // A script's negative period arrives as a huge one.
    ASSERT_TRUE(looping->Play(0xFFFFFFFBu, 0));
    EXPECT_EQ(looping->GetPeriod(), 1000u);
    EXPECT_TRUE(looping->Stop());
    EXPECT_FALSE(looping->IsRunning());
    // Unloading a playing stream stops its worker first.
    ASSERT_TRUE(looping->Play(1, 0));
    EXPECT_TRUE(test.engine.UnloadSound("loop"));
}

TEST(SoundTest, SourcePropertiesPassZNegated)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    CSound* sound = test.Load("s", "a.wav", MonoWave(22050, 400));
    ASSERT_NE(sound, nullptr);
    CSoundEngine::COpenALHold hold(test.engine);
    const auto source = [&](ALenum property)
    {
        float values[3] = {0, 0, 0};
        hold.al.alGetSourcefv(sound->GetSource(), property, values);
        return VectorAt(values);
    };

    sound->SetPosition(CVector(1, 2, 3));
    EXPECT_TRUE(SameVector(source(AL_POSITION), CVector(1, 2, -3)));
    EXPECT_TRUE(SameVector(sound->GetPosition(), CVector(1, 2, 3)));
    sound->SetVelocity(CVector(-4, 5, -6));
    EXPECT_TRUE(SameVector(source(AL_VELOCITY), CVector(-4, 5, 6)));
    EXPECT_TRUE(SameVector(sound->GetVelocity(), CVector(-4, 5, -6)));

    EXPECT_TRUE(SameVector(sound->GetDirection(), CVector(0, 0, 1)));
    sound->SetDirection(CVector(0, 1, 1));
    EXPECT_TRUE(SameVector(source(AL_DIRECTION), CVector(0, 1, -1)));
    // Turned by a rotation, the stored direction staying as it was.
    const CVector rotation(0, 90, 0);
    const CVector turned = GetOrientation(rotation, CVector(0, 1, 1));
    sound->SetDirectionByRotation(rotation);
    EXPECT_TRUE(SameVector(source(AL_DIRECTION), CVector(turned.x, turned.y, -turned.z)));
    EXPECT_TRUE(SameVector(sound->GetDirection(), CVector(0, 1, 1)));

    // Setters that report, and getters.
    EXPECT_TRUE(sound->SetVolume(0.5f));
    EXPECT_FALSE(sound->SetVolume(-1.0f));
    EXPECT_FLOAT_EQ(sound->GetVolume(), 0.5f);
    EXPECT_TRUE(sound->SetPitch(2.0f));
    EXPECT_FALSE(sound->SetPitch(NAN));
    EXPECT_FLOAT_EQ(sound->GetPitch(), 2.0f);
    EXPECT_TRUE(sound->SetLooping(true));
    EXPECT_EQ(test.SourceInt(*sound, AL_LOOPING), AL_TRUE);
    EXPECT_TRUE(sound->IsLooping());
    EXPECT_TRUE(sound->SetPlayPosition(0.001f));
    sound->SetMaxDistance(100.0f);
    sound->SetReferenceDistance(2.0f);
    sound->SetRolloffFactor(0.5f);
    sound->SetDirectionConeAngles(30.0f, 60.0f);
    sound->SetDirectionConeVolumeOuter(0.25f);
    EXPECT_FLOAT_EQ(sound->GetMaxDistance(), 100.0f);
    EXPECT_FLOAT_EQ(sound->GetReferenceDistance(), 2.0f);
    EXPECT_FLOAT_EQ(sound->GetRolloffFactor(), 0.5f);
    float inner = 0, outer = 0;
    sound->GetDirectionConeAngles(inner, outer);
    EXPECT_FLOAT_EQ(inner, 30.0f);
    EXPECT_FLOAT_EQ(outer, 60.0f);
    EXPECT_FLOAT_EQ(sound->GetDirectionConeVolumeOuter(), 0.25f);

    sound->Release();
    EXPECT_FALSE(sound->HasBuffers());
    EXPECT_EQ(sound->GetSource(), 0u);
    EXPECT_EQ(ErrorOf([&] { sound->GetFilename(); }), "[CSound::GetFilename] Invalid file handle");
    EXPECT_EQ(sound->GetVolume(), 0.0f); // a failing query answers 0
    EXPECT_FALSE(sound->Play(0, 0));
}

TEST(SoundTest, HostileFilesFailToLoadOrPlayWithoutHarm)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    // Headers that lie: no rate, a rate OpenAL cannot take, no bytes per
    // second (a stream would be one of empty buffers; whole, the samples are
    // all there is to it), a block alignment that is no frame.
    struct SCase
    {
        const char* what;
        std::string header;
        bool loadsWhole;
        bool streams;
    };
    const SCase cases[] = {
        {"no rate", PcmHeader(1, 0, 16), false, false},
        {"huge rate", PcmHeader(1, 0xFFFFFFFFu, 16), false, false},
        {"no bytes per second",
         LittleEndian16(1) + LittleEndian16(1) + LittleEndian32(22050) + LittleEndian32(0) +
             LittleEndian16(2) + LittleEndian16(16),
         true, false},
        {"odd alignment", PcmHeader(2, 22050, 16, 1, 3), false, false},
    };
    const std::string samples = CountingSamples(40000);
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string file = Riff({Chunk("fmt ", c.header), Chunk("data", samples)});
        EXPECT_EQ(test.Load("s", "a.wav", file, false) != nullptr, c.loadsWhole);
        CSound* stream = test.Load("s", "a.wav", file, true);
        EXPECT_EQ(stream != nullptr && stream->IsStreaming(), c.streams);
    }

    // A short seeded run of damaged files, streamed and whole: those that
    // load play and stop.
    const std::string files[] = {MonoWave(22050, 40000), StereoOgg(22050, 0.5)};
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round)
    {
        std::string damaged = files[round % 2];
        for (int change = 0; change < 4; ++change)
        {
            // Mostly the headers, where the sizes and formats are.
            const size_t at =
                random() % std::min<size_t>(damaged.size(), round % 3 == 0 ? damaged.size() : 200);
            damaged[at] = static_cast<char>(random());
        }
        CSound* sound = test.Load("s", round % 2 == 0 ? "a.wav" : "a.ogg", damaged, round % 4 < 2, 0.05f, 3);
        if (sound != nullptr && sound->Play(1, 0))
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            sound->Stop();
        }
    }
    test.engine.UnloadAll(0);
}
