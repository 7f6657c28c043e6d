// A world-like stream of 100,000 entity-sized records (id, name, three
// vectors, flags and a small data bag) written and read through the binary
// archive (plain and compressed) and the text archive, beside memcpy of the
// same number of bytes. Rates are taken from wall-clock time. Write is the
// whole save (temporary file, disk flush, rename); WriteStream writes to a
// file object as Read reads from one, so the two compare the archive's own
// work: text writing is to be at least as fast as text reading.
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveText.h"
#include "core/io/DataBag.h"
#include "core/io/FileStd.h"
#include "core/io/TextValue.h"
#include "core/io/Uuid.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using Misc::Serialization::CArchiveBin;
using Misc::Serialization::CArchiveText;
using Misc::Serialization::IArchive;

namespace
{

#ifdef NDEBUG
constexpr size_t kRecords = 100000;
#else
// The test build (sanitizers, no optimisation) only checks that the
// benchmark runs; figures come from the release build.
constexpr size_t kRecords = 2000;
#endif

struct SRecord
{
    CUuid id;
    CTextValue name{L"-Name"};
    float position[3] = {};
    float rotation[3] = {};
    float scale[3] = {1, 1, 1};
    uint32_t flags = 0;
    CDataBag data;

    void WriteVector(IArchive& archive, const char* key, const float* v)
    {
        archive.WriteString(key);
        for (int i = 0; i < 3; ++i)
        {
            archive.WriteSpaces(1);
            archive.WriteFloat(v[i], 6);
        }
        archive.EndLine(0);
    }
    void ReadVector(IArchive& archive, const char* key, float* v)
    {
        archive.ExpectToken(key);
        for (int i = 0; i < 3; ++i)
            archive.ReadFloat(v[i]);
    }
    void Write(IArchive& archive)
    {
        archive.WriteString("Unit{");
        archive.EndLine(+1);
        id.Write(archive);
        name.Write(archive);
        WriteVector(archive, "-Position", position);
        WriteVector(archive, "-Rotation", rotation);
        WriteVector(archive, "-Scale", scale);
        archive.WriteKeyULong("-Flags", flags);
        data.Write(archive);
        archive.EndLine(-1);
        archive.WriteString("}");
        archive.EndLine(0);
    }
    void Read(IArchive& archive)
    {
        archive.ExpectToken("Unit{");
        id.Read(archive);
        name.Read(archive);
        ReadVector(archive, "-Position", position);
        ReadVector(archive, "-Rotation", rotation);
        ReadVector(archive, "-Scale", scale);
        archive.ReadKeyULong("-Flags", flags);
        data.Read(archive);
        archive.ExpectToken("}");
    }
};

std::vector<SRecord>& Records()
{
    static std::vector<SRecord> records = []
    {
        std::vector<SRecord> made(kRecords);
        for (size_t i = 0; i < made.size(); ++i)
        {
            SRecord& r = made[i];
            const float f = static_cast<float>(i);
            r.name.SetValue(L"unit_" + std::to_wstring(i));
            r.position[0] = f * 1.25f;
            r.position[1] = 12.5f;
            r.position[2] = -f * 0.5f;
            r.rotation[1] = static_cast<float>(i % 360);
            r.flags = static_cast<uint32_t>(i * 7);
            r.data.Set(L"script", L"ai/guard.lua");
            r.data.SetInt(L"health", static_cast<int32_t>(100 + i % 50));
        }
        return made;
    }();
    return records;
}

std::wstring PathFor(const char* kind)
{
    return (std::filesystem::temp_directory_path() /
            ("halvane-bench-archive-" + std::to_string(::getpid()) + "-" + kind))
        .wstring();
}

void WriteWorld(IArchive& archive)
{
    archive.WriteKeyULong("-Count", static_cast<uint32_t>(Records().size()));
    for (SRecord& record : Records())
        record.Write(archive);
}

std::vector<SRecord>& ReadTarget()
{
    static std::vector<SRecord> target(kRecords);
    return target;
}

void ReadWorld(IArchive& archive)
{
    uint32_t count = 0;
    archive.ReadKeyULong("-Count", count);
    if (count != kRecords)
        std::abort();
    for (SRecord& record : ReadTarget())
        record.Read(archive);
}

// The text encoding of a form: "text" is UTF-8, "text_utf16" UTF-16.
const char* TextEncoding(const char* form)
{
    if (std::strcmp(form, "text") == 0)
        return "UTF8";
    if (std::strcmp(form, "text_utf16") == 0)
        return "UTF16";
    return nullptr;
}

// Writes the world in the given form once and returns the file's size.
size_t MakeFile(const std::wstring& path, const char* form)
{
    if (const char* encoding = TextEncoding(form))
    {
        CArchiveText archive(path, true, "KVOWORLD", 1030, nullptr, encoding);
        WriteWorld(archive);
    }
    else
    {
        CArchiveBin archive(path, true, "KVOWORLD", 1030, nullptr, std::strcmp(form, "compressed") == 0);
        WriteWorld(archive);
    }
    return static_cast<size_t>(std::filesystem::file_size(path));
}

void Write(benchmark::State& state, const char* form)
{
    const std::wstring path = PathFor(form);
    const size_t bytes = MakeFile(path, form);
    for (auto _ : state)
        MakeFile(path, form);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    std::filesystem::remove(path);
}

// The archive written to a file object opened for writing, as Read reads
// from one opened for reading: the archive's own work, without the save's
// temporary file, disk flush and rename (which Write includes).
void WriteStream(benchmark::State& state, const char* form)
{
    const std::wstring path = PathFor(form);
    const size_t bytes = MakeFile(path, form);
    for (auto _ : state)
    {
        CFileStd* file = new CFileStd(path, L"wb");
        if (const char* encoding = TextEncoding(form))
        {
            CArchiveText archive(file, true, "KVOWORLD", 1030, nullptr, encoding);
            WriteWorld(archive);
        }
        else
        {
            CArchiveBin archive(file, true, "KVOWORLD", 1030, nullptr, std::strcmp(form, "compressed") == 0);
            WriteWorld(archive);
        }
        file->drop();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    std::filesystem::remove(path);
}

void Read(benchmark::State& state, const char* form)
{
    const std::wstring path = PathFor(form);
    const size_t bytes = MakeFile(path, form);
    ReadTarget(); // the records read into are made before the clock runs
    for (auto _ : state)
    {
        CFileStd* file = new CFileStd(path, L"rb");
        if (TextEncoding(form))
        {
            CArchiveText archive(file, false, "KVOWORLD", 1);
            ReadWorld(archive);
        }
        else
        {
            CArchiveBin archive(file, false, "KVOWORLD", 1);
            ReadWorld(archive);
        }
        file->drop();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    std::filesystem::remove(path);
}

// memcpy of as many bytes as the form's file holds.
void Memcpy(benchmark::State& state, const char* form)
{
    const std::wstring path = PathFor(form);
    const size_t bytes = MakeFile(path, form);
    std::filesystem::remove(path);
    std::vector<char> from(bytes, 'x');
    std::vector<char> to(bytes);
    for (auto _ : state)
    {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

} // namespace

BENCHMARK_CAPTURE(Memcpy, binary_bytes, "binary")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Write, binary, "binary")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, binary, "binary")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Memcpy, compressed_bytes, "compressed")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Write, compressed, "compressed")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, compressed, "compressed")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Memcpy, text_bytes, "text")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Write, text, "text")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(WriteStream, text, "text")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, text, "text")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(WriteStream, text_utf16, "text_utf16")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, text_utf16, "text_utf16")->Unit(benchmark::kMillisecond)->UseRealTime();
