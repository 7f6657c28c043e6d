// The sonic part of an entity: named sounds that follow the entity, the
// part's life beside its engine's, and its "Sounds{" block, including the
// older form that lists the sounds' files.
#include "core/foundation/Math3D.h"
#include "core/app/SimulationManager.h"
#include "graphics/scene/EntityArchive.h"

#include "SonicTestEntity.h"
#include "SoundTestEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using EntityArchive::EForm;

namespace
{

// Where OpenAL has the sound, in the engine's axes.
CVector SourceVector(CSoundTestEngine& test, const CSound& sound, ALenum property)
{
    CSoundEngine::COpenALHold hold(test.engine);
    float values[3] = {0, 0, 0};
    hold.al.alGetSourcefv(sound.GetSource(), property, values);
    return CVector(values[0], values[1], 0.0f - values[2]);
}

} // namespace

TEST(SonicEntityTest, SoundsFollowTheEntityWhileItIsAttached)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    CSound* a = test.Load("a", "a.wav", MonoWave(22050, 400));
    CSound* b = test.Load("b", "b.wav", MonoWave(22050, 400));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    CSonicTestEntity entity;
    entity.SetPosition(CVector(1, 2, 3));
    entity.SetRotation(CVector(0, 90, 0));
    entity.m_velocity = CVector(4, 5, 6);
    const CVector turned = GetOrientation(CVector(0, 90, 0), CVector(0, 0, 1));

    // Detached, the part ignores everything.
    EXPECT_FALSE(entity.AttachSound("a"));
    EXPECT_FALSE(entity.DetachSound("a"));
    entity.SetPosition(CVector(1, 2, 3));
    EXPECT_TRUE(entity.ApplyProperties());
    EXPECT_TRUE(SameVector(a->GetPosition(), CVector()));

    test.engine.AddEntity(&entity);
    EXPECT_EQ(entity.GetSoundEngine(), &test.engine);
    EXPECT_TRUE(entity.AttachSound("a"));
    EXPECT_TRUE(entity.AttachSound("b"));
    EXPECT_TRUE(entity.AttachSound("a"));
    EXPECT_FALSE(entity.AttachSound("missing"));
    EXPECT_EQ(entity.GetNumberOfSounds(), 3u);
    EXPECT_TRUE(SameVector(SourceVector(test, *a, AL_POSITION), CVector(1, 2, 3)));
    EXPECT_TRUE(SameVector(SourceVector(test, *a, AL_DIRECTION), turned));
    EXPECT_TRUE(SameVector(SourceVector(test, *b, AL_VELOCITY), CVector(4, 5, 6)));
    EXPECT_TRUE(entity.DetachSound("a"));
    EXPECT_EQ(entity.GetSoundNames(), (std::vector<std::string>{"b", "a"}));

    // Set through the entity: at once. Moved by a body: at the next step.
    entity.SetPosition(CVector(-1, 0, 7));
    EXPECT_TRUE(SameVector(b->GetPosition(), CVector(-1, 0, 7)));
    entity.MoveBy(CVector(10, 0, 0), CVector(0, 0, 2));
    EXPECT_TRUE(SameVector(b->GetPosition(), CVector(-1, 0, 7)));
    EXPECT_TRUE(test.engine.Step());
    EXPECT_TRUE(SameVector(b->GetPosition(), CVector(10, 0, 0)));
    EXPECT_TRUE(SameVector(a->GetVelocity(), CVector(0, 0, 2)));

    // A sound unloaded behind the part's back is skipped, then dropped.
    EXPECT_TRUE(test.engine.UnloadSound("a"));
    entity.MoveBy(CVector(20, 0, 0), CVector());
    EXPECT_TRUE(test.engine.Step());
    EXPECT_EQ(entity.GetSoundNames(), (std::vector<std::string>{"b"}));

    test.engine.RemoveEntity(&entity);
    EXPECT_EQ(entity.GetSoundEngine(), nullptr);
    entity.SetPosition(CVector(5, 5, 5));
    EXPECT_TRUE(SameVector(b->GetPosition(), CVector(20, 0, 0)));
    EXPECT_FALSE(entity.DetachSound("b"));
    EXPECT_TRUE(entity.DetachAllSounds());
    EXPECT_EQ(entity.GetNumberOfSounds(), 0u);
}

