// The application object's forwarding to the option store, the language
// store and the file system.
#include "core/app/Application.h"

#include "core/foundation/CurrentDirectory.h"
#include "core/foundation/KVOError.h"
#include "core/io/File.h"
#include "support/TestFolder.h"
#include "core/io/ZipTestWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

// The bytes of a file the application opens, or "<none>".
std::string ReadOpened(IFile* file)
{
    if (file == nullptr)
        return "<none>";
    std::string bytes(static_cast<size_t>(file->getSize()), '\0');
    file->read(bytes.data(), static_cast<uint32_t>(bytes.size()));
    file->drop();
    return bytes;
}

} // namespace

TEST(ApplicationOptionsTest, OptionsLiveUnderSectionAndKey)
{
    CApplication app;
    EXPECT_EQ(app.GetOption(L"video", L"width"), L"");
    EXPECT_EQ(app.GetOptionInt(L"video", L"width"), 0);
    EXPECT_EQ(app.GetOptionFloat(L"video", L"gamma"), 0.0f);
    EXPECT_FALSE(app.GetOptionBool(L"video", L"full"));
    EXPECT_FALSE(app.OptionExists(L"video", L"width"));

    app.SetOptionInt(L"video", L"width", 800);
    app.SetOptionFloat(L"video", L"gamma", 1.5f);
    app.SetOptionBool(L"video", L"full", true);
    app.SetOption(L"player", L"name", L"Zoë");
    std::wstring stored;
    EXPECT_TRUE(app.GetOptions().Get(L"[video][width]", stored));
    EXPECT_EQ(stored, L"800");
    EXPECT_TRUE(app.OptionExists(L"video", L"width"));
    EXPECT_EQ(app.GetOption(L"video", L"width"), L"800");
    EXPECT_EQ(app.GetOptionInt(L"video", L"width"), 800);
    EXPECT_FLOAT_EQ(app.GetOptionFloat(L"video", L"gamma"), 1.5f);
    EXPECT_TRUE(app.GetOptionBool(L"video", L"full"));
    EXPECT_EQ(app.GetOption(L"player", L"name"), L"Zoë");

    EXPECT_TRUE(app.ClearOption(L"video", L"width"));
    EXPECT_TRUE(app.ClearOption(L"video", L"never"));
    EXPECT_FALSE(app.OptionExists(L"video", L"width"));
    EXPECT_TRUE(app.ClearOptions());
    EXPECT_EQ(app.GetOptions().GetCount(), 0u);
}

TEST(ApplicationOptionsTest, OptionFilesAreFoundWithTheirExtension)
{
    CTestFolder folder;
    {
        CApplication app;
        app.SetOptionInt(L"video", L"width", 1024);
        app.SetOption(L"player", L"name", L"Zoë");
        ASSERT_TRUE(app.SaveOptions(folder.Wide("settings.kvocfg"), "UTF16"));
    }
    CApplication app;
    EXPECT_FALSE(app.LoadOptions(L"settings")) << "not on disk, no search path yet";
    ASSERT_TRUE(app.AddSearchPath(folder.Wide(), false, 0));
    EXPECT_TRUE(app.LoadOptions(L"settings"));
    EXPECT_EQ(app.GetOptionInt(L"video", L"width"), 1024);
    EXPECT_EQ(app.GetOption(L"player", L"name"), L"Zoë");

    // A file of another kind: the archive's error, and the file is closed.
    folder.Write("bad.kvocfg", "not an archive at all");
    bool loaded = true;
    try
    {
        loaded = app.LoadOptions(L"bad");
    }
    catch (const Misc::Error::CKVOError&)
    {
        loaded = false;
    }
    EXPECT_FALSE(loaded);
}

