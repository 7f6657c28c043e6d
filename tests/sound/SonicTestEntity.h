#pragma once

// A unit joined with the real sonic part: the shared test joiner's entity,
// handing placement changes to its sonic part first, as the world's managed
// entities do. Its velocity is set by the test, as a physics body would
// report it.

#include "graphics/scene/GraphicalUnit.h"
#include "sound/SonicEntity.h"

#include "tests/support/JoinedEntity.h"

class CSonicTestEntity : public CJoinedEntity<Graphics::Scene::CGraphicalUnit>, public CSonicEntity
{
public:
    using CJoined = CJoinedEntity<Graphics::Scene::CGraphicalUnit>;

    void SetPosition(const CVector& position) override
    {
        CSonicEntity::SetPosition(position);
        CJoined::SetPosition(position);
    }
    void SetRotation(const CVector& rotation) override
    {
        CSonicEntity::SetRotation(rotation);
        CJoined::SetRotation(rotation);
    }
    void GetVelocity(CVector& velocity) override { velocity = m_velocity; }
    void SetFlags(uint32_t flags) override { CJoined::SetFlags(flags); }
    void Clear() override
    {
        CSonicEntity::Clear();
        CJoined::Clear();
    }
    bool UpdateParts() override
    {
        CSonicEntity::UpdateParts();
        return CJoined::UpdateParts();
    }
    CSonicEntity* GetSonicPart() override { return this; }
    // The sonic part alone is saved.
    bool Write(Misc::Serialization::IArchive& archive) override { return CSonicEntity::Write(archive); }
    bool Read(Misc::Serialization::IArchive& archive) override { return CSonicEntity::Read(archive); }
    const char* GetTypeName() const override { return CSonicEntity::GetTypeName(); }

    // Moves the entity the way a body does: the stored placement changes and
    // the sonic part follows at its engine's next step.
    void MoveBy(const CVector& position, const CVector& velocity)
    {
        MoveByBody(position, GetRotation());
        m_velocity = velocity;
        CSonicEntity::RegisterWithEngine();
    }

    CVector m_velocity;
};
