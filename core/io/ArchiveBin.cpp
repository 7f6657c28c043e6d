#include "core/io/ArchiveBin.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/TextUtilities.h"
#include "core/io/Language.h"
#include "core/io/SaveFile.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <exception>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the binary archive stores values little-endian");

namespace Misc::Serialization
{

using Misc::Error::CKVOError;

namespace
{
constexpr size_t kBufferSize = 64 * 1024;
constexpr char kMagicPlain[6] = {'K', 'V', 'O', 'B', 'I', 'N'};
constexpr char kMagicCompressed[6] = {'K', 'V', 'O', 'C', 'M', 'P'};

std::wstring Wide(const std::string& text)
{
    return Misc::Text::Utf8ToWide(text);
}

// Text from the file (and its name) as error messages show it: these reach
// the terminal, so control characters are escaped.
std::wstring Displayed(std::wstring_view text)
{
    return EscapeControlCharacters(text);
}
} // namespace

CArchiveBin::CArchiveBin(const std::wstring& path, bool write, const char* dataName, uint32_t version,
                         const CLanguage* translation, bool compressed)
    : CVersionRecord(0), m_common(path, write, dataName, version, translation), m_compressed(compressed)
{
    m_version = m_common.VersionToWrite(version);
    // A file that cannot be opened leaves the archive closed.
    if (m_common.file)
        open();
}

CArchiveBin::CArchiveBin(IFile* file, bool write, const char* dataName, uint32_t version,
                         const CLanguage* translation, bool compressed)
    : CVersionRecord(0), m_common(file, write, dataName, version, translation), m_compressed(compressed)
{
    m_version = m_common.VersionToWrite(version);
    open();
}

CArchiveBin::~CArchiveBin()
{
    Close();
}

void CArchiveBin::open()
{
    if (!m_common.file)
        throw CKVOError(L"[CArchiveBin::open] Invalid input file handle");
    m_buffer.resize(kBufferSize);
    m_bufferStart = m_common.file->getPos();
    if (m_common.dataName.empty())
        return;

    if (m_common.write)
    {
        Put(m_compressed ? kMagicCompressed : kMagicPlain, 6);
        WriteString(m_common.dataName);
        if (m_version > 0)
            CVersionRecord::Write(*this);
        return;
    }

    m_fileSize = m_common.file->getSize();
    const int64_t start = Tell();
    char magic[6];
    const size_t got = Get(magic, sizeof(magic));
    if (got == sizeof(magic) && std::memcmp(magic, kMagicPlain, 6) == 0)
        m_compressed = false;
    else if (got == sizeof(magic) && std::memcmp(magic, kMagicCompressed, 6) == 0)
        m_compressed = true;
    else
    {
        // Not a binary archive: give the file back where it was.
        SeekTo(start);
        Release();
        return;
    }

    ExpectToken(m_common.dataName.c_str());
    if (m_common.minimumVersion > 0)
        CVersionRecord::Read(*this);
    m_common.RequireMinimumVersion(*this, m_version);
}

void CArchiveBin::Release()
{
    if (m_common.file && !m_common.write && !m_common.ownedFile)
        m_common.file->seek(static_cast<long>(Tell()));
    m_common.ReleaseFile();
}

bool CArchiveBin::Close()
{
    if (!m_common.file)
        return !m_common.failed;
    if (m_common.write)
    {
        FlushOutput();
        m_common.FinishOwnedFile();
    }
    Release();
    return !m_common.failed;
}

std::wstring CArchiveBin::getDataName() const
{
    return m_common.PathOrThrow(L"CArchiveBin::getDataName");
}

bool CArchiveBin::IsVersionAtLeast(uint32_t version) const
{
    return VersionHolds(m_version, version);
}

// ---- byte layer -------------------------------------------------------------

bool CArchiveBin::Put(const void* data, size_t count)
{
    if (!m_common.file || m_common.failed)
        return false;
    if (m_bufferLength + count > m_buffer.size())
    {
        if (!FlushOutput())
            return false;
        if (count >= m_buffer.size())
        {
            if (!WriteToFile(data, count))
                m_common.failed = true;
            m_bufferStart += static_cast<int64_t>(count);
            return !m_common.failed;
        }
    }
    std::memcpy(m_buffer.data() + m_bufferLength, data, count);
    m_bufferLength += count;
    return true;
}

bool CArchiveBin::WriteToFile(const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (count > 0)
    {
        const uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(count, 1u << 30));
        const int32_t written = m_common.file->write(bytes, chunk);
        if (written != static_cast<int32_t>(chunk))
            return false;
        bytes += chunk;
        count -= chunk;
    }
    return true;
}

