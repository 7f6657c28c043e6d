#pragma once

// A collision shape handle. The geometry lives in a Bullet primitive (box,
// sphere, scaled sphere, hull or triangle tree) in its own frame; the
// placement says where that primitive sits in the collision's frame (the
// offset matrix, or a modifier's matrix). Bodies place the primitive
// themselves, so a centred shape costs no compound.

#include "physics/newton/Newton.h"
#include "physics/newton/ShapeCache.h"

#include <LinearMath/btTransform.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class btCollisionShape;
class btConvexPolyhedron;
class TreeMesh;

struct NewtonCollision
{
    enum class Kind
    {
        Box,
        Sphere,
        Ellipsoid,
        Hull,
        Tree
    };

    NewtonCollision(NewtonWorld* world, Kind kind);
    ~NewtonCollision();
    NewtonCollision(const NewtonCollision&) = delete;
    NewtonCollision& operator=(const NewtonCollision&) = delete;

    // The shapes. Null when the numbers given cannot make one.
    static NewtonCollision* CreateBox(NewtonWorld* world, const btVector3& size, const float* offset);
    static NewtonCollision* CreateSphere(NewtonWorld* world, const btVector3& radii, const float* offset);
    static NewtonCollision* CreateHull(NewtonWorld* world, const std::vector<btVector3>& cloud,
                                       const float* offset);
    static NewtonCollision* CreateModifier(NewtonWorld* world, const NewtonCollision& convex);
    static NewtonCollision* CreateTree(NewtonWorld* world, std::unique_ptr<TreeMesh> mesh);

    bool IsConvex() const { return kind != Kind::Tree; }
    btCollisionShape* Primitive() const;
    const btTransform& Placement() const { return m_placement; }
    const TreeMesh* Tree() const { return m_tree.get(); }

    // Tree building: faces collect until EndBuild swaps in a new mesh.
    void BeginBuild();
    void AddFace(int vertexCount, const float* vertices, int strideInBytes, int attribute);
    void EndBuild(bool optimise);

    // Modifier: the new placement and stretch of the geometry.
    void SetModifierMatrix(const float* matrix);

    // Per unit mass, in the collision's frame; volume 0 for a tree or a flat hull.
    void MassProperties(btVector3& inertia, btVector3& centroid, btScalar& volume) const;
    // Every face in the collision's frame.
    void
    ForEachPolygon(const std::function<void(int count, const btVector3* points, int faceId)>& visit) const;
    // The face attribute a ray reports for a hit on the given part.
    int CollisionId(int triangleIndex) const;
    // The faces a box or hull primitive is clipped with against mesh
    // triangles (FaceClippingAlgorithm), a modifier's as stretched now;
    // null for other shapes.
    static const btConvexPolyhedron* ClippingFacesOf(const btCollisionShape& shape);
    // Where a shape that never changes is kept to be handed out again;
    // none for modifiers and trees.
    const std::optional<ShapeCache::SharedCollisions::iterator>& SharedAs() const { return m_sharedAs; }

    NewtonWorld* const world;
    const Kind kind;
    int holds = 1;
    bool isModifier = false;
    // Bodies that use this collision, told when its shape changes.
    std::vector<NewtonBody*> users;

private:
    // One more hold, for one more caller.
    NewtonCollision* Share();
    void KeepShared(const ShapeKey& key);
    void NotifyUsers();
    // Kept beside the primitive, not in it: Bullet's own search between
    // two convex shapes changes once they carry faces.
    void KeepClippingFaces();
    btVector3 ScaledSize() const;
    std::vector<btVector3> ScaledHullPoints() const;

    // Box: full size; sphere and ellipsoid: radii.
    btVector3 m_size{0, 0, 0};
    // A modifier's stretch along the geometry's own axes.
    btVector3 m_scale{1, 1, 1};
    // A box's or hull's corners and faces, shared by collisions of the same
    // numbers.
    std::shared_ptr<const ConvexOutline> m_outline;
    btTransform m_placement = btTransform::getIdentity();
    // A modifier's faces while stretched.
    std::unique_ptr<btConvexPolyhedron> m_stretchedFaces;
    std::optional<ShapeCache::SharedCollisions::iterator> m_sharedAs;
    std::unique_ptr<btCollisionShape> m_primitive;
    std::unique_ptr<TreeMesh> m_tree;
    std::vector<float> m_pendingSoup;
    std::vector<int32_t> m_pendingAttributes;
};
