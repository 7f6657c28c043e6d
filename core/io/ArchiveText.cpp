#include "core/io/ArchiveText.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/ScopedCLocale.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Language.h"
#include "core/io/SaveFile.h"
#include "core/io/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace Misc::Serialization
{

using Misc::Error::CKVOError;

namespace
{

// White space as the text layer sees it: space, tab, LF, VT, FF, CR.
bool IsBlank(int c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

bool NeedsQuotes(const std::wstring& text)
{
    return text.find_first_of(L" /\t\"\r\n") != std::wstring::npos;
}

// The quoting rule: empty text becomes "", text with a blank, "/" or a
// double quote is enclosed in double quotes with a backslash before each
// inner double quote; anything else stays as it is.
std::wstring Quote(const std::wstring& text)
{
    if (text.empty())
        return L"\"\"";
    if (!NeedsQuotes(text))
        return text;
    std::wstring quoted;
    quoted.reserve(text.size() + 2);
    quoted += L'"';
    for (wchar_t c : text)
    {
        if (c == L'"')
            quoted += L'\\';
        quoted += c;
    }
    quoted += L'"';
    return quoted;
}

std::wstring Wide(const char* text)
{
    return Misc::Text::Utf8ToWide(text ? text : "");
}

} // namespace

int CArchiveText::EncodingFromName(const char* name)
{
    const std::string text = name ? name : "";
    if (text == "utf8" || text == "UTF8")
        return kEncodingUtf8;
    if (text == "utf16" || text == "UTF16" || text == "utf16le" || text == "UTF16LE")
        return kEncodingUtf16LE;
    if (text == "utf16be" || text == "UTF16BE")
        return kEncodingUtf16BE;
    return kEncodingAnsi;
}

CArchiveText::CArchiveText(const std::wstring& path, bool write, const char* dataName, uint32_t version,
                           const CLanguage* translation, const char* encoding)
    : CVersionRecord(0), m_write(write), m_dataName(dataName ? dataName : ""), m_translation(translation),
      m_encoding(EncodingFromName(encoding))
{
    m_ownedFile = std::make_unique<CArchiveFile>(path, write);
    m_file = m_ownedFile->Get();
    if (write)
        m_version = version;
    else
        m_minimumVersion = version;
    // A file that cannot be opened leaves the archive closed.
    if (m_file)
        open();
}

CArchiveText::CArchiveText(IFile* file, bool write, const char* dataName, uint32_t version,
                           const CLanguage* translation, const char* encoding)
    : CVersionRecord(0), m_file(file), m_write(write), m_dataName(dataName ? dataName : ""),
      m_translation(translation), m_encoding(EncodingFromName(encoding))
{
    if (write)
        m_version = version;
    else
        m_minimumVersion = version;
    open();
}

CArchiveText::~CArchiveText()
{
    Close();
}

void CArchiveText::open()
{
    if (!m_file)
        throw CKVOError(L"[CArchiveText::open] Invalid input file handle");
    if (m_text)
        throw CKVOError(L"[CArchiveText::open] File handle already opened");
    m_text = std::make_unique<CTextFile>();
    if (m_write)
    {
        if (m_text->Open(m_file, CTextFile::kModeWrite, static_cast<uint32_t>(m_encoding)) != 0)
        {
            m_text.reset();
            throw CKVOError(L"[CArchiveText::open] Failed to create file handle");
        }
    }
    else
    {
        if (m_text->Open(m_file, CTextFile::kModeRead, 0) != 0)
        {
            m_text.reset();
            throw CKVOError(L"[CArchiveText::open] Failed to create file handle");
        }
        m_encoding = m_text->GetEncoding();
    }
    m_codePage = (m_encoding == kEncodingUtf16LE || m_encoding == kEncodingUtf16BE) ? 1201 : 65001;
    if (m_text->IsOpen())
        m_text->SetCodePage(m_codePage);

    if (m_dataName.empty())
        return;
    if (m_write)
    {
        WriteString(m_dataName);
        if (m_version > 0)
            CVersionRecord::Write(*this);
        return;
    }
    ExpectToken(m_dataName.c_str());
    if (m_minimumVersion > 0 && !CVersionRecord::Read(*this))
    {
        throw CKVOError::Format(L"Error reading:%s, Line: %i, Expected:%s", getDataName().c_str(), m_line,
                                L"-Version number");
    }
    if (m_version != 0 && m_version < m_minimumVersion)
    {
        throw CKVOError::Format(L"Error reading:%s, Minimum expected version: %i, Received:%i",
                                getDataName().c_str(), m_minimumVersion, m_version);
    }
}

bool CArchiveText::Close()
{
    if (m_text)
    {
        if (m_text->Close() != 0)
            m_failed = true;
        m_text.reset();
    }
    if (m_ownedFile && !m_ownedFile->Finish(m_failed))
        m_failed = true;
    m_ownedFile.reset();
    m_file = nullptr;
    return !m_failed;
}

std::wstring CArchiveText::getDataName() const
{
    if (!m_text || !m_file)
        throw CKVOError(L"[CArchiveText::getDataName] Invalid file handle");
    return m_file->GetPath();
}

bool CArchiveText::IsOpen() const
{
    return m_text && m_text->IsOpen();
}

bool CArchiveText::IsVersionAtLeast(uint32_t version) const
{
    return m_version == 0 || m_version >= version;
}

// ---- writing ----------------------------------------------------------------

bool CArchiveText::Put(const std::wstring& text)
{
    if (!m_text || m_text->WriteText(text) != 0)
    {
        m_failed = true;
        return false;
    }
    return true;
}

bool CArchiveText::PutNumber(const char* text, size_t length)
{
    m_scratch.assign(text, text + length);
    return Put(m_scratch);
}

bool CArchiveText::WriteString(const std::string& text, bool quote)
{
    const std::wstring wide = Misc::Text::Utf8ToWide(text);
    return Put(quote ? Quote(wide) : wide);
}

bool CArchiveText::WriteWString(const std::wstring& text, bool quote)
{
    if (m_encoding == kEncodingAnsi)
    {
        std::string narrow;
        ConvertStringUtoA(text, narrow, m_codePage);
        return WriteString(narrow, quote);
    }
    return Put(quote ? Quote(text) : text);
}

bool CArchiveText::WriteDouble(double value, uint8_t precision)
{
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, precision);
    return result.ec == std::errc() && PutNumber(buffer, static_cast<size_t>(result.ptr - buffer));
}

bool CArchiveText::WriteFloat(float value, uint8_t precision)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), static_cast<double>(value),
                                      std::chars_format::fixed, precision);
    return result.ec == std::errc() && PutNumber(buffer, static_cast<size_t>(result.ptr - buffer));
}

