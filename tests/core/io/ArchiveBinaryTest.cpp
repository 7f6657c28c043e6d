#include "ArchiveTestUtil.h"

#include "core/foundation/KVOError.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/DataBag.h"
#include "core/io/Language.h"
#include "core/io/Options.h"
#include "core/io/TextValue.h"
#include "core/io/Uuid.h"

#include <gtest/gtest.h>

using Misc::Error::CKVOError;
using Misc::Serialization::CArchiveBin;
using namespace ArchiveTest;

namespace
{

// The options store's shape: a data bag under the tag "KVOOPTIONS".
class CTaggedBag : public CDataBag
{
public:
    const char* GetTypeName() const override { return "KVOOPTIONS"; }
};

} // namespace

TEST(ArchiveBinary, OptionFileBytesPlainAndCompressed)
{
    CTestFolder folder;
    for (const bool compressed : {false, true})
    {
        const std::string name = compressed ? "options_compressed.kvocfg" : "options_binary.kvocfg";
        CTaggedBag bag;
        bag.Set(L"[a][b]", L"c");
        {
            CArchiveBin archive(folder.Wide(name), true, bag.GetTypeName(), bag.GetVersion(), nullptr,
                                compressed);
            ASSERT_TRUE(archive.IsOpen());
            EXPECT_TRUE(bag.Write(archive));
            EXPECT_TRUE(archive.Close());
        }
        EXPECT_EQ(folder.Read(name), Fixture(name)) << name;

        // The fixture reads back, whatever flag the reader passes: the magic decides.
        folder.Write("in", Fixture(name));
        CArchiveBin reader(folder.Wide("in"), false, "KVOOPTIONS", 1, nullptr, !compressed);
        ASSERT_TRUE(reader.IsOpen());
        EXPECT_EQ(reader.IsCompressed(), compressed);
        EXPECT_EQ(reader.GetVersion(), 1030u);
        CTaggedBag loaded;
        EXPECT_TRUE(loaded.Read(reader));
        std::wstring value;
        EXPECT_TRUE(loaded.Get(L"[a][b]", value));
        EXPECT_EQ(value, L"c");
        EXPECT_EQ(loaded.GetCount(), 1u);
    }
}

TEST(ArchiveBinary, EveryValueKindRoundTripsWithItsTypeCode)
{
    CTestFolder folder;
    const std::wstring wide = L"W\u00e9\u4e2d\U0001F600";
    {
        CArchiveBin archive(folder.Wide("all.bin"), true, "KVOTEST", 1030);
        archive.WriteBool(true);
        archive.WriteUChar(200);
        archive.WriteChar(-5);
        archive.WriteUShort(60000);
        archive.WriteShort(-30000);
        archive.WriteUInt(4000000000u);
        archive.WriteInt(-2000000000);
        archive.WriteULong(7u);
        archive.WriteLong(-8);
        archive.WriteFloat(1.5f, 6);
        archive.WriteDouble(0.1, 6);
        archive.WriteString(std::string("n\xc3\xa4rrow"), true);
        archive.WriteWString(wide, true);
        archive.WriteComment("ignored");
        archive.WriteSpaces(3);
        archive.EndLine(1);
        archive.WriteBytes("raw", 3);
    }
    const std::string bytes = folder.Read("all.bin");
    // Header: magic, tag, version block; the first value's code follows.
    const size_t header = 6 + (5 + 7) + (5 + 8) + (5 + 8) + 5 + (5 + 1);
    ASSERT_GT(bytes.size(), header);
    const unsigned char codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const size_t sizes[] = {1, 1, 1, 2, 2, 4, 4, 4, 4, 4, 8};
    size_t at = header;
    for (size_t i = 0; i < 11; ++i)
    {
        EXPECT_EQ(static_cast<unsigned char>(bytes[at]), codes[i]) << i;
        at += 1 + sizes[i];
    }
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "raw"); // layout calls wrote nothing

    CArchiveBin archive(folder.Wide("all.bin"), false, "KVOTEST", 1);
    bool b = false;
    uint8_t uc = 0;
    int8_t c = 0;
    uint16_t us = 0;
    int16_t s = 0;
    uint32_t ui = 0, ul = 0;
    int32_t i = 0, l = 0;
    float f = 0;
    double d = 0;
    std::string narrow;
    std::wstring readWide;
    char raw[3];
    EXPECT_TRUE(archive.ReadBool(b) && archive.ReadUChar(uc) && archive.ReadChar(c) &&
                archive.ReadUShort(us) && archive.ReadShort(s) && archive.ReadUInt(ui) &&
                archive.ReadInt(i) && archive.ReadULong(ul) && archive.ReadLong(l) && archive.ReadFloat(f) &&
                archive.ReadDouble(d) && archive.ReadString(narrow) && archive.ReadWString(readWide) &&
                archive.ReadBytes(raw, 3));
    EXPECT_TRUE(b);
    EXPECT_EQ(uc, 200);
    EXPECT_EQ(c, -5);
    EXPECT_EQ(us, 60000);
    EXPECT_EQ(s, -30000);
    EXPECT_EQ(ui, 4000000000u);
    EXPECT_EQ(i, -2000000000);
    EXPECT_EQ(ul, 7u);
    EXPECT_EQ(l, -8);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, 0.1); // full double precision in binary
    EXPECT_EQ(narrow, "n\xc3\xa4rrow");
    EXPECT_EQ(readWide, wide);
    EXPECT_EQ(std::string(raw, 3), "raw");
}

