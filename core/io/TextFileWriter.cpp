#include "core/io/TextFileWriter.h"

#include "core/foundation/StringConversion.h"
#include "core/io/File.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <type_traits>

namespace
{

constexpr size_t kDefaultBuffer = 4096;

// The UTF-16 bytes of one code point in the given byte order; returns their
// count (2 or 4).
size_t EncodeUtf16Bytes(uint32_t c, bool bigEndian, uint8_t* bytes)
{
    char16_t units[2];
    const size_t count = Misc::Text::EncodeUtf16(c, units);
    for (size_t i = 0; i < count; ++i)
    {
        const uint8_t high = static_cast<uint8_t>(units[i] >> 8);
        const uint8_t low = static_cast<uint8_t>(units[i] & 0xFF);
        bytes[2 * i] = bigEndian ? high : low;
        bytes[2 * i + 1] = bigEndian ? low : high;
    }
    return 2 * count;
}

} // namespace

CTextFileWriter::CTextFileWriter(IFile* file, int bufferSize)
    : CTextFileWriter(file, bufferSize, EAsciiForm::kNone)
{
}

CTextFileWriter::CTextFileWriter(IFile* file, int bufferSize, EAsciiForm asciiForm)
    : m_file(file), m_capacity(bufferSize > 0 ? static_cast<size_t>(bufferSize) : kDefaultBuffer),
      m_asciiForm(asciiForm), m_buffer(std::max<size_t>(m_capacity, 8))
{
}

int CTextFileWriter::PutChar(wchar_t c, unsigned int)
{
    return PutCodePoints(&c, 1);
}

int CTextFileWriter::PutChars(const wchar_t* text, size_t count, unsigned int)
{
    return PutCodePoints(text, count);
}

int CTextFileWriter::PutCodePoints(const wchar_t* text, size_t count)
{
    if (!text && count > 0)
        return -2;
    for (size_t i = 0; i < count;)
    {
        const uint32_t unit = static_cast<uint32_t>(text[i]);
        size_t length = 1;
        uint32_t c = unit;
        if (Misc::Text::IsSurrogate(unit))
        {
            const int32_t next = i + 1 < count ? static_cast<int32_t>(text[i + 1]) : -1;
            c = Misc::Text::DecodeUtf16(unit, next, length);
        }
        else if (unit > 0x10FFFF)
        {
            c = Misc::Text::kReplacementChar;
        }
        i += length;
        const int result = PutCodePoint(c);
        if (result != 0)
            return result;
    }
    return 0;
}

// Encodes ASCII characters into the free part of the buffer until the text,
// the ASCII run or the room ends (the caller leaves room for `count` line
// feeds written as CR LF); returns the characters taken.
template <CTextFileWriter::EAsciiForm Form, typename Char>
size_t CTextFileWriter::PutAscii(const Char* text, size_t count, bool lineFeedsAsCrLf)
{
    uint8_t* out = m_buffer.data() + m_used;
    uint8_t* const start = out;
    const auto put = [&out](uint8_t c)
    {
        if constexpr (Form == EAsciiForm::kOneByte)
            *out++ = c;
        else if constexpr (Form == EAsciiForm::kUtf16LE)
        {
            *out++ = c;
            *out++ = 0;
        }
        else
        {
            *out++ = 0;
            *out++ = c;
        }
    };
    size_t i = 0;
    for (; i < count; ++i)
    {
        const auto c = static_cast<std::make_unsigned_t<Char>>(text[i]);
        if (c >= 0x80)
            break;
        if (c == '\n' && lineFeedsAsCrLf)
            put('\r');
        put(static_cast<uint8_t>(c));
    }
    m_used += static_cast<size_t>(out - start);
    return i;
}

int CTextFileWriter::PutNonAscii(const wchar_t* text, size_t count, unsigned int codePage)
{
    return PutChars(text, count, codePage);
}

int CTextFileWriter::PutNonAscii(const char* text, size_t count, unsigned int codePage)
{
    // A run of bytes from 0x80 up holds whole UTF-8 sequences: every lead
    // and continuation byte is in it.
    const std::wstring wide = Misc::Text::Utf8ToWide(std::string_view(text, count));
    return PutChars(wide.data(), wide.size(), codePage);
}

template <typename Char>
int CTextFileWriter::PutTextOf(std::basic_string_view<Char> text, unsigned int codePage, bool lineFeedsAsCrLf)
{
    // Each character takes at most two units here (a line feed as CR LF):
    // the room in characters is the free bytes shifted right by one or two.
    const unsigned widestShift = m_asciiForm == EAsciiForm::kOneByte ? 1 : 2;
    const size_t widest = size_t{1} << widestShift;
    const Char* p = text.data();
    size_t left = text.size();
    while (left > 0)
    {
        if (static_cast<std::make_unsigned_t<Char>>(*p) >= 0x80)
        {
            size_t run = 1;
            while (run < left && static_cast<std::make_unsigned_t<Char>>(p[run]) >= 0x80)
                ++run;
            const int result = PutNonAscii(p, run, codePage);
            if (result != 0)
                return result;
            p += run;
            left -= run;
            continue;
        }
        if (m_buffer.size() - m_used < widest && (Flush() != 0 || m_buffer.size() - m_used < widest))
            return -2;
        const size_t room = std::min(left, (m_buffer.size() - m_used) >> widestShift);
        size_t taken;
        switch (m_asciiForm)
        {
        case EAsciiForm::kOneByte:
            taken = PutAscii<EAsciiForm::kOneByte>(p, room, lineFeedsAsCrLf);
            break;
        case EAsciiForm::kUtf16LE:
            taken = PutAscii<EAsciiForm::kUtf16LE>(p, room, lineFeedsAsCrLf);
            break;
        default:
            taken = PutAscii<EAsciiForm::kUtf16BE>(p, room, lineFeedsAsCrLf);
            break;
        }
        p += taken;
        left -= taken;
    }
    return 0;
}

