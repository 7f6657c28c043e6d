// A short seeded mutation run over the archive readers: valid text (all
// four encodings), BINARY and COMPRESSED archives of option, language and
// record files are mutated and read back through the option store, the
// language store, the archive handle and a text archive with a translation
// table. A read may succeed or fail with the archive's error; it must never
// crash (the sanitizers watch), hang (a watchdog aborts) or take gigabytes.

#include "ArchiveTestUtil.h"

#include "core/foundation/StringConversion.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/ArchiveText.h"
#include "core/io/Language.h"
#include "core/io/Options.h"
#include "core/io/TextValue.h"
#include "core/io/Uuid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

using Misc::Serialization::CArchiveHandle;
using Misc::Serialization::CArchiveText;
using Misc::Serialization::IArchive;
using namespace ArchiveTest;

namespace
{

// A record that takes every read path: tokens, tests, every number type,
// single characters and the nested records.
class CFuzzRecord final : public Misc::Serialization::ISerializable
{
public:
    bool Write(IArchive& archive) override
    {
        archive.WriteString("Unit{");
        archive.EndLine(+1);
        id.Write(archive);
        name.Write(archive);
        archive.WriteString("-Numbers");
        archive.WriteSpaces(1);
        archive.WriteFloat(1.5f, 6);
        archive.WriteSpaces(1);
        archive.WriteDouble(-2.25, 8);
        archive.WriteSpaces(1);
        archive.WriteShort(-7);
        archive.WriteSpaces(1);
        archive.WriteUShort(65000);
        archive.WriteSpaces(1);
        archive.WriteInt(-123456);
        archive.WriteSpaces(1);
        archive.WriteUInt(4000000000u);
        archive.WriteSpaces(1);
        archive.WriteChar('Q');
        archive.WriteSpaces(1);
        archive.WriteUChar(200);
        archive.EndLine(0);
        archive.WriteKeyBool("-Visible", true);
        archive.WriteComment(" a comment ");
        archive.EndLine(0);
        data.Write(archive);
        archive.EndLine(-1);
        archive.WriteString("}");
        archive.EndLine(0);
        return true;
    }
    bool Read(IArchive& archive) override
    {
        archive.ExpectToken("Unit{");
        id.Read(archive);
        if (!name.Read(archive))
            return false;
        float f;
        double d;
        int16_t s;
        uint16_t us;
        int32_t i;
        uint32_t u;
        int8_t c;
        uint8_t uc;
        bool b;
        archive.ExpectToken("-Numbers");
        archive.ReadFloat(f);
        archive.ReadDouble(d);
        archive.ReadShort(s);
        archive.ReadUShort(us);
        archive.ReadInt(i);
        archive.ReadUInt(u);
        archive.ReadChar(c);
        archive.ReadUChar(uc);
        archive.ReadKeyBool("-Visible", b);
        data.Read(archive);
        archive.TestToken("}", true);
        archive.ExpectToken("}");
        return true;
    }
    const char* GetTypeName() const override { return "KVOUNIT"; }

    CUuid id;
    CTextValue name{L"-Name"};
    CDataBag data;
};

class CFuzzFile final : public Misc::Serialization::ISerializable
{
public:
    bool Write(IArchive& archive) override
    {
        archive.WriteKeyULong("-Count", static_cast<uint32_t>(records.size()));
        for (auto& record : records)
            record.Write(archive);
        return true;
    }
    bool Read(IArchive& archive) override
    {
        uint32_t count = 0;
        archive.ReadKeyULong("-Count", count);
        // Counts from the file are untrusted: read at most what was written.
        for (uint32_t i = 0; i < count && i < 4; ++i)
        {
            CFuzzRecord record;
            if (!record.Read(archive))
                return false;
        }
        return true;
    }
    const char* GetTypeName() const override { return "KVOUNIT"; }