size_t CArchiveBin::ReadFromFile(void* data, size_t count)
{
    auto* bytes = static_cast<uint8_t*>(data);
    size_t done = 0;
    while (done < count)
    {
        const uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(count - done, 1u << 30));
        const int32_t got = m_common.file->read(bytes + done, chunk);
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}

bool CArchiveBin::FlushOutput()
{
    if (m_bufferLength > 0 && m_common.file && !m_common.failed)
    {
        if (!WriteToFile(m_buffer.data(), m_bufferLength))
            m_common.failed = true;
        m_bufferStart += static_cast<int64_t>(m_bufferLength);
    }
    m_bufferLength = 0;
    return !m_common.failed;
}

size_t CArchiveBin::Get(void* data, size_t count)
{
    if (!m_common.file)
        return 0;
    auto* out = static_cast<uint8_t*>(data);
    size_t done = 0;
    while (done < count)
    {
        const size_t available = m_bufferLength - m_bufferPos;
        if (available > 0)
        {
            const size_t take = std::min(available, count - done);
            std::memcpy(out + done, m_buffer.data() + m_bufferPos, take);
            m_bufferPos += take;
            done += take;
            continue;
        }
        m_bufferStart += static_cast<int64_t>(m_bufferLength);
        m_bufferPos = 0;
        m_bufferLength = 0;
        if (count - done >= m_buffer.size())
        {
            const size_t got = ReadFromFile(out + done, count - done);
            m_bufferStart += static_cast<int64_t>(got);
            done += got;
            break;
        }
        m_bufferLength = ReadFromFile(m_buffer.data(), m_buffer.size());
        if (m_bufferLength == 0)
            break;
    }
    return done;
}

void CArchiveBin::GetExactly(void* data, size_t count)
{
    if (m_bufferLength - m_bufferPos >= count)
    {
        std::memcpy(data, m_buffer.data() + m_bufferPos, count);
        m_bufferPos += count;
        return;
    }
    if (Get(data, count) != count)
        ThrowTruncated();
}

void CArchiveBin::SeekTo(int64_t position)
{
    if (position >= m_bufferStart && position <= m_bufferStart + static_cast<int64_t>(m_bufferLength))
    {
        m_bufferPos = static_cast<size_t>(position - m_bufferStart);
        return;
    }
    m_common.file->seek(static_cast<long>(position));
    m_bufferStart = position;
    m_bufferPos = 0;
    m_bufferLength = 0;
}

int64_t CArchiveBin::Remaining() const
{
    return m_fileSize < 0 ? -1 : m_fileSize - Tell();
}

void CArchiveBin::ThrowTypeError(int expected, int received) const
{
    throw CKVOError::Format(L"Error reading:%s, Data type expected:%i, Received:%i",
                            Displayed(getDataName()).c_str(), expected, received);
}

void CArchiveBin::ThrowTruncated() const
{
    throw CKVOError::Format(L"Error reading:%s, Unexpected end of file", Displayed(getDataName()).c_str());
}

uint8_t CArchiveBin::ReadCode()
{
    if (m_bufferPos < m_bufferLength)
        return m_buffer[m_bufferPos++];
    uint8_t code = 0;
    if (Get(&code, 1) != 1)
        ThrowTruncated();
    return code;
}

// ---- numbers ----------------------------------------------------------------

template <typename T> bool CArchiveBin::WriteValue(uint8_t code, T value)
{
    uint8_t bytes[1 + sizeof(T)];
    bytes[0] = code;
    std::memcpy(bytes + 1, &value, sizeof(T));
    return Put(bytes, sizeof(bytes));
}

template <typename T> bool CArchiveBin::ReadValue(uint8_t expected, T& value)
{
    if (!m_common.file)
        return false;
    const uint8_t code = ReadCode();
    if (code != expected)
        ThrowTypeError(expected, code);
    T read;
    GetExactly(&read, sizeof(T));
    value = read;
    return true;
}

