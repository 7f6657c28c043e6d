// The graphics engine's mesh vertex access: frames of animated meshes,
// single vertices counted across a mesh's buffers, and a mesh's vertices
// and triangles as point lists.

#include "graphics/engine/GraphicsEngine.h"

#include "core/foundation/KVOError.h"
#include "graphics/irrlicht/IrrlichtConversions.h"
#include "graphics/scene/MeshGeometry.h"

#include <irrlicht.h>

namespace Graphics
{

using namespace irr;

namespace
{

// The vertex of a mesh by its index across the buffers; null past the last.
video::S3DVertex* FindVertex(scene::IMesh* mesh, uint32_t index, video::E_VERTEX_TYPE& type)
{
    if (mesh == nullptr)
        return nullptr;
    for (u32 bufferIndex = 0; bufferIndex < mesh->getMeshBufferCount(); ++bufferIndex)
    {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(bufferIndex);
        if (buffer == nullptr)
            continue;
        const u32 count = buffer->getVertexCount();
        if (index >= count)
        {
            index -= count;
            continue;
        }
        type = buffer->getVertexType();
        switch (type)
        {
        case video::EVT_STANDARD:
            return static_cast<video::S3DVertex*>(buffer->getVertices()) + index;
        case video::EVT_2TCOORDS:
            return static_cast<video::S3DVertex2TCoords*>(buffer->getVertices()) + index;
        case video::EVT_TANGENTS:
            return static_cast<video::S3DVertexTangents*>(buffer->getVertices()) + index;
        default:
            throw Misc::Error::CKVOError(L"[CGraphicsEngine::GetMeshVertex] Unknown vertex type");
        }
    }
    return nullptr;
}

// Whether the buffer's vertices have one of the three layouts whose
// position leads the vertex.
bool IsKnownVertexType(const scene::IMeshBuffer* buffer)
{
    switch (buffer->getVertexType())
    {
    case video::EVT_STANDARD:
    case video::EVT_2TCOORDS:
    case video::EVT_TANGENTS:
        return true;
    default:
        return false;
    }
}

void ToColor(video::SColor value, CColor& color)
{
    color.SetComponents(static_cast<float>(value.getRed()), static_cast<float>(value.getGreen()),
                        static_cast<float>(value.getBlue()), static_cast<float>(value.getAlpha()));
}

} // namespace

uint32_t CGraphicsEngine::GetMeshVerticesFromBuffer(const scene::IMeshBuffer* buffer, const CVector& scale,
                                                    std::vector<CVector>& points, Scene::CMeshBox* box)
{
    if (buffer == nullptr)
        return 0;
    if (!IsKnownVertexType(buffer))
        throw Misc::Error::CKVOError(L"[CGraphicsEngine::GetMeshVerticesFromBuffer] Unknown mesh type");
    return Scene::ReadBufferVertices(buffer, scale, points, box);
}

uint32_t CGraphicsEngine::GetEntityVertices(scene::IMesh* mesh, const CVector& scale,
                                            std::vector<CVector>& points, Scene::CMeshBox* box)
{
    if (mesh == nullptr)
        return 0;
    uint32_t count = 0;
    for (u32 index = 0; index < mesh->getMeshBufferCount(); ++index)
        count += GetMeshVerticesFromBuffer(mesh->getMeshBuffer(index), scale, points, box);
    return count;
}

uint32_t CGraphicsEngine::GetMeshFaces(const scene::IMeshBuffer* buffer, const CVector& scale,
                                       std::vector<CVector>& points, float minimumArea, Scene::CMeshBox* box)
{
    if (buffer == nullptr || buffer->getIndices() == nullptr)
        return 0;
    if (!IsKnownVertexType(buffer))
        throw Misc::Error::CKVOError(L"[CGraphicsEngine::GetMeshFaces] Unknown mesh type");
    return Scene::ForEachBufferFace(buffer, scale, minimumArea,
                                    [&](const CVector& a, const CVector& b, const CVector& c)
                                    {
                                        for (const CVector* corner : {&a, &b, &c})
                                        {
                                            if (box != nullptr)
                                                box->Add(*corner);
                                            points.push_back(*corner);
                                        }
                                    });
}

uint32_t CGraphicsEngine::GetEntityFaces(scene::IMesh* mesh, const CVector& scale,
                                         std::vector<CVector>& points, float minimumArea,
                                         Scene::CMeshBox* box)
{
    if (mesh == nullptr)
        return 0;
    uint32_t faces = 0;
    for (u32 index = 0; index < mesh->getMeshBufferCount(); ++index)
        faces += GetMeshFaces(mesh->getMeshBuffer(index), scale, points, minimumArea, box);
    return faces;
}

scene::IMesh* CGraphicsEngine::GetMeshId(const std::wstring& fileName, int32_t frame)
{
    scene::IAnimatedMesh* mesh = LoadMesh(fileName);
    if (mesh == nullptr || frame < 0 || static_cast<u32>(frame) > mesh->getFrameCount())
        return nullptr;
    return mesh->getMesh(frame, 255, -1, -1);
}

uint32_t CGraphicsEngine::GetNumberOfMeshVertices(scene::IMesh* mesh)
{
    if (mesh == nullptr)
        return 0;
    uint32_t count = 0;
    for (u32 index = 0; index < mesh->getMeshBufferCount(); ++index)
    {
        if (const scene::IMeshBuffer* buffer = mesh->getMeshBuffer(index))
            count += buffer->getVertexCount();
    }
    return count;
}

bool CGraphicsEngine::GetMeshVertexColor(scene::IMesh* mesh, uint32_t index, CColor& color)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        ToColor(vertex->Color, color);
    return true;
}

bool CGraphicsEngine::SetMeshVertexColor(scene::IMesh* mesh, uint32_t index, const CColor& color)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        vertex->Color = ToIrrlichtColor(color);
    return true;
}

bool CGraphicsEngine::GetMeshVertexPosition(scene::IMesh* mesh, uint32_t index, CVector& position)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        position = CVector(vertex->Pos);
    return true;
}

bool CGraphicsEngine::SetMeshVertexPosition(scene::IMesh* mesh, uint32_t index, const CVector& position)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        vertex->Pos = position.ToIrrlicht();
    return true;
}

bool CGraphicsEngine::GetMeshVertexNormal(scene::IMesh* mesh, uint32_t index, CVector& normal)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        normal = CVector(vertex->Normal);
    return true;
}

bool CGraphicsEngine::SetMeshVertexNormal(scene::IMesh* mesh, uint32_t index, const CVector& normal)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        vertex->Normal = normal.ToIrrlicht();
    return true;
}

bool CGraphicsEngine::GetMeshVertexUV(scene::IMesh* mesh, uint32_t index, bool secondSet, CPoint& uv)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
    {
        const core::vector2df& value = secondSet && type == video::EVT_2TCOORDS
                                           ? static_cast<video::S3DVertex2TCoords*>(vertex)->TCoords2
                                           : vertex->TCoords;
        uv = CPoint(value.X, value.Y);
    }
    return true;
}

bool CGraphicsEngine::SetMeshVertexUV(scene::IMesh* mesh, uint32_t index, bool secondSet, const CPoint& uv)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
    {
        core::vector2df& value = secondSet && type == video::EVT_2TCOORDS
                                     ? static_cast<video::S3DVertex2TCoords*>(vertex)->TCoords2
                                     : vertex->TCoords;
        value = core::vector2df(uv.x, uv.y);
    }
    return true;
}

} // namespace Graphics
