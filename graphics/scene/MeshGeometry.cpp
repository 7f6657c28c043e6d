#include "graphics/scene/MeshGeometry.h"

#include "core/foundation/KVOError.h"
#include "irrlicht/IrrlichtConversions.h"

#include <irrlicht.h>

#include <algorithm>

namespace Graphics::Scene
{

using namespace irr;

namespace
{

CVector Scaled(const core::vector3df& position, const CVector& scale)
{
    return CVector(position.X * scale.x, position.Y * scale.y, position.Z * scale.z);
}

u32 IndexAt(const scene::IMeshBuffer* buffer, u32 index)
{
    if (buffer->getIndexType() == video::EIT_32BIT)
        return reinterpret_cast<const u32*>(buffer->getIndices())[index];
    return buffer->getIndices()[index];
}

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

void CMeshBox::Add(const CVector& point)
{
    if (m_empty)
    {
        minimum = maximum = point;
        m_empty = false;
        return;
    }
    minimum =
        CVector(std::min(minimum.x, point.x), std::min(minimum.y, point.y), std::min(minimum.z, point.z));
    maximum =
        CVector(std::max(maximum.x, point.x), std::max(maximum.y, point.y), std::max(maximum.z, point.z));
}

uint32_t ReadBufferVertices(const scene::IMeshBuffer* buffer, const CVector& scale,
                            std::vector<CVector>& vertices, CMeshBox* box)
{
    if (buffer == nullptr)
        return 0;
    const u32 count = buffer->getVertexCount();
    for (u32 vertex = 0; vertex < count; ++vertex)
    {
        const CVector point = Scaled(buffer->getPosition(vertex), scale);
        if (box != nullptr)
            box->Add(point);
        vertices.push_back(point);
    }
    return count;
}

uint32_t ForEachBufferFace(const scene::IMeshBuffer* buffer, const CVector& scale, float minimumArea,
                           const FaceVisitor& visit)
{
    if (buffer == nullptr || buffer->getIndices() == nullptr)
        return 0;
    const u32 vertexCount = buffer->getVertexCount();
    uint32_t faces = 0;
    for (u32 index = 0; index + 2 < buffer->getIndexCount(); index += 3)
    {
        const u32 a = IndexAt(buffer, index);
        const u32 b = IndexAt(buffer, index + 1);
        const u32 c = IndexAt(buffer, index + 2);
        // A damaged buffer ends its triangles where its indices leave it.
        if (a >= vertexCount || b >= vertexCount || c >= vertexCount)
            break;
        const core::vector3df& pa = buffer->getPosition(a);
        const core::vector3df& pb = buffer->getPosition(b);
        const core::vector3df& pc = buffer->getPosition(c);
        // Written so that a NaN area fails the test too.
        if (!((pb - pa).crossProduct(pc - pa).getLengthSQ() > minimumArea))
            continue;
        ++faces;
        visit(Scaled(pa, scale), Scaled(pb, scale), Scaled(pc, scale));
    }
    return faces;
}

void ReadBufferFaces(const scene::IMeshBuffer* buffer, const CVector& scale, float minimumArea,
                     std::vector<Misc::World::CTriangle>& faces, CMeshBox& box)
{
    ForEachBufferFace(buffer, scale, minimumArea,
                      [&](const CVector& a, const CVector& b, const CVector& c)
                      {
                          box.Add(a);
                          box.Add(b);
                          box.Add(c);
                          faces.push_back(Misc::World::CTriangle{a, b, c});
                      });
}

void ReadMeshFaces(scene::IMesh* mesh, const CVector& scale, float minimumArea,
                   std::vector<Misc::World::CTriangle>& faces, CMeshBox& box)
{
    if (mesh == nullptr)
        return;
    for (u32 bufferIndex = 0; bufferIndex < mesh->getMeshBufferCount(); ++bufferIndex)
        ReadBufferFaces(mesh->getMeshBuffer(bufferIndex), scale, minimumArea, faces, box);
}

uint32_t GetNumberOfMeshVertices(scene::IMesh* mesh)
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

bool GetMeshVertexColor(scene::IMesh* mesh, uint32_t index, CColor& color)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        ToColor(vertex->Color, color);
    return true;
}

bool SetMeshVertexColor(scene::IMesh* mesh, uint32_t index, const CColor& color)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        vertex->Color = ToIrrlichtColor(color);
    return true;
}

bool GetMeshVertexPosition(scene::IMesh* mesh, uint32_t index, CVector& position)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        position = ToVector(vertex->Pos);
    return true;
}

bool SetMeshVertexPosition(scene::IMesh* mesh, uint32_t index, const CVector& position)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        vertex->Pos = ToIrrlicht(position);
    return true;
}

bool GetMeshVertexNormal(scene::IMesh* mesh, uint32_t index, CVector& normal)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        normal = ToVector(vertex->Normal);
    return true;
}

bool SetMeshVertexNormal(scene::IMesh* mesh, uint32_t index, const CVector& normal)
{
    video::E_VERTEX_TYPE type;
    if (video::S3DVertex* vertex = FindVertex(mesh, index, type))
        vertex->Normal = ToIrrlicht(normal);
    return true;
}

bool GetMeshVertexUV(scene::IMesh* mesh, uint32_t index, bool secondSet, CPoint& uv)
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

bool SetMeshVertexUV(scene::IMesh* mesh, uint32_t index, bool secondSet, const CPoint& uv)
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

uint32_t GetMeshVerticesFromBuffer(const scene::IMeshBuffer* buffer, const CVector& scale,
                                   std::vector<CVector>& points, CMeshBox* box)
{
    if (buffer == nullptr)
        return 0;
    if (!IsKnownVertexType(buffer))
        throw Misc::Error::CKVOError(L"[CGraphicsEngine::GetMeshVerticesFromBuffer] Unknown mesh type");
    return ReadBufferVertices(buffer, scale, points, box);
}

uint32_t GetEntityVertices(scene::IMesh* mesh, const CVector& scale, std::vector<CVector>& points,
                           CMeshBox* box)
{
    if (mesh == nullptr)
        return 0;
    uint32_t count = 0;
    for (u32 index = 0; index < mesh->getMeshBufferCount(); ++index)
        count += GetMeshVerticesFromBuffer(mesh->getMeshBuffer(index), scale, points, box);
    return count;
}

uint32_t GetMeshFaces(const scene::IMeshBuffer* buffer, const CVector& scale, std::vector<CVector>& points,
                      float minimumArea, CMeshBox* box)
{
    if (buffer == nullptr || buffer->getIndices() == nullptr)
        return 0;
    if (!IsKnownVertexType(buffer))
        throw Misc::Error::CKVOError(L"[CGraphicsEngine::GetMeshFaces] Unknown mesh type");
    return ForEachBufferFace(buffer, scale, minimumArea,
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

uint32_t GetEntityFaces(scene::IMesh* mesh, const CVector& scale, std::vector<CVector>& points,
                        float minimumArea, CMeshBox* box)
{
    if (mesh == nullptr)
        return 0;
    uint32_t faces = 0;
    for (u32 index = 0; index < mesh->getMeshBufferCount(); ++index)
        faces += GetMeshFaces(mesh->getMeshBuffer(index), scale, points, minimumArea, box);
    return faces;
}

} // namespace Graphics::Scene
