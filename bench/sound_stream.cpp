// What a streamed sound's worker costs: its thread's CPU time while it keeps
// a playing stream's queue filled, per second of audio, for a stereo Ogg
// Vorbis file (decoding) and a stereo WAVE file (reading), with the default
// buffers (three of a quarter second) and refill period (20 ms). The audio
// plays in real time on OpenAL's null backend, so each run lasts as long as
// its file.
#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "sound/Sound.h"
#include "sound/SoundEngine.h"
#include "tests/sound/OggTestEncoder.h"
#include "tests/sound/WaveBuilder.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace
{

constexpr long kRate = 44100;
constexpr double kSeconds = 2.0;

// A sound that notes its worker's CPU time when the worker ends.
class CTimedSound : public CSound
{
public:
    using CSound::CSound;
    std::atomic<double> workerSeconds{0.0};

protected:
    void OnThreadEnd() override
    {
        timespec used{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
        workerSeconds = double(used.tv_sec) + double(used.tv_nsec) * 1e-9;
    }
};

struct SFixture
{
    SFixture() : engine(&manager)
    {
        if (!engine.Init("", 60, false))
            std::abort();
        folder =
            std::filesystem::temp_directory_path() / ("halvane-bench-stream-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        const long frames = long(kRate * kSeconds);
        // Music-like content: two detuned tones.
        std::ofstream((folder / "music.ogg").string(), std::ios::binary)
            << EncodeOgg(2, kRate, frames,
                         [](int channel, long frame)
                         {
                             const double t = double(frame) / kRate;
                             return float(0.3 * std::sin(2 * M_PI * (220.0 + channel * 3) * t) +
                                          0.2 * std::sin(2 * M_PI * 331.0 * t));
                         });
        std::ofstream((folder / "music.wav").string(), std::ios::binary) << Riff(
            {Chunk("fmt ", PcmHeader(2, kRate, 16)), Chunk("data", CountingSamples(size_t(frames) * 4))});
    }
    ~SFixture()
    {
        engine.Destroy();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    Simulation::CSimulationManager manager;
    CSoundEngine engine;
    std::filesystem::path folder;
};

SFixture& Fixture()
{
    static SFixture fixture;
    return fixture;
}

void StreamWorker(benchmark::State& state, const char* file)
{
    SFixture& fixture = Fixture();
    double workerSeconds = 0.0;
    for (auto _ : state)
    {
        CTimedSound sound(&fixture.engine);
        if (!sound.Load(fixture.manager.GetApplication()->OpenFile((fixture.folder / file).wstring()), true,
                        0, 0) ||
            !sound.Play(0, 0))
        {
            state.SkipWithError("the stream does not play");
            return;
        }
        while (sound.IsRunning() || sound.IsPlaying())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        workerSeconds += sound.workerSeconds;
    }
    state.counters["worker_cpu_ms_per_audio_s"] =
        benchmark::Counter(workerSeconds * 1000.0 / (kSeconds * double(state.iterations())));
}

void BM_StreamWorkerOgg(benchmark::State& state)
{
    StreamWorker(state, "music.ogg");
}
BENCHMARK(BM_StreamWorkerOgg)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_StreamWorkerWave(benchmark::State& state)
{
    StreamWorker(state, "music.wav");
}
BENCHMARK(BM_StreamWorkerWave)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