bool CArchiveBin::WriteDouble(double value, uint8_t)
{
    return WriteValue(kDouble, value);
}
bool CArchiveBin::WriteFloat(float value, uint8_t)
{
    return WriteValue(kFloat, value);
}
bool CArchiveBin::WriteLong(int32_t value)
{
    return WriteValue(kLong, value);
}
bool CArchiveBin::WriteULong(uint32_t value)
{
    return WriteValue(kULong, value);
}
bool CArchiveBin::WriteInt(int32_t value)
{
    return WriteValue(kInt, value);
}
bool CArchiveBin::WriteUInt(uint32_t value)
{
    return WriteValue(kUInt, value);
}
bool CArchiveBin::WriteShort(int16_t value)
{
    return WriteValue(kShort, value);
}
bool CArchiveBin::WriteUShort(uint16_t value)
{
    return WriteValue(kUShort, value);
}
bool CArchiveBin::WriteChar(int8_t value)
{
    return WriteValue(kChar, value);
}
bool CArchiveBin::WriteUChar(uint8_t value)
{
    return WriteValue(kUChar, value);
}
bool CArchiveBin::WriteBool(bool value)
{
    return WriteValue<uint8_t>(kBool, value ? 1 : 0);
}

bool CArchiveBin::ReadDouble(double& value)
{
    return ReadValue(kDouble, value);
}
bool CArchiveBin::ReadFloat(float& value)
{
    return ReadValue(kFloat, value);
}
bool CArchiveBin::ReadLong(int32_t& value)
{
    return ReadValue(kLong, value);
}
bool CArchiveBin::ReadULong(uint32_t& value)
{
    return ReadValue(kULong, value);
}
bool CArchiveBin::ReadInt(int32_t& value)
{
    return ReadValue(kInt, value);
}
bool CArchiveBin::ReadUInt(uint32_t& value)
{
    return ReadValue(kUInt, value);
}
bool CArchiveBin::ReadShort(int16_t& value)
{
    return ReadValue(kShort, value);
}
bool CArchiveBin::ReadUShort(uint16_t& value)
{
    return ReadValue(kUShort, value);
}
bool CArchiveBin::ReadChar(int8_t& value)
{
    return ReadValue(kChar, value);
}
bool CArchiveBin::ReadUChar(uint8_t& value)
{
    return ReadValue(kUChar, value);
}

bool CArchiveBin::ReadBool(bool& value)
{
    uint8_t byte = 0;
    if (!ReadValue(kBool, byte))
        return false;
    value = byte != 0;
    return true;
}

bool CArchiveBin::WriteBytes(const void* data, uint32_t count)
{
    return Put(data, count);
}

bool CArchiveBin::ReadBytes(void* data, uint32_t count)
{
    return Get(data, count) == count;
}

// ---- strings ----------------------------------------------------------------

bool CArchiveBin::WriteString(const std::string& text, bool)
{
    if (text.size() > kMaxStringLength)
        throw CKVOError(L"[CArchiveBin::WriteString] String size too large");
    if (m_compressed)
    {
        const auto found = m_narrowIndex.find(text);
        if (found != m_narrowIndex.end())
            return WriteValue(kStringRef, found->second);
    }
    const uint32_t count = static_cast<uint32_t>(text.size());
    m_scratch.resize(5 + text.size());
    m_scratch[0] = kString;
    std::memcpy(m_scratch.data() + 1, &count, 4);
    for (size_t i = 0; i < text.size(); ++i)
        m_scratch[5 + i] = static_cast<uint8_t>(~static_cast<uint8_t>(text[i]));
    const bool written = Put(m_scratch.data(), m_scratch.size());
    if (m_compressed)
    {
        m_narrowIndex.emplace(text, static_cast<int32_t>(m_narrowIndex.size()));
    }
    return written;
}

