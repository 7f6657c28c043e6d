#include "ArchiveTestUtil.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/ArchiveText.h"
#include "core/io/FileStd.h"
#include "core/io/Language.h"
#include "core/io/Options.h"
#include "core/io/TextValue.h"
#include "core/io/Uuid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <utility>
#include <vector>

using Misc::Error::CKVOError;
using Misc::Serialization::CArchiveBin;
using Misc::Serialization::CArchiveHandle;
using Misc::Serialization::CArchiveText;
using Misc::Serialization::IArchive;
using namespace ArchiveTest;

namespace
{

// Writes through a text archive with the given encoding name and returns the bytes.
std::string WriteText(const CTestFolder& folder, const char* encoding,
                      const std::function<void(IArchive&)>& write, uint32_t version = 1030)
{
    {
        CArchiveText archive(folder.Wide("w.txt"), true, "KVOTEST", version, nullptr, encoding);
        EXPECT_TRUE(archive.IsOpen());
        write(archive);
        EXPECT_TRUE(archive.Close());
    }
    return folder.Read("w.txt");
}

const std::string kHeader = "KVOTEST\r\nVersion{\r\n\t-Version 1030\r\n\t\r\n}\r\n";

} // namespace

TEST(ArchiveText, OptionFileInEveryModeMatchesItsFixtureAndLoadsBack)
{
    CTestFolder folder;
    const struct
    {
        const char* mode;
        const char* fixture;
    } cases[] = {{"UTF8", "options_utf8.kvocfg"},
                 {"BINARY", "options_binary.kvocfg"},
                 {"COMPRESSED", "options_compressed.kvocfg"}};
    for (const auto& test : cases)
    {
        COptions options;
        options.Set(L"[a][b]", L"c");
        ASSERT_TRUE(options.Save(folder.Wide("o.kvocfg"), test.mode)) << test.mode;
        EXPECT_EQ(folder.Read("o.kvocfg"), Fixture(test.fixture)) << test.mode;

        folder.Write("in.kvocfg", Fixture(test.fixture));
        COptions loaded;
        const CFilePtr file = OpenRead(folder.Wide("in.kvocfg"));
        EXPECT_TRUE(loaded.Load(file.get())) << test.mode;
        std::wstring value;
        EXPECT_TRUE(loaded.Get(L"[a][b]", value));
        EXPECT_EQ(value, L"c");
    }
    // No temporary files are left beside the saves.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2u);
}

TEST(ArchiveText, EveryEncodingWritesItsMarkAndReadsBackThroughTheHandle)
{
    CTestFolder folder;
    const std::wstring text = L"caf\u00e9 \u4e2d\U0001F600";
    const struct
    {
        const char* name;
        std::string start; // the first bytes of the file
        int encoding;
    } cases[] = {
        {"UTF8", "\xEF\xBB\xBFKVOTEST", CArchiveText::kEncodingUtf8},
        {"utf8", "\xEF\xBB\xBFKVOTEST", CArchiveText::kEncodingUtf8},
        {"UTF16", std::string("\xFF\xFEK\0V\0", 6), CArchiveText::kEncodingUtf16LE},
        {"utf16le", std::string("\xFF\xFEK\0V\0", 6), CArchiveText::kEncodingUtf16LE},
        {"UTF16BE", std::string("\xFE\xFF\0K\0V", 6), CArchiveText::kEncodingUtf16BE},
        {"utf16be", std::string("\xFE\xFF\0K\0V", 6), CArchiveText::kEncodingUtf16BE},
        // Not in the table (names are case-sensitive): code-page text, no mark.
        {"Binary", "KVOTEST\r\n", CArchiveText::kEncodingAnsi},
        {"latin", "KVOTEST\r\n", CArchiveText::kEncodingAnsi},
    };
    for (const auto& test : cases)
    {
        CTextValue value(L"-Name");
        value.SetValue(text);
        EXPECT_EQ(CArchiveText::EncodingFromName(test.name), test.encoding);
        const std::string bytes =
            WriteText(folder, test.name, [&](IArchive& archive) { value.Write(archive); });
        EXPECT_EQ(bytes.substr(0, test.start.size()), test.start) << test.name;

        const CFilePtr file = OpenRead(folder.Wide("w.txt"));
        CArchiveHandle handle(file.get(), false, "KVOTEST", 1);
        ASSERT_TRUE(handle.IsOpen()) << test.name;
        CTextValue read(L"-Name");
        EXPECT_TRUE(read.Read(handle)) << test.name;
        EXPECT_EQ(read.GetValue(), text) << test.name;
    }
    // Plain text without a mark, written by hand: the bytes are UTF-8, the
    // quoted token keeps its accents and the character above U+FFFF.
    folder.Write("plain.txt", "KVOTEST Version{ -Version 1030 } -Name \"caf\xC3\xA9 \xF0\x9F\x98\x80\" "
                              "-Other \xC3\xA9t\xC3\xA9");
    const CFilePtr file = OpenRead(folder.Wide("plain.txt"));
    CArchiveHandle handle(file.get(), false, "KVOTEST", 1);
    std::wstring name, other;
    EXPECT_TRUE(handle.ReadKeyWString("-Name", name));
    EXPECT_TRUE(handle.ReadKeyWString("-Other", other));
    EXPECT_EQ(name, L"caf\u00e9 \U0001F600");
    EXPECT_EQ(other, L"\u00e9t\u00e9");
}

