#include "core/io/ZipReader.h"

#include "support/TestFolder.h"
#include "ZipTestWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr uint64_t kDosDateAsFileTime = 133888519200000000ull; // 2025-04-11 13:32:00 UTC

uint64_t UnixToFileTime(int64_t seconds)
{
    return static_cast<uint64_t>((seconds + 11644473600LL) * 10000000LL);
}

// An "UT" extra block with last-write, last-access and creation times.
std::string UnixTimesExtra(uint32_t write, uint32_t access, uint32_t creation)
{
    std::string extra("\x55\x54\x0D\x00\x07", 5);
    for (uint32_t value : {write, access, creation})
    {
        for (int shift = 0; shift < 32; shift += 8)
            extra += static_cast<char>((value >> shift) & 0xFF);
    }
    return extra;
}

class ZipReader : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // DOS times in archives are local times: pin the zone.
        const char* zone = std::getenv("TZ");
        m_savedZone = zone ? zone : "";
        m_hadZone = zone != nullptr;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_hadZone)
            setenv("TZ", m_savedZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    std::wstring MakeZip(const std::string& name, const std::vector<SZipTestEntry>& entries)
    {
        WriteTestZip(folder / name, entries);
        return folder.Wide(name);
    }

    // The bytes of the entry, unzipped into memory in one go.
    std::string Unzip(ZipHandle* zip, int index, uint32_t* result = nullptr)
    {
        ZipEntryRecord record;
        EXPECT_EQ(ZipGetItem(zip, index, &record), kZipSuccess);
        std::string bytes(static_cast<size_t>(record.uncompressedSize), '\0');
        const uint32_t code = ZipUnzipToMemory(zip, index, bytes.data(), bytes.size());
        if (result)
            *result = code;
        else
            EXPECT_EQ(code, kZipSuccess);
        return bytes;
    }

    CTestFolder folder;

private:
    std::string m_savedZone;
    bool m_hadZone = false;
};

TEST_F(ZipReader, RecordsOfStoredDeflatedAndFolderEntries)
{
    const std::string text = TestBytes(5000);
    SZipTestEntry stored{"Docs/Read Me.txt", "stored bytes", false};
    stored.externalAttributes = kZipAttributeReadOnly | kZipAttributeArchive;
    SZipTestEntry deflated{"data/big.bin", text};
    deflated.localExtra = UnixTimesExtra(1000000000, 1100000000, 900000000);
    SZipTestEntry folderEntry{"data/", ""};
    folderEntry.externalAttributes = kZipAttributeDirectory;
    SZipTestEntry unixFile{"tools/run.sh", "#!/bin/sh\n"};
    unixFile.host = 3;
    unixFile.externalAttributes = 0100555u << 16; // r-xr-xr-x
    SZipTestEntry unixFolder{"tools/lib/", ""};
    unixFolder.host = 3;
    unixFolder.externalAttributes = (040755u << 16);
    ZipHandle* zip =
        ZipOpenFile(MakeZip("a.zip", {stored, deflated, folderEntry, unixFile, unixFolder}), nullptr);
    ASSERT_NE(zip, nullptr);

    ZipEntryRecord record;
    ASSERT_EQ(ZipGetItem(zip, -1, &record), kZipSuccess);
    EXPECT_EQ(record.index, 5);
    EXPECT_EQ(ZipGetItem(zip, 5, &record), kZipBadArguments);
    EXPECT_EQ(ZipGetItem(zip, -2, &record), kZipBadArguments);

    ASSERT_EQ(ZipGetItem(zip, 1, &record), kZipSuccess);
    EXPECT_EQ(record.name, L"data/big.bin");
    EXPECT_EQ(record.index, 1);
    EXPECT_EQ(record.uncompressedSize, 5000);
    EXPECT_LT(record.compressedSize, 5000);
    EXPECT_EQ(record.lastWriteTime, UnixToFileTime(1000000000));
    EXPECT_EQ(record.lastAccessTime, UnixToFileTime(1100000000));
    EXPECT_EQ(record.creationTime, UnixToFileTime(900000000));

    // Going backwards rewinds the archive.
    ASSERT_EQ(ZipGetItem(zip, 0, &record), kZipSuccess);
    EXPECT_EQ(record.name, L"Docs/Read Me.txt");
    EXPECT_EQ(record.attributes, kZipAttributeReadOnly | kZipAttributeArchive);
    EXPECT_EQ(record.lastWriteTime, kDosDateAsFileTime);
    EXPECT_EQ(record.creationTime, kDosDateAsFileTime);

    ASSERT_EQ(ZipGetItem(zip, 2, &record), kZipSuccess);
    EXPECT_EQ(record.name, L"data");
    EXPECT_EQ(record.attributes, kZipAttributeDirectory);
    ASSERT_EQ(ZipGetItem(zip, 3, &record), kZipSuccess);
    EXPECT_EQ(record.attributes, kZipAttributeReadOnly | kZipAttributeArchive);
    ASSERT_EQ(ZipGetItem(zip, 4, &record), kZipSuccess);
    EXPECT_EQ(record.attributes, kZipAttributeDirectory | kZipAttributeArchive);

    EXPECT_EQ(Unzip(zip, 1), text);
    EXPECT_EQ(Unzip(zip, 0), "stored bytes");
    EXPECT_EQ(ZipClose(zip), kZipSuccess);
}

