#include "core/io/ArchiveText.h"

#include "core/foundation/FixedDecimal.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/PlainNumber.h"
#include "core/foundation/ScopedCLocale.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/TextUtilities.h"
#include "core/io/Language.h"
#include "core/io/SaveFile.h"
#include "core/io/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <type_traits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Misc::Serialization
{

namespace
{

// Letters, digits and "_": the characters that continue a key or word.
template <typename Char> bool IsWordCharacter(Char c)
{
    const long code = static_cast<long>(c);
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') ||
           code == '_';
}

} // namespace

using Misc::Error::CKVOError;

namespace
{

// White space as the text layer sees it: space, tab, LF, VT, FF, CR.
bool IsBlank(int c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// Characters that the token rule would not read back inside one unquoted
// token: a blank (any of the white space above), a "/" (a comment could
// start) or a double quote.
constexpr bool NeedsQuotes(uint32_t c)
{
    return c == ' ' || c == '/' || c == '"' || (c >= 0x09 && c <= 0x0D);
}

template <typename Char> bool NeedsQuotes(std::basic_string_view<Char> text)
{
    return std::any_of(text.begin(), text.end(),
                       [](Char c) { return NeedsQuotes(static_cast<std::make_unsigned_t<Char>>(c)); });
}

// What writing has to know of narrow text: whether it needs quotes (as
// above) and whether it is ASCII. One table lookup per byte answers both.
enum : uint8_t
{
    kNeedsQuotes = 1,
    kNotAscii = 2,
};
struct SByteClasses
{
    uint8_t of[256] = {};
    constexpr SByteClasses()
    {
        for (int c = 0; c < 256; ++c)
        {
            if (c >= 0x80)
                of[c] = kNotAscii;
            else if (NeedsQuotes(static_cast<uint32_t>(c)))
                of[c] = kNeedsQuotes;
        }
    }
};
constexpr SByteClasses kByteClasses;

uint8_t ClassesOf(std::string_view text)
{
    uint8_t classes = 0;
    for (const char c : text)
        classes |= kByteClasses.of[static_cast<uint8_t>(c)];
    return classes;
}

// The length of the run of blanks at `bytes`, and the line feeds in it.
// Indents make most runs several bytes long: sixteen bytes are classified
// at a time where the processor can.
size_t BlankRun(const uint8_t* bytes, size_t count, int& lines)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i tab = _mm_set1_epi8(0x09);
    const __m128i controlSpan = _mm_set1_epi8(0x0D - 0x09);
    for (; i + 16 <= count; i += 16)
    {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        // Tab to CR: the byte less 9 is at most 4, unsigned.
        const __m128i shifted = _mm_sub_epi8(block, tab);
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(shifted, controlSpan), shifted);
        const __m128i blank = _mm_or_si128(control, _mm_cmpeq_epi8(block, space));
        const auto blanks = static_cast<unsigned>(_mm_movemask_epi8(blank));
        const auto feeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lineFeed)));
        const unsigned run = blanks != 0xFFFFu ? static_cast<unsigned>(__builtin_ctz(~blanks)) : 16u;
        // Few line feeds per block: counted bit by bit.
        for (unsigned inRun = feeds & ((1u << run) - 1u); inRun != 0; inRun &= inRun - 1u)
            ++lines;
        if (run < 16)
            return i + run;
    }
#endif
    for (; i < count && IsBlank(bytes[i]); ++i)
        lines += bytes[i] == '\n' ? 1 : 0;
    return i;
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
    : CVersionRecord(0), m_common(path, write, dataName, version, translation),
      m_encoding(EncodingFromName(encoding))
{
    m_version = m_common.VersionToWrite(version);
    // A file that cannot be opened leaves the archive closed.
    if (m_common.file)
        open();
}

CArchiveText::CArchiveText(IFile* file, bool write, const char* dataName, uint32_t version,
                           const CLanguage* translation, const char* encoding)
    : CVersionRecord(0), m_common(file, write, dataName, version, translation),
      m_encoding(EncodingFromName(encoding))
{
    m_version = m_common.VersionToWrite(version);
    open();
}

CArchiveText::~CArchiveText()
{
    Close();
}

