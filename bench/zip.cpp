// Reading a 16 MiB deflated zip entry into memory through the file system,
// beside zlib's own inflate on the very same compressed bytes.
#include "core/io/File.h"
#include "core/io/FileSystem.h"
#include "core/io/ZipReader.h"

#include <benchmark/benchmark.h>
#include <minizip/zip.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

constexpr size_t kEntrySize = 16u << 20;

// Mixed data: runs of words and numbers with some noise, compressing about
// like game scripts and level data do.
std::string MakeData()
{
    static const char* words[] = {"position ",       "rotation ", "texture ", "entity ",
                                  "0.500000 ",       "-12.75 ",   "{\n",      "}\n",
                                  "\"Wall01.png\" ", "-Color ",   "1024 ",    "\t"};
    std::string data;
    data.reserve(kEntrySize);
    uint32_t state = 12345;
    while (data.size() < kEntrySize)
    {
        state = state * 1103515245u + 12345u;
        if ((state >> 24) < 16)
            data += static_cast<char>(state >> 8);
        else
            data += words[(state >> 16) % 12];
    }
    data.resize(kEntrySize);
    return data;
}

struct SFixture
{
    SFixture()
    {
        folder = std::filesystem::temp_directory_path() / ("halvane-bench-zip-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        archive = (folder / "data.zip").string();
        data = MakeData();

        zipFile zip = zipOpen64(archive.c_str(), APPEND_STATUS_CREATE);
        zip_fileinfo info = {};
        if (!zip ||
            zipOpenNewFileInZip64(zip, "level.dat", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                  Z_DEFAULT_COMPRESSION, 0) != ZIP_OK ||
            zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) != ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK || zipClose(zip, nullptr) != ZIP_OK)
            std::abort();

        // The entry's raw deflate stream, straight from its local header.
        std::ifstream in(archive, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto word = [&](size_t at, int size)
        {
            uint32_t value = 0;
            for (int i = 0; i < size; ++i)
                value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
            return value;
        };
        const size_t start = 30 + word(26, 2) + word(28, 2);
        compressed.assign(bytes.begin() + static_cast<long>(start),
                          bytes.begin() + static_cast<long>(start + word(18, 4)));
    }
    ~SFixture()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    std::string archive;
    std::string data;
    std::vector<uint8_t> compressed;
};

SFixture& Fixture()
{
    static SFixture fixture;
    return fixture;
}

// zlib alone: inflate the entry's compressed bytes from memory.
void ZlibInflate(benchmark::State& run)
{
    SFixture& fixture = Fixture();
    std::vector<uint8_t> out(kEntrySize);
    for (auto _ : run)
    {
        z_stream stream = {};
        inflateInit2(&stream, -MAX_WBITS);
        stream.next_in = fixture.compressed.data();
        stream.avail_in = static_cast<uInt>(fixture.compressed.size());
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        if (inflate(&stream, Z_FINISH) != Z_STREAM_END)
            std::abort();
        inflateEnd(&stream);
        benchmark::DoNotOptimize(out.data());
    }
    run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * kEntrySize));
}
BENCHMARK(ZlibInflate)->Unit(benchmark::kMillisecond);

// The engine: open the entry through a mounted archive and read it whole
// (archive opened, entry found, unzipped with size and CRC checks).
void FileSystemReadEntry(benchmark::State& run)
{
    SFixture& fixture = Fixture();
    CFileSystem files(nullptr, false);
    files.AddSearchZip(std::filesystem::path(fixture.archive).wstring(), false, 0, "");
    std::vector<uint8_t> out(kEntrySize);
    for (auto _ : run)
    {
        IFile* file = files.OpenFile(L"level.dat");
        if (!file ||
            file->read(out.data(), static_cast<uint32_t>(out.size())) != static_cast<int>(kEntrySize))
            std::abort();
        file->drop();
        benchmark::DoNotOptimize(out.data());
    }
    if (std::string(out.begin(), out.end()) != fixture.data)
        std::abort();
    run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * kEntrySize));
}
BENCHMARK(FileSystemReadEntry)->Unit(benchmark::kMillisecond);

// The zip reader alone, into a buffer the caller holds.
void ZipUnzipEntryToMemory(benchmark::State& run)
{
    SFixture& fixture = Fixture();
    std::vector<uint8_t> out(kEntrySize);
    const std::wstring archive = std::filesystem::path(fixture.archive).wstring();
    for (auto _ : run)
    {
        ZipHandle* zip = ZipOpenFile(archive, nullptr);
        if (!zip || ZipUnzipToMemory(zip, 0, out.data(), out.size()) != kZipSuccess)
            std::abort();
        ZipClose(zip);
        benchmark::DoNotOptimize(out.data());
    }
    run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * kEntrySize));
}
BENCHMARK(ZipUnzipEntryToMemory)->Unit(benchmark::kMillisecond);

} // namespace
