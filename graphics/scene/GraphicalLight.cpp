#include "graphics/scene/GraphicalLight.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"
#include "graphics/engine/GraphicsEngine.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

void CGraphicalLight::CLightType::SetFromText(const std::wstring& text)
{
    if (text == L"directional")
        m_value = kDirectional;
    else if (text == L"point")
        m_value = kPoint;
    else if (text == L"spot")
        m_value = kSpot;
    else
        m_value = kNull;
}

std::wstring CGraphicalLight::CLightType::GetText() const
{
    switch (m_value)
    {
    case kPoint:
        return L"point";
    case kSpot:
        return L"spot";
    case kDirectional:
        return L"directional";
    default:
        return L"null";
    }
}

bool CGraphicalLight::CLightType::Write(Misc::Serialization::IArchive& archive)
{
    return archive.WriteKeyWString("-Type", GetText());
}

bool CGraphicalLight::CLightType::Read(Misc::Serialization::IArchive& archive)
{
    std::wstring text;
    const bool read = archive.ReadKeyWString("-Type", text);
    SetFromText(text);
    return read;
}

void CGraphicalLight::ReapplyNode()
{
    if (GetSceneNode() != nullptr && GetEngine() != nullptr && !IsUpdatingNode())
        GetEngine()->Add(this, nullptr, std::string());
}

void CGraphicalLight::SetType(const CLightType& type)
{
    m_type = type;
    ReapplyNode();
}

void CGraphicalLight::SetSpotParams(const CVector& params)
{
    m_spotParams = params;
    ReapplyNode();
}

void CGraphicalLight::SetShadows(bool shadows)
{
    m_shadows = shadows;
    irr::scene::ISceneNode* node = GetSceneNode();
    if (node != nullptr && node->getType() == irr::scene::ESNT_LIGHT)
        static_cast<irr::scene::ILightSceneNode*>(node)->getLightData().CastShadows = shadows;
}

void CGraphicalLight::SetScale(const CVector& scale)
{
    SetNodeScale(scale);
}

void CGraphicalLight::SetNodeScale(const CVector& scale)
{
    CGraphicalEntity::SetNodeScale(scale);
    // The frame hands every moved entity its scale again: only a new radius
    // needs the light applied again.
    irr::scene::ISceneNode* node = GetSceneNode();
    const float radius = std::max({std::fabs(scale.x), std::fabs(scale.y), std::fabs(scale.z)});
    if (node != nullptr && node->getType() == irr::scene::ESNT_LIGHT &&
        static_cast<irr::scene::ILightSceneNode*>(node)->getLightData().Radius == radius)
        return;
    ReapplyNode();
}

void CGraphicalLight::Clear()
{
    CGraphicalEntity::Clear();
    SetType(CLightType(CLightType::kPoint));
}

namespace Field = Misc::Serialization::StoredField;

// Lights of files without the shadow switch cast shadows.
const Misc::Serialization::SStoredField<CGraphicalLight> CGraphicalLight::kStoredFields[] = {
    Field::Object<&CGraphicalLight::m_type>(),
    Field::Object<&CGraphicalLight::m_attenuation>(FileVersion::kLightCones),
    Field::Object<&CGraphicalLight::m_spotParams>(FileVersion::kLightCones),
    Field::DefaultedBool<&CGraphicalLight::m_shadows, true>("-Shadows", FileVersion::kShadowSwitches),
};

bool CGraphicalLight::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    return true;
}

bool CGraphicalLight::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    return true;
}

} // namespace Graphics::Scene
