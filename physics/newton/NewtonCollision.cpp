#include "physics/newton/NewtonCollision.h"

#include "physics/newton/NewtonBody.h"
#include "physics/newton/NewtonMath.h"
#include "physics/newton/NewtonWorld.h"
#include "physics/newton/ShapeCache.h"
#include "physics/newton/TreeMesh.h"

#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btConvexPolyhedron.h>
#include <BulletCollision/CollisionShapes/btConvexHullShape.h>
#include <BulletCollision/CollisionShapes/btMultiSphereShape.h>
#include <BulletCollision/CollisionShapes/btSphereShape.h>

#include <cmath>

namespace
{

// Bullet's default margin (0.04) makes shapes visibly fatter; ours is 1 mm.
constexpr btScalar kMargin = 0.001f;
constexpr btScalar kMinExtent = 2 * kMargin;
constexpr btScalar kMinScale = 0.001f;
constexpr btScalar kMaxScale = 1000.0f;

bool IsFiniteVector(const btVector3& v)
{
    return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z());
}

bool ReadPlacement(const float* offset, btTransform& placement)
{
    placement.setIdentity();
    if (!offset)
        return true;
    if (!NewtonMath::IsFinite(offset, 16))
        return false;
    placement = NewtonMath::ToTransform(offset);
    return true;
}

std::unique_ptr<btCollisionShape> MakeBox(const btVector3& size, const btVector3& scale)
{
    auto box = std::make_unique<btBoxShape>(size * btScalar(0.5));
    box->setMargin(kMargin);
    if (scale != btVector3(1, 1, 1))
        box->setLocalScaling(scale);
    return box;
}

// Sphere, or an ellipsoid as a unit sphere scaled per axis.
std::unique_ptr<btCollisionShape> MakeRound(const btVector3& radii, const btVector3& scale, bool scalable)
{
    const btVector3 scaled = radii * scale;
    if (!scalable && scaled.x() == scaled.y() && scaled.y() == scaled.z())
        return std::make_unique<btSphereShape>(scaled.x());
    const btVector3 centre(0, 0, 0);
    const btScalar radius = 1;
    auto sphere = std::make_unique<btMultiSphereShape>(&centre, &radius, 1);
    sphere->setMargin(kMargin);
    sphere->setLocalScaling(scaled);
    return sphere;
}

std::unique_ptr<btCollisionShape> MakeHull(const std::vector<btVector3>& points, const btVector3& scale)
{
    auto hull = std::make_unique<btConvexHullShape>();
    for (const btVector3& point : points)
        hull->addPoint(point, false);
    hull->setMargin(kMargin);
    hull->setLocalScaling(scale);
    hull->recalcLocalAabb();
    return hull;
}

// Unit-mass inertia about the centroid of a closed polyhedron (faces as
// vertex loops), by summing the tetrahedra each face triangle makes with the
// origin. False when it has no volume.
bool PolyhedronMass(const std::vector<btVector3>& points, const std::vector<std::vector<int>>& faces,
                    btVector3& inertia, btVector3& centroid, btScalar& volume)
{
    double total = 0.0;
    double first[3] = {0, 0, 0};
    double second[3][3] = {};
    for (const auto& face : faces)
    {
        for (size_t i = 1; i + 1 < face.size(); ++i)
        {
            const btVector3& a = points[face[0]];
            const btVector3& b = points[face[i]];
            const btVector3& c = points[face[i + 1]];
            const double v = double(a.dot(b.cross(c))) / 6.0;
            const btVector3 sum = a + b + c;
            total += v;
            for (int r = 0; r < 3; ++r)
            {
                first[r] += v * sum[r] / 4.0;
                for (int s = 0; s < 3; ++s)
                    second[r][s] += v / 20.0 *
                                    (double(a[r]) * a[s] + double(b[r]) * b[s] + double(c[r]) * c[s] +
                                     double(sum[r]) * sum[s]);
            }
        }
    }
    if (!(std::fabs(total) > 1e-12))
        return false;
    double centre[3];
    for (int r = 0; r < 3; ++r)
        centre[r] = first[r] / total;
    double moment[3];
    for (int r = 0; r < 3; ++r)
        moment[r] = second[r][r] / total - centre[r] * centre[r];
    inertia = btVector3(btScalar(moment[1] + moment[2]), btScalar(moment[0] + moment[2]),
                        btScalar(moment[0] + moment[1]));
    centroid = btVector3(btScalar(centre[0]), btScalar(centre[1]), btScalar(centre[2]));
    volume = btScalar(std::fabs(total));
    return true;
}