void CArchiveText::open()
{
    if (!m_common.file)
        throw CKVOError(L"[CArchiveText::open] Invalid input file handle");
    if (m_text)
        throw CKVOError(L"[CArchiveText::open] File handle already opened");
    m_text = std::make_unique<CTextFile>();
    if (m_common.write)
    {
        if (m_text->Open(m_common.file, CTextFile::kModeWrite, static_cast<uint32_t>(m_encoding),
                         kFileChunk) != 0)
        {
            m_text.reset();
            throw CKVOError(L"[CArchiveText::open] Failed to create file handle");
        }
    }
    else
    {
        if (m_text->Open(m_common.file, CTextFile::kModeRead, 0, kFileChunk) != 0)
        {
            m_text.reset();
            throw CKVOError(L"[CArchiveText::open] Failed to create file handle");
        }
        m_encoding = m_text->GetEncoding();
    }
    m_codePage = (m_encoding == kEncodingUtf16LE || m_encoding == kEncodingUtf16BE) ? 1201 : 65001;
    if (m_text->IsOpen())
        m_text->SetCodePage(m_codePage);

    if (m_common.dataName.empty())
        return;
    if (m_common.write)
    {
        WriteString(m_common.dataName);
        if (m_version > 0)
            CVersionRecord::Write(*this);
        return;
    }
    ExpectToken(m_common.dataName.c_str());
    if (m_common.minimumVersion > 0 && !CVersionRecord::Read(*this))
    {
        throw CKVOError::Format(L"Error reading:%s, Line: %i, Expected:%s",
                                EscapeControlCharacters(getDataName()).c_str(), m_line, L"-Version number");
    }
    m_common.RequireMinimumVersion(*this, m_version);
}

bool CArchiveText::Close()
{
    if (m_text)
    {
        if (m_text->Close() != 0)
            m_common.failed = true;
        m_text.reset();
    }
    m_common.FinishOwnedFile();
    m_common.ReleaseFile();
    return !m_common.failed;
}

std::wstring CArchiveText::getDataName() const
{
    if (!m_text)
        throw CKVOError(L"[CArchiveText::getDataName] Invalid file handle");
    return m_common.PathOrThrow(L"CArchiveText::getDataName");
}

bool CArchiveText::IsOpen() const
{
    return m_text && m_text->IsOpen();
}

bool CArchiveText::IsVersionAtLeast(uint32_t version) const
{
    return VersionHolds(m_version, version);
}

// ---- writing ----------------------------------------------------------------

template <typename Char> bool CArchiveText::PutOf(std::basic_string_view<Char> text)
{
    if (!m_text)
    {
        m_common.failed = true;
        return false;
    }
    int result = 0;
    if (m_closedAfterBackslash)
    {
        // The value just written ends in a backslash, so its closing quote
        // reads as an escaped one unless a line end and a tab follow (see
        // ClosesAfterBackslash): the line ends here if the next text does
        // not end it, and the next line starts with a tab.
        m_closedAfterBackslash = false;
        if (!text.empty() && text[0] == '\n')
            text.remove_prefix(1);
        else
            ++m_line;
        result = m_text->WriteText(std::string_view("\n\t"));
        if (result == 0 && !text.empty() && text[0] == '\t')
            text.remove_prefix(1);
    }
    if (result == 0)
        result = m_text->WriteText(text);
    if (result != 0)
    {
        m_common.failed = true;
        return false;
    }
    return true;
}

bool CArchiveText::PutPlain(std::string_view text)
{
    if (m_closedAfterBackslash || !m_text)
        return Put(text);
    if (m_text->WritePlainAscii(text) != 0)
    {
        m_common.failed = true;
        return false;
    }
    return true;
}

template <typename Char>
bool CArchiveText::PutQuotedOf(std::basic_string_view<Char> text, std::basic_string<Char>& quoted)
{
    if (text.empty())
        return Put(std::string_view("\"\""));
    if (!NeedsQuotes(text))
        return Put(text);
    quoted.assign(1, Char('"'));
    size_t from = 0;
    for (size_t quote = text.find(Char('"')); quote != text.npos; quote = text.find(Char('"'), from))
    {
        quoted.append(text.data() + from, quote - from);
        quoted += Char('\\');
        quoted += Char('"');
        from = quote + 1;
        if (from < text.size() && text[from] == '\n')
        {
            // A line feed right after an inner quote goes out bare: only a
            // CR LF after a backslash and a quote can close a value.
            if (!Put(quoted) || m_text->WriteTextAsIs(std::string_view("\n")) != 0)
            {
                m_common.failed = true;
                return false;
            }
            ++from;
            quoted.clear();
        }
    }
    quoted.append(text.data() + from, text.size() - from);
    quoted += Char('"');
    if (!Put(quoted))
        return false;
    m_closedAfterBackslash = text.back() == Char('\\');
    return true;
}

