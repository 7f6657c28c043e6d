#include "core/io/ZipReader.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/io/DiskPath.h"
#include "core/io/ZipEntryStream.h"
#include "platform/FileDescriptor.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

std::atomic<uint32_t> g_lastResult{kZipSuccess};

uint32_t Result(uint32_t code)
{
    g_lastResult = code;
    return code;
}

constexpr size_t kUnzipChunk = 16384;
constexpr uint32_t kReadingKind = 1;

// ---- byte source beneath minizip ------------------------------------------

struct ZipSource
{
    uint32_t kind = 0;
    int fd = -1;
    int64_t start = 0; // descriptor offset that counts as position 0
    const uint8_t* memory = nullptr;
    uint64_t size = 0; // memory length
    uint64_t pos = 0;
    int error = 0;
};

voidpf ZCALLBACK SourceOpen(voidpf, const void* source, int)
{
    return const_cast<void*>(source);
}

// Reads up to length bytes at the position; the count read, or -1 on an
// error (errno tells which).
int64_t SourceReadAt(void* stream, uint64_t position, uint8_t* out, size_t length)
{
    auto* source = static_cast<ZipSource*>(stream);
    if (source->kind == kZipMemory)
    {
        const uint64_t left = position < source->size ? source->size - position : 0;
        const uint64_t count = std::min<uint64_t>(length, left);
        if (count > 0)
            std::memcpy(out, source->memory + position, count);
        return static_cast<int64_t>(count);
    }
    size_t done = 0;
    while (done < length)
    {
        const ssize_t got =
            pread(source->fd, out + done, length - done, static_cast<off_t>(source->start + position + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
}

uLong ZCALLBACK SourceRead(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto* source = static_cast<ZipSource*>(stream);
    const int64_t got = SourceReadAt(source, source->pos, static_cast<uint8_t*>(buffer), size);
    if (got < 0)
    {
        source->error = errno;
        return 0;
    }
    source->pos += static_cast<uint64_t>(got);
    return static_cast<uLong>(got);
}

uLong ZCALLBACK SourceWrite(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK SourceTell(voidpf, voidpf stream)
{
    return static_cast<ZipSource*>(stream)->pos;
}

uint64_t SourceSize(const ZipSource& source)
{
    if (source.kind == kZipMemory)
        return source.size;
    struct stat info;
    if (fstat(source.fd, &info) != 0 || info.st_size < source.start)
        return 0;
    return static_cast<uint64_t>(info.st_size - source.start);
}

long ZCALLBACK SourceSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* source = static_cast<ZipSource*>(stream);
    uint64_t base = 0;
    switch (origin)
    {
    case ZLIB_FILEFUNC_SEEK_SET:
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = source->pos;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = SourceSize(*source);
        break;
    default:
        return -1;
    }
    source->pos = base + offset;
    return 0;
}

int ZCALLBACK SourceClose(voidpf, voidpf)
{
    return 0; // the handle owns the source and closes its descriptor
}

int ZCALLBACK SourceError(voidpf, voidpf stream)
{
    return static_cast<ZipSource*>(stream)->error;
}

// ---- names, attributes, times ---------------------------------------------

// Drops every empty, "." and ".." part and a leading drive ("C:"), so the
// name stays inside whatever folder it is extracted to.
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
        const std::wstring_view part = name.substr(start, end - start);
        const bool drive = first && part.size() == 2 && part[1] == L':';
        if (!part.empty())
            first = false;
        if (!part.empty() && part != L"." && part != L".." && !drive)
        {
            if (!safe.empty())
                safe += L'/';
            safe += part;
        }
        start = end + 1;
    }
    return safe;
}

uint64_t UnixToFileTime(int64_t seconds)
{
    return static_cast<uint64_t>((seconds + 11644473600LL) * 10000000LL);
}

int64_t FileTimeToUnix(uint64_t fileTime, long* nanoseconds)
{
    const int64_t ticks = static_cast<int64_t>(fileTime) - 116444736000000000LL;
    *nanoseconds = static_cast<long>((ticks % 10000000 + 10000000) % 10000000 * 100);
    return (ticks - (ticks % 10000000 + 10000000) % 10000000) / 10000000;
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

bool IsAbsolute(std::wstring_view path)
{
    return (!path.empty() && (path[0] == L'/' || path[0] == L'\\')) || (path.size() >= 2 && path[1] == L':');
}

} // namespace

// ---- the handle -------------------------------------------------------------

struct ZipHandle
{
    uint32_t kind = kReadingKind;
    unzFile zip = nullptr;
    ZipSource source;
    bool ownsDescriptor = false;
    int64_t entryCount = 0;
    int cursor = 0;     // minizip's current entry
    int openEntry = -1; // entry whose data is open for reading
    CZipEntryStream stream;
    bool haveRecord = false;
    ZipEntryRecord record; // the last record read
    std::string password;
    std::vector<uint8_t> unzipBuffer;
    std::wstring baseFolder;

    const char* Password() const { return password.empty() ? nullptr : password.c_str(); }

    void CloseEntry()
    {
        stream.Close();
        openEntry = -1;
    }

    // Moves minizip's cursor to entry i, rewinding when it is past it.
    bool GoTo(int i)
    {
        CloseEntry();
        if (cursor > i || cursor < 0)
        {
            if (unzGoToFirstFile(zip) != UNZ_OK)
            {
                cursor = -1;
                return false;
            }
            cursor = 0;
        }
        while (cursor < i)
        {
            if (unzGoToNextFile(zip) != UNZ_OK)
            {
                cursor = -1;
                return false;
            }
            ++cursor;
        }
        return true;
    }

    // The current entry's information and raw name.
    bool CurrentInfo(unz_file_info64& info, std::string& name, std::vector<uint8_t>* extra)
    {
        if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return false;
        name.assign(info.size_filename, '\0');
        std::vector<uint8_t> ignored;
        std::vector<uint8_t>& extraField = extra ? *extra : ignored;
        extraField.assign(extra ? info.size_file_extra : 0, 0);
        if (unzGetCurrentFileInfo64(zip, &info, name.data(), static_cast<uLong>(name.size()),
                                    extraField.empty() ? nullptr : extraField.data(),
                                    static_cast<uLong>(extraField.size()), nullptr, 0) != UNZ_OK)
            return false;
        return true;
    }
};

namespace
{

uint32_t CheckHandle(const ZipHandle* zip)
{
    if (!zip)
        return kZipBadArguments;
    if (zip->kind != kReadingKind)
        return kZipWrongMode;
    return kZipSuccess;
}

std::wstring CurrentFolder()
{
    std::error_code error;
    std::wstring folder = FromNativePath(std::filesystem::current_path(error).string());
    if (folder.empty() || folder.back() != L'/')
        folder += L'/';
    return folder;
}

// Opens the data of entry `index` (the cursor is on it) for reading.
uint32_t OpenEntryData(ZipHandle& zip, int index)
{
    unz_file_info64 info;
    std::string name;
    if (!zip.CurrentInfo(info, name, nullptr))
        return kZipCorrupt;
    const uint32_t opened = zip.stream.Open(zip.zip, info, zip.Password(), SourceReadAt, &zip.source);
    if (opened == kZipSuccess)
        zip.openEntry = index;
    return opened;
}

// Ends reading the open entry (size and CRC checked).
uint32_t FinishEntryData(ZipHandle& zip)
{
    zip.openEntry = -1;
    return zip.stream.Finish();
}

// Gives up on the open entry after a failed read.
uint32_t FailEntryData(ZipHandle& zip)
{
    const uint32_t failure = zip.stream.Failure();
    zip.CloseEntry();
    return failure;
}

uint32_t UnzipToMemory(ZipHandle& zip, int index, uint8_t* target, size_t length)
{
    if (zip.openEntry != index)
    {
        if (index < 0 || index >= zip.entryCount)
            return kZipBadArguments;
        if (!zip.GoTo(index))
            return kZipCorrupt;
        const uint32_t opened = OpenEntryData(zip, index);
        if (opened != kZipSuccess)
            return opened;
    }
    const int64_t got = zip.stream.Read(target, length);
    if (got < 0)
        return FailEntryData(zip);
    if (static_cast<size_t>(got) == length && !zip.stream.AtDeclaredEnd())
        return kZipMoreData;
    return FinishEntryData(zip);
}

// Copies the open entry into the descriptor in chunks.
uint32_t CopyEntryData(ZipHandle& zip, int fd)
{
    if (zip.unzipBuffer.empty())
        zip.unzipBuffer.resize(kUnzipChunk);
    for (;;)
    {
        const int64_t got = zip.stream.Read(zip.unzipBuffer.data(), kUnzipChunk);
        if (got < 0)
            return FailEntryData(zip);
        if (got == 0)
            break;
        if (Platform::WriteFully(fd, zip.unzipBuffer.data(), static_cast<size_t>(got)) !=
            static_cast<size_t>(got))
        {
            zip.CloseEntry();
            return kZipWriteError;
        }
    }
    return FinishEntryData(zip);
}

void SetTimes(int fd, const ZipEntryRecord& record)
{
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(FileTimeToUnix(record.lastAccessTime, &times[0].tv_nsec));
    times[1].tv_sec = static_cast<time_t>(FileTimeToUnix(record.lastWriteTime, &times[1].tv_nsec));
    futimens(fd, times);
}

uint32_t UnzipToFile(ZipHandle& zip, int index, const wchar_t* target, int handle, uint32_t kind)
{
    ZipEntryRecord record;
    const uint32_t found = ZipGetItem(&zip, index, &record);
    if (found != kZipSuccess)
        return found;
    if (!zip.GoTo(index))
        return kZipCorrupt;

    std::string path;
    if (kind == kZipFile)
    {
        // A relative target stays inside the base folder whatever it holds.
        const std::wstring name = target;
        path = IsAbsolute(name) ? ToNativePath(name) : ToNativePath(zip.baseFolder + SafeName(name));
        path = DiskPath::ResolveNative(path);
    }

    if (record.attributes & kZipAttributeDirectory)
    {
        if (kind == kZipFile)
        {
            std::error_code error;
            std::filesystem::create_directories(path, error);
            if (error && !std::filesystem::is_directory(path))
                return kZipCannotOpen;
        }
        return kZipSuccess;
    }

    int fd = handle;
    if (kind == kZipFile)
    {
        std::error_code error;
        const std::filesystem::path file(path);
        if (file.has_parent_path())
            std::filesystem::create_directories(file.parent_path(), error);
        // Replace whatever is there (a link included) by a new file.
        unlink(path.c_str());
        fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0)
            return kZipCannotOpen;
    }

    uint32_t result = OpenEntryData(zip, index);
    if (result == kZipSuccess)
        result = CopyEntryData(zip, fd);
    if (result == kZipSuccess)
        SetTimes(fd, record);
    if (kind == kZipFile)
    {
        if (result == kZipSuccess && (record.attributes & kZipAttributeReadOnly))
        {
            struct stat info;
            if (fstat(fd, &info) == 0)
                fchmod(fd, info.st_mode & ~static_cast<mode_t>(0222));
        }
        if (close(fd) != 0 && result == kZipSuccess)
            result = kZipWriteError;
        // A half-written file is worse than none.
        if (result != kZipSuccess)
            unlink(path.c_str());
    }
    return result;
}

const wchar_t* MessageOf(uint32_t code)
{
    switch (code)
    {
    case kZipSuccess:
        return L"Success";
    case kZipCannotDuplicate:
        return L"Culdn't duplicate handle";
    case kZipCannotOpen:
        return L"Couldn't create/open file";
    case kZipNoMemory:
        return L"Failed to allocate memory";
    case kZipWriteError:
        return L"Error writing to file";
    case kZipNotFound:
        return L"File not found in the zipfile";
    case kZipMoreData:
        return L"Still more data to unzip";
    case kZipCorrupt:
        return L"Zipfile is corrupt or not a zipfile";
    case kZipReadError:
        return L"Error reading file";
    case kZipPassword:
        return L"Correct password required";
    case kZipBadArguments:
        return L"Caller: faulty arguments";
    case kZipNotMemoryZip:
        return L"Caller: can only get memory of a memory zipfile";
    case kZipMemorySize:
        return L"Caller: not enough space allocated for memory zipfile";
    case kZipPreviousError:
        return L"Caller: there was a previous error";
    case kZipEnded:
        return L"Caller: additions to the zip have already been ended";
    case kZipWrongSize:
        return L"Zip-bug: the anticipated size turned out wrong";
    case kZipPartlyUnzipped:
        return L"Caller: the file had already been partially unzipped";
    case kZipWrongMode:
        return L"Caller: mixing creation and opening of zip";
    case kZipNotInitialised:
        return L"Zip-bug: internal initialisation not completed";
    case kZipCannotSeek:
        return L"Zip-bug: trying to seek the unseekable";
    case kZipCannotChange:
        return L"Zip-bug: tried to change mind, but not allowed";
    case kZipFlateError:
        return L"Zip-bug: an internal error during flation";
    default:
        return L"unknown zip result code";
    }
}

} // namespace

