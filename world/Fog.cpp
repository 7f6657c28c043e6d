#include "world/Fog.h"

#include "core/foundation/KVOError.h"
#include "core/io/Archive.h"

namespace
{

void Require(bool read, const wchar_t* key)
{
    if (!read)
        throw Misc::Error::CKVOError::Format(L"[CFog::Read] Value of %s unreadable", key);
}

} // namespace

bool CFog::Write(Misc::Serialization::IArchive& archive)
{
    return archive.EndLine(0) && archive.WriteString("Fog{") && archive.EndLine(+1) &&
           archive.WriteKeyFloat("-Start", m_start) && archive.WriteKeyFloat("-End", m_end) &&
           m_color.Write(archive) && archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

bool CFog::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken("Fog{");
    Require(archive.ReadKeyFloat("-Start", m_start), L"-Start");
    Require(archive.ReadKeyFloat("-End", m_end), L"-End");
    Require(m_color.Read(archive), L"-Color");
    archive.ExpectToken("}");
    return true;
}
