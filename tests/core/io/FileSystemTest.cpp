#include "core/foundation/KVOError.h"
#include "core/io/FileStd.h"
#include "core/io/FileSystem.h"
#include "core/io/FileZip.h"
#include "core/io/SaveFile.h"

#include "support/TestFolder.h"
#include "ZipTestWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace
{

std::string Contents(IFile* file)
{
    if (!file)
        return "<none>";
    std::string bytes(static_cast<size_t>(file->getSize()), '\0');
    bytes.resize(
        static_cast<size_t>(std::max(0, file->read(bytes.data(), static_cast<uint32_t>(bytes.size())))));
    return bytes;
}

class FileSystem : public ::testing::Test
{
protected:
    // Opens the name and returns its contents ("<none>" when nothing opens).
    std::string Open(CFileSystem& files, const std::wstring& name, bool fallback = false)
    {
        CFilePtr file(files.OpenFile(name, false, fallback));
        return Contents(file.get());
    }

    // Every match of the pattern, FindFirst then FindNext.
    std::vector<std::wstring> FindAll(CFileSystem& files, const std::wstring& pattern)
    {
        std::vector<std::wstring> found;
        CFileFinder finder(&files, pattern);
        for (bool more = files.FindFirst(finder); more; more = finder.FindNext())
            found.push_back(finder.GetFilePath());
        return found;
    }

    std::wstring Rel(const std::string& name) { return folder.Wide(name); }

    CTestFolder folder;
};

TEST_F(FileSystem, SearchOrderFollowsKeysAndFilingOrder)
{
    folder.Write("low/a.txt", "low");
    folder.Write("high/a.txt", "high");
    folder.Write("high/only-high.txt", "only");
    folder.Write("second/a.txt", "second");
    WriteTestZip(folder / "pack.zip", {{"a.txt", "zipped"}, {"b.txt", "zip b"}});

    CFileSystem files;
    EXPECT_TRUE(files.AddSearchPath(Rel("low"), false, -5));
    EXPECT_TRUE(files.AddSearchPath(Rel("high"), false, -10));
    EXPECT_TRUE(files.AddSearchPath(Rel("second"), false, -10));
    EXPECT_EQ(Open(files, L"a.txt"), "high");
    EXPECT_EQ(Open(files, L"only-high.txt"), "only");

    // An archive filed ahead of the folders is searched first.
    EXPECT_TRUE(files.AddSearchZip(Rel("pack.zip"), false, -20, ""));
    EXPECT_EQ(Open(files, L"a.txt"), "zipped");
    CFilePtr zipped(files.OpenFile(L"A.TXT"));
    ASSERT_TRUE(zipped);
    EXPECT_EQ(zipped->GetPath(), Rel("pack.zip") + L"/a.txt");

    files.RemoveSearchPaths(-20);
    EXPECT_EQ(Open(files, L"a.txt"), "high");
    files.RemoveSearchPaths(-10);
    EXPECT_EQ(Open(files, L"a.txt"), "low");
    files.RemoveAllSearchPaths();
    EXPECT_EQ(Open(files, L"a.txt"), "<none>");

    // Missing folders and archives are not filed.
    EXPECT_FALSE(files.AddSearchPath(Rel("nowhere"), true, 0));
    EXPECT_FALSE(files.AddSearchPath(Rel("pack.zip"), false, 0));
    EXPECT_FALSE(files.AddSearchZip(Rel("nowhere.zip"), false, 0, ""));
    EXPECT_FALSE(files.AddSearchZip(Rel("low"), false, 0, ""));
    EXPECT_EQ(FindAll(files, L"*"), std::vector<std::wstring>());
}

TEST_F(FileSystem, NamesFromWindowsMatchWithoutCase)
{
    folder.Write("Assets/Textures/Wall.PNG", "wall");
    CFileSystem files;
    EXPECT_TRUE(files.AddSearchPath(Rel("ASSETS"), false, 0));
    EXPECT_EQ(Open(files, L"textures\\wall.png"), "wall");
    EXPECT_EQ(Open(files, L"TEXTURES/WALL.png"), "wall");
    // A path on disk opens directly whatever its case and separators.
    EXPECT_EQ(Open(files, folder.Wide() + L"\\assets\\TEXTURES\\wall.png"), "wall");

    CFilePtr file(files.OpenFile(L"Textures/wall.png"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->GetPath(), Rel("Assets/Textures/Wall.PNG"));
}

TEST_F(FileSystem, FallsBackToTheBareFileName)
{
    folder.Write("data/model.obj", "model");
    WriteTestZip(folder / "pack.zip", {{"gfx/deep/tex.png", "tex"}});
    CFileSystem files;
    files.AddSearchPath(Rel("data"), false, 0);
    EXPECT_EQ(Open(files, L"meshes/old/model.obj"), "<none>");
    EXPECT_EQ(Open(files, L"meshes/old/model.obj", true), "model");

    // An archive with the retry flag matches by file name alone.
    files.AddSearchZip(Rel("pack.zip"), false, 1, "");
    EXPECT_EQ(Open(files, L"other/tex.png"), "<none>");
    files.RemoveSearchPaths(1);
    files.AddSearchZip(Rel("pack.zip"), true, 1, "");
    EXPECT_EQ(Open(files, L"other/tex.png"), "tex");
}

TEST_F(FileSystem, AddingClearsTheCachedMisses)
{
    folder.Write("late/late.txt", "late");
    WriteTestZip(folder / "late.zip", {{"zipped.txt", "z"}});
    CFileSystem files;
    EXPECT_EQ(Open(files, L"late.txt"), "<none>");
    EXPECT_EQ(Open(files, L"zipped.txt"), "<none>");
    files.AddSearchPath(Rel("late"), false, 0);
    EXPECT_EQ(Open(files, L"late.txt"), "late");
    files.AddSearchZip(Rel("late.zip"), false, 0, "");
    EXPECT_EQ(Open(files, L"zipped.txt"), "z");

    // A file that appears in a folder already searched stays unseen until
    // the cache is cleared (or switched off).
    EXPECT_EQ(Open(files, L"new.txt"), "<none>");
    folder.Write("late/new.txt", "new");
    EXPECT_EQ(Open(files, L"new.txt"), "<none>");
    files.ClearSearchCache();
    EXPECT_EQ(Open(files, L"new.txt"), "new");
    folder.Write("late/newer.txt", "newer");
    files.EnableSearchCache(false);
    EXPECT_FALSE(files.IsSearchCacheEnabled());
    EXPECT_EQ(Open(files, L"newer.txt"), "newer");
}

TEST_F(FileSystem, EnumerationIsTheSameWithAndWithoutTheCache)
{
    folder.Write("one/a.txt", "");
    folder.Write("one/b.b.txt", "");
    folder.Write("one/c.cfg", "");
    folder.Write("one/noext", "");
    folder.Write("one/sub/d.txt", "");
    folder.Write("two/e.txt", "");
    WriteTestZip(folder / "pack.zip", {{"z1.txt", ""}, {"z2.txt", ""}});

    CFileSystem files(nullptr, false);
    files.AddSearchPath(Rel("one"), false, 0);
    files.AddSearchZip(Rel("pack.zip"), false, 1, "");
    files.AddSearchPath(Rel("two"), false, 2);
    const std::vector<std::wstring> expected = {Rel("one/a.txt"), Rel("one/b.b.txt"), Rel("pack.zip/z1.txt"),
                                                Rel("two/e.txt")};
    EXPECT_EQ(FindAll(files, L"*.txt"), expected);

    // The cached first match is neither repeated nor does it hide the rest.
    files.EnableSearchCache(true);
    for (int run = 0; run < 3; ++run)
        EXPECT_EQ(FindAll(files, L"*.txt"), expected) << run;

    // "*.*" is every entry, with or without a dot; folders are matches too.
    EXPECT_EQ(FindAll(files, L"*.*").size(), 7u); // five in one, one from the archive, one in two
    CFileFinder finder(&files, L"s?b");
    ASSERT_TRUE(files.FindFirst(finder));
    EXPECT_TRUE(finder.IsDirectory());
    EXPECT_FALSE(finder.IsInArchive());
    EXPECT_FALSE(finder.IsDotEntry());
    EXPECT_EQ(finder.GetFileName(), L"sub");
    EXPECT_EQ(FindAll(files, L"SUB/*.TXT"), std::vector<std::wstring>{Rel("one/sub/d.txt")});

    // A finder of another file system, or without a pattern, finds nothing.
    CFileSystem other;
    CFileFinder foreign(&other, L"*.txt");
    EXPECT_FALSE(files.FindFirst(foreign));
    CFileFinder empty(&files, L"");
    EXPECT_FALSE(files.FindFirst(empty));
    EXPECT_EQ(empty.GetFilePath(), L"");
}

TEST_F(FileSystem, RecursiveSearchPathsDoNotFollowLinks)
{
    folder.Write("tree/top.txt", "top");
    folder.Write("tree/a/b/deep.txt", "deep");
    folder.Write("outside/secret.txt", "secret");
    std::filesystem::create_directory_symlink(folder.Path() / "outside", folder.Path() / "tree/link");
    std::filesystem::create_directory_symlink(folder.Path() / "tree", folder.Path() / "tree/a/loop");

    CFileSystem files;
    EXPECT_TRUE(files.AddSearchPath(Rel("tree"), true, 0));
    EXPECT_EQ(Open(files, L"deep.txt"), "deep");
    EXPECT_EQ(Open(files, L"secret.txt"), "<none>");
    EXPECT_EQ(Open(files, L"link/secret.txt"), "secret"); // explicit paths through a link still work
}

TEST_F(FileSystem, RecursiveSearchPathsStayInsideTheTreeWhateverItsNamesHold)
{
    // Folders named "..\outside" and "..\" are folders of the tree on disk;
    // read as engine paths they would lead out of it, or round in a circle.
    folder.Write("tree/a/deep.txt", "deep");
    folder.Write("tree/..\\outside/inner.txt", "inner");
    folder.Write("tree/a/..\\/loop.txt", "loop");
    folder.Write("outside/secret.txt", "secret");

    CFileSystem files;
    EXPECT_TRUE(files.AddSearchPath(Rel("tree"), true, 0));
    EXPECT_EQ(Open(files, L"deep.txt"), "deep");
    EXPECT_EQ(Open(files, L"secret.txt"), "<none>");
}

TEST_F(FileSystem, ZipFilesReadFromMemory)
{
    const std::string big = TestBytes(100000, 9);
    SZipTestEntry secret{"secret.txt", "hidden"};
    secret.password = "pw";
    WriteTestZip(folder / "pack.zip", {{"big.bin", big}, {"small.txt", "0123456789"}, secret, {"dir/", ""}});

    CFileSystem files;
    files.AddSearchZip(Rel("pack.zip"), false, 0, "pw");
    EXPECT_EQ(Open(files, L"big.bin"), big);
    EXPECT_EQ(Open(files, L"secret.txt"), "hidden");
    EXPECT_EQ(Open(files, L"dir"), "<none>"); // a folder entry does not open

    CFilePtr file(files.OpenFile(L"small.txt"));
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->IsOk());
    EXPECT_EQ(file->getSize(), 10);
    char buffer[8];
    EXPECT_TRUE(file->seek(6));
    EXPECT_EQ(file->read(buffer, 8), 4); // only what is left
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(file->read(buffer, 8), 0);
    EXPECT_TRUE(file->seek(-5));
    EXPECT_EQ(file->getPos(), 0);
    EXPECT_TRUE(file->seek(3, true));
    EXPECT_TRUE(file->seek(-1, true));
    EXPECT_EQ(file->getPos(), 2);
    EXPECT_TRUE(file->seek(99));
    EXPECT_EQ(file->getPos(), 10);
    EXPECT_EQ(std::string(file->getFileName().c_str()), folder / "pack.zip" + "/small.txt");
    try
    {
        file->write("x", 1);
        FAIL();
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[CFileZip::write] Not implemented");
    }

    // The wrong password: the entry is found but holds nothing.
    files.RemoveAllSearchPaths();
    files.AddSearchZip(Rel("pack.zip"), false, 0, "wrong");
    CFilePtr locked(files.OpenFile(L"secret.txt"));
    ASSERT_TRUE(locked);
    EXPECT_FALSE(locked->IsOk());
    EXPECT_EQ(locked->getSize(), 0);
    EXPECT_EQ(locked->read(buffer, 8), 0);
}

TEST_F(FileSystem, ZipEntriesWithLyingSizesGiveNothing)
{
    WriteTestZip(folder / "pack.zip", {{"data.bin", TestBytes(5000)}});
    std::string bytes = folder.Read("pack.zip");
    // Claim a size far beyond what the compressed data can hold, in the
    // local header and the central directory alike.
    for (const char* signature : {"PK\x03\x04", "PK\x01\x02"})
    {
        const size_t at = bytes.find(signature) + (signature[2] == 3 ? 22 : 24);
        bytes.replace(at, 4, std::string("\x00\x00\x00\x20", 4)); // 512 MiB
    }
    folder.Write("lying.zip", bytes);
    CFileSystem files;
    files.AddSearchZip(Rel("lying.zip"), false, 0, "");
    CFilePtr file(files.OpenFile(L"data.bin"));
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->IsOk());
    EXPECT_EQ(file->getSize(), 0);

    // A plausible size that is a little too large: a read of the whole
    // entry (straight into the caller's buffer) reports nothing read, and
    // so does a read in pieces.
    bytes = folder.Read("pack.zip");
    for (const char* signature : {"PK\x03\x04", "PK\x01\x02"})
    {
        const size_t at = bytes.find(signature) + (signature[2] == 3 ? 22 : 24);
        bytes[at + 1] = static_cast<char>(bytes[at + 1] + 1); // 256 bytes more
    }
    folder.Write("longer.zip", bytes);
    files.RemoveAllSearchPaths();
    files.AddSearchZip(Rel("longer.zip"), false, 0, "");
    for (uint32_t piece : {5256u, 100u})
    {
        CFilePtr longer(files.OpenFile(L"data.bin"));
        ASSERT_TRUE(longer);
        EXPECT_EQ(longer->getSize(), 5256); // as declared, until it is read
        std::string buffer(5256, '\0');
        EXPECT_EQ(longer->read(buffer.data(), piece), 0);
        EXPECT_EQ(longer->getSize(), 0);
        EXPECT_FALSE(longer->IsOk());
    }
}

