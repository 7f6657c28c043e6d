#include "world/Sky.h"

using Graphics::Scene::CGraphicalSky;

bool CSky::Write(Archive& archive)
{
    return archive.EndLine(0) && archive.WriteString("Sky{") && archive.EndLine(+1) &&
           archive.WriteKeyBool("-Enabled", m_enabled) && CGraphicalSky::Write(archive) &&
           archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

bool CSky::Read(Archive& archive)
{
    archive.ExpectToken("Sky{");
    if (!archive.ReadKeyBool("-Enabled", m_enabled))
        throw Misc::Error::CKVOError(L"[CSky::Read] Value of -Enabled unreadable");
    CGraphicalSky::Read(archive);
    archive.ExpectToken("}");
    return true;
}
