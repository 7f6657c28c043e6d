#pragma once

#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Vector.h"
#include "core/world/EntityInterface.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace irr::scene
{
class IMesh;
class IMeshBuffer;
} // namespace irr::scene

namespace Graphics::Scene
{

// The box around a set of points; empty until the first point.
struct CMeshBox
{
    void Add(const CVector& point);
    bool IsEmpty() const { return m_empty; }

    CVector minimum;
    CVector maximum;

private:
    bool m_empty = true;
};

// Appends the positions of the buffer's vertices, multiplied componentwise
// by the scale, and grows the box by them when one is given; the buffer's
// vertex count.
uint32_t ReadBufferVertices(const irr::scene::IMeshBuffer* buffer, const CVector& scale,
                            std::vector<CVector>& vertices, CMeshBox* box);

// Calls visit with the three corners, multiplied by the scale, of every
// triangle of the buffer whose edge cross product has a squared length
// above minimumArea (degenerate ones and those with a NaN corner never
// count); the number of triangles visited. Indices past the buffer's
// vertices end its triangles. A buffer without indices has none.
using FaceVisitor = std::function<void(const CVector&, const CVector&, const CVector&)>;
uint32_t ForEachBufferFace(const irr::scene::IMeshBuffer* buffer, const CVector& scale, float minimumArea,
                           const FaceVisitor& visit);

// Appends the triangles ForEachBufferFace visits in every buffer and grows
// the box by their corners.
void ReadMeshFaces(irr::scene::IMesh* mesh, const CVector& scale, float minimumArea,
                   std::vector<Misc::World::CTriangle>& faces, CMeshBox& box);
// The same for one buffer.
void ReadBufferFaces(const irr::scene::IMeshBuffer* buffer, const CVector& scale, float minimumArea,
                     std::vector<Misc::World::CTriangle>& faces, CMeshBox& box);

// Single vertices of a mesh. A vertex index counts across the buffers in
// order; an index past the last vertex or a null mesh reads and writes
// nothing. A vertex type other than standard, two texture coordinates or
// tangents throws "[CGraphicsEngine::GetMeshVertex] Unknown vertex type".
// Each returns true.

// The vertices of every buffer; 0 for a null mesh.
uint32_t GetNumberOfMeshVertices(irr::scene::IMesh* mesh);
bool GetMeshVertexColor(irr::scene::IMesh* mesh, uint32_t index, CColor& color);
bool SetMeshVertexColor(irr::scene::IMesh* mesh, uint32_t index, const CColor& color);
bool GetMeshVertexPosition(irr::scene::IMesh* mesh, uint32_t index, CVector& position);
bool SetMeshVertexPosition(irr::scene::IMesh* mesh, uint32_t index, const CVector& position);
bool GetMeshVertexNormal(irr::scene::IMesh* mesh, uint32_t index, CVector& normal);
bool SetMeshVertexNormal(irr::scene::IMesh* mesh, uint32_t index, const CVector& normal);
// The second texture coordinates when asked for and the vertex has them.
bool GetMeshVertexUV(irr::scene::IMesh* mesh, uint32_t index, bool secondSet, CPoint& uv);
bool SetMeshVertexUV(irr::scene::IMesh* mesh, uint32_t index, bool secondSet, const CPoint& uv);

// Mesh geometry as point lists, for buffers of the three vertex layouts
// above: another layout throws "[CGraphicsEngine::GetMeshVerticesFromBuffer]
// Unknown mesh type" or "[CGraphicsEngine::GetMeshFaces] Unknown mesh
// type". Null meshes and buffers give 0.

// ReadBufferVertices; the buffer's vertex count.
uint32_t GetMeshVerticesFromBuffer(const irr::scene::IMeshBuffer* buffer, const CVector& scale,
                                   std::vector<CVector>& points, CMeshBox* box);
// The same over all buffers; the sum.
uint32_t GetEntityVertices(irr::scene::IMesh* mesh, const CVector& scale, std::vector<CVector>& points,
                           CMeshBox* box);
// Appends the three corners of each triangle ForEachBufferFace visits
// and grows the box by them when one is given; the number of triangles.
uint32_t GetMeshFaces(const irr::scene::IMeshBuffer* buffer, const CVector& scale,
                      std::vector<CVector>& points, float minimumArea, CMeshBox* box);
uint32_t GetEntityFaces(irr::scene::IMesh* mesh, const CVector& scale, std::vector<CVector>& points,
                        float minimumArea, CMeshBox* box);

} // namespace Graphics::Scene
