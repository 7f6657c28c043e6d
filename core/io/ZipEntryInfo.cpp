#include "core/io/ZipEntryInfo.h"

#include "core/foundation/StringConversion.h"

#include <ctime>

namespace ZipEntryInfo
{

namespace
{

uint64_t UnixToFileTime(int64_t seconds)
{
    return static_cast<uint64_t>((seconds + 11644473600LL) * 10000000LL);
}

// A DOS date and time (local time) as a UTC FILETIME.
uint64_t DosToFileTime(uLong dosDate)
{
    struct tm local = {};
    const unsigned date = static_cast<unsigned>(dosDate >> 16);
    const unsigned time = static_cast<unsigned>(dosDate & 0xFFFF);
    local.tm_year = static_cast<int>(((date >> 9) & 0x7F) + 80);
    local.tm_mon = static_cast<int>(((date >> 5) & 0x0F)) - 1;
    local.tm_mday = static_cast<int>(date & 0x1F);
    local.tm_hour = static_cast<int>((time >> 11) & 0x1F);
    local.tm_min = static_cast<int>((time >> 5) & 0x3F);
    local.tm_sec = static_cast<int>((time & 0x1F) * 2);
    local.tm_isdst = -1;
    const time_t seconds = mktime(&local);
    return seconds == static_cast<time_t>(-1) ? 0 : UnixToFileTime(seconds);
}

// Applies an "UT" (extended timestamp) block of an extra field: flags bit 0
// last write, bit 1 last access, bit 2 creation, each 4 bytes when present.
bool ApplyUnixTimes(const std::vector<uint8_t>& extra, ZipEntryRecord& record)
{
    size_t at = 0;
    while (at + 4 <= extra.size())
    {
        const unsigned id = extra[at] | (extra[at + 1] << 8);
        const size_t size = extra[at + 2] | (extra[at + 3] << 8);
        const size_t body = at + 4;
        if (body + size > extra.size())
            return false;
        if (id == 0x5455 && size >= 1)
        {
            const uint8_t flags = extra[body];
            size_t field = body + 1;
            uint64_t* targets[] = {&record.lastWriteTime, &record.lastAccessTime, &record.creationTime};
            for (int bit = 0; bit < 3; ++bit)
            {
                if (!(flags & (1 << bit)))
                    continue;
                if (field + 4 > body + size)
                    break;
                const int32_t seconds =
                    static_cast<int32_t>(extra[field] | (extra[field + 1] << 8) | (extra[field + 2] << 16) |
                                         (static_cast<uint32_t>(extra[field + 3]) << 24));
                *targets[bit] = UnixToFileTime(seconds);
                field += 4;
            }
            return true;
        }
        at = body + size;
    }
    return false;
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

} // namespace

std::wstring SafeName(std::wstring_view name)
{
    std::wstring safe;
    size_t start = 0;
    bool first = true;
    while (start <= name.size())
    {
        size_t end = name.find_first_of(L"/\\", start);
        if (end == std::wstring_view::npos)
            end = name.size();
        std::wstring_view part = name.substr(start, end - start);
        if (first && !part.empty())
        {
            // A drive, alone ("C:") or before a name ("C:name", which
            // Windows reads relative to that drive's folder): never a place
            // outside the target.
            while (part.size() >= 2 && part[1] == L':' && (IsAsciiLetter(part[0]) || part.size() == 2))
                part.remove_prefix(2);
            first = false;
        }
        if (!part.empty() && part != L"." && part != L"..")
        {
            if (!safe.empty())
                safe += L'/';
            safe += part;
        }
        start = end + 1;
    }
    return safe;
}

bool ReadCurrent(unzFile zip, unz_file_info64& info, std::string& rawName, std::vector<uint8_t>* extra)
{
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    rawName.assign(info.size_filename, '\0');
    std::vector<uint8_t> ignored;
    std::vector<uint8_t>& extraField = extra ? *extra : ignored;
    extraField.assign(extra ? info.size_file_extra : 0, 0);
    return unzGetCurrentFileInfo64(zip, &info, rawName.data(), static_cast<uLong>(rawName.size()),
                                   extraField.empty() ? nullptr : extraField.data(),
                                   static_cast<uLong>(extraField.size()), nullptr, 0) == UNZ_OK;
}

ZipEntryRecord MakeRecord(const unz_file_info64& info, const std::string& rawName, int index,
                          const std::vector<uint8_t>& centralExtra, const std::vector<uint8_t>& localExtra)
{
    ZipEntryRecord made;
    const std::wstring wideName = Misc::Text::Utf8ToWide(rawName);
    made.name = SafeName(wideName);
    made.attributes =
        Attributes(info, !wideName.empty() && (wideName.back() == L'/' || wideName.back() == L'\\'));
    made.lastWriteTime = made.lastAccessTime = made.creationTime = DosToFileTime(info.dosDate);
    if (!ApplyUnixTimes(localExtra, made))
        ApplyUnixTimes(centralExtra, made);
    made.compressedSize = static_cast<int64_t>(info.compressed_size);
    made.uncompressedSize = static_cast<int64_t>(info.uncompressed_size);
    made.index = index;
    return made;
}

uint32_t Attributes(const unz_file_info64& info, bool nameIsFolder)
{
    const unsigned host = static_cast<unsigned>(info.version >> 8);
    const uLong external = info.external_fa;
    uint32_t attributes = 0;
    if (host == 0 || host == 7 || host == 11 || host == 14)
    {
        attributes = static_cast<uint32_t>(external) &
                     (kZipAttributeReadOnly | kZipAttributeHidden | kZipAttributeSystem |
                      kZipAttributeDirectory | kZipAttributeArchive);
    }
    else
    {
        attributes = kZipAttributeArchive;
        if (external & 0x40000000)
            attributes |= kZipAttributeDirectory;
        if (!(external & 0x00800000))
            attributes |= kZipAttributeReadOnly;
    }
    // A name that ends in a separator is a folder whatever the host said.
    if (nameIsFolder)
        attributes |= kZipAttributeDirectory;
    return attributes;
}

int64_t FileTimeToUnix(uint64_t fileTime, int64_t* nanoseconds)
{
    const int64_t ticks = static_cast<int64_t>(fileTime) - 116444736000000000LL;
    *nanoseconds = (ticks % 10000000 + 10000000) % 10000000 * 100;
    return (ticks - (ticks % 10000000 + 10000000) % 10000000) / 10000000;
}

} // namespace ZipEntryInfo