TEST(ArchiveBinary, CompressedStoresEachStringOnceAsReference)
{
    CTestFolder folder;
    {
        CArchiveBin archive(folder.Wide("c.bin"), true, "KVOTEST", 1030, nullptr, true);
        for (int round = 0; round < 3; ++round)
        {
            archive.WriteString("-Name");
            archive.WriteWString(L"value");
        }
        archive.WriteString("KVOTEST"); // the data name is narrow index 0
    }
    const std::string bytes = folder.Read("c.bin");
    const size_t header = 6 + (5 + 7) + (5 + 8) + (5 + 8) + 5 + (5 + 1);
    const std::string firstRound = bytes.substr(header, (5 + 5) + (5 + 10));
    EXPECT_EQ(firstRound[0], 11);
    EXPECT_EQ(firstRound[10], 12);
    // Later rounds: narrow index 4 ("-Name" after the tag, "Version{", "-Version", "}"), wide index 0.
    const std::string reference = std::string("\x0d\x04\0\0\0\x0e\0\0\0\0", 10);
    EXPECT_EQ(bytes.substr(header + firstRound.size(), 20), reference + reference);
    EXPECT_EQ(bytes.substr(bytes.size() - 5), std::string("\x0d\0\0\0\0", 5));

    CArchiveBin archive(folder.Wide("c.bin"), false, "KVOTEST", 1);
    for (int round = 0; round < 3; ++round)
    {
        std::string name;
        std::wstring value;
        EXPECT_TRUE(archive.ReadString(name));
        EXPECT_TRUE(archive.ReadWString(value));
        EXPECT_EQ(name, "-Name");
        EXPECT_EQ(value, L"value");
    }
    EXPECT_TRUE(archive.TestToken("KVOTEST"));
}

