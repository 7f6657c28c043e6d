#include "core/io/TextFileReader.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace
{

constexpr size_t kDefaultBuffer = 4096;
constexpr int kCarriageReturn = 0x0D;

bool IsWhiteSpace(int c)
{
    return c == L' ' || (c >= 0x09 && c <= 0x0D);
}

bool IsSingleByteCodePage(unsigned int codePage)
{
    return codePage == 1252 || codePage == 28591;
}

size_t ChunkFor(int bufferSize)
{
    if (bufferSize == 0)
        return kDefaultBuffer;
    return bufferSize < 0 ? 0 : static_cast<size_t>(bufferSize);
}

} // namespace

CTextFileReader::CTextFileReader(IFile* file, int bufferSize)
    : m_file(file), m_chunk(ChunkFor(bufferSize)), m_fileEnd(file == nullptr)
{
}

int CTextFileReader::DecodeAt(size_t&)
{
    return -1;
}

bool CTextFileReader::Fill(size_t count)
{
    if (m_fill - m_pos >= count)
        return true;
    if (m_fileEnd)
        return false;
    if (m_pos > 0)
    {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_fill - m_pos);
        m_fill -= m_pos;
        m_pos = 0;
    }
    while (m_fill < count && !m_fileEnd)
    {
        const size_t want = std::max(m_chunk, count - m_fill);
        if (m_buffer.size() < m_fill + want)
            m_buffer.resize(m_fill + want);
        const irr::s32 got =
            m_file->read(m_buffer.data() + m_fill, static_cast<irr::u32>(std::min<size_t>(want, INT_MAX)));
        if (got <= 0)
            m_fileEnd = true;
        else
            m_fill += static_cast<size_t>(got);
    }
    return m_fill >= count;
}

int CTextFileReader::DecodeUtf8At(size_t& at)
{
    if (!Ensure(at + 1))
        return -1;
    const uint8_t lead = ByteAt(at);
    if (lead < 0x80)
    {
        ++at;
        return lead;
    }
    size_t length;
    int code;
    int minimum;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    }
    else
    {
        // A stray continuation byte or an invalid lead byte stands alone.
        ++at;
        return Misc::Text::kReplacementChar;
    }
    if (!Ensure(at + length))
    {
        // A sequence cut off by the end of the input ends the input.
        at = m_fill - m_pos;
        return -1;
    }
    for (size_t i = 1; i < length; ++i)
    {
        const uint8_t next = ByteAt(at + i);
        if ((next & 0xC0) != 0x80)
        {
            ++at;
            return Misc::Text::kReplacementChar;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    {
        ++at;
        return Misc::Text::kReplacementChar;
    }
    at += length;
    return code;
}

int CTextFileReader::Get()
{
    size_t at = 0;
    int c;
    do
        c = DecodeAt(at);
    while (c == kCarriageReturn);
    m_pos += std::min(at, m_fill - m_pos);
    return c;
}

int CTextFileReader::Peek(int offset)
{
    if (offset < 0)
        return -1;
    size_t at = 0;
    int c = -1;
    for (int i = 0; i <= offset; ++i)
    {
        do
            c = DecodeAt(at);
        while (c == kCarriageReturn);
        if (c < 0)
            return -1;
    }
    return c;
}

int CTextFileReader::ReadToken(std::wstring& token, unsigned int codePage, std::wstring_view delimiters)
{
    token.clear();
    const unsigned int saved = m_codePage;
    m_codePage = codePage;
    size_t at = 0;
    int c = DecodeAt(at);
    const bool atEnd = c < 0;
    for (;;)
    {
        if (c < 0)
            break;
        const bool ends = delimiters.empty()
                              ? IsWhiteSpace(c)
                              : delimiters.find(static_cast<wchar_t>(c)) != std::wstring_view::npos;
        if (ends)
            break;
        if (c != kCarriageReturn)
            token += static_cast<wchar_t>(c);
        m_pos += at;
        at = 0;
        c = DecodeAt(at);
    }
    m_codePage = saved;
    return atEnd ? -1 : 0;
}

int CTextFileReader::ReadBytes(void* buffer, size_t count)
{
    if (count == 0)
        return 0;
    if (!buffer || !Ensure(count))
        return -1;
    std::memcpy(buffer, m_buffer.data() + m_pos, count);
    m_pos += count;
    return 0;
}

int CTextFileReader::DecodeUtf16At(size_t& at, bool bigEndian)
{
    const auto unitAt = [&](size_t pos) -> int
    {
        if (!Ensure(pos + 2))
            return -1;
        return bigEndian ? (ByteAt(pos) << 8) | ByteAt(pos + 1) : ByteAt(pos) | (ByteAt(pos + 1) << 8);
    };
    const int unit = unitAt(at);
    if (unit < 0)
        return -1;
    at += 2;
    if (unit >= 0xD800 && unit <= 0xDBFF)
    {
        const int low = unitAt(at);
        if (low >= 0xDC00 && low <= 0xDFFF)
        {
            at += 2;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        return Misc::Text::kReplacementChar; // lone high surrogate; the next unit stays
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return Misc::Text::kReplacementChar;
    return unit;
}

bool CTextFileReader::IsEnd()
{
    return Peek(0) < 0;
}

int CTextFileReaderAnsi::DecodeAt(size_t& at)
{
    if (!m_raw && !IsSingleByteCodePage(m_codePage))
        return DecodeUtf8At(at);
    if (!Ensure(at + 1))
        return -1;
    const uint8_t byte = ByteAt(at++);
    if (m_raw || byte < 0x80)
        return byte;
    std::wstring wide;
    ConvertStringAtoU(std::string(1, static_cast<char>(byte)), wide, m_codePage);
    return wide.empty() ? Misc::Text::kReplacementChar : static_cast<int>(wide[0]);
}

CTextFileReaderUTF16LE::CTextFileReaderUTF16LE(IFile* file, int bufferSize)
    : CTextFileReader(file, bufferSize)
{
    if (bufferSize > 0 && bufferSize % 2 != 0)
        throw Misc::Error::CKVOError(L"[CTextFileReaderUTF16LE::CTextFileReaderUTF16LE] Invalid buffer size");
}

int CTextFileReaderUTF16LE::DecodeAt(size_t& at)
{
    return DecodeUtf16At(at, false);
}

CTextFileReaderUTF16BE::CTextFileReaderUTF16BE(IFile* file, int bufferSize)
    : CTextFileReader(file, bufferSize)
{
    if (bufferSize > 0 && bufferSize % 2 != 0)
        throw Misc::Error::CKVOError(L"[CTextFileReaderUTF16BE::CTextFileReaderUTF16BE] Invalid buffer size");
}

int CTextFileReaderUTF16BE::DecodeAt(size_t& at)
{
    return DecodeUtf16At(at, true);
}
