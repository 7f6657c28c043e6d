// The nodes of the mesh kinds that need more than a node: units (meshes,
// octrees, Quake 3 maps, tangent copies), skies, terrains from height maps
// and water surfaces.

#include "graphics/scene/KindNodes.h"

#include "graphics/engine/GraphicsEngine.h"

#include "irrlicht/ImageGate.h"
#include "irrlicht/IrrlichtFile.h"
#include "irrlicht/WithdrawableFile.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/io/File.h"
#include "core/io/SaveFile.h"
#include "graphics/scene/GraphicalEntity.h"
#include "graphics/scene/GraphicalSky.h"
#include "graphics/scene/GraphicalTerrain.h"
#include "graphics/scene/GraphicalUnit.h"
#include "graphics/scene/GraphicalWater.h"
#include "irrlicht/IrrlichtConversions.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>
#include <exception>

namespace Graphics::Scene
{

using namespace irr;
using Misc::Error::CKVOError;

namespace
{

// The normal-map and parallax material types and those after them need
// vertices with tangents.
constexpr int16_t kFirstTangentMaterial = 17;
// Smoothing passes handed to Irrlicht: more passes change little, and a
// count from a damaged file must not keep the load busy for ever.
constexpr uint32_t kMaxSmoothPasses = 64;
// A terrain of this many vertices a side already takes hundreds of
// megabytes; larger height maps come from damaged files.
constexpr uint32_t kMaxHeightMapSide = 4097;

struct CDropReadFile
{
    void operator()(io::IReadFile* file) const { file->drop(); }
};
using CReadFilePtr = std::unique_ptr<io::IReadFile, CDropReadFile>;

// Releases a mesh copy when the scope ends, also by an exception.
class CMeshRelease
{
public:
    explicit CMeshRelease(scene::IMesh*& mesh) : m_mesh(mesh) {}
    ~CMeshRelease()
    {
        if (m_mesh != nullptr)
            m_mesh->drop();
    }
    CMeshRelease(const CMeshRelease&) = delete;
    CMeshRelease& operator=(const CMeshRelease&) = delete;

private:
    scene::IMesh*& m_mesh;
};

bool IsQuake3Map(const std::wstring& model)
{
    return model.size() >= 4 && (model.compare(model.size() - 4, 4, L".bsp") == 0 ||
                                 model.compare(model.size() - 4, 4, L".BSP") == 0);
}

// Frame 0 of the animated mesh; null without one.
scene::IMesh* FirstFrame(scene::IAnimatedMesh* mesh)
{
    return mesh != nullptr ? mesh->getMesh(0, 255, -1, -1) : nullptr;
}

// The levels of detail a patch of that size has: one per halving of its
// side (17: steps 1, 2, 4, 8 and 16).
s32 LevelsOfPatch(uint32_t patchSize)
{
    s32 levels = 1;
    for (uint32_t side = patchSize - 1; side > 1; side /= 2)
        ++levels;
    return levels;
}

// Adds a Quake 3 shader node for every item buffer of the map whose shader
// the map has.
void AddQuake3Shaders(scene::ISceneManager* scene, scene::IAnimatedMesh* map, scene::ISceneNode* node)
{
    if (map->getMeshType() != scene::EAMT_BSP)
        return;
    auto* level = static_cast<scene::IQ3LevelMesh*>(map);
    scene::IMesh* items = level->getMesh(1, 255, -1, -1);
    if (items == nullptr)
        return;
    for (u32 index = 0; index < items->getMeshBufferCount(); ++index)
    {
        const scene::IMeshBuffer* buffer = items->getMeshBuffer(index);
        // The shader's number rides in the material's second parameter.
        const float number = buffer->getMaterial().MaterialTypeParam2;
        if (!(number >= 0.0f && number < 4294967296.0f))
            continue;
        if (const scene::quake3::IShader* shader = level->getShader(static_cast<u32>(number)))
            scene->addQuake3SceneNode(buffer, shader, node, -1);
    }
}

} // namespace

void AddUnitNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    auto* unit = RequireKind<CGraphicalUnit>(entity, L"[CGraphicsEngine::Add] Invalid unit pointer");
    const bool octTree = unit->GetOctTree();
    const std::wstring model = entity->GetModelName();
    engine.SetModelLoaderParameters(model);
    const bool map = IsQuake3Map(model);
    scene::IAnimatedMesh* animated = engine.LoadMesh(model);
    scene::IMesh* mesh = FirstFrame(animated);
    scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();

