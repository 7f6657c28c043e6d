#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class IFile;

// Reads characters from a byte file through a buffer. The base class is
// also the reader of an empty file: it is at its end at once, so Get, Peek
// and ReadToken answer -1.
//
// Characters are whole code points (a wide character here holds any code
// point): UTF-16 surrogate pairs and four-byte UTF-8 sequences arrive as one
// character. Carriage returns never come out of Get or Peek.
class CTextFileReader
{
public:
    // bufferSize: bytes fetched from the file at a time; 0 means 4096 and a
    // negative size fetches only what each character needs.
    explicit CTextFileReader(IFile* file = nullptr, int bufferSize = 0);
    CTextFileReader(const CTextFileReader&) = delete;
    CTextFileReader& operator=(const CTextFileReader&) = delete;
    virtual ~CTextFileReader() = default;

    // The next character, consumed; -1 at the end of the input.
    int Get()
    {
        for (;;)
        {
            const int c = BufferedAscii(0);
            if (c < 0)
                return GetDecoded();
            ++m_pos;
            if (c != kCarriageReturn)
                return c;
        }
    }
    // The character at that offset past the read position (0 is the next
    // one), not consumed; -1 when the input ends before it. Carriage
    // returns at the read position are consumed (no read returns them), so
    // a token read next starts at the character peeked.
    int Peek(int offset = 0)
    {
        int c = BufferedAscii(0);
        while (c == kCarriageReturn)
        {
            ++m_pos;
            c = BufferedAscii(0);
        }
        if (c < 0 || offset != 0)
            return PeekDecoded(offset);
        return c;
    }
    // Get and Peek that also hand out carriage returns (quoted text keeps
    // the ones that do not end a line).
    int GetAny()
    {
        const int c = BufferedAscii(0);
        if (c < 0)
            return GetAnyDecoded();
        ++m_pos;
        return c;
    }
    int PeekAny(int offset = 0);
    // The characters up to (not including) the first delimiter, or with no
    // delimiters up to the first white-space character; the delimiter is not
    // consumed. Carriage returns before or inside a token are dropped (with
    // no delimiters one ends it). Returns 0, or -1 when the input is at its
    // end.
    int ReadToken(std::wstring& token, unsigned int codePage, std::wstring_view delimiters);
    // Copies the next count bytes and consumes them; 0, or -1 when the file
    // does not hold that many more bytes (nothing is consumed then).
    int ReadBytes(void* buffer, size_t count);
    // True when no character is left.
    bool IsEnd();

    // The bytes buffered from the read position, at least `want` of them
    // when the file holds that many; none unless every byte below 0x80 is
    // a character of its own here. Callers scan runs of such bytes in place
    // and consume what they took with SkipBytes; carriage returns and bytes
    // from 0x80 up stay for Get and Peek to decide.
    const uint8_t* AsciiWindow(size_t want, size_t& count)
    {
        count = 0;
        if (!m_asciiBytes)
            return nullptr;
        Ensure(want);
        count = m_fill - m_pos;
        return m_buffer.data() + m_pos;
    }
    void SkipBytes(size_t count) { m_pos += std::min(count, m_fill - m_pos); }

    // The code page of the code-page reader (0 and 65001 are UTF-8 here,
    // 1252 Windows Latin-1), and the raw switch that hands out its bytes
    // unconverted.
    void SetCodePage(unsigned int codePage) { m_codePage = codePage; }
    void SetRaw(bool raw) { m_raw = raw; }

protected:
    static constexpr int kCarriageReturn = 0x0D;

    // Readers whose characters below 0x80 are single bytes of the same
    // value (UTF-8 and the code pages) set this: such bytes then skip the
    // decoder, which is most of a text file.
    bool m_asciiBytes = false;

    // Decodes the character that starts `at` bytes past the read position
    // and moves `at` past it; -1 at the end of the input. The base has none.
    virtual int DecodeAt(size_t& at);

    // Makes `count` bytes past the read position available; false when the
    // file ends before.
    bool Ensure(size_t count) { return m_fill - m_pos >= count || Fill(count); }
    uint8_t ByteAt(size_t at) const { return m_buffer[m_pos + at]; }
    // One UTF-8 character at `at` (shared by the UTF-8 reader and the
    // code-page reader on a UTF-8 code page); a sequence cut off by the end
    // of the input gives U+FFFD for each of its bytes.
    int DecodeUtf8At(size_t& at);
    // One UTF-16 character (a surrogate pair combined) at `at`; a lone last
    // byte gives U+FFFD.
    int DecodeUtf16At(size_t& at, bool bigEndian);

    unsigned int m_codePage = 65001;
    bool m_raw = false;

private:
    // Ensure's slow path: reads from the file.
    bool Fill(size_t count);
    // The byte `at` past the read position when it is already buffered and
    // is a whole character by itself; -1 otherwise (the decoder decides).
    int BufferedAscii(size_t at) const
    {
        if (!m_asciiBytes || m_fill - m_pos <= at)
            return -1;
        const uint8_t byte = m_buffer[m_pos + at];
        return byte < 0x80 ? byte : -1;
    }
    // Get, Peek and GetAny through the decoder.
    int GetDecoded();
    int PeekDecoded(int offset);
    int GetAnyDecoded();

    IFile* m_file;
    size_t m_chunk;
    std::vector<uint8_t> m_buffer;
    size_t m_pos = 0;
    size_t m_fill = 0;
    bool m_fileEnd = false;
};

// Code-page text: one byte per character, or UTF-8 on a UTF-8 code page.
class CTextFileReaderAnsi : public CTextFileReader
{
public:
    explicit CTextFileReaderAnsi(IFile* file = nullptr, int bufferSize = 0);

protected:
    int DecodeAt(size_t& at) override;
};

class CTextFileReaderUTF8 : public CTextFileReader
{
public:
    explicit CTextFileReaderUTF8(IFile* file = nullptr, int bufferSize = 0);

protected:
    int DecodeAt(size_t& at) override { return DecodeUtf8At(at); }
};

// UTF-16: an odd buffer size throws
// "[CTextFileReaderUTF16LE::CTextFileReaderUTF16LE] Invalid buffer size".
class CTextFileReaderUTF16LE : public CTextFileReader
{
public:
    CTextFileReaderUTF16LE(IFile* file, int bufferSize);

protected:
    int DecodeAt(size_t& at) override;
};

class CTextFileReaderUTF16BE : public CTextFileReader
{
public:
    CTextFileReaderUTF16BE(IFile* file, int bufferSize);

protected:
    int DecodeAt(size_t& at) override;
};
