#include "graphics/scene/GraphicalCamera.h"

#include "core/foundation/Math3D.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"
#include "graphics/engine/GraphicsEngine.h"
#include "irrlicht/IrrlichtConversions.h"

#include <irrlicht.h>

#include <cmath>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

using namespace irr;

namespace
{

constexpr float kPi = 3.14159265358979323846f;

// The vector divided by its length; a vector of no length (or not a
// number) gives (0, 0, 0) rather than infinities.
CVector Normalised(const CVector& v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0f) || !std::isfinite(length))
        return CVector();
    return CVector(v.x / length, v.y / length, v.z / length);
}

CVector Cross(const CVector& a, const CVector& b)
{
    return CVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

} // namespace

CGraphicalCamera::CGraphicalCamera()
{
    SetFrameCamera(this);
}

CGraphicalCamera::CGraphicalCamera(const CGraphicalCamera& other)
    : Misc::World::ITypeId(other), Misc::Serialization::ISerializable(other), Misc::World::IEntityInterface(
                                                                                  other),
      CGraphicalEntity(other), Graphics::IFrameCamera(other), m_typeName(other.m_typeName),
      m_near(other.m_near), m_far(other.m_far), m_fovDivisor(other.m_fovDivisor),
      m_aspectRatio(other.m_aspectRatio), m_lookAt(other.m_lookAt), m_up(other.m_up),
      m_offset(other.m_offset), m_viewPort(other.m_viewPort)
{
    SetFrameCamera(this);
}

scene::ICameraSceneNode* CGraphicalCamera::GetCameraNode() const
{
    scene::ISceneNode* node = GetSceneNode();
    if (node == nullptr || node->getType() != scene::ESNT_CAMERA)
        return nullptr;
    return static_cast<scene::ICameraSceneNode*>(node);
}

void CGraphicalCamera::SetPosition(const CVector& position)
{
    SetNodePosition(position);
}

void CGraphicalCamera::SetNodePosition(const CVector& position)
{
    const CVector placed(position.x + m_offset.x, position.y + m_offset.y, position.z + m_offset.z);
    CGraphicalEntity::SetNodePosition(placed);
    if (scene::ISceneNode* node = GetSceneNode())
        node->updateAbsolutePosition();
}

void CGraphicalCamera::SetOffset(const CVector& offset)
{
    m_offset = offset;
    SetNodePosition(GetPosition());
}

void CGraphicalCamera::SetLookAt(const CVector& target)
{
    m_lookAt = target;
    if (scene::ICameraSceneNode* node = GetCameraNode())
        node->setTarget(ToIrrlicht(target));
}

void CGraphicalCamera::SetUp(const CVector& up)
{
    m_up = up;
    if (scene::ICameraSceneNode* node = GetCameraNode())
        node->setUpVector(ToIrrlicht(up));
}

void CGraphicalCamera::SetNear(float value)
{
    m_near = value;
    ApplyClipDistances(GetCameraNode());
}

void CGraphicalCamera::SetFar(float value)
{
    m_far = value;
    ApplyClipDistances(GetCameraNode());
}

void CGraphicalCamera::ApplyClipDistances(scene::ICameraSceneNode* node) const
{
    if (node == nullptr || !(m_near < m_far))
        return;
    // Each setter builds the projection again: in this order the node's
    // near stays below its far in between.
    if (m_near < node->getFarValue())
    {
        node->setNearValue(m_near);
        node->setFarValue(m_far);
    }
    else
    {
        node->setFarValue(m_far);
        node->setNearValue(m_near);
    }
}

void CGraphicalCamera::SetAspectRatio(float ratio)
{
    m_aspectRatio = ratio;
    if (scene::ICameraSceneNode* node = GetCameraNode())
        node->setAspectRatio(ratio);
}

void CGraphicalCamera::SetFOV(float divisor)
{
    m_fovDivisor = divisor;
    if (scene::ICameraSceneNode* node = GetCameraNode())
        node->setFOV(kPi / divisor);
}

void CGraphicalCamera::SetOrthogonal(float width, float height)
{
    scene::ICameraSceneNode* node = GetCameraNode();
    if (node == nullptr)
        return;
    // The node's clip distances: the last pair that made a projection.
    core::matrix4 projection;
    projection.buildProjectionMatrixOrthoLH(width, height, node->getNearValue(), node->getFarValue());
    node->setProjectionMatrix(projection, true);
}

