#pragma once

#include "core/io/KeyedField.h"
#include "core/io/StoredFields.h"
#include "graphics/scene/GraphicalEntity.h"

#include <cstdint>
#include <string>

namespace Graphics::Scene
{

// A dynamic light of the scene: point, spot or directional, with spot-cone
// parameters, attenuation and a shadow switch. The engine builds its light
// node from these values; a change of a value the node was built from has
// the engine apply the values again.
class CGraphicalLight : public CGraphicalEntity
{
public:
    // The light's type as a small saved record: 0 none ("null"), 1 point,
    // 2 spot, 3 directional.
    class CLightType : public Misc::Serialization::ISerializable
    {
    public:
        static constexpr uint32_t kNull = 0;
        static constexpr uint32_t kPoint = 1;
        static constexpr uint32_t kSpot = 2;
        static constexpr uint32_t kDirectional = 3;

        explicit CLightType(uint32_t value = kPoint) : m_value(value) {}
        CLightType(const CLightType&) = default;
        CLightType& operator=(const CLightType&) = default;
        virtual ~CLightType() = default;

        uint32_t GetValue() const { return m_value; }
        void SetValue(uint32_t value) { m_value = value; }
        // Exact, case-sensitive: "point", "spot", "directional"; anything
        // else is type 0.
        void SetFromText(const std::wstring& text);
        // "null", "point", "spot" or "directional" ("null" for other values).
        std::wstring GetText() const;

        // The line "-Type" and the text.
        bool Write(Misc::Serialization::IArchive& archive) override;
        bool Read(Misc::Serialization::IArchive& archive) override;
        const char* GetTypeName() const override { return "KVOLIGHTTYPE"; }

    private:
        uint32_t m_value;
    };

    CGraphicalLight() = default;
    CGraphicalLight(const CGraphicalLight&) = default;
    CGraphicalLight& operator=(const CGraphicalLight&) = default;
    ~CGraphicalLight() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdLight;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdLight; }

    void SetType(const CLightType& type);
    const CLightType& GetType() const { return m_type; }
    // Inner cone, outer cone and falloff of a spot light.
    void SetSpotParams(const CVector& params);
    const CVector& GetSpotParams() const { return m_spotParams; }
    // Stored; the node takes it when the engine builds or re-applies it.
    void SetAttenuation(const CVector& attenuation) { m_attenuation = attenuation; }
    const CVector& GetAttenuation() const { return m_attenuation; }
    void SetShadows(bool shadows);
    bool GetShadows() const { return m_shadows; }

    // The base's Clear, then a point light.
    void Clear() override;

    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOLIGHT"; }

    // The kind's own node step.
    void SetScale(const CVector& scale) override;

protected:
    // The node's radius follows the scale: the engine applies it again.
    void SetNodeScale(const CVector& scale) override;

private:
    // Has the engine apply the light's values to its node again.
    void ReapplyNode();

    // The record's own fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CGraphicalLight> kStoredFields[];

    CLightType m_type;
    CVectorField m_spotParams{25.0f, 45.0f, 2.0f, "-SpotParams"};
    CVectorField m_attenuation{1.0f, 0.0f, 0.0f, "-Attenuation"};
    bool m_shadows = true;
};

} // namespace Graphics::Scene
