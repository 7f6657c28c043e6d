#pragma once

#include "core/io/File.h"

#include <memory>
#include <string>

// The file a save writes through. Its bytes go to a temporary file beside
// the target, which takes the target's permissions; Commit checks that
// every write and the close succeeded, flushes the file to the disk and
// only then renames it over the target (and flushes the folder). A name
// that matches an existing file only by letter case saves that file. A save
// file destroyed without a successful Commit removes the temporary file and
// leaves the target as it was; temporary files that a killed save left in
// the folder go with the next save there. A path with a NUL, or a target
// that exists and is no regular file (a symbolic link, a folder, a device,
// a FIFO) or is not writable, is never opened: IsOk is false, Commit fails,
// and a refused target is logged.
class CSaveFile : public IFile
{
public:
    explicit CSaveFile(const std::wstring& path);
    ~CSaveFile() override;

    // Puts the written file in place; false when anything failed.
    bool Commit();

    int32_t read(void*, uint32_t) override { return 0; }
    int32_t write(const void* buffer, uint32_t sizeToWrite) override;
    bool seek(long finalPos, bool relativeMovement = false) override;
    long getSize() const override { return m_size; }
    long getPos() const override { return m_position; }
    // The target's name, not the temporary one.
    const std::string& getFileName() const override { return m_narrowPath; }
    const wchar_t* GetFileNameW() const override { return m_path.c_str(); }
    const std::wstring& GetPath() const override { return m_path; }
    bool IsOk() const override { return m_fd >= 0 && !m_failed; }

private:
    // Whether the target may be replaced; logs why not.
    bool AcceptsTarget() const;
    void Discard();

    std::wstring m_path;
    std::string m_narrowPath;
    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    long m_size = 0;
    long m_position = 0;
    bool m_failed = false;
};

// A file object released with drop() when its owner goes.
struct CDropFile
{
    void operator()(IFile* file) const
    {
        if (file)
            file->drop();
    }
};
using CFilePtr = std::unique_ptr<IFile, CDropFile>;

// The file an archive opens by path: a CFileStd ("rb") for reading, a
// CSaveFile for writing. Get() is null when the file cannot be opened.
class CArchiveFile
{
public:
    CArchiveFile(const std::wstring& path, bool write);

    IFile* Get() const { return m_file.get(); }

    // Ends the archive's use of the file and returns whether the archive
    // succeeded. A save is put in place only when the archive did not fail
    // and no exception is leaving the writer (its file is then incomplete);
    // otherwise the target stays as it was.
    bool Finish(bool failed);

private:
    CFilePtr m_file;
    CSaveFile* m_save = nullptr;
    int m_uncaughtAtStart;
};