void CGraphicalCamera::SetPerspective()
{
    scene::ICameraSceneNode* node = GetCameraNode();
    if (node == nullptr)
        return;
    core::matrix4 projection;
    projection.buildProjectionMatrixPerspectiveFovLH(kPi / m_fovDivisor, m_aspectRatio, node->getNearValue(),
                                                     node->getFarValue());
    node->setProjectionMatrix(projection, false);
}

bool CGraphicalCamera::IsOrthogonal() const
{
    scene::ICameraSceneNode* node = GetCameraNode();
    return node != nullptr && node->isOrthogonal();
}

void CGraphicalCamera::Activate()
{
    if (GetEngine() != nullptr)
        GetEngine()->SetActiveCamera(this);
}

CVector CGraphicalCamera::GetForwardDirection() const
{
    const CVector& p = GetPosition();
    return Normalised(CVector(m_lookAt.x - p.x, m_lookAt.y - p.y, m_lookAt.z - p.z));
}

CVector CGraphicalCamera::GetLeftDirection() const
{
    const CVector& p = GetPosition();
    return Normalised(Cross(CVector(m_lookAt.x - p.x, m_lookAt.y - p.y, m_lookAt.z - p.z), m_up));
}

void CGraphicalCamera::Move(const CVector& amount, const CVector& direction, float factor)
{
    const CVector step(amount.x * direction.x * factor, amount.y * direction.y * factor,
                       amount.z * direction.z * factor);
    const CVector& p = GetPosition();
    // The target first copied: SetPosition may change what p refers to.
    const CVector target(m_lookAt.x + step.x, m_lookAt.y + step.y, m_lookAt.z + step.z);
    SetPosition(CVector(p.x + step.x, p.y + step.y, p.z + step.z));
    SetLookAt(target);
}

void CGraphicalCamera::MoveForward(const CVector& amount, float factor)
{
    Move(amount, GetForwardDirection(), factor);
}

void CGraphicalCamera::StrafeLeft(const CVector& amount, float factor)
{
    Move(amount, GetLeftDirection(), factor);
}

void CGraphicalCamera::StrafeUp(const CVector& amount, float factor)
{
    Move(amount, m_up, factor);
}

void CGraphicalCamera::RotateLeft(float angle, float factor)
{
    const float turn = -angle * factor;
    const CVector rotation(m_up.x * turn, m_up.y * turn, m_up.z * turn);
    SetLookAt(RotateVector(m_lookAt, GetPosition(), rotation));
}

void CGraphicalCamera::RotateUp(float angle, float factor)
{
    const float turn = angle * factor;
    const CVector left = GetLeftDirection();
    const CVector rotation(left.x * turn, left.y * turn, left.z * turn);
    SetLookAt(RotateVector(m_lookAt, GetPosition(), rotation));
}

void CGraphicalCamera::Clear()
{
    CGraphicalEntity::Clear();
    m_typeName.SetValue(L"unknown");
    m_lookAt = CVector(0.0f, 0.0f, 0.0f);
    m_up = CVector(0.0f, 1.0f, 0.0f);
    m_near = 1.0f;
    m_far = 2000.0f;
    m_fovDivisor = 2.5f;
    m_aspectRatio = 4.0f / 3.0f;
    m_offset = CVector(0.0f, 0.0f, 0.0f);
    m_viewPort = CRect(0.0f, 0.0f, 1.0f, 1.0f);
}

namespace Field = Misc::Serialization::StoredField;

const Misc::Serialization::SStoredField<CGraphicalCamera> CGraphicalCamera::kStoredFields[] = {
    Field::Float<&CGraphicalCamera::m_near>("-Near"),
    Field::Float<&CGraphicalCamera::m_far>("-Far"),
    Field::Float<&CGraphicalCamera::m_fovDivisor>("-FOV"),
    Field::Float<&CGraphicalCamera::m_aspectRatio>("-AspectRatio", FileVersion::kCameraAspectRatio),
    Field::Object<&CGraphicalCamera::m_lookAt>(),
    Field::Object<&CGraphicalCamera::m_up>(),
    Field::Object<&CGraphicalCamera::m_offset>(FileVersion::kCameraOffset),
    Field::Object<&CGraphicalCamera::m_viewPort>(FileVersion::kCameraViewPort),
    Field::RequiredText<&CGraphicalCamera::m_typeName>(),
};

bool CGraphicalCamera::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    return true;
}

bool CGraphicalCamera::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    return true;
}

} // namespace Graphics::Scene
