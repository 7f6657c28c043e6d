#pragma once

#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Vector.h"
#include "core/io/StoredFields.h"
#include "core/io/TextValue.h"
#include "core/world/EngineLink.h"
#include "core/world/EntityInterface.h"
#include "graphics/engine/FrameEntity.h"
#include "graphics/scene/Materials.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace irr
{
namespace video
{
class IVideoDriver;
} // namespace video
namespace scene
{
class ISceneManager;
class ISceneNode;
class IMesh;
class IAnimatedMesh;
class IAnimatedMeshSceneNode;
} // namespace scene
} // namespace irr

namespace Graphics
{
class CGraphicsEngine;
class CGraphicalEntityAnimationCallback;
} // namespace Graphics

namespace Graphics::Scene
{

// The graphical part of a scene entity: what it looks like (model file,
// render options, materials) and the Irrlicht objects the graphics engine
// made for it. Every setter stores its value first and applies it to the
// scene node only while the node exists; UpdateNode applies everything
// again once a node is made. Saved files hold the stored values only.
//
// The engine builds, rebuilds and removes the node (CGraphicsEngine::Add,
// Remove); the entity never makes one itself. The entity keeps a reference
// on its node, so that a node the scene let go of (a scene reset) is never
// touched after it is freed; the engine builds a new one on the next Add.
//
// The entity's id, name, flags, position, rotation and scale belong to the
// entity that joins the parts (the world's managed entity): this class
// reads them through the entity interface, and the joining entity's
// setters hand them on to every part. So the graphical part never calls
// the interface's setters itself: bringing a node up to date (the frame's
// updates, the engine's Add and Update) goes through the node-only steps
// below, which reach no other part of the entity.
//
// The entity is linked to the engine that built its node: whichever of the
// two goes first, the other keeps no pointer to it. An engine going down
// takes the entity's node, meshes and device objects with it.
//
// An entity never moves in memory once an engine knows it: hold entities
// in node-stable storage (std::map, std::unique_ptr), never in a
// std::vector or another container that relocates its elements (see
// core/world/EntityStorage.h). A copy is a new entity with the settings,
// unattached.
class CGraphicalEntity : public virtual Misc::World::IEntityInterface, public Graphics::IFrameEntity
{
public:
    CGraphicalEntity();
    // A copy has the settings but no engine, node, mesh or callback.
    CGraphicalEntity(const CGraphicalEntity& other);
    CGraphicalEntity& operator=(const CGraphicalEntity& other);
    CGraphicalEntity(CGraphicalEntity&&) = delete;
    CGraphicalEntity& operator=(CGraphicalEntity&&) = delete;
    // Leaves the engine; the node stays in the scene.
    ~CGraphicalEntity() override;

    // Own operations.

    // The interface's position, rotation and scale onto the node, through
    // the node-only steps. The frame calls it for the entities entered by
    // RegisterWithEngine.
    void UpdateTransformation() override;
    // Applies every stored setting to the node (the render options, the
    // id, visibility, flags, placement and the materials in use) through
    // the node-only steps and the own setters; false without a node.
    virtual bool UpdateNode();
    // The render flags below are applied by ApplyRenderOptions.
    virtual void SetSolid(bool solid);
    virtual bool SetGouraud(bool gouraud);
    virtual void SetFogEnabled(bool enabled);
    virtual void SetLightingEnabled(bool enabled);
    virtual void SetVisible(bool visible);
    // Texture layer 0 to 3 of the material; a name of a render target puts
    // the target's texture there. Another layer throws "[CGraphicalEntity::
    // SetMaterialTexture] Invalid texture layer:%u".
    virtual void SetMaterialTexture(const std::wstring& name, uint32_t layer, int32_t material);
    virtual void SetMaterialAmbientColor(const CColor& color, int32_t material);
    virtual void SetMaterialDiffuseColor(const CColor& color, int32_t material);
    virtual void SetMaterialEmissiveColor(const CColor& color, int32_t material);
    virtual void SetMaterialSpecularColor(const CColor& color, int32_t material);
    virtual void SetMaterialShininess(float shininess, int32_t material);
    // A negative type changes nothing.
    virtual void SetMaterialType(int16_t type, int32_t material);
    virtual void SetMaterialTypeParam(float param, int32_t material);
    // The vertices of the entity's mesh, counted across its buffers. Each
    // throws "[CGraphicalEntity::getMeshData] Graphical entity does not have
    // a mesh defined [%s,%s]" without a mesh.
    virtual uint32_t GetNumberOfVertices();
    virtual void GetVertexColor(uint32_t vertex, CColor& color);
    virtual void SetVertexColor(uint32_t vertex, const CColor& color);
    virtual void GetVertexPosition(uint32_t vertex, CVector& position);
    virtual void SetVertexPosition(uint32_t vertex, const CVector& position);
    virtual void GetVertexNormal(uint32_t vertex, CVector& normal);
    virtual void SetVertexNormal(uint32_t vertex, const CVector& normal);
    virtual void GetVertexUV(uint32_t vertex, bool secondLayer, CPoint& uv);
    virtual void SetVertexUV(uint32_t vertex, bool secondLayer, const CPoint& uv);