TEST(ArchiveBinary, TestTokenLeavesThePositionOnMismatchAndPeek)
{
    CTestFolder folder;
    for (const bool compressed : {false, true})
    {
        {
            CArchiveBin archive(folder.Wide("t.bin"), true, "KVOTEST", 1030, nullptr, compressed);
            archive.WriteString("Joint{");
            archive.WriteString("Joint{");
            archive.WriteFloat(2.5f, 6);
            archive.WriteString("after");
            archive.WriteString("after");
        }
        CArchiveBin archive(folder.Wide("t.bin"), false, "KVOTEST", 1);
        EXPECT_FALSE(archive.TestToken("Other{"));
        EXPECT_TRUE(archive.TestToken("Joint{", true)); // peek: not consumed
        EXPECT_TRUE(archive.TestToken("Joint{"));
        EXPECT_TRUE(archive.TestWToken(L"Joint{"));
        EXPECT_FALSE(archive.TestToken("Joint{")); // a float is next: no match, no error
        float f = 0;
        EXPECT_TRUE(archive.ReadFloat(f));
        EXPECT_EQ(f, 2.5f);
        // A string peeked and read again must not shift the string table.
        EXPECT_FALSE(archive.TestToken("x"));
        EXPECT_EQ(archive.GetString(), "after");
        EXPECT_EQ(archive.GetString(), "after");
        EXPECT_FALSE(archive.TestToken("after")); // end of the file
    }
}

TEST(ArchiveBinary, WrongTypeAndWrongTokenThrowTheDocumentedMessages)
{
    CTestFolder folder;
    {
        CArchiveBin archive(folder.Wide("e.bin"), true, "KVOTEST", 1030);
        archive.WriteInt(3);
        archive.WriteString("-Key");
    }
    const std::string file = folder / "e.bin";
    CArchiveBin archive(folder.Wide("e.bin"), false, "KVOTEST", 1);
    float f = 0;
    EXPECT_EQ(ErrorOf([&] { archive.ReadFloat(f); }),
              "Error reading:" + file + ", Data type expected:9, Received:6");
    CArchiveBin again(folder.Wide("e.bin"), false, "KVOTEST", 1);
    int32_t i = 0;
    EXPECT_TRUE(again.ReadInt(i));
    EXPECT_EQ(ErrorOf([&] { again.ExpectToken("-Other"); }),
              "Error reading:" + file + ", Expected:-Other, Received:-Key");

    // Another tag in the header.
    EXPECT_EQ(ErrorOf([&] { CArchiveBin other(folder.Wide("e.bin"), false, "KVOOTHER", 1); }),
              "Error reading:" + file + ", Expected:KVOOTHER, Received:KVOTEST");
}

TEST(ArchiveBinary, VersionGates)
{
    CTestFolder folder;
    {
        CArchiveBin archive(folder.Wide("v.bin"), true, "KVOTEST", 1020);
    }
    CArchiveBin old(folder.Wide("v.bin"), false, "KVOTEST", 1);
    EXPECT_EQ(old.GetVersion(), 1020u);
    EXPECT_TRUE(old.IsVersionAtLeast(1019));
    EXPECT_TRUE(old.IsVersionAtLeast(1020));
    EXPECT_FALSE(old.IsVersionAtLeast(1024));

    EXPECT_EQ(ErrorOf([&] { CArchiveBin strict(folder.Wide("v.bin"), false, "KVOTEST", 1030); }),
              "Error reading:" + (folder / "v.bin") + ", Minimum expected version: 1030, Received:1020");

    // A stored version of 0 passes every gate and every minimum.
    {
        CArchiveBin archive(folder.Wide("zero.bin"), true, "KVOTEST", 0);
        archive.WriteString("Version{");
        archive.WriteString("-Version");
        archive.WriteULong(0);
        archive.WriteString("}");
    }
    CArchiveBin zero(folder.Wide("zero.bin"), false, "KVOTEST", 1030);
    EXPECT_TRUE(zero.IsOpen());
    EXPECT_EQ(zero.GetVersion(), 0u);
    EXPECT_TRUE(zero.IsVersionAtLeast(5000));
}

TEST(ArchiveBinary, NotABinaryFileLeavesTheArchiveClosed)
{
    CTestFolder folder;
    for (const std::string& content : {std::string(""), std::string("KVOBI"), std::string("KVOTXT and more")})
    {
        folder.Write("x", content);
        CArchiveBin archive(folder.Wide("x"), false, "KVOTEST", 1);
        EXPECT_FALSE(archive.IsOpen()) << content;
        EXPECT_EQ(ErrorOf([&] { archive.getDataName(); }), "[CArchiveBin::getDataName] Invalid file handle");
    }
    CArchiveBin missing(folder.Wide("missing"), false, "KVOTEST", 1);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(ErrorOf([] { CArchiveBin none(nullptr, false, "KVOTEST", 1); }),
              "[CArchiveBin::open] Invalid input file handle");
}

