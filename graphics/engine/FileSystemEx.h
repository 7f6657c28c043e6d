#pragma once

#include <IFileArchive.h>
#include <IFileList.h>

#include <string>
#include <unordered_map>
#include <vector>

class CFileSystem;

namespace Graphics
{

// The engine's virtual file system as an archive of Irrlicht's file system.
// Irrlicht asks its archives before the disk, so every file it opens for
// reading by name (textures, meshes, fonts, XML) is found the way the
// engine finds files: on disk, through the search paths and in mounted zip
// archives, with the fall-back to the bare file name. Writing stays with
// Irrlicht's own file system, at the path relative to the current folder.
//
// The archive is its own file list. The list cannot enumerate a virtual
// file system; it holds the files that lookups have found so far, so that
// the index a lookup returns stays valid.
//
// Nothing thrown below reaches Irrlicht: a failed lookup is a missing file.
class CFileSystemEx : public irr::io::IFileArchive, public irr::io::IFileList
{
public:
    // The file system is not owned and must outlive the archive.
    explicit CFileSystemEx(CFileSystem* fileSystem);

    // The file of that name (UTF-8), opened through the engine's file
    // system, or null.
    irr::io::IReadFile* createAndOpenFile(const irr::io::path& filename) override;
    // A file that a lookup found, by its index in the list.
    irr::io::IReadFile* createAndOpenFile(irr::u32 index) override;
    const irr::io::IFileList* getFileList() const override { return this; }

    irr::u32 getFileCount() const override;
    const irr::io::path& getFileName(irr::u32 index) const override;
    const irr::io::path& getFullFileName(irr::u32 index) const override;
    irr::u32 getFileSize(irr::u32 index) const override;
    irr::u32 getFileOffset(irr::u32 index) const override;
    irr::u32 getID(irr::u32 index) const override;
    bool isDirectory(irr::u32 index) const override;
    // Looks the name up as a pattern over the engine's file system (without
    // changing the current folder): the index of the first match when it is
    // a file (a folder with isFolder), else -1.
    irr::s32 findFile(const irr::io::path& filename, bool isFolder = false) const override;
    const irr::io::path& getPath() const override { return m_path; }
    // The list is filled by lookups only.
    irr::u32 addItem(const irr::io::path& fullPath, irr::u32 offset, irr::u32 size, bool isDirectory,
                     irr::u32 id = 0) override;
    void sort() override {}

private:
    struct SFound
    {
        irr::io::path name;
        irr::io::path fullName;
        bool isDirectory = false;
    };

    irr::io::IReadFile* Open(const std::string& name) const;

    CFileSystem* m_fileSystem;
    irr::io::path m_path;
    irr::io::path m_empty;
    mutable std::vector<SFound> m_found;
    // Full name of a found file or folder -> its index.
    mutable std::unordered_map<std::string, irr::s32> m_index;
};

} // namespace Graphics
