#pragma once

#include "core/foundation/Vector.h"
#include "core/io/Serializable.h"
#include "core/world/TypeId.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CDataBag;
class CPhysicalEntity;
class CSonicEntity;

namespace Graphics::Scene
{
class CGraphicalEntity;
}

namespace Misc::World
{

// One triangle of an entity's mesh: three corners.
using CTriangle = std::array<CVector, 3>;

// Uniform access to an entity of a world: identity, placement, script,
// flags, data and its graphical, physical and sonic parts. Each part
// implements the operations that concern it; the world's managed entity
// joins the parts and implements all of them by forwarding. The interface
// derives virtually from ITypeId and ISerializable, so that an entity built
// from several parts has one kind and one persistence face.
//
// The order of the operations is part of the interface: keep it.
class IEntityInterface : public virtual ITypeId, public virtual Misc::Serialization::ISerializable
{
public:
    ~IEntityInterface() override = default;

    // The id as the text form of a UUID. The pointer stays the same until
    // the id changes (SetId, NewId) or the entity goes.
    virtual const char* GetId() const = 0;
    virtual void SetId(const char* id) = 0;
    // A freshly generated id.
    virtual void NewId() = 0;
    virtual const std::wstring& GetName() const = 0;
    virtual void SetName(const std::wstring& name) = 0;
    virtual const CVector& GetPosition() const = 0;
    virtual void SetPosition(const CVector& position) = 0;
    // Degrees about x, y and z.
    virtual const CVector& GetRotation() const = 0;
    virtual void SetRotation(const CVector& rotation) = 0;
    // The rotation applied to (0, 0, 1) and to (0, 1, 0); a camera answers
    // its own up vector.
    virtual const CVector& GetFrontVector() const = 0;
    virtual const CVector& GetUpVector() const = 0;
    virtual const CVector& GetScale() const = 0;
    virtual void SetScale(const CVector& scale) = 0;
    // The physics body's force and torque, (0, 0, 0) without a body.
    virtual void GetForce(CVector& force) = 0;
    virtual void GetTorque(CVector& torque) = 0;
    // The body's velocity, read into the stored one first when there is a
    // body; the stored velocity otherwise.
    virtual void GetVelocity(CVector& velocity) = 0;
    virtual const std::wstring& GetScript() const = 0;
    virtual void SetScript(const std::wstring& script) = 0;
    virtual void SetFlags(uint32_t flags) = 0;
    virtual uint32_t GetFlags() const = 0;
    // Both entries give the same data bag.
    virtual CDataBag& GetData() = 0;
    virtual const CDataBag& GetData() const = 0;
    // Back to the defaults.
    virtual void Clear() = 0;
    // Applies the stored state to every attached part again.
    virtual bool UpdateParts() = 0;
    // The parts; null where the entity has none.
    virtual CPhysicalEntity* GetPhysicalPart() = 0;
    virtual Graphics::Scene::CGraphicalEntity* GetGraphicalPart() = 0;
    virtual CSonicEntity* GetSonicPart() = 0;
    // The mesh as triangles and as a vertex cloud, in the body's frame
    // (scaled, not turned or moved), with the size and the centre of the box
    // around them; the count of triangles or vertices. Triangles whose
    // doubled area, squared, is not above the epsilon are left out.
    virtual uint32_t GetFaces(std::vector<CTriangle>& faces, CVector& collisionSize, CVector& collisionCentre,
                              float epsilon, uint32_t detailLevel) = 0;
    virtual uint32_t GetVertices(std::vector<CVector>& vertices, CVector& collisionSize,
                                 CVector& collisionCentre) = 0;
    // The box of the entity's mesh in world space.
    virtual void GetBoundingBox(CVector& minimum, CVector& maximum) = 0;
    // The scene node's absolute values, or the stored ones without a node.
    virtual void GetAbsolutePosition(CVector& position) = 0;
    virtual void GetAbsoluteRotation(CVector& rotation) = 0;
    virtual void GetAbsoluteScale(CVector& scale) = 0;
};

} // namespace Misc::World
