#pragma once

#include "core/io/Archive.h"
#include "core/io/ArchiveCommon.h"
#include "core/io/DataBag.h"
#include "core/io/SaveFile.h"
#include "core/io/VersionRecord.h"

#include <memory>
#include <string>
#include <string_view>

class CLanguage;
class CTextFile;

namespace Misc::Serialization
{

// The text archive: free-form text in one of four encodings, a header
// line with the type tag, a "Version{" block, then the saved object's
// lines, indented with tabs, CR LF line ends. Comments ("//" to the end of
// the line, "/*" to "*/") may stand between any two tokens when reading.
//
// Every value written reads back unchanged: text with a blank (VT and FF
// included), "/" or a double quote is quoted, with a backslash before each
// inner double quote. A quoted value that ends in a backslash closes with
// the same two characters as an inner quote, so its line ends right after
// it and the next line starts with a tab; the reader takes a quote after a
// backslash as the closing one when CR LF and a tab (or a "}", or the end
// of the input) follow, and a line feed right after an inner quote is
// written bare (no CR) so that it never looks like one.
class CArchiveText : public IArchive, public CVersionRecord
{
public:
    enum EEncoding
    {
        kEncodingAnsi = 1, // code-page text (UTF-8 here) without a byte-order mark
        kEncodingUtf16LE = 2,
        kEncodingUtf16BE = 3,
        kEncodingUtf8 = 4,
    };

    // Opens the file at `path` for reading or writing. `version` is the
    // version to write, or the minimum version accepted when reading.
    // `encoding` is an encoding name ("UTF8", "utf16", "UTF16BE", ...);
    // any other name writes code-page text without a byte-order mark.
    // Reading detects the encoding from the byte-order mark.
    CArchiveText(const std::wstring& path, bool write, const char* dataName, uint32_t version,
                 const CLanguage* translation = nullptr, const char* encoding = "UTF8");
    // The same on a file object the caller keeps.
    CArchiveText(IFile* file, bool write, const char* dataName, uint32_t version,
                 const CLanguage* translation = nullptr, const char* encoding = "UTF8");
    ~CArchiveText() override;

    CArchiveText(const CArchiveText&) = delete;
    CArchiveText& operator=(const CArchiveText&) = delete;

    // Flushes and closes; for a file opened by path puts the written file in
    // place. Returns false when any write failed; the target file is then
    // left as it was. The destructor closes too, but does not put a file in
    // place while an exception is leaving the writer.
    bool Close();

    // Encoding of an encoding name (the names are case-sensitive).
    static int EncodingFromName(const char* name);
    int GetEncoding() const { return m_encoding; }
    int GetLineNumber() const { return m_line; }

    // Skips white space and comments, counting line ends; false at the end
    // of the input.
    virtual bool SkipBlanks();

    std::wstring getDataName() const override;
    bool IsVersionAtLeast(uint32_t version) const override;
    uint32_t GetVersion() const override { return m_version; }
    CDataBag& GetDataBag() override { return m_common.dataBag; }

    using IArchive::WriteString;
    using IArchive::WriteWString;
    bool WriteWString(const std::wstring& text, bool quote = true) override;
    bool WriteString(const std::string& text, bool quote = true) override;
    // Keys and tags: no string is made for them.
    bool WriteString(const char* text) override;
    bool WriteDouble(double value, uint8_t precision) override;
    bool WriteFloat(float value, uint8_t precision) override;
    bool WriteLong(int32_t value) override;
    bool WriteULong(uint32_t value) override;
    bool WriteInt(int32_t value) override;
    bool WriteUInt(uint32_t value) override;
    bool WriteShort(int16_t value) override;
    bool WriteUShort(uint16_t value) override;
    bool WriteChar(int8_t value) override;
    bool WriteUChar(uint8_t value) override;
    bool WriteBool(bool value) override;
    bool WriteBytes(const void* data, uint32_t count) override;
    bool WriteComment(const char* text) override;
    bool WriteSpaces(uint32_t count) override;
    bool EndLine(int32_t indentChange) override;