#define HALVANE_WRITE_INTEGER(Name, Type, Stored)                                                            \
    bool CArchiveText::Name(Type value)                                                                      \
    {                                                                                                        \
        char buffer[16];                                                                                     \
        const auto result = std::to_chars(buffer, buffer + sizeof(buffer), static_cast<Stored>(value));      \
        return PutNumber(buffer, static_cast<size_t>(result.ptr - buffer));                                  \
    }

HALVANE_WRITE_INTEGER(WriteLong, int32_t, int32_t)
HALVANE_WRITE_INTEGER(WriteInt, int32_t, int32_t)
HALVANE_WRITE_INTEGER(WriteShort, int16_t, int32_t)
HALVANE_WRITE_INTEGER(WriteULong, uint32_t, uint32_t)
HALVANE_WRITE_INTEGER(WriteUInt, uint32_t, uint32_t)
HALVANE_WRITE_INTEGER(WriteUShort, uint16_t, uint32_t)
HALVANE_WRITE_INTEGER(WriteUChar, uint8_t, uint32_t)
#undef HALVANE_WRITE_INTEGER

bool CArchiveText::WriteChar(int8_t value)
{
    return Put(std::wstring(1, static_cast<wchar_t>(static_cast<uint8_t>(value))));
}

bool CArchiveText::WriteBool(bool value)
{
    return Put(value ? L"1" : L"0");
}

bool CArchiveText::WriteBytes(const void* data, uint32_t count)
{
    if (!m_text || m_text->WriteBytes(data, count) != 0)
    {
        m_failed = true;
        return false;
    }
    return true;
}

bool CArchiveText::WriteComment(const char* text)
{
    return Put(L"/*" + Wide(text) + L"*/");
}

bool CArchiveText::WriteSpaces(uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
    {
        if (!Put(L" "))
            return false;
    }
    return true;
}

bool CArchiveText::EndLine(int32_t indentChange)
{
    ++m_line;
    m_indent += indentChange;
    std::wstring text = L"\n";
    if (m_indent > 0)
        text.append(static_cast<size_t>(m_indent), L'\t');
    return Put(text);
}

