#include "core/io/VersionRecord.h"

#include "core/io/Archive.h"

namespace Misc::Serialization
{

bool CVersionRecord::Write(IArchive& archive)
{
    archive.EndLine(0);
    archive.WriteString("Version{");
    archive.EndLine(+1);
    archive.WriteString("-Version");
    archive.WriteSpaces(1);
    archive.WriteULong(m_version);
    archive.EndLine(0);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return true;
}

bool CVersionRecord::Read(IArchive& archive)
{
    archive.ExpectToken("Version{");
    // A version that is not a number is reported, not taken for 0 (which
    // would open every version gate).
    const bool read = archive.ReadKeyUInt("-Version", m_version);
    archive.ExpectToken("}");
    return read;
}

} // namespace Misc::Serialization
