// Zips with many entries, each real path beside its floor in the same run:
// - opening and reading the last 8 KiB entry of a 2,000-entry zip through
//   the file system, beside one pread of the entry's bytes and a bare
//   inflate of them;
// - 100 IApp:loadScript calls (through the real script manager, names
//   without extension, so every extension is tried) from a 1,000-entry zip,
//   beside the same loads from a folder holding the same files.
#include "app/EngineComposition.h"
#include "core/io/File.h"
#include "core/io/FileSystem.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"

#include <benchmark/benchmark.h>
#include <minizip/zip.h>
#include <zlib.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kManyEntries = 2000;
constexpr size_t kEntrySize = 8192;
constexpr int kScriptEntries = 1000;
constexpr int kScriptLoads = 100;

// Words and numbers with some noise, compressing about like game data.
std::string MakeData(size_t size, uint32_t seed)
{
    static const char* words[] = {"position ",       "rotation ", "texture ", "entity ",
                                  "0.500000 ",       "-12.75 ",   "{\n",      "}\n",
                                  "\"Wall01.png\" ", "-Color ",   "1024 ",    "\t"};
    std::string data;
    uint32_t state = seed;
    while (data.size() < size)
    {
        state = state * 1103515245u + 12345u;
        if ((state >> 24) < 16)
            data += static_cast<char>('a' + (state >> 8) % 26);
        else
            data += words[(state >> 16) % 12];
    }
    data.resize(size);
    return data;
}

void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        std::abort();
    for (const auto& [name, data] : entries)
    {
        zip_fileinfo info = {};
        if (zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                  Z_DEFAULT_COMPRESSION, 0) != ZIP_OK ||
            zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) != ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK)
            std::abort();
    }
    if (zipClose(zip, nullptr) != ZIP_OK)
        std::abort();
}

