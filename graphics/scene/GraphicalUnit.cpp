#include "graphics/scene/GraphicalUnit.h"

#include "core/io/Archive.h"

namespace Graphics::Scene
{

bool CGraphicalUnit::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    archive.WriteKeyBool("-OctTree", m_octTree);
    return true;
}

bool CGraphicalUnit::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    // The octree option came with version 1002.
    if (archive.IsVersionAtLeast(1002))
        archive.ReadKeyBool("-OctTree", m_octTree);
    return true;
}

} // namespace Graphics::Scene
