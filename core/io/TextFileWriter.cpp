#include "core/io/TextFileWriter.h"

#include "core/foundation/StringConversion.h"
#include "core/io/File.h"

#include <algorithm>
#include <climits>
#include <string>

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
    : m_file(file), m_capacity(bufferSize > 0 ? static_cast<size_t>(bufferSize) : kDefaultBuffer)
{
    m_buffer.reserve(m_capacity);
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
    for (size_t i = 0; i < count; ++i)
    {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && static_cast<uint32_t>(text[i + 1]) >= 0xDC00 &&
            static_cast<uint32_t>(text[i + 1]) <= 0xDFFF)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        {
            c = Misc::Text::kReplacementChar;
        }
        const int result = PutCodePoint(c);
        if (result != 0)
            return result;
    }
    return 0;
}

int CTextFileWriter::WriteBytes(const void* bytes, size_t count)
{
    if (count == 0)
        return 0;
    if (!bytes || !m_file)
        return -2;
    if (m_buffer.size() + count > m_capacity && Flush() != 0)
        return -2;
    if (count >= m_capacity)
    {
        // Too big for the buffer: straight to the file.
        const auto* data = static_cast<const uint8_t*>(bytes);
        while (count > 0)
        {
            const irr::u32 part = static_cast<irr::u32>(std::min<size_t>(count, INT_MAX));
            const irr::s32 written = m_file->write(data, part);
            if (written <= 0)
            {
                m_buffer.insert(m_buffer.end(), data, data + count);
                return -2;
            }
            data += written;
            count -= static_cast<size_t>(written);
        }
        return 0;
    }
    const auto* data = static_cast<const uint8_t*>(bytes);
    m_buffer.insert(m_buffer.end(), data, data + count);
    return 0;
}

int CTextFileWriter::Flush()
{
    if (!m_file)
        return -2;
    size_t done = 0;
    while (done < m_buffer.size())
    {
        const irr::u32 part = static_cast<irr::u32>(std::min<size_t>(m_buffer.size() - done, INT_MAX));
        const irr::s32 written = m_file->write(m_buffer.data() + done, part);
        if (written <= 0)
            break;
        done += static_cast<size_t>(written);
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(done));
    return m_buffer.empty() ? 0 : -2;
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
