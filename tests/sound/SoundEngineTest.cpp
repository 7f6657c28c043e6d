// The sound sub-engine: its device, the features it reports, the listener
// and world settings, and the sounds it keeps by name.
#include "core/app/FakeClock.h"
#include "support/ErrorOf.h"
#include "sound/VorbisLibrary.h"

#include "FakeOpenALControl.h"
#include "SoundTestEngine.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SoundEngineTest, OpensTheDefaultDeviceWithItsFeaturesAndClosesIt)
{
    CSoundTestEngine test;
    CSoundEngine& engine = test.engine;
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(engine.GetCurrentDriverName(), "");
    // Nothing to set or ask without a device.
    engine.SetGlobalVolume(0.5f);
    EXPECT_EQ(engine.GetGlobalVolume(), 0.0f);
    EXPECT_EQ(engine.GetDopplerFactor(), 0.0f);

    for (const char* name : {"", CSoundEngine::kAutoDetectDevice})
    {
        SCOPED_TRACE(name);
        ASSERT_TRUE(engine.Init(name, 50, false));
        EXPECT_TRUE(engine.IsRunning());
        EXPECT_EQ(engine.GetPeriod(), 20u);
        EXPECT_EQ(engine.GetCurrentDriverName(), engine.GetDriverName(engine.GetDefaultDriver()));
        EXPECT_EQ(engine.GetDopplerFactor(), 0.0f);
    }

    // The effects extension's entry points, all of them; no EAX-RAM here.
    int found = 0;
#define HALVANE_COUNT(name, type) found += engine.GetEffectsFunctions().name != nullptr ? 1 : 0;
    HALVANE_EFX_ENTRY_POINTS(HALVANE_COUNT)
#undef HALVANE_COUNT
    EXPECT_EQ(found, 33);
    EXPECT_EQ(engine.GetEaxRamFunctions().EAXSetBufferMode, nullptr);

    // Features of the listed devices, by number.
    const int32_t device = engine.GetDefaultDriver();
    EXPECT_TRUE(engine.IsExtensionSupported(device, CSoundEngine::kFeatureEfx));
    EXPECT_TRUE(engine.IsExtensionSupported(device, CSoundEngine::kFeatureOffset));
    EXPECT_FALSE(engine.IsExtensionSupported(device, CSoundEngine::kFeatureEaxRam));
    EXPECT_FALSE(engine.IsExtensionSupported(engine.GetNumberOfDrivers(), CSoundEngine::kFeatureEfx));
    for (int32_t feature : {10, -1, INT32_MAX})
        EXPECT_EQ(ErrorOf([&] { engine.IsExtensionSupported(device, feature); }),
                  "[CSoundEngine::IsExtensionSupported] Feature unknown:" + std::to_string(feature));

    // An index past the end names the last device.
    const std::string last = engine.GetDriverName(engine.GetNumberOfDrivers() - 1);
    EXPECT_NE(last, "");
    EXPECT_EQ(engine.GetDriverName(engine.GetNumberOfDrivers()), last);
    EXPECT_EQ(engine.GetDriverName(INT32_MAX), last);
    EXPECT_EQ(engine.GetDriverMaxSources(device), 256);

    EXPECT_TRUE(engine.Destroy());
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(engine.GetCurrentDriverName(), "");
    EXPECT_EQ(engine.GetPeriod(), 0u);
    EXPECT_FALSE(engine.Destroy());
}