bool CArchiveText::WriteString(const char* text)
{
    return WriteString(std::string_view(text ? text : ""), true);
}

bool CArchiveText::WriteString(const std::string& text, bool quote)
{
    return WriteString(std::string_view(text), quote);
}

bool CArchiveText::WriteString(std::string_view text, bool quote)
{
    // Narrow text is UTF-8. ASCII (nearly all of it) is written as it is;
    // anything else is read as UTF-8 first, so that bytes that are not
    // UTF-8 go out as they would from wide text.
    const uint8_t classes = ClassesOf(text);
    if ((classes & kNotAscii) == 0)
    {
        // Without blanks there is no line feed to convert.
        if ((classes & kNeedsQuotes) == 0 && !(quote && text.empty()))
            return PutPlain(text);
        return quote ? PutQuoted(text) : Put(text);
    }
    m_wide = Misc::Text::Utf8ToWide(text);
    return quote ? PutQuoted(std::wstring_view(m_wide)) : Put(std::wstring_view(m_wide));
}

bool CArchiveText::WriteWString(const std::wstring& text, bool quote)
{
    if (m_encoding == kEncodingAnsi)
    {
        std::string narrow;
        ConvertStringUtoA(text, narrow, m_codePage);
        return WriteString(narrow, quote);
    }
    return quote ? PutQuoted(std::wstring_view(text)) : Put(std::wstring_view(text));
}

bool CArchiveText::WriteDouble(double value, uint8_t precision)
{
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, precision);
    return result.ec == std::errc() &&
           PutPlain(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

bool CArchiveText::WriteFloat(float value, uint8_t precision)
{
    char buffer[400];
    const char* end = Misc::Text::FormatFixed(buffer, buffer + sizeof(buffer), value, precision);
    return end && PutPlain(std::string_view(buffer, static_cast<size_t>(end - buffer)));
}

#define HALVANE_WRITE_INTEGER(Name, Type, Stored)                                                            \
    bool CArchiveText::Name(Type value)                                                                      \
    {                                                                                                        \
        char buffer[16];                                                                                     \
        const auto result = std::to_chars(buffer, buffer + sizeof(buffer), static_cast<Stored>(value));      \
        return PutPlain(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));                 \
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
    const wchar_t c = static_cast<wchar_t>(static_cast<uint8_t>(value));
    return Put(std::wstring_view(&c, 1));
}

bool CArchiveText::WriteBool(bool value)
{
    return PutPlain(value ? "1" : "0");
}