TEST(SonicEntityTest, PartsAndEnginesGoInEitherOrder)
{
    // The part goes first, while queued for the next step.
    auto test = std::make_unique<CSoundTestEngine>();
    ASSERT_TRUE(test->Open());
    ASSERT_NE(test->Load("a", "a.wav", MonoWave(22050, 400)), nullptr);
    auto entity = std::make_unique<CSonicTestEntity>();
    test->engine.AddEntity(entity.get());
    ASSERT_TRUE(entity->AttachSound("a"));
    entity->MoveBy(CVector(1, 0, 0), CVector());
    entity.reset();
    EXPECT_TRUE(test->engine.GetParts().GetCount() == 0);
    EXPECT_TRUE(test->engine.Step());

    // The engine goes first: the part is detached and keeps its names.
    entity = std::make_unique<CSonicTestEntity>();
    test->engine.AddEntity(entity.get());
    ASSERT_TRUE(entity->AttachSound("a"));
    entity->MoveBy(CVector(1, 0, 0), CVector());
    test.reset();
    EXPECT_EQ(entity->GetSoundEngine(), nullptr);
    EXPECT_EQ(entity->GetNumberOfSounds(), 1u);
    entity->MoveBy(CVector(2, 0, 0), CVector());
    EXPECT_TRUE(entity->ApplyProperties());

    // Without a device nothing attaches; a copy is not attached; Clear
    // detaches.
    CSoundTestEngine closed;
    closed.engine.AddEntity(entity.get());
    EXPECT_EQ(entity->GetSoundEngine(), nullptr);
    CSoundTestEngine open;
    ASSERT_TRUE(open.Open());
    open.engine.AddEntity(entity.get());
    const CSonicTestEntity copy(*entity);
    EXPECT_EQ(copy.GetSoundEngine(), nullptr);
    EXPECT_EQ(copy.GetSoundNames(), entity->GetSoundNames());
    entity->Clear();
    EXPECT_EQ(entity->GetSoundEngine(), nullptr);
    EXPECT_EQ(entity->GetNumberOfSounds(), 0u);
    EXPECT_TRUE(open.engine.GetParts().GetCount() == 0);
}

TEST(SonicEntityTest, NamesRoundTripInOrder)
{
    CSoundTestEngine test;
    ASSERT_TRUE(test.Open());
    ASSERT_NE(test.Load("one", "a.wav", MonoWave(22050, 400)), nullptr);
    ASSERT_NE(test.Load("two", "a.wav", MonoWave(22050, 400)), nullptr);
    CSonicTestEntity entity;
    test.engine.AddEntity(&entity);
    for (const char* name : {"two", "one", "two"})
        ASSERT_TRUE(entity.AttachSound(name));
    for (EForm form : {EForm::Text, EForm::Binary})
    {
        SCOPED_TRACE(EntityArchive::FormName(form));
        const std::string saved = EntityArchive::Save(test.folder, entity, form);
        // Names only: reading loads nothing and tests no name.
        CSonicTestEntity read;
        test.engine.AddEntity(&read);
        ASSERT_TRUE(read.AttachSound("one"));
        ASSERT_EQ(EntityArchive::Load(test.folder, read, saved, form), "");
        EXPECT_EQ(read.GetSoundNames(), (std::vector<std::string>{"two", "one", "two"}));
        EXPECT_EQ(EntityArchive::Save(test.folder, read, form), saved);
    }
    CSonicTestEntity empty;
    const std::string saved = EntityArchive::Save(test.folder, empty, EForm::Text);
    ASSERT_EQ(EntityArchive::Load(test.folder, entity, saved, EForm::Text), "");
    EXPECT_EQ(entity.GetNumberOfSounds(), 0u);
}

namespace
{

// An engine object with a sound engine alone, published as the process's
// engine object, for the parts that read the older form.
class CEngineObjectWithSound
{
public:
    CEngineObjectWithSound()
        : m_previous(Simulation::CSimulationManager::GetEngineObject()),
          object([](Simulation::CSimulationManager& manager)
                 { manager.AddSubEngine("sound", manager.Adopt(std::make_unique<CSoundEngine>(&manager))); }),
          sound(*object.GetPart<CSoundEngine>())
    {
        Simulation::CSimulationManager::SetEngineObject(&object);
    }
    ~CEngineObjectWithSound() { Simulation::CSimulationManager::SetEngineObject(m_previous); }

private:
    Simulation::CSimulationManager* m_previous;

public:
    Simulation::CSimulationManager object;
    CSoundEngine& sound;
};

// A part's file at the version with the given "Sounds{" block.
std::string PartFile(const CTestFolder& folder, uint32_t version, const std::string& block)
{
    CSonicTestEntity empty;
    const std::string saved = EntityArchive::Save(folder, empty, EForm::Text);
    return EntityArchive::WithVersion(saved.substr(0, saved.find("Sounds{")) + block, version);
}

// The older block: three entity-wide settings, then the sounds' files.
std::string OlderBlock(const CTestFolder& folder)
{
    return "Sounds{\r\n\t-MinDist 2.0\r\n\t-MaxDist 50.0\r\n\t-Volume 0.5\r\n"
           "\tSound{\r\n\t\t-Id boom\r\n\t\t-File \"" +
           folder / "boom.wav" +
           "\"\r\n\t\t-Stream 0\r\n\t\t-Loop 1\r\n\t}\r\n"
           "\t-Comment \"left by an editor\" 7\r\n"
           "\tSound{\r\n\t\t-Id music\r\n\t\t-File \"" +
           folder / "music.ogg" +
           "\"\r\n\t\t-Stream 1\r\n\t\t-Loop 0\r\n\t}\r\n"
           "\tSound{\r\n\t\t-Id gone\r\n\t\t-File \"" +
           folder / "gone.wav" + "\"\r\n\t\t-Stream 0\r\n\t\t-Loop 0\r\n\t}\r\n}\r\n";
}

} // namespace