TEST(SoundEngineTest, InitFailsWithoutADeviceADecoderOrAContext)
{
    const std::string message = "[CSoundEngine::Init] Failed to create and initialise the sound device.";
    {
        CSoundTestEngine test;
        EXPECT_FALSE(test.engine.Init("No such device", 60, false));
        EXPECT_EQ(ErrorOf([&] { test.engine.Init("No such device", 60, true); }), message);
        EXPECT_FALSE(test.engine.IsRunning());
        // The rate is taken all the same; the loop skips an engine that is
        // not running.
        EXPECT_EQ(test.engine.GetPeriod(), 16u);
    }
    {
        testing::internal::CaptureStderr();
        CSoundTestEngine test({L"libhalvane-no-such-openal.so.1", nullptr});
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(test.engine.GetNumberOfDrivers(), 0);
        EXPECT_EQ(test.engine.GetDriverName(0), "");
        EXPECT_EQ(ErrorOf([&] { test.engine.Init("", 60, true); }), message);
        std::string name;
        CSound* sound = nullptr;
        EXPECT_FALSE(
            test.engine.LoadSound(name, sound, test.File("a.wav", MonoWave(22050, 100)), false, 0, 0));
        test.engine.SetListenerPosition(CVector(), CVector(), CVector(), CVector());
    }
    {
        // A device exists, but Ogg Vorbis files could not be played.
        FreeVorbisLibrary();
        CSoundTestEngine test({nullptr, "libhalvane-no-such-vorbisfile.so.3"});
        testing::internal::CaptureStderr();
        EXPECT_FALSE(test.engine.Init("", 60, false));
        EXPECT_NE(testing::internal::GetCapturedStderr().find("libhalvane-no-such-vorbisfile.so.3"),
                  std::string::npos);
        EXPECT_FALSE(test.engine.IsRunning());
    }
    {
        // The stand-in library: a named device, and one without contexts.
        CFakeOpenAL fake;
        CSoundTestEngine test({FakeOpenALPath().c_str(), nullptr});
        ASSERT_TRUE(test.engine.Init("Main", 60, false));
        EXPECT_EQ(test.engine.GetCurrentDriverName(), "Main Device");
        EXPECT_TRUE(test.engine.IsExtensionSupported(1, CSoundEngine::kFeatureEax20));
        EXPECT_FALSE(test.engine.Init("NoContext", 60, false));
        EXPECT_EQ(fake.Count("fake_openal_open_devices"), 0);
        EXPECT_EQ(fake.Count("fake_openal_live_contexts"), 0);
        EXPECT_EQ(fake.Count("fake_openal_has_current_context"), 0);
    }
}

// Listing opens every device with a context of its own, so it waits for
// the first question about devices or the first device the engine opens,
// and comes before that device: the engine's context stays current. The
// stand-in's default device, changed after the engine is made, shows when
// the list was made.
TEST(SoundEngineTest, DevicesAreListedWhenFirstAskedForOrWhenADeviceOpens)
{
    CFakeOpenAL fake;
    {
        fake.SetDefault("Main");
        CSoundTestEngine test({FakeOpenALPath().c_str(), nullptr});
        fake.SetDefault("Twin A");
        EXPECT_EQ(test.engine.GetDefaultDriver(), 0); // "Twin", listed now
        fake.SetDefault("Main");
        EXPECT_EQ(test.engine.GetDefaultDriver(), 0); // and only once
        EXPECT_EQ(test.engine.GetNumberOfDrivers(), 2);
    }
    {
        fake.SetDefault("Main");
        CSoundTestEngine test({FakeOpenALPath().c_str(), nullptr});
        EXPECT_EQ(fake.Count("fake_openal_open_devices"), 0);
        ASSERT_TRUE(test.engine.Init("Main", 60, false));
        fake.SetDefault("Twin A");
        EXPECT_EQ(test.engine.GetDefaultDriver(), 1); // "Main Device", listed at the opening
        EXPECT_EQ(fake.Count("fake_openal_has_current_context"), 1);
        EXPECT_EQ(fake.Count("fake_openal_open_devices"), 1);
        EXPECT_EQ(test.engine.GetCurrentDriverName(), "Main Device");
    }
    fake.SetDefault("Main");
}