bool CArchiveText::WriteBytes(const void* data, uint32_t count)
{
    if (!m_text || (m_closedAfterBackslash && !Put(std::string_view())) ||
        m_text->WriteBytes(data, count) != 0)
    {
        m_common.failed = true;
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
    static constexpr std::string_view kSpaces = "                                ";
    while (count > 0)
    {
        const size_t part = std::min<size_t>(count, kSpaces.size());
        if (!PutPlain(kSpaces.substr(0, part)))
            return false;
        count -= static_cast<uint32_t>(part);
    }
    return true;
}

bool CArchiveText::EndLine(int32_t indentChange)
{
    // A line feed and the indent's tabs, from one constant while the indent
    // is no deeper than it.
    static constexpr std::string_view kLineFeedAndTabs = "\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t"
                                                         "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    ++m_line;
    m_indent += indentChange;
    const size_t tabs = m_indent > 0 ? static_cast<size_t>(m_indent) : 0;
    if (tabs < kLineFeedAndTabs.size())
        return Put(kLineFeedAndTabs.substr(0, 1 + tabs));
    m_narrow.assign(1, '\n');
    m_narrow.append(tabs, '\t');
    return Put(std::string_view(m_narrow));
}

// ---- reading ----------------------------------------------------------------

bool CArchiveText::SkipBlanks()
{
    if (!m_text)
        return false;
    for (;;)
    {
        // Blanks among buffered ASCII bytes go in place; a comment, a byte
        // from 0x80 up and the end of the buffer take the character path.
        size_t count = 0;
        const uint8_t* bytes = m_text->AsciiWindow(kScanWindow, count);
        int lines = 0;
        const size_t i = BlankRun(bytes, count, lines);
        m_line += lines;
        m_text->SkipBytes(i);
        if (i < count && bytes[i] < 0x80 && bytes[i] != '/')
        {
            m_next = bytes[i];
            return true;
        }
        if (i > 0 && i == count)
            continue;
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

void CArchiveText::Translate(std::wstring& token)
{
    // Translations are the one way a text archive makes more text than its
    // file holds: the common part counts them.
    std::wstring translated;
    if (m_common.Translate(*this, token, translated))
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
        ReadQuoted(token);
    }
    else if (!ReadPlainToken(token))
    {
        m_text->ReadToken();
        token = m_text->GetToken();
    }
    Translate(token);
    return true;
}

// A token up to the next blank that lies whole in the buffer as ASCII
// bytes, read in place; false (nothing read) when the character path must
// decide, at the end of the buffer or at a byte from 0x80 up.
bool CArchiveText::ReadPlainToken(std::wstring& token)
{
    size_t count = 0;
    const uint8_t* bytes = m_text->AsciiWindow(kScanWindow, count);
    size_t i = 0;
    while (i < count && bytes[i] < 0x80 && !IsBlank(bytes[i]))
        ++i;
    if (i == 0 || i == count || bytes[i] >= 0x80)
        return false;
    token.assign(bytes, bytes + i);
    m_text->SkipBytes(i);
    return true;
}

// A quoted token: every character up to the closing double quote, which
// is the first one not preceded by a backslash, or one preceded by a
// backslash that ends the line (see ClosesAfterBackslash); then the
// backslash before each inner double quote goes. A CR LF inside stands
// for the line feed the writer wrote; any other carriage return is text.
void CArchiveText::ReadQuoted(std::wstring& token)
{
    m_text->Get();
    int previous = 0;
    for (;;)
    {
        // Plain ASCII runs go in whole; the characters the rule looks at
        // (quotes, backslashes, line ends) and the rest one by one below.
        size_t count = 0;
        const uint8_t* bytes = m_text->AsciiWindow(kScanWindow, count);
        size_t run = 0;
        while (run < count)
        {
            const uint8_t byte = bytes[run];
            if (byte >= 0x80 || byte == '"' || byte == '\\' || byte == '\r' || byte == '\n')
                break;
            ++run;
        }
        if (run > 0)
        {
            token.append(bytes, bytes + run);
            previous = bytes[run - 1];
            m_text->SkipBytes(run);
        }
        const int c = m_text->GetAny();
        if (c < 0)
            break;
        if (c == '\r' && m_text->PeekAny(0) == '\n')
            continue;
        if (c == '"' && (previous != '\\' || ClosesAfterBackslash()))
            break;
        if (c == '\n')
            ++m_line;
        token += static_cast<wchar_t>(c);
        previous = c;
    }
    size_t out = 0;
    for (size_t i = 0; i < token.size(); ++i)
    {
        if (token[i] == L'\\' && i + 1 < token.size() && token[i + 1] == L'"')
            continue;
        token[out++] = token[i];
    }
    token.resize(out);
}

// The writer puts a backslash before every double quote inside a value, so
// a value that ends in a backslash closes with the same two characters as
// an inner quote. Saves end such a value's line: a quote after a backslash
// is the closing one when CR LF and then a tab (the next line's indent), a
// "}" (a block's end) or the end of the input follow it, or when the input
// ends at once. The writer never puts CR LF right after an inner quote.
bool CArchiveText::ClosesAfterBackslash()
{
    const int next = m_text->PeekAny(0);
    if (next < 0)
        return true;
    if (next != '\r' || m_text->PeekAny(1) != '\n')
        return false;
    const int after = m_text->PeekAny(2);
    return after < 0 || after == '\t' || after == '}';
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
    ReadTokenText(m_scratch, wideDelimiters.c_str());
    std::string narrow;
    // ASCII (block names, nearly every token) narrows byte by byte.
    if (std::all_of(m_scratch.begin(), m_scratch.end(), [](wchar_t c) { return c >= 0 && c < 0x80; }))
        narrow.assign(m_scratch.begin(), m_scratch.end());
    else
        ConvertStringUtoA(m_scratch, narrow, kCodePageUtf8);
    return narrow;
}

std::wstring CArchiveText::ReadWToken(const wchar_t* delimiters)
{
    std::wstring token;
    ReadTokenText(token, delimiters);
    return token;
}

bool CArchiveText::ReadNumberToken(std::string_view& token)
{
    token = {};
    if (!SkipBlanks())
        return false;
    // Up to the next blank (the text layer's white space: besides LF, CR,
    // tab and space also VT and FF, which no number holds). A token that
    // lies in the buffer as plain ASCII is parsed where it is.
    size_t count = 0;
    const uint8_t* bytes = m_text->AsciiWindow(kScanWindow, count);
    size_t i = 0;
    while (i < count && bytes[i] > 0 && bytes[i] < 0x80 && !IsBlank(bytes[i]))
        ++i;
    if (i > 0 && i < count && bytes[i] > 0 && bytes[i] < 0x80)
    {
        token = std::string_view(reinterpret_cast<const char*>(bytes), i);
        m_text->SkipBytes(i);
        return true;
    }
    m_text->ReadToken();
    m_number.clear();
    for (wchar_t c : m_text->GetToken())
        m_number += (c > 0 && c < 0x80) ? static_cast<char>(c) : '\x7f';
    token = m_number;
    return !token.empty();
}

namespace
{
using Misc::Text::SPlainNumber;

// A plain number that is the whole token.
bool IsPlainNumber(std::string_view token, bool point, SPlainNumber& number)
{
    return Misc::Text::ScanPlainNumber(token, point, number) && number.length == token.size();
}

// A plain number that ends with a blank inside the buffered text, so that
// nothing past the buffer can belong to it.
bool IsBufferedPlainNumber(std::string_view buffered, bool point, SPlainNumber& number)
{
    return Misc::Text::ScanPlainNumber(buffered, point, number) && number.length < buffered.size() &&
           IsBlank(buffered[number.length]);
}

// The value as "%i" reads it, and as "%u" reads it: strtoull negates a
// negative number as unsigned.
int32_t SignedOf(const SPlainNumber& number)
{
    const auto digits = static_cast<long long>(number.digits);
    const long long parsed = number.negative ? -digits : digits;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(parsed)));
}

uint32_t UnsignedOf(const SPlainNumber& number)
{
    const auto digits = static_cast<long long>(number.digits);
    const long long parsed = number.negative ? -digits : digits;
    return static_cast<uint32_t>(static_cast<unsigned long long>(parsed));
}

// "%i": optional sign, then decimal, "0x" hexadecimal or "0" octal digits.
// Plain decimal numbers, as nearly every saved integer is, skip the C
// library's general parser.
bool ParseSigned(std::string_view token, int32_t& value)
{
    SPlainNumber number;
    if (IsPlainNumber(token, false, number) && !number.leadingZero)
    {
        value = SignedOf(number);
        return true;
    }
    const std::string text(token);
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 0);
    if (end == text.c_str())
        return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(parsed)));
    return true;
}

