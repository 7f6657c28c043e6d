#include "graphics/engine/FileSystemEx.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "core/io/FileFinder.h"
#include "core/io/FileSystem.h"
#include "irrlicht/IrrlichtFile.h"
#include "irrlicht/WithdrawableFile.h"

#include <exception>
#include <limits>

namespace Graphics
{

using namespace irr;

CFileSystemEx::CFileSystemEx(CFileSystem* fileSystem) : m_fileSystem(fileSystem) {}

io::IReadFile* CFileSystemEx::Open(const std::string& name) const
{
    if (name.empty() || m_fileSystem == nullptr)
        return nullptr;
    try
    {
        // The current folder becomes the base folder first, and a name that
        // is not found is tried once more as its bare file name: a texture
        // path stored in a mesh on another machine still finds the file.
        // Wrapped, so that an image the engine's gate refuses reaches no
        // other image loader.
        CIrrlichtFile* file =
            CIrrlichtFile::Adopt(m_fileSystem->OpenFile(Misc::Text::Utf8ToWide(name), true, true));
        if (file == nullptr)
            return nullptr;
        io::IReadFile* wrapped = CWithdrawableFile::Wrap(file);
        file->drop();
        return wrapped;
    }
    catch (const Misc::Error::CKVOError&)
    {
    }
    catch (const std::exception&)
    {
    }
    return nullptr;
}

io::IReadFile* CFileSystemEx::createAndOpenFile(const io::path& filename)
{
    return Open(std::string(filename.c_str(), filename.size()));
}

io::IReadFile* CFileSystemEx::createAndOpenFile(u32 index)
{
    if (index >= m_found.size() || m_found[index].isDirectory)
        return nullptr;
    const io::path& full = m_found[index].fullName;
    return Open(std::string(full.c_str(), full.size()));
}

u32 CFileSystemEx::getFileCount() const
{
    return static_cast<u32>(m_found.size());
}

const io::path& CFileSystemEx::getFileName(u32 index) const
{
    return index < m_found.size() ? m_found[index].name : m_empty;
}

const io::path& CFileSystemEx::getFullFileName(u32 index) const
{
    return index < m_found.size() ? m_found[index].fullName : m_empty;
}

u32 CFileSystemEx::getFileSize(u32) const
{
    // Sizes are known only once a file is open.
    return 0;
}

u32 CFileSystemEx::getFileOffset(u32) const
{
    return 0;
}

u32 CFileSystemEx::getID(u32 index) const
{
    return index;
}

bool CFileSystemEx::isDirectory(u32 index) const
{
    return index < m_found.size() && m_found[index].isDirectory;
}

s32 CFileSystemEx::findFile(const io::path& filename, bool isFolder) const
{
    if (filename.empty() || m_fileSystem == nullptr)
        return -1;
    try
    {
        CFileFinder finder(m_fileSystem,
                           Misc::Text::Utf8ToWide(std::string(filename.c_str(), filename.size())));
        if (!m_fileSystem->FindFirst(finder, false) || finder.IsDirectory() != isFolder)
            return -1;
        const std::string fullName = Misc::Text::WideToUtf8(finder.GetFilePath());
        const auto known = m_index.find(fullName);
        if (known != m_index.end())
            return known->second;
        if (m_found.size() >= static_cast<size_t>(std::numeric_limits<s32>::max()))
            return -1;
        SFound found;
        found.name = Misc::Text::WideToUtf8(finder.GetFileName()).c_str();
        found.fullName = fullName.c_str();
        found.isDirectory = isFolder;
        m_found.push_back(found);
        const s32 index = static_cast<s32>(m_found.size() - 1);
        m_index.emplace(fullName, index);
        return index;
    }
    catch (const Misc::Error::CKVOError&)
    {
    }
    catch (const std::exception&)
    {
    }
    return -1;
}

u32 CFileSystemEx::addItem(const io::path&, u32, u32, bool, u32)
{
    return 0;
}

} // namespace Graphics
