#include "core/io/ZipArchive.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/io/DiskPath.h"
#include "core/io/ZipEntryInfo.h"
#include "platform/FileAccess.h"

#include <algorithm>
#include <climits>

namespace
{

// The name as lookups compare it, like ZipFindItem: cleaned with "/", with
// fileNamesOnly reduced to file name and extension first.
std::wstring Reduced(std::wstring_view name, bool fileNamesOnly)
{
    std::wstring text =
        fileNamesOnly ? ExtractFilenameComponents(name, false, false, true, true) : std::wstring(name);
    CleanPath(text, L"/");
    return text;
}

std::wstring Folded(std::wstring text)
{
    for (wchar_t& c : text)
        c = DiskPath::FoldCase(c);
    return text;
}

} // namespace

std::shared_ptr<CZipArchive> CZipArchive::Open(const std::string& nativePath, const std::string& password)
{
    const int fd = Platform::OpenForReading(nativePath);
    const Platform::SFileStatus status = Platform::GetDescriptorStatus(fd);
    if (fd < 0 || !status.IsRegular())
    {
        Platform::CloseDescriptor(fd);
        return nullptr;
    }
    std::shared_ptr<CZipArchive> archive(new CZipArchive());
    archive->m_source.SetDescriptor(fd, 0, true);
    archive->m_status = status;
    archive->m_password = password;
    zlib_filefunc64_def functions = CZipCursor::Functions();
    archive->m_zip = unzOpen2_64(&archive->m_cursor, &functions);
    if (!archive->m_zip || !archive->ReadDirectory())
        return nullptr;
    return archive;
}

CZipArchive::~CZipArchive()
{
    if (m_zip)
        unzClose(m_zip);
}

bool CZipArchive::ReadDirectory()
{
    unz_global_info64 global = {};
    if (unzGetGlobalInfo64(m_zip, &global) != UNZ_OK)
        return false;
    const ZPOS64_T count = std::min<ZPOS64_T>(global.number_entry, INT_MAX);
    // The count comes from the archive: reserve no more than its directory
    // can hold (46 bytes an entry at least).
    m_entries.reserve(static_cast<size_t>(std::min<ZPOS64_T>(count, m_status.size / 46 + 1)));
    if (count == 0 || unzGoToFirstFile(m_zip) != UNZ_OK)
        return true;
    std::string rawName;
    for (ZPOS64_T i = 0; i < count; ++i)
    {
        if (i > 0 && unzGoToNextFile(m_zip) != UNZ_OK)
            break; // a damaged directory: the entries before it stay usable
        SEntry entry;
        if (!ZipEntryInfo::ReadCurrent(m_zip, entry.info, rawName, nullptr) ||
            unzGetFilePos64(m_zip, &entry.position) != UNZ_OK)
            break;
        const std::wstring wide = Misc::Text::Utf8ToWide(rawName);
        entry.name = Reduced(ZipEntryInfo::SafeName(wide), false);
        entry.fileName = Reduced(entry.name, true);
        entry.attributes = ZipEntryInfo::Attributes(
            entry.info, !wide.empty() && (wide.back() == L'/' || wide.back() == L'\\'));
        const int index = static_cast<int>(m_entries.size());
        m_byName.emplace(Folded(entry.name), index);
        m_byFileName.emplace(Folded(entry.fileName), index);
        m_entries.push_back(std::move(entry));
    }
    return true;
}

int CZipArchive::Find(std::wstring_view name, bool fileNamesOnly) const
{
    const auto& map = fileNamesOnly ? m_byFileName : m_byName;
    const auto found = map.find(Folded(Reduced(name, fileNamesOnly)));
    return found == map.end() ? -1 : found->second;
}

int CZipArchive::FindPattern(std::wstring_view pattern, bool fileNamesOnly) const
{
    if (!DiskPath::HasWildcards(pattern))
        return Find(pattern, fileNamesOnly);
    const std::wstring reduced = Reduced(pattern, fileNamesOnly);
    for (size_t i = 0; i < m_entries.size(); ++i)
    {
        const SEntry& entry = m_entries[i];
        if (DiskPath::MatchPattern(fileNamesOnly ? entry.fileName : entry.name, reduced))
            return static_cast<int>(i);
    }
    return -1;
}

bool CZipArchive::GetRecord(int index, ZipEntryRecord& record) const
{
    if (index < 0 || index >= GetEntryCount())
        return false;
    const SEntry& entry = m_entries[static_cast<size_t>(index)];
    record = ZipEntryRecord();
    record.name = entry.name;
    record.attributes = entry.attributes;
    record.compressedSize = static_cast<int64_t>(entry.info.compressed_size);
    record.uncompressedSize = static_cast<int64_t>(entry.info.uncompressed_size);
    record.index = index;
    return true;
}

uint32_t CZipArchive::Locate(const SEntry& entry, SZipEntryLocation& location) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!entry.located)
    {
        unz64_file_pos position = entry.position;
        if (unzGoToFilePos64(m_zip, &position) != UNZ_OK)
            return kZipCorrupt;
        SZipEntryLocation found;
        const uint32_t result = CZipEntryStream::Locate(m_zip, entry.info, found);
        if (result != kZipSuccess)
            return result;
        entry.location = found;
        entry.located = true;
    }
    location = entry.location;
    return kZipSuccess;
}

uint32_t CZipArchive::Unzip(int index, uint8_t* target, size_t length) const
{
    if (index < 0 || index >= GetEntryCount() || (!target && length > 0))
        return kZipBadArguments;
    const SEntry& entry = m_entries[static_cast<size_t>(index)];
    if (length < entry.info.uncompressed_size)
        return kZipMoreData;
    SZipEntryLocation location;
    uint32_t result = Locate(entry, location);
    if (result != kZipSuccess)
        return result;
    // One stream per thread, kept: its inflater is reset, not made anew.
    static thread_local CZipEntryStream stream;
    result = stream.Open(location, m_password.empty() ? nullptr : m_password.c_str(),
                         CZipByteSource::ReadAtCallback, const_cast<CZipByteSource*>(&m_source));
    if (result != kZipSuccess)
        return result;
    if (stream.Read(target, static_cast<size_t>(entry.info.uncompressed_size)) < 0)
    {
        const uint32_t failure = stream.Failure();
        stream.Close();
        return failure;
    }
    return stream.Finish();
}

CZipMount::CZipMount(std::string nativePath, std::string password)
    : m_path(std::move(nativePath)), m_password(std::move(password))
{
}

std::shared_ptr<CZipArchive> CZipMount::Current() const
{
    const Platform::SFileStatus status = Platform::GetFileStatus(m_path);
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_archive && m_archive->GetStatus().SameVersion(status))
        return m_archive;
    m_archive.reset();
    if (!status.IsRegular() || (m_failed.Exists() && m_failed.SameVersion(status)))
        return nullptr;
    m_archive = CZipArchive::Open(m_path, m_password);
    m_failed = m_archive ? Platform::SFileStatus() : status;
    return m_archive;
}