TEST_F(FileSystem, DiskFilesOpenLazily)
{
    {
        CFileStd out(Rel("Out/new.bin"), L"wb"); // the folder does not exist
        EXPECT_FALSE(out.IsOk());
    }
    std::filesystem::create_directory(folder.Path() / "Out");
    {
        CFileStd out(Rel("OUT/new.bin"), L"wb"); // folder matched without case
        EXPECT_EQ(out.write("hello world", 11), 11);
        EXPECT_EQ(out.getSize(), 11);
        EXPECT_TRUE(out.seek(0));
        EXPECT_EQ(out.write("J", 1), 1);
        EXPECT_EQ(out.getSize(), 11); // overwriting does not grow the file
        EXPECT_EQ(out.getPos(), 1);
    }
    EXPECT_EQ(folder.Read("Out/new.bin"), "Jello world");
    CFileStd in(Rel("out\\NEW.bin"), L"rb");
    EXPECT_EQ(in.getSize(), 11);
    EXPECT_TRUE(in.IsOk());
    EXPECT_EQ(in.GetPath(), Rel("out/NEW.bin"));
    EXPECT_EQ(Contents(&in), "Jello world");
    EXPECT_EQ(in.write("x", 1), 0);
    CFileStd missing(Rel("missing.bin"), L"rb");
    EXPECT_FALSE(missing.IsOk());
    EXPECT_EQ(missing.getSize(), 0);
    EXPECT_EQ(missing.read(nullptr, 0), 0);
}

} // namespace