btVector3 BoxInertia(const btVector3& size)
{
    const btVector3 s2 = size * size;
    return btVector3(s2.y() + s2.z(), s2.x() + s2.z(), s2.x() + s2.y()) / btScalar(12);
}

} // namespace

NewtonCollision::NewtonCollision(NewtonWorld* owner, Kind shapeKind) : world(owner), kind(shapeKind) {}

NewtonCollision::~NewtonCollision() = default;

const btConvexPolyhedron* NewtonCollision::ClippingFacesOf(const btCollisionShape& shape)
{
    const int type = shape.getShapeType();
    if (type != BOX_SHAPE_PROXYTYPE && type != CONVEX_HULL_SHAPE_PROXYTYPE)
        return nullptr;
    return static_cast<const btConvexPolyhedron*>(shape.getUserPointer());
}

void NewtonCollision::KeepClippingFaces()
{
    if (!m_outline)
        return;
    if (m_scale == btVector3(1, 1, 1))
    {
        m_stretchedFaces.reset();
        m_primitive->setUserPointer(const_cast<btConvexPolyhedron*>(&m_outline->clipping));
        return;
    }
    // As stretched: a modifier's faces follow its stretch.
    if (!m_stretchedFaces)
        m_stretchedFaces = std::make_unique<btConvexPolyhedron>();
    BuildClippingFaces(ScaledHullPoints(), m_outline->faces, *m_stretchedFaces);
    m_primitive->setUserPointer(m_stretchedFaces.get());
}

btCollisionShape* NewtonCollision::Primitive() const
{
    return m_tree ? m_tree->Shape() : m_primitive.get();
}

NewtonCollision* NewtonCollision::Share()
{
    if (holds++ == 0)
        world->Revive(this);
    return this;
}

void NewtonCollision::KeepShared(const ShapeKey& key)
{
    m_sharedAs = world->shapes.KeepCollision(key, this);
}

NewtonCollision* NewtonCollision::CreateBox(NewtonWorld* world, const btVector3& size, const float* offset)
{
    const ShapeKey key(static_cast<int>(Kind::Box), size, nullptr, offset);
    if (NewtonCollision* same = world->shapes.FindCollision(key))
        return same->Share();
    auto collision = std::make_unique<NewtonCollision>(world, Kind::Box);
    if (!IsFiniteVector(size) || !ReadPlacement(offset, collision->m_placement))
        return nullptr;
    collision->m_size = size.absolute();
    collision->m_size.setMax(btVector3(kMinExtent, kMinExtent, kMinExtent));
    collision->m_primitive = MakeBox(collision->m_size, collision->m_scale);
    collision->m_outline = world->shapes.Box(collision->m_size);
    collision->KeepClippingFaces();
    world->AddCollision(collision.get());
    collision->KeepShared(key);
    return collision.release();
}

NewtonCollision* NewtonCollision::CreateSphere(NewtonWorld* world, const btVector3& radii,
                                               const float* offset)
{
    const bool round = radii.x() == radii.y() && radii.y() == radii.z();
    const Kind kind = round ? Kind::Sphere : Kind::Ellipsoid;
    const ShapeKey key(static_cast<int>(kind), radii, nullptr, offset);
    if (NewtonCollision* same = world->shapes.FindCollision(key))
        return same->Share();
    auto collision = std::make_unique<NewtonCollision>(world, kind);
    if (!IsFiniteVector(radii) || !ReadPlacement(offset, collision->m_placement))
        return nullptr;
    collision->m_size = radii.absolute();
    collision->m_size.setMax(btVector3(kMargin, kMargin, kMargin));
    collision->m_primitive = MakeRound(collision->m_size, collision->m_scale, false);
    world->AddCollision(collision.get());
    collision->KeepShared(key);
    return collision.release();
}

NewtonCollision* NewtonCollision::CreateHull(NewtonWorld* world, const std::vector<btVector3>& cloud,
                                             const float* offset)
{
    auto collision = std::make_unique<NewtonCollision>(world, Kind::Hull);
    if (cloud.empty() || !ReadPlacement(offset, collision->m_placement))
        return nullptr;
    for (const btVector3& point : cloud)
        if (!IsFiniteVector(point))
            return nullptr;
    collision->m_outline = world->shapes.Hull(cloud);
    if (!collision->m_outline)
        return nullptr;
    const ShapeKey key(static_cast<int>(Kind::Hull), btVector3(0, 0, 0), collision->m_outline.get(), offset);
    if (NewtonCollision* same = world->shapes.FindCollision(key))
        return same->Share();
    collision->m_primitive = MakeHull(collision->m_outline->points, collision->m_scale);
    collision->KeepClippingFaces();
    world->AddCollision(collision.get());
    collision->KeepShared(key);
    return collision.release();
}

