#pragma once

// A read-only file in memory for the readers under test. Its bytes live in
// an allocation of exactly their size, so the sanitizer sees any read past
// them. Like a file on disk it can be positioned past its end (reads there
// give nothing).

#include "core/io/File.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

class CMemoryFile : public IFile
{
public:
    explicit CMemoryFile(const std::string& bytes)
        : m_size(static_cast<long>(bytes.size())), m_bytes(new char[bytes.size() + (bytes.empty() ? 1 : 0)])
    {
        std::memcpy(m_bytes.get(), bytes.data(), bytes.size());
    }

    int32_t read(void* buffer, uint32_t sizeToRead) override
    {
        if (buffer == nullptr || m_position >= m_size)
            return 0;
        const long count = std::min<long>(sizeToRead, m_size - m_position);
        std::memcpy(buffer, m_bytes.get() + m_position, static_cast<size_t>(count));
        m_position += count;
        return static_cast<int32_t>(count);
    }
    int32_t write(const void*, uint32_t) override { return 0; }
    bool seek(long finalPos, bool relativeMovement = false) override
    {
        const long target = relativeMovement ? m_position + finalPos : finalPos;
        if (target < 0)
            return false;
        m_position = target;
        return true;
    }
    long getSize() const override { return m_size; }
    long getPos() const override { return m_position; }
    const std::string& getFileName() const override { return m_name; }
    const wchar_t* GetFileNameW() const override { return m_path.c_str(); }
    const std::wstring& GetPath() const override { return m_path; }
    bool IsOk() const override { return true; }

private:
    long m_size;
    std::unique_ptr<char[]> m_bytes;
    long m_position = 0;
    std::string m_name = "memory";
    std::wstring m_path = L"memory";
};
