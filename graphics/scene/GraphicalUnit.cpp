#include "graphics/scene/GraphicalUnit.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

namespace Field = Misc::Serialization::StoredField;

const Misc::Serialization::SStoredField<CGraphicalUnit> CGraphicalUnit::kStoredFields[] = {
    Field::Bool<&CGraphicalUnit::m_octTree>("-OctTree", FileVersion::kUnitOctree),
};

bool CGraphicalUnit::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    return true;
}

bool CGraphicalUnit::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    return true;
}

} // namespace Graphics::Scene
