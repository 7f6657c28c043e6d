// The graphics engine's mesh access: frames of animated meshes, and its
// names for the mesh helpers (single vertices, vertices and triangles as
// point lists).

#include "graphics/engine/GraphicsEngine.h"

#include "graphics/scene/MeshGeometry.h"

#include <irrlicht.h>

namespace Graphics
{

using namespace irr;

// The mesh helpers live beside the entities that use them; the engine keeps
// its names for them.

uint32_t CGraphicsEngine::GetMeshVerticesFromBuffer(const scene::IMeshBuffer* buffer, const CVector& scale,
                                                    std::vector<CVector>& points, Scene::CMeshBox* box)
{
    return Scene::GetMeshVerticesFromBuffer(buffer, scale, points, box);
}

uint32_t CGraphicsEngine::GetEntityVertices(scene::IMesh* mesh, const CVector& scale,
                                            std::vector<CVector>& points, Scene::CMeshBox* box)
{
    return Scene::GetEntityVertices(mesh, scale, points, box);
}

uint32_t CGraphicsEngine::GetMeshFaces(const scene::IMeshBuffer* buffer, const CVector& scale,
                                       std::vector<CVector>& points, float minimumArea, Scene::CMeshBox* box)
{
    return Scene::GetMeshFaces(buffer, scale, points, minimumArea, box);
}

uint32_t CGraphicsEngine::GetEntityFaces(scene::IMesh* mesh, const CVector& scale,
                                         std::vector<CVector>& points, float minimumArea,
                                         Scene::CMeshBox* box)
{
    return Scene::GetEntityFaces(mesh, scale, points, minimumArea, box);
}

scene::IMesh* CGraphicsEngine::GetMeshId(const std::wstring& fileName, int32_t frame)
{
    scene::IAnimatedMesh* mesh = LoadMesh(fileName);
    // Frames run from 0 to the count less one: Irrlicht does not check.
    if (mesh == nullptr || frame < 0 || static_cast<u32>(frame) >= mesh->getFrameCount())
        return nullptr;
    return mesh->getMesh(frame, 255, -1, -1);
}

uint32_t CGraphicsEngine::GetNumberOfMeshVertices(scene::IMesh* mesh)
{
    return Scene::GetNumberOfMeshVertices(mesh);
}

bool CGraphicsEngine::GetMeshVertexColor(scene::IMesh* mesh, uint32_t index, CColor& color)
{
    return Scene::GetMeshVertexColor(mesh, index, color);
}

bool CGraphicsEngine::SetMeshVertexColor(scene::IMesh* mesh, uint32_t index, const CColor& color)
{
    return Scene::SetMeshVertexColor(mesh, index, color);
}

bool CGraphicsEngine::GetMeshVertexPosition(scene::IMesh* mesh, uint32_t index, CVector& position)
{
    return Scene::GetMeshVertexPosition(mesh, index, position);
}

bool CGraphicsEngine::SetMeshVertexPosition(scene::IMesh* mesh, uint32_t index, const CVector& position)
{
    return Scene::SetMeshVertexPosition(mesh, index, position);
}

bool CGraphicsEngine::GetMeshVertexNormal(scene::IMesh* mesh, uint32_t index, CVector& normal)
{
    return Scene::GetMeshVertexNormal(mesh, index, normal);
}

bool CGraphicsEngine::SetMeshVertexNormal(scene::IMesh* mesh, uint32_t index, const CVector& normal)
{
    return Scene::SetMeshVertexNormal(mesh, index, normal);
}

bool CGraphicsEngine::GetMeshVertexUV(scene::IMesh* mesh, uint32_t index, bool secondSet, CPoint& uv)
{
    return Scene::GetMeshVertexUV(mesh, index, secondSet, uv);
}

bool CGraphicsEngine::SetMeshVertexUV(scene::IMesh* mesh, uint32_t index, bool secondSet, const CPoint& uv)
{
    return Scene::SetMeshVertexUV(mesh, index, secondSet, uv);
}

} // namespace Graphics