TEST(ApplicationTranslationsTest, TranslateFallsBackToTheCodeItself)
{
    CTestFolder folder;
    {
        CApplication app;
        app.GetLanguage().Set(L"menu", L"quit", L"Beenden");
        ASSERT_TRUE(app.SaveTranslations(folder.Wide("german.kvolanguage"), "UTF8"));
    }
    CApplication app;
    EXPECT_EQ(app.Translate(L"#menu#quit"), L"#menu#quit");
    EXPECT_TRUE(app.LoadTranslations(folder.Wide("german")));
    EXPECT_EQ(app.Translate(L"#menu#quit"), L"Beenden");
    EXPECT_EQ(app.Translate(L"menu#quit"), L"menu#quit");
    EXPECT_EQ(app.Translate(L"#menu#open"), L"#menu#open");
    EXPECT_EQ(app.Translate(L""), L"");
    EXPECT_FALSE(app.LoadTranslations(folder.Wide("french")));
}

TEST(ApplicationFilesTest, OpenFileTriesTheNameThenEachExtension)
{
    CTestFolder folder;
    folder.Write("menu.kvo", "kvo");
    folder.Write("menu.lua", "lua");
    folder.Write("other/menu.lua", "other lua");
    folder.Write("plain", "plain");
    CApplication app;
    app.AddSearchPath(folder.Wide(), false, 0);
    const std::vector<std::wstring> extensions = {L".kvoscript", L".kvobin", L".kvo", L".lua"};

    EXPECT_EQ(ReadOpened(app.OpenFile(L"menu", extensions)), "kvo");
    EXPECT_EQ(ReadOpened(app.OpenFile(L"menu", {L".lua"})), "lua");
    EXPECT_EQ(ReadOpened(app.OpenFile(L"menu")), "<none>");
    EXPECT_EQ(ReadOpened(app.OpenFile(L"plain", extensions)), "plain");
    EXPECT_EQ(ReadOpened(app.OpenFile(L"", extensions)), "<none>");
    // A folder argument searches that folder alone.
    EXPECT_EQ(ReadOpened(app.OpenFile(L"menu", extensions, folder.Wide("other"))), "other lua");
    EXPECT_EQ(ReadOpened(app.OpenFile(L"plain", {}, folder.Wide("other"))), "<none>");
}

TEST(ApplicationFilesTest, FilenameLookupsFollowDiskSearchPathsAndFallback)
{
    CTestFolder folder;
    folder.Write("data/level.map", "map");
    CApplication app;
    const std::wstring onDisk = folder.Wide("data/level.map");
    EXPECT_EQ(app.GetFilenameFromFileSystem(onDisk), onDisk);
    EXPECT_EQ(app.GetFilenameFromFileSystem(L"level.map"), L"");

    app.AddSearchPath(folder.Wide("data"), false, 0);
    const std::wstring found = app.GetFilenameFromFileSystem(L"level.map");
    EXPECT_EQ(found, folder.Wide("data/level.map"));
    EXPECT_EQ(app.GetFilenameFromFileSystem(L"maps/level.map", L"", true), found);
    EXPECT_EQ(app.GetFilenameFromFileSystem(L"maps/level.map", L"", false), L"");
    EXPECT_EQ(app.FindFileFolder(L"maps/level.map"), folder.Wide("data") + L"/");
    EXPECT_EQ(app.FindFileFolder(L"missing.map"), L"");

    // Limited to another folder, the search paths do not count.
    folder.Write("other/x.txt", "x");
    EXPECT_EQ(app.GetFilenameFromFileSystem(L"level.map", folder.Wide("other")), L"");
    EXPECT_EQ(app.GetFilenameFromFileSystem(L"x.txt", folder.Wide("other")), folder.Wide("other/x.txt"));
}

TEST(ApplicationFilesTest, FilenameListTakesEachPatternInTurn)
{
    CTestFolder folder;
    folder.Write("a.txt", "a");
    folder.Write("configs/one.cfg", "1");
    folder.Write("configs/two.cfg", "2");
    folder.Write("configs/skip.txt", "-");
    CApplication app;
    app.AddSearchPath(folder.Wide("configs"), false, 0);

    std::vector<std::wstring> list = {L"stale"};
    const std::wstring patterns = folder.Wide("a.txt") + L";*.cfg";
    EXPECT_EQ(app.GetFilenameListFromFileSystem(patterns, list, false), 3u);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], folder.Wide("a.txt"));
    std::vector<std::wstring> rest(list.begin() + 1, list.end());
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest,
              (std::vector<std::wstring>{folder.Wide("configs/one.cfg"), folder.Wide("configs/two.cfg")}));

    EXPECT_EQ(app.GetFilenameListFromFileSystem(L"*.cfg", list, true), 2u);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::wstring>{L"one.cfg", L"two.cfg"}));
    EXPECT_EQ(app.GetFilenameListFromFileSystem(L"*.none", list, true), 0u);
    EXPECT_TRUE(list.empty());
}