NewtonCollision* NewtonCollision::CreateModifier(NewtonWorld* world, const NewtonCollision& convex)
{
    if (!convex.IsConvex() || convex.isModifier)
        return nullptr;
    auto collision = std::make_unique<NewtonCollision>(world, convex.kind);
    collision->isModifier = true;
    collision->m_size = convex.m_size;
    collision->m_outline = convex.m_outline;
    collision->m_placement = convex.m_placement;
    switch (convex.kind)
    {
    case Kind::Box:
        collision->m_primitive = MakeBox(collision->m_size, collision->m_scale);
        break;
    case Kind::Sphere:
    case Kind::Ellipsoid:
        collision->m_primitive = MakeRound(collision->m_size, collision->m_scale, true);
        break;
    default:
        collision->m_primitive = MakeHull(collision->m_outline->points, collision->m_scale);
        break;
    }
    collision->KeepClippingFaces();
    world->AddCollision(collision.get());
    return collision.release();
}

NewtonCollision* NewtonCollision::CreateTree(NewtonWorld* world, std::unique_ptr<TreeMesh> mesh)
{
    auto collision = std::make_unique<NewtonCollision>(world, Kind::Tree);
    collision->m_tree = mesh ? std::move(mesh)
                             : std::make_unique<TreeMesh>(std::vector<float>(), std::vector<int32_t>(),
                                                          std::vector<int32_t>());
    world->AddCollision(collision.get());
    return collision.release();
}

void NewtonCollision::BeginBuild()
{
    m_pendingSoup.clear();
    m_pendingAttributes.clear();
}

void NewtonCollision::AddFace(int vertexCount, const float* vertices, int strideInBytes, int attribute)
{
    if (kind != Kind::Tree || vertexCount < 3 || !vertices || strideInBytes < int(3 * sizeof(float)) ||
        m_pendingAttributes.size() + vertexCount > 4 * size_t(1 << 24))
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(vertices);
    auto vertex = [&](int i) { return reinterpret_cast<const float*>(bytes + size_t(i) * strideInBytes); };
    for (int i = 0; i < vertexCount; ++i)
        if (!NewtonMath::IsFinite(vertex(i), 3))
            return;
    // A polygon becomes a fan of triangles.
    for (int i = 1; i + 1 < vertexCount; ++i)
    {
        for (int corner : {0, i, i + 1})
            m_pendingSoup.insert(m_pendingSoup.end(), vertex(corner), vertex(corner) + 3);
        m_pendingAttributes.push_back(attribute);
    }
}

void NewtonCollision::EndBuild(bool optimise)
{
    if (kind != Kind::Tree)
        return;
    std::unique_ptr<TreeMesh> old = std::move(m_tree);
    m_tree = TreeMesh::FromSoup(m_pendingSoup, m_pendingAttributes, optimise);
    m_pendingSoup.clear();
    m_pendingAttributes.clear();
    // Bodies still point at the old shape until they are told.
    NotifyUsers();
}

void NewtonCollision::SetModifierMatrix(const float* matrix)
{
    if (!isModifier || !matrix || !NewtonMath::IsFinite(matrix, 16))
        return;
    btVector3 scale;
    for (int row = 0; row < 3; ++row)
    {
        const btScalar length = btVector3(matrix[row * 4], matrix[row * 4 + 1], matrix[row * 4 + 2]).length();
        scale[row] = NewtonMath::Clamp(length, kMinScale, kMaxScale, 1);
    }
    const btTransform placement = NewtonMath::ToTransform(matrix);
    // Set every step: the same matrix changes nothing.
    if (scale == m_scale && placement.getOrigin() == m_placement.getOrigin() &&
        placement.getBasis() == m_placement.getBasis())
        return;
    m_scale = scale;
    m_placement = placement;
    if (kind == Kind::Sphere || kind == Kind::Ellipsoid)
        m_primitive->setLocalScaling(m_size * m_scale);
    else
        m_primitive->setLocalScaling(m_scale);
    KeepClippingFaces();
    NotifyUsers();
}

void NewtonCollision::NotifyUsers()
{
    for (NewtonBody* body : users)
        body->RefreshShape();
}

btVector3 NewtonCollision::ScaledSize() const
{
    return m_size * m_scale;
}

std::vector<btVector3> NewtonCollision::ScaledHullPoints() const
{
    std::vector<btVector3> points;
    if (!m_outline)
        return points;
    points.reserve(m_outline->points.size());
    for (const btVector3& point : m_outline->points)
        points.push_back(point * m_scale);
    return points;
}