TEST(ArchiveBinary, TruncatedAndCorruptInputsFailClearly)
{
    CTestFolder folder;
    {
        CArchiveBin archive(folder.Wide("full.bin"), true, "KVOTEST", 1030);
        archive.WriteDouble(2.0, 6);
        archive.WriteWString(L"a wide string");
        archive.WriteString("narrow");
    }
    const std::string full = folder.Read("full.bin");
    const size_t header = 6 + (5 + 7) + (5 + 8) + (5 + 8) + 5 + (5 + 1);
    // Cut the file inside every value after the header: each read either
    // succeeds whole or throws; no half-filled values, no crash.
    for (size_t cut = header; cut < full.size(); ++cut)
    {
        folder.Write("cut.bin", full.substr(0, cut));
        CArchiveBin archive(folder.Wide("cut.bin"), false, "KVOTEST", 1);
        double d = -1;
        std::wstring w = L"untouched";
        std::string n = "untouched";
        const std::string error = ErrorOf(
            [&]
            {
                archive.ReadDouble(d);
                archive.ReadWString(w);
                archive.ReadString(n);
            });
        EXPECT_EQ(error, "Error reading:" + (folder / "cut.bin") + ", Unexpected end of file") << cut;
        EXPECT_TRUE(d == -1 || d == 2.0);
        EXPECT_TRUE(w == L"untouched" || w == L"a wide string");
        EXPECT_EQ(n, "untouched");
    }

    // Counts: a huge stored count is refused before anything is allocated;
    // a count inside the limit but beyond the file is a truncation.
    std::string huge = full.substr(0, header);
    huge += std::string("\x0b\x01\x00\x00\x01", 5); // 16 MiB + 1
    folder.Write("huge.bin", huge);
    CArchiveBin hugeArchive(folder.Wide("huge.bin"), false, "KVOTEST", 1);
    EXPECT_EQ(ErrorOf([&] { hugeArchive.GetString(); }), "String size too large");

    std::string beyond = full.substr(0, header);
    beyond += std::string("\x0c\x00\x00\x10\x00", 5); // 1 Mi units, 2 MiB needed
    folder.Write("beyond.bin", beyond);
    CArchiveBin beyondArchive(folder.Wide("beyond.bin"), false, "KVOTEST", 1);
    EXPECT_NE(ErrorOf([&] { beyondArchive.GetWString(); }).find("Unexpected end of file"), std::string::npos);

    // A reference outside the table makes the read fail without a message.
    std::string badRef = full.substr(0, header);
    badRef.replace(0, 6, "KVOCMP");
    badRef += std::string("\x0d\x09\x00\x00\x00\x0e\xff\xff\xff\xff", 10);
    folder.Write("ref.bin", badRef);
    CArchiveBin refArchive(folder.Wide("ref.bin"), false, "KVOTEST", 1);
    std::string n;
    std::wstring w;
    EXPECT_FALSE(refArchive.ReadString(n));
    EXPECT_FALSE(refArchive.ReadWString(w));
}

TEST(ArchiveBinary, LongStringsUpToTheLimit)
{
    CTestFolder folder;
    const std::wstring longText(70000, L'\u00e9');
    {
        CArchiveBin archive(folder.Wide("long.bin"), true, "KVOTEST", 1030);
        EXPECT_TRUE(archive.WriteWString(longText));
        const std::string tooLong(CArchiveBin::kMaxStringLength + 1, 'x');
        EXPECT_EQ(ErrorOf([&] { archive.WriteString(tooLong); }),
                  "[CArchiveBin::WriteString] String size too large");
    }
    CArchiveBin archive(folder.Wide("long.bin"), false, "KVOTEST", 1);
    EXPECT_EQ(archive.GetWString(), longText);
}