ZipHandle* ZipOpen(const void* source, size_t length, uint32_t kind, const char* password)
{
    auto zip = std::make_unique<ZipHandle>();
    zip->source.kind = kind;
    switch (kind)
    {
    case kZipHandle:
    {
        const int fd = static_cast<int>(reinterpret_cast<intptr_t>(source));
        const off_t start = lseek(fd, 0, SEEK_CUR);
        if (start < 0)
        {
            Result(errno == EBADF ? kZipCannotOpen : kZipCannotSeek);
            return nullptr;
        }
        zip->source.fd = fd;
        zip->source.start = start;
        break;
    }
    case kZipFile:
    {
        if (!source)
        {
            Result(kZipBadArguments);
            return nullptr;
        }
        const std::string path = DiskPath::Resolve(static_cast<const wchar_t*>(source));
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info;
        if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        {
            if (fd >= 0)
                close(fd);
            Result(kZipCannotOpen);
            return nullptr;
        }
        zip->source.fd = fd;
        zip->ownsDescriptor = true;
        break;
    }
    case kZipMemory:
        if (!source && length > 0)
        {
            Result(kZipBadArguments);
            return nullptr;
        }
        zip->source.memory = static_cast<const uint8_t*>(source);
        zip->source.size = length;
        break;
    default:
        Result(kZipBadArguments);
        return nullptr;
    }

    zlib_filefunc64_def functions = {};
    functions.zopen64_file = SourceOpen;
    functions.zread_file = SourceRead;
    functions.zwrite_file = SourceWrite;
    functions.ztell64_file = SourceTell;
    functions.zseek64_file = SourceSeek;
    functions.zclose_file = SourceClose;
    functions.zerror_file = SourceError;
    zip->zip = unzOpen2_64(&zip->source, &functions);
    unz_global_info64 global = {};
    if (!zip->zip || unzGetGlobalInfo64(zip->zip, &global) != UNZ_OK)
    {
        if (zip->zip)
            unzClose(zip->zip);
        if (zip->ownsDescriptor)
            close(zip->source.fd);
        Result(kZipCannotOpen);
        return nullptr;
    }
    zip->entryCount = static_cast<int64_t>(std::min<ZPOS64_T>(global.number_entry, INT_MAX));
    zip->password = password ? password : "";
    zip->baseFolder = CurrentFolder();
    Result(kZipSuccess);
    return zip.release();
}