void NewtonCollision::MassProperties(btVector3& inertia, btVector3& centroid, btScalar& volume) const
{
    btVector3 local(0, 0, 0);
    btVector3 localCentroid(0, 0, 0);
    volume = 0;
    switch (kind)
    {
    case Kind::Box:
    {
        const btVector3 size = ScaledSize();
        local = BoxInertia(size);
        volume = size.x() * size.y() * size.z();
        break;
    }
    case Kind::Sphere:
    case Kind::Ellipsoid:
    {
        const btVector3 r2 = ScaledSize() * ScaledSize();
        local = btVector3(r2.y() + r2.z(), r2.x() + r2.z(), r2.x() + r2.y()) * btScalar(0.2);
        const btVector3 r = ScaledSize();
        volume = btScalar(4.0 / 3.0 * M_PI) * r.x() * r.y() * r.z();
        break;
    }
    case Kind::Hull:
    {
        const std::vector<btVector3> points = ScaledHullPoints();
        if (!PolyhedronMass(points, m_outline->faces, local, localCentroid, volume))
        {
            // A flat hull: the inertia of its bounding box, no volume.
            btVector3 low = points[0];
            btVector3 high = points[0];
            for (const btVector3& point : points)
            {
                low.setMin(point);
                high.setMax(point);
            }
            local = BoxInertia(high - low);
            localCentroid = (low + high) * btScalar(0.5);
            volume = 0;
        }
        break;
    }
    case Kind::Tree:
        break;
    }
    // Principal moments turned into the collision's frame; the products of
    // inertia a turned placement brings are dropped.
    const btMatrix3x3& basis = m_placement.getBasis();
    for (int i = 0; i < 3; ++i)
    {
        btScalar sum = 0;
        for (int k = 0; k < 3; ++k)
            sum += basis[i][k] * basis[i][k] * local[k];
        inertia[i] = sum;
    }
    centroid = m_placement * localCentroid;
}

void NewtonCollision::ForEachPolygon(
    const std::function<void(int count, const btVector3* points, int faceId)>& visit) const
{
    btVector3 face[4];
    switch (kind)
    {
    case Kind::Box:
    {
        const btVector3 half = ScaledSize() * btScalar(0.5);
        // Per axis, the two faces; corners go round each face.
        for (int axis = 0; axis < 3; ++axis)
        {
            const int u = (axis + 1) % 3;
            const int v = (axis + 2) % 3;
            for (btScalar side : {btScalar(-1), btScalar(1)})
            {
                const btScalar corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
                for (int c = 0; c < 4; ++c)
                {
                    btVector3 point;
                    point[axis] = side * half[axis];
                    point[u] = corners[c][0] * half[u];
                    point[v] = corners[c][1] * half[v];
                    face[c] = m_placement * point;
                }
                visit(4, face, 0);
            }
        }
        break;
    }
    case Kind::Sphere:
    case Kind::Ellipsoid:
    {
        const btVector3 radii = ScaledSize();
        constexpr int kRings = 8;
        constexpr int kSegments = 12;
        auto point = [&](int ring, int segment)
        {
            const double theta = M_PI * ring / kRings;
            const double phi = 2 * M_PI * segment / kSegments;
            const btVector3 unit(btScalar(std::sin(theta) * std::cos(phi)), btScalar(std::cos(theta)),
                                 btScalar(std::sin(theta) * std::sin(phi)));
            return m_placement * (unit * radii);
        };
        for (int ring = 0; ring < kRings; ++ring)
            for (int segment = 0; segment < kSegments; ++segment)
            {
                face[0] = point(ring, segment);
                face[1] = point(ring + 1, segment);
                face[2] = point(ring + 1, segment + 1);
                face[3] = point(ring, segment + 1);
                visit(4, face, 0);
            }
        break;
    }
    case Kind::Hull:
    {
        const std::vector<btVector3> points = ScaledHullPoints();
        std::vector<btVector3> polygon;
        for (const auto& indices : m_outline->faces)
        {
            polygon.clear();
            for (int index : indices)
                polygon.push_back(m_placement * points[index]);
            if (!polygon.empty())
                visit(static_cast<int>(polygon.size()), polygon.data(), 0);
        }
        break;
    }
    case Kind::Tree:
        for (int t = 0; t < m_tree->TriangleCount(); ++t)
        {
            m_tree->Triangle(t, face);
            visit(3, face, m_tree->Attribute(t));
        }
        break;
    }
}

int NewtonCollision::CollisionId(int triangleIndex) const
{
    return kind == Kind::Tree ? m_tree->Attribute(triangleIndex) : 0;
}
