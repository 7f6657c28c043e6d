// 256 playing sounds, each attached to an entity that moves every frame: the
// sound engine's step moving them (position, direction by the entity's
// rotation, velocity), beside bare OpenAL calls setting the same three
// source parameters to the same values.
#include "core/app/SimulationManager.h"
#include "core/foundation/Math3D.h"
#include "sound/Sound.h"
#include "sound/SoundEngine.h"
#include "tests/sound/SonicTestEntity.h"
#include "tests/sound/WaveBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kSources = 256;

struct SFixture
{
    SFixture() : engine(&manager)
    {
        if (!engine.Init("", 60, false))
            std::abort();
        folder = std::filesystem::temp_directory_path() / ("halvane-bench-sonic-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / "hum.wav";
        std::ofstream(file.string(), std::ios::binary)
            << Riff({Chunk("fmt ", PcmHeader(1, 22050, 16)), Chunk("data", CountingSamples(44100))});
        for (int i = 0; i < kSources; ++i)
        {
            std::string name = "hum" + std::to_string(i);
            CSound* sound = nullptr;
            if (!engine.LoadSound(name, sound, file.wstring(), false, 0, 0))
                std::abort();
            sound->SetLooping(true);
            sound->Play(0, 0);
            sources.push_back(sound->GetSource());
            entities.push_back(std::make_unique<CSonicTestEntity>());
            CSonicTestEntity& entity = *entities.back();
            entity.SetRotation(CVector(0, float(i), 0));
            engine.AddEntity(&entity);
            entity.AttachSound(name);
            directions.push_back(GetOrientation(entity.GetRotation(), CVector(0, 0, 1)));
        }
    }
    ~SFixture()
    {
        entities.clear();
        engine.Destroy();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Where entity i is in frame t.
    static CVector Position(int i, int64_t t) { return CVector(float(i), float(t % 100), float(i + t % 7)); }
    static CVector Velocity(int64_t t) { return CVector(0, float(t % 3), 1); }

    Simulation::CSimulationManager manager;
    CSoundEngine engine;
    std::filesystem::path folder;
    std::vector<ALuint> sources;
    std::vector<CVector> directions;
    std::vector<std::unique_ptr<CSonicTestEntity>> entities;
};

SFixture& Fixture()
{
    static SFixture fixture;
    return fixture;
}

void BM_EngineStepMovesAttachedSounds(benchmark::State& state)
{
    SFixture& fixture = Fixture();
    int64_t frame = 0;
    for (auto _ : state)
    {
        ++frame;
        for (int i = 0; i < kSources; ++i)
            fixture.entities[size_t(i)]->MoveBy(SFixture::Position(i, frame), SFixture::Velocity(frame));
        fixture.engine.Step();
    }
    state.SetItemsProcessed(state.iterations() * kSources);
}
BENCHMARK(BM_EngineStepMovesAttachedSounds);

void BM_BareOpenALSetsTheSameParameters(benchmark::State& state)
{
    SFixture& fixture = Fixture();
    const SOpenALFunctions& al = fixture.engine.GetAL();
    int64_t frame = 0;
    for (auto _ : state)
    {
        ++frame;
        for (int i = 0; i < kSources; ++i)
        {
            const ALuint source = fixture.sources[size_t(i)];
            const CVector position = SFixture::Position(i, frame);
            const CVector& direction = fixture.directions[size_t(i)];
            const CVector velocity = SFixture::Velocity(frame);
            al.alSource3f(source, AL_POSITION, position.x, position.y, -position.z);
            al.alSource3f(source, AL_DIRECTION, direction.x, direction.y, -direction.z);
            al.alSource3f(source, AL_VELOCITY, velocity.x, velocity.y, -velocity.z);
        }
    }
    state.SetItemsProcessed(state.iterations() * kSources);
}
BENCHMARK(BM_BareOpenALSetsTheSameParameters);

} // namespace