TEST(ArchiveText, QuotingRule)
{
    CTestFolder folder;
    const struct
    {
        std::wstring value;
        std::string written;
    } cases[] = {
        {L"", "\"\""},
        {L"plain", "plain"},
        {L"a b", "\"a b\""},
        {L"dir/file", "\"dir/file\""},
        {L"tab\there", "\"tab\there\""},
        {L"say \"hi\"", "\"say \\\"hi\\\"\""},
        {L"two\nlines", "\"two\r\nlines\""},
        {L"back\\slash", "back\\slash"},
        {L"a\\b c", "\"a\\b c\""},
    };
    for (const auto& test : cases)
    {
        const std::string bytes = WriteText(folder, "UTF8",
                                            [&](IArchive& archive)
                                            {
                                                archive.WriteWString(test.value, true);
                                                archive.WriteSpaces(1);
                                                archive.WriteString(std::string("end"), false);
                                            });
        EXPECT_EQ(bytes, "\xEF\xBB\xBF" + kHeader + test.written + " end") << test.written;

        CArchiveText archive(folder.Wide("w.txt"), false, "KVOTEST", 1);
        std::wstring read;
        EXPECT_TRUE(archive.ReadWString(read));
        EXPECT_EQ(read, test.value) << test.written;
        EXPECT_EQ(archive.GetString(), "end");
    }
    // Unquoted writes keep the text as it is.
    EXPECT_EQ(
        WriteText(folder, "UTF8", [](IArchive& archive) { archive.WriteString(std::string("a b"), false); }),
        "\xEF\xBB\xBF" + kHeader + "a b");
}

