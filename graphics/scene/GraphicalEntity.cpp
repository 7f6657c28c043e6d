#include "graphics/scene/GraphicalEntity.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/Math3D.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"
#include "graphics/engine/GraphicsEngine.h"
#include "irrlicht/IrrlichtConversions.h"
#include "graphics/scene/GraphicalEntityAnimationCallback.h"
#include "graphics/scene/MeshGeometry.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

using namespace irr;

namespace
{

// Restores a flag when the scope ends, also by an exception.
class CFlagScope
{
public:
    CFlagScope(bool& flag, bool value) : m_flag(flag), m_previous(flag) { m_flag = value; }
    ~CFlagScope() { m_flag = m_previous; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

// The size and centre of the box around the points; a box of no points
// has size and centre (0, 0, 0).
void DescribeBox(const CMeshBox& box, CVector& size, CVector& centre)
{
    if (!box.IsEmpty())
    {
        size = BoxGetExtents(box.minimum, box.maximum);
        centre = BoxGetCentre(box.minimum, box.maximum);
    }
    else
    {
        size = CVector();
        centre = CVector();
    }
}

// A colour as the node takes it, as ToIrrlichtColor gives it; fractions
// from 0 to 1, the usual case, are converted here without a call.
inline video::SColor NodeColor(const CColor& color)
{
    const auto inRange = [](float component) { return component >= 0.0f && component <= 1.0f; };
    if (!(inRange(color.r) && inRange(color.g) && inRange(color.b) && inRange(color.a)))
        return ToIrrlichtColor(color);
    const auto channel = [](float component)
    { return static_cast<u32>(static_cast<double>(component) * 255.0); };
    return video::SColor(channel(color.a), channel(color.r), channel(color.g), channel(color.b));
}

// Material i of the node when the node has it; null otherwise.
inline video::SMaterial* MaterialOf(scene::ISceneNode* node, int32_t material)
{
    if (node == nullptr || material < 0 || static_cast<u32>(material) >= node->getMaterialCount())
        return nullptr;
    return &node->getMaterial(static_cast<u32>(material));
}

} // namespace

CGraphicalEntity::CGraphicalEntity() = default;

CGraphicalEntity::CGraphicalEntity(const CGraphicalEntity& other)
    : Misc::World::ITypeId(other), Misc::Serialization::ISerializable(other),
      Misc::World::IEntityInterface(other), Graphics::IFrameEntity(other)
{
    CopySettings(other);
}

CGraphicalEntity& CGraphicalEntity::operator=(const CGraphicalEntity& other)
{
    if (this != &other)
        CopySettings(other);
    return *this;
}

void CGraphicalEntity::CopySettings(const CGraphicalEntity& other)
{
    m_solid = other.m_solid;
    m_gouraud = other.m_gouraud;
    m_zBuffer = other.m_zBuffer;
    m_zBufferWrite = other.m_zBufferWrite;
    m_fogEnabled = other.m_fogEnabled;
    m_lightingEnabled = other.m_lightingEnabled;
    m_visible = other.m_visible;
    other.RefreshDirections();
    m_frontVector = other.m_frontVector;
    m_upVector = other.m_upVector;
    m_directionsStale = false;
    m_modelName.SetValue(other.m_modelName.GetValue());
    m_materials = other.m_materials;
    // A copy is never initialised: it has no engine, node or callback.
    SetEngine(nullptr);
    SetVideoDriver(nullptr);
    SetSceneManager(nullptr);
    SetSceneNode(nullptr);
    SetAnimatedMesh(nullptr);
    SetMesh(nullptr);
    ReleaseAnimationCallback();
}

CGraphicalEntity::~CGraphicalEntity()
{
    // The frame must not call an entity that is gone.
    m_link.Detach();
    ReleaseAnimationCallback();
    SetSceneNode(nullptr);
    SetMesh(nullptr);
    SetAnimatedMesh(nullptr);
}

void CGraphicalEntity::ReleaseAnimationCallback()
{
    if (m_animationCallback == nullptr)
        return;
    // Nodes may keep the callback: it must not reach back into this entity.
    m_animationCallback->ReleaseOwner();
    m_animationCallback->drop();
    m_animationCallback = nullptr;
}

void CGraphicalEntity::UpdateTransformation()
{
    SetNodePosition(GetPosition());
    SetNodeRotation(GetRotation());
    SetNodeScale(GetScale());
}

void CGraphicalEntity::SetSolid(bool solid)
{
    m_solid = solid;
}

bool CGraphicalEntity::SetGouraud(bool gouraud)
{
    m_gouraud = gouraud;
    return m_gouraud;
}

void CGraphicalEntity::SetFogEnabled(bool enabled)
{
    m_fogEnabled = enabled;
    if (m_sceneNode == nullptr)
        return;
    for (u32 index = 0; index < m_sceneNode->getMaterialCount(); ++index)
        m_sceneNode->getMaterial(index).FogEnable = enabled;
}

void CGraphicalEntity::SetLightingEnabled(bool enabled)
{
    m_lightingEnabled = enabled;
    if (m_sceneNode == nullptr)
        return;
    for (u32 index = 0; index < m_sceneNode->getMaterialCount(); ++index)
        m_sceneNode->getMaterial(index).Lighting = enabled;
}

void CGraphicalEntity::SetVisible(bool visible)
{
    m_visible = visible;
    if (m_sceneNode != nullptr)
        m_sceneNode->setVisible(visible);
}

void CGraphicalEntity::SetMaterialTexture(const std::wstring& name, uint32_t layer, int32_t material)
{
    if (layer >= CMaterial::kTextureCount)
        throw Misc::Error::CKVOError::Format(
            L"[CGraphicalEntity::SetMaterialTexture] Invalid texture layer:%u", layer);
    CMaterial& stored = m_materials[material];
    stored.textures[layer].SetValue(name);
    Graphics::CGraphicsEngine* engine = GetEngine();
    if (engine == nullptr || m_sceneNode == nullptr || name.empty())
        return;
    video::ITexture* texture = engine->FindEntityTexture(stored.textures[layer].GetValue());
    if (video::SMaterial* target = MaterialOf(m_sceneNode, material))
        target->setTexture(layer, texture);
}

void CGraphicalEntity::SetMaterialAmbientColor(const CColor& color, int32_t material)
{
    // The components as they are; the key stays the record's own.
    static_cast<CColor&>(m_materials[material].ambient) = color;
    if (video::SMaterial* target = MaterialOf(m_sceneNode, material))
        target->AmbientColor = NodeColor(color);
}

void CGraphicalEntity::SetMaterialDiffuseColor(const CColor& color, int32_t material)
{
    // The components as they are; the key stays the record's own.
    static_cast<CColor&>(m_materials[material].diffuse) = color;
    if (video::SMaterial* target = MaterialOf(m_sceneNode, material))
        target->DiffuseColor = NodeColor(color);
}

void CGraphicalEntity::SetMaterialEmissiveColor(const CColor& color, int32_t material)
{
    // The components as they are; the key stays the record's own.
    static_cast<CColor&>(m_materials[material].emissive) = color;
    if (video::SMaterial* target = MaterialOf(m_sceneNode, material))
        target->EmissiveColor = NodeColor(color);
}

void CGraphicalEntity::SetMaterialSpecularColor(const CColor& color, int32_t material)
{
    // The components as they are; the key stays the record's own.
    static_cast<CColor&>(m_materials[material].specular) = color;
    if (video::SMaterial* target = MaterialOf(m_sceneNode, material))
        target->SpecularColor = NodeColor(color);
}

void CGraphicalEntity::SetMaterialShininess(float shininess, int32_t material)
{
    m_materials[material].shininess = shininess;
    if (video::SMaterial* target = MaterialOf(m_sceneNode, material))
        target->Shininess = shininess;
}

void CGraphicalEntity::SetMaterialType(int16_t type, int32_t material)
{
    if (type < 0)
        return;
    m_materials[material].type = type;
    if (video::SMaterial* target = MaterialOf(m_sceneNode, material))
        target->MaterialType = static_cast<video::E_MATERIAL_TYPE>(type);
}

void CGraphicalEntity::SetMaterialTypeParam(float param, int32_t material)
{
    m_materials[material].typeParam = param;
    if (video::SMaterial* target = MaterialOf(m_sceneNode, material))
        target->MaterialTypeParam = param;
}

scene::IMesh* CGraphicalEntity::GetMeshData(bool required)
{
    if (m_mesh != nullptr)
        return m_mesh;
    if (m_animatedMesh != nullptr)
    {
        s32 frame = 0;
        if (m_sceneNode != nullptr && m_sceneNode->getType() == scene::ESNT_ANIMATED_MESH)
            frame = static_cast<s32>(static_cast<scene::IAnimatedMeshSceneNode*>(m_sceneNode)->getFrameNr());
        if (scene::IMesh* mesh = m_animatedMesh->getMesh(frame, 255, -1, -1))
            return mesh;
    }
    if (!required)
        return nullptr;
    throw Misc::Error::CKVOError::Format(
        L"[CGraphicalEntity::getMeshData] Graphical entity does not have a mesh defined [%s,%s]",
        GetName().c_str(), Misc::Text::Utf8ToWide(GetId()).c_str());
}

uint32_t CGraphicalEntity::GetNumberOfVertices()
{
    return GetNumberOfMeshVertices(GetMeshData(true));
}

void CGraphicalEntity::GetVertexColor(uint32_t vertex, CColor& color)
{
    GetMeshVertexColor(GetMeshData(true), vertex, color);
}

void CGraphicalEntity::SetVertexColor(uint32_t vertex, const CColor& color)
{
    SetMeshVertexColor(GetMeshData(true), vertex, color);
}

void CGraphicalEntity::GetVertexPosition(uint32_t vertex, CVector& position)
{
    GetMeshVertexPosition(GetMeshData(true), vertex, position);
}

void CGraphicalEntity::SetVertexPosition(uint32_t vertex, const CVector& position)
{
    SetMeshVertexPosition(GetMeshData(true), vertex, position);
}

void CGraphicalEntity::GetVertexNormal(uint32_t vertex, CVector& normal)
{
    GetMeshVertexNormal(GetMeshData(true), vertex, normal);
}

void CGraphicalEntity::SetVertexNormal(uint32_t vertex, const CVector& normal)
{
    SetMeshVertexNormal(GetMeshData(true), vertex, normal);
}

void CGraphicalEntity::GetVertexUV(uint32_t vertex, bool secondLayer, CPoint& uv)
{
    GetMeshVertexUV(GetMeshData(true), vertex, secondLayer, uv);
}

void CGraphicalEntity::SetVertexUV(uint32_t vertex, bool secondLayer, const CPoint& uv)
{
    SetMeshVertexUV(GetMeshData(true), vertex, secondLayer, uv);
}

void CGraphicalEntity::SetId(const char* id)
{
    if (m_sceneNode != nullptr)
        m_sceneNode->setName(id != nullptr ? id : "");
}

// The setters run the base's steps without a virtual call: thousands of
// entities are moved every frame. Kinds with steps of their own override
// the setters too.
void CGraphicalEntity::SetPosition(const CVector& position)
{
    CGraphicalEntity::SetNodePosition(position);
}

void CGraphicalEntity::SetRotation(const CVector& rotation)
{
    CGraphicalEntity::SetNodeRotation(rotation);
}

void CGraphicalEntity::SetScale(const CVector& scale)
{
    CGraphicalEntity::SetNodeScale(scale);
}

void CGraphicalEntity::SetFlags(uint32_t flags)
{
    CGraphicalEntity::SetNodeFlags(flags);
}

void CGraphicalEntity::SetNodePosition(const CVector& position)
{
    if (m_sceneNode != nullptr)
        m_sceneNode->setPosition(ToIrrlicht(position));
}

void CGraphicalEntity::SetNodeRotation(const CVector& rotation)
{
    if (m_sceneNode != nullptr)
        m_sceneNode->setRotation(ToIrrlicht(rotation));
    // The vectors follow when asked for: turning many entities per frame
    // costs no trigonometry until a direction is read.
    m_directionRotation = rotation;
    m_directionsStale = true;
}

void CGraphicalEntity::RefreshDirections() const
{
    if (!m_directionsStale)
        return;
    m_frontVector = GetOrientation(m_directionRotation, CVector(0.0f, 0.0f, 1.0f));
    m_upVector = GetOrientation(m_directionRotation, CVector(0.0f, 1.0f, 0.0f));
    m_directionsStale = false;
}

const CVector& CGraphicalEntity::GetFrontVector() const
{
    RefreshDirections();
    return m_frontVector;
}

const CVector& CGraphicalEntity::GetUpVector() const
{
    RefreshDirections();
    return m_upVector;
}

void CGraphicalEntity::UpdateDirectionVectors(const CVector& rotation)
{
    // Worked out when first read, as after a turn: an entity that joins an
    // engine need not be asked for them.
    m_directionRotation = rotation;
    m_directionsStale = true;
}

void CGraphicalEntity::SetNodeScale(const CVector& scale)
{
    if (m_sceneNode != nullptr)
        m_sceneNode->setScale(ToIrrlicht(scale));
}

void CGraphicalEntity::SetNodeFlags(uint32_t flags)
{
    if (m_sceneNode != nullptr)
        m_sceneNode->setDebugDataVisible(flags);
}

void CGraphicalEntity::Clear()
{
    m_fogEnabled = true;
    m_lightingEnabled = false;
    m_visible = true;
    m_frontVector = CVector(0.0f, 0.0f, 1.0f);
    m_upVector = CVector(0.0f, 1.0f, 0.0f);
    m_directionsStale = false;
    m_modelName.SetValue(std::wstring());
    SetEngine(nullptr);
    SetVideoDriver(nullptr);
    SetSceneManager(nullptr);
    SetSceneNode(nullptr);
    SetMesh(nullptr);
    SetAnimatedMesh(nullptr);
}

bool CGraphicalEntity::UpdateParts()
{
    return UpdateNode();
}

bool CGraphicalEntity::UpdateNode()
{
    if (m_sceneNode == nullptr)
        return false;
    CFlagScope updating(m_updatingNode, true);
    ApplyRenderOptions();
    CGraphicalEntity::SetId(GetId());
    SetVisible(IsVisible());
    SetNodeFlags(GetFlags());
    SetNodePosition(GetPosition());
    SetNodeRotation(GetRotation());
    SetNodeScale(GetScale());
    for (size_t index = 0; index < m_materials.GetCount(); ++index)
    {
        const int32_t material = static_cast<int32_t>(index);
        // Unset materials are skipped before they are copied: most are.
        if (!m_materials[material].IsSet())
            continue;
        // A copy: the setters store into the same record.
        const CMaterial stored = m_materials[material];
        for (uint32_t layer = 0; layer < CMaterial::kTextureCount; ++layer)
            SetMaterialTexture(stored.textures[layer].GetValue(), layer, material);
        SetMaterialAmbientColor(stored.ambient, material);
        SetMaterialDiffuseColor(stored.diffuse, material);
        SetMaterialEmissiveColor(stored.emissive, material);
        SetMaterialSpecularColor(stored.specular, material);
        SetMaterialShininess(stored.shininess, material);
        SetMaterialType(static_cast<int16_t>(stored.type), material);
        SetMaterialTypeParam(stored.typeParam, material);
    }
    SetFogEnabled(m_fogEnabled);
    SetLightingEnabled(m_lightingEnabled);
    return true;
}

void CGraphicalEntity::ApplyRenderOptions()
{
    if (m_sceneNode == nullptr)
        return;
    if (m_materials.GetCount() < m_sceneNode->getMaterialCount())
        m_materials.Resize(m_sceneNode->getMaterialCount());
    m_sceneNode->setMaterialFlag(video::EMF_WIREFRAME, !m_solid);
    m_sceneNode->setMaterialFlag(video::EMF_GOURAUD_SHADING, m_gouraud);
    // A sky box keeps Irrlicht's own depth settings.
    if (m_sceneNode->getType() != scene::ESNT_SKY_BOX)
    {
        m_sceneNode->setMaterialFlag(video::EMF_ZBUFFER, m_zBuffer);
        m_sceneNode->setMaterialFlag(video::EMF_ZWRITE_ENABLE, m_zBufferWrite);
    }
    m_sceneNode->setMaterialFlag(video::EMF_NORMALIZE_NORMALS, true);
    if (m_sceneNode->getType() == scene::ESNT_ANIMATED_MESH)
    {
        auto* node = static_cast<scene::IAnimatedMeshSceneNode*>(m_sceneNode);
        if (m_animationCallback == nullptr)
            m_animationCallback = new CGraphicalEntityAnimationCallback(this);
        // A node made again needs the callback too.
        if (m_animationCallback->GetInstalledNode() != node)
        {
            node->setAnimationEndCallback(m_animationCallback);
            m_animationCallback->SetInstalledNode(node);
        }
    }
}

void CGraphicalEntity::AnimateJoints()
{
    if (m_sceneNode == nullptr || m_sceneNode->getType() != scene::ESNT_ANIMATED_MESH)
        return;
    m_sceneNode->updateAbsolutePosition();
    static_cast<scene::IAnimatedMeshSceneNode*>(m_sceneNode)->animateJoints(true);
}

bool CGraphicalEntity::HasAnimationEnded() const
{
    return m_animationCallback != nullptr && m_animationCallback->HasEnded();
}

uint32_t CGraphicalEntity::GetVertices(std::vector<CVector>& vertices, CVector& collisionSize,
                                       CVector& collisionCentre)
{
    vertices.clear();
    CMeshBox box;
    scene::IMesh* mesh = GetMeshData(false);
    if (mesh == nullptr)
    {
        // No mesh of its own (a light, a camera): the unit cube, scaled.
        const CVector& scale = GetScale();
        collisionSize = CVector(std::fabs(scale.x), std::fabs(scale.y), std::fabs(scale.z));
        collisionCentre = CVector();
        return 0;
    }
    GetEntityVertices(mesh, GetScale(), vertices, &box);
    DescribeBox(box, collisionSize, collisionCentre);
    return static_cast<uint32_t>(vertices.size());
}

uint32_t CGraphicalEntity::GetFaces(std::vector<Misc::World::CTriangle>& faces, CVector& collisionSize,
                                    CVector& collisionCentre, float epsilon, uint32_t /*detailLevel*/)
{
    faces.clear();
    CMeshBox box;
    scene::IMesh* mesh = GetMeshData(false);
    if (mesh == nullptr)
    {
        const CVector& scale = GetScale();
        collisionSize = CVector(std::fabs(scale.x), std::fabs(scale.y), std::fabs(scale.z));
        collisionCentre = CVector();
        return 0;
    }
    ReadMeshFaces(mesh, GetScale(), epsilon, faces, box);
    DescribeBox(box, collisionSize, collisionCentre);
    return static_cast<uint32_t>(faces.size());
}

void CGraphicalEntity::GetBoundingBox(CVector& minimum, CVector& maximum)
{
    if (m_sceneNode == nullptr)
        return;
    if (m_animatedMesh != nullptr)
    {
        const core::aabbox3df& box = m_animatedMesh->getBoundingBox();
        minimum = ToVector(box.MinEdge);
        maximum = ToVector(box.MaxEdge);
        return;
    }
    if (m_mesh != nullptr)
    {
        const core::aabbox3df box = m_sceneNode->getTransformedBoundingBox();
        minimum = ToVector(box.MinEdge);
        maximum = ToVector(box.MaxEdge);
        return;
    }
    // No mesh: the unit cube scaled and moved by the stored values.
    const CVector& scale = GetScale();
    const CVector& position = GetPosition();
    CVector low(-0.5f * scale.x + position.x, -0.5f * scale.y + position.y, -0.5f * scale.z + position.z);
    CVector high(0.5f * scale.x + position.x, 0.5f * scale.y + position.y, 0.5f * scale.z + position.z);
    if (low.x > high.x)
        std::swap(low.x, high.x);
    if (low.y > high.y)
        std::swap(low.y, high.y);
    if (low.z > high.z)
        std::swap(low.z, high.z);
    minimum = low;
    maximum = high;
}

void CGraphicalEntity::GetAbsolutePosition(CVector& position)
{
    position = m_sceneNode != nullptr ? ToVector(m_sceneNode->getAbsolutePosition()) : GetPosition();
}

void CGraphicalEntity::GetAbsoluteRotation(CVector& rotation)
{
    rotation = m_sceneNode != nullptr
                   ? ToVector(m_sceneNode->getAbsoluteTransformation().getRotationDegrees())
                   : GetRotation();
}

void CGraphicalEntity::GetAbsoluteScale(CVector& scale)
{
    if (m_sceneNode == nullptr)
    {
        scale = GetScale();
        return;
    }
    const core::matrix4& transformation = m_sceneNode->getAbsoluteTransformation();
    scale = CVector(transformation[0], transformation[5], transformation[10]);
}

namespace Field = Misc::Serialization::StoredField;

// The fields every kind's record starts with. The model line is required;
// files without the render flags keep the values.
const Misc::Serialization::SStoredField<CGraphicalEntity> CGraphicalEntity::kStoredFields[] = {
    Field::Bool<&CGraphicalEntity::m_fogEnabled>("-FogEnabled"),
    Field::Bool<&CGraphicalEntity::m_lightingEnabled>("-LightingEnabled"),
    Field::Bool<&CGraphicalEntity::m_visible>("-Visible"),
    Field::Object<&CGraphicalEntity::m_materials>(),
    Field::RequiredText<&CGraphicalEntity::m_modelName>(),
    Field::Bool<&CGraphicalEntity::m_solid>("-Solid", FileVersion::kRenderFlags),
    Field::Bool<&CGraphicalEntity::m_gouraud>("-Gouraud", FileVersion::kRenderFlags),
    Field::Bool<&CGraphicalEntity::m_zBuffer>("-ZBufferEnabled", FileVersion::kRenderFlags),
    Field::Bool<&CGraphicalEntity::m_zBufferWrite>("-ZBufferWriteEnabled", FileVersion::kRenderFlags),
};

bool CGraphicalEntity::Write(Misc::Serialization::IArchive& archive)
{
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    return true;
}

bool CGraphicalEntity::Read(Misc::Serialization::IArchive& archive)
{
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    return true;
}

void CGraphicalEntity::SetEngine(Graphics::CGraphicsEngine* engine)
{
    if (engine == nullptr)
    {
        m_link.Detach();
        return;
    }
    m_link.Attach(engine->GetParts());
    UpdateDirectionVectors(GetRotation());
}

void CGraphicalEntity::ReleaseEngine()
{
    // A node made later may take the dropped node's address: the callback
    // must be installed on it all the same.
    if (m_animationCallback != nullptr)
        m_animationCallback->SetInstalledNode(nullptr);
    SetVideoDriver(nullptr);
    SetSceneManager(nullptr);
    SetSceneNode(nullptr);
    SetMesh(nullptr);
    SetAnimatedMesh(nullptr);
}

namespace
{

// Holds one reference on what the slot points to.
template <class T> void ReplaceHeld(T*& slot, T* value)
{
    if (value == slot)
        return;
    if (value != nullptr)
        value->grab();
    if (slot != nullptr)
        slot->drop();
    slot = value;
}

} // namespace

void CGraphicalEntity::SetSceneNode(scene::ISceneNode* node)
{
    ReplaceHeld(m_sceneNode, node);
}

void CGraphicalEntity::SetMesh(scene::IMesh* mesh)
{
    ReplaceHeld(m_mesh, mesh);
}

void CGraphicalEntity::SetAnimatedMesh(scene::IAnimatedMesh* mesh)
{
    ReplaceHeld(m_animatedMesh, mesh);
}

void CGraphicalEntity::RegisterWithEngine()
{
    if (Graphics::CGraphicsEngine* engine = GetEngine())
        engine->AddPendingNodeUpdate(this);
}

void CGraphicalEntity::Refresh()
{
    Graphics::CGraphicsEngine* engine = GetEngine();
    if (engine == nullptr)
        return;
    if (m_sceneNode == nullptr)
    {
        engine->Add(this, nullptr, std::string());
        return;
    }
    engine->Rebuild(this);
}

} // namespace Graphics::Scene