TEST(ArchiveBinary, TranslationKeepsRawTextInTheStringTable)
{
    CTestFolder folder;
    {
        CArchiveBin archive(folder.Wide("tr.bin"), true, "KVOTEST", 1030, nullptr, true);
        archive.WriteString("#menu#quit");
        archive.WriteString("Quit"); // equals the translation of the first string
        archive.WriteString("after");
        archive.WriteString("#menu#quit");
        archive.WriteString("after");
        archive.WriteWString(L"#menu#quit");
        archive.WriteWString(L"#menu#quit");
    }
    CLanguage language;
    language.Set(L"menu", L"quit", L"Quit");
    CArchiveBin archive(folder.Wide("tr.bin"), false, "KVOTEST", 1, &language);
    EXPECT_EQ(archive.GetString(), "Quit");
    EXPECT_EQ(archive.GetString(), "Quit");
    EXPECT_EQ(archive.GetString(), "after");
    EXPECT_EQ(archive.GetString(), "Quit");
    EXPECT_EQ(archive.GetString(), "after");
    EXPECT_EQ(archive.GetWString(), L"Quit");
    EXPECT_EQ(archive.GetWString(), L"Quit");
}

TEST(ArchiveRecords, DataBagUuidAndTextValueThroughTheBinaryArchive)
{
    CTestFolder folder;
    CDataBag bag;
    bag.Set(L"name", L"with space");
    bag.SetInt(L"hex", 10, true);
    bag.SetFloat(L"f", 0.5f);
    CUuid id;
    CTextValue type(L"-PhysicsType");
    type.SetValue(L"box");
    {
        CArchiveBin archive(folder.Wide("r.bin"), true, "KVOTEST", 1030);
        EXPECT_TRUE(bag.Write(archive));
        EXPECT_TRUE(id.Write(archive));
        EXPECT_TRUE(type.Write(archive));
    }
    CArchiveBin archive(folder.Wide("r.bin"), false, "KVOTEST", 1);
    CDataBag loaded;
    loaded.Set(L"kept", L"1");
    EXPECT_TRUE(loaded.Read(archive));
    EXPECT_EQ(loaded.GetCount(), 4u);
    std::wstring text;
    EXPECT_TRUE(loaded.Get(L"hex", text));
    EXPECT_EQ(text, L"0x0A");
    EXPECT_TRUE(loaded.Get(L"name", text));
    EXPECT_EQ(text, L"with space");

    CUuid other;
    EXPECT_NE(other.GetId(), id.GetId());
    EXPECT_TRUE(other.Read(archive));
    EXPECT_EQ(other.GetId(), id.GetId());

    CTextValue wrongKey(L"-Script");
    EXPECT_FALSE(wrongKey.Read(archive)); // nothing consumed
    CTextValue readType(L"-PhysicsType");
    EXPECT_TRUE(readType.Read(archive));
    EXPECT_EQ(readType.GetValue(), L"box");
}

TEST(ArchiveBinary, AReferencePastTheTableFailsTheLoad)
{
    // A compressed option file whose last value refers past the string
    // table: the entry used to be dropped and the load to succeed. Now the
    // load fails and the store keeps what it held.
    CTestFolder folder;
    COptions options;
    options.Set(L"[a]", L"x");
    options.Set(L"[b]", L"x"); // saved as a reference to the first "x"
    ASSERT_TRUE(options.Save(folder.Wide("o.kvocfg"), "COMPRESSED"));
    std::string bytes = folder.Read("o.kvocfg");
    // The file ends with that reference (code 14, index 1) and the
    // reference to "}" (code 13).
    ASSERT_EQ(bytes.substr(bytes.size() - 10, 5), std::string("\x0e\x01\x00\x00\x00", 5));
    bytes[bytes.size() - 9] = 99;
    folder.Write("bad.kvocfg", bytes);

    COptions loaded;
    loaded.Set(L"[kept]", L"1");
    const CFilePtr file = OpenRead(folder.Wide("bad.kvocfg"));
    bool result = true;
    const std::string error = ErrorOf([&] { result = loaded.Load(file.get()); });
    EXPECT_TRUE(!result || error != "(no error)") << error;
    EXPECT_EQ(loaded.GetCount(), 1u);
    EXPECT_TRUE(loaded.Exists(L"[kept]"));
}