// ---- reading ----------------------------------------------------------------

bool CArchiveText::SkipBlanks()
{
    if (!m_text)
        return false;
    for (;;)
    {
        int c = m_text->Peek(0);
        while (c >= 0 && IsBlank(c))
        {
            m_text->Get();
            if (c == '\n')
                ++m_line;
            c = m_text->Peek(0);
        }
        if (c < 0)
            return false;
        m_next = c;
        if (c != '/')
            return true;
        const int next = m_text->Peek(1);
        if (next == '/')
        {
            do
                c = m_text->Get();
            while (c >= 0 && c != '\n');
            if (c == '\n')
                ++m_line;
            continue;
        }
        if (next != '*')
            return true; // the "/" belongs to the next token
        m_text->Get();
        m_text->Get();
        for (;;)
        {
            c = m_text->Get();
            if (c < 0)
                return false; // a comment left open runs to the end of the input
            if (c == '\n')
                ++m_line;
            else if (c == '*' && m_text->Peek(0) == '/')
            {
                m_text->Get();
                break;
            }
        }
    }
}

void CArchiveText::Translate(std::wstring& token) const
{
    std::wstring translated;
    if (m_translation && m_translation->Translate(token, translated))
        token = std::move(translated);
}

bool CArchiveText::ReadTokenText(std::wstring& token, const wchar_t* delimiters)
{
    token.clear();
    if (!SkipBlanks())
        return false;
    if (delimiters && *delimiters)
    {
        m_text->ReadToken(delimiters);
        token = m_text->GetToken();
    }
    else if (m_next == '"')
    {
        m_text->Get();
        int previous = 0;
        for (;;)
        {
            const int c = m_text->Get();
            if (c < 0 || (c == '"' && previous != '\\'))
                break;
            if (c == '\n')
                ++m_line;
            token += static_cast<wchar_t>(c);
            previous = c;
        }
        // Only the backslashes written before double quotes go.
        size_t out = 0;
        for (size_t i = 0; i < token.size(); ++i)
        {
            if (token[i] == L'\\' && i + 1 < token.size() && token[i + 1] == L'"')
                continue;
            token[out++] = token[i];
        }
        token.resize(out);
    }
    else
    {
        m_text->ReadToken();
        token = m_text->GetToken();
    }
    Translate(token);
    return true;
}

bool CArchiveText::ReadWString(std::wstring& value)
{
    // The token is read into a spare string that then trades places with
    // `value`, so a caller that reads into the same string allocates once.
    if (!ReadTokenText(m_scratch, nullptr))
        return false;
    value.swap(m_scratch);
    return true;
}

bool CArchiveText::ReadString(std::string& value)
{
    if (!ReadTokenText(m_scratch, nullptr))
        return false;
    ConvertStringUtoA(m_scratch, value, kCodePageUtf8);
    return true;
}

std::string CArchiveText::ReadToken(const char* delimiters)
{
    const std::wstring wideDelimiters = Wide(delimiters);
    std::wstring token;
    ReadTokenText(token, wideDelimiters.c_str());
    std::string narrow;
    ConvertStringUtoA(token, narrow, kCodePageUtf8);
    return narrow;
}

std::wstring CArchiveText::ReadWToken(const wchar_t* delimiters)
{
    std::wstring token;
    ReadTokenText(token, delimiters);
    return token;
}

bool CArchiveText::ReadNumberToken(std::string& token)
{
    token.clear();
    if (!SkipBlanks())
        return false;
    // Up to the next blank (the text layer's white space: besides LF, CR,
    // tab and space also VT and FF, which no number holds).
    m_text->ReadToken();
    for (wchar_t c : m_text->GetToken())
        token += (c > 0 && c < 0x80) ? static_cast<char>(c) : '\x7f';
    return !token.empty();
}

namespace
{
// "%i": optional sign, then decimal, "0x" hexadecimal or "0" octal digits.
bool ParseSigned(const std::string& token, int32_t& value)
{
    char* end = nullptr;
    const long long parsed = std::strtoll(token.c_str(), &end, 0);
    if (end == token.c_str())
        return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(parsed)));
    return true;
}

// "%u": optional sign, decimal digits; a negative number wraps.
bool ParseUnsigned(const std::string& token, uint32_t& value)
{
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(token.c_str(), &end, 10);
    if (end == token.c_str())
        return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}
} // namespace