bool CArchiveBin::WriteWString(const std::wstring& text, bool)
{
    std::u16string units = Misc::Text::WideToUtf16(text);
    if (units.size() > kMaxStringLength)
        throw CKVOError(L"[CArchiveBin::WriteWString] String size too large");
    if (m_compressed)
    {
        const auto found = m_wideIndex.find(units);
        if (found != m_wideIndex.end())
            return WriteValue(kWStringRef, found->second);
    }
    const uint32_t count = static_cast<uint32_t>(units.size());
    m_scratch.resize(5 + 2 * units.size());
    m_scratch[0] = kWString;
    std::memcpy(m_scratch.data() + 1, &count, 4);
    for (size_t i = 0; i < units.size(); ++i)
    {
        const uint16_t unit = static_cast<uint16_t>(units[i] ^ 0x00FF);
        m_scratch[5 + 2 * i] = static_cast<uint8_t>(unit & 0xFF);
        m_scratch[6 + 2 * i] = static_cast<uint8_t>(unit >> 8);
    }
    const bool written = Put(m_scratch.data(), m_scratch.size());
    if (m_compressed)
    {
        const int32_t index = static_cast<int32_t>(m_wideIndex.size());
        m_wideIndex.emplace(std::move(units), index);
    }
    return written;
}

uint32_t CArchiveBin::ReadCount()
{
    uint32_t count = 0;
    GetExactly(&count, 4);
    if (count > kMaxStringLength)
        throw CKVOError(L"String size too large");
    return count;
}

bool CArchiveBin::ReadNarrowValue(uint8_t code, std::string& value)
{
    const int64_t start = Tell() - 1;
    if (code == kStringRef)
    {
        int32_t index = 0;
        GetExactly(&index, 4);
        if (index < 0 || static_cast<size_t>(index) >= m_narrowTable.size())
            return false;
        const std::string_view entry = m_narrowTable[static_cast<size_t>(index)];
        m_common.SpendRepeatedText(*this, entry.size());
        value.assign(entry);
        TranslateInPlace(value);
        return true;
    }
    const uint32_t count = ReadCount();
    const int64_t remaining = Remaining();
    if (remaining >= 0 && count > remaining)
        ThrowTruncated();
    value.resize(count);
    GetExactly(value.data(), count);
    for (char& c : value)
        c = static_cast<char>(~static_cast<uint8_t>(c));
    // A value read again after a TestToken went back over it is already in
    // the table.
    if (m_compressed && start >= m_narrowTableEnd)
    {
        m_narrowTable.push_back(value);
        m_narrowTableEnd = start + 1;
    }
    TranslateInPlace(value);
    return true;
}

bool CArchiveBin::ReadString(std::string& value)
{
    if (!m_common.file)
        return false;
    const uint8_t code = ReadCode();
    if (code != kString && code != kStringRef)
        ThrowTypeError(kString, code);
    std::string& text = m_narrowScratch;
    if (!ReadNarrowValue(code, text))
        return false;
    value.swap(text);
    return true;
}

bool CArchiveBin::ReadWString(std::wstring& value)
{
    if (!m_common.file)
        return false;
    const int64_t start = Tell();
    const uint8_t code = ReadCode();
    if (code == kString || code == kStringRef)
    {
        if (!ReadNarrowValue(code, m_narrowScratch))
            return false;
        value = Wide(m_narrowScratch);
        return true;
    }
    if (code == kWStringRef)
    {
        int32_t index = 0;
        GetExactly(&index, 4);
        if (index < 0 || static_cast<size_t>(index) >= m_wideTable.size())
            return false;
        const std::u16string_view entry = m_wideTable[static_cast<size_t>(index)];
        m_common.SpendRepeatedText(*this, entry.size());
        value = Misc::Text::Utf16ToWide(entry);
        TranslateInPlace(value);
        return true;
    }
    if (code != kWString)
        ThrowTypeError(kWString, code);

    const uint32_t count = ReadCount();
    const int64_t remaining = Remaining();
    if (remaining >= 0 && static_cast<int64_t>(count) * 2 > remaining)
        ThrowTruncated();
    const size_t bytes = static_cast<size_t>(count) * 2;
    const uint8_t* payload;
    if (m_bufferLength - m_bufferPos >= bytes)
    {
        payload = m_buffer.data() + m_bufferPos;
        m_bufferPos += bytes;
    }
    else
    {
        m_scratch.resize(bytes);
        GetExactly(m_scratch.data(), bytes);
        payload = m_scratch.data();
    }
    const bool keep = m_compressed && start >= m_wideTableEnd;
    std::u16string& pool = m_wideTable.pool;
    const size_t poolStart = pool.size();
    if (keep)
        pool.resize(poolStart + count);
    // Decode the units straight into wide text by the shared surrogate rule.
    const auto unitAt = [payload](size_t i)
    { return static_cast<char16_t>((payload[2 * i] | (payload[2 * i + 1] << 8)) ^ 0x00FF); };
    std::wstring& text = m_wideScratch;
    text.clear();
    text.reserve(count);
    for (size_t i = 0; i < count;)
    {
        const char16_t unit = unitAt(i);
        if (keep)
            pool[poolStart + i] = unit;
        if (!Misc::Text::IsSurrogate(unit))
        {
            text += static_cast<wchar_t>(unit);
            ++i;
            continue;
        }
        const int32_t next = i + 1 < count ? unitAt(i + 1) : -1;
        size_t length = 1;
        text += static_cast<wchar_t>(Misc::Text::DecodeUtf16(unit, next, length));
        if (keep && length == 2)
            pool[poolStart + i + 1] = static_cast<char16_t>(next);
        i += length;
    }
    if (keep)
    {
        m_wideTable.ends.push_back(pool.size());
        m_wideTableEnd = start + 1;
    }
    TranslateInPlace(text);
    value.swap(text);
    return true;
}

