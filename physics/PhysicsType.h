#pragma once

#include "core/io/Serializable.h"

#include <string>

// A named surface material: the frictions and the elasticity of one
// material group of the physics world. The material of two touching bodies
// is the average of their types. Saved as a "CollisionData{" block.
class CPhysicsType : public Misc::Serialization::ISerializable
{
public:
    // The blank record: no group, no name, 0.6, 0.5, 0.
    CPhysicsType() = default;
    CPhysicsType(int32_t groupId, const std::wstring& name, float staticFriction, float dynamicFriction,
                 float elasticity);
    CPhysicsType(const CPhysicsType&) = default;
    CPhysicsType& operator=(const CPhysicsType&) = default;
    virtual ~CPhysicsType() = default;

    int32_t GetGroupId() const { return m_groupId; }
    const std::wstring& GetName() const { return m_name; }
    float GetStaticFriction() const { return m_staticFriction; }
    float GetDynamicFriction() const { return m_dynamicFriction; }
    float GetElasticity() const { return m_elasticity; }

    bool Write(Misc::Serialization::IArchive& archive) override;
    // False, with nothing read, when no "CollisionData{" block is next.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOPHYSICSTYPE"; }

private:
    int32_t m_groupId = -1;
    std::wstring m_name;
    float m_staticFriction = 0.6f;
    float m_dynamicFriction = 0.5f;
    float m_elasticity = 0.0f;
};