    std::vector<CFuzzRecord> records;
};

// Texts that stress the quoting, the encodings and the string table.
const std::wstring kValues[] = {
    L"plain",
    L"a b\\",
    L"say \"hi\"",
    L"two\nlines",
    L"cr\rin",
    L"\v\f",
    L"caf\u00e9 \U0001F600",
    L"#menu#quit",
    L"",
    L"C:\\Program Files\\",
    L"/x",
    L"quote\"\nnext",
    L"plain",
};

struct SSeed
{
    std::string kind; // "options", "language" or "records"
    std::string bytes;
};

std::vector<SSeed> MakeSeeds(const CTestFolder& folder)
{
    std::vector<SSeed> seeds;
    for (const char* mode : {"UTF8", "UTF16", "UTF16BE", "ansi", "BINARY", "COMPRESSED"})
    {
        COptions options;
        CLanguage language;
        CFuzzFile records;
        records.records.resize(2);
        for (size_t i = 0; i < std::size(kValues); ++i)
        {
            options.Set(L"[o][" + std::to_wstring(i) + L"]", kValues[i]);
            language.Set(L"menu", kValues[i], kValues[(i + 1) % std::size(kValues)]);
            records.records[i % 2].data.Set(kValues[i], kValues[i]);
        }
        records.records[0].name.SetValue(L"#menu#quit");
        records.records[1].name.SetValue(L"a \"name\"\\");
        options.Save(folder.Wide("seed"), mode);
        seeds.push_back({"options", folder.Read("seed")});
        language.Save(folder.Wide("seed"), mode);
        seeds.push_back({"language", folder.Read("seed")});
        Misc::Serialization::SaveSerializable(records, folder.Wide("seed"), mode);
        seeds.push_back({"records", folder.Read("seed")});
    }
    return seeds;
}

// Bytes that mean something to one of the readers.
const uint8_t kInteresting[] = {0x00, 0xFF, '\r', '\n', '\t', '\v', '"',  '\\', '/',  '*',  '{',
                                '}',  '#',  0x7F, 0x80, 0xC3, 0xE2, 0xF4, 0xF8, 0xD8, 0xDC, 0xFE,
                                0xEF, 11,   12,   13,   14,   1,    5,    9,    10};
const uint32_t kInterestingWords[] = {0,          1,          2,     0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                      0x00FFFFFF, 0x01000000, 65536, 65537,      1000};

std::string Mutate(std::string bytes, std::mt19937& random)
{
    const auto below = [&](size_t n) { return n == 0 ? size_t(0) : static_cast<size_t>(random() % n); };
    const int edits = 1 + static_cast<int>(below(4));
    for (int edit = 0; edit < edits; ++edit)
    {
        const size_t at = below(bytes.size() + 1);
        switch (below(8))
        {
        case 0: // flip a bit
            if (at < bytes.size())
                bytes[at] = static_cast<char>(bytes[at] ^ (1 << below(8)));
            break;
        case 1: // an interesting byte
            if (at < bytes.size())
                bytes[at] = static_cast<char>(kInteresting[below(std::size(kInteresting))]);
            break;
        case 2: // insert bytes
        {
            std::string inserted;
            for (size_t n = 1 + below(8); n > 0; --n)
                inserted +=
                    static_cast<char>(below(2) ? kInteresting[below(std::size(kInteresting))] : random());
            bytes.insert(at, inserted);
            break;
        }
        case 3: // delete a range
            bytes.erase(at, 1 + below(16));
            break;
        case 4: // cut the file
            bytes.resize(at);
            break;
        case 5: // copy a chunk elsewhere
        {
            const size_t from = below(bytes.size());
            const std::string chunk = bytes.substr(from, 1 + below(64));
            bytes.insert(below(bytes.size() + 1), chunk);
            break;
        }
        case 6: // a 32-bit little-endian word (counts, references)
            if (at + 4 <= bytes.size())
            {
                const uint32_t word = kInterestingWords[below(std::size(kInterestingWords))];
                for (int i = 0; i < 4; ++i)
                    bytes[at + static_cast<size_t>(i)] = static_cast<char>((word >> (8 * i)) & 0xFF);
            }
            break;
        default: // swap two bytes
            if (!bytes.empty())
                std::swap(bytes[below(bytes.size())], bytes[below(bytes.size())]);
            break;
        }
    }
    return bytes;
}

// A read-only file over bytes in memory, so the run spends its time in the
// readers rather than on the disk.
class CMemoryFile : public IFile
{
public:
    explicit CMemoryFile(const std::string& bytes) : m_bytes(bytes) {}

