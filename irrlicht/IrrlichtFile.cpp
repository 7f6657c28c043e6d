#include "irrlicht/IrrlichtFile.h"

namespace Graphics
{

CIrrlichtFile::CIrrlichtFile(IFile* file) : m_file(file), m_name(file->getFileName().c_str())
{
    m_file->grab();
}

CIrrlichtFile::~CIrrlichtFile()
{
    m_file->drop();
}

CIrrlichtFile* CIrrlichtFile::Adopt(IFile* file)
{
    if (file == nullptr)
        return nullptr;
    auto* adapter = new CIrrlichtFile(file);
    file->drop();
    return adapter;
}

irr::s32 CIrrlichtFile::read(void* buffer, irr::u32 sizeToRead)
{
    return m_file->read(buffer, sizeToRead);
}

irr::s32 CIrrlichtFile::write(const void* buffer, irr::u32 sizeToWrite)
{
    return m_file->write(buffer, sizeToWrite);
}

bool CIrrlichtFile::seek(long finalPos, bool relativeMovement)
{
    return m_file->seek(finalPos, relativeMovement);
}

long CIrrlichtFile::getSize() const
{
    return m_file->getSize();
}

long CIrrlichtFile::getPos() const
{
    return m_file->getPos();
}

} // namespace Graphics