TEST_F(ZipReader, FindsEntriesByWildcardIgnoringCase)
{
    ZipHandle* zip = ZipOpenFile(
        MakeZip("find.zip", {{"Sub/Deep/Tex.PNG", "1"}, {"a.txt", "2"}, {"b.txt", "3"}, {"c.d.txt", "4"}}),
        nullptr);
    ASSERT_NE(zip, nullptr);
    struct
    {
        const wchar_t* name;
        bool fileNamesOnly;
        int index;
    } cases[] = {
        {L"sub\\deep\\tex.png", false, 0},
        {L"./SUB//Deep/TEX.png", false, 0},
        {L"*.txt", false, 1},
        {L"b.*", false, 2},
        {L"?.txt", false, 1},
        {L"tex.png", false, -1},
        {L"other/TEX.png", true, 0},
        {L"c.txt", false, -1},
        {L"c*.txt", false, 3}, // "*" is retried past the first "."
        {L"*.*", false, 0},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        int index = 99;
        ZipEntryRecord record;
        const uint32_t result = ZipFindItem(zip, test.name, &index, &record, test.fileNamesOnly);
        EXPECT_EQ(index, test.index);
        EXPECT_EQ(record.index, test.index);
        EXPECT_EQ(result, test.index < 0 ? kZipNotFound : kZipSuccess);
    }
    ZipFindItem(zip, L"missing", nullptr, nullptr, false);
    EXPECT_EQ(ZipResultMessage(kZipLastResult), L"File not found in the zipfile");
    ZipClose(zip);
}

TEST_F(ZipReader, UnzipsIntoASmallBufferPieceByPiece)
{
    const std::string data = TestBytes(40000, 7);
    ZipHandle* zip = ZipOpenFile(MakeZip("big.zip", {{"big.bin", data}}), nullptr);
    ASSERT_NE(zip, nullptr);
    std::string out;
    char buffer[16384];
    EXPECT_EQ(ZipUnzipToMemory(zip, 0, buffer, sizeof buffer), kZipMoreData);
    out.append(buffer, sizeof buffer);
    EXPECT_EQ(ZipUnzipToMemory(zip, 0, buffer, sizeof buffer), kZipMoreData);
    out.append(buffer, sizeof buffer);
    EXPECT_EQ(ZipUnzipToMemory(zip, 0, buffer, sizeof buffer), kZipSuccess);
    out.append(buffer, 40000 - 2 * sizeof buffer);
    EXPECT_EQ(out, data);
    EXPECT_EQ(ZipUnzipToMemory(zip, 1, buffer, sizeof buffer), kZipBadArguments);
    ZipClose(zip);
}

TEST_F(ZipReader, Passwords)
{
    SZipTestEntry secret{"secret.txt", TestBytes(3000, 3)};
    secret.password = "opensesame";
    SZipTestEntry storedSecret{"stored.txt", "plain words", false};
    storedSecret.password = "opensesame";
    const std::wstring path = MakeZip("secret.zip", {secret, storedSecret, {"open.txt", "no secret"}});

    ZipHandle* zip = ZipOpenFile(path, "opensesame");
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(Unzip(zip, 0), secret.data);
    EXPECT_EQ(Unzip(zip, 1), "plain words");
    EXPECT_EQ(Unzip(zip, 2), "no secret"); // the password is not applied to open entries
    ZipClose(zip);

    for (const char* wrong : {"wrong", static_cast<const char*>(nullptr)})
    {
        zip = ZipOpenFile(path, wrong);
        ASSERT_NE(zip, nullptr);
        for (int index : {0, 1})
        {
            uint32_t result = 0;
            Unzip(zip, index, &result);
            EXPECT_EQ(result, kZipPassword);
            EXPECT_EQ(ZipResultMessage(kZipLastResult), L"Correct password required");
            EXPECT_EQ(ZipUnzipToFile(zip, index, L"out.txt"), kZipPassword);
        }
        EXPECT_EQ(Unzip(zip, 2), "no secret");
        ZipClose(zip);
    }
}