TEST(SoundEngineTest, ListenerAndWorldSettings)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    CSoundEngine& engine = test.engine;

    engine.SetGlobalVolume(0.5f);
    EXPECT_FLOAT_EQ(engine.GetGlobalVolume(), 0.5f);
    engine.SetGlobalVolume(-1.0f);
    EXPECT_EQ(engine.GetGlobalVolume(), 0.0f);
    engine.SetGlobalVolume(NAN); // refused by OpenAL: unchanged
    EXPECT_EQ(engine.GetGlobalVolume(), 0.0f);

    engine.SetDistanceModel(AL_LINEAR_DISTANCE);
    EXPECT_EQ(engine.GetDistanceModel(), AL_LINEAR_DISTANCE);
    engine.SetDistanceModel(12345); // no model: unchanged
    EXPECT_EQ(engine.GetDistanceModel(), AL_LINEAR_DISTANCE);
    engine.SetSpeedOfSound(100.0f);
    EXPECT_FLOAT_EQ(engine.GetSpeedOfSound(), 100.0f);
    engine.SetDopplerFactor(2.0f);
    EXPECT_FLOAT_EQ(engine.GetDopplerFactor(), 2.0f);

    // OpenAL has the listener with z negated; read back, it is where it was.
    engine.SetListenerPosition(CVector(1, 2, 3), CVector(0, 0, 1), CVector(0, 1, 0), CVector(4, 5, 6));
    const SListener listener = ListenerOf(engine);
    EXPECT_TRUE(SameVector(listener.position, CVector(1, 2, 3)));
    EXPECT_TRUE(SameVector(listener.velocity, CVector(4, 5, 6)));
    EXPECT_TRUE(SameVector(listener.at, CVector(0, 0, 1)));
    EXPECT_TRUE(SameVector(listener.up, CVector(0, 1, 0)));
    EXPECT_TRUE(engine.EnableAutoManagedCamera(true));
    EXPECT_FALSE(engine.EnableAutoManagedCamera(false));
    EXPECT_FALSE(engine.IsAutoManagedCameraEnabled());
}

TEST(SoundEngineTest, LoadsSoundsByNameAndReplacesThem)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    CSoundEngine& engine = test.engine;

    // An empty name becomes a new UUID, written back.
    std::string name;
    CSound* sound = nullptr;
    ASSERT_TRUE(engine.LoadSound(name, sound, test.File("a.wav", MonoWave(22050, 400)), false, 0, 0));
    EXPECT_EQ(name.size(), 36u);
    CSound* found = nullptr;
    ASSERT_TRUE(engine.GetSound(name, found));
    EXPECT_EQ(found, sound);
    EXPECT_EQ(sound->GetFilename(), test.folder.Wide("a.wav"));

    // The same name again: the old sound goes, its source with it.
    CSound* first = test.Load("shot", "a.wav", MonoWave(22050, 400));
    ASSERT_NE(first, nullptr);
    const ALuint firstSource = first->GetSource();
    first->SetVolume(0.25f);
    CSound* second = test.Load("shot", "b.wav", MonoWave(11025, 200));
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(engine.GetSound("shot", found));
    EXPECT_EQ(found, second);
    EXPECT_FLOAT_EQ(second->GetVolume(), 1.0f);
    {
        CSoundEngine::COpenALHold hold(engine);
        EXPECT_FALSE(hold.al.alIsSource(firstSource) && firstSource != second->GetSource());
    }
    EXPECT_EQ(engine.GetSounds().size(), 2u);

    // A file that is missing or does not load leaves no sound of the name,
    // not even the one it would have replaced.
    std::string missing = "shot";
    EXPECT_FALSE(engine.LoadSound(missing, sound, test.folder.Wide("none.wav"), false, 0, 0));
    EXPECT_FALSE(engine.SoundExists("shot"));
    EXPECT_EQ(test.Load("bad", "bad.wav", "RIFF...."), nullptr);
    EXPECT_EQ(test.Load("text", "notes.txt", MonoWave(22050, 400)), nullptr);
    EXPECT_FALSE(engine.SoundExists("bad"));
    EXPECT_FALSE(engine.SoundExists("text"));

    EXPECT_TRUE(engine.UnloadSound(name));
    EXPECT_FALSE(engine.UnloadSound(name));
    EXPECT_FALSE(engine.GetSound(name, found));
}

