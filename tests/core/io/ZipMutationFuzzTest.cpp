// A short seeded mutation run over zip archives: every mutant of a valid
// archive is mounted and every entry opened and read, read through the zip
// reader's own interface, and extracted into a folder. Nothing may crash,
// leak (the sanitizer build checks) or hang; what is read is never more than
// an entry declares.
#include "core/app/Application.h"
#include "core/io/File.h"
#include "core/io/FileSystem.h"
#include "core/io/SaveFile.h"
#include "core/io/ZipReader.h"

#include "support/TestFolder.h"
#include "ZipTestWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace
{

constexpr int kMutants = 400;
constexpr size_t kMaxRead = 1 << 20;

std::string Seed(const CTestFolder& folder)
{
    SZipTestEntry secret{"locked/secret.txt", TestBytes(300, 3)};
    secret.password = "pw";
    SZipTestEntry times{"times.txt", "with times"};
    times.localExtra = std::string("\x55\x54\x05\x00\x01\x00\x00\x00\x40", 9);
    SZipTestEntry unix{"unix/ro.txt", "unix host"};
    unix.host = 3;
    WriteTestZip(folder / "seed.zip", {{"a.txt", "alpha"},
                                       {"deflated/big.bin", TestBytes(20000, 7)},
                                       {"stored.bin", TestBytes(3000, 9), false},
                                       {"dir/", ""},
                                       {"../up/escape.txt", "up"},
                                       secret,
                                       times,
                                       unix});
    return folder.Read("seed.zip");
}

std::string Mutate(std::string bytes, std::mt19937& random)
{
    const int count = 1 + static_cast<int>(random() % 8);
    for (int k = 0; k < count && !bytes.empty(); ++k)
    {
        const size_t at = random() % bytes.size();
        switch (random() % 7)
        {
        case 0: // one bit
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
            break;
        case 1: // one byte
            bytes[at] = static_cast<char>(random());
            break;
        case 2: // a field set to an extreme
        {
            const char* values[] = {"\xFF\xFF\xFF\xFF", "\x00\x00\x00\x00", "\xFF\xFF\xFF\x7F",
                                    "\x00\x00\x00\x80"};
            const char* value = values[random() % 4];
            for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
                bytes[at + i] = value[i];
            break;
        }
        case 3: // cut short
            bytes.resize(at);
            break;
        case 4: // a piece repeated
        {
            const size_t length = std::min<size_t>(random() % 64, bytes.size() - at);
            bytes.insert(at, bytes.substr(at, length));
            break;
        }
        case 5: // a piece dropped
            bytes.erase(at, std::min<size_t>(random() % 64, bytes.size() - at));
            break;
        default: // a field near a signature
        {
            const size_t signature = bytes.find("PK", at);
            if (signature != std::string::npos && signature + 8 < bytes.size())
            {
                const size_t field = signature + 4 + random() % 42;
                if (field < bytes.size())
                    bytes[field] = static_cast<char>(random());
            }
            break;
        }
        }
    }
    return bytes;
}

// Opens and reads every entry the archive lists, through the file system
// (whole and in pieces) and through the zip reader.
void ReadEverything(const CTestFolder& folder, const std::wstring& path)
{
    std::vector<std::wstring> names;
    if (ZipHandle* zip = ZipOpenFile(path, "pw"))
    {
        ZipSetBaseFolder(zip, folder.Wide("x"));
        ZipEntryRecord count;
        ZipGetItem(zip, -1, &count);
        std::vector<uint8_t> buffer(4096);
        for (int i = 0; i < std::min(count.index, 64); ++i)
        {
            ZipEntryRecord record;
            if (ZipGetItem(zip, i, &record) != kZipSuccess)
                continue;
            names.push_back(record.name);
            // In pieces, as a caller with a small buffer does; bounded, so a
            // lying size cannot keep it going.
            for (int piece = 0; piece < 300; ++piece)
            {
                if (ZipUnzipToMemory(zip, i, buffer.data(), buffer.size()) != kZipMoreData)
                    break;
            }
            ZipUnzipToFile(zip, i, std::to_wstring(i));
        }
        int found = -1;
        ZipFindItem(zip, L"*.TXT", &found, nullptr, true);
        ZipClose(zip);
    }

    CFileSystem files(nullptr, true);
    files.AddSearchZip(path, true, 0, "pw");
    names.push_back(L"a.txt");
    names.push_back(L"deflated/big.bin");
    for (const std::wstring& name : names)
    {
        for (bool whole : {true, false})
        {
            CFilePtr file(files.OpenFile(name));
            if (!file)
                continue;
            const long size = file->getSize();
            ASSERT_GE(size, 0);
            std::string bytes(static_cast<size_t>(std::min<long>(size, kMaxRead)) + 1, '\0');
            const uint32_t want = whole ? static_cast<uint32_t>(bytes.size()) : 100;
            const int got = file->read(bytes.data(), want);
            ASSERT_LE(got, size);
            file->seek(size / 2);
            file->read(bytes.data(), want);
        }
    }
    CFileFinder finder(&files, L"*");
    for (bool more = files.FindFirst(finder); more; more = finder.FindNext())
        ;
}

TEST(ZipMutationFuzz, MutatedArchivesNeverCrashLeakOrHang)
{
    CTestFolder folder;
    const std::string seed = Seed(folder);
    std::mt19937 random(20261209);
    for (int run = 0; run < kMutants; ++run)
    {
        const std::string name = "m" + std::to_string(run % 4) + ".zip";
        folder.Write(name, Mutate(seed, random));
        const std::wstring path = folder.Wide(name);
        ReadEverything(folder, path);

        CApplication app;
        const std::wstring out = folder.Wide("out");
        app.AddSearchZipDecompressed(path, out, true, 0, "pw");
        std::error_code ignored;
        std::filesystem::remove_all(folder.Path() / "out", ignored);
        ASSERT_FALSE(::testing::Test::HasFatalFailure()) << "mutant " << run;
    }
    // Nothing was written outside the folders meant for it.
    for (const auto& item : std::filesystem::directory_iterator(folder.Path()))
    {
        const std::string leaf = item.path().filename().string();
        EXPECT_TRUE(leaf == "seed.zip" || leaf == "x" ||
                    (leaf[0] == 'm' && item.path().extension() == ".zip"))
            << leaf;
    }
}

} // namespace
