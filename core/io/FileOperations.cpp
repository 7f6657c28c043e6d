#include "core/io/FileOperations.h"

#include "core/foundation/PathUtilities.h"
#include "core/io/DiskPath.h"
#include "platform/FileStatus.h"
#include "platform/PathChanges.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace
{

bool IsRealFolder(const std::string& native)
{
    return Platform::GetLinkStatus(native).IsFolder();
}

bool Exists(const std::string& native)
{
    return Platform::GetLinkStatus(native).Exists();
}

// Copies the file's bytes over the destination; a link at the destination
// is replaced, not written through.
bool CopyFileOver(const std::string& source, const std::string& destination)
{
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(destination, error)))
        fs::remove(destination, error);
    return fs::copy_file(source, destination, fs::copy_options::overwrite_existing, error) && !error;
}

// Copies one file or link (a link as a link), replacing the destination.
bool CopyEntry(const std::string& source, const std::string& destination)
{
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(source, error)))
        return CopyFileOver(source, destination);
    fs::remove(destination, error);
    fs::copy_symlink(source, destination, error);
    return !error;
}

bool CopyTree(const std::string& source, const std::string& destination, uint64_t skipDevice,
              uint64_t skipInode)
{
    std::error_code error;
    fs::create_directories(destination, error);
    if (!IsRealFolder(destination))
        return false;
    bool ok = true;
    for (const DiskPath::SEntry& item : DiskPath::ListFolder(source, L"*.*"))
    {
        const std::string from = source + "/" + item.nativeName;
        const std::string to = destination + "/" + item.nativeName;
        if (item.isDirectory && !item.isSymlink)
        {
            const Platform::SFileStatus info = Platform::GetLinkStatus(from);
            if (info.Exists() && info.device == skipDevice && info.inode == skipInode)
                continue; // the destination itself, inside the source
            ok = CopyTree(from, to, skipDevice, skipInode) && ok;
        }
        else
        {
            ok = CopyEntry(from, to) && ok;
        }
    }
    return ok;
}

// Deletes the folder's files (with recursive, its sub-folders too), then the
// folder. Works on the names as the disk has them: a name is never read as
// a path again, so "..\x" stays a name inside the folder.
bool DeleteTree(const std::string& native, bool recursive)
{
    for (const DiskPath::SEntry& item : DiskPath::ListFolder(native, L"*.*"))
    {
        const std::string child = native + "/" + item.nativeName;
        if (item.isDirectory && !item.isSymlink)
        {
            if (recursive)
                DeleteTree(child, true);
        }
        else
        {
            Platform::RemoveFile(child);
        }
    }
    return Platform::RemoveFolder(native);
}

} // namespace

CFileOperations::CFileOperations()
{
    std::error_code error;
    m_baseDirectory = FromNativePath(fs::current_path(error).string());
    CleanPath(m_baseDirectory, L"/");
}

std::string CFileOperations::Native(const std::wstring& path) const
{
    // A NUL would end the name early and name another file: such a path
    // names nothing ("" is no file for any system call).
    if (path.find(L'\0') != std::wstring::npos)
        return std::string();
    std::wstring full = path;
    if (!full.empty() && full[0] != L'/' && full[0] != L'\\')
        full = m_baseDirectory + L"/" + full;
    CleanPath(full, L"/");
    return DiskPath::Resolve(full);
}

bool CFileOperations::IsDirectory(const std::wstring& path) const
{
    if (path.empty())
        return false;
    return Platform::GetFileStatus(Native(path)).IsFolder();
}

bool CFileOperations::CopyFile(const std::wstring& source, const std::wstring& destination,
                               bool failIfExists) const
{
    if (source.empty() || destination.empty())
        return false;
    const std::string from = Native(source);
    const std::string to = Native(destination);
    const Platform::SFileStatus info = Platform::GetFileStatus(from);
    if (!info.Exists() || info.IsFolder())
        return false;
    if (failIfExists && Exists(to))
        return false;
    return CopyFileOver(from, to);
}

bool CFileOperations::CreatePath(const std::wstring& path, bool recursive, uint32_t) const
{
    if (path.empty())
        return false;
    const std::string native = Native(path);
    std::error_code error;
    if (recursive)
        fs::create_directories(native, error);
    else
        fs::create_directory(native, error);
    return IsDirectory(path);
}

bool CFileOperations::DeletePath(const std::wstring& path, bool recursive) const
{
    if (path.empty())
        return false;
    const std::string native = Native(path);
    const Platform::SFileStatus info = Platform::GetLinkStatus(native);
    // A link to a folder is removed as a link; what it points to stays.
    if (info.kind == Platform::EFileKind::Link)
        return Platform::RemoveFile(native);
    return info.IsFolder() && DeleteTree(native, recursive);
}

bool CFileOperations::MovePath(const std::wstring& source, const std::wstring& destination) const
{
    if (source.empty() || destination.empty())
        return false;
    const std::string from = Native(source);
    const std::string to = Native(destination);
    if (!Exists(from))
        return false;
    // Like Windows: an existing destination is never replaced.
    const Platform::EMoveResult moved = Platform::MoveNoReplace(from, to);
    if (moved != Platform::EMoveResult::CrossDevice)
        return moved == Platform::EMoveResult::Moved;

    // Another file system: copy (links as links), then delete the source.
    std::error_code error;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error)
    {
        fs::remove_all(to, error);
        return false;
    }
    fs::remove_all(from, error);
    return !error;
}

bool CFileOperations::CopyPath(const std::wstring& source, const std::wstring& destination) const
{
    if (source.empty() || destination.empty())
        return false;
    const std::string from = Native(source);
    const std::string to = Native(destination);
    if (!IsRealFolder(from))
        return false;
    std::error_code error;
    fs::create_directories(to, error);
    const Platform::SFileStatus info = Platform::GetLinkStatus(to);
    if (!info.IsFolder())
        return false;
    CopyTree(from, to, info.device, info.inode);
    return true;
}

bool CFileOperations::DeleteFile(const std::wstring& path) const
{
    if (path.empty())
        return false;
    const std::string native = Native(path);
    const Platform::SFileStatus info = Platform::GetLinkStatus(native);
    if (!info.Exists() || info.IsFolder())
        return false;
    return Platform::RemoveFile(native);
}
