#include "world/ManagedEntity.h"

namespace ManagedEntityReading
{

void ThrowUnreadable(const std::wstring& key)
{
    throw Misc::Error::CKVOError::Format(L"[CManagedEntity::Read] Value of %s unreadable", key.c_str());
}

void ReadText(Misc::Serialization::IArchive& archive, CTextValue& value)
{
    if (value.Read(archive))
        return;
    // Another key throws the archive's own reading error; the key with a
    // value that does not read is this reader's.
    archive.ExpectWToken(value.GetKeyText());
    ThrowUnreadable(std::wstring(value.GetKey()));
}

void ReadId(Misc::Serialization::IArchive& archive, CUuid& id)
{
    std::string text;
    if (!archive.ReadKeyString("-Id", text))
        ThrowUnreadable(L"-Id");
    // An entity read under its old id would take the place of another.
    if (!id.SetId(text))
        throw Misc::Error::CKVOError::Format(L"[CManagedEntity::Read] Invalid id:%S", text.c_str());
}

} // namespace ManagedEntityReading

template class CManagedEntityBase<Graphics::Scene::CGraphicalParticleSystem>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalAgent>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalTerrain>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalWater>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalBillboard>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalUnit>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalTrigger>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalLight>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalCamera>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalCursor>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalSky>;
template class CManagedEntityBase<Graphics::Scene::CGraphicalWaypoint>;