TEST(ArchiveBinary, RepeatedTextIsBounded)
{
    // Each 5-byte reference of a compressed archive stands for a whole
    // string; the copies one read makes are bounded, and so are the copies
    // translations make in either archive.
    CTestFolder folder;
    const std::string big(1u << 20, 'x');
    const int references = static_cast<int>(Misc::Serialization::kMaxRepeatedText >> 20) + 4;
    {
        CArchiveBin archive(folder.Wide("refs.bin"), true, "KVOTEST", 1030, nullptr, true);
        for (int i = 0; i <= references; ++i)
            archive.WriteString(big);
    }
    EXPECT_LT(folder.Read("refs.bin").size(), big.size() + 1024);
    const std::string limit =
        "Repeated text exceeds " + std::to_string(Misc::Serialization::kMaxRepeatedText) + " characters";
    CArchiveBin archive(folder.Wide("refs.bin"), false, "KVOTEST", 1);
    int read = 0;
    const std::string error = ErrorOf(
        [&]
        {
            for (std::string text; read <= references && archive.ReadString(text); ++read)
                ASSERT_EQ(text.size(), big.size());
        });
    EXPECT_EQ(error, "Error reading:" + (folder / "refs.bin") + ", " + limit);
    EXPECT_EQ(read, static_cast<int>(Misc::Serialization::kMaxRepeatedText >> 20) + 1);

    CLanguage language;
    language.Set(L"s", L"c", std::wstring(1u << 20, L'y'));
    std::string tokens = "KVOTEST";
    for (int i = 0; i <= references; ++i)
        tokens += " #s#c";
    folder.Write("tokens.txt", tokens);
    for (const bool binary : {false, true})
    {
        if (binary)
        {
            CArchiveBin writer(folder.Wide("tokens.txt"), true, "KVOTEST", 0, nullptr, true);
            for (int i = 0; i <= references; ++i)
                writer.WriteWString(L"#s#c");
        }
        const CFilePtr file = OpenRead(folder.Wide("tokens.txt"));
        Misc::Serialization::CArchiveHandle handle(file.get(), false, "KVOTEST", 0, &language);
        EXPECT_EQ(ErrorOf(
                      [&]
                      {
                          for (int i = 0; i <= references; ++i)
                              handle.GetWString();
                      }),
                  "Error reading:" + (folder / "tokens.txt") + ", " + limit)
            << binary;
    }
}

TEST(ArchiveBinary, BytesFromTheFileAreEscapedInErrors)
{
    // Text from the file reaches the terminal through error messages: its
    // control characters (a title change, a screen clear) come out escaped.
    CTestFolder folder;
    {
        CArchiveBin archive(folder.Wide("esc.bin"), true, "KVOTEST", 1030);
        archive.WriteString("\x1b]0;title\x07\x1b[2J");
        archive.WriteWString(L"\x9b"
                             L"31m\r\n\ttab");
    }
    CArchiveBin archive(folder.Wide("esc.bin"), false, "KVOTEST", 1);
    EXPECT_EQ(ErrorOf([&] { archive.ExpectToken("-Key"); }),
              "Error reading:" + (folder / "esc.bin") +
                  ", Expected:-Key, Received:\\x1B]0;title\\x07\\x1B[2J");
    EXPECT_EQ(ErrorOf([&] { archive.ExpectWToken(L"-Key"); }),
              "Error reading:" + (folder / "esc.bin") + ", Expected:-Key, Received:\\x9B31m\\x0D\n\ttab");
}