ZipHandle* ZipOpenFile(const std::wstring& fileName, const char* password)
{
    return ZipOpen(fileName.c_str(), 0, kZipFile, password);
}

uint32_t ZipSetBaseFolder(ZipHandle* zip, const std::wstring& folder)
{
    if (const uint32_t bad = CheckHandle(zip))
        return Result(bad);
    zip->baseFolder = folder;
    if (zip->baseFolder.empty() || (zip->baseFolder.back() != L'/' && zip->baseFolder.back() != L'\\'))
        zip->baseFolder += L'/';
    return Result(kZipSuccess);
}

uint32_t ZipGetItem(ZipHandle* zip, int index, ZipEntryRecord* record)
{
    if (const uint32_t bad = CheckHandle(zip))
        return Result(bad);
    if (!record)
        return Result(kZipBadArguments);
    if (index == -1)
    {
        *record = ZipEntryRecord();
        record->index = static_cast<int32_t>(zip->entryCount);
        return Result(kZipSuccess);
    }
    if (index < -1 || index >= zip->entryCount)
        return Result(kZipBadArguments);
    if (zip->haveRecord && zip->record.index == index)
    {
        *record = zip->record;
        return Result(kZipSuccess);
    }

    if (!zip->GoTo(index))
        return Result(kZipCorrupt);
    unz_file_info64 info;
    std::string rawName;
    std::vector<uint8_t> centralExtra;
    if (!zip->CurrentInfo(info, rawName, &centralExtra))
        return Result(kZipCorrupt);

    // The local header's extra field holds the full set of Unix times.
    int method = 0;
    if (unzOpenCurrentFile2(zip->zip, &method, nullptr, 1) != UNZ_OK)
        return Result(kZipCorrupt);
    std::vector<uint8_t> localExtra;
    const int localSize = unzGetLocalExtrafield(zip->zip, nullptr, 0);
    if (localSize > 0)
    {
        localExtra.resize(static_cast<size_t>(localSize));
        if (unzGetLocalExtrafield(zip->zip, localExtra.data(), static_cast<unsigned>(localSize)) != localSize)
        {
            unzCloseCurrentFile(zip->zip);
            return Result(kZipReadError);
        }
    }
    unzCloseCurrentFile(zip->zip);

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

    zip->record = made;
    zip->haveRecord = true;
    *record = std::move(made);
    return Result(kZipSuccess);
}