    int32_t read(void* buffer, uint32_t sizeToRead) override
    {
        const size_t count = std::min<size_t>(sizeToRead, m_bytes.size() - m_position);
        std::memcpy(buffer, m_bytes.data() + m_position, count);
        m_position += count;
        return static_cast<int32_t>(count);
    }
    int32_t write(const void*, uint32_t) override { return 0; }
    bool seek(long finalPos, bool relativeMovement = false) override
    {
        const long target = relativeMovement ? static_cast<long>(m_position) + finalPos : finalPos;
        if (target < 0 || static_cast<size_t>(target) > m_bytes.size())
            return false;
        m_position = static_cast<size_t>(target);
        return true;
    }
    long getSize() const override { return static_cast<long>(m_bytes.size()); }
    long getPos() const override { return static_cast<long>(m_position); }
    const std::string& getFileName() const override { return m_name; }
    const wchar_t* GetFileNameW() const override { return m_path.c_str(); }
    const std::wstring& GetPath() const override { return m_path; }
    bool IsOk() const override { return true; }

private:
    std::string m_bytes;
    size_t m_position = 0;
    std::string m_name = "mutated";
    std::wstring m_path = L"mutated";
};

// Files of the engine's own formats are bounded before anything is read:
// a zip entry declares its size, and a small entry may inflate to a huge
// one.
TEST(ArchiveLimits, FilesLargerThanTheLimitAreRefusedBeforeTheyAreRead)
{
    class CHugeFile : public CMemoryFile
    {
    public:
        CHugeFile() : CMemoryFile("KVOBIN") {}
        long getSize() const override { return CArchiveHandle::kMaxReadSize + 1; }
    };
    const CFilePtr huge(new CHugeFile);
    try
    {
        Misc::Serialization::CArchiveHandle archive(huge.get(), false, "KVOGUI", 0);
        ADD_FAILURE() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_NE(error.GetMessageUtf8().find("File too large to read: mutated"), std::string::npos)
            << error.GetMessageUtf8();
    }
}

// Reads the bytes the way the engine would for their kind; the archive's
// errors are an answer, anything else fails the test.
void ReadAs(const std::string& kind, const std::string& bytes, const CLanguage& translation)
{
    const CFilePtr file(new CMemoryFile(bytes));
    try
    {
        if (kind == "options")
        {
            COptions options;
            options.Load(file.get());
        }
        else if (kind == "language")
        {
            CLanguage language;
            language.Load(file.get());
        }
        else
        {
            CFuzzFile records;
            Misc::Serialization::LoadSerializable(records, file.get(), &translation);
            // The same bytes as text with the translation table.
            file->seek(0);
            CArchiveText text(file.get(), false, "KVOUNIT", 1, &translation);
            records.Read(text);
        }
    }
    catch (const Misc::Error::CKVOError&)
    {
    }
}

// Aborts the process when the run has not finished by the deadline: a
// reader that stops advancing shows as this message, not as a silent hang.
class CWatchdog
{
public:
    explicit CWatchdog(std::chrono::seconds limit, const std::atomic<long>& progress)
        : m_thread(
              [this, limit, &progress]
              {
                  std::unique_lock<std::mutex> lock(m_mutex);
                  if (!m_done.wait_for(lock, limit, [this] { return m_finished; }))
                  {
                      std::fprintf(stderr, "archive fuzz: no end after %lld s, at iteration %ld\n",
                                   static_cast<long long>(limit.count()), progress.load());
                      std::abort();
                  }
              })
    {
    }
    ~CWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

} // namespace

TEST(ArchiveFuzz, MutatedArchivesReadOrFailCleanly)
{
    CTestFolder folder;
    const std::vector<SSeed> seeds = MakeSeeds(folder);
    CLanguage translation;
    translation.Set(L"menu", L"quit", L"Quit");
    translation.Set(L"menu", L"long", std::wstring(4096, L'x'));

    // The seeds themselves read back.
    for (const SSeed& seed : seeds)
        ReadAs(seed.kind, seed.bytes, translation);

    // A longer run by hand: HALVANE_FUZZ_SECONDS=600 HALVANE_FUZZ_SEED=7.
    const char* seconds = std::getenv("HALVANE_FUZZ_SECONDS");
    const char* seedText = std::getenv("HALVANE_FUZZ_SEED");
    const long budgetSeconds = seconds ? std::atol(seconds) : 4;
    const long maxIterations = seconds ? 1L << 40 : 20000;
    std::mt19937 random(seedText ? static_cast<unsigned>(std::atol(seedText)) : 20261210u);
    std::atomic<long> iteration{0};
    const CWatchdog watchdog(std::chrono::seconds(120 + budgetSeconds), iteration);
    const auto start = std::chrono::steady_clock::now();
    const auto budget = std::chrono::seconds(budgetSeconds);
    // At least 201 mutants whatever the machine's load; then as many as the
    // budget allows.
    const long minimumIterations = 201;
    for (; iteration < maxIterations &&
           (iteration < minimumIterations || std::chrono::steady_clock::now() - start < budget);
         ++iteration)
    {
        const SSeed& seed = seeds[random() % seeds.size()];
        ReadAs(seed.kind, Mutate(seed.bytes, random), translation);
    }
    EXPECT_GT(iteration.load(), 200);

    // No read took gigabytes (the sanitizers' own memory included).
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 1536L * 1024) << "peak resident KiB";
    std::printf("archive fuzz: %ld mutated archives read\n", iteration.load());
}