TEST(SoundEngineTest, ExtensionsMapToTheTwoReaders)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    EXPECT_FALSE(CSoundEngine::MapSoundExtension(L".snd", L".mp3"));
    EXPECT_FALSE(CSoundEngine::MapSoundExtension(L".snd", L".WAV"));
    EXPECT_EQ(CSoundEngine::GetLoaderExtension(L".snd"), L"");
    EXPECT_EQ(test.Load("a", "a.snd", MonoWave(22050, 400)), nullptr);

    EXPECT_TRUE(CSoundEngine::MapSoundExtension(L".snd", L".wav"));
    EXPECT_NE(test.Load("a", "a.snd", MonoWave(22050, 400)), nullptr);
    EXPECT_EQ(test.Load("b", "b.SND", MonoWave(22050, 400)), nullptr);
    // A later mapping replaces the earlier one.
    EXPECT_TRUE(CSoundEngine::MapSoundExtension(L".snd", L".ogg"));
    EXPECT_EQ(test.Load("a", "a.snd", MonoWave(22050, 400)), nullptr);
    EXPECT_NE(test.Load("a", "a.snd", StereoOgg(44100, 0.1)), nullptr);
}

TEST(SoundEngineTest, UnloadAllByAgeKeepsPlayingAndRecentSounds)
{
    CFakeClock clock(1000);
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    CSoundEngine& engine = test.engine;
    const std::string wave = MonoWave(22050, 44100); // one second
    const auto load = [&](const char* name) { return test.Load(name, std::string(name) + ".wav", wave); };

    CSound* old = load("old");
    CSound* recent = load("recent");
    CSound* playing = load("playing");
    load("never");
    ASSERT_TRUE(old->Play(0, 0));
    old->Stop();
    clock.Set(5500);
    ASSERT_TRUE(recent->Play(0, 0));
    recent->Stop();
    playing->SetLooping(true);
    ASSERT_TRUE(playing->Play(0, 0));
    EXPECT_EQ(old->GetLastPlayTime(), 1000u);
    EXPECT_EQ(recent->GetLastPlayTime(), 5500u);

    // Right after start-up nothing is old enough, not even what never played.
    clock.Set(5999);
    EXPECT_TRUE(engine.UnloadAll(6000));
    EXPECT_EQ(engine.GetSounds().size(), 4u);

    clock.Set(6000);
    EXPECT_TRUE(engine.UnloadAll(5000));
    EXPECT_FALSE(engine.SoundExists("old"));
    EXPECT_FALSE(engine.SoundExists("never"));
    EXPECT_TRUE(engine.SoundExists("recent"));
    EXPECT_TRUE(engine.SoundExists("playing"));

    // A play just before the clock wrapped is young after it.
    clock.Set(0xFFFFFFFFull - 99);
    CSound* late = load("late");
    ASSERT_TRUE(late->Play(0, 0));
    late->Stop();
    clock.Set(0x100000000ull + 100);
    EXPECT_TRUE(engine.UnloadAll(5000));
    EXPECT_TRUE(engine.SoundExists("late"));
    EXPECT_FALSE(engine.SoundExists("recent"));

    EXPECT_TRUE(engine.UnloadAll(0));
    EXPECT_TRUE(engine.GetSounds().empty());
}

TEST(SoundEngineTest, EnginesShareTheDecoderUntilTheLastCloses)
{
    CSoundTestEngine first;
    ASSERT_TRUE(first.Open());
    ASSERT_NE(first.Load("music", "music.ogg", StereoOgg(44100, 0.5), true), nullptr);
    {
        CSoundTestEngine second;
        ASSERT_TRUE(second.Open());
        EXPECT_TRUE(second.engine.Destroy());
    }
    // The first engine's stream still has its decoder to let go of.
    EXPECT_TRUE(IsVorbisLibraryLoaded());
    EXPECT_TRUE(first.engine.UnloadSound("music"));
    EXPECT_TRUE(first.engine.Destroy());
    EXPECT_FALSE(IsVorbisLibraryLoaded());
}
