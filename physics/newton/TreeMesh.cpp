#include "physics/newton/TreeMesh.h"

#include <BulletCollision/CollisionShapes/btBvhTriangleMeshShape.h>
#include <BulletCollision/CollisionShapes/btEmptyShape.h>
#include <BulletCollision/CollisionShapes/btTriangleIndexVertexArray.h>

#include <cstring>
#include <unordered_map>

namespace
{

struct VertexKey
{
    uint32_t bits[3];
    bool operator==(const VertexKey& other) const { return std::memcmp(bits, other.bits, sizeof(bits)) == 0; }
};

struct VertexKeyHash
{
    size_t operator()(const VertexKey& key) const
    {
        size_t hash = 1469598103934665603ull;
        for (uint32_t bits : key.bits)
            hash = (hash ^ bits) * 1099511628211ull;
        return hash;
    }
};

VertexKey KeyOf(const float* vertex)
{
    VertexKey key;
    for (int i = 0; i < 3; ++i)
    {
        // -0 and +0 are the same point.
        const float value = vertex[i] == 0.0f ? 0.0f : vertex[i];
        std::memcpy(&key.bits[i], &value, sizeof(float));
    }
    return key;
}

} // namespace

TreeMesh::TreeMesh(std::vector<float> vertices, std::vector<int32_t> indices, std::vector<int32_t> attributes)
    : m_vertices(std::move(vertices)), m_indices(std::move(indices)), m_attributes(std::move(attributes))
{
    if (m_attributes.empty())
    {
        // Bullet cannot build a tree over no triangles.
        m_shape = std::make_unique<btEmptyShape>();
        return;
    }
    m_meshInterface = std::make_unique<btTriangleIndexVertexArray>(
        TriangleCount(), m_indices.data(), 3 * static_cast<int>(sizeof(int32_t)),
        static_cast<int>(m_vertices.size() / 3), m_vertices.data(), 3 * static_cast<int>(sizeof(float)));
    m_shape = std::make_unique<btBvhTriangleMeshShape>(m_meshInterface.get(), true, true);
}

TreeMesh::~TreeMesh()
{
    // The shape reads the mesh interface: it goes first.
    m_shape.reset();
    m_meshInterface.reset();
}

std::unique_ptr<TreeMesh> TreeMesh::FromSoup(const std::vector<float>& soup,
                                             const std::vector<int32_t>& attributes, bool optimise)
{
    const size_t triangles = attributes.size();
    std::vector<float> vertices;
    std::vector<int32_t> indices;
    std::vector<int32_t> keptAttributes;
    indices.reserve(triangles * 3);
    keptAttributes.reserve(triangles);
    if (!optimise)
    {
        vertices = soup;
        for (size_t i = 0; i < triangles * 3; ++i)
            indices.push_back(static_cast<int32_t>(i));
        keptAttributes = attributes;
        return std::make_unique<TreeMesh>(std::move(vertices), std::move(indices), std::move(keptAttributes));
    }
    std::unordered_map<VertexKey, int32_t, VertexKeyHash> welded;
    for (size_t t = 0; t < triangles; ++t)
    {
        int32_t corner[3];
        for (int c = 0; c < 3; ++c)
        {
            const float* vertex = &soup[(t * 3 + c) * 3];
            auto found = welded.emplace(KeyOf(vertex), static_cast<int32_t>(vertices.size() / 3));
            if (found.second)
                vertices.insert(vertices.end(), vertex, vertex + 3);
            corner[c] = found.first->second;
        }
        const btVector3 a(vertices[corner[0] * 3], vertices[corner[0] * 3 + 1], vertices[corner[0] * 3 + 2]);
        const btVector3 b(vertices[corner[1] * 3], vertices[corner[1] * 3 + 1], vertices[corner[1] * 3 + 2]);
        const btVector3 c(vertices[corner[2] * 3], vertices[corner[2] * 3 + 1], vertices[corner[2] * 3 + 2]);
        if (corner[0] == corner[1] || corner[1] == corner[2] || corner[0] == corner[2] ||
            (b - a).cross(c - a).length2() <= btScalar(1e-20))
            continue;
        indices.insert(indices.end(), corner, corner + 3);
        keptAttributes.push_back(attributes[t]);
    }
    return std::make_unique<TreeMesh>(std::move(vertices), std::move(indices), std::move(keptAttributes));
}

int TreeMesh::Attribute(int triangle) const
{
    if (triangle < 0 || triangle >= TriangleCount())
        return 0;
    return m_attributes[triangle];
}

void TreeMesh::Triangle(int triangle, btVector3* points) const
{
    for (int c = 0; c < 3; ++c)
    {
        const float* vertex = &m_vertices[static_cast<size_t>(m_indices[triangle * 3 + c]) * 3];
        points[c] = btVector3(vertex[0], vertex[1], vertex[2]);
    }
}