void CArchiveBin::TranslateInPlace(std::string& text)
{
    if (!m_common.translation || text.empty() || text[0] != '#')
        return;
    std::wstring translated;
    if (m_common.Translate(*this, Wide(text), translated))
        text = Misc::Text::WideToUtf8(translated);
}

void CArchiveBin::TranslateInPlace(std::wstring& text)
{
    if (!m_common.translation || text.empty() || text[0] != L'#')
        return;
    std::wstring translated;
    if (m_common.Translate(*this, text, translated))
        text = std::move(translated);
}

std::string CArchiveBin::ReadToken(const char*)
{
    std::string token;
    ReadString(token);
    return token;
}

std::wstring CArchiveBin::ReadWToken(const wchar_t*)
{
    std::wstring token;
    ReadWString(token);
    return token;
}

int CArchiveBin::MatchInPlace(std::string_view narrow, const wchar_t* wide, size_t wideLength)
{
    // Translated values and strings that a compressed archive still has to
    // add to its table take the full path.
    if (m_common.translation || m_bufferLength - m_bufferPos < 5)
        return -1;
    // Characters whose stored form is not one unit per character (and the
    // replacement character that bad stored units decode to) take the full
    // path too.
    for (size_t i = 0; wide && i < wideLength; ++i)
    {
        if (wide[i] >= 0xD800 && (wide[i] <= 0xDFFF || wide[i] == 0xFFFD || wide[i] > 0xFFFF))
            return -1;
    }
    const uint8_t* p = m_buffer.data() + m_bufferPos;
    const uint8_t code = p[0];
    uint32_t word = 0;
    std::memcpy(&word, p + 1, 4);
    if (code == kStringRef || code == kWStringRef)
    {
        const int32_t index = static_cast<int32_t>(word);
        bool equal;
        if (code == kStringRef)
        {
            if (index < 0 || static_cast<size_t>(index) >= m_narrowTable.size())
                return -1;
            const std::string_view entry = m_narrowTable[static_cast<size_t>(index)];
            if (wide)
            {
                if (entry.size() != wideLength ||
                    std::any_of(entry.begin(), entry.end(),
                                [](char c) { return static_cast<uint8_t>(c) >= 0x80; }))
                    return -1;
                equal = std::equal(entry.begin(), entry.end(), wide,
                                   [](char a, wchar_t b) { return static_cast<wchar_t>(a) == b; });
            }
            else
                equal = entry == narrow;
        }
        else
        {
            if (!wide || index < 0 || static_cast<size_t>(index) >= m_wideTable.size())
                return -1;
            const std::u16string_view entry = m_wideTable[static_cast<size_t>(index)];
            equal = entry.size() == wideLength && std::equal(entry.begin(), entry.end(), wide,
                                                             [](char16_t a, wchar_t b) { return a == b; });
        }
        if (!equal)
            return 0;
        m_bufferPos += 5;
        return 1;
    }
    if (code != kString && !(wide && code == kWString))
        return -1;
    if (m_compressed && Tell() >= m_narrowTableEnd && code == kString)
        return -1;
    if (m_compressed && Tell() >= m_wideTableEnd && code == kWString)
        return -1;
    const size_t unit = code == kString ? 1 : 2;
    if (m_bufferLength - m_bufferPos < 5 + unit * word)
        return -1;
    const uint8_t* payload = p + 5;
    bool equal;
    if (code == kString)
    {
        if (wide)
        {
            if (word != wideLength)
                return -1; // UTF-8 may take more bytes than characters
            equal = true;
            for (size_t i = 0; equal && i < word; ++i)
            {
                const uint8_t c = static_cast<uint8_t>(~payload[i]);
                if (c >= 0x80)
                    return -1;
                equal = static_cast<wchar_t>(c) == wide[i];
            }
        }
        else
        {
            equal = word == narrow.size();
            for (size_t i = 0; equal && i < word; ++i)
                equal = static_cast<uint8_t>(~payload[i]) == static_cast<uint8_t>(narrow[i]);
        }
    }
    else
    {
        equal = word == wideLength;
        for (size_t i = 0; equal && i < word; ++i)
        {
            const uint16_t u = static_cast<uint16_t>((payload[2 * i] | (payload[2 * i + 1] << 8)) ^ 0x00FF);
            equal = static_cast<wchar_t>(u) == wide[i];
        }
    }
    if (!equal)
        return 0;
    m_bufferPos += 5 + unit * word;
    return 1;
}

