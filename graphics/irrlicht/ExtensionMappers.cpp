#include "graphics/irrlicht/ExtensionMappers.h"

#include <cstring>

namespace Graphics
{

using namespace irr;

bool EndsWithExtension(const io::path& name, const io::path& extension)
{
    const u32 length = extension.size();
    if (length == 0 || name.size() < length)
        return false;
    return std::memcmp(name.c_str() + (name.size() - length), extension.c_str(), length) == 0;
}

CMeshMapper::CMeshMapper(scene::IMeshLoader* target, const io::path& extension)
    : m_target(target), m_extension(extension)
{
    m_target->grab();
}

CMeshMapper::~CMeshMapper()
{
    m_target->drop();
}

bool CMeshMapper::isALoadableFileExtension(const io::path& filename) const
{
    return EndsWithExtension(filename, m_extension);
}

scene::IAnimatedMesh* CMeshMapper::createMesh(io::IReadFile* file)
{
    return m_target->createMesh(file);
}

} // namespace Graphics