// "%u": optional sign, decimal digits; a negative number wraps.
bool ParseUnsigned(std::string_view token, uint32_t& value)
{
    SPlainNumber number;
    if (IsPlainNumber(token, false, number))
    {
        value = UnsignedOf(number);
        return true;
    }
    const std::string text(token);
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
    if (end == text.c_str())
        return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

// "%f" on a token that is "-", digits and a decimal part of digits, as
// every saved float is, without switching locales. A value whose digits
// (trailing zeros dropped) and power of ten are exact floats is one
// division, which rounds correctly as strtof does; other plain tokens go to
// from_chars, which rounds correctly too. Anything else, and a value out of
// range, goes to strtof in the "C" locale.
bool ParseFloat(std::string_view token, float& value)
{
    SPlainNumber number;
    if (IsPlainNumber(token, true, number) && Misc::Text::PlainNumberToFloat(token, number, value))
        return true;
    const std::string text(token);
    const Misc::Text::CScopedCLocale cLocale;
    char* stop = nullptr;
    const float parsed = std::strtof(text.c_str(), &stop);
    if (stop == text.c_str())
        return false;
    value = parsed;
    return true;
}
} // namespace

std::string_view CArchiveText::BufferedAscii()
{
    size_t count = 0;
    const uint8_t* bytes = m_text->AsciiWindow(kScanWindow, count);
    return std::string_view(reinterpret_cast<const char*>(bytes), count);
}

