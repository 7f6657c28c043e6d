#include "core/app/Application.h"
#include "core/io/File.h"
#include "core/io/FileSystem.h"
#include "core/io/SaveFile.h"
#include "core/io/ZipArchive.h"
#include "core/io/ZipReader.h"

#include "support/TestFolder.h"
#include "ZipTestWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace
{

std::string Contents(IFile* file)
{
    if (!file)
        return "<none>";
    std::string bytes(static_cast<size_t>(file->getSize()), '\0');
    const int got = file->read(bytes.data(), static_cast<uint32_t>(bytes.size()));
    bytes.resize(static_cast<size_t>(std::max(0, got)));
    return bytes;
}

std::string Open(CFileSystem& files, const std::wstring& name)
{
    CFilePtr file(files.OpenFile(name));
    return Contents(file.get());
}

std::string EntryText(int i)
{
    return "entry " + std::to_string(i) + " " + TestBytes(static_cast<size_t>(100 + i % 50), i + 1);
}

TEST(ZipArchive, ManyEntriesAreFoundByNameWithoutCaseFirstEntryFirst)
{
    CTestFolder folder;
    std::vector<SZipTestEntry> entries;
    for (int i = 0; i < 2000; ++i)
        entries.emplace_back("data/Entry" + std::to_string(i) + ".bin", EntryText(i), i % 2 == 0);
    entries.emplace_back("data/entry7.BIN", "a later duplicate");
    entries.emplace_back("other/Entry5.bin", "same file name, other folder");
    WriteTestZip(folder / "many.zip", entries);

    const std::shared_ptr<CZipArchive> archive = CZipArchive::Open(folder / "many.zip", "");
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->GetEntryCount(), 2002);
    const struct
    {
        const wchar_t* name;
        bool fileNamesOnly;
        int index;
    } cases[] = {
        {L"data/Entry1999.bin", false, 1999},
        {L"DATA\\ENTRY0.BIN", false, 0},
        {L"./data/x/../Entry12.bin", false, 12},
        {L"data/entry7.bin", false, 7}, // the first of two that fold alike
        {L"Entry5.bin", false, -1},
        {L"elsewhere/ENTRY5.BIN", true, 5},
        {L"data/Entry*.bin", false, -1}, // a name, not a pattern
        {L"/data/Entry1.bin", false, -1},
        {L"", false, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(archive->Find(c.name, c.fileNamesOnly), c.index) << std::wstring(c.name);
    EXPECT_EQ(archive->FindPattern(L"data/Entry19?9.BIN", false), 1909);
    EXPECT_EQ(archive->FindPattern(L"*.*", false), 0);
    EXPECT_EQ(archive->FindPattern(L"other/*", false), 2001);

    ZipEntryRecord record;
    ASSERT_TRUE(archive->GetRecord(1999, record));
    EXPECT_EQ(record.name, L"data/Entry1999.bin");
    std::string bytes(static_cast<size_t>(record.uncompressedSize), '\0');
    EXPECT_EQ(archive->Unzip(1999, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()), kZipSuccess);
    EXPECT_EQ(bytes, EntryText(1999));
    EXPECT_FALSE(archive->GetRecord(2002, record));
    EXPECT_EQ(archive->Unzip(-1, nullptr, 0), kZipBadArguments);

    CFileSystem files;
    ASSERT_TRUE(files.AddSearchZip(folder.Wide("many.zip"), false, 0, ""));
    EXPECT_EQ(Open(files, L"data/entry1234.BIN"), EntryText(1234));
}

// The entry table is made again when the file changes, and a file opened
// before the change never hands out bytes of the other version.
TEST(ZipArchive, MountsFollowChangesOfTheFile)
{
    CTestFolder folder;
    WriteTestZip(folder / "pack.zip", {{"a.txt", "first"}});
    CFileSystem files(nullptr, false);
    ASSERT_TRUE(files.AddSearchZip(folder.Wide("pack.zip"), false, 0, ""));
    EXPECT_EQ(Open(files, L"a.txt"), "first");
    CFilePtr early(files.OpenFile(L"a.txt"));

    WriteTestZip(folder / "pack.zip", {{"new.txt", "added"}, {"a.txt", "second version"}});
    EXPECT_EQ(Open(files, L"new.txt"), "added");
    EXPECT_EQ(Open(files, L"a.txt"), "second version");
    // Found as entry 0 of five bytes: entry 0 is another entry now.
    EXPECT_EQ(Contents(early.get()), "");

    std::filesystem::remove(folder.Path() / "pack.zip");
    EXPECT_EQ(Open(files, L"a.txt"), "<none>");
    folder.Write("pack.zip", "not a zip any more");
    EXPECT_EQ(Open(files, L"a.txt"), "<none>");
}

// Sound streams will read entries on worker threads: one mounted archive,
// many readers at once.
TEST(ZipArchive, EntriesAreReadFromManyThreadsAtOnce)
{
    CTestFolder folder;
    std::vector<SZipTestEntry> entries;
    for (int i = 0; i < 300; ++i)
        entries.emplace_back("e" + std::to_string(i), EntryText(i), i % 3 != 0);
    WriteTestZip(folder / "shared.zip", entries);
    CFileSystem files;
    ASSERT_TRUE(files.AddSearchZip(folder.Wide("shared.zip"), false, 0, ""));

    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                for (int k = 0; k < 150; ++k)
                {
                    const int i = (k * 7 + t * 31) % 300;
                    if (Open(files, L"e" + std::to_wstring(i)) != EntryText(i))
                        ++wrong;
                }
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

// What is not a regular file is never opened, mounted or extracted: a FIFO
// would block every later lookup.
TEST(ZipArchive, OnlyRegularFilesOpenOrMount)
{
    CTestFolder folder;
    std::filesystem::create_directories(folder.Path() / "search");
    for (const char* name : {"pipe.zip", "pipe.kvocfg", "pipe.kvolanguage", "search/piped.txt"})
        ASSERT_EQ(mkfifo((folder / name).c_str(), 0600), 0) << name;
    WriteTestZip(folder / "real.zip", {{"piped.txt", "from the zip"}});

    CFileSystem files;
    EXPECT_FALSE(files.AddSearchZip(folder.Wide("pipe.zip"), false, 0, ""));
    EXPECT_EQ(ZipOpenFile(folder.Wide("pipe.zip"), nullptr), nullptr);
    EXPECT_EQ(Open(files, folder.Wide("pipe.zip")), "<none>");
    ASSERT_TRUE(files.AddSearchPath(folder.Wide("search"), false, 0));
    ASSERT_TRUE(files.AddSearchZip(folder.Wide("real.zip"), false, 1, ""));
    // The first entry that holds the name decides: a FIFO gives nothing.
    EXPECT_EQ(Open(files, L"piped.txt"), "<none>");

    CApplication app;
    EXPECT_FALSE(app.LoadOptions(folder.Wide("pipe")));
    EXPECT_FALSE(app.LoadTranslations(folder.Wide("pipe.kvolanguage")));
    EXPECT_FALSE(app.AddSearchZip(folder.Wide("pipe.zip"), false, 0, ""));
    EXPECT_EQ(app.AddSearchZipDecompressed(folder.Wide("pipe.zip"), folder.Wide("out"), false, 0, ""), L"");
}

// OpenFile takes names, not patterns: "*" and "?" are plain characters
// (without regard to case), in folders and archives; searches still take
// patterns.
TEST(ZipArchive, NamesOpenLiterallyPatternsStillSearch)
{
    CTestFolder folder;
    folder.Write("disk/a.txt", "plain");
    folder.Write("disk/a*b.txt", "star");
    WriteTestZip(folder / "pack.zip", {{"z.txt", "zipped"}, {"q?.txt", "question"}});
    CFileSystem files;
    files.AddSearchPath(folder.Wide("disk"), false, 0);
    files.AddSearchZip(folder.Wide("pack.zip"), false, 1, "");
    const struct
    {
        const wchar_t* name;
        const char* contents;
    } cases[] = {
        {L"*", "<none>"},        {L"*.*", "<none>"},   {L"*.txt", "<none>"},   {L"?.txt", "<none>"},
        {L"a*b.txt", "star"},    {L"A*B.TXT", "star"}, {L"a.txt", "plain"},    {L"q?.txt", "question"},
        {L"Q?.TXT", "question"}, {L"z.txt", "zipped"}, {L"*/z.txt", "<none>"}, {L"z.*", "<none>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Open(files, c.name), c.contents) << std::wstring(c.name);

    CFileFinder finder(&files, L"*.txt");
    ASSERT_TRUE(files.FindFirst(finder));
    EXPECT_EQ(finder.GetFileName(), L"a*b.txt");
    finder.Reset(L"Z.*");
    ASSERT_TRUE(files.FindFirst(finder));
    EXPECT_EQ(finder.GetFilePath(), folder.Wide("pack.zip") + L"/z.txt");
}

} // namespace