TEST(ApplicationFilesTest, DecompressedZipNeverOverwritesAndIsSearched)
{
    CTestFolder folder;
    const std::string zip = folder / "pack.zip";
    WriteTestZip(zip, {{"readme.txt", "from zip"}, {"maps/level.map", "level"}});
    CApplication app;

    const std::wstring out = folder.Wide("out");
    EXPECT_EQ(app.AddSearchZipDecompressed(std::wstring(zip.begin(), zip.end()), out, true, 5, ""), out);
    EXPECT_EQ(folder.Read("out/readme.txt"), "from zip");
    EXPECT_EQ(folder.Read("out/maps/level.map"), "level");
    EXPECT_EQ(ReadOpened(app.OpenFile(L"level.map")), "level") << "recursive search path";

    // A second run extracts nothing: local changes stay.
    folder.Write("out/readme.txt", "edited");
    app.ClearAllSearchPaths();
    app.AddSearchZipDecompressed(std::wstring(zip.begin(), zip.end()), out + L"/", false, 5, "");
    EXPECT_EQ(folder.Read("out/readme.txt"), "edited");
    EXPECT_EQ(ReadOpened(app.OpenFile(L"readme.txt")), "edited");
    app.ClearSearchPaths(5);
    EXPECT_EQ(ReadOpened(app.OpenFile(L"readme.txt")), "<none>");

    // A zip that cannot be opened adds nothing, and says so with "".
    EXPECT_EQ(app.AddSearchZipDecompressed(folder.Wide("missing.zip"), out, false, 6, ""), L"");
    EXPECT_EQ(ReadOpened(app.OpenFile(L"readme.txt")), "<none>");
}

// Sets the declared uncompressed size of every entry named so, in the local
// header and the central directory alike.
std::string WithDeclaredSize(std::string bytes, const std::string& name, uint32_t size)
{
    for (const char* signature : {"PK\x03\x04", "PK\x01\x02"})
    {
        const bool local = signature[2] == 3;
        for (size_t at = bytes.find(signature); at != std::string::npos; at = bytes.find(signature, at + 4))
        {
            if (bytes.compare(at + (local ? 30 : 46), name.size(), name) != 0)
                continue;
            for (int i = 0; i < 4; ++i)
                bytes[at + (local ? 22 : 24) + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
        }
    }
    return bytes;
}

// No entry name leaves the output folder, drive-like names included (they
// once landed in the current folder).
TEST(ApplicationFilesTest, DecompressedEntriesStayInsideTheOutputFolder)
{
    CTestFolder folder;
    folder.Write("cwd/.keep", "");
    CCurrentDirectory current(folder.Wide("cwd"), true);
    WriteTestZip(folder / "escape.zip", {{"C:escaped.txt", "1"},
                                         {"q:x/deeper.txt", "2"},
                                         {"c:\\win.txt", "3"},
                                         {"Z:Y:twice.txt", "4"},
                                         {"../../up.txt", "5"},
                                         {"/abs.txt", "6"}});
    CApplication app;
    const std::wstring out = folder.Wide("out");
    EXPECT_EQ(app.AddSearchZipDecompressed(folder.Wide("escape.zip"), out, false, 0, ""), out);
    const struct
    {
        const char* path;
        const char* contents;
    } placed[] = {{"out/escaped.txt", "1"}, {"out/x/deeper.txt", "2"}, {"out/win.txt", "3"},
                  {"out/twice.txt", "4"},   {"out/up.txt", "5"},       {"out/abs.txt", "6"}};
    for (const auto& p : placed)
        EXPECT_EQ(folder.Read(p.path), p.contents) << p.path;
    size_t files = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder.Path()))
        files += item.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 8u); // the zip, .keep and the six files in out
}

