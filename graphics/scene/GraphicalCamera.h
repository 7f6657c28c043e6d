#pragma once

#include "core/io/KeyedField.h"
#include "core/io/StoredFields.h"
#include "core/io/TextValue.h"
#include "graphics/engine/FrameEntity.h"
#include "graphics/scene/GraphicalEntity.h"

#include <string>

namespace Graphics::Scene
{

// A camera: look-at target, up vector, clip planes, field of view, aspect
// ratio, an offset added to its position, a viewport and a free type name.
// It moves and turns itself on request and switches its node between
// perspective and orthogonal projection. The engine makes the node and
// keeps track of the active camera; the frame draws through it.
class CGraphicalCamera : public CGraphicalEntity, public Graphics::IFrameCamera
{
public:
    CGraphicalCamera();
    CGraphicalCamera(const CGraphicalCamera& other);
    CGraphicalCamera& operator=(const CGraphicalCamera& other) = default;
    ~CGraphicalCamera() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdCamera;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdCamera; }

    // The camera's own node step.
    void SetPosition(const CVector& position) override;
    // The camera's own up field.
    const CVector& GetUpVector() const override { return m_up; }
    // Places the node again; the entity does not move.
    void SetOffset(const CVector& offset);
    const CVector& GetOffset() const { return m_offset; }
    void SetLookAt(const CVector& target);
    const CVector& GetLookAt() const { return m_lookAt; }
    void SetUp(const CVector& up);
    // The clip distances are stored as given; the node's projection takes
    // them only as a pair whose near lies below its far (see
    // ApplyClipDistances), so the order of the two calls does not matter.
    void SetNear(float value);
    float GetNear() const { return m_near; }
    void SetFar(float value);
    float GetFar() const { return m_far; }
    // Gives the node the stored clip distances when the near lies below the
    // far; otherwise the node keeps its last projection.
    void ApplyClipDistances(irr::scene::ICameraSceneNode* node) const;
    void SetAspectRatio(float ratio);
    float GetAspectRatio() const { return m_aspectRatio; }
    // The node's field of view is pi / divisor.
    void SetFOV(float divisor);
    float GetFOV() const { return m_fovDivisor; }
    // Left, top, right, bottom as fractions of the screen; stored only.
    void SetViewPort(const CRect& viewPort) { m_viewPort = viewPort; }
    const CRect& GetViewPortRect() const { return m_viewPort; }
    void SetTypeName(const std::wstring& name) { m_typeName.SetValue(name); }
    const std::wstring& GetCameraTypeName() const { return m_typeName.GetValue(); }

    // Left-handed orthographic or perspective projection on the node; the
    // node alone keeps the choice. Nothing without a node.
    void SetOrthogonal(float width, float height);
    void SetPerspective();
    bool IsOrthogonal() const;
    // Makes this the engine's active camera.
    void Activate();

    // Normalised L - p, and normalised (L - p) x up; (0, 0, 0) when the
    // vector to normalise has no length.
    CVector GetForwardDirection() const;
    CVector GetLeftDirection() const;
    // Moves camera and target together by amount x direction x factor:
    // the entity moves (SetPosition), with every part it has.
    void MoveForward(const CVector& amount, float factor);
    void StrafeLeft(const CVector& amount, float factor);
    void StrafeUp(const CVector& amount, float factor);
    // Turns the target about the camera.
    void RotateLeft(float angle, float factor);
    void RotateUp(float angle, float factor);

    void Clear() override;

    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOCAMERA"; }

    // What the frame's camera pass asks.
    irr::scene::ICameraSceneNode* GetCameraNode() const override;
    CRect GetViewPort() const override { return m_viewPort; }
    std::string GetCameraId() const override { return GetId(); }

protected:
    // The node is placed at position + offset.
    void SetNodePosition(const CVector& position) override;

private:
    void Move(const CVector& amount, const CVector& direction, float factor);

    // The record's own fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CGraphicalCamera> kStoredFields[];

    CTextValue m_typeName{L"-Type"};
    float m_near = 1.0f;
    float m_far = 2000.0f;
    float m_fovDivisor = 2.5f;
    float m_aspectRatio = 4.0f / 3.0f;
    CVectorField m_lookAt{0.0f, 0.0f, 0.0f, "-LookAt"};
    CVectorField m_up{0.0f, 1.0f, 0.0f, "-Up"};
    CVectorField m_offset{0.0f, 0.0f, 0.0f, "-Offset"};
    CRectField m_viewPort{0.0f, 0.0f, 1.0f, 1.0f, "-ViewPort"};
};

} // namespace Graphics::Scene
