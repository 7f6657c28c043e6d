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
        const int32_t got =
            m_file->read(m_buffer.data() + m_fill, static_cast<uint32_t>(std::min<size_t>(want, INT_MAX)));
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
    // Near the end of the input fewer bytes than the sequence claims may be
    // there: the shared decoder turns such a cut sequence into U+FFFD.
    const size_t need = Misc::Text::Utf8SequenceLength(lead);
    Ensure(at + need);
    const size_t available = std::min(need, m_fill - m_pos - at);
    size_t length = 1;
    const uint32_t code = Misc::Text::DecodeUtf8(m_buffer.data() + m_pos + at, available, length);
    at += length;
    return static_cast<int>(code);
}

int CTextFileReader::GetDecoded()
{
    size_t at = 0;
    int c;
    do
        c = DecodeAt(at);
    while (c == kCarriageReturn);
    m_pos += std::min(at, m_fill - m_pos);
    return c;
}

int CTextFileReader::PeekDecoded(int offset)
{
    if (offset < 0)
        return -1;
    // A buffered ASCII run without carriage returns up to the offset needs
    // no decoding (token tests peek ahead character by character).
    for (int i = 0; i <= offset; ++i)
    {
        const int ascii = BufferedAscii(static_cast<size_t>(i));
        if (ascii < 0 || ascii == kCarriageReturn)
            break;
        if (i == offset)
            return ascii;
    }
    size_t at = 0;
    int c = DecodeAt(at);
    // No read ever returns a carriage return, so the ones at the read
    // position go now: a caller that peeks and then reads a token starts at
    // the character it saw and always moves on.
    while (c == kCarriageReturn)
    {
        m_pos += at;
        at = 0;
        c = DecodeAt(at);
    }
    for (int i = 0; i < offset && c >= 0; ++i)
    {
        do
            c = DecodeAt(at);
        while (c == kCarriageReturn);
    }
    return c < 0 ? -1 : c;
}

int CTextFileReader::GetAnyDecoded()
{
    size_t at = 0;
    const int c = DecodeAt(at);
    m_pos += std::min(at, m_fill - m_pos);
    return c;
}

int CTextFileReader::PeekAny(int offset)
{
    if (offset < 0)
        return -1;
    // A buffered ASCII run up to the offset needs no decoding.
    int c = -1;
    for (int i = 0; i <= offset; ++i)
    {
        c = BufferedAscii(static_cast<size_t>(i));
        if (c < 0)
            break;
    }
    if (c >= 0)
        return c;
    size_t at = 0;
    for (int i = 0; i <= offset; ++i)
    {
        c = DecodeAt(at);
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
    // The ASCII characters that end the token, as a bit set, so that runs
    // of them are scanned straight in the buffer.
    uint64_t endsAscii[2] = {0, 0};
    const auto mark = [&endsAscii](uint32_t c)
    {
        if (c < 0x80)
            endsAscii[c >> 6] |= uint64_t{1} << (c & 63);
    };
    if (delimiters.empty())
    {
        for (const uint32_t c : {0x20u, 0x09u, 0x0Au, 0x0Bu, 0x0Cu, 0x0Du})
            mark(c);
    }
    else
    {
        for (const wchar_t c : delimiters)
            mark(static_cast<uint32_t>(c));
    }
    size_t at = 0;
    int c = DecodeAt(at);
    // Carriage returns before the token are passed over, never taken for
    // the blank that ends it.
    while (c == kCarriageReturn)
    {
        m_pos += at;
        at = 0;
        c = DecodeAt(at);
    }
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
        if (m_asciiBytes)
        {
            // The buffered ASCII run goes in whole; carriage returns that do
            // not end the token are dropped as the decoder path drops them.
            const uint8_t* const data = m_buffer.data();
            size_t run = m_pos;
            while (run < m_fill)
            {
                const uint8_t byte = data[run];
                if (byte >= 0x80 || ((endsAscii[byte >> 6] >> (byte & 63)) & 1) != 0)
                    break;
                if (byte == kCarriageReturn)
                {
                    token.append(data + m_pos, data + run);
                    m_pos = run + 1;
                }
                ++run;
            }
            token.append(data + m_pos, data + run);
            m_pos = run;
        }
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
    const auto unitAt = [&](size_t pos) -> int32_t
    {
        if (!Ensure(pos + 2))
            return -1;
        return bigEndian ? (ByteAt(pos) << 8) | ByteAt(pos + 1) : ByteAt(pos) | (ByteAt(pos + 1) << 8);
    };
    const int32_t unit = unitAt(at);
    if (unit < 0)
    {
        if (!Ensure(at + 1))
            return -1;
        ++at; // a lone last byte
        return Misc::Text::kReplacementChar;
    }
    const int32_t next = Misc::Text::IsHighSurrogate(static_cast<uint32_t>(unit)) ? unitAt(at + 2) : -1;
    size_t length = 1;
    const uint32_t code = Misc::Text::DecodeUtf16(static_cast<uint32_t>(unit), next, length);
    at += 2 * length;
    return static_cast<int>(code);
}

bool CTextFileReader::IsEnd()
{
    return Peek(0) < 0;
}

CTextFileReaderAnsi::CTextFileReaderAnsi(IFile* file, int bufferSize) : CTextFileReader(file, bufferSize)
{
    // Raw bytes, the single-byte code pages and UTF-8 all keep ASCII as is.
    m_asciiBytes = true;
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

CTextFileReaderUTF8::CTextFileReaderUTF8(IFile* file, int bufferSize) : CTextFileReader(file, bufferSize)
{
    m_asciiBytes = true;
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