namespace
{

// Pieces of text that mean something to the token rule, the number
// parsers, the quoting rule or the comment rule, and the blanks between.
const char* const kPieces[] = {
    "Gui{", "}", "Checkbox{", "-Position", "-IdName", "box12", "1.500000", "-0.000000", "18.000000", "0.1",
    "16777217", "123456789012345678901", "-7", "007", "00", "0x1F", "+5", "1e5", "nan", "-inf", "1.", ".5",
    "-", "4294967295", "-2147483649", "3.4028236e38", "1e-45", "\"quoted text\"", "\"say \\\"hi\\\" x\"",
    "\"ends\\\\\"\r\n\t", "\"two\r\nlines\"", "\"open", "// comment\n", "/* block\r\n comment */", "/", "/*",
    "*/", "\"", "\\", "a/b", "x\"y", "{", "a,b", "TabStopInfo{",
    // Carriage returns inside tokens, which the reader drops.
    "Gu\ri{", "-Posi\rtion", "1.\r5", "bo\rx12", "\"a\r\"", "}\r"};
const char* const kBlanks[] = {" ", "\t", "\r\n", "\n", "\r", "\v", "\f", "\r\n\t\t", ""};
const char* const kWords[] = {"Gui{", "}", "Checkbox{", "-Position", "-IdName", "/", "\"", "1.5", "", "box"};

// ASCII text of pieces, blanks and now and then any byte below 0x80.
std::string MakeAsciiText(std::mt19937& random, size_t pieces)
{
    std::string text;
    for (size_t i = 0; i < pieces; ++i)
    {
        if (random() % 16 == 0)
            text += static_cast<char>(random() % 0x80);
        else
            text += kPieces[random() % std::size(kPieces)];
        text += kBlanks[random() % std::size(kBlanks)];
    }
    return text;
}

// Reads `bytes` with a series of reads drawn from `seed` and writes down
// every answer (values, results, line numbers, the error that ends it).
std::string ReadLog(const std::string& bytes, unsigned seed)
{
    std::mt19937 random(seed);
    const CFilePtr file(new CMemoryFile(bytes));
    CArchiveText archive(file.get(), false, "", 0);
    std::string log;
    const auto note = [&log, &archive](const std::string& entry)
    { log += entry + "@" + std::to_string(archive.GetLineNumber()) + "\n"; };
    try
    {
        for (int step = 0; step < 100000; ++step)
        {
            const bool more = archive.SkipBlanks();
            note(more ? "more" : "end");
            if (!more && random() % 4 == 0)
                break;
            const char* word = kWords[random() % std::size(kWords)];
            switch (random() % 16)
            {
            case 0:
            {
                std::wstring value;
                note(std::to_string(archive.ReadWString(value)) + Misc::Text::WideToUtf8(value));
                break;
            }
            case 1:
            {
                std::string value;
                note(std::to_string(archive.ReadString(value)) + value);
                break;
            }
            case 2:
                note(archive.ReadToken(nullptr));
                break;
            case 3:
                note(archive.ReadToken(",}"));
                break;
            case 4:
                note(Misc::Text::WideToUtf8(archive.ReadWToken(L"{")));
                break;
            case 5:
            {
                float value = 0.25f;
                const bool read = archive.ReadFloat(value);
                uint32_t bits = 0;
                std::memcpy(&bits, &value, sizeof bits);
                note(std::to_string(read) + "f" + std::to_string(bits));
                break;
            }
            case 6:
            {
                int32_t value = 3;
                note(std::to_string(archive.ReadLong(value)) + "l" + std::to_string(value));
                break;
            }
            case 7:
            {
                uint32_t value = 3;
                note(std::to_string(archive.ReadULong(value)) + "u" + std::to_string(value));
                break;
            }
            case 8:
            {
                int16_t value = 3;
                note(std::to_string(archive.ReadShort(value)) + "s" + std::to_string(value));
                break;
            }
            case 9:
            {
                uint8_t value = 3;
                note(std::to_string(archive.ReadUChar(value)) + "c" + std::to_string(value));
                break;
            }
            case 10:
            {
                int8_t value = 3;
                note(std::to_string(archive.ReadChar(value)) + "C" + std::to_string(value));
                break;
            }
            case 11:
            {
                bool value = false;
                note(std::to_string(archive.ReadBool(value)) + "b" + std::to_string(value));
                break;
            }
            case 12:
            case 13:
            {
                const bool peek = random() % 2 == 0;
                note(std::to_string(archive.TestToken(word, peek)) + "t" + word);
                break;
            }
            case 14:
                note(std::to_string(archive.TestWToken(Misc::Text::Utf8ToWide(word).c_str())) + "w" + word);
                break;
            default:
                if (random() % 8 == 0)
                    note(std::to_string(archive.ExpectToken(word)) + "e" + word);
                break;
            }
        }
    }
    catch (const Misc::Error::CKVOError& error)
    {
        note("error " + error.GetMessageUtf8());
    }
    return log;
}

// The same ASCII text in each encoding: 8-bit text is scanned in place in
// the reader's buffer, UTF-16 character by character.
std::string InEncoding(const std::string& text, const char* encoding)
{
    const std::string name = encoding;
    if (name == "ansi")
        return text;
    if (name == "UTF8")
        return "\xEF\xBB\xBF" + text;
    const bool big = name == "UTF16BE";
    std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text)
    {
        bytes += big ? '\0' : c;
        bytes += big ? c : '\0';
    }
    return bytes;
}

} // namespace

TEST(ArchiveFuzz, EightBitTextReadsAsTheSameTextInUtf16)
{
    // Short texts end inside the first buffer; long ones cross the reader's
    // buffer ends, where scans in place hand over to the character path.
    std::mt19937 random(20261211u);
    for (int round = 0; round < 60; ++round)
    {
        const std::string text = MakeAsciiText(random, round % 10 == 0 ? 24000 : 200);
        const unsigned reads = static_cast<unsigned>(random());
        const std::string expected = ReadLog(InEncoding(text, "UTF16LE"), reads);
        for (const char* encoding : {"ansi", "UTF8", "UTF16BE"})
            ASSERT_EQ(ReadLog(InEncoding(text, encoding), reads), expected) << encoding << " round " << round;
    }
}