TEST(SonicEntityTest, TheOlderFormLoadsItsSoundsThroughTheEngineObject)
{
    CTestFolder folder;
    folder.Write("boom.wav", MonoWave(22050, 4000));
    folder.Write("music.ogg", StereoOgg(44100, 0.5));
    const std::string file = PartFile(folder, 1005, OlderBlock(folder));
    CEngineObjectWithSound engineObject;
    CSoundEngine& sound = engineObject.sound;
    ASSERT_TRUE(sound.Init("", 60, false));

    // A part that is not attached (the world reads into a scratch entity).
    CSonicTestEntity entity;
    ASSERT_EQ(EntityArchive::Load(folder, entity, file, EForm::Text), "");
    // The file that is missing loads no sound and leaves no name.
    EXPECT_EQ(entity.GetSoundNames(), (std::vector<std::string>{"boom", "music"}));
    CSound* boom = nullptr;
    CSound* music = nullptr;
    ASSERT_TRUE(sound.GetSound("boom", boom));
    ASSERT_TRUE(sound.GetSound("music", music));
    EXPECT_FALSE(sound.SoundExists("gone"));
    EXPECT_FLOAT_EQ(boom->GetVolume(), 0.5f);
    EXPECT_FLOAT_EQ(music->GetVolume(), 0.5f);
    EXPECT_TRUE(boom->IsLooping());
    EXPECT_FALSE(boom->IsStreaming());
    EXPECT_TRUE(music->IsStreaming());
    EXPECT_FLOAT_EQ(boom->GetReferenceDistance(), 2.0f);
    EXPECT_FLOAT_EQ(boom->GetMaxDistance(), 50.0f);

    // A sound already loaded is not loaded again; it takes the settings.
    boom->SetVolume(1.0f);
    CSonicTestEntity again;
    ASSERT_EQ(EntityArchive::Load(folder, again, file, EForm::Text), "");
    CSound* same = nullptr;
    ASSERT_TRUE(sound.GetSound("boom", same));
    EXPECT_EQ(same, boom);
    EXPECT_FLOAT_EQ(boom->GetVolume(), 0.5f);

    // Without a device the records are kept for the engine's own block, so a
    // save converts the file to the newer form and loses nothing.
    sound.Destroy();
    CSonicTestEntity kept;
    ASSERT_EQ(EntityArchive::Load(folder, kept, file, EForm::Text), "");
    EXPECT_EQ(kept.GetSoundNames(), (std::vector<std::string>{"boom", "music", "gone"}));
    ASSERT_EQ(sound.GetKeptRecords().size(), 3u);
    EXPECT_EQ(sound.GetKeptRecords().at("music").fileName, folder.Wide("music.ogg"));
    EXPECT_TRUE(sound.GetKeptRecords().at("music").streaming);
    EXPECT_FLOAT_EQ(sound.GetKeptRecords().at("boom").volume, 0.5f);

    // Before 1000 there was no block to read.
    CSonicTestEntity oldest;
    ASSERT_EQ(EntityArchive::Load(folder, oldest, PartFile(folder, 999, ""), EForm::Text), "");
    EXPECT_EQ(oldest.GetNumberOfSounds(), 0u);
}

TEST(SonicEntityTest, DamagedBlocksOfBothFormsNeverCrash)
{
    CTestFolder folder;
    folder.Write("boom.wav", MonoWave(22050, 400));
    CEngineObjectWithSound engineObject;
    ASSERT_TRUE(engineObject.sound.Init("", 60, false));
    CSonicTestEntity named;
    engineObject.sound.AddEntity(&named);
    CSound* boom = nullptr;
    std::string name = "boom";
    ASSERT_TRUE(engineObject.sound.LoadSound(name, boom, folder.Wide("boom.wav"), false, 0, 0));
    ASSERT_TRUE(named.AttachSound("boom"));
    const std::string files[] = {EntityArchive::Save(folder, named, EForm::Text),
                                 PartFile(folder, 1005, OlderBlock(folder))};

    // Cut short: the archive's error, not a hang at the end of the input.
    const std::string older = files[1];
    CSonicTestEntity cut;
    EXPECT_NE(EntityArchive::Load(folder, cut, older.substr(0, older.find("\t-Comment") + 10), EForm::Text),
              "");

    std::mt19937 random(7);
    for (const std::string& file : files)
    {
        for (int round = 0; round < 150; ++round)
        {
            std::string damaged = file;
            for (int change = 0; change < 3; ++change)
            {
                const size_t at = random() % damaged.size();
                if (random() % 2 == 0)
                    damaged.erase(at, random() % 6);
                else
                    damaged.insert(at, std::string(1, "{}-0123456789. \r\n\t\""[random() % 19]));
            }
            CSonicTestEntity entity;
            EntityArchive::Load(folder, entity, damaged, EForm::Text);
        }
    }
}
