#include "graphics/scene/GraphicalTerrain.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/Math3D.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/MeshGeometry.h"
#include "irrlicht/IrrlichtConversions.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

using namespace irr;
using Misc::Error::CKVOError;

namespace
{

// The node as a terrain node; null for another node. Without a node throws
// "[CGraphicalTerrain::<operation>] Graphical scene node not initialised".
scene::ITerrainSceneNode* RequireTerrain(scene::ISceneNode* node, const wchar_t* operation)
{
    if (node == nullptr)
        throw CKVOError(L"[CGraphicalTerrain::" + std::wstring(operation) +
                        L"] Graphical scene node not initialised");
    if (node->getType() != scene::ESNT_TERRAIN)
        return nullptr;
    return static_cast<scene::ITerrainSceneNode*>(node);
}

} // namespace

uint32_t CGraphicalTerrain::SnapPatchSize(uint32_t size)
{
    if (size <= 9)
        return 9;
    if (size <= 17)
        return 17;
    if (size <= 33)
        return 33;
    if (size <= 65)
        return 65;
    return 129;
}

void CGraphicalTerrain::SetTextureScales(float first, float second)
{
    m_textureScale1 = first;
    m_textureScale2 = second;
    scene::ISceneNode* node = GetSceneNode();
    if (node != nullptr && node->getType() == scene::ESNT_TERRAIN)
        static_cast<scene::ITerrainSceneNode*>(node)->scaleTexture(first, second);
}

float CGraphicalTerrain::GetHeight(float x, float z)
{
    scene::ITerrainSceneNode* terrain = RequireTerrain(GetSceneNode(), L"GetHeight");
    return terrain != nullptr ? terrain->getHeight(x, z) : 0.0f;
}

void CGraphicalTerrain::GetCenter(CVector& centre)
{
    scene::ITerrainSceneNode* terrain = RequireTerrain(GetSceneNode(), L"GetCenter");
    centre = terrain != nullptr ? ToVector(terrain->getTerrainCenter()) : CVector();
}

void CGraphicalTerrain::SetLODDistance(int32_t level, double distance)
{
    if (scene::ITerrainSceneNode* terrain = RequireTerrain(GetSceneNode(), L"SetLODDistance"))
        terrain->overrideLODDistance(level, distance);
}

void CGraphicalTerrain::SetCameraMoveDelta(float delta)
{
    if (scene::ITerrainSceneNode* terrain = RequireTerrain(GetSceneNode(), L"SetCameraMoveDelta"))
        terrain->setCameraMovementDelta(delta);
}

void CGraphicalTerrain::SetCameraRotationDelta(float delta)
{
    if (scene::ITerrainSceneNode* terrain = RequireTerrain(GetSceneNode(), L"SetCameraRotationDelta"))
        terrain->setCameraRotationDelta(delta);
}

uint32_t CGraphicalTerrain::GetMeshFaces(std::vector<Misc::World::CTriangle>& faces, uint32_t detailLevel,
                                         float epsilon, CVector& collisionSize, CVector& collisionCentre)
{
    faces.clear();
    scene::ITerrainSceneNode* terrain = RequireTerrain(GetSceneNode(), L"GetMeshFaces");
    if (terrain == nullptr)
        return 0;
    scene::CDynamicMeshBuffer buffer(video::EVT_2TCOORDS, video::EIT_16BIT);
    // Irrlicht keeps the level within the terrain's levels.
    terrain->getMeshBufferForLOD(buffer, static_cast<s32>(std::min<uint32_t>(detailLevel, 0x7FFFFFFF)));
    CMeshBox box;
    ReadBufferFaces(&buffer, GetScale(), epsilon, faces, box);
    if (!box.IsEmpty())
    {
        collisionSize = BoxGetExtents(box.minimum, box.maximum);
        collisionCentre = BoxGetCentre(box.minimum, box.maximum);
    }
    return static_cast<uint32_t>(faces.size());
}

uint32_t CGraphicalTerrain::GetFaces(std::vector<Misc::World::CTriangle>& faces, CVector& collisionSize,
                                     CVector& collisionCentre, float epsilon, uint32_t detailLevel)
{
    return GetMeshFaces(faces, detailLevel, epsilon, collisionSize, collisionCentre);
}

bool CGraphicalTerrain::UpdateNode()
{
    if (GetEngine() != nullptr)
        GetEngine()->Update(this);
    return CGraphicalEntity::UpdateNode();
}

void CGraphicalTerrain::Clear()
{
    CGraphicalEntity::Clear();
    m_heightmap.SetValue(std::wstring());
    m_patchSize = 17;
    m_maxLOD = 5;
    m_textureScale1 = 1.0f;
    m_textureScale2 = 1.0f;
}

namespace Field = Misc::Serialization::StoredField;
using Misc::Serialization::IArchive;

const Misc::Serialization::SStoredField<CGraphicalTerrain> CGraphicalTerrain::kStoredFields[] = {
    Field::RequiredText<&CGraphicalTerrain::m_heightmap>(),
    {"-PatchSize", 0,
     [](IArchive& archive, CGraphicalTerrain& terrain, const char* key)
     { return archive.WriteKeyLong(key, static_cast<int32_t>(terrain.m_patchSize)); },
     [](IArchive& archive, CGraphicalTerrain& terrain, const char* key)
     {
         uint32_t patchSize = terrain.m_patchSize;
         const bool read = archive.ReadKeyUInt(key, patchSize);
         // A size Irrlicht does not know would break the terrain's
         // patches: snapped as the setter snaps it.
         terrain.m_patchSize = SnapPatchSize(patchSize);
         return read;
     }},
    Field::WholeNumber<&CGraphicalTerrain::m_maxLOD>("-MaxLOD"),
    Field::WholeNumber<&CGraphicalTerrain::m_smoothFactor>("-SmoothFactor",
                                                           FileVersion::kTerrainSmoothFactor),
    {"-TextureScales", FileVersion::kTerrainTextureScales,
     [](IArchive& archive, CGraphicalTerrain& terrain, const char* key)
     {
         // Written only as far as each step succeeds.
         return archive.WriteString(key) && archive.WriteSpaces(1) &&
                archive.WriteFloat(terrain.m_textureScale1, 6) && archive.WriteSpaces(1) &&
                archive.WriteFloat(terrain.m_textureScale2, 6) && archive.EndLine(0);
     },
     [](IArchive& archive, CGraphicalTerrain& terrain, const char* key)
     {
         archive.ExpectToken(key);
         float first = terrain.m_textureScale1;
         float second = terrain.m_textureScale2;
         if (!archive.ReadFloat(first) || !archive.ReadFloat(second))
             return false;
         terrain.m_textureScale1 = first;
         terrain.m_textureScale2 = second;
         return true;
     }},
};

bool CGraphicalTerrain::Write(IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    return true;
}

bool CGraphicalTerrain::Read(IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    return true;
}

} // namespace Graphics::Scene
