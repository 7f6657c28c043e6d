#pragma once

// The scene the physics benchmarks drop their bodies into: a bumpy square
// of ground as a triangle mesh, and 1,000 one-metre boxes in a staggered
// 10 x 10 x 10 lattice above it (so that they tumble as they land).

#include <algorithm>
#include <array>
#include <vector>

namespace PhysicsBenchScene
{

constexpr int kBoxes = 1000;
constexpr int kGrid = 30;         // ground quads per side
constexpr float kGroundHalf = 30; // metres

inline float GroundHeight(int x, int z)
{
    return 0.2f * float((x * 7 + z * 3) % 5);
}

// The ground as triangles: 9 floats each.
inline std::vector<float> GroundTriangles()
{
    std::vector<float> triangles;
    const float cell = 2 * kGroundHalf / kGrid;
    auto corner = [&](int x, int z) {
        return std::array<float, 3>{-kGroundHalf + x * cell, GroundHeight(x, z), -kGroundHalf + z * cell};
    };
    for (int x = 0; x < kGrid; ++x)
        for (int z = 0; z < kGrid; ++z)
            for (const auto& v : {corner(x, z), corner(x, z + 1), corner(x + 1, z + 1), corner(x, z),
                                  corner(x + 1, z + 1), corner(x + 1, z)})
                triangles.insert(triangles.end(), v.begin(), v.end());
    return triangles;
}

// Where box i starts.
inline std::array<float, 3> BoxStart(int i)
{
    const int x = i % 10;
    const int y = i / 100;
    const int z = (i / 10) % 10;
    return {-7.5f + x * 1.6f + 0.1f * (y % 3), 3.0f + y * 1.6f, -7.5f + z * 1.6f + 0.07f * (x % 2)};
}

// The statistic the benchmarks add: on a shared machine the fastest run is
// the one least disturbed.
inline double Fastest(const std::vector<double>& runs)
{
    return *std::min_element(runs.begin(), runs.end());
}

} // namespace PhysicsBenchScene
