#include "core/io/FileFinder.h"

#include "core/foundation/PathUtilities.h"
#include "core/io/FileSystem.h"
#include "core/io/ZipArchive.h"
#include "platform/FileStatus.h"

namespace
{

std::wstring Joined(const std::wstring& folder, const std::wstring& name)
{
    std::wstring path = folder + L"/" + name;
    CleanPath(path, L"/");
    return path;
}

} // namespace

CFileFinder::CFileFinder(CFileSystem* fileSystem, const std::wstring& pattern) : m_fileSystem(fileSystem)
{
    Reset(pattern);
}

void CFileFinder::Reset(const std::wstring& pattern)
{
    m_pattern = pattern;
    CleanPath(m_pattern, L"/");
    const size_t lastSeparator = m_pattern.rfind(L'/');
    m_folderPart =
        lastSeparator == std::wstring::npos ? std::wstring() : m_pattern.substr(0, lastSeparator + 1);
    m_namePart = lastSeparator == std::wstring::npos ? m_pattern : m_pattern.substr(lastSeparator + 1);
    Restart();
}

void CFileFinder::Restart()
{
    m_started = false;
    m_entries.clear();
    m_entryIndex = 0;
    m_entryOpened = false;
    m_listing.clear();
    m_listingPos = 0;
    m_current.reset();
    m_skipPath.reset();
}

void CFileFinder::TakeCached(const std::optional<SFindRecord>& cached)
{
    m_current = cached;
    if (cached)
        m_skipPath = cached->fullPath;
}

bool CFileFinder::FindNext()
{
    return Walk();
}

bool CFileFinder::Walk()
{
    if (!m_fileSystem || m_namePart.empty())
    {
        m_current.reset();
        return false;
    }
    if (!m_started)
    {
        m_entries = m_fileSystem->Snapshot();
        m_started = true;
        m_entryIndex = 0;
        m_entryOpened = false;
    }
    while (m_entryIndex < m_entries.size())
    {
        const std::shared_ptr<const CSearchEntry> entry = m_entries[m_entryIndex];
        const bool found = entry->isArchive ? LookUpInArchive(entry) : NextInFolder(*entry);
        if (found)
        {
            // The first match already came from the search cache.
            if (m_skipPath && m_current->fullPath == *m_skipPath)
            {
                m_skipPath.reset();
                continue;
            }
            m_current->entry = entry;
            return true;
        }
        ++m_entryIndex;
        m_entryOpened = false;
        m_listing.clear();
    }
    m_current.reset();
    return false;
}

bool CFileFinder::NextInFolder(const CSearchEntry& entry)
{
    if (!m_entryOpened)
    {
        m_entryOpened = true;
        m_listingPos = 0;
        m_listing.clear();
        m_listedFolder = DiskPath::Resolve(entry.path + L"/" + m_folderPart);
        if (DiskPath::HasWildcards(m_namePart))
        {
            m_listing = DiskPath::ListFolder(m_listedFolder, m_namePart);
        }
        else
        {
            // One name: look it up directly instead of listing the folder.
            const std::string native =
                DiskPath::ResolveNative(m_listedFolder + "/" + ToNativePath(m_namePart));
            const Platform::SFileStatus status = Platform::GetFileStatus(native);
            if (status.Exists())
            {
                DiskPath::SEntry item;
                item.name = FromNativePath(native.substr(native.rfind('/') + 1));
                item.isDirectory = status.IsFolder();
                m_listing.push_back(std::move(item));
            }
        }
    }
    if (m_listingPos >= m_listing.size())
        return false;
    const DiskPath::SEntry& item = m_listing[m_listingPos++];
    SFindRecord record;
    record.name = item.name;
    record.fullPath = Joined(FromNativePath(m_listedFolder), item.name);
    record.isDirectory = item.isDirectory;
    m_current = std::move(record);
    return true;
}

bool CFileFinder::LookUpInArchive(const std::shared_ptr<const CSearchEntry>& entry)
{
    // An archive yields at most one match per search.
    if (m_entryOpened)
        return false;
    m_entryOpened = true;
    const std::shared_ptr<CZipArchive> archive = entry->mount ? entry->mount->Current() : nullptr;
    if (!archive)
        return false;
    int index = archive->FindPattern(m_pattern, false);
    if (index < 0 && entry->retryFileNames)
        index = archive->FindPattern(m_pattern, true);
    ZipEntryRecord found;
    if (index < 0 || !archive->GetRecord(index, found))
        return false;
    SFindRecord record;
    record.name = ExtractFilenameComponents(found.name, false, false, true, true);
    record.fullPath = Joined(entry->path, found.name);
    record.isDirectory = (found.attributes & kZipAttributeDirectory) != 0;
    record.zipRecord = std::move(found);
    m_current = std::move(record);
    return true;
}

std::wstring CFileFinder::GetFilePath() const
{
    return m_current ? m_current->fullPath : std::wstring();
}

const std::wstring& CFileFinder::GetFileName() const
{
    static const std::wstring none;
    return m_current ? m_current->name : none;
}

bool CFileFinder::IsDirectory() const
{
    return m_current && m_current->isDirectory;
}

bool CFileFinder::IsDotEntry() const
{
    return m_current && !m_current->name.empty() && m_current->name.back() == L'.';
}

bool CFileFinder::IsInArchive() const
{
    return m_current && m_current->entry && m_current->entry->isArchive;
}
