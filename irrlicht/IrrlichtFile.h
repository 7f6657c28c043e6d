#pragma once

// The engine's files where they cross into Irrlicht: mesh, image, shader,
// font and layout loading, image writing and the file-system bridge hand
// Irrlicht an adapter, never the file itself.

#include "core/io/File.h"

#include <IReadFile.h>
#include <IWriteFile.h>

namespace Graphics
{

// An engine file as Irrlicht's read and write file. Every call goes through
// to the file; the name is the file's UTF-8 path as it was when the adapter
// was made. The adapter is reference-counted as Irrlicht's objects are (a
// count of 1 at creation, released with drop()) and holds one reference to
// the file until it goes.
class CIrrlichtFile : public irr::io::IReadFile, public irr::io::IWriteFile
{
public:
    // Takes a reference of its own to the file (not null).
    explicit CIrrlichtFile(IFile* file);
    ~CIrrlichtFile() override;
    CIrrlichtFile(const CIrrlichtFile&) = delete;
    CIrrlichtFile& operator=(const CIrrlichtFile&) = delete;

    // The file in an adapter that takes over the caller's reference to it;
    // null for null.
    static CIrrlichtFile* Adopt(IFile* file);

    IFile* GetFile() const { return m_file; }

    irr::s32 read(void* buffer, irr::u32 sizeToRead) override;
    irr::s32 write(const void* buffer, irr::u32 sizeToWrite) override;
    bool seek(long finalPos, bool relativeMovement = false) override;
    long getSize() const override;
    long getPos() const override;
    const irr::io::path& getFileName() const override { return m_name; }

private:
    IFile* m_file;
    irr::io::path m_name;
};

} // namespace Graphics
