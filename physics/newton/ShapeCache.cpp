#include "physics/newton/ShapeCache.h"

#include <LinearMath/btConvexHullComputer.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace
{

uint32_t Bits(btScalar value)
{
    float narrow = static_cast<float>(value);
    uint32_t bits = 0;
    std::memcpy(&bits, &narrow, sizeof bits);
    return bits;
}

// FNV-1a over the coordinates' bits.
uint64_t Fingerprint(const std::vector<btVector3>& cloud)
{
    uint64_t hash = 14695981039346656037ull;
    for (const btVector3& point : cloud)
        for (int axis = 0; axis < 3; ++axis)
        {
            const uint32_t bits = Bits(point[axis]);
            for (int byte = 0; byte < 4; ++byte)
            {
                hash ^= (bits >> (8 * byte)) & 0xFFu;
                hash *= 1099511628211ull;
            }
        }
    return hash;
}

bool SameCloud(const std::vector<btVector3>& a, const std::vector<btVector3>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        for (int axis = 0; axis < 3; ++axis)
            if (Bits(a[i][axis]) != Bits(b[i][axis]))
                return false;
    return true;
}

std::array<uint32_t, 16> IdentityBits()
{
    std::array<uint32_t, 16> bits{};
    for (int i = 0; i < 16; ++i)
        bits[i] = Bits(i % 5 == 0 ? 1.0f : 0.0f);
    return bits;
}

} // namespace

ShapeKey::ShapeKey(int shapeKind, const btVector3& numbers, const ConvexOutline* hull, const float* offset)
    : kind(shapeKind), outline(hull), size{Bits(numbers.x()), Bits(numbers.y()), Bits(numbers.z())}
{
    static const std::array<uint32_t, 16> identity = IdentityBits();
    if (offset == nullptr)
        placement = identity;
    else
        for (int i = 0; i < 16; ++i)
            placement[i] = Bits(offset[i]);
}

bool ShapeKey::operator<(const ShapeKey& other) const
{
    if (kind != other.kind)
        return kind < other.kind;
    if (outline != other.outline)
        return std::less<const ConvexOutline*>()(outline, other.outline);
    // Any strict order will do: the numbers' bits, one comparison each.
    if (const int bySize = std::memcmp(size.data(), other.size.data(), sizeof size))
        return bySize < 0;
    return std::memcmp(placement.data(), other.placement.data(), sizeof placement) < 0;
}

NewtonCollision* ShapeCache::FindCollision(const ShapeKey& key) const
{
    const auto found = m_collisions.find(key);
    return found != m_collisions.end() ? found->second : nullptr;
}

ShapeCache::SharedCollisions::iterator ShapeCache::KeepCollision(const ShapeKey& key,
                                                                 NewtonCollision* collision)
{
    return m_collisions.insert_or_assign(key, collision).first;
}

void ShapeCache::ForgetCollision(SharedCollisions::iterator kept)
{
    m_collisions.erase(kept);
}

void BuildClippingFaces(const std::vector<btVector3>& points, const std::vector<std::vector<int>>& faces,
                        btConvexPolyhedron& clipping)
{
    clipping.m_vertices.resize(0);
    clipping.m_faces.resize(0);
    clipping.m_vertices.reserve(static_cast<int>(points.size()));
    btVector3 centre(0, 0, 0);
    for (const btVector3& point : points)
    {
        clipping.m_vertices.push_back(point);
        centre += point;
    }
    if (!points.empty())
        centre /= btScalar(points.size());
    // In place: a face pushed into the array would copy its index array.
    clipping.m_faces.resize(static_cast<int>(faces.size()));
    int kept = 0;
    for (const auto& loop : faces)
    {
        btVector3 normal(0, 0, 0);
        for (size_t i = 0; i < loop.size(); ++i)
            normal += points[loop[i]].cross(points[loop[(i + 1) % loop.size()]]);
        if (loop.size() < 3 || normal.length2() <= SIMD_EPSILON)
            continue;
        normal.normalize();
        // Each face turning counter-clockwise seen from outside, with its
        // outward plane.
        const bool inward = normal.dot(points[loop[0]] - centre) < 0;
        if (inward)
            normal = -normal;
        btFace& face = clipping.m_faces[kept++];
        face.m_indices.reserve(static_cast<int>(loop.size()));
        for (size_t i = 0; i < loop.size(); ++i)
            face.m_indices.push_back(loop[inward ? loop.size() - 1 - i : i]);
        face.m_plane[0] = normal.x();
        face.m_plane[1] = normal.y();
        face.m_plane[2] = normal.z();
        face.m_plane[3] = -normal.dot(points[loop[0]]);
    }
    clipping.m_faces.resize(kept);
    // Clipping reads only the faces and corners: Bullet's initialize (edges,
    // extents and an inner box searched by containment tests) would cost
    // more than the rest of a body's making.
}

