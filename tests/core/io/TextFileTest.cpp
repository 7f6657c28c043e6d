#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/FileStd.h"
#include "core/io/TextFile.h"

#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

// Text with a line feed, Latin-1, a BMP character, U+FFFF and a character
// beyond the BMP (a surrogate pair in UTF-16).
const std::wstring kSample = L"a\nb \u00e9\u4e2d\uffff\U0001F600";

struct SEncodingCase
{
    uint32_t encoding;
    std::string bytes; // what writing kSample produces
};

const SEncodingCase kEncodings[] = {
    {CTextFile::kEncodingUtf8, "\xEF\xBB\xBF"
                               "a\r\nb \xC3\xA9\xE4\xB8\xAD\xEF\xBF\xBF\xF0\x9F\x98\x80"},
    {CTextFile::kEncodingUtf16LE, std::string("\xFF\xFE"
                                              "a\0\r\0\n\0b\0 \0\xE9\0\x2D\x4E\xFF\xFF\x3D\xD8\x00\xDE",
                                              22)},
    {CTextFile::kEncodingUtf16BE, std::string("\xFE\xFF"
                                              "\0a\0\r\0\n\0b\0 \0\xE9\x4E\x2D\xFF\xFF\xD8\x3D\xDE\x00",
                                              22)},
    // Code-page text on the default code page (UTF-8 here): no mark.
    {CTextFile::kEncodingAnsi, "a\r\nb \xC3\xA9\xE4\xB8\xAD\xEF\xBF\xBF\xF0\x9F\x98\x80"},
};

std::wstring ReadAll(CTextFile& text)
{
    std::wstring out;
    for (int c = text.Get(); c >= 0; c = text.Get())
        out += static_cast<wchar_t>(c);
    return out;
}

class TextFile : public ::testing::Test
{
protected:
    // Opens the file for reading and returns its text.
    std::wstring ReadFile(const std::string& name, uint32_t encoding = 0, int bufferSize = 0,
                          int* detected = nullptr, unsigned int codePage = 65001)
    {
        CTextFile text;
        EXPECT_EQ(text.Open(new CFileStd(folder.Wide(name), L"rb"), CTextFile::kModeRead, encoding,
                            bufferSize, true),
                  0);
        text.SetCodePage(codePage);
        if (detected)
            *detected = text.GetEncoding();
        return ReadAll(text);
    }

    CTestFolder folder;
};

TEST_F(TextFile, WritesEachEncodingWithItsMarkAndCrLf)
{
    for (const auto& test : kEncodings)
    {
        SCOPED_TRACE(test.encoding);
        {
            CTextFile text;
            ASSERT_EQ(text.Open(new CFileStd(folder.Wide("out.txt"), L"wb"), CTextFile::kModeWrite,
                                test.encoding, 0, true),
                      0);
            EXPECT_EQ(text.WriteText(kSample), 0);
            EXPECT_EQ(text.Close(), 0);
        }
        EXPECT_EQ(folder.Read("out.txt"), test.bytes);

        // Reading detects the encoding from the mark and drops the CR.
        int detected = 0;
        EXPECT_EQ(ReadFile("out.txt", 0, 0, &detected), kSample);
        EXPECT_EQ(detected, static_cast<int>(test.encoding));
    }
}