bool CArchiveText::ReadLong(int32_t& value)
{
    std::string token;
    return ReadNumberToken(token) && ParseSigned(token, value);
}

bool CArchiveText::ReadInt(int32_t& value)
{
    return ReadLong(value);
}

bool CArchiveText::ReadShort(int16_t& value)
{
    int32_t wide = 0;
    if (!ReadLong(wide))
        return false;
    value = static_cast<int16_t>(static_cast<uint16_t>(wide));
    return true;
}

bool CArchiveText::ReadULong(uint32_t& value)
{
    std::string token;
    return ReadNumberToken(token) && ParseUnsigned(token, value);
}

bool CArchiveText::ReadUInt(uint32_t& value)
{
    return ReadULong(value);
}

bool CArchiveText::ReadUShort(uint16_t& value)
{
    uint32_t wide = 0;
    if (!ReadULong(wide))
        return false;
    value = static_cast<uint16_t>(wide);
    return true;
}

bool CArchiveText::ReadFloat(float& value)
{
    std::string token;
    if (!ReadNumberToken(token))
        return false;
    const Misc::Text::CScopedCLocale cLocale;
    char* end = nullptr;
    const float parsed = std::strtof(token.c_str(), &end);
    if (end == token.c_str())
        return false;
    value = parsed;
    return true;
}

bool CArchiveText::ReadDouble(double& value)
{
    float single = 0.0f;
    if (!ReadFloat(single))
        return false;
    value = single;
    return true;
}

bool CArchiveText::ReadBool(bool& value)
{
    int32_t number = 0;
    if (!ReadLong(number))
        return false;
    value = number != 0;
    return true;
}

bool CArchiveText::ReadChar(int8_t& value)
{
    if (!SkipBlanks())
        return false;
    const int c = m_text->Get();
    if (c < 0)
        return false;
    value = static_cast<int8_t>(static_cast<uint8_t>(c & 0xFF));
    return true;
}

bool CArchiveText::ReadUChar(uint8_t& value)
{
    // WriteUChar writes the number, so the number is read back.
    uint32_t number = 0;
    if (!ReadULong(number))
        return false;
    value = static_cast<uint8_t>(number);
    return true;
}

bool CArchiveText::ReadBytes(void* data, uint32_t count)
{
    return m_text && m_text->ReadBytes(data, count) == 0;
}

template <typename Char> bool CArchiveText::Expect(const Char* text)
{
    SkipBlanks();
    for (const Char* c = text; c && *c; ++c)
    {
        if (!m_text || m_text->Get() != static_cast<int>(*c))
        {
            throw CKVOError::Format(L"Error reading:%s, Line: %i, Expected:%s", getDataName().c_str(), m_line,
                                    Text(text).c_str());
        }
    }
    return true;
}

template <typename Char> bool CArchiveText::Test(const Char* text, bool peek)
{
    if (!SkipBlanks())
        return false;
    int length = 0;
    for (const Char* c = text; c && *c; ++c, ++length)
    {
        // The first character is the one SkipBlanks looked at.
        if ((length == 0 ? m_next : m_text->Peek(length)) != static_cast<int>(*c))
            return false;
    }
    if (!peek)
    {
        for (int i = 0; i < length; ++i)
            m_text->Get();
    }
    return true;
}

std::wstring CArchiveText::Text(const char* text)
{
    return Wide(text);
}

std::wstring CArchiveText::Text(const wchar_t* text)
{
    return text ? text : L"";
}

// Narrow text is compared character by character when it is ASCII; other
// narrow text is UTF-8 and is compared as the wide text it stands for.
bool CArchiveText::ExpectToken(const char* text)
{
    if (text &&
        std::any_of(text, text + std::strlen(text), [](char c) { return static_cast<uint8_t>(c) >= 0x80; }))
        return Expect(Wide(text).c_str());
    return Expect(text);
}

bool CArchiveText::ExpectWToken(const wchar_t* text)
{
    return Expect(text);
}

bool CArchiveText::TestToken(const char* text, bool peek)
{
    if (text &&
        std::any_of(text, text + std::strlen(text), [](char c) { return static_cast<uint8_t>(c) >= 0x80; }))
        return Test(Wide(text).c_str(), peek);
    return Test(text, peek);
}

bool CArchiveText::TestWToken(const wchar_t* text, bool peek)
{
    return Test(text, peek);
}

} // namespace Misc::Serialization