    // The entity interface's operations that concern the graphical part.
    // The joining entity stores the value, then calls these; each is its
    // node-only step.

    // The id becomes the node's name.
    void SetId(const char* id) override;
    void SetPosition(const CVector& position) override;
    // Also recomputes the front and up vectors.
    void SetRotation(const CVector& rotation) override;
    const CVector& GetFrontVector() const override;
    const CVector& GetUpVector() const override;
    void SetScale(const CVector& scale) override;
    // The flags word becomes the node's debug-data state.
    void SetFlags(uint32_t flags) override;
    // Fog on, lighting off, visible, the direction vectors, no model, and no
    // engine, driver, scene manager, node or meshes. The render flags, the
    // materials and the animation callback stay.
    void Clear() override;
    // UpdateNode.
    bool UpdateParts() override;
    uint32_t GetFaces(std::vector<Misc::World::CTriangle>& faces, CVector& collisionSize,
                      CVector& collisionCentre, float epsilon, uint32_t detailLevel) override;
    uint32_t GetVertices(std::vector<CVector>& vertices, CVector& collisionSize,
                         CVector& collisionCentre) override;
    // Without a node nothing is written.
    void GetBoundingBox(CVector& minimum, CVector& maximum) override;
    void GetAbsolutePosition(CVector& position) override;
    void GetAbsoluteRotation(CVector& rotation) override;
    // The diagonal of the node's absolute transformation.
    void GetAbsoluteScale(CVector& scale) override;

    // Saving: the render flags, the materials and the model name.
    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOENTITY"; }

    // What the engine hands over when it builds the node. Joining an
    // engine leaves the previous one; null leaves the engine.
    void SetEngine(Graphics::CGraphicsEngine* engine);
    void SetVideoDriver(irr::video::IVideoDriver* driver) { m_videoDriver = driver; }
    void SetSceneManager(irr::scene::ISceneManager* sceneManager) { m_sceneManager = sceneManager; }
    void SetSceneNode(irr::scene::ISceneNode* node);
    // The entity holds a reference on both meshes: a mesh the cache lets go
    // of (a cleared cache, a tangent copy whose node went) stays readable.
    void SetMesh(irr::scene::IMesh* mesh);
    void SetAnimatedMesh(irr::scene::IAnimatedMesh* mesh);
    Graphics::CGraphicsEngine* GetEngine() const { return m_link.GetEngine(); }
    // The camera face the engine's frame draws through; null for every
    // kind but the camera.
    Graphics::IFrameCamera* GetFrameCamera() const { return m_frameCamera; }
    irr::scene::ISceneManager* GetSceneManager() const { return m_sceneManager; }
    irr::scene::ISceneNode* GetSceneNode() const { return m_sceneNode; }
    irr::scene::IMesh* GetMesh() const { return m_mesh; }
    irr::scene::IAnimatedMesh* GetAnimatedMesh() const { return m_animatedMesh; }

