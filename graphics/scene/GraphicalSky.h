#pragma once

#include "core/io/StoredFields.h"
#include "core/io/TextValue.h"
#include "graphics/scene/GraphicalEntity.h"

#include <cstdint>
#include <string>

namespace Graphics::Scene
{

// The sky around the scene: a box of six textures, or a dome of one. The
// engine makes its node from these values; the node always stays around
// the camera.
class CGraphicalSky : public CGraphicalEntity
{
public:
    CGraphicalSky() = default;
    CGraphicalSky(const CGraphicalSky&) = default;
    CGraphicalSky& operator=(const CGraphicalSky&) = default;
    ~CGraphicalSky() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdSky;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdSky; }

    // "dome" for exactly that text, else "box".
    void SetType(const std::wstring& type);
    const std::wstring& GetType() const { return m_type.GetValue(); }
    bool IsDome() const { return m_type.GetValue() == L"dome"; }

    void SetFront(const std::wstring& texture) { m_front = texture; }
    void SetBack(const std::wstring& texture) { m_back = texture; }
    void SetLeft(const std::wstring& texture) { m_left = texture; }
    void SetRight(const std::wstring& texture) { m_right = texture; }
    void SetTop(const std::wstring& texture) { m_top = texture; }
    void SetBottom(const std::wstring& texture) { m_bottom = texture; }
    void SetDome(const std::wstring& texture) { m_dome = texture; }
    const std::wstring& GetFront() const { return m_front; }
    const std::wstring& GetBack() const { return m_back; }
    const std::wstring& GetLeft() const { return m_left; }
    const std::wstring& GetRight() const { return m_right; }
    const std::wstring& GetTop() const { return m_top; }
    const std::wstring& GetBottom() const { return m_bottom; }
    const std::wstring& GetDome() const { return m_dome; }

    // The most vertices of a ring and rings of the dome Irrlicht draws: it
    // indexes the dome with 16 bits.
    static constexpr uint32_t kMaxDomeResolution = 255;
    // Vertices of a ring and rings of the dome.
    void SetDomeHRes(uint32_t resolution) { m_domeHRes = resolution; }
    void SetDomeVRes(uint32_t resolution) { m_domeVRes = resolution; }
    uint32_t GetDomeHRes() const { return m_domeHRes; }
    uint32_t GetDomeVRes() const { return m_domeVRes; }
    // How much of the texture's height and of the half sphere the dome
    // uses; kept from 0 to 1 (not a number gives 0).
    void SetDomePercentage(float percentage);
    void SetDomeSpherePercentage(float percentage);
    float GetDomePercentage() const { return m_domePercentage; }
    float GetDomeSpherePercentage() const { return m_domeSpherePercentage; }
    // The value kept from 0 to 1; not a number gives 0.
    static float ClampFraction(float value);

    // No textures, full percentages, resolutions 64; the type and the
    // base's settings stay.
    void Clear() override;

    // The sky saves its own lines only, none of the base's.
    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOSKY"; }

private:
    // The record's own fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CGraphicalSky> kStoredFields[];

    CTextValue m_type = BoxType();
    std::wstring m_front;
    std::wstring m_back;
    std::wstring m_left;
    std::wstring m_right;
    std::wstring m_top;
    std::wstring m_bottom;
    std::wstring m_dome;
    uint32_t m_domeHRes = 64;
    uint32_t m_domeVRes = 64;
    float m_domePercentage = 1.0f;
    float m_domeSpherePercentage = 1.0f;

    static CTextValue BoxType();
};

} // namespace Graphics::Scene
