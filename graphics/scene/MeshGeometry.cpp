#include "graphics/scene/MeshGeometry.h"

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

} // namespace Graphics::Scene
