#pragma once

#include "core/foundation/Vector.h"
#include "core/io/EntityInterface.h"

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

} // namespace Graphics::Scene
