#include "world/Sky.h"

using Graphics::Scene::CGraphicalSky;

namespace Field = Misc::Serialization::StoredField;

const Misc::Serialization::SStoredField<CSky> CSky::kStoredFields[] = {
    Field::Bool<&CSky::m_enabled>("-Enabled"),
    {"-Type", 0, [](Archive& archive, CSky& sky, const char*) { return sky.CGraphicalSky::Write(archive); },
     [](Archive& archive, CSky& sky, const char*) { return sky.CGraphicalSky::Read(archive); }},
};

bool CSky::Write(Archive& archive)
{
    return archive.EndLine(0) && archive.WriteString("Sky{") && archive.EndLine(+1) &&
           Misc::Serialization::WriteFields(archive, *this, kStoredFields) && archive.EndLine(-1) &&
           archive.WriteString("}") && archive.EndLine(0);
}

bool CSky::Read(Archive& archive)
{
    archive.ExpectToken("Sky{");
    Misc::Serialization::ReadRequiredFields(
        archive, *this, kStoredFields,
        [](const char* key)
        { throw Misc::Error::CKVOError::Format(L"[CSky::Read] Value of %S unreadable", key); });
    archive.ExpectToken("}");
    return true;
}