TEST(ArchiveText, NumbersAndLayout)
{
    CTestFolder folder;
    const std::string bytes = WriteText(folder, "UTF8",
                                        [](IArchive& archive)
                                        {
                                            archive.WriteString("Block{");
                                            archive.EndLine(+1);
                                            archive.WriteKeyFloat("-F", 1.0f / 3.0f);
                                            archive.WriteKeyInt("-I", -42);
                                            archive.WriteKeyLong("-L", 7);
                                            archive.WriteKeyULong("-U", 4000000000u);
                                            archive.WriteKeyBool("-B", true);
                                            archive.WriteKeyString("-S", "x y");
                                            archive.WriteKeyWString("-W", L"\u00e9");
                                            archive.WriteDouble(0.1, 3);
                                            archive.WriteSpaces(2);
                                            archive.WriteDouble(123456789.0, 4);
                                            archive.WriteSpaces(1);
                                            archive.WriteShort(-3);
                                            archive.WriteSpaces(1);
                                            archive.WriteUShort(65535);
                                            archive.WriteSpaces(1);
                                            archive.WriteChar('A');
                                            archive.WriteSpaces(1);
                                            archive.WriteUChar(200);
                                            archive.WriteComment("note");
                                            archive.EndLine(-1);
                                            archive.WriteString("}");
                                            archive.EndLine(0);
                                        });
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" + kHeader +
                         "Block{\r\n\t-F 0.333333\r\n\t-I -42\r\n\t-L 7\r\n\t-U 4000000000\r\n\t-B 1\r\n"
                         "\t-S \"x y\"\r\n\t-W \xC3\xA9\r\n\t0.1  1.235e+08 -3 65535 A 200/*note*/\r\n}\r\n");

    CArchiveText archive(folder.Wide("w.txt"), false, "KVOTEST", 1);
    float f = 0;
    int32_t i = 0;
    uint32_t u = 0;
    bool b = false;
    std::string s;
    std::wstring w;
    double d = 0;
    int16_t sh = 0;
    uint16_t us = 0;
    int8_t c = 0;
    uint8_t uc = 0;
    archive.ExpectToken("Block{");
    EXPECT_TRUE(archive.ReadKeyFloat("-F", f));
    EXPECT_NEAR(f, 1.0f / 3.0f, 1e-6);
    EXPECT_TRUE(archive.ReadKeyInt("-I", i));
    EXPECT_EQ(i, -42);
    EXPECT_TRUE(archive.ReadKeyUInt("-L", u));
    EXPECT_EQ(u, 7u);
    EXPECT_TRUE(archive.ReadKeyULong("-U", u));
    EXPECT_EQ(u, 4000000000u);
    EXPECT_TRUE(archive.ReadKeyBool("-B", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(archive.ReadKeyString("-S", s));
    EXPECT_EQ(s, "x y");
    EXPECT_TRUE(archive.ReadKeyWString("-W", w));
    EXPECT_EQ(w, L"\u00e9");
    EXPECT_TRUE(archive.ReadDouble(d));
    EXPECT_EQ(d, static_cast<double>(0.1f)); // doubles read back at float precision
    EXPECT_TRUE(archive.ReadDouble(d));
    EXPECT_EQ(d, static_cast<double>(1.235e+08f));
    EXPECT_TRUE(archive.ReadShort(sh) && archive.ReadUShort(us) && archive.ReadChar(c) &&
                archive.ReadUChar(uc));
    EXPECT_EQ(sh, -3);
    EXPECT_EQ(us, 65535);
    EXPECT_EQ(c, 'A');
    EXPECT_EQ(uc, 200);
    EXPECT_TRUE(archive.TestToken("}")); // the comment is skipped
}

TEST(ArchiveText, NumberTokensByHand)
{
    CTestFolder folder;
    // A number written right before "}" takes the brace with it; "%i"
    // reads hexadecimal and octal; text that holds no number fails.
    folder.Write("n.txt", "KVOTEST 5} 0x1F 010 -7 abc -1 2.5e1x next");
    CArchiveText archive(folder.Wide("n.txt"), false, "KVOTEST", 0);
    int32_t i = 0;
    uint32_t u = 0;
    float f = 0;
    EXPECT_TRUE(archive.ReadInt(i));
    EXPECT_EQ(i, 5);
    EXPECT_TRUE(archive.ReadInt(i));
    EXPECT_EQ(i, 31);
    EXPECT_TRUE(archive.ReadInt(i));
    EXPECT_EQ(i, 8);
    EXPECT_TRUE(archive.ReadInt(i));
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(archive.ReadInt(i));
    EXPECT_EQ(i, -7);
    EXPECT_TRUE(archive.ReadUInt(u));
    EXPECT_EQ(u, 0xFFFFFFFFu);
    EXPECT_TRUE(archive.ReadFloat(f));
    EXPECT_EQ(f, 25.0f);
    EXPECT_EQ(archive.GetString(), "next");
    EXPECT_FALSE(archive.ReadInt(i)); // end of input
    std::wstring kept = L"keep";
    EXPECT_FALSE(archive.ReadWString(kept));
    EXPECT_EQ(kept, L"keep");
}

TEST(ArchiveText, NumbersReadAsTheCLibraryReadsThem)
{
    // Floats and integers as saves write them and as hands do, rounding
    // cases and overflow included, against strtof, strtoll (base 0) and
    // strtoull (base 10).
    std::vector<std::string> floats = {"0.1",
                                       "0.3",
                                       "16777216",
                                       "16777217",
                                       "16777217.000000",
                                       "33554431",
                                       "-0.000000",
                                       "0.000000",
                                       "1.000000",
                                       "123456.789",
                                       "0.0000001",
                                       "3.4028235",
                                       "8388608.5",
                                       "8388609.5",
                                       "7.0000005",
                                       "1.00000005960464477539",
                                       "0.5000000596046448",
                                       "340282346638528859811704183484516925440.000000",
                                       "999999999999999999999999999999999999999999",
                                       "0.00000000000000000000000000000000000000000001",
                                       "000000000000000000000.5",
                                       "1e5",
                                       "-.5",
                                       "1.",
                                       "0x1p3",
                                       "nan",
                                       "-inf",
                                       "5abc",
                                       "--1"};
    std::vector<std::string> integers = {"0",
                                         "-0",
                                         "00",
                                         "0777",
                                         "-0x10",
                                         "123456789012345678",
                                         "1234567890123456789",
                                         "-99999999999999999999",
                                         "4294967296",
                                         "-1",
                                         "+7",
                                         "12abc",
                                         "007"};
    std::mt19937 random(7u);
    const auto digits = [&random](size_t count)
    {
        std::string text;
        for (size_t i = 0; i < count; ++i)
            text += static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int i = 0; i < 5000; ++i)
    {
        const std::string sign = random() % 3 == 0 ? "-" : "";
        const size_t decimals = random() % 10;
        floats.push_back(sign + digits(1 + random() % 10) + (decimals > 0 ? "." + digits(decimals) : ""));
        integers.push_back(sign + digits(1 + random() % 20));
    }
    std::string text = "KVOTEST";
    for (const auto& list : {floats, integers, integers})
    {
        for (const std::string& token : list)
            text += " " + token;
    }
    CTestFolder folder;
    folder.Write("n.txt", text);
    CArchiveText archive(folder.Wide("n.txt"), false, "KVOTEST", 0);
    for (const std::string& token : floats)
    {
        float value = 0.0f;
        char* end = nullptr;
        const float expected = std::strtof(token.c_str(), &end);
        const bool parsed = end != token.c_str();
        ASSERT_EQ(archive.ReadFloat(value), parsed) << token;
        if (parsed)
        {
            EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << token << " read as " << value;
        }
    }
    for (const std::string& token : integers)
    {
        int32_t value = 0;
        ASSERT_TRUE(archive.ReadLong(value)) << token;
        EXPECT_EQ(value, static_cast<int32_t>(static_cast<uint32_t>(std::strtoll(token.c_str(), nullptr, 0))))
            << token;
    }
    for (const std::string& token : integers)
    {
        uint32_t value = 0;
        ASSERT_TRUE(archive.ReadULong(value)) << token;
        EXPECT_EQ(value, static_cast<uint32_t>(std::strtoull(token.c_str(), nullptr, 10))) << token;
    }
}

TEST(ArchiveText, CommentsAreSkippedAndLinesCounted)
{
    CTestFolder folder;
    folder.Write("c.txt", "KVOTEST // the tag\r\n"
                          "Version{ /* a block\r\ncomment */ -Version 1020\r\n"
                          "}\r\n"
                          "// line 4\r\n"
                          "-Key/*x*/value\r\n"
                          "/a\r\n"
                          "-Wrong");
    CArchiveText archive(folder.Wide("c.txt"), false, "KVOTEST", 1);
    EXPECT_EQ(archive.GetVersion(), 1020u);
    std::string value;
    EXPECT_TRUE(archive.ReadKeyString("-Key", value));
    EXPECT_EQ(value, "value");
    EXPECT_EQ(archive.GetString(), "/a"); // a lone "/" starts a token
    EXPECT_EQ(ErrorOf([&] { archive.ExpectToken("-Right"); }),
              "Error reading:" + (folder / "c.txt") + ", Line: 8, Expected:-Right");

    // A block comment left open runs to the end of the input.
    folder.Write("open.txt", "KVOTEST /* never closed");
    CArchiveText open(folder.Wide("open.txt"), false, "KVOTEST", 0);
    EXPECT_FALSE(open.SkipBlanks());
    EXPECT_FALSE(open.TestToken("x"));
}

TEST(ArchiveText, TestTokenPeeksAndConsumes)
{
    CTestFolder folder;
    folder.Write("t.txt", "KVOTEST Joint{ -Name x }");
    CArchiveText archive(folder.Wide("t.txt"), false, "KVOTEST", 0);
    EXPECT_FALSE(archive.TestToken("Other{"));
    EXPECT_TRUE(archive.TestToken("Joint{", true));
    EXPECT_TRUE(archive.TestToken("Joint{"));
    CTextValue wrong(L"-Script");
    EXPECT_FALSE(wrong.Read(archive));
    CTextValue name(L"-Name");
    EXPECT_TRUE(name.Read(archive));
    EXPECT_EQ(name.GetValue(), L"x");
    EXPECT_TRUE(archive.TestWToken(L"}"));
    EXPECT_FALSE(archive.TestToken("}"));
}

// A test for a key matches the whole key, in the buffered ASCII path and in
// the character path (UTF-16 text), never the start of a longer one.
TEST(ArchiveText, TestTokenMatchesWholeKeys)
{
    CTestFolder folder;
    const std::string ascii = "KVOTEST -IconHighlightColor -Icon\r\n-Icon_2 -Ic{ Item{x";
    std::string utf16 = "\xff\xfe";
    for (char c : ascii)
        utf16 += std::string{c, '\0'};
    for (const auto& [name, text] : {std::pair{"ascii.txt", ascii}, std::pair{"utf16.txt", utf16}})
    {
        folder.Write(name, text);
        CArchiveText archive(folder.Wide(name), false, "KVOTEST", 0);
        EXPECT_FALSE(archive.TestToken("-Icon", true)) << name;
        EXPECT_FALSE(archive.TestWToken(L"-Icon", true)) << name;
        EXPECT_TRUE(archive.TestToken("-IconHighlightColor")) << name;
        EXPECT_TRUE(archive.TestToken("-Icon")) << name;
        EXPECT_FALSE(archive.TestToken("-Icon")) << name;
        EXPECT_TRUE(archive.TestToken("-Icon_2")) << name;
        // A text that ends in a bracket needs no end of word after it.
        EXPECT_TRUE(archive.TestToken("-Ic{")) << name;
        EXPECT_TRUE(archive.TestToken("Item{")) << name;
        EXPECT_TRUE(archive.TestToken("x")) << name;
    }
}

TEST(ArchiveText, VersionGatesAndHeaderErrors)
{
    CTestFolder folder;
    WriteText(
        folder, "UTF8", [](IArchive&) {}, 1020);
    const std::string file = folder / "w.txt";
    {
        CArchiveText archive(folder.Wide("w.txt"), false, "KVOTEST", 1);
        EXPECT_EQ(archive.GetVersion(), 1020u);
        EXPECT_TRUE(archive.IsVersionAtLeast(1019));
        EXPECT_FALSE(archive.IsVersionAtLeast(1024));
    }
    EXPECT_EQ(ErrorOf([&] { CArchiveText archive(folder.Wide("w.txt"), false, "KVOTEST", 1024); }),
              "Error reading:" + file + ", Minimum expected version: 1024, Received:1020");
    EXPECT_EQ(ErrorOf([&] { CArchiveText archive(folder.Wide("w.txt"), false, "KVOOPTIONS", 1); }),
              "Error reading:" + file + ", Line: 1, Expected:KVOOPTIONS");

    // A stored version of 0 is accepted whatever the minimum and opens every gate.
    folder.Write("zero.txt", "KVOTEST\r\nVersion{\r\n\t-Version 0\r\n}\r\n");
    CArchiveText zero(folder.Wide("zero.txt"), false, "KVOTEST", 1030);
    EXPECT_TRUE(zero.IsVersionAtLeast(99999));

    folder.Write("bad.txt", "KVOTEST\r\nVersion{\r\n\t-Version new\r\n}\r\n");
    EXPECT_EQ(ErrorOf([&] { CArchiveText archive(folder.Wide("bad.txt"), false, "KVOTEST", 1); }),
              "Error reading:" + (folder / "bad.txt") + ", Line: 4, Expected:-Version number");

    // Without a data name there is no header at all.
    {
        CArchiveText archive(folder.Wide("empty.txt"), true, "", 1030, nullptr, "UTF16BE");
    }
    EXPECT_EQ(folder.Read("empty.txt"), "\xFE\xFF");

    EXPECT_EQ(ErrorOf([] { CArchiveText none(nullptr, false, "KVOTEST", 1); }),
              "[CArchiveText::open] Invalid input file handle");
    CArchiveText missing(folder.Wide("missing.txt"), false, "KVOTEST", 1);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(ErrorOf([&] { missing.getDataName(); }), "[CArchiveText::getDataName] Invalid file handle");
}

TEST(ArchiveText, TruncatedTextFailsClearly)
{
    CTestFolder folder;
    const std::string full = Fixture("options_utf8.kvocfg");
    // Every cut of the option file either loads whole (only the last line
    // end is missing) or throws the archive's "Expected" error; none hangs.
    for (size_t cut = 0; cut < full.size(); ++cut)
    {
        folder.Write("cut.kvocfg", full.substr(0, cut));
        COptions options;
        const CFilePtr file = OpenRead(folder.Wide("cut.kvocfg"));
        const std::string error = ErrorOf([&] { options.Load(file.get()); });
        if (error == "(no error)")
            EXPECT_TRUE(cut >= full.size() - 2 && options.GetCount() == 1) << cut;
        else
            EXPECT_EQ(error.find("Error reading:"), 0u) << cut << ": " << error;
    }
    folder.Write("cut.kvocfg", full.substr(0, full.size() - 5));
    COptions options;
    const CFilePtr file = OpenRead(folder.Wide("cut.kvocfg"));
    EXPECT_EQ(ErrorOf([&] { options.Load(file.get()); }),
              "Error reading:" + (folder / "cut.kvocfg") + ", Line: 9, Expected:}");
}

namespace
{

// A world-like record: id, name, position, flags and script data.
class CRecord final : public Misc::Serialization::ISerializable
{
public:
    bool Write(IArchive& archive) override
    {
        archive.WriteString("Unit{");
        archive.EndLine(+1);
        id.Write(archive);
        name.Write(archive);
        archive.WriteString("-Position");
        for (float v : position)
        {
            archive.WriteSpaces(1);
            archive.WriteFloat(v, 6);
        }
        archive.EndLine(0);
        archive.WriteKeyULong("-Flags", flags);
        archive.WriteKeyBool("-Visible", visible);
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
        name.Read(archive);
        archive.ExpectToken("-Position");
        for (float& v : position)
            archive.ReadFloat(v);
        archive.ReadKeyULong("-Flags", flags);
        archive.ReadKeyBool("-Visible", visible);
        data.Read(archive);
        archive.ExpectToken("}");
        return true;
    }
    const char* GetTypeName() const override { return "KVOUNIT"; }

    CUuid id;
    CTextValue name{L"-Name"};
    float position[3] = {0, 0, 0};
    uint32_t flags = 0;
    bool visible = false;
    CDataBag data;
};

class CWorld final : public Misc::Serialization::ISerializable
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
        records.resize(count);
        for (auto& record : records)
            record.Read(archive);
        return true;
    }
    const char* GetTypeName() const override { return "KVOWORLD"; }

    std::vector<CRecord> records;
};

} // namespace