// Extraction reports failure with "" and adds no search path: a wrong
// password, a damaged zip, an entry that claims more than deflate can give,
// and more in all than one extraction may write. Sizes are checked before
// anything is written.
TEST(ApplicationFilesTest, DecompressionFailuresAreReported)
{
    CTestFolder folder;
    SZipTestEntry secret{"secret.txt", "hidden"};
    secret.password = "right";
    WriteTestZip(folder / "locked.zip", {{"open.txt", "open"}, secret});
    WriteTestZip(folder / "small.zip", {{"first.txt", TestBytes(4000)}, {"bomb.bin", TestBytes(2000)}});
    folder.Write("bomb.zip", WithDeclaredSize(folder.Read("small.zip"), "bomb.bin", 100u << 20));
    std::string damaged = folder.Read("small.zip");
    damaged[damaged.find("PK\x03\x04", 10) + 40] ^= 0x55; // in the second entry's data
    folder.Write("damaged.zip", damaged);
    // Stored random bytes: each entry's claim is within the ratio, their sum
    // is not within the total.
    std::string noise(700000, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    WriteTestZip(folder / "big.zip", {{"one.bin", noise, false}, {"two.bin", noise, false}});
    std::string big = WithDeclaredSize(folder.Read("big.zip"), "one.bin", 700u << 20);
    folder.Write("big.zip", WithDeclaredSize(big, "two.bin", 700u << 20));

    const struct
    {
        const char* zip;
        const char* password;
        const char* probe; // an entry name that must not be found afterwards
    } cases[] = {
        {"locked.zip", "wrong", "secret.txt"},
        {"locked.zip", "", "secret.txt"},
        {"damaged.zip", "", "bomb.bin"},
        {"bomb.zip", "", "first.txt"},
        {"big.zip", "", "one.bin"},
        {"missing.zip", "", "open.txt"},
    };
    int run = 0;
    for (const auto& c : cases)
    {
        CApplication app;
        const std::wstring out = folder.Wide("out" + std::to_string(run++));
        EXPECT_EQ(app.AddSearchZipDecompressed(folder.Wide(c.zip), out, false, 0, c.password), L"") << c.zip;
        EXPECT_EQ(ReadOpened(app.OpenFile(std::wstring(c.probe, c.probe + std::strlen(c.probe)))), "<none>")
            << c.zip;
    }
    // Limits are checked first: nothing at all was written for them.
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out3/first.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out4"));

    // The right password extracts everything.
    CApplication app;
    EXPECT_EQ(app.AddSearchZipDecompressed(folder.Wide("locked.zip"), folder.Wide("ok"), false, 0, "right"),
              folder.Wide("ok"));
    EXPECT_EQ(folder.Read("ok/secret.txt"), "hidden");
}

// A file that matches an entry only by the case of its name is an existing
// file: it is kept, as the documented rule keeps existing files.
TEST(ApplicationFilesTest, DecompressionKeepsFilesThatDifferOnlyByCase)
{
    CTestFolder folder;
    WriteTestZip(folder / "pack.zip", {{"Maps/Level.map", "from zip"}});
    folder.Write("out/maps/LEVEL.MAP", "local");
    CApplication app;
    EXPECT_EQ(app.AddSearchZipDecompressed(folder.Wide("pack.zip"), folder.Wide("out"), true, 0, ""),
              folder.Wide("out"));
    EXPECT_EQ(folder.Read("out/maps/LEVEL.MAP"), "local");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out/Maps"));
}

TEST(ApplicationFilesTest, ZipsAreMountedAsSearchEntries)
{
    CTestFolder folder;
    const std::string zip = folder / "pack.zip";
    WriteTestZip(zip, {{"textures/wall.png", "png"}});
    CApplication app;
    EXPECT_FALSE(app.AddSearchZip(folder.Wide("missing.zip"), false, 0, ""));
    EXPECT_TRUE(app.AddSearchZip(std::wstring(zip.begin(), zip.end()), true, 0, ""));
    EXPECT_EQ(ReadOpened(app.OpenFile(L"wall.png")), "png");
}