    scene::IMesh* tangents = nullptr;
    CMeshRelease release(tangents);
    if (mesh != nullptr && static_cast<int16_t>(entity->GetMaterials()[0].type) >= kFirstTangentMaterial)
    {
        // A map draws its own geometry, not a tangent copy of it.
        if (!map)
        {
            tangents = scene->getMeshManipulator()->createMeshWithTangents(mesh, false, false, false);
            if (tangents != nullptr)
                mesh = tangents;
        }
        // The node is made again, from the copy when there is one.
        engine.Remove(entity);
    }

    const s32 id = static_cast<s32>(entity->GetTypeId());
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        if (mesh == nullptr)
        {
            node = scene->addCubeSceneNode(1.0f, parentNode, id, ToIrrlicht(entity->GetPosition()),
                                           ToIrrlicht(entity->GetRotation()), ToIrrlicht(entity->GetScale()));
        }
        else
        {
            if (octTree)
                node = scene->addOctreeSceneNode(mesh, parentNode, id, 256);
            else
                node = scene->addMeshSceneNode(mesh, parentNode, id, core::vector3df(0, 0, 0),
                                               core::vector3df(0, 0, 0), core::vector3df(1, 1, 1));
        }
        if (node == nullptr)
            return;
        // Only a new node gets the map's shader nodes: an existing one has
        // them already.
        if (map && animated != nullptr)
            AddQuake3Shaders(scene, animated, node);
    }
    entity->SetMesh(mesh);
    engine.GrowWorldBox(node);
    engine.BindNode(entity, node, parentNode, false);
}

void AddSkyNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    auto* sky = RequireKind<CGraphicalSky>(entity, L"[CGraphicsEngine::Add] Invalid sky pointer");
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        auto texture = [&engine](const std::wstring& name)
        { return name.empty() ? nullptr : engine.GetTexture(name, false); };
        scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
        if (sky->IsDome())
        {
            // Values read from a file are kept in the ranges Irrlicht
            // draws: percentages 0 to 1, resolutions 1 to 255.
            const u32 horizontal =
                std::clamp<uint32_t>(sky->GetDomeHRes(), 1, CGraphicalSky::kMaxDomeResolution);
            const u32 vertical =
                std::clamp<uint32_t>(sky->GetDomeVRes(), 1, CGraphicalSky::kMaxDomeResolution);
            node = scene->addSkyDomeSceneNode(
                texture(sky->GetDome()), horizontal, vertical,
                CGraphicalSky::ClampFraction(sky->GetDomePercentage()),
                2.0f * CGraphicalSky::ClampFraction(sky->GetDomeSpherePercentage()), 1000.0f, parentNode, -1);
        }
        else
        {
            node = scene->addSkyBoxSceneNode(
                texture(sky->GetTop()), texture(sky->GetBottom()), texture(sky->GetLeft()),
                texture(sky->GetRight()), texture(sky->GetFront()), texture(sky->GetBack()), parentNode, 0);
        }
        if (node == nullptr)
            return;
    }
    entity->SetLightingEnabled(false);
    entity->SetFogEnabled(false);
    engine.BindNode(entity, node, parentNode, false);
}

void AddTerrainNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    auto* terrain = RequireKind<CGraphicalTerrain>(entity, L"[CGraphicsEngine::Add] Invalid terrain pointer");
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
        CApplication* application = engine.GetApplication();
        CReadFilePtr opened(CIrrlichtFile::Adopt(
            application != nullptr ? application->OpenFile(terrain->GetHeightmap()) : nullptr));
        // Wrapped, so that no image loader behind the engine's gate sees it.
        CReadFilePtr file(opened != nullptr ? CWithdrawableFile::Wrap(opened.get()) : nullptr);
        // A height map the gate cannot read, or too large for a terrain,
        // leaves the placeholder.
        if (file != nullptr &&
            (engine.GetImageGate() == nullptr || !engine.GetImageGate()->Fits(file.get(), kMaxHeightMapSide)))
            file.reset();
        if (file != nullptr)
        {
            // The patch size is snapped when set and when read; the levels
            // and passes are kept to what it and a loading scene can take.
            const uint32_t patchSize = terrain->GetPatchSize();
            const s32 levels =
                static_cast<s32>(std::clamp<uint32_t>(terrain->GetMaxLOD(), 1, LevelsOfPatch(patchSize)));
            const s32 smooth = static_cast<s32>(std::min(terrain->GetSmoothFactor(), kMaxSmoothPasses));
            scene::ITerrainSceneNode* terrainNode = scene->addTerrainSceneNode(
                file.get(), parentNode, static_cast<s32>(entity->GetTypeId()),
                ToIrrlicht(entity->GetPosition()), ToIrrlicht(entity->GetRotation()),
                ToIrrlicht(entity->GetScale()), video::SColor(255, 255, 255, 255), levels,
                static_cast<scene::E_TERRAIN_PATCH_SIZE>(patchSize), smooth, false);
            if (terrainNode != nullptr)
            {
                terrainNode->setCameraRotationDelta(30.0f);
                const core::vector3df extent = terrainNode->getBoundingBox().getExtent();
                terrainNode->setCameraMovementDelta(0.1f * std::max({extent.X, extent.Y, extent.Z}));
            }
            node = terrainNode;
        }
        else
        {
            node = scene->addCubeSceneNode(1.0f, parentNode, static_cast<s32>(entity->GetTypeId()),
                                           ToIrrlicht(entity->GetPosition()),
                                           ToIrrlicht(entity->GetRotation()), ToIrrlicht(entity->GetScale()));
        }
        if (node == nullptr)
            return;
    }
    if (node->getType() == scene::ESNT_TERRAIN)
        entity->SetMesh(static_cast<scene::ITerrainSceneNode*>(node)->getMesh());
    engine.GrowWorldBox(node);
    engine.BindNode(entity, node, parentNode, false);
}

void AddWaterNode(CGraphicsEngine& engine, CGraphicalEntity* entity, scene::ISceneNode* parentNode)
{
    auto* water = RequireKind<CGraphicalWater>(entity, L"[CGraphicsEngine::Add] Invalid Water pointer");
    scene::IMesh* mesh = FirstFrame(engine.LoadMesh(entity->GetModelName()));
    scene::ISceneNode* node = entity->GetSceneNode();
    if (node == nullptr)
    {
        scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
        const s32 id = static_cast<s32>(entity->GetTypeId());
        if (mesh != nullptr)
        {
            try
            {
                node = scene->addWaterSurfaceSceneNode(
                    mesh, water->GetHeight(), water->GetSpeed(), water->GetLength(), parentNode, id,
                    ToIrrlicht(entity->GetPosition()), ToIrrlicht(entity->GetRotation()),
                    ToIrrlicht(entity->GetScale()));
            }
            catch (const std::exception&)
            {
                throw CKVOError(L"Unable to create water from mesh");
            }
        }
        else
        {
            node = scene->addCubeSceneNode(1.0f, parentNode, id, ToIrrlicht(entity->GetPosition()),
                                           ToIrrlicht(entity->GetRotation()), ToIrrlicht(entity->GetScale()));
        }
        if (node == nullptr)
            return;
    }
    entity->SetMesh(mesh);
    engine.GrowWorldBox(node);
    engine.BindNode(entity, node, parentNode, false);
}

} // namespace Graphics::Scene