TEST(ArchiveRoundTrip, TextToBinaryToCompressedToTextIsIdentical)
{
    CTestFolder folder;
    CWorld world;
    world.records.resize(3);
    for (size_t i = 0; i < world.records.size(); ++i)
    {
        CRecord& record = world.records[i];
        record.name.SetValue(i == 1 ? L"name with \"quotes\" and sp\u00e4ce" : L"unit" + std::to_wstring(i));
        record.position[0] = 1.5f * static_cast<float>(i);
        record.position[1] = -0.25f;
        record.position[2] = 1e6f;
        record.flags = static_cast<uint32_t>(i * 7);
        record.visible = i % 2 == 0;
        record.data.Set(L"script", L"ai/guard.lua");
        record.data.SetInt(L"hp", 100 + static_cast<int>(i));
    }
    ASSERT_TRUE(SaveSerializable(world, folder.Wide("a.txt"), "UTF8"));
    const std::string first = folder.Read("a.txt");

    std::string from = "a.txt";
    for (const char* mode : {"BINARY", "COMPRESSED", "utf16", "UTF16BE", "ansi", "UTF8"})
    {
        CWorld loaded;
        const CFilePtr file = OpenRead(folder.Wide(from));
        ASSERT_TRUE(LoadSerializable(loaded, file.get())) << mode;
        from = std::string("next-") + mode;
        ASSERT_TRUE(SaveSerializable(loaded, folder.Wide(from), mode)) << mode;
    }
    EXPECT_EQ(folder.Read(from), first);
    EXPECT_NE(folder.Read("next-COMPRESSED").size(), folder.Read("next-BINARY").size());
}

