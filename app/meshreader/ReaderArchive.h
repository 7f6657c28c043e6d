#pragma once

#include "app/meshreader/ReaderChannel.h"

#include <IFileArchive.h>
#include <IFileList.h>

#include <string>
#include <vector>

namespace MeshReader
{

// The reader's file system in front of all others: a file that Irrlicht's
// loader opens while it reads a model is asked of the engine, which reads
// it through its own file system (search paths, archives) or says that it
// is an image that exists (whose name is all a mesh keeps). Answers are
// kept for the model being read; the engine may tell some with the model.
class CReaderArchive : public irr::io::IFileArchive, public irr::io::IFileList
{
public:
    explicit CReaderArchive(CReaderChannel& channel) : m_channel(channel) {}

    // A new model: earlier answers are dropped.
    void Forget() { m_files.clear(); }
    // The engine's answer for a file that needs no bytes (an image that
    // exists, or no file), told before the loader asks for it.
    void Tell(const irr::io::path& name, bool present)
    {
        m_files.push_back(SFile{name, present, std::string()});
    }
    // Whether the engine could not be asked (the channel failed).
    bool Broken() const { return m_broken; }

    irr::io::IReadFile* createAndOpenFile(const irr::io::path& filename) override;
    irr::io::IReadFile* createAndOpenFile(irr::u32 index) override;
    const irr::io::IFileList* getFileList() const override { return this; }

    irr::u32 getFileCount() const override { return static_cast<irr::u32>(m_files.size()); }
    const irr::io::path& getFileName(irr::u32 index) const override;
    const irr::io::path& getFullFileName(irr::u32 index) const override { return getFileName(index); }
    irr::u32 getFileSize(irr::u32 index) const override;
    irr::u32 getFileOffset(irr::u32) const override { return 0; }
    irr::u32 getID(irr::u32 index) const override { return index; }
    bool isDirectory(irr::u32) const override { return false; }
    irr::s32 findFile(const irr::io::path& filename, bool isFolder = false) const override;
    const irr::io::path& getPath() const override { return m_noPath; }
    irr::u32 addItem(const irr::io::path&, irr::u32, irr::u32, bool, irr::u32) override { return 0; }
    void sort() override {}

private:
    struct SFile
    {
        irr::io::path name;
        bool present;
        std::string bytes;
    };
    // The index of the answer for the name, asking the engine first.
    irr::s32 Lookup(const irr::io::path& name) const;

    CReaderChannel& m_channel;
    mutable std::vector<SFile> m_files;
    mutable bool m_broken = false;
    // Where the engine's answers are read to.
    mutable std::string m_answers;
    irr::io::path m_noPath;
};

} // namespace MeshReader