bool CArchiveText::ReadLong(int32_t& value)
{
    SPlainNumber number;
    if (SkipBlanks() && IsBufferedPlainNumber(BufferedAscii(), false, number) && !number.leadingZero)
    {
        value = SignedOf(number);
        m_text->SkipBytes(number.length);
        return true;
    }
    std::string_view token;
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
    SPlainNumber number;
    if (SkipBlanks() && IsBufferedPlainNumber(BufferedAscii(), false, number))
    {
        value = UnsignedOf(number);
        m_text->SkipBytes(number.length);
        return true;
    }
    std::string_view token;
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
    SPlainNumber number;
    if (SkipBlanks() && IsBufferedPlainNumber(BufferedAscii(), true, number) &&
        Misc::Text::ExactAsFloat(number))
    {
        value = Misc::Text::FloatOf(number);
        m_text->SkipBytes(number.length);
        return true;
    }
    std::string_view token;
    return ReadNumberToken(token) && ParseFloat(token, value);
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
    if (MatchInBuffer(text) > 0)
        return true;
    for (const Char* c = text; c && *c; ++c)
    {
        if (!m_text || m_text->Get() != static_cast<int>(*c))
        {
            throw CKVOError::Format(L"Error reading:%s, Line: %i, Expected:%s",
                                    EscapeControlCharacters(getDataName()).c_str(), m_line,
                                    Text(text).c_str());
        }
    }
    return true;
}

template <typename Char> bool CArchiveText::Test(const Char* text, bool peek)
{
    if (!SkipBlanks())
        return false;
    const int matched = MatchInBuffer(text, peek, true);
    if (matched >= 0)
        return matched > 0;
    int length = 0;
    for (const Char* c = text; c && *c; ++c, ++length)
    {
        // The first character is the one SkipBlanks looked at.
        if ((length == 0 ? m_next : m_text->Peek(length)) != static_cast<int>(*c))
            return false;
    }
    if (length > 0 && IsWordCharacter(text[length - 1]) && IsWordCharacter(m_text->Peek(length)))
        return false;
    if (!peek)
    {
        for (int i = 0; i < length; ++i)
            m_text->Get();
    }
    return true;
}

// The text against the buffered ASCII bytes at the read position: 1 when
// they hold it (consumed unless peeking), 0 when they plainly differ, -1
// when the character path must decide (a carriage return or a byte from
// 0x80 up before the difference, or too few bytes buffered). Empty text is
// left to the character path.
template <typename Char> int CArchiveText::MatchInBuffer(const Char* text, bool peek, bool wholeWord)
{
    if (!m_text || !text || !*text)
        return -1;
    size_t count = 0;
    const uint8_t* bytes = m_text->AsciiWindow(kScanWindow, count);
    size_t i = 0;
    for (; text[i]; ++i)
    {
        const uint8_t byte = i < count ? bytes[i] : 0x80;
        if (static_cast<int>(byte) == static_cast<int>(text[i]) && byte < 0x80 && byte != '\r')
            continue;
        return (byte >= 0x80 || byte == '\r') ? -1 : 0;
    }
    if (wholeWord && IsWordCharacter(text[i - 1]))
    {
        // The character after the text decides; past the window, or where
        // it is a carriage return or no ASCII, it is left to the character
        // path.
        if (i >= count || bytes[i] == '\r' || bytes[i] >= 0x80)
            return -1;
        if (IsWordCharacter(bytes[i]))
            return 0;
    }
    if (!peek)
        m_text->SkipBytes(i);
    return 1;
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
    // A whole match in the buffer is one whatever else the text holds
    // (only ASCII bytes match there).
    SkipBlanks();
    if (MatchInBuffer(text) > 0)
        return true;
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
    // The buffer decides for text of any kind: up to the first difference
    // the text is ASCII, so its characters stand where the wide text's do.
    if (!SkipBlanks())
        return false;
    const int matched = MatchInBuffer(text, peek, true);
    if (matched >= 0)
        return matched > 0;
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
