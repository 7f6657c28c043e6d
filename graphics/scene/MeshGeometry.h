#pragma once

#include "core/foundation/Vector.h"
#include "core/io/EntityInterface.h"

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

// Appends the positions of every vertex of every buffer, multiplied
// componentwise by the scale, and grows the box by them.
void ReadMeshVertices(irr::scene::IMesh* mesh, const CVector& scale, std::vector<CVector>& vertices,
                      CMeshBox& box);

// Appends the triangles of every buffer, corners multiplied by the scale,
// leaving out those whose edge cross product has a squared length not above
// minimumArea (degenerate ones always); grows the box by the kept corners.
// Indices past a buffer's vertices end that buffer's triangles.
void ReadMeshFaces(irr::scene::IMesh* mesh, const CVector& scale, float minimumArea,
                   std::vector<Misc::World::CTriangle>& faces, CMeshBox& box);
// The same for one buffer.
void ReadBufferFaces(const irr::scene::IMeshBuffer* buffer, const CVector& scale, float minimumArea,
                     std::vector<Misc::World::CTriangle>& faces, CMeshBox& box);

} // namespace Graphics::Scene