    // Takes effect when the node is made again (Refresh).
    void SetModelName(const std::wstring& name) { m_modelName.SetValue(name); }
    const std::wstring& GetModelName() const { return m_modelName.GetValue(); }
    // Stored; the next UpdateParts applies them.
    void SetZBufferEnabled(bool enabled) { m_zBuffer = enabled; }
    void SetZBufferWriteEnabled(bool enabled) { m_zBufferWrite = enabled; }
    bool IsVisible() const { return m_visible; }
    bool IsSolid() const { return m_solid; }
    bool IsGouraud() const { return m_gouraud; }
    bool IsZBufferEnabled() const { return m_zBuffer; }
    bool IsZBufferWriteEnabled() const { return m_zBufferWrite; }
    bool IsFogEnabled() const { return m_fogEnabled; }
    bool IsLightingEnabled() const { return m_lightingEnabled; }
    CMaterials& GetMaterials() { return m_materials; }
    const CMaterials& GetMaterials() const { return m_materials; }

    // The node follows the interface's placement after the next frame.
    void RegisterWithEngine();
    // Has the engine make the node again (under the node's parent).
    void Refresh();
    // The static mesh, else the animated mesh at the node's frame; null, or
    // with `required` the no-mesh error, when there is none.
    irr::scene::IMesh* GetMeshData(bool required);
    // front = rotation applied to (0, 0, 1), up = to (0, 1, 0).
    void UpdateDirectionVectors(const CVector& rotation);
    // Solid, Gouraud, z-buffer and z-write onto every material of the node.
    void ApplyRenderOptions();
    // Animates the joints of an animated-mesh node.
    void AnimateJoints() override;
    // True once a non-looping animation of the node has ended.
    bool HasAnimationEnded() const;

    // Animation, joints and attachments (GraphicalEntityAnimation.cpp).
    // Without a node each of the operations below that names itself in its
    // error throws "[CGraphicalEntity::<name>] Animated mesh not intialised
    // [%s,%s]" (name, id); on a node that is no animated mesh the setters
    // do nothing and the getters answer 0, false or nothing.

    // Loop mode; switching looping off clears the ended flag.
    void SetAnimationLooping(bool loop);
    bool GetAnimationLooping();
    // Irrlicht's animation speed, in frames per second.
    void SetAnimationFrameRate(float framesPerSecond);
    // The frame range played (not a speed).
    void SetAnimationSpeed(int32_t startFrame, int32_t endFrame);
    // The start frame, the speed and the frame count read 0 unless the mesh
    // has more than one frame.
    int32_t GetAnimationStartFrame();
    int32_t GetAnimationEndFrame();
    int32_t GetAnimationFrameRate();
    int32_t GetAnimationFrameCount();
    float GetAnimationFrame();
    // Blends into the frame over the milliseconds. A transition of 0 keeps
    // the joint mode SetJointMode chose.
    void SetAnimationFrame(float frame, uint32_t transitionMilliseconds);
    // "MD2_..." names start that MD2 animation (an unknown one throws
    // convertMD2Animation's error); other names the mesh's animation of
    // that name.
    void SetAnimation(const std::string& name);
    // The name of the joint with that index; nothing when there is none.
    std::optional<std::string> GetAnimatedMeshJointName(uint32_t index);
    // Joint values from the node's relative transformation times the
    // joint's: the translation, the rotation in degrees, the diagonal as
    // scale. A joint the mesh lacks leaves the outputs as they were.
    void GetAnimatedMeshJointPosition(const std::string& joint, CVector& position);
    void GetAnimatedMeshJointRotation(const std::string& joint, CVector& rotation);
    void GetAnimatedMeshJointScale(const std::string& joint, CVector& scale);
    void GetAnimatedMeshJointTransformation(const std::string& joint, CVector& position, CVector& rotation,
                                            CVector& scale);
    // "READ"/"read" reads the joints from the animation, "WRITE"/"write"
    // lets them be moved from outside, anything else leaves them alone;
    // then animates the joints. Nothing without an animated node.
    void SetJointMode(const std::string& mode);
    // Hangs the child's node on this entity's node, or with a joint name on
    // that joint. Without a node (or a joint name without an animated
    // mesh) throws "[CGraphicalEntity::AttachChild] Graphical entity not
    // intialised [%s,%s]"; an unknown joint "[CGraphicalEntity::AttachChild]
    // Joint not found:%s"; no child, or one that this entity hangs below
    // already, "[CGraphicalEntity::AttachChild] Invalid child entity
    // [%s,%s]" (the child's name and id). A child without a node changes
    // nothing.
    void AttachChild(CGraphicalEntity* child, const std::string& joint);
    // The name of the node's parent (an entity id or a joint's name);
    // false at the scene root. Without a node throws "[CGraphicalEntity::
    // GetAttachmentParent] Graphical entity not intialised [%s,%s]".
    bool GetAttachmentParent(std::string& parent);

protected:
    // The node-only steps: each applies the value to the node, when there
    // is one, and to what the graphical part derives from it (the
    // direction vectors), and nothing else. Kinds add their own variants:
    // the camera's offset, the light's radius, the billboard's size; a
    // kind that does overrides the matching setter above too, since the
    // base's setters run the base's steps directly.
    virtual void SetNodePosition(const CVector& position);
    // Also marks the direction vectors for recomputing.
    virtual void SetNodeRotation(const CVector& rotation);
    virtual void SetNodeScale(const CVector& scale);
    // The flags word becomes the node's debug-data state.
    virtual void SetNodeFlags(uint32_t flags);
    // True while UpdateNode runs: kinds whose steps make the node again do
    // not, since the node is being brought up to date already.
    bool IsUpdatingNode() const { return m_updatingNode; }
    // A camera names its frame face when it is made.
    void SetFrameCamera(Graphics::IFrameCamera* camera) { m_frameCamera = camera; }

private:
    // The record's own fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CGraphicalEntity> kStoredFields[];

