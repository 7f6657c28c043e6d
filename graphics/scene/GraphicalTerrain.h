#pragma once

#include "core/io/StoredFields.h"
#include "core/io/TextValue.h"
#include "graphics/scene/GraphicalEntity.h"

#include <cstdint>
#include <string>

namespace Graphics::Scene
{

// A height-map terrain with levels of detail. The engine builds its node
// from the height-map file and the build values; with the node the terrain
// answers height queries and gives its triangles to the physics engine.
class CGraphicalTerrain : public CGraphicalEntity
{
public:
    CGraphicalTerrain() = default;
    CGraphicalTerrain(const CGraphicalTerrain&) = default;
    CGraphicalTerrain& operator=(const CGraphicalTerrain&) = default;
    ~CGraphicalTerrain() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdTerrain;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdTerrain; }

    // The nearest patch size Irrlicht knows at or above n: 9, 17, 33, 65 or
    // 129 (129 for anything above 65).
    static uint32_t SnapPatchSize(uint32_t size);

    // Build values: they take effect when the engine makes the node.
    void SetHeightmap(const std::wstring& fileName) { m_heightmap.SetValue(fileName); }
    const std::wstring& GetHeightmap() const { return m_heightmap.GetValue(); }
    // Stores the snapped size.
    void SetPatchSize(uint32_t size) { m_patchSize = SnapPatchSize(size); }
    uint32_t GetPatchSize() const { return m_patchSize; }
    void SetMaxLOD(uint32_t levels) { m_maxLOD = levels; }
    uint32_t GetMaxLOD() const { return m_maxLOD; }
    void SetSmoothFactor(uint32_t passes) { m_smoothFactor = passes; }
    uint32_t GetSmoothFactor() const { return m_smoothFactor; }
    // Stores both; a terrain node repeats its two texture layers by them.
    void SetTextureScales(float first, float second);
    float GetTextureScale1() const { return m_textureScale1; }
    float GetTextureScale2() const { return m_textureScale2; }

    // Queries and tuning of the node. Without a node each throws
    // "[CGraphicalTerrain::<name>] Graphical scene node not initialised";
    // on a node that is no terrain (the cube placeholder) they do nothing
    // and answer 0.

    // The terrain's height at world (x, z); 0 outside it.
    float GetHeight(float x, float z);
    void GetCenter(CVector& centre);
    // The distance from which that level of detail is used.
    void SetLODDistance(int32_t level, double distance);
    // Camera moves and turns below these do not recompute the levels.
    void SetCameraMoveDelta(float delta);
    void SetCameraRotationDelta(float delta);
    // The triangles at that level of detail (0 the finest), scaled by the
    // entity's scale, not turned or moved; the count.
    uint32_t GetMeshFaces(std::vector<Misc::World::CTriangle>& faces, uint32_t detailLevel, float epsilon,
                          CVector& collisionSize, CVector& collisionCentre);

    // The physics engine's faces query: GetMeshFaces.
    uint32_t GetFaces(std::vector<Misc::World::CTriangle>& faces, CVector& collisionSize,
                      CVector& collisionCentre, float epsilon, uint32_t detailLevel) override;
    // The engine's terrain update first (texture scales), then the base's.
    bool UpdateNode() override;
    // The base's Clear; no height map, patch size 17, 5 levels, texture
    // scales 1. The smooth factor stays.
    void Clear() override;

    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOTERRAIN"; }

private:
    // The record's own fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CGraphicalTerrain> kStoredFields[];

    CTextValue m_heightmap{L"-Heightmap"};
    uint32_t m_patchSize = 17;
    uint32_t m_maxLOD = 5;
    uint32_t m_smoothFactor = 0;
    float m_textureScale1 = 1.0f;
    float m_textureScale2 = 1.0f;
};

} // namespace Graphics::Scene
