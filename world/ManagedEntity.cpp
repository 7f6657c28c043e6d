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

#define HALVANE_BUILD_MANAGED_KIND(Class) template class CManagedEntityBase<Graphics::Scene::Class>;
HALVANE_KIND_CLASSES(HALVANE_BUILD_MANAGED_KIND)
#undef HALVANE_BUILD_MANAGED_KIND