std::shared_ptr<const ConvexOutline> ShapeCache::Box(const btVector3& size)
{
    const std::array<uint32_t, 3> key = {Bits(size.x()), Bits(size.y()), Bits(size.z())};
    const auto found = m_boxes.find(key);
    if (found != m_boxes.end())
        return found->second;
    auto box = std::make_shared<ConvexOutline>();
    const btVector3 half = size * btScalar(0.5);
    for (int i = 0; i < 8; ++i)
        box->points.emplace_back(i & 1 ? half.x() : -half.x(), i & 2 ? half.y() : -half.y(),
                                 i & 4 ? half.z() : -half.z());
    // Per axis the corners whose bit of the axis is clear, then set.
    box->faces = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
    BuildClippingFaces(box->points, box->faces, box->clipping);
    Trim();
    m_boxes.emplace(key, box);
    return box;
}

std::shared_ptr<const ConvexOutline> ShapeCache::Hull(const std::vector<btVector3>& cloud)
{
    if (cloud.empty())
        return nullptr;
    const uint64_t fingerprint = Fingerprint(cloud);
    const auto bucket = m_hulls.find(fingerprint);
    if (bucket != m_hulls.end())
        for (const HullEntry& entry : bucket->second)
            if (SameCloud(entry.cloud, cloud))
                return entry.hull;
    // Only the hull's own vertices and faces: a mesh's cloud may hold
    // thousands of inner points.
    btConvexHullComputer computer;
    computer.compute(&cloud[0].x(), sizeof(btVector3), static_cast<int>(cloud.size()), 0, 0);
    if (computer.vertices.size() == 0)
        return nullptr;
    auto hull = std::make_shared<ConvexOutline>();
    for (int i = 0; i < computer.vertices.size(); ++i)
        hull->points.push_back(computer.vertices[i]);
    for (int f = 0; f < computer.faces.size(); ++f)
    {
        std::vector<int> face;
        const btConvexHullComputer::Edge* start = &computer.edges[computer.faces[f]];
        const btConvexHullComputer::Edge* edge = start;
        do
        {
            face.push_back(edge->getTargetVertex());
            edge = edge->getNextEdgeOfFace();
        } while (edge != start && face.size() <= static_cast<size_t>(computer.vertices.size()));
        hull->faces.push_back(std::move(face));
    }
    BuildClippingFaces(hull->points, hull->faces, hull->clipping);
    Trim();
    m_hulls[fingerprint].push_back(HullEntry{cloud, hull});
    ++m_hullCount;
    return hull;
}

void ShapeCache::Trim()
{
    if (m_boxes.size() + m_hullCount < m_sweepAt)
        return;
    for (auto box = m_boxes.begin(); box != m_boxes.end();)
        box = box->second.use_count() == 1 ? m_boxes.erase(box) : std::next(box);
    for (auto bucket = m_hulls.begin(); bucket != m_hulls.end();)
    {
        auto& entries = bucket->second;
        const size_t before = entries.size();
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const HullEntry& entry) { return entry.hull.use_count() == 1; }),
                      entries.end());
        m_hullCount -= before - entries.size();
        bucket = entries.empty() ? m_hulls.erase(bucket) : std::next(bucket);
    }
    m_sweepAt = std::max(kKept, 2 * (m_boxes.size() + m_hullCount));
}