int CTextFileWriter::PutText(std::wstring_view text, unsigned int codePage, bool lineFeedsAsCrLf)
{
    if (m_asciiForm == EAsciiForm::kNone)
    {
        // No encoding of its own: every character goes through PutChars.
        size_t start = 0;
        while (start < text.size())
        {
            const size_t lineFeed = lineFeedsAsCrLf ? text.find(L'\n', start) : std::wstring_view::npos;
            const size_t end = lineFeed == std::wstring_view::npos ? text.size() : lineFeed;
            int result = PutChars(text.data() + start, end - start, codePage);
            if (result == 0 && lineFeed != std::wstring_view::npos)
                result = PutChars(L"\r\n", 2, codePage);
            if (result != 0)
                return result;
            start = end + (lineFeed == std::wstring_view::npos ? 0 : 1);
        }
        return 0;
    }
    return PutTextOf(text, codePage, lineFeedsAsCrLf);
}

int CTextFileWriter::PutText(std::string_view text, unsigned int codePage, bool lineFeedsAsCrLf)
{
    if (m_asciiForm == EAsciiForm::kNone)
        return PutText(std::wstring_view(Misc::Text::Utf8ToWide(text)), codePage, lineFeedsAsCrLf);
    return PutTextOf(text, codePage, lineFeedsAsCrLf);
}

int CTextFileWriter::WriteBytes(const void* bytes, size_t count)
{
    if (count == 0)
        return 0;
    if (!bytes || !m_file)
        return -2;
    if (m_used + count > m_capacity && Flush() != 0)
        return -2;
    const auto* data = static_cast<const uint8_t*>(bytes);
    if (count >= m_capacity)
    {
        // Too big for the buffer: straight to the file.
        while (count > 0)
        {
            const uint32_t part = static_cast<uint32_t>(std::min<size_t>(count, INT_MAX));
            const int32_t written = m_file->write(data, part);
            if (written <= 0)
            {
                // Kept for a later flush, as the buffer keeps what the file refused.
                m_buffer.resize(std::max(m_buffer.size(), m_used + count));
                std::memcpy(m_buffer.data() + m_used, data, count);
                m_used += count;
                return -2;
            }
            data += written;
            count -= static_cast<size_t>(written);
        }
        return 0;
    }
    std::memcpy(m_buffer.data() + m_used, data, count);
    m_used += count;
    return 0;
}

int CTextFileWriter::Flush()
{
    if (!m_file)
        return -2;
    size_t done = 0;
    while (done < m_used)
    {
        const uint32_t part = static_cast<uint32_t>(std::min<size_t>(m_used - done, INT_MAX));
        const int32_t written = m_file->write(m_buffer.data() + done, part);
        if (written <= 0)
            break;
        done += static_cast<size_t>(written);
    }
    if (done > 0 && done < m_used)
        std::memmove(m_buffer.data(), m_buffer.data() + done, m_used - done);
    m_used -= done;
    return m_used == 0 ? 0 : -2;
}

CTextFileWriterAnsi::CTextFileWriterAnsi(IFile* file, int bufferSize)
    : CTextFileWriter(file, bufferSize, EAsciiForm::kOneByte)
{
}

CTextFileWriterUTF8::CTextFileWriterUTF8(IFile* file, int bufferSize)
    : CTextFileWriter(file, bufferSize, EAsciiForm::kOneByte)
{
}

CTextFileWriterUTF16LE::CTextFileWriterUTF16LE(IFile* file, int bufferSize)
    : CTextFileWriter(file, bufferSize, EAsciiForm::kUtf16LE)
{
}

CTextFileWriterUTF16BE::CTextFileWriterUTF16BE(IFile* file, int bufferSize)
    : CTextFileWriter(file, bufferSize, EAsciiForm::kUtf16BE)
{
}

int CTextFileWriterAnsi::PutChar(wchar_t c, unsigned int codePage)
{
    return PutChars(&c, 1, codePage);
}

int CTextFileWriterAnsi::PutChars(const wchar_t* text, size_t count, unsigned int codePage)
{
    if (!text && count > 0)
        return -2;
    std::string narrow;
    ConvertStringUtoA(std::wstring_view(text, count), narrow, codePage);
    return WriteBytes(narrow.data(), narrow.size());
}

int CTextFileWriterUTF8::WriteBom()
{
    static const uint8_t mark[] = {0xEF, 0xBB, 0xBF};
    return WriteBytes(mark, sizeof mark);
}

int CTextFileWriterUTF8::PutCodePoint(uint32_t c)
{
    char bytes[4];
    return WriteBytes(bytes, Misc::Text::EncodeUtf8(c, bytes));
}

int CTextFileWriterUTF16LE::WriteBom()
{
    static const uint8_t mark[] = {0xFF, 0xFE};
    return WriteBytes(mark, sizeof mark);
}

int CTextFileWriterUTF16LE::PutCodePoint(uint32_t c)
{
    uint8_t bytes[4];
    return WriteBytes(bytes, EncodeUtf16Bytes(c, false, bytes));
}

int CTextFileWriterUTF16BE::WriteBom()
{
    static const uint8_t mark[] = {0xFE, 0xFF};
    return WriteBytes(mark, sizeof mark);
}

int CTextFileWriterUTF16BE::PutCodePoint(uint32_t c)
{
    uint8_t bytes[4];
    return WriteBytes(bytes, EncodeUtf16Bytes(c, true, bytes));
}
