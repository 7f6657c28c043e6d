#pragma once

#include "core/io/File.h"

#include <cstdio>
#include <string>

// A file on disk. The stream opens on first use (every operation opens it
// when it is not open yet); the size is taken when it opens. The path may
// use either separator and any letter case of the names on disk.
class CFileStd : public IFile
{
public:
    // mode: a C stream mode such as "rb", "wb" or "r+b".
    CFileStd(const std::wstring& path, const std::wstring& mode);
    ~CFileStd() override;

    int32_t read(void* buffer, uint32_t sizeToRead) override;
    int32_t write(const void* buffer, uint32_t sizeToWrite) override;
    bool seek(long finalPos, bool relativeMovement = false) override;
    long getSize() const override;
    long getPos() const override;
    const std::string& getFileName() const override { return m_narrowPath; }
    const wchar_t* GetFileNameW() const override { return m_path.c_str(); }
    const std::wstring& GetPath() const override { return m_path; }
    bool IsOk() const override;

private:
    bool Open() const;

    std::wstring m_path;
    std::wstring m_mode;
    std::string m_narrowPath;
    mutable long m_size = 0;
    mutable std::FILE* m_stream = nullptr;
};
