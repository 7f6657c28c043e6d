#pragma once

// What a box or a hull derives from its numbers (its corners, its faces as
// vertex loops, and the faces Bullet clips with), made once per world and
// shared by every collision made of the same numbers: an entity's body is
// built again for every change of its scale or mass, and most bodies of a
// level are boxes of a few sizes or hulls of a few meshes.

#include <BulletCollision/CollisionShapes/btConvexPolyhedron.h>
#include <LinearMath/btVector3.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

struct ConvexOutline
{
    std::vector<btVector3> points;
    std::vector<std::vector<int>> faces;
    // The faces as Bullet's face clipping reads them.
    btConvexPolyhedron clipping;
};

// The clipping faces of the polyhedron (faces as vertex loops).
void BuildClippingFaces(const std::vector<btVector3>& points, const std::vector<std::vector<int>>& faces,
                        btConvexPolyhedron& clipping);

struct NewtonCollision;

// What makes two convex collisions the same: their kind, their numbers (a
// box's size, a sphere's radii, or the hull's outline) and their offset
// matrix, bit for bit as given.
struct ShapeKey
{
    int kind = 0;
    const ConvexOutline* outline = nullptr;
    std::array<uint32_t, 3> size{};
    std::array<uint32_t, 16> placement{};

    ShapeKey(int shapeKind, const btVector3& numbers, const ConvexOutline* hull, const float* offset);
    bool operator<(const ShapeKey& other) const;
};

class ShapeCache
{
public:
    using SharedCollisions = std::map<ShapeKey, NewtonCollision*>;

    // Collisions that never change (boxes, spheres, hulls; not modifiers or
    // trees) are handed out again to whoever asks for the same numbers: a
    // level's bodies are made of a few shapes. The cache holds no hold of
    // its own: a collision leaves it when its last holder lets go.
    NewtonCollision* FindCollision(const ShapeKey& key) const;
    SharedCollisions::iterator KeepCollision(const ShapeKey& key, NewtonCollision* collision);
    void ForgetCollision(SharedCollisions::iterator kept);

    // A box of the full size around its centre.
    std::shared_ptr<const ConvexOutline> Box(const btVector3& size);
    // The hull of the cloud; null when the cloud has no hull.
    std::shared_ptr<const ConvexOutline> Hull(const std::vector<btVector3>& cloud);

private:
    struct HullEntry
    {
        std::vector<btVector3> cloud;
        std::shared_ptr<const ConvexOutline> hull;
    };
    // Outlines no collision uses any more go once twice as many are kept
    // as the last sweep left (at least kKept): a sweep costs what the
    // creations since the last one cost.
    static constexpr size_t kKept = 256;
    void Trim();

    SharedCollisions m_collisions;
    std::map<std::array<uint32_t, 3>, std::shared_ptr<const ConvexOutline>> m_boxes;
    std::unordered_map<uint64_t, std::vector<HullEntry>> m_hulls;
    size_t m_hullCount = 0;
    size_t m_sweepAt = kKept;
};
