#include "graphics/scene/GraphicalUnit.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"

namespace FileVersion = Misc::Serialization::FileVersion;

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
    if (archive.IsVersionAtLeast(FileVersion::kUnitOctree))
        archive.ReadKeyBool("-OctTree", m_octTree);
    return true;
}

} // namespace Graphics::Scene
