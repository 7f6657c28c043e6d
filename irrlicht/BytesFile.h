#pragma once

#include <IReadFile.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace Graphics
{

// A read file of bytes held in memory under a name.
class CBytesFile : public irr::io::IReadFile
{
public:
    CBytesFile(const irr::io::path& name, std::string bytes) : m_name(name), m_bytes(std::move(bytes)) {}

    irr::s32 read(void* buffer, irr::u32 sizeToRead) override
    {
        const size_t count = std::min<size_t>(sizeToRead, m_bytes.size() - m_position);
        std::memcpy(buffer, m_bytes.data() + m_position, count);
        m_position += count;
        return static_cast<irr::s32>(count);
    }
    bool seek(long finalPos, bool relativeMovement) override
    {
        const long target = relativeMovement ? static_cast<long>(m_position) + finalPos : finalPos;
        if (target < 0 || static_cast<size_t>(target) > m_bytes.size())
            return false;
        m_position = static_cast<size_t>(target);
        return true;
    }
    long getSize() const override { return static_cast<long>(m_bytes.size()); }
    long getPos() const override { return static_cast<long>(m_position); }
    const irr::io::path& getFileName() const override { return m_name; }

private:
    irr::io::path m_name;
    std::string m_bytes;
    size_t m_position = 0;
};

} // namespace Graphics
