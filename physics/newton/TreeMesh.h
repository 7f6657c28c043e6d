#pragma once

// The triangle mesh behind a tree collision: its arrays and the Bullet BVH
// shape that reads them, built together and dropped together.

#include <cstdint>
#include <memory>
#include <vector>

class btCollisionShape;
class btTriangleIndexVertexArray;
class btVector3;

class TreeMesh
{
public:
    // Takes welded or raw triangles: three indices and one attribute per
    // triangle. Indices must be below vertices.size() / 3.
    TreeMesh(std::vector<float> vertices, std::vector<int32_t> indices, std::vector<int32_t> attributes);
    ~TreeMesh();
    TreeMesh(const TreeMesh&) = delete;
    TreeMesh& operator=(const TreeMesh&) = delete;

    // A triangle soup (9 floats and one attribute per triangle) made into a
    // mesh; optimising welds equal vertices and drops degenerate triangles.
    static std::unique_ptr<TreeMesh> FromSoup(const std::vector<float>& soup,
                                              const std::vector<int32_t>& attributes, bool optimise);

    btCollisionShape* Shape() const { return m_shape.get(); }
    const std::vector<float>& Vertices() const { return m_vertices; }
    const std::vector<int32_t>& Indices() const { return m_indices; }
    const std::vector<int32_t>& Attributes() const { return m_attributes; }
    int TriangleCount() const { return static_cast<int>(m_attributes.size()); }
    int Attribute(int triangle) const;
    void Triangle(int triangle, btVector3* points) const;

private:
    std::vector<float> m_vertices;
    std::vector<int32_t> m_indices;
    std::vector<int32_t> m_attributes;
    std::unique_ptr<btTriangleIndexVertexArray> m_meshInterface;
    std::unique_ptr<btCollisionShape> m_shape;
};
