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

bool CGraphicalWater::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    archive.WriteKeyFloat("-Height", m_height);
    archive.WriteKeyFloat("-Speed", m_speed);
    archive.WriteKeyFloat("-Length", m_length);
    return true;
}

bool CGraphicalWater::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    archive.ReadKeyFloat("-Height", m_height);
    archive.ReadKeyFloat("-Speed", m_speed);
    archive.ReadKeyFloat("-Length", m_length);
    return true;
}

} // namespace Graphics::Scene
