#pragma once

#include "graphics/scene/GraphicalEntity.h"

namespace Graphics::Scene
{

// A mesh drawn as a moving water surface. The wave values are used when
// the engine makes the node; changing them later takes a new node.
class CGraphicalWater : public CGraphicalEntity
{
public:
    CGraphicalWater() = default;
    CGraphicalWater(const CGraphicalWater&) = default;
    CGraphicalWater& operator=(const CGraphicalWater&) = default;
    ~CGraphicalWater() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdWater;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdWater; }

    void SetHeight(float height) { m_height = height; }
    void SetSpeed(float speed) { m_speed = speed; }
    void SetLength(float length) { m_length = length; }
    float GetHeight() const { return m_height; }
    float GetSpeed() const { return m_speed; }
    float GetLength() const { return m_length; }

    // The base's Clear, then the default waves.
    void Clear() override;

    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOWATER"; }

private:
    // The record's own fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CGraphicalWater> kStoredFields[];

    float m_height = 2.0f;
    float m_speed = 300.0f;
    float m_length = 10.0f;
};

} // namespace Graphics::Scene