    bool ReadWString(std::wstring& value) override;
    bool ReadString(std::string& value) override;
    bool ReadDouble(double& value) override;
    bool ReadFloat(float& value) override;
    bool ReadLong(int32_t& value) override;
    bool ReadULong(uint32_t& value) override;
    bool ReadInt(int32_t& value) override;
    bool ReadUInt(uint32_t& value) override;
    bool ReadShort(int16_t& value) override;
    bool ReadUShort(uint16_t& value) override;
    bool ReadChar(int8_t& value) override;
    bool ReadUChar(uint8_t& value) override;
    bool ReadBool(bool& value) override;
    bool ReadBytes(void* data, uint32_t count) override;
    std::string ReadToken(const char* delimiters) override;
    std::wstring ReadWToken(const wchar_t* delimiters) override;
    bool ExpectWToken(const wchar_t* text) override;
    bool ExpectToken(const char* text) override;
    bool TestWToken(const wchar_t* text, bool peek = false) override;
    bool TestToken(const char* text, bool peek = false) override;
    bool IsOpen() const override;

private:
    void open();
    bool WriteString(std::string_view text, bool quote);
    // Writes text as it stands. Narrow text is UTF-8; ASCII, which is
    // nearly everything a save holds, goes to the file with no wide copy.
    bool Put(std::wstring_view text) { return PutOf(text); }
    bool Put(std::string_view text) { return PutOf(text); }
    template <typename Char> bool PutOf(std::basic_string_view<Char> text);
    // ASCII text that holds no line feed (numbers, plain keys, spaces):
    // written with no character looked at.
    bool PutPlain(std::string_view text);
    // The text by the quoting rule, built in `quoted` where it needs quotes.
    bool PutQuoted(std::wstring_view text) { return PutQuotedOf(text, m_written); }
    bool PutQuoted(std::string_view text) { return PutQuotedOf(text, m_narrow); }
    template <typename Char>
    bool PutQuotedOf(std::basic_string_view<Char> text, std::basic_string<Char>& quoted);
    // One token by the token rule; false when the input has ended.
    bool ReadTokenText(std::wstring& token, const wchar_t* delimiters);
    void ReadQuoted(std::wstring& token);
    bool ReadPlainToken(std::wstring& token);
    bool ClosesAfterBackslash();
    // The bytes buffered at the read position while they are ASCII
    // characters of their own (see CTextFile::AsciiWindow), for scanning in
    // place; empty for the UTF-16 encodings.
    std::string_view BufferedAscii();
    // The characters up to the next blank, as ASCII, for number parsing;
    // the view holds until the next read.
    bool ReadNumberToken(std::string_view& token);
    void Translate(std::wstring& token);
    template <typename Char> bool Expect(const Char* text);
    template <typename Char> bool Test(const Char* text, bool peek);
    // With wholeWord, text that ends in a letter, digit or "_" matches only
    // where the input's word ends there too: a test for the key "-Icon"
    // is no match for "-IconHighlightColor".
    template <typename Char> int MatchInBuffer(const Char* text, bool peek = false, bool wholeWord = false);
    static std::wstring Text(const char* text);
    static std::wstring Text(const wchar_t* text);

    // Bytes the in-place scans ask the reader to have buffered: more than
    // any token or number of a save, so that few of them fall back to the
    // character path at a buffer's end.
    static constexpr size_t kScanWindow = 256;
    // Bytes moved to or from the file at a time (even, as the UTF-16
    // readers need): a save or layout is read or written whole, and each
    // transfer costs a system call.
    static constexpr int kFileChunk = 64 * 1024;

    CArchiveCommon m_common;
    std::unique_ptr<CTextFile> m_text;
    int m_line = 1;
    int m_next = -1; // the character SkipBlanks stopped at
    int m_indent = 0;
    int m_encoding = kEncodingUtf8;
    unsigned int m_codePage = 65001;
    // The last value written was quoted and ends in a backslash.
    bool m_closedAfterBackslash = false;
    std::wstring m_scratch;
    std::string m_number; // a number token read through the character path
    // Spare strings the writes reuse.
    std::wstring m_wide;
    std::wstring m_written;
    std::string m_narrow;
};

} // namespace Misc::Serialization
