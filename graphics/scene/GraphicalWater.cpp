#include "graphics/scene/GraphicalWater.h"

#include "core/io/Archive.h"

namespace Graphics::Scene
{

void CGraphicalWater::Clear()
{
    CGraphicalEntity::Clear();
    m_height = 2.0f;
    m_speed = 300.0f;
    m_length = 10.0f;
}

namespace Field = Misc::Serialization::StoredField;

const Misc::Serialization::SStoredField<CGraphicalWater> CGraphicalWater::kStoredFields[] = {
    Field::Float<&CGraphicalWater::m_height>("-Height"),
    Field::Float<&CGraphicalWater::m_speed>("-Speed"),
    Field::Float<&CGraphicalWater::m_length>("-Length"),
};

bool CGraphicalWater::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    return true;
}

bool CGraphicalWater::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    return true;
}

} // namespace Graphics::Scene