TEST_F(TextFile, WritesAcrossBufferBoundariesWithAnyBufferSize)
{
    // Runs of ASCII go straight into the output buffer: long and short runs,
    // line feeds and other characters between them, written in pieces and
    // whole, must give the bytes of the plain encoding with any buffer.
    std::wstring text;
    for (int i = 0; i < 200; ++i)
        text += std::wstring(static_cast<size_t>(i % 37), L'a' + static_cast<wchar_t>(i % 26)) + L"\n\u00e9" +
                (i % 5 == 0 ? L"\U0001F600" : L"") + L"\t\"x\"\n\n";
    std::wstring crlf;
    for (wchar_t c : text)
        crlf += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    const std::u16string units = Misc::Text::WideToUtf16(crlf);
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t unit : units)
    {
        le += static_cast<char>(unit & 0xFF);
        le += static_cast<char>(unit >> 8);
        be += static_cast<char>(unit >> 8);
        be += static_cast<char>(unit & 0xFF);
    }
    const struct
    {
        uint32_t encoding;
        std::string bytes;
    } cases[] = {
        {CTextFile::kEncodingUtf8, "\xEF\xBB\xBF" + Misc::Text::WideToUtf8(crlf)},
        {CTextFile::kEncodingUtf16LE, le},
        {CTextFile::kEncodingUtf16BE, be},
        {CTextFile::kEncodingAnsi, Misc::Text::WideToUtf8(crlf)},
    };
    // The same pieces as wide text, as UTF-8, and (where a piece is ASCII
    // without a line feed) through the plain-ASCII path.
    const auto writePiece = [](CTextFile& file, std::wstring_view piece, bool narrow)
    {
        if (!narrow)
            return file.WriteText(piece);
        const std::string utf8 = Misc::Text::WideToUtf8(piece);
        const bool plain = std::all_of(utf8.begin(), utf8.end(),
                                       [](char c) { return c != '\n' && static_cast<uint8_t>(c) < 0x80; });
        return plain ? file.WritePlainAscii(utf8) : file.WriteText(std::string_view(utf8));
    };
    for (const auto& test : cases)
    {
        for (int bufferSize : {1, 2, 3, 7, 64, 0})
        {
            for (size_t piece : {size_t(1), size_t(5), text.size()})
            {
                for (const bool narrow : {false, true})
                {
                    SCOPED_TRACE(std::to_string(test.encoding) + " buffer " + std::to_string(bufferSize) +
                                 " piece " + std::to_string(piece) + (narrow ? " narrow" : " wide"));
                    {
                        CTextFile file;
                        ASSERT_EQ(file.Open(new CFileStd(folder.Wide("w.txt"), L"wb"), CTextFile::kModeWrite,
                                            test.encoding, bufferSize, true),
                                  0);
                        for (size_t at = 0; at < text.size(); at += piece)
                            ASSERT_EQ(writePiece(file, std::wstring_view(text).substr(at, piece), narrow), 0);
                        EXPECT_EQ(file.Close(), 0);
                    }
                    EXPECT_EQ(folder.Read("w.txt"), test.bytes);
                }
            }
        }
    }
}

TEST_F(TextFile, ReadsAcrossBufferBoundariesWithAnyBufferSize)
{
    // Multi-byte characters and surrogate pairs straddle every refill.
    std::wstring longText;
    for (int i = 0; i < 300; ++i)
        longText += L"x\u00e9\u4e2d\U0001F600\n";
    for (const auto& test : kEncodings)
    {
        {
            CTextFile text;
            text.Open(new CFileStd(folder.Wide("long.txt"), L"wb"), CTextFile::kModeWrite, test.encoding, 0,
                      true);
            text.WriteText(longText);
        }
        for (int bufferSize : {2, 4, 6, 64, -1, 0})
        {
            SCOPED_TRACE(std::to_string(test.encoding) + " buffer " + std::to_string(bufferSize));
            EXPECT_EQ(ReadFile("long.txt", 0, bufferSize), longText);
        }
    }
}

TEST_F(TextFile, MarklessAndBrokenInput)
{
    // Without a mark the code page decides: UTF-8 by default, Windows-1252
    // on request; EF BB without BF is no mark at all.
    folder.Write("plain.txt", "\xEF\xBB"
                              "A\xC3\xA9\r\n");
    int detected = 0;
    EXPECT_EQ(ReadFile("plain.txt", 0, 0, &detected, 1252), L"\u00ef\u00bbA\u00c3\u00a9\n");
    EXPECT_EQ(detected, CTextFile::kEncodingAnsi);
    EXPECT_EQ(ReadFile("plain.txt"), L"\uFFFD\uFFFDA\u00e9\n");

    // A UTF-16 file with CR LF line ends, a lone high surrogate (the unit
    // after it survives) and an odd byte at the end (cut off: U+FFFD, as
    // every decoder of the engine turns a cut sequence into).
    folder.Write("le.txt", std::string("\xFF\xFE"
                                       "a\0\r\0\n\0\x3D\xD8"
                                       "B\0z",
                                       13));
    EXPECT_EQ(ReadFile("le.txt"), L"a\n\uFFFDB\uFFFD");
    folder.Write("be.txt", std::string("\xFE\xFF\xDE\x00\0c", 6));
    EXPECT_EQ(ReadFile("be.txt"), L"\uFFFDc");

    // UTF-8: a stray continuation byte stands alone; a sequence cut off by
    // the end of the file gives U+FFFD for each of its bytes, as the
    // engine's one UTF-8 decoder does everywhere.
    folder.Write("u8.txt", "\xEF\xBB\xBF\x80q\xE4\xB8");
    EXPECT_EQ(ReadFile("u8.txt"), L"\uFFFDq\uFFFD\uFFFD");
    EXPECT_EQ(ReadFile("u8.txt"), Misc::Text::Utf8ToWide("\x80q\xE4\xB8"));

    // An empty file is at its end at once.
    folder.Write("empty.txt", "");
    CTextFile text;
    text.Open(new CFileStd(folder.Wide("empty.txt"), L"rb"), CTextFile::kModeRead, 0, 0, true);
    EXPECT_TRUE(text.IsEnd());
    EXPECT_EQ(text.Get(), -1);
    EXPECT_EQ(text.Peek(0), -1);
    EXPECT_EQ(text.ReadToken(), -1);
}