bool CArchiveBin::ExpectToken(const char* text)
{
    const char* expected = text ? text : "";
    if (MatchInPlace(expected, nullptr, 0) == 1)
        return true;
    std::string received;
    ReadString(received);
    if (received != expected)
    {
        throw CKVOError::Format(L"Error reading:%s, Expected:%s, Received:%s",
                                Displayed(getDataName()).c_str(), Displayed(Wide(expected)).c_str(),
                                Displayed(Wide(received)).c_str());
    }
    return true;
}

bool CArchiveBin::ExpectWToken(const wchar_t* text)
{
    const wchar_t* expected = text ? text : L"";
    if (MatchInPlace({}, expected, std::wcslen(expected)) == 1)
        return true;
    std::wstring received;
    ReadWString(received);
    if (received != expected)
    {
        throw CKVOError::Format(L"Error reading:%s, Expected:%s, Received:%s",
                                Displayed(getDataName()).c_str(), Displayed(expected).c_str(),
                                Displayed(received).c_str());
    }
    return true;
}

bool CArchiveBin::PeekStringCode(bool wide)
{
    if (!m_common.file)
        return false;
    if (m_bufferPos == m_bufferLength)
    {
        uint8_t code = 0;
        if (Get(&code, 1) != 1)
            return false;
        --m_bufferPos; // a refill leaves the byte just read in the buffer
        (void)code;
    }
    const uint8_t code = m_buffer[m_bufferPos];
    return code == kString || code == kStringRef || (wide && (code == kWString || code == kWStringRef));
}

bool CArchiveBin::TestToken(const char* text, bool peek)
{
    // Anything but a string next (another value, the end of the file) is
    // simply not a match.
    if (!PeekStringCode(false))
        return false;
    const int64_t start = Tell();
    const int quick = MatchInPlace(text ? text : "", nullptr, 0);
    if (quick >= 0)
    {
        if (quick == 1 && peek)
            SeekTo(start);
        return quick == 1;
    }
    std::string received;
    const bool match = ReadString(received) && received == (text ? text : "");
    if (!match || peek)
        SeekTo(start);
    m_narrowScratch.swap(received);
    return match;
}

bool CArchiveBin::TestWToken(const wchar_t* text, bool peek)
{
    if (!PeekStringCode(true))
        return false;
    const int64_t start = Tell();
    const wchar_t* expected = text ? text : L"";
    const int quick = MatchInPlace({}, expected, std::wcslen(expected));
    if (quick >= 0)
    {
        if (quick == 1 && peek)
            SeekTo(start);
        return quick == 1;
    }
    std::wstring received;
    const bool match = ReadWString(received) && received == (text ? text : L"");
    if (!match || peek)
        SeekTo(start);
    m_wideScratch.swap(received);
    return match;
}

} // namespace Misc::Serialization
