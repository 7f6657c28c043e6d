#pragma once

// The file objects of the virtual file system, reference-counted with a
// count of 1 at creation: release one with drop() (or delete it while the
// count is 1). The graphics engine and the GUI hand a file to Irrlicht
// through the adapter in irrlicht/IrrlichtFile.h.

#include <cstdint>
#include <string>

class IFile
{
public:
    IFile() = default;
    virtual ~IFile() = default;
    IFile(const IFile&) = delete;
    IFile& operator=(const IFile&) = delete;

    // One more owner.
    void grab() const { ++m_references; }
    // One owner less; the last one deletes the file. True when it did.
    bool drop() const
    {
        if (--m_references == 0)
        {
            delete this;
            return true;
        }
        return false;
    }

    // The bytes read (or written), 0 when none could be.
    virtual int32_t read(void* buffer, uint32_t sizeToRead) = 0;
    virtual int32_t write(const void* buffer, uint32_t sizeToWrite) = 0;
    // To a position from the start, or by an offset from the current one.
    virtual bool seek(long finalPos, bool relativeMovement = false) = 0;
    virtual long getSize() const = 0;
    virtual long getPos() const = 0;
    // The path in UTF-8.
    virtual const std::string& getFileName() const = 0;

    // The path as wide text ("/" separators); for a file in a zip archive
    // the archive's path, "/" and the entry's name.
    virtual const wchar_t* GetFileNameW() const = 0;
    virtual const std::wstring& GetPath() const = 0;
    // True while the file can be read (or written).
    virtual bool IsOk() const = 0;

private:
    mutable int32_t m_references = 1;
};
