#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class IFile;

// Writes characters to a byte file through an output buffer that goes to
// the file when it is full and on Flush. The base class encodes nothing:
// PutChar and PutChars answer -2 and WriteBom writes no mark.
//
// Results: 0 on success, -2 when the file refused bytes (the bytes it did
// not take stay in the buffer).
class CTextFileWriter
{
public:
    // bufferSize: 0 or a negative size means 4096 bytes.
    explicit CTextFileWriter(IFile* file = nullptr, int bufferSize = 0);
    CTextFileWriter(const CTextFileWriter&) = delete;
    CTextFileWriter& operator=(const CTextFileWriter&) = delete;
    virtual ~CTextFileWriter() = default;

    // One character (any code point), in the writer's encoding. The
    // Unicode writers ignore the code page.
    virtual int PutChar(wchar_t c, unsigned int codePage);
    // `count` characters of the text.
    virtual int PutChars(const wchar_t* text, size_t count, unsigned int codePage);
    virtual int WriteBom() { return 0; }

    // The text as PutChars writes it, each line feed as CR LF when
    // `lineFeedsAsCrLf` is set. Runs of ASCII (the bulk of every saved
    // file) are encoded straight into the output buffer; everything else
    // goes through PutChars.
    int PutText(std::wstring_view text, unsigned int codePage, bool lineFeedsAsCrLf);
    // The same for UTF-8 text. Numbers, keys and line ends are ASCII and go
    // into the buffer byte for byte, with no wide copy.
    int PutText(std::string_view text, unsigned int codePage, bool lineFeedsAsCrLf);
    // ASCII text without line feeds (numbers, keys, blanks), which every
    // encoding here writes without looking at the characters: one byte
    // each straight into the buffer where that is the form.
    int PutPlainAscii(std::string_view text)
    {
        if (m_asciiForm == EAsciiForm::kOneByte && text.size() <= m_buffer.size() - m_used)
        {
            std::memcpy(m_buffer.data() + m_used, text.data(), text.size());
            m_used += text.size();
            return 0;
        }
        return PutText(text, 0, false);
    }

    int WriteBytes(const void* bytes, size_t count);
    int Flush();

protected:
    // How the writer's encoding stores an ASCII character: one byte (UTF-8
    // and every code page here), or one UTF-16 unit in either byte order.
    enum class EAsciiForm
    {
        kNone,
        kOneByte,
        kUtf16LE,
        kUtf16BE,
    };
    CTextFileWriter(IFile* file, int bufferSize, EAsciiForm asciiForm);

    // Encodes one code point (never a surrogate) into the buffer.
    virtual int PutCodePoint(uint32_t) { return -2; }
    // Feeds the text to PutCodePoint code point by code point: a surrogate
    // pair becomes one code point, a lone surrogate or a value beyond
    // U+10FFFF becomes U+FFFD.
    int PutCodePoints(const wchar_t* text, size_t count);

private:
    template <EAsciiForm Form, typename Char>
    size_t PutAscii(const Char* text, size_t count, bool lineFeedsAsCrLf);
    template <typename Char>
    int PutTextOf(std::basic_string_view<Char> text, unsigned int codePage, bool lineFeedsAsCrLf);
    // A run of characters from U+0080 up, as UTF-16 or as UTF-8 bytes.
    int PutNonAscii(const wchar_t* text, size_t count, unsigned int codePage);
    int PutNonAscii(const char* text, size_t count, unsigned int codePage);

    IFile* m_file;
    size_t m_capacity;
    EAsciiForm m_asciiForm = EAsciiForm::kNone;
    // The bytes waiting for the file are m_buffer[0, m_used); the vector
    // grows past the capacity only to keep bytes the file refused.
    std::vector<uint8_t> m_buffer;
    size_t m_used = 0;
};

// Code-page text; characters the code page lacks are lost.
class CTextFileWriterAnsi : public CTextFileWriter
{
public:
    explicit CTextFileWriterAnsi(IFile* file = nullptr, int bufferSize = 0);
    int PutChar(wchar_t c, unsigned int codePage) override;
    int PutChars(const wchar_t* text, size_t count, unsigned int codePage) override;
};

// UTF-8, mark EF BB BF.
class CTextFileWriterUTF8 : public CTextFileWriter
{
public:
    explicit CTextFileWriterUTF8(IFile* file = nullptr, int bufferSize = 0);
    int WriteBom() override;

protected:
    int PutCodePoint(uint32_t c) override;
};

// UTF-16 little-endian, mark FF FE.
class CTextFileWriterUTF16LE : public CTextFileWriter
{
public:
    explicit CTextFileWriterUTF16LE(IFile* file = nullptr, int bufferSize = 0);
    int WriteBom() override;

protected:
    int PutCodePoint(uint32_t c) override;
};

// UTF-16 big-endian, mark FE FF.
class CTextFileWriterUTF16BE : public CTextFileWriter
{
public:
    explicit CTextFileWriterUTF16BE(IFile* file = nullptr, int bufferSize = 0);
    int WriteBom() override;

protected:
    int PutCodePoint(uint32_t c) override;
};
