#include "core/io/ZipReader.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/io/DiskPath.h"
#include "core/io/ZipByteSource.h"
#include "core/io/ZipEntryInfo.h"
#include "core/io/ZipEntryStream.h"
#include "platform/FileAccess.h"
#include "platform/FileDescriptor.h"
#include "platform/FileStatus.h"
#include "platform/PathChanges.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <memory>
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

using ZipEntryInfo::SafeName;

// Only a leading separator makes a target absolute: there are no drives
// here, and a drive-like start ("C:x") is a name that stays in the base
// folder.
bool IsAbsolute(std::wstring_view path)
{
    return !path.empty() && (path[0] == L'/' || path[0] == L'\\');
}

} // namespace

// ---- the handle -------------------------------------------------------------

struct ZipHandle
{
    uint32_t kind = kReadingKind;
    unzFile zip = nullptr;
    CZipByteSource source;
    std::unique_ptr<CZipCursor> reader; // minizip's buffered view of the source
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
        return ZipEntryInfo::ReadCurrent(zip, info, name, extra);
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
    SZipEntryLocation location;
    uint32_t opened = CZipEntryStream::Locate(zip.zip, info, location);
    if (opened == kZipSuccess)
        opened = zip.stream.Open(location, zip.Password(), CZipByteSource::ReadAtCallback, &zip.source);
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
    int64_t accessNanoseconds = 0;
    int64_t writeNanoseconds = 0;
    const int64_t accessSeconds = ZipEntryInfo::FileTimeToUnix(record.lastAccessTime, &accessNanoseconds);
    const int64_t writeSeconds = ZipEntryInfo::FileTimeToUnix(record.lastWriteTime, &writeNanoseconds);
    Platform::SetFileTimes(fd, accessSeconds, accessNanoseconds, writeSeconds, writeNanoseconds);
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
        Platform::RemoveFile(path);
        fd = Platform::CreateExclusive(path);
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
            Platform::MakeReadOnly(fd);
        if (!Platform::CloseDescriptorChecked(fd) && result == kZipSuccess)
            result = kZipWriteError;
        // A half-written file is worse than none.
        if (result != kZipSuccess)
            Platform::RemoveFile(path);
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
    switch (kind)
    {
    case kZipHandle:
    {
        const int fd = static_cast<int>(reinterpret_cast<intptr_t>(source));
        const int64_t start = Platform::CurrentOffset(fd);
        if (start < 0)
        {
            Result(Platform::IsBadDescriptor(fd) ? kZipCannotOpen : kZipCannotSeek);
            return nullptr;
        }
        zip->source.SetDescriptor(fd, start, false);
        break;
    }
    case kZipFile:
    {
        if (!source)
        {
            Result(kZipBadArguments);
            return nullptr;
        }
        // Regular files only: a FIFO or a device would block or never end.
        const std::string path = DiskPath::Resolve(static_cast<const wchar_t*>(source));
        const int fd = Platform::OpenForReading(path);
        if (fd < 0 || !Platform::GetDescriptorStatus(fd).IsRegular())
        {
            Platform::CloseDescriptor(fd);
            Result(kZipCannotOpen);
            return nullptr;
        }
        zip->source.SetDescriptor(fd, 0, true);
        break;
    }
    case kZipMemory:
        if (!source && length > 0)
        {
            Result(kZipBadArguments);
            return nullptr;
        }
        zip->source.SetMemory(static_cast<const uint8_t*>(source), length);
        break;
    default:
        Result(kZipBadArguments);
        return nullptr;
    }

    zlib_filefunc64_def functions = CZipCursor::Functions();
    zip->reader = std::make_unique<CZipCursor>(zip->source);
    zip->zip = unzOpen2_64(zip->reader.get(), &functions);
    unz_global_info64 global = {};
    if (!zip->zip || unzGetGlobalInfo64(zip->zip, &global) != UNZ_OK)
    {
        if (zip->zip)
            unzClose(zip->zip);
        Result(kZipCannotOpen);
        return nullptr;
    }
    zip->entryCount = static_cast<int64_t>(std::min<ZPOS64_T>(global.number_entry, INT_MAX));
    zip->password = password ? password : "";
    zip->baseFolder = CurrentFolder();
    Result(kZipSuccess);
    return zip.release();
}

bool ZipEntrySizeIsPlausible(const ZipEntryRecord& record)
{
    if (record.uncompressedSize < 0 || record.uncompressedSize > kZipMaxEntrySize ||
        record.compressedSize < 0)
        return false;
    return record.uncompressedSize <= record.compressedSize * 1032 + 1024;
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

    ZipEntryRecord made = ZipEntryInfo::MakeRecord(info, rawName, index, centralExtra, localExtra);

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
    delete zip; // the source closes a descriptor it owns

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
