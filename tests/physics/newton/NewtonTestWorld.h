#pragma once

// A small world for the layer's tests: gravity through the force callback,
// a flat two-triangle ground and helpers to drop shapes on it.

#include "physics/newton/Newton.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace NewtonTest
{

using Matrix = std::array<float, 16>;

inline Matrix Translation(float x, float y, float z)
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

// An Irrlicht rotation (radians) with a translation.
inline Matrix Rotation(float x, float y, float z)
{
    const float cr = std::cos(x), sr = std::sin(x), cp = std::cos(y), sp = std::sin(y), cy = std::cos(z),
                sy = std::sin(z);
    return {cp * cy,
            cp * sy,
            -sp,
            0,
            sr * sp * cy - cr * sy,
            sr * sp * sy + cr * cy,
            sr * cp,
            0,
            cr * sp * cy + sr * sy,
            cr * sp * sy - sr * cy,
            cr * cp,
            0,
            0,
            0,
            0,
            1};
}

inline void Gravity(const NewtonBody* body)
{
    float mass, ixx, iyy, izz;
    NewtonBodyGetMassMatrix(body, &mass, &ixx, &iyy, &izz);
    const float force[3] = {0, -9.8f * mass, 0};
    NewtonBodyAddForce(body, force);
}

inline std::array<float, 3> Position(const NewtonBody* body)
{
    Matrix m;
    NewtonBodyGetMatrix(body, m.data());
    return {m[12], m[13], m[14]};
}

inline std::array<float, 3> Velocity(const NewtonBody* body)
{
    std::array<float, 3> v;
    NewtonBodyGetVelocity(body, v.data());
    return v;
}

class World : public ::testing::Test
{
protected:
    void SetUp() override { world = NewtonCreate(nullptr, nullptr); }
    void TearDown() override { NewtonDestroy(world); }

    // A square of two triangles in the plane y = height, half-size extent,
    // faces tagged with the given attribute.
    NewtonCollision* GroundCollision(float extent = 20, float height = 0, int attribute = 1)
    {
        NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
        NewtonTreeCollisionBeginBuild(tree);
        const float a[9] = {-extent, height, -extent, -extent, height, extent, extent, height, extent};
        const float b[9] = {-extent, height, -extent, extent, height, extent, extent, height, -extent};
        NewtonTreeCollisionAddFace(tree, 3, a, 12, attribute);
        NewtonTreeCollisionAddFace(tree, 3, b, 12, attribute);
        NewtonTreeCollisionEndBuild(tree, 1);
        return tree;
    }

    NewtonBody* Ground(float extent = 20, float height = 0)
    {
        NewtonCollision* tree = GroundCollision(extent, height);
        NewtonBody* body = NewtonCreateBody(world, tree);
        NewtonReleaseCollision(world, tree);
        return body;
    }

    // A dynamic box of the given size and mass at (x, y, z), under gravity.
    NewtonBody* Box(float x, float y, float z, float size = 1, float mass = 1, bool gravity = true)
    {
        NewtonCollision* box = NewtonCreateBox(world, size, size, size, nullptr);
        NewtonBody* body = NewtonCreateBody(world, box);
        NewtonReleaseCollision(world, box);
        const float i = mass * size * size / 6;
        NewtonBodySetMassMatrix(body, mass, i, i, i);
        const Matrix m = Translation(x, y, z);
        NewtonBodySetMatrix(body, m.data());
        if (gravity)
            NewtonBodySetForceAndTorqueCallback(body, Gravity);
        return body;
    }

    // A static box (mass 0).
    NewtonBody* StaticBox(float x, float y, float z, float size = 1)
    {
        NewtonCollision* box = NewtonCreateBox(world, size, size, size, nullptr);
        NewtonBody* body = NewtonCreateBody(world, box);
        NewtonReleaseCollision(world, box);
        const Matrix m = Translation(x, y, z);
        NewtonBodySetMatrix(body, m.data());
        return body;
    }

    void Run(int updates, float step = 1.0f / 60.0f)
    {
        for (int i = 0; i < updates; ++i)
            NewtonUpdate(world, step);
    }

    NewtonWorld* world = nullptr;
};

} // namespace NewtonTest
