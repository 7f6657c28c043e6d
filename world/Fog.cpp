#include "world/Fog.h"

#include "core/foundation/KVOError.h"
#include "core/io/Archive.h"

namespace Field = Misc::Serialization::StoredField;

const Misc::Serialization::SStoredField<CFog> CFog::kStoredFields[] = {
    Field::Float<&CFog::m_start>("-Start"),
    Field::Float<&CFog::m_end>("-End"),
    Field::Object<&CFog::m_color>("-Color"),
};

bool CFog::Write(Misc::Serialization::IArchive& archive)
{
    return archive.EndLine(0) && archive.WriteString("Fog{") && archive.EndLine(+1) &&
           Misc::Serialization::WriteFields(archive, *this, kStoredFields) && archive.EndLine(-1) &&
           archive.WriteString("}") && archive.EndLine(0);
}

bool CFog::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken("Fog{");
    Misc::Serialization::ReadRequiredFields(
        archive, *this, kStoredFields,
        [](const char* key)
        { throw Misc::Error::CKVOError::Format(L"[CFog::Read] Value of %S unreadable", key); });
    archive.ExpectToken("}");
    return true;
}