TEST_F(ZipReader, ExtractionNeverLeavesTheBaseFolder)
{
    SZipTestEntry readOnly{"sub/ro.txt", "read only"};
    readOnly.externalAttributes = kZipAttributeReadOnly;
    readOnly.localExtra = UnixTimesExtra(1200000000, 1300000000, 0);
    const std::vector<SZipTestEntry> entries = {
        {"../../evil.txt", "1"},
        {"/etc/abs.txt", "2"},
        {"C:\\win\\drive.txt", "3"},
        {"a/../../up.txt", "4"},
        {"..\\..\\back.txt", "5"},
        {"ok/folder/", ""},
        readOnly,
    };
    const std::wstring path = MakeZip("evil.zip", entries);
    ZipHandle* zip = ZipOpenFile(path, nullptr);
    ASSERT_NE(zip, nullptr);
    const std::wstring names[] = {L"evil.txt", L"etc/abs.txt", L"win/drive.txt", L"a/up.txt",
                                  L"back.txt", L"ok/folder",   L"sub/ro.txt"};
    EXPECT_EQ(ZipSetBaseFolder(zip, folder.Wide("out/inner")), kZipSuccess);
    for (int i = 0; i < 7; ++i)
    {
        ZipEntryRecord record;
        ASSERT_EQ(ZipGetItem(zip, i, &record), kZipSuccess);
        EXPECT_EQ(record.name, names[i]);
        EXPECT_EQ(ZipUnzipToFile(zip, i, record.name), kZipSuccess);
    }
    // Even a hostile relative target given by the caller stays inside.
    EXPECT_EQ(ZipUnzipToFile(zip, 0, L"../../escaped.txt"), kZipSuccess);
    ZipClose(zip);

    EXPECT_EQ(folder.Read("out/inner/evil.txt"), "1");
    EXPECT_EQ(folder.Read("out/inner/etc/abs.txt"), "2");
    EXPECT_EQ(folder.Read("out/inner/win/drive.txt"), "3");
    EXPECT_EQ(folder.Read("out/inner/a/up.txt"), "4");
    EXPECT_EQ(folder.Read("out/inner/back.txt"), "5");
    EXPECT_EQ(folder.Read("out/inner/escaped.txt"), "1");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "out/inner/ok/folder"));
    size_t count = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder.Path()))
        count += item.is_regular_file() ? 1 : 0;
    EXPECT_EQ(count, 8u); // the zip and the seven files, nothing outside out/inner

    // The entry's times and read-only attribute carry over.
    struct stat info;
    ASSERT_EQ(stat((folder / "out/inner/sub/ro.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1200000000);
    EXPECT_EQ(info.st_atime, 1300000000);
    EXPECT_EQ(info.st_mode & 0222, 0u);
}

TEST_F(ZipReader, CorruptArchivesFailCleanly)
{
    folder.Write("not.zip", "this is not a zip archive at all");
    EXPECT_EQ(ZipOpenFile(folder.Wide("not.zip"), nullptr), nullptr);
    EXPECT_EQ(ZipResultMessage(kZipLastResult), L"Couldn't create/open file");
    EXPECT_EQ(ZipOpenFile(folder.Wide("missing.zip"), nullptr), nullptr);

    const std::string data = TestBytes(20000, 5);
    MakeZip("good.zip", {{"stored.bin", data, false}, {"deflated.bin", data}});
    const std::string good = folder.Read("good.zip");

    // Cut off: the central directory is gone.
    folder.Write("cut.zip", good.substr(0, good.size() / 2));
    EXPECT_EQ(ZipOpenFile(folder.Wide("cut.zip"), nullptr), nullptr);

    // Damaged data in both entries: the CRC (stored) or the inflater
    // (deflated) notices, and no half-written file stays behind.
    std::string damaged = good;
    damaged[100] ^= 0x55;
    const size_t secondData = good.find("deflated.bin") + 12;
    for (size_t i = secondData + 50; i < secondData + 90; ++i)
        damaged[i] ^= 0x5A;
    folder.Write("damaged.zip", damaged);
    ZipHandle* zip = ZipOpenFile(folder.Wide("damaged.zip"), nullptr);
    ASSERT_NE(zip, nullptr);
    ZipSetBaseFolder(zip, folder.Wide("x"));
    for (int index : {0, 1})
    {
        uint32_t result = 0;
        Unzip(zip, index, &result);
        EXPECT_EQ(result, kZipFlateError);
        EXPECT_EQ(ZipUnzipToFile(zip, index, L"out.bin"), kZipFlateError);
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / "x/out.bin"));
    }
    ZipClose(zip);

    // Declared sizes that lie (local header and central directory agree):
    // one larger, one smaller than the data. Neither reads as complete.
    for (int32_t delta : {+100, -100})
    {
        std::string lying = good;
        const auto patch = [&](size_t at)
        {
            uint32_t size = 0;
            for (int i = 0; i < 4; ++i)
                size |= static_cast<uint32_t>(static_cast<uint8_t>(lying[at + i])) << (8 * i);
            size = static_cast<uint32_t>(static_cast<int32_t>(size) + delta);
            for (int i = 0; i < 4; ++i)
                lying[at + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
        };
        for (size_t at = lying.find("PK\x03\x04"); at != std::string::npos;
             at = lying.find("PK\x03\x04", at + 4))
            patch(at + 22);
        for (size_t at = lying.find("PK\x01\x02"); at != std::string::npos;
             at = lying.find("PK\x01\x02", at + 4))
            patch(at + 24);
        folder.Write("lying.zip", lying);
        zip = ZipOpenFile(folder.Wide("lying.zip"), nullptr);
        ASSERT_NE(zip, nullptr);
        uint32_t result = 0;
        Unzip(zip, 1, &result);
        EXPECT_NE(result, kZipSuccess) << delta;
        ZipClose(zip);
    }
}

TEST_F(ZipReader, OpensFromMemoryAndDescriptors)
{
    MakeZip("m.zip", {{"one.txt", "first"}, {"two.txt", "second"}});
    const std::string bytes = folder.Read("m.zip");
    ZipHandle* zip = ZipOpen(bytes.data(), bytes.size(), kZipMemory, nullptr);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(Unzip(zip, 1), "second");
    ZipClose(zip);

    // A descriptor positioned past a prefix: positions count from there.
    folder.Write("prefixed.bin", "PREFIX" + bytes);
    const int fd = open((folder / "prefixed.bin").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    lseek(fd, 6, SEEK_SET);
    zip = ZipOpen(reinterpret_cast<void*>(static_cast<intptr_t>(fd)), 0, kZipHandle, nullptr);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(Unzip(zip, 0), "first");
    ZipClose(zip);
    EXPECT_EQ(lseek(fd, 0, SEEK_CUR) >= 0, true); // still open: the caller owns it
    close(fd);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    EXPECT_EQ(ZipOpen(reinterpret_cast<void*>(static_cast<intptr_t>(pipeEnds[0])), 0, kZipHandle, nullptr),
              nullptr);
    EXPECT_EQ(ZipResultMessage(kZipLastResult), L"Zip-bug: trying to seek the unseekable");
    close(pipeEnds[0]);
    close(pipeEnds[1]);

    // No bytes, or too few, are no archive.
    EXPECT_EQ(ZipOpen(nullptr, 0, kZipMemory, nullptr), nullptr);
    EXPECT_EQ(ZipOpen(bytes.data(), 10, kZipMemory, nullptr), nullptr);

    EXPECT_EQ(ZipOpen(bytes.data(), bytes.size(), 4, nullptr), nullptr);
    EXPECT_EQ(ZipResultMessage(kZipLastResult), L"Caller: faulty arguments");
    ZipEntryRecord record;
    EXPECT_EQ(ZipGetItem(nullptr, 0, &record), kZipBadArguments);
    EXPECT_EQ(ZipClose(nullptr), kZipBadArguments);

    // Unzipping into a descriptor.
    zip = ZipOpen(bytes.data(), bytes.size(), kZipMemory, nullptr);
    const int out = open((folder / "fd.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_EQ(ZipUnzipItem(zip, 1, reinterpret_cast<void*>(static_cast<intptr_t>(out)), 0, kZipHandle),
              kZipSuccess);
    close(out);
    ZipClose(zip);
    EXPECT_EQ(folder.Read("fd.txt"), "second");
}

TEST(ZipResultMessages, TextsAndCutting)
{
    EXPECT_EQ(ZipResultMessage(5), L"unknown zip result code");
    EXPECT_EQ(ZipResultMessage(kZipMoreData), L"Still more data to unzip");
    EXPECT_EQ(ZipResultMessage(kZipCannotDuplicate), L"Culdn't duplicate handle");
    wchar_t buffer[8];
    EXPECT_EQ(ZipResultMessage(kZipSuccess, buffer, 4), 7u);
    EXPECT_STREQ(buffer, L"Suc");
    EXPECT_EQ(ZipResultMessage(kZipFlateError, nullptr, 0), 41u);
}

} // namespace