TEST(ArchiveSave, FailedSavesLeaveTheTargetAsItWas)
{
    CTestFolder folder;
    COptions options;
    options.Set(L"[k]", L"v");
    EXPECT_FALSE(options.Save(folder.Wide("missing-folder/o.kvocfg"), "UTF8"));
    EXPECT_FALSE(options.Save(folder.Wide("missing-folder/o.kvocfg"), "BINARY"));

    // An error thrown while writing leaves the old file untouched.
    folder.Write("keep.kvocfg", "old");
    for (const char* mode : {"BINARY", "UTF8"})
    {
        class CThrowing : public COptions
        {
        public:
            bool Write(IArchive& archive) override
            {
                COptions::Write(archive);
                throw CKVOError(L"[CThrowing::Write] failed");
            }
        } throwing;
        EXPECT_EQ(ErrorOf([&] { throwing.Save(folder.Wide("keep.kvocfg"), mode); }),
                  "[CThrowing::Write] failed");
        EXPECT_EQ(folder.Read("keep.kvocfg"), "old");
    }
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u);
}

namespace
{

// The entries of a store, for comparing what was saved with what loads.
std::vector<std::pair<std::wstring, std::wstring>> EntriesOf(const CDataBag& bag)
{
    return {bag.begin(), bag.end()};
}

// A file as the stores save it: the header of `tag`, then a "Data{" block
// with the given lines (each "\t-key value"), and its end.
std::string StoreFile(const std::string& tag, const std::string& lines)
{
    return "\xEF\xBB\xBF" + tag + "\r\nVersion{\r\n\t-Version 1030\r\n\t\r\n}\r\n\r\nData{\r\n" + lines +
           "\t\r\n}\r\n";
}

// ASCII text as UTF-16LE with its byte-order mark.
std::string Utf16LE(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii)
    {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

} // namespace

TEST(ArchiveText, EveryValueReadsBackInEveryMode)
{
    // Values the text form once lost or misread (a backslash before the
    // closing quote, vertical tab and form feed, carriage returns), beside
    // their neighbours: each is saved as a value and inside a key, with a
    // plain entry after it that a swallowed closing quote would take along.
    const std::wstring values[] = {
        L"a b\\",
        L"C:\\Program Files\\",
        L"\\",
        L"two \\\\",
        L"x \"\\",
        L"say \"hi\"",
        L"\"",
        L"a\\\"b c",
        L"end \\\"",
        L"\v",
        L"a\vb",
        L"\f",
        L"x\fy",
        L"\r",
        L"a\rb",
        L"a\r\nb",
        L"cr at end\r",
        L"\n",
        L"two\nlines",
        L"quote\"\nnext",
        L"quote \"\n\t-k v",
        L"quote\"\r\n\tx",
        L"back\\\n\t}",
        L"",
        L" lead",
        L"trail ",
        L"/",
        L"//x",
        L"/*c*/",
        L"}",
        L"-",
        L"#sec#code",
        L"caf\u00e9 \u4e2d\U0001F600",
        std::wstring(1, L'\0') + L"nul",
        L"tab\tin",
    };
    CTestFolder folder;
    for (const char* mode : {"UTF8", "UTF16", "UTF16BE", "ansi", "BINARY", "COMPRESSED"})
    {
        COptions options;
        CLanguage language;
        for (size_t i = 0; i < std::size(values); ++i)
        {
            const std::wstring number = std::to_wstring(i);
            options.Set(L"[" + number + L"]", values[i]);
            options.Set(L"[" + number + L"]" + values[i], L"after " + number);
            language.Set(values[i], number, values[i]);
        }
        ASSERT_TRUE(options.Save(folder.Wide("o.kvocfg"), mode)) << mode;
        ASSERT_TRUE(language.Save(folder.Wide("l.kvolanguage"), mode)) << mode;

        COptions loadedOptions;
        CLanguage loadedLanguage;
        const CFilePtr optionFile = OpenRead(folder.Wide("o.kvocfg"));
        const CFilePtr languageFile = OpenRead(folder.Wide("l.kvolanguage"));
        EXPECT_TRUE(loadedOptions.Load(optionFile.get())) << mode;
        EXPECT_TRUE(loadedLanguage.Load(languageFile.get())) << mode;
        EXPECT_EQ(EntriesOf(loadedOptions), EntriesOf(options)) << mode;
        EXPECT_EQ(EntriesOf(loadedLanguage.GetDataBag()), EntriesOf(language.GetDataBag())) << mode;
    }
}

TEST(ArchiveText, NarrowTextWritesWhatTheSameTextWideWrites)
{
    // Tags, keys and identifiers come as UTF-8 and go into the file by a
    // path of their own. Each writes the bytes of its wide form, reads back,
    // and the number after it (written by yet another path) keeps its place
    // after a value that ends in a backslash.
    const std::string values[] = {"a b\\",
                                  "\\",
                                  "x \"\\",
                                  "say \"hi\"",
                                  "quote\"\nnext",
                                  "quote \"\n\t-k v",
                                  "back\\\n\t}",
                                  "",
                                  "plain",
                                  "-Key",
                                  "ai/guard.lua",
                                  "tab\tin",
                                  "a\vb",
                                  "two\nlines",
                                  "cr\r\n",
                                  "trail\\",
                                  "caf\xC3\xA9 \xE4\xB8\xAD",
                                  "bad \xC3 byte\xFF",
                                  std::string(1, '\0') + "nul"};
    CTestFolder folder;
    for (const char* mode : {"UTF8", "UTF16", "UTF16BE", "ansi"})
    {
        for (const bool quote : {true, false})
        {
            const auto write = [&](bool narrow)
            {
                return WriteText(folder, mode,
                                 [&](IArchive& archive)
                                 {
                                     for (const std::string& value : values)
                                     {
                                         const std::wstring wide = Misc::Text::Utf8ToWide(value);
                                         if (narrow)
                                             archive.WriteString(value, quote);
                                         else
                                             archive.WriteWString(wide, quote);
                                         archive.WriteSpaces(1);
                                         archive.WriteFloat(1.5f, 2);
                                         if (value.find('\0') == std::string::npos)
                                         {
                                             archive.WriteSpaces(1);
                                             if (narrow)
                                                 archive.WriteString(value.c_str());
                                             else
                                                 archive.WriteWString(wide.c_str());
                                         }
                                         archive.WriteSpaces(1);
                                         archive.WriteInt(-7);
                                         archive.EndLine(0);
                                     }
                                 });
            };
            const std::string bytes = write(true);
            ASSERT_EQ(bytes, write(false)) << mode << " quote " << quote;
            if (!quote)
                continue;
            const CFilePtr file = OpenRead(folder.Wide("w.txt"));
            CArchiveText reader(file.get(), false, "KVOTEST", 1);
            for (const std::string& value : values)
            {
                // Bytes that are not UTF-8 were written as U+FFFD.
                const std::string expected = Misc::Text::WideToUtf8(Misc::Text::Utf8ToWide(value));
                std::string read;
                float number = 0;
                int32_t integer = 0;
                EXPECT_TRUE(reader.ReadString(read)) << mode;
                EXPECT_EQ(read, expected) << mode;
                EXPECT_TRUE(reader.ReadFloat(number)) << mode << " after " << value;
                EXPECT_EQ(number, 1.5f) << mode << " after " << value;
                if (value.find('\0') == std::string::npos)
                {
                    EXPECT_TRUE(reader.ReadString(read)) << mode;
                    EXPECT_EQ(read, expected) << mode;
                }
                EXPECT_TRUE(reader.ReadInt(integer)) << mode << " after " << value;
                EXPECT_EQ(integer, -7) << mode << " after " << value;
            }
        }
    }
}

TEST(ArchiveText, FilesWrittenBeforeReadAsBefore)
{
    // Data blocks as earlier saves and hand edits hold them.
    const struct
    {
        const char* what;
        std::string lines;
        std::vector<std::pair<std::wstring, std::wstring>> entries;
    } cases[] = {
        {"a backslash before the closing quote at the end of a key line",
         "\t-[path] \"C:\\Program Files\\\"\r\n\t-[next] v\r\n",
         {{L"[next]", L"v"}, {L"[path]", L"C:\\Program Files\\"}}},
        {"the same on the block's last line", "\t-[a] \"x y\\\"\r\n", {{L"[a]", L"x y\\"}}},
        {"a hand-written block that ends right after it", "\t-[a] \"x y\\\"\r\n}\r\n", {{L"[a]", L"x y\\"}}},
        {"inner quotes and backslashes",
         "\t-[q] \"say \\\"hi\\\" \\\\\" c:\\\\x\"\r\n",
         {{L"[q]", L"say \"hi\" \\\" c:\\\\x"}}},
        {"a line break inside a value", "\t-[m] \"line1\r\nline2\"\r\n", {{L"[m]", L"line1\nline2"}}},
        {"an inner quote before a line break",
         "\t-[m] \"he said \\\"hi\\\"\r\nbye\"\r\n",
         {{L"[m]", L"he said \"hi\"\nbye"}}},
        {"an unquoted value with a backslash", "\t-[d] C:\\dir\\\r\n", {{L"[d]", L"C:\\dir\\"}}},
        // Carriage returns inside quoted values were dropped; those that
        // are not part of a line end are text.
        {"a carriage return inside a quoted value", "\t-[r] \"a\rb\"\r\n", {{L"[r]", L"a\rb"}}},
        {"a CR LF inside a quoted value", "\t-[r] \"a\r\r\nb\"\r\n", {{L"[r]", L"a\r\nb"}}},
    };
    CTestFolder folder;
    for (const auto& test : cases)
    {
        for (const char* tag : {"KVOOPTIONS", "KVOLANGUAGE"})
        {
            folder.Write("f", StoreFile(tag, test.lines));
            const CFilePtr file = OpenRead(folder.Wide("f"));
            COptions options;
            CLanguage language;
            const bool isOptions = std::string(tag) == "KVOOPTIONS";
            EXPECT_TRUE(isOptions ? options.Load(file.get()) : language.Load(file.get())) << test.what;
            EXPECT_EQ(isOptions ? EntriesOf(options) : EntriesOf(language.GetDataBag()), test.entries)
                << test.what << " (" << tag << ")";
        }
    }
}

TEST(ArchiveText, CarriageReturnsNeverStopTheReader)
{
    // Old Macintosh line ends (CR alone) and stray CRs between tokens used
    // to make the reader stop advancing; options and translations load.
    const struct
    {
        std::string file;
        std::vector<std::pair<std::wstring, std::wstring>> entries;
    } cases[] = {
        {"TAG\rVersion{\r\t-Version 1030\r\t\r}\r\rData{\r\t-[a] 1\r\t-[b] \"x y\"\r\t\r}\r",
         {{L"[a]", L"1"}, {L"[b]", L"x y"}}},
        {"TAG Version{ -Version 1030 } Data{ -[a]\r1\r\r-[b]\r\"x\ry\"\r\r}",
         {{L"[a]", L"1"}, {L"[b]", L"x\ry"}}},
        {Utf16LE("TAG\rData{\r-k\rv\r}"), {{L"k", L"v"}}},
    };
    CTestFolder folder;
    for (const auto& test : cases)
    {
        for (const std::string tag : {"KVOOPTIONS", "KVOLANGUAGE"})
        {
            std::string file = test.file;
            if (file.compare(0, 2, "\xFF\xFE") == 0)
            {
                // The UTF-16 case has no version block: read it without one.
                folder.Write("f", file);
                const CFilePtr handle = OpenRead(folder.Wide("f"));
                CArchiveText archive(handle.get(), false, "TAG", 0);
                CDataBag bag;
                EXPECT_TRUE(bag.Read(archive));
                EXPECT_EQ(EntriesOf(bag), test.entries);
                continue;
            }
            file.replace(file.find("TAG"), 3, tag);
            folder.Write("f", file);
            const CFilePtr handle = OpenRead(folder.Wide("f"));
            COptions options;
            CLanguage language;
            EXPECT_TRUE(tag == "KVOOPTIONS" ? options.Load(handle.get()) : language.Load(handle.get()))
                << tag;
            EXPECT_EQ(tag == "KVOOPTIONS" ? EntriesOf(options) : EntriesOf(language.GetDataBag()),
                      test.entries)
                << tag;
        }
    }
}

// A reader that loops over strings until "}" always gets somewhere: a
// control character is text of its token (glued to a "}" it hides the
// brace), each read moves on or fails, and at the end of the input every
// read fails and leaves the value as it was.
TEST(ArchiveText, ControlCharactersAreTokenTextAndTheEndFailsEveryRead)
{
    CTestFolder folder;
    const struct
    {
        std::string body;
        std::vector<std::wstring> tokens;
        bool closed;
    } cases[] = {
        {"a \x03 b }", {L"a", L"\x03", L"b"}, true},
        {"\x01\x02\x03\x1f\x7f }", {L"\x01\x02\x03\x1f\x7f"}, true},
        {"\x03}", {L"\x03}"}, false},
        {"\"\x03\" }", {L"\x03"}, true},
        {std::string("a\0b }", 5), {std::wstring(L"a\0b", 3)}, true},
        {"\x03", {L"\x03"}, false},
    };
    for (const auto& entry : cases)
    {
        folder.Write("s.txt", "KVOTEST " + entry.body);
        CArchiveText archive(folder.Wide("s.txt"), false, "KVOTEST", 0);
        std::vector<std::wstring> tokens;
        std::wstring value;
        bool closed = false;
        for (int reads = 0; reads < 20; ++reads)
        {
            if (archive.TestToken("}"))
            {
                closed = true;
                break;
            }
            if (!archive.ReadWString(value))
                break;
            tokens.push_back(value);
        }
        EXPECT_EQ(tokens, entry.tokens) << entry.body;
        EXPECT_EQ(closed, entry.closed) << entry.body;
        const std::wstring kept = value;
        EXPECT_FALSE(archive.ReadWString(value));
        EXPECT_EQ(value, kept);
    }
}
