#include "irrlicht/FileStandIn.h"

#include "irrlicht/BytesFile.h"
#include "irrlicht/WithdrawableFile.h"

#include <IFileArchive.h>
#include <IFileList.h>
#include <IFileSystem.h>
#include <IReadFile.h>

#include <algorithm>
#include <cstring>

namespace Graphics
{

using namespace irr;

namespace
{

// An archive of one file.
class CStandInArchive : public io::IFileArchive, public io::IFileList
{
public:
    CStandInArchive(const std::string& name, std::string bytes)
        : m_name(name.c_str()), m_bytes(std::move(bytes))
    {
    }

    io::IReadFile* createAndOpenFile(const io::path& filename) override
    {
        return filename == m_name ? createAndOpenFile(0u) : nullptr;
    }
    io::IReadFile* createAndOpenFile(u32 index) override
    {
        if (index != 0)
            return nullptr;
        // Wrapped like every file the engine hands Irrlicht: should a
        // loader try it as an image, the gate's refusal ends there.
        io::IReadFile* file = new CBytesFile(m_name, m_bytes);
        io::IReadFile* wrapped = CWithdrawableFile::Wrap(file);
        file->drop();
        return wrapped;
    }
    const io::IFileList* getFileList() const override { return this; }

    u32 getFileCount() const override { return 1; }
    const io::path& getFileName(u32) const override { return m_name; }
    const io::path& getFullFileName(u32) const override { return m_name; }
    u32 getFileSize(u32) const override { return static_cast<u32>(m_bytes.size()); }
    u32 getFileOffset(u32) const override { return 0; }
    u32 getID(u32) const override { return 0; }
    bool isDirectory(u32) const override { return false; }
    s32 findFile(const io::path& filename, bool isFolder) const override
    {
        return !isFolder && filename == m_name ? 0 : -1;
    }
    const io::path& getPath() const override { return m_noPath; }
    u32 addItem(const io::path&, u32, u32, bool, u32) override { return 0; }
    void sort() override {}

private:
    io::path m_name;
    std::string m_bytes;
    io::path m_noPath;
};

} // namespace

CFileStandIn::CFileStandIn(io::IFileSystem* files, const std::string& name, std::string bytes)
    : m_files(files), m_archive(new CStandInArchive(name, std::move(bytes)))
{
    // The file system takes over a reference, and drops it on removal.
    m_archive->grab();
    if (m_files == nullptr || !m_files->addFileArchive(m_archive))
    {
        m_archive->drop();
        m_files = nullptr;
        return;
    }
    // Irrlicht asks its archives in order: this one first.
    const u32 last = m_files->getFileArchiveCount() - 1;
    m_files->moveFileArchive(last, -static_cast<s32>(last));
}

CFileStandIn::~CFileStandIn()
{
    if (m_files != nullptr)
        m_files->removeFileArchive(m_archive);
    m_archive->drop();
}

} // namespace Graphics