    void CopySettings(const CGraphicalEntity& other);
    void RefreshDirections() const;
    void ReleaseAnimationCallback();
    // The engine went down: its node, meshes and device objects are no
    // longer the entity's.
    void ReleaseEngine();
    // The node as an animated-mesh node; null for another node. Without a
    // node throws "[CGraphicalEntity::<operation>] Animated mesh not
    // intialised [%s,%s]".
    irr::scene::IAnimatedMeshSceneNode* RequireAnimatedNode(const wchar_t* operation) const;

    // What every setter reads comes first, within the object's first cache
    // line: thousands of entities change every frame.
    irr::scene::ISceneNode* m_sceneNode = nullptr;
    // The direction vectors are computed when asked for after a rotation.
    mutable CVector m_directionRotation;
    mutable bool m_directionsStale = false;
    bool m_updatingNode = false;
    bool m_fogEnabled = true;
    bool m_lightingEnabled = false;
    bool m_visible = true;
    bool m_solid = true;
    bool m_gouraud = true;
    bool m_zBuffer = true;
    bool m_zBufferWrite = true;
    // The engine that built the node; the per-frame steps do not read it.
    Misc::World::CEngineLink<Graphics::CGraphicsEngine> m_link{
        this, &Misc::World::CPartRelease<&CGraphicalEntity::ReleaseEngine>::Call};
    CMaterials m_materials;
    CTextValue m_modelName{L"-Model"};
    irr::video::IVideoDriver* m_videoDriver = nullptr;
    irr::scene::ISceneManager* m_sceneManager = nullptr;
    irr::scene::IMesh* m_mesh = nullptr;
    irr::scene::IAnimatedMesh* m_animatedMesh = nullptr;
    // Reference-counted by Irrlicht: dropped, never deleted.
    Graphics::CGraphicalEntityAnimationCallback* m_animationCallback = nullptr;
    Graphics::IFrameCamera* m_frameCamera = nullptr;
    // The joint mode SetJointMode chose (Irrlicht's numbers).
    int32_t m_jointMode = 0;
    mutable CVector m_frontVector{0.0f, 0.0f, 1.0f};
    mutable CVector m_upVector{0.0f, 1.0f, 0.0f};
};

// The MD2 animation number (0 to 20) of its name ("MD2_STAND" ...
// "MD2_BOOM", exact case); another name throws "[convertMD2Animation]
// Unknown MD2 animation type:%s".
int32_t convertMD2Animation(const std::string& name);

} // namespace Graphics::Scene
