#pragma once

#include <cstdint>
#include <string>

// File and folder work that scripts ask for. Relative paths are taken
// relative to the current directory of the moment the object was made;
// either separator and any letter case of existing names are accepted.
// Symbolic links are never followed when a folder is deleted, copied or
// walked: a link is removed or copied as a link.
class CFileOperations
{
public:
    CFileOperations();

    bool IsDirectory(const std::wstring& path) const;
    // One file; with failIfExists an existing destination is kept and the
    // copy fails.
    bool CopyFile(const std::wstring& source, const std::wstring& destination, bool failIfExists) const;
    // Creates the folder (with recursive, every missing parent too); true
    // when it exists afterwards. Windows folder attributes have no meaning
    // here and are ignored.
    bool CreatePath(const std::wstring& path, bool recursive, uint32_t attributes = 0) const;
    // Deletes the folder's files (with recursive, its sub-folders too), then
    // the folder; true when the folder was removed.
    bool DeletePath(const std::wstring& path, bool recursive) const;
    // Moves a file or folder to a destination that does not exist yet;
    // across file systems it copies and then deletes the source.
    bool MovePath(const std::wstring& source, const std::wstring& destination) const;
    // Copies a folder tree into the destination (created as needed),
    // overwriting files; true when the source folder was found and the
    // destination made. A destination inside the source is not copied into
    // itself.
    bool CopyPath(const std::wstring& source, const std::wstring& destination) const;
    // Deletes one file (not a folder).
    bool DeleteFile(const std::wstring& path) const;

    const std::wstring& GetBaseDirectory() const { return m_baseDirectory; }

private:
    // The native path: joined to the base directory when relative, cleaned,
    // existing parts matched without regard to case.
    std::string Native(const std::wstring& path) const;

    std::wstring m_baseDirectory;
};
