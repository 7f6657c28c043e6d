// The sound engine's "SoundTypes{" block: every sound with its settings,
// written and read back in text and binary archives, kept when read
// without a device, and read from files that were damaged.
#include "graphics/scene/EntityArchive.h"

#include "SoundTestEngine.h"

#include <gtest/gtest.h>

#include <random>

using EntityArchive::EForm;

namespace
{

// Two sounds with settings that differ from the defaults.
void LoadSounds(CSoundTestEngine& test)
{
    CSound* boom = test.Load("boom", "boom.wav", MonoWave(22050, 4000));
    CSound* music = test.Load("music", "music.ogg", StereoOgg(44100, 1.0), true, 0.5f, 5);
    ASSERT_NE(boom, nullptr);
    ASSERT_NE(music, nullptr);
    boom->SetVolume(0.5f);
    boom->SetPitch(1.5f);
    boom->SetRolloffFactor(2.0f);
    boom->SetReferenceDistance(3.0f);
    boom->SetMaxDistance(40.0f);
    boom->SetPosition(CVector(1, 2, 3));
    boom->SetDirection(CVector(0, 1, 0));
    boom->SetDirectionConeAngles(45.0f, 90.0f);
    boom->SetDirectionConeVolumeOuter(0.25f);
    boom->SetVelocity(CVector(-1, 0, 4));
    music->SetLooping(true);
    music->SetVolume(0.75f);
}

} // namespace

TEST(SoundPersistenceTest, SoundsAndTheirSettingsRoundTrip)
{
    for (EForm form : {EForm::Text, EForm::Binary})
    {
        SCOPED_TRACE(EntityArchive::FormName(form));
        CSoundTestEngine saving;
        ASSERT_TRUE(saving.Open());
        LoadSounds(saving);
        const std::string saved = EntityArchive::Save(saving.folder, saving.engine, form);
        if (form == EForm::Text)
        {
            EXPECT_NE(saved.find("SoundTypes{"), std::string::npos);
            EXPECT_NE(saved.find("-DirectionConeAngles 45.000000 90.000000 0.250000"), std::string::npos);
            EXPECT_NE(saved.find("-Position 1.000000 2.000000 3.000000"), std::string::npos);
        }
        saving.engine.Destroy();

        CSoundTestEngine reading;
        ASSERT_TRUE(reading.Open());
        ASSERT_EQ(EntityArchive::Load(saving.folder, reading.engine, saved, form), "");
        ASSERT_EQ(reading.engine.GetSounds().size(), 2u);
        CSound* music = nullptr;
        ASSERT_TRUE(reading.engine.GetSound("music", music));
        // Streams come back with the default buffers, whatever they had.
        EXPECT_TRUE(music->IsStreaming());
        EXPECT_EQ(music->GetBufferSeconds(), 0.25f);
        EXPECT_EQ(music->GetBufferCount(), 3u);
        EXPECT_TRUE(music->IsLooping());
        // Everything else as it was saved.
        EXPECT_EQ(EntityArchive::Save(reading.folder, reading.engine, form), saved);
    }
}

TEST(SoundPersistenceTest, RecordsReadWithoutADeviceAreKeptAndWrittenBack)
{
    CSoundTestEngine saving;
    ASSERT_TRUE(saving.Open());
    LoadSounds(saving);
    const std::string saved = EntityArchive::Save(saving.folder, saving.engine, EForm::Text);

    CSoundTestEngine reading;
    ASSERT_EQ(EntityArchive::Load(saving.folder, reading.engine, saved, EForm::Text), "");
    EXPECT_TRUE(reading.engine.GetSounds().empty());
    ASSERT_EQ(reading.engine.GetKeptRecords().size(), 2u);
    EXPECT_EQ(EntityArchive::Save(reading.folder, reading.engine, EForm::Text), saved);

    // A record goes with its name, and with everything.
    EXPECT_FALSE(reading.engine.UnloadSound("boom"));
    EXPECT_EQ(reading.engine.GetKeptRecords().size(), 1u);
    reading.engine.UnloadAll(0);
    EXPECT_TRUE(reading.engine.GetKeptRecords().empty());

    // Before the block existed nothing was saved: nothing is read.
    CSoundTestEngine older;
    ASSERT_TRUE(older.Open());
    EXPECT_EQ(EntityArchive::Load(saving.folder, older.engine, EntityArchive::WithVersion(saved, 1009),
                                  EForm::Text),
              "");
    EXPECT_TRUE(older.engine.GetSounds().empty());
    EXPECT_TRUE(older.engine.GetKeptRecords().empty());
}

TEST(SoundPersistenceTest, DamagedBlocksFailWithTheArchiveErrorAndNeverCrash)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    LoadSounds(test);
    const std::string saved = EntityArchive::Save(test.folder, test.engine, EForm::Text);
    test.engine.UnloadAll(0);

    // A record cut short, a vector with two numbers, a block without its end.
    const size_t cone = saved.find("-DirectionConeAngles");
    ASSERT_NE(cone, std::string::npos);
    const std::string cases[] = {
        EntityArchive::WithoutKeys(saved, {"-Pitch"}),
        saved.substr(0, saved.find("-Velocity", cone)) + "-Velocity 1 2\r\n\t\t}\r\n\t}\r\n",
        saved.substr(0, saved.rfind('}')),
    };
    for (const std::string& damaged : cases)
        EXPECT_NE(EntityArchive::Load(test.folder, test.engine, damaged, EForm::Text), "");

    // A short seeded run of random damage: errors, never a crash.
    std::mt19937 random(42);
    for (int round = 0; round < 200; ++round)
    {
        std::string damaged = saved;
        for (int change = 0; change < 3; ++change)
        {
            const size_t at = random() % damaged.size();
            switch (random() % 3)
            {
            case 0:
                damaged[at] = static_cast<char>(random());
                break;
            case 1:
                damaged.erase(at, random() % 8);
                break;
            default:
                damaged.insert(at, std::string(1, "{}-0123456789. \r\n\""[random() % 18]));
                break;
            }
        }
        EntityArchive::Load(test.folder, test.engine, damaged, EForm::Text);
    }
    test.engine.UnloadAll(0);
}
