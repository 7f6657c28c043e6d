#include "world/navigation/WaypointConnection.h"

#include "core/foundation/KVOError.h"
#include "core/io/Archive.h"

namespace
{

void Require(bool read, const wchar_t* key)
{
    if (!read)
        throw Misc::Error::CKVOError::Format(L"[CWaypointConnection::Read] Value of %s unreadable", key);
}

} // namespace

bool CWaypointConnection::Write(Misc::Serialization::IArchive& archive)
{
    return archive.WriteString("Connection{") && archive.EndLine(+1) && m_id.Write(archive) &&
           archive.WriteKeyString("-Waypoint", m_waypoint) && archive.WriteKeyFloat("-Cost", m_cost) &&
           archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

bool CWaypointConnection::Read(Misc::Serialization::IArchive& archive)
{
    if (archive.GetString() != "Connection{")
        return false;
    std::string id;
    Require(archive.ReadKeyString("-Id", id), L"-Id");
    if (!m_id.SetId(id))
        throw Misc::Error::CKVOError::Format(L"[CWaypointConnection::Read] Invalid id:%S", id.c_str());
    Require(archive.ReadKeyString("-Waypoint", m_waypoint), L"-Waypoint");
    Require(archive.ReadKeyFloat("-Cost", m_cost), L"-Cost");
    archive.ExpectToken("}");
    return true;
}
