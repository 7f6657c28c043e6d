#pragma once

#include <cstddef>
#include <cstdint>
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

    int WriteBytes(const void* bytes, size_t count);
    int Flush();

protected:
    // Encodes one code point (never a surrogate) into the buffer.
    virtual int PutCodePoint(uint32_t) { return -2; }
    // Feeds the text to PutCodePoint code point by code point: a surrogate
    // pair becomes one code point, a lone surrogate or a value beyond
    // U+10FFFF becomes U+FFFD.
    int PutCodePoints(const wchar_t* text, size_t count);

private:
    IFile* m_file;
    size_t m_capacity;
    std::vector<uint8_t> m_buffer;
};

// Code-page text; characters the code page lacks are lost.
class CTextFileWriterAnsi : public CTextFileWriter
{
public:
    using CTextFileWriter::CTextFileWriter;
    int PutChar(wchar_t c, unsigned int codePage) override;
    int PutChars(const wchar_t* text, size_t count, unsigned int codePage) override;
};

// UTF-8, mark EF BB BF.
class CTextFileWriterUTF8 : public CTextFileWriter
{
public:
    using CTextFileWriter::CTextFileWriter;
    int WriteBom() override;

protected:
    int PutCodePoint(uint32_t c) override;
};

// UTF-16 little-endian, mark FF FE.
class CTextFileWriterUTF16LE : public CTextFileWriter
{
public:
    using CTextFileWriter::CTextFileWriter;
    int WriteBom() override;

protected:
    int PutCodePoint(uint32_t c) override;
};

// UTF-16 big-endian, mark FE FF.
class CTextFileWriterUTF16BE : public CTextFileWriter
{
public:
    using CTextFileWriter::CTextFileWriter;
    int WriteBom() override;

protected:
    int PutCodePoint(uint32_t c) override;
};
