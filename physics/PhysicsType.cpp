#include "physics/PhysicsType.h"

#include "core/io/Archive.h"

CPhysicsType::CPhysicsType(int32_t groupId, const std::wstring& name, float staticFriction,
                           float dynamicFriction, float elasticity)
    : m_groupId(groupId), m_name(name), m_staticFriction(staticFriction), m_dynamicFriction(dynamicFriction),
      m_elasticity(elasticity)
{
}

bool CPhysicsType::Write(Misc::Serialization::IArchive& archive)
{
    return archive.WriteString("CollisionData{") && archive.EndLine(+1) &&
           archive.WriteKeyWString("-Name", m_name) &&
           archive.WriteKeyFloat("-StaticFriction", m_staticFriction) &&
           archive.WriteKeyFloat("-DynamicFriction", m_dynamicFriction) &&
           archive.WriteKeyFloat("-Elasticity", m_elasticity) && archive.EndLine(-1) &&
           archive.WriteString("}") && archive.EndLine(0);
}

bool CPhysicsType::Read(Misc::Serialization::IArchive& archive)
{
    if (!archive.TestToken("CollisionData{"))
        return false;
    const bool read = archive.ReadKeyWString("-Name", m_name) &&
                      archive.ReadKeyFloat("-StaticFriction", m_staticFriction) &&
                      archive.ReadKeyFloat("-DynamicFriction", m_dynamicFriction) &&
                      archive.ReadKeyFloat("-Elasticity", m_elasticity);
    archive.ExpectToken("}");
    return read;
}
