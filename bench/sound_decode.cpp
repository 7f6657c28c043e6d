// Decoding a 10-second stereo Ogg Vorbis file to 16-bit samples: through the
// engine (file system, I/O callbacks, DecodeOggVorbis) beside libvorbisfile's
// ov_read on the very same bytes held in memory.
#include "core/io/File.h"
#include "core/io/FileSystem.h"
#include "sound/OggVorbisDecoder.h"
#include "tests/sound/OggTestEncoder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

constexpr long kRate = 44100;
constexpr long kFrames = kRate * 10;
constexpr int kChannels = 2;
// A quarter second per call, as the streamer decodes.
constexpr int kChunk = int(kRate / 4) * 2 * kChannels;

struct SFixture
{
    SFixture()
    {
        if (!LoadVorbisLibrary())
            std::abort();
        folder = std::filesystem::temp_directory_path() / ("halvane-bench-sound-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        // Music-like content: two detuned tones and a little noise.
        uint32_t noise = 1;
        ogg = EncodeOgg(kChannels, kRate, kFrames,
                        [&noise](int channel, long frame)
                        {
                            noise = noise * 1664525u + 1013904223u;
                            const double t = double(frame) / kRate;
                            return float(0.3 * std::sin(2 * M_PI * (220.0 + channel * 3) * t) +
                                         0.2 * std::sin(2 * M_PI * 331.0 * t) +
                                         0.02 * (double(noise >> 8) / 16777216.0 - 0.5));
                        });
        std::ofstream((folder / "music.ogg").string(), std::ios::binary) << ogg;
    }
    ~SFixture()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    std::string ogg;
};

SFixture& Fixture()
{
    static SFixture fixture;
    return fixture;
}

void CheckLength(long decodedBytes)
{
    if (decodedBytes != kFrames * kChannels * 2)
        std::abort();
}

// The engine: open through the file system, decode through our callbacks
// and decode loop.
void DecodeThroughFileSystem(benchmark::State& run)
{
    SFixture& fixture = Fixture();
    const SVorbisFunctions& ov = VorbisFunctions();
    CFileSystem files(fixture.folder.wstring().c_str(), false);
    files.AddSearchPath(fixture.folder.wstring(), false, 0);
    std::vector<char> buffer(kChunk);
    for (auto _ : run)
    {
        IFile* file = files.OpenFile(L"music.ogg");
        OggVorbis_File record;
        if (file == nullptr || ov.ov_open_callbacks(file, &record, nullptr, 0, OggFileCallbacks()) != 0)
            std::abort();
        long total = 0;
        while (const int done = DecodeOggVorbis(&record, buffer.data(), kChunk, kChannels))
            total += done;
        ov.ov_clear(&record);
        file->drop();
        CheckLength(total);
        benchmark::DoNotOptimize(buffer.data());
    }
    run.SetBytesProcessed(int64_t(run.iterations()) * kFrames * kChannels * 2);
}
BENCHMARK(DecodeThroughFileSystem)->Unit(benchmark::kMillisecond);

// The floor: ov_read alone over the bytes in memory.
struct SMemorySource
{
    const std::string* bytes;
    size_t position;
};

size_t MemoryRead(void* buffer, size_t size, size_t count, void* source)
{
    SMemorySource& memory = *static_cast<SMemorySource*>(source);
    const size_t bytes = std::min(size * count, memory.bytes->size() - memory.position);
    std::memcpy(buffer, memory.bytes->data() + memory.position, bytes);
    memory.position += bytes;
    return bytes / size;
}

int MemorySeek(void* source, ogg_int64_t offset, int origin)
{
    SMemorySource& memory = *static_cast<SMemorySource*>(source);
    const int64_t base = origin == SEEK_CUR   ? int64_t(memory.position)
                         : origin == SEEK_END ? int64_t(memory.bytes->size())
                                              : 0;
    if (base + offset < 0 || base + offset > int64_t(memory.bytes->size()))
        return -1;
    memory.position = size_t(base + offset);
    return 0;
}

long MemoryTell(void* source)
{
    return long(static_cast<SMemorySource*>(source)->position);
}

void OvReadFromMemory(benchmark::State& run)
{
    SFixture& fixture = Fixture();
    const SVorbisFunctions& ov = VorbisFunctions();
    const ov_callbacks callbacks = {MemoryRead, MemorySeek, nullptr, MemoryTell};
    std::vector<char> buffer(kChunk);
    for (auto _ : run)
    {
        SMemorySource source{&fixture.ogg, 0};
        OggVorbis_File record;
        if (ov.ov_open_callbacks(&source, &record, nullptr, 0, callbacks) != 0)
            std::abort();
        long total = 0;
        int section = 0;
        for (;;)
        {
            int done = 0;
            long read = 0;
            while (done < kChunk &&
                   (read = ov.ov_read(&record, buffer.data() + done, kChunk - done, 0, 2, 1, &section)) > 0)
                done += int(read);
            if (done == 0)
                break;
            total += done;
        }
        ov.ov_clear(&record);
        CheckLength(total);
        benchmark::DoNotOptimize(buffer.data());
    }
    run.SetBytesProcessed(int64_t(run.iterations()) * kFrames * kChannels * 2);
}
BENCHMARK(OvReadFromMemory)->Unit(benchmark::kMillisecond);

} // namespace
