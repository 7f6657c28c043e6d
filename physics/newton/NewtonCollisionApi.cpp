// Collision entry points of the interface.
#include "physics/newton/NewtonHandles.h"
#include "physics/newton/NewtonMath.h"
#include "physics/newton/TreeCollisionStream.h"

#include <vector>

NewtonCollision* NewtonCreateBox(const NewtonWorld* world, float dx, float dy, float dz,
                                 const float* offsetMatrix)
{
    if (!world)
        return nullptr;
    return NewtonCollision::CreateBox(Mutable(world), btVector3(dx, dy, dz), offsetMatrix);
}

NewtonCollision* NewtonCreateSphere(const NewtonWorld* world, float radiusX, float radiusY, float radiusZ,
                                    const float* offsetMatrix)
{
    if (!world)
        return nullptr;
    return NewtonCollision::CreateSphere(Mutable(world), btVector3(radiusX, radiusY, radiusZ), offsetMatrix);
}

NewtonCollision* NewtonCreateConvexHull(const NewtonWorld* world, int count, const float* vertexCloud,
                                        int strideInBytes, const float* offsetMatrix)
{
    if (!world || count <= 0 || !vertexCloud || strideInBytes < int(3 * sizeof(float)))
        return nullptr;
    std::vector<btVector3> cloud;
    cloud.reserve(static_cast<size_t>(count));
    const auto* bytes = reinterpret_cast<const unsigned char*>(vertexCloud);
    for (int i = 0; i < count; ++i)
        cloud.push_back(NewtonMath::ToVector(
            reinterpret_cast<const float*>(bytes + static_cast<size_t>(i) * strideInBytes)));
    return NewtonCollision::CreateHull(Mutable(world), cloud, offsetMatrix);
}

NewtonCollision* NewtonCreateConvexHullModifier(const NewtonWorld* world,
                                                const NewtonCollision* convexCollision)
{
    if (!world || !convexCollision)
        return nullptr;
    return NewtonCollision::CreateModifier(Mutable(world), *convexCollision);
}

void NewtonConvexHullModifierSetMatrix(const NewtonCollision* modifier, const float* matrix)
{
    if (modifier)
        Mutable(modifier)->SetModifierMatrix(matrix);
}

NewtonCollision* NewtonCreateTreeCollision(const NewtonWorld* world, std::nullptr_t)
{
    if (!world)
        return nullptr;
    return NewtonCollision::CreateTree(Mutable(world), nullptr);
}

void NewtonTreeCollisionBeginBuild(const NewtonCollision* tree)
{
    if (tree)
        Mutable(tree)->BeginBuild();
}

void NewtonTreeCollisionAddFace(const NewtonCollision* tree, int vertexCount, const float* vertexPtr,
                                int strideInBytes, int faceAttribute)
{
    if (tree)
        Mutable(tree)->AddFace(vertexCount, vertexPtr, strideInBytes, faceAttribute);
}

void NewtonTreeCollisionEndBuild(const NewtonCollision* tree, int optimize)
{
    if (tree)
        Mutable(tree)->EndBuild(optimize != 0);
}

void NewtonTreeCollisionSerialize(const NewtonCollision* tree, NewtonSerialize serializeFunction,
                                  void* serializeHandle)
{
    if (tree && tree->Tree() && serializeFunction)
        TreeCollisionStream::Write(*tree->Tree(), serializeFunction, serializeHandle);
}

NewtonCollision* NewtonCreateTreeCollisionFromSerialization(const NewtonWorld* world, std::nullptr_t,
                                                            NewtonDeserialize deserializeFunction,
                                                            void* serializeHandle)
{
    if (!world || !deserializeFunction)
        return nullptr;
    std::unique_ptr<TreeMesh> mesh = TreeCollisionStream::Read(deserializeFunction, serializeHandle);
    if (!mesh)
        return nullptr;
    return NewtonCollision::CreateTree(Mutable(world), std::move(mesh));
}

void NewtonConvexCollisionCalculateInertialMatrix(const NewtonCollision* convexCollision, float* inertia,
                                                  float* origin)
{
    btVector3 moments(0, 0, 0);
    btVector3 centroid(0, 0, 0);
    btScalar volume = 0;
    if (convexCollision)
        convexCollision->MassProperties(moments, centroid, volume);
    if (inertia)
        NewtonMath::FromVector(moments, inertia);
    if (origin)
        NewtonMath::FromVector(centroid, origin);
}

int NewtonCollisionCollide(const NewtonWorld* world, int maxSize, const NewtonCollision* collisionA,
                           const float* matrixA, const NewtonCollision* collisionB, const float* matrixB,
                           float* contacts, float* normals, float* penetration)
{
    if (!world || !collisionA || !collisionB || !matrixA || !matrixB || !NewtonMath::IsFinite(matrixA, 16) ||
        !NewtonMath::IsFinite(matrixB, 16))
        return 0;
    return Mutable(world)->Collide(maxSize, *collisionA, NewtonMath::ToTransform(matrixA), *collisionB,
                                   NewtonMath::ToTransform(matrixB), contacts, normals, penetration);
}

void NewtonReleaseCollision(const NewtonWorld* world, const NewtonCollision* collision)
{
    if (world && collision)
        Mutable(world)->ReleaseCollision(Mutable(collision));
}
