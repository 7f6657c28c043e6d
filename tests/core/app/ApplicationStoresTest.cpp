// The application object's forwarding to the option store, the language
// store and the file system.
#include "core/app/Application.h"

#include "core/foundation/KVOError.h"
#include "core/io/File.h"
#include "core/io/TestFolder.h"
#include "core/io/ZipTestWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    file->read(bytes.data(), static_cast<irr::u32>(bytes.size()));
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