TEST_F(TextFile, ReadersDecodeAsTheSharedDecoders)
{
    // The file readers and the string conversions give the same text for
    // the same bytes, however broken: one UTF-8 decoder, one surrogate rule.
    const std::string utf8[] = {
        "ok \xC3\xA9",
        "\xC3",
        "\xE4\xB8",
        "\xF0\x9F\x98",
        "\xC0\x80x",
        "\xED\xA0\x80",
        "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80",
        "\x80\xBFz",
        "\xE2\x82\xAC"
        "end",
        "a\xF0\x9F\x98\x80",
        "\xFE\xFF",
        "\xEF\xBF\xBD",
        "\xE0\x9F\x80",
        "\xC2",
    };
    for (const std::string& bytes : utf8)
    {
        folder.Write("u8.txt", "\xEF\xBB\xBF" + bytes);
        EXPECT_EQ(ReadFile("u8.txt"), Misc::Text::Utf8ToWide(bytes)) << bytes;
        folder.Write("plain.txt", "x" + bytes);
        EXPECT_EQ(ReadFile("plain.txt"), Misc::Text::Utf8ToWide("x" + bytes)) << bytes;
    }
    const std::string utf16[] = {
        std::string("a\0", 2),
        std::string("\x3D\xD8\x00\xDE", 4),
        std::string("\x3D\xD8", 2),
        std::string("\x00\xDE\x3D\xD8", 4),
        std::string("\x3D\xD8\x3D\xD8\x00\xDE", 6),
        std::string("b\0\x3D", 3),
    };
    for (const std::string& bytes : utf16)
    {
        folder.Write("le.txt", "\xFF\xFE" + bytes);
        EXPECT_EQ(ReadFile("le.txt"), Misc::Text::Utf16BytesToWide(bytes, false));
        std::string swapped = bytes;
        for (size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        folder.Write("be.txt", "\xFE\xFF" + swapped);
        EXPECT_EQ(ReadFile("be.txt"), Misc::Text::Utf16BytesToWide(swapped, true));
    }
}

TEST_F(TextFile, PeekTokensAndBytes)
{
    folder.Write("tokens.txt", "\xEF\xBB\xBF"
                               "ab\r\ncd}ef gh\xE2\x82\xAC\tRAW");
    CTextFile text;
    text.Open(new CFileStd(folder.Wide("tokens.txt"), L"rb"), CTextFile::kModeRead, 0, 0, true);
    EXPECT_EQ(text.Peek(0), L'a');
    EXPECT_EQ(text.Peek(2), L'\n'); // the CR is skipped
    EXPECT_EQ(text.Peek(3), L'c');
    EXPECT_EQ(text.Get(), L'a');

    // A delimiter set ends the token at "}"; CRs inside are dropped.
    EXPECT_EQ(text.ReadToken(L"}"), 0);
    EXPECT_EQ(text.GetToken(), L"b\ncd");
    EXPECT_EQ(text.Get(), L'}');
    // Without delimiters white space ends the token; it is not consumed.
    EXPECT_EQ(text.ReadToken(), 0);
    EXPECT_EQ(text.GetToken(), L"ef");
    EXPECT_EQ(text.Get(), L' ');
    EXPECT_EQ(text.ReadToken(), 0);
    EXPECT_EQ(text.GetToken(), L"gh\u20ac");
    EXPECT_EQ(text.Get(), L'\t');

    char bytes[3] = {};
    EXPECT_EQ(text.ReadBytes(bytes, 4), -1); // only three are left
    EXPECT_EQ(text.ReadBytes(bytes, 3), 0);
    EXPECT_EQ(std::string(bytes, 3), "RAW");
    EXPECT_TRUE(text.IsEnd());
}

// The byte readers take buffered ASCII straight from the buffer; the UTF-16
// readers always decode. Every read must come out alike either way, at any
// buffer size: carriage returns before, inside and ending tokens, peeks
// across refills, non-ASCII characters in and between tokens.
TEST_F(TextFile, ReadsAlikeInEveryEncodingAndBufferSize)
{
    const std::wstring sample = L"\r\rab\r\ncd}e\rf gh\u20ac\tx\u00e9y\r\n\tlong-token-ascii\U0001F600z}}\r "
                                L"\"q\\\"\" \r\r\u20ac}end\r";
    const auto readScript = [&](uint32_t encoding, int bufferSize)
    {
        CTextFile text;
        EXPECT_EQ(text.Open(new CFileStd(folder.Wide("script.txt"), L"rb"), CTextFile::kModeRead, 0,
                            bufferSize, true),
                  0);
        EXPECT_EQ(static_cast<uint32_t>(text.GetEncoding()), encoding);
        std::wstring log;
        for (int step = 0; step < 120; ++step)
        {
            switch (step % 6)
            {
            case 0:
                log += std::to_wstring(text.ReadToken()) + L"[" + text.GetToken() + L"]";
                break;
            case 1:
                log += std::to_wstring(text.ReadToken(L"}\u20ac")) + L"[" + text.GetToken() + L"]";
                break;
            case 2:
                log += std::to_wstring(text.Peek(step % 5)) + L"," + std::to_wstring(text.PeekAny(step % 3));
                break;
            case 3:
                log += std::to_wstring(text.Get());
                break;
            case 4:
                log += std::to_wstring(text.GetAny());
                break;
            default:
                log += std::to_wstring(text.Peek(0)) + (text.IsEnd() ? L"E" : L"-");
                break;
            }
            log += L' ';
        }
        return log;
    };
    std::wstring reference;
    for (const uint32_t encoding : {CTextFile::kEncodingUtf16LE, CTextFile::kEncodingUtf16BE,
                                    CTextFile::kEncodingUtf8, CTextFile::kEncodingAnsi})
    {
        {
            CTextFile text;
            ASSERT_EQ(text.Open(new CFileStd(folder.Wide("script.txt"), L"wb"), CTextFile::kModeWrite,
                                encoding, 0, true),
                      0);
            ASSERT_EQ(text.WriteTextAsIs(sample), 0);
        }
        for (int bufferSize : {2, 4, 6, 64, -1, 0})
        {
            SCOPED_TRACE(std::to_string(encoding) + " buffer " + std::to_string(bufferSize));
            const std::wstring log = readScript(encoding, bufferSize);
            if (reference.empty())
                reference = log;
            EXPECT_EQ(log, reference);
        }
    }
    // The script reaches the end of the input.
    EXPECT_NE(reference.find(L"-1E"), std::wstring::npos);
}

TEST_F(TextFile, RawReadingAndRawLineFeeds)
{
    folder.Write("latin.txt", "\xC3\xA9");
    CTextFile text;
    text.Open(new CFileStd(folder.Wide("latin.txt"), L"rb"), CTextFile::kModeRead, CTextFile::kEncodingAnsi,
              0, true);
    text.SetRaw(true);
    EXPECT_EQ(ReadAll(text), L"\u00c3\u00a9");
    text.Close();

    text.Open(new CFileStd(folder.Wide("lf.txt"), L"wb"), CTextFile::kModeWrite,
              CTextFile::kEncodingUtf8 | CTextFile::kRawLineFeeds, 0, true);
    text.WriteText(L"a\nb");
    text.WriteChar(L'\n');
    text.WriteChar(L'\u00e9');
    text.WriteBytes("!", 1);
    text.Close();
    EXPECT_EQ(folder.Read("lf.txt"), "\xEF\xBB\xBF"
                                     "a\nb\n\xC3\xA9!");
}

TEST_F(TextFile, ErrorsAndFailures)
{
    CTextFile text;
    try
    {
        text.Open(nullptr, CTextFile::kModeRead, 0);
        FAIL();
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[CTextFile::Open] Invalid input file handle");
    }

    folder.Write("le.txt", "\xFF\xFE"
                           "a");
    CFileStd* file = new CFileStd(folder.Wide("le.txt"), L"rb");
    try
    {
        text.Open(file, CTextFile::kModeRead, 0, 5);
        FAIL();
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(),
                  L"[CTextFileReaderUTF16LE::CTextFileReaderUTF16LE] Invalid buffer size");
    }
    text.Close();

    ASSERT_EQ(text.Open(file, CTextFile::kModeRead, 0), 0);
    try
    {
        text.Open(file, CTextFile::kModeRead, 0);
        FAIL();
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(),
                  L"[CTextFile::Open]:" + folder.Wide("le.txt") + L", File handle already opened");
    }
    // Reading needs no flush; writing to a read-only stream fails with -2
    // and keeps the bytes.
    EXPECT_EQ(text.WriteText(L"x"), -2);
    EXPECT_EQ(text.Close(), 0);
    EXPECT_EQ(text.Open(file, CTextFile::kModeWrite, CTextFile::kEncodingUtf8), 0);
    EXPECT_EQ(text.WriteText(L"x"), 0);
    EXPECT_EQ(text.Flush(), -2);
    EXPECT_EQ(text.Close(), -2);
    EXPECT_EQ(text.Open(file, CTextFile::kModeWrite, 9), -2); // no such encoding
    file->drop();

    // No file: nothing to read, nothing to write.
    EXPECT_TRUE(text.IsEnd());
    EXPECT_EQ(text.Get(), 0);
    EXPECT_EQ(text.WriteChar(L'a'), -2);
    EXPECT_EQ(text.Flush(), 0);
}

} // namespace