uint32_t ZipFindItem(ZipHandle* zip, const std::wstring& name, int* index, ZipEntryRecord* record,
                     bool fileNamesOnly)
{
    if (const uint32_t bad = CheckHandle(zip))
        return Result(bad);
    const auto reduce = [fileNamesOnly](std::wstring text)
    {
        if (fileNamesOnly)
            text = ExtractFilenameComponents(text, false, false, true, true);
        CleanPath(text, L"/");
        return text;
    };
    const std::wstring pattern = reduce(name);

    int found = -1;
    zip->CloseEntry();
    if (zip->GoTo(0))
    {
        for (int i = 0; i < zip->entryCount; ++i)
        {
            unz_file_info64 info;
            std::string rawName;
            if (i > 0)
            {
                if (unzGoToNextFile(zip->zip) != UNZ_OK)
                {
                    zip->cursor = -1;
                    break;
                }
                zip->cursor = i;
            }
            if (!zip->CurrentInfo(info, rawName, nullptr))
                break;
            // The same match as on disk, so a pattern finds the same names
            // in folders and archives ("*.txt" takes "a.b.txt" too).
            if (DiskPath::MatchPattern(reduce(SafeName(Misc::Text::Utf8ToWide(rawName))), pattern))
            {
                found = i;
                break;
            }
        }
    }

    if (index)
        *index = found;
    if (found < 0)
    {
        if (record)
        {
            *record = ZipEntryRecord();
            record->index = -1;
        }
        return Result(kZipNotFound);
    }
    if (record)
        return ZipGetItem(zip, found, record);
    return Result(kZipSuccess);
}

