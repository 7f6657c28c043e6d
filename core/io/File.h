#pragma once

// The file objects of the virtual file system. They are Irrlicht read and
// write files at the same time (so the graphics engine hands them to
// Irrlicht unchanged), reference-counted with a count of 1 at creation:
// release one with drop() (or delete it while the count is 1).

#include <IReadFile.h>
#include <IWriteFile.h>

#include <string>

class IFile : public irr::io::IReadFile, public irr::io::IWriteFile
{
public:
    // Reading: read, seek, getSize, getPos, getFileName (the path in UTF-8).
    // Writing: write, seek, getPos, getFileName.
    // Declared once more here so calls through IFile are not ambiguous.
    bool seek(long finalPos, bool relativeMovement = false) override = 0;
    long getPos() const override = 0;
    const irr::io::path& getFileName() const override = 0;

    // The path as wide text ("/" separators); for a file in a zip archive
    // the archive's path, "/" and the entry's name.
    virtual const wchar_t* GetFileNameW() const = 0;
    virtual const std::wstring& GetPath() const = 0;
    // True while the file can be read (or written).
    virtual bool IsOk() const = 0;
};
