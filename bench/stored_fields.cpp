// Reading 40,000 entity-like records (flags, a number, a text, four fields
// newer files added) through the archive handle a world is loaded with, in
// the text and the binary form, three ways side by side: read by hand, one
// call per key with one version check for the newer fields; a field table
// walked asking the archive for every field whether its version holds it
// (a virtual call, two through the handle); and ReadFields, which asks for
// the version once per record. Records per second are reported as
// items_per_second; compare the ratios of one run.
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/ArchiveText.h"
#include "core/io/FileStd.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using Misc::Serialization::IArchive;
using Misc::Serialization::SStoredField;
namespace Field = Misc::Serialization::StoredField;
namespace FileVersion = Misc::Serialization::FileVersion;

namespace
{

#ifdef NDEBUG
constexpr unsigned kRecords = 40000;
#else
// The test build (sanitizers, no optimisation) only checks that the
// benchmark runs.
constexpr unsigned kRecords = 400;
#endif

struct SRecord
{
    bool fog = true;
    bool lighting = false;
    bool visible = true;
    float shininess = 20.0f;
    std::wstring model = L"models/crate.x";
    uint32_t lod = 5;
    bool solid = true;
    bool gouraud = true;
    bool zBuffer = true;
    bool zBufferWrite = true;

    static const SStoredField<SRecord> kFields[];

    void ReadByHand(IArchive& archive)
    {
        archive.ReadKeyBool("-FogEnabled", fog);
        archive.ReadKeyBool("-LightingEnabled", lighting);
        archive.ReadKeyBool("-Visible", visible);
        archive.ReadKeyFloat("-Shininess", shininess);
        archive.ReadKeyWString("-Model", model);
        archive.ReadKeyULong("-MaxLOD", lod);
        if (archive.IsVersionAtLeast(FileVersion::kRenderFlags))
        {
            archive.ReadKeyBool("-Solid", solid);
            archive.ReadKeyBool("-Gouraud", gouraud);
            archive.ReadKeyBool("-ZBufferEnabled", zBuffer);
            archive.ReadKeyBool("-ZBufferWriteEnabled", zBufferWrite);
        }
    }

    void ReadAskingEveryField(IArchive& archive);
};

const SStoredField<SRecord> SRecord::kFields[] = {
    Field::Bool<&SRecord::fog>("-FogEnabled"),
    Field::Bool<&SRecord::lighting>("-LightingEnabled"),
    Field::Bool<&SRecord::visible>("-Visible"),
    Field::Float<&SRecord::shininess>("-Shininess"),
    Field::WideText<&SRecord::model>("-Model"),
    Field::Unsigned<&SRecord::lod>("-MaxLOD"),
    Field::Bool<&SRecord::solid>("-Solid", FileVersion::kRenderFlags),
    Field::Bool<&SRecord::gouraud>("-Gouraud", FileVersion::kRenderFlags),
    Field::Bool<&SRecord::zBuffer>("-ZBufferEnabled", FileVersion::kRenderFlags),
    Field::Bool<&SRecord::zBufferWrite>("-ZBufferWriteEnabled", FileVersion::kRenderFlags),
};

void SRecord::ReadAskingEveryField(IArchive& archive)
{
    for (const SStoredField<SRecord>& field : kFields)
    {
        if (archive.IsVersionAtLeast(field.since))
            field.read(archive, *this, field.key);
        else if (field.older != nullptr)
            field.older(archive, *this);
    }
}

// The run's own temporary folder, removed at exit. The text is never
// freed, so the exit handler can still read it.
const std::string& Folder()
{
    static const std::string* const folder = []
    {
        auto* path = new std::string(
            (std::filesystem::temp_directory_path() / ("halvane-bench-fields-" + std::to_string(getpid())))
                .string());
        std::filesystem::create_directories(*path);
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return path;
    }();
    return *folder;
}

std::wstring PathOf(bool binary)
{
    const std::string path = Folder() + (binary ? "/records.bin" : "/records.txt");
    return std::wstring(path.begin(), path.end());
}

// The records, written once per form.
const std::wstring& Records(bool binary)
{
    static const std::wstring paths[2] = {PathOf(false), PathOf(true)};
    static bool written[2] = {false, false};
    if (!written[binary])
    {
        SRecord record;
        auto writeAll = [&](auto& archive)
        {
            for (unsigned i = 0; i < kRecords; ++i)
                Misc::Serialization::WriteFields(archive, record, SRecord::kFields);
            archive.Close();
        };
        if (binary)
        {
            Misc::Serialization::CArchiveBin archive(paths[1], true, "KVORECORDS", FileVersion::kNewest,
                                                     nullptr, false);
            writeAll(archive);
        }
        else
        {
            Misc::Serialization::CArchiveText archive(paths[0], true, "KVORECORDS", FileVersion::kNewest);
            writeAll(archive);
        }
        written[binary] = true;
    }
    return paths[binary];
}

enum EWay
{
    kByHand,
    kAskingEveryField,
    kReadFields,
};

void BM_RecordRead(benchmark::State& state)
{
    const bool binary = state.range(0) != 0;
    const EWay way = static_cast<EWay>(state.range(1));
    const std::wstring& path = Records(binary);
    for (auto _ : state)
    {
        CFileStd file(path, L"rb");
        Misc::Serialization::CArchiveHandle archive(&file, false, "KVORECORDS", 1);
        SRecord record;
        for (unsigned i = 0; i < kRecords; ++i)
        {
            if (way == kByHand)
                record.ReadByHand(archive);
            else if (way == kAskingEveryField)
                record.ReadAskingEveryField(archive);
            else
                Misc::Serialization::ReadFields(archive, record, SRecord::kFields);
        }
        benchmark::DoNotOptimize(record.lod);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    static const char* const kWays[] = {"by hand", "asking every field", "ReadFields"};
    state.SetLabel(std::string(binary ? "binary " : "text ") + kWays[way]);
}

} // namespace

BENCHMARK(BM_RecordRead)
    ->ArgsProduct({{0, 1}, {kByHand, kAskingEveryField, kReadFields}})
    ->Unit(benchmark::kMillisecond);
