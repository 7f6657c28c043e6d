#pragma once

#include "core/io/TextFileReader.h"
#include "core/io/TextFileWriter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class IFile;

// Text over a byte file of the virtual file system, in one of four
// encodings. Reading detects the encoding from the byte-order mark and drops
// carriage returns; writing starts with the mark of the chosen encoding
// (none for code-page text) and writes each line feed as CR LF.
//
// Characters are whole code points (see CTextFileReader). Results are
// integers: 0 or a character on success, -1 at the end of the input, -2 on a
// write or state failure.
class CTextFile
{
public:
    enum EMode
    {
        kModeRead = 1,
        kModeWrite = 2,
    };
    // The low byte of the encoding word.
    enum EEncoding
    {
        kEncodingAnsi = 1, // code-page text, no byte-order mark
        kEncodingUtf16LE = 2,
        kEncodingUtf16BE = 3,
        kEncodingUtf8 = 4,
    };
    // Encoding word bit: write line feeds unchanged (no CR LF).
    static constexpr uint32_t kRawLineFeeds = 0x100;

    CTextFile() = default;
    CTextFile(const CTextFile&) = delete;
    CTextFile& operator=(const CTextFile&) = delete;
    ~CTextFile();

    // Reading (mode 1): encoding word 1 reads code-page text without looking
    // for a mark; any other word detects the encoding from the mark at the
    // start of the file (none: code-page text from the first byte).
    // Writing (mode 2): the encoding word's encoding, its mark written first.
    // bufferSize 0 means 4096 bytes. With ownFile the file is dropped on
    // Close. Throws "[CTextFile::Open] Invalid input file handle" without a
    // file and "[CTextFile::Open]:%s, File handle already opened" while a file
    // is held; returns -2 for an unknown mode or write encoding, else 0.
    int Open(IFile* file, int mode, uint32_t encoding, int bufferSize = 0, bool ownFile = false);
    // Flushes, releases the file when owned and ends reading or writing;
    // returns the flush result.
    int Close();

    int Get() { return m_reader ? m_reader->Get() : 0; }
    int Peek(int offset = 0) { return m_reader ? m_reader->Peek(offset) : 0; }
    // Get and Peek with carriage returns handed out too.
    int GetAny() { return m_reader ? m_reader->GetAny() : 0; }
    int PeekAny(int offset = 0) { return m_reader ? m_reader->PeekAny(offset) : 0; }
    // The next token into GetToken(): up to the first delimiter (not
    // consumed), or with no delimiters up to the first white space.
    int ReadToken(std::wstring_view delimiters = {});
    const std::wstring& GetToken() const { return m_token; }
    // Copies and consumes the next count bytes; -1 when the file does not
    // hold them.
    int ReadBytes(void* buffer, size_t count);
    // The reader's buffered ASCII window and its consumption (see
    // CTextFileReader::AsciiWindow); an empty window without a reader.
    const uint8_t* AsciiWindow(size_t want, size_t& count)
    {
        count = 0;
        return m_reader ? m_reader->AsciiWindow(want, count) : nullptr;
    }
    void SkipBytes(size_t count)
    {
        if (m_reader)
            m_reader->SkipBytes(count);
    }

    // Writes the text; each line feed becomes CR LF unless the encoding word
    // carries kRawLineFeeds.
    int WriteText(std::wstring_view text);
    // The same for UTF-8 text (ASCII goes out with no wide copy).
    int WriteText(std::string_view text);
    // Writes the text with its line feeds unchanged, whatever the encoding
    // word says.
    int WriteTextAsIs(std::wstring_view text);
    int WriteTextAsIs(std::string_view text);
    // ASCII text that holds no line feed, with no character looked at on
    // the way (see CTextFileWriter::PutPlainAscii).
    int WritePlainAscii(std::string_view text) { return m_writer ? m_writer->PutPlainAscii(text) : -2; }
    int WriteChar(wchar_t c);
    int WriteBytes(const void* bytes, size_t count);
    // Write mode: the buffered bytes to the file (-2 on failure or without a
    // writer). Read mode: 0.
    int Flush();

    bool IsEnd();
    bool IsOpen() const { return m_file != nullptr; }

    // The code page for code-page text (65001 until set; 0 and 65001 are
    // UTF-8, 1252 Windows Latin-1). The text archive sets 1201 for the UTF-16
    // encodings, where it changes nothing.
    void SetCodePage(unsigned int codePage);
    // Code-page text read raw: each byte is one character, unconverted.
    // Cleared by Open.
    void SetRaw(bool raw);

    // The encoding in use (after reading, the one detected).
    int GetEncoding() const { return static_cast<int>(m_encoding & 0xFF); }

private:
    void SelectReader(int bufferSize);

    IFile* m_file = nullptr;
    bool m_ownFile = false;
    int m_mode = 0;
    uint32_t m_encoding = 0;
    unsigned int m_codePage = 65001;
    bool m_raw = false;
    std::unique_ptr<CTextFileReader> m_reader;
    std::unique_ptr<CTextFileWriter> m_writer;
    std::wstring m_token;
};
