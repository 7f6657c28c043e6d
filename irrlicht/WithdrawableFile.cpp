#include "irrlicht/WithdrawableFile.h"

#include <cstring>

namespace Graphics
{

using namespace irr;

CWithdrawableFile::CWithdrawableFile(io::IReadFile* file) : m_file(file), m_withdrawn(file == nullptr)
{
    if (m_file != nullptr)
        m_file->grab();
}

CWithdrawableFile::~CWithdrawableFile()
{
    if (m_file != nullptr)
        m_file->drop();
}

CWithdrawableFile* CWithdrawableFile::Wrap(io::IReadFile* file)
{
    if (file == nullptr)
        return nullptr;
    if (auto* wrapped = dynamic_cast<CWithdrawableFile*>(file))
    {
        wrapped->grab();
        return wrapped;
    }
    return new CWithdrawableFile(file);
}

s32 CWithdrawableFile::read(void* buffer, u32 sizeToRead)
{
    if (!m_withdrawn)
        return m_file->read(buffer, sizeToRead);
    // Irrlicht's format checks compare what they read without looking at
    // the count: zeros match no format's signature.
    if (buffer != nullptr)
        std::memset(buffer, 0, sizeToRead);
    return 0;
}

bool CWithdrawableFile::seek(long finalPos, bool relativeMovement)
{
    return !m_withdrawn && m_file->seek(finalPos, relativeMovement);
}

long CWithdrawableFile::getSize() const
{
    return m_withdrawn ? 0 : m_file->getSize();
}

long CWithdrawableFile::getPos() const
{
    return m_withdrawn ? 0 : m_file->getPos();
}

const io::path& CWithdrawableFile::getFileName() const
{
    return m_withdrawn ? m_noName : m_file->getFileName();
}

} // namespace Graphics
