// Looking a file up through 20 search paths (the file lies in the last
// one): from the search cache, and without it for comparison. And a missing
// name of 200 parts beside one of a single part, without the cache: each
// search path is tried case-insensitively part by part, so the deep name
// shows whether the cost grows with the number of parts or its square.
#include "core/io/File.h"
#include "core/io/FileSystem.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

constexpr int kSearchPaths = 20;

struct SFixture
{
    SFixture()
    {
        folder =
            std::filesystem::temp_directory_path() / ("halvane-bench-lookup-" + std::to_string(getpid()));
        for (int i = 0; i < kSearchPaths; ++i)
        {
            const auto path = folder / ("path" + std::to_string(i));
            std::filesystem::create_directories(path / "textures");
            for (int j = 0; j < 20; ++j)
                std::ofstream(path / "textures" / ("other" + std::to_string(j) + ".png")) << "x";
        }
        std::ofstream(folder / ("path" + std::to_string(kSearchPaths - 1)) / "textures" / "wall.png")
            << "wall";
        // Installed assets are not brand new (folder listings changed in the
        // last seconds are not cached).
        const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
            std::filesystem::last_write_time(item.path(), old);
        std::filesystem::last_write_time(folder, old);
    }
    ~SFixture()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void AddPaths(CFileSystem& files) const
    {
        for (int i = 0; i < kSearchPaths; ++i)
            files.AddSearchPath((folder / ("path" + std::to_string(i))).wstring(), false, i);
    }

    std::filesystem::path folder;
};

SFixture& Fixture()
{
    static SFixture fixture;
    return fixture;
}

void Lookup(benchmark::State& run, bool cache)
{
    CFileSystem files(nullptr, cache);
    Fixture().AddPaths(files);
    for (auto _ : run)
    {
        CFileFinder finder(&files, L"textures/wall.png");
        if (!files.FindFirst(finder))
            std::abort();
        benchmark::DoNotOptimize(finder.GetRecord());
    }
}

void CachedLookup(benchmark::State& run)
{
    Lookup(run, true);
}
BENCHMARK(CachedLookup);

void UncachedLookup(benchmark::State& run)
{
    Lookup(run, false);
}
BENCHMARK(UncachedLookup)->Unit(benchmark::kMicrosecond);

// The whole open of a file found through the cache: the check for the bare
// name on disk, the cached lookup and a file object.
void CachedOpenFile(benchmark::State& run)
{
    CFileSystem files(nullptr, true);
    Fixture().AddPaths(files);
    for (auto _ : run)
    {
        IFile* file = files.OpenFile(L"textures/wall.png");
        if (!file)
            std::abort();
        file->drop();
    }
}
BENCHMARK(CachedOpenFile);

void MissingName(benchmark::State& run, int parts)
{
    CFileSystem files(nullptr, false);
    Fixture().AddPaths(files);
    std::wstring name;
    for (int i = 0; i < parts - 1; ++i)
        name += L"Part" + std::to_wstring(i) + L"/";
    name += L"missing.txt";
    for (auto _ : run)
    {
        if (files.OpenFile(name) != nullptr)
            std::abort();
    }
}
BENCHMARK_CAPTURE(MissingName, OnePart, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MissingName, TwoHundredParts, 200)->Unit(benchmark::kMicrosecond);

} // namespace
