#include "graphics/scene/GraphicalSky.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"

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

bool CGraphicalSky::Write(Misc::Serialization::IArchive& archive)
{
    m_type.Write(archive);
    archive.WriteKeyWString("-Dome", m_dome);
    archive.WriteKeyULong("-DomeHRes", m_domeHRes);
    archive.WriteKeyULong("-DomeVRes", m_domeVRes);
    archive.WriteKeyFloat("-DomePercentage", m_domePercentage);
    archive.WriteKeyFloat("-DomeSpherePercentage", m_domeSpherePercentage);
    archive.WriteKeyWString("-Front", m_front);
    archive.WriteKeyWString("-Back", m_back);
    archive.WriteKeyWString("-Left", m_left);
    archive.WriteKeyWString("-Right", m_right);
    archive.WriteKeyWString("-Top", m_top);
    archive.WriteKeyWString("-Bottom", m_bottom);
    return true;
}

bool CGraphicalSky::Read(Misc::Serialization::IArchive& archive)
{
    // Older skies are boxes.
    if (archive.IsVersionAtLeast(FileVersion::kSkyDomes))
    {
        std::wstring type;
        archive.ExpectWToken(m_type.GetKeyText());
        archive.ReadWString(type);
        m_type.SetValue(type);
        archive.ReadKeyWString("-Dome", m_dome);
        archive.ReadKeyULong("-DomeHRes", m_domeHRes);
        archive.ReadKeyULong("-DomeVRes", m_domeVRes);
        // As saved: the percentages are kept in range when the node is made.
        archive.ReadKeyFloat("-DomePercentage", m_domePercentage);
        archive.ReadKeyFloat("-DomeSpherePercentage", m_domeSpherePercentage);
    }
    else
    {
        m_type.SetValue(L"box");
    }
    archive.ReadKeyWString("-Front", m_front);
    archive.ReadKeyWString("-Back", m_back);
    archive.ReadKeyWString("-Left", m_left);
    archive.ReadKeyWString("-Right", m_right);
    archive.ReadKeyWString("-Top", m_top);
    archive.ReadKeyWString("-Bottom", m_bottom);
    return true;
}

} // namespace Graphics::Scene
