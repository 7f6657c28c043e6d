#include "graphics/scene/GraphicalSky.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

float CGraphicalSky::ClampFraction(float value)
{
    if (!(value > 0.0f))
        return 0.0f;
    return value > 1.0f ? 1.0f : value;
}

CTextValue CGraphicalSky::BoxType()
{
    CTextValue type(L"-Type");
    type.SetValue(L"box");
    return type;
}

void CGraphicalSky::SetType(const std::wstring& type)
{
    m_type.SetValue(type == L"dome" ? L"dome" : L"box");
}

void CGraphicalSky::SetDomePercentage(float percentage)
{
    m_domePercentage = ClampFraction(percentage);
}

void CGraphicalSky::SetDomeSpherePercentage(float percentage)
{
    m_domeSpherePercentage = ClampFraction(percentage);
}

void CGraphicalSky::Clear()
{
    for (std::wstring* texture : {&m_front, &m_back, &m_left, &m_right, &m_top, &m_bottom, &m_dome})
        texture->clear();
    m_domePercentage = 1.0f;
    m_domeSpherePercentage = 1.0f;
    m_domeHRes = 64;
    m_domeVRes = 64;
}

namespace Field = Misc::Serialization::StoredField;

// Older skies are boxes. The percentages are read as saved: they are kept
// in range when the node is made.
const Misc::Serialization::SStoredField<CGraphicalSky> CGraphicalSky::kStoredFields[] = {
    Field::WithOlder(Field::RequiredText<&CGraphicalSky::m_type>(FileVersion::kSkyDomes),
                     [](Misc::Serialization::IArchive&, CGraphicalSky& sky) { sky.m_type.SetValue(L"box"); }),
    Field::WideText<&CGraphicalSky::m_dome>("-Dome", FileVersion::kSkyDomes),
    Field::Unsigned<&CGraphicalSky::m_domeHRes>("-DomeHRes", FileVersion::kSkyDomes),
    Field::Unsigned<&CGraphicalSky::m_domeVRes>("-DomeVRes", FileVersion::kSkyDomes),
    Field::Float<&CGraphicalSky::m_domePercentage>("-DomePercentage", FileVersion::kSkyDomes),
    Field::Float<&CGraphicalSky::m_domeSpherePercentage>("-DomeSpherePercentage", FileVersion::kSkyDomes),
    Field::WideText<&CGraphicalSky::m_front>("-Front"),
    Field::WideText<&CGraphicalSky::m_back>("-Back"),
    Field::WideText<&CGraphicalSky::m_left>("-Left"),
    Field::WideText<&CGraphicalSky::m_right>("-Right"),
    Field::WideText<&CGraphicalSky::m_top>("-Top"),
    Field::WideText<&CGraphicalSky::m_bottom>("-Bottom"),
};

bool CGraphicalSky::Write(Misc::Serialization::IArchive& archive)
{
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    return true;
}

bool CGraphicalSky::Read(Misc::Serialization::IArchive& archive)
{
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    return true;
}

} // namespace Graphics::Scene