uint32_t Word(const std::string& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

// Installed assets are not brand new (folder listings changed in the last
// seconds are not cached).
void MakeOld(const std::filesystem::path& folder)
{
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
        std::filesystem::last_write_time(item.path(), old);
    std::filesystem::last_write_time(folder, old);
}

struct SFixture
{
    SFixture()
    {
        folder =
            std::filesystem::temp_directory_path() / ("halvane-bench-entries-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "loose" / "scripts");

        std::vector<std::pair<std::string, std::string>> entries;
        for (int i = 0; i < kManyEntries; ++i)
            entries.emplace_back("data/entry" + std::to_string(i) + ".bin",
                                 MakeData(kEntrySize, static_cast<uint32_t>(i + 1)));
        lastData = entries.back().second;
        many = (folder / "many.zip").string();
        WriteZip(many, entries);

        // Where the last entry's deflated bytes lie: after its local header.
        std::ifstream in(many, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t header = bytes.rfind("PK\x03\x04");
        dataOffset = header + 30 + Word(bytes, header + 26, 2) + Word(bytes, header + 28, 2);
        compressedSize = Word(bytes, header + 18, 4);

        // About 0.5 MB of scripts, each defining a table and returning.
        std::vector<std::pair<std::string, std::string>> scripts;
        for (int i = 0; i < kScriptEntries; ++i)
        {
            std::string filler = MakeData(440, static_cast<uint32_t>(i + 7));
            for (char& c : filler)
                c = (c == '\n' || c == '\t') ? ' ' : c;
            const std::string text = "local unit = { id = " + std::to_string(i) + ", name = \"unit" +
                                     std::to_string(i) + "\" }\n-- " + filler + "\nreturn unit.id\n";
            const std::string name = "scripts/unit" + std::to_string(i) + ".lua";
            std::ofstream(folder / "loose" / name, std::ios::binary) << text;
            scripts.emplace_back(name, text);
        }
        scriptZip = (folder / "scripts.zip").string();
        WriteZip(scriptZip, scripts);
        MakeOld(folder);
    }
    ~SFixture()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    std::string many;
    std::string lastData;
    size_t dataOffset = 0;
    size_t compressedSize = 0;
    std::string scriptZip;
};

SFixture& Fixture()
{
    static SFixture fixture;
    return fixture;
}

// The floor: one pread of the entry's deflated bytes and a bare inflate.
void BM_LastEntryPreadInflate(benchmark::State& run)
{
    SFixture& fixture = Fixture();
    const int fd = open(fixture.many.c_str(), O_RDONLY | O_CLOEXEC);
    std::vector<uint8_t> raw(fixture.compressedSize);
    std::vector<uint8_t> out(kEntrySize);
    for (auto _ : run)
    {
        if (pread(fd, raw.data(), raw.size(), static_cast<off_t>(fixture.dataOffset)) !=
            static_cast<ssize_t>(raw.size()))
            std::abort();
        z_stream stream = {};
        inflateInit2(&stream, -MAX_WBITS);
        stream.next_in = raw.data();
        stream.avail_in = static_cast<uInt>(raw.size());
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        if (inflate(&stream, Z_FINISH) != Z_STREAM_END)
            std::abort();
        inflateEnd(&stream);
        benchmark::DoNotOptimize(out.data());
    }
    close(fd);
    if (std::string(out.begin(), out.end()) != fixture.lastData)
        std::abort();
}
BENCHMARK(BM_LastEntryPreadInflate)->Unit(benchmark::kMicrosecond);

// The engine: open the last entry through the mounted zip and read it whole.
void OpenLastEntry(benchmark::State& run, bool cache)
{
    SFixture& fixture = Fixture();
    CFileSystem files(nullptr, cache);
    files.AddSearchZip(std::filesystem::path(fixture.many).wstring(), false, 0, "");
    const std::wstring name = L"data/entry" + std::to_wstring(kManyEntries - 1) + L".bin";
    std::vector<uint8_t> out(kEntrySize);
    for (auto _ : run)
    {
        IFile* file = files.OpenFile(name);
        if (!file ||
            file->read(out.data(), static_cast<uint32_t>(out.size())) != static_cast<int>(kEntrySize))
            std::abort();
        file->drop();
        benchmark::DoNotOptimize(out.data());
    }
    if (std::string(out.begin(), out.end()) != fixture.lastData)
        std::abort();
}

void BM_LastEntryOpenFile(benchmark::State& run)
{
    OpenLastEntry(run, true);
}
BENCHMARK(BM_LastEntryOpenFile)->Unit(benchmark::kMicrosecond);

void BM_LastEntryOpenFileNoCache(benchmark::State& run)
{
    OpenLastEntry(run, false);
}
BENCHMARK(BM_LastEntryOpenFileNoCache)->Unit(benchmark::kMicrosecond);

// 100 loads of scripts named without their extension, each iteration with
// an empty search cache, from the zip or from the folder.
void LoadScripts(benchmark::State& run, bool fromZip)
{
    SFixture& fixture = Fixture();
    ::setenv("HALVANE_MESSAGEBOX", "no", 1);
    CScriptManager engine(Halvane::EngineComposition());
    CScriptManager::SetInstance(&engine);
    LuaPlus::LuaState* state = engine.GetMainState();
    const std::string mount =
        fromZip ? "IApp:addSearchZip(\"" + fixture.scriptZip + "\", false, 1, \"\")"
                : "IApp:addSearchPath(\"" + (fixture.folder / "loose").string() + "\", false, 1)";
    const std::string code = mount +
                             "\nreturn function()\n"
                             "  IApp:clearSearchCache()\n"
                             "  local sum = 0\n"
                             "  for i = 0, " +
                             std::to_string(kScriptLoads - 1) +
                             " do\n"
                             "    local n = (i * 37) % " +
                             std::to_string(kScriptEntries) +
                             "\n"
                             "    sum = sum + IApp:loadScriptEx(\"scripts/unit\" .. n)\n"
                             "  end\n"
                             "  return sum\n"
                             "end";
    lua_State* L = state->GetCState();
    if (state->LoadBuffer(code.data(), code.size(), "=bench") != 0 || state->PCall(0, 1) != 0)
        std::abort();
    const int loop = lua_gettop(L);
    double expected = 0;
    for (int i = 0; i < kScriptLoads; ++i)
        expected += (i * 37) % kScriptEntries;
    for (auto _ : run)
    {
        lua_pushvalue(L, loop);
        if (state->PCall(0, 1) != 0 || lua_tonumber(L, -1) != expected)
            std::abort();
        lua_pop(L, 1);
    }
    lua_settop(L, 0);
    run.SetItemsProcessed(run.iterations() * kScriptLoads);
}

void BM_LoadScriptsFromFolder(benchmark::State& run)
{
    LoadScripts(run, false);
}
BENCHMARK(BM_LoadScriptsFromFolder)->Unit(benchmark::kMillisecond);

void BM_LoadScriptsFromZip(benchmark::State& run)
{
    LoadScripts(run, true);
}
BENCHMARK(BM_LoadScriptsFromZip)->Unit(benchmark::kMillisecond);

} // namespace