uint32_t ZipUnzipItem(ZipHandle* zip, int index, void* target, size_t length, uint32_t kind)
{
    if (const uint32_t bad = CheckHandle(zip))
        return Result(bad);
    switch (kind)
    {
    case kZipMemory:
        if (!target && length > 0)
            return Result(kZipBadArguments);
        return Result(UnzipToMemory(*zip, index, static_cast<uint8_t*>(target), length));
    case kZipFile:
        if (!target)
            return Result(kZipBadArguments);
        return Result(UnzipToFile(*zip, index, static_cast<const wchar_t*>(target), -1, kind));
    case kZipHandle:
        return Result(
            UnzipToFile(*zip, index, nullptr, static_cast<int>(reinterpret_cast<intptr_t>(target)), kind));
    default:
        return Result(kZipBadArguments);
    }
}

uint32_t ZipUnzipToFile(ZipHandle* zip, int index, const std::wstring& fileName)
{
    return ZipUnzipItem(zip, index, const_cast<wchar_t*>(fileName.c_str()), 0, kZipFile);
}

uint32_t ZipUnzipToMemory(ZipHandle* zip, int index, void* buffer, size_t length)
{
    return ZipUnzipItem(zip, index, buffer, length, kZipMemory);
}

uint32_t ZipClose(ZipHandle* zip)
{
    if (const uint32_t bad = CheckHandle(zip))
        return Result(bad);
    zip->CloseEntry();
    const int closed = unzClose(zip->zip);
    if (zip->ownsDescriptor)
        close(zip->source.fd);
    delete zip;
    return Result(closed == UNZ_OK ? kZipSuccess : kZipCorrupt);
}

size_t ZipResultMessage(uint32_t code, wchar_t* buffer, size_t length)
{
    const std::wstring message = ZipResultMessage(code);
    if (buffer && length > 0)
    {
        const size_t count = std::min(message.size(), length - 1);
        std::wmemcpy(buffer, message.c_str(), count);
        buffer[count] = L'\0';
    }
    return message.size();
}

std::wstring ZipResultMessage(uint32_t code)
{
    return MessageOf(code == kZipLastResult ? g_lastResult.load() : code);
}
