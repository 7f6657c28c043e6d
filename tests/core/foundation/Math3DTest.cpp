#include "core/foundation/Math3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

::testing::AssertionResult Near(const CVector& actual, const CVector& expected, float tolerance = 1e-4f)
{
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got (" << actual.ToString() << "), expected (" << expected.ToString() << ")";
}

// Angles in degrees compared modulo 360.
::testing::AssertionResult NearAngles(const CVector& actual, const CVector& expected, float tolerance)
{
    const auto close = [tolerance](float a, float b)
    {
        const float d = std::fmod(std::fabs(a - b), 360.0f);
        return d <= tolerance || 360.0f - d <= tolerance;
    };
    if (close(actual.x, expected.x) && close(actual.y, expected.y) && close(actual.z, expected.z))
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got (" << actual.ToString() << "), expected (" << expected.ToString() << ")";
}

::testing::AssertionResult Exactly(const CVector& actual, const CVector& expected)
{
    return Near(actual, expected, 0.0f);
}

bool InDegreeRange(const CVector& r)
{
    return r.x >= 0.0f && r.x < 360.0f && r.y >= 0.0f && r.y < 360.0f && r.z >= 0.0f && r.z < 360.0f;
}

} // namespace

TEST(Math3D, LookAtRotations)
{
    const struct
    {
        CVector a, b, expected;
    } cases[] = {
        {{0, 0, 1}, {0, 0, 0}, {0, 0, 0}},           {{1, 0, 0}, {0, 0, 0}, {0, 90, 0}},
        {{0, 0, -1}, {0, 0, 0}, {0, 180, 0}},        {{-1, 0, 0}, {0, 0, 0}, {0, 270, 0}},
        {{5, 7, 9}, {5, 6, 9}, {270, 0, 0}},         // straight up
        {{5, 5, 9}, {5, 6, 9}, {90, 0, 0}},          // straight down
        {{3, 3, 3}, {3, 3, 3}, {270, 0, 0}},         // no direction
        {{0, 0, 0}, {0, 0, 1}, {0, 180, 0}},         // swapping reverses
        {{1, 1, 1}, {0, 0, 0}, {324.73561f, 45, 0}}, // 35.26 degrees up
        {{0, -1, -1}, {0, 0, 0}, {45, 180, 0}},      // 45 degrees down, backwards
    };
    for (const auto& c : cases)
    {
        const CVector r = GetLookAtRotations(c.a, c.b);
        EXPECT_TRUE(Near(r, c.expected)) << c.a.ToString() << " from " << c.b.ToString();
        EXPECT_TRUE(InDegreeRange(r)) << r.ToString();
    }
}

TEST(Math3D, OrientationFollowsIrrlichtsConvention)
{
    const float s30 = 0.5f;
    const float c30 = std::sqrt(3.0f) / 2.0f;
    const struct
    {
        CVector rotation, v, expected;
    } cases[] = {
        {{0, 90, 0}, {0, 0, 1}, {1, 0, 0}},  // +y turns forward to +x
        {{90, 0, 0}, {0, 0, 1}, {0, -1, 0}}, // +x turns forward to -y
        {{0, 0, 90}, {1, 0, 0}, {0, 1, 0}},  // +z turns +x to +y
        {{0, 90, 0}, {1, 0, 0}, {0, 0, -1}},
        {{90, 0, 90}, {0, 0, 1}, {1, 0, 0}}, // x first, then z
        {{0, 30, 0}, {0, 0, 2}, {2 * s30, 0, 2 * c30}},
        {{0, 0, 0}, {1, 2, 3}, {1, 2, 3}},
        {{0, 360, 0}, {1, 2, 3}, {1, 2, 3}},
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(Near(GetOrientation(c.rotation, c.v), c.expected))
            << c.rotation.ToString() << " on " << c.v.ToString();
    }

    // The turned vector crossed with w.
    EXPECT_TRUE(Near(GetOrientationCross({0, 90, 0}, {0, 0, 1}, {0, 1, 0}), {0, 0, 1}));
    EXPECT_TRUE(Near(GetOrientationCross({90, 0, 0}, {0, 0, 1}, {0, 0, 1}), {-1, 0, 0}));

    // About a centre: (1, 0, 0) from the centre turns to (0, 0, -1).
    EXPECT_TRUE(Near(RotateVector({2, 0, 1}, {1, 0, 1}, {0, 90, 0}), {1, 0, 0}));
    EXPECT_TRUE(Exactly(RotateVector({4, 5, 6}, {4, 5, 6}, {10, 20, 30}), {4, 5, 6}));
}

TEST(Math3D, RotationAddAppliesTheSecondRotationFirst)
{
    const struct
    {
        CVector r1, r2, expected;
    } cases[] = {
        {{-90, 0, 0}, {0, 0, 0}, {270, 0, 0}}, {{30, 40, 50}, {0, 0, 0}, {30, 40, 50}},
        {{0, 0, 0}, {0, 45, 0}, {0, 45, 0}},   {{10, 0, 0}, {20, 0, 0}, {30, 0, 0}},
        {{0, 30, 0}, {0, 40, 0}, {0, 70, 0}},  {{0, 0, -10}, {0, 0, -20}, {0, 0, 330}},
        {{400, 0, 0}, {0, 0, 0}, {40, 0, 0}},
    };
    for (const auto& c : cases)
    {
        const CVector r = RotationAdd(c.r1, c.r2);
        EXPECT_TRUE(Near(r, c.expected, 2e-3f)) << c.r1.ToString() << " + " << c.r2.ToString();
        EXPECT_TRUE(InDegreeRange(r)) << r.ToString();
    }

    // Turning by the sum is turning by r2, then by r1.
    const CVector rotations[] = {{10, 20, 30}, {-45, 60, 170}, {200, -80, 5}, {0, 89, 0}, {33, 0, -120}};
    const CVector probes[] = {{0, 0, 1}, {1, 0, 0}, {0.3f, -2, 0.7f}};
    for (const CVector& r1 : rotations)
    {
        for (const CVector& r2 : rotations)
        {
            const CVector sum = RotationAdd(r1, r2);
            for (const CVector& v : probes)
            {
                EXPECT_TRUE(Near(GetOrientation(sum, v), GetOrientation(r1, GetOrientation(r2, v)), 1e-4f))
                    << r1.ToString() << " + " << r2.ToString() << " on " << v.ToString();
            }
        }
    }
}

TEST(Math3D, RotationSubtractUndoesRotationAdd)
{
    const struct
    {
        CVector a, b, expected;
    } cases[] = {
        {{10, 20, 30}, {40, -50, 60}, {10, 20, 30}},
        {{-20, 35, -70}, {5, 5, 5}, {340, 35, 290}},
        {{0, 0, 0}, {90, 0, 0}, {0, 0, 0}},
        {{120, -10, 0}, {0, 0, 0}, {120, 350, 0}},
    };
    for (const auto& c : cases)
    {
        const CVector r = RotationSubtract(RotationAdd(c.a, c.b), c.b);
        EXPECT_TRUE(NearAngles(r, c.expected, 2e-3f)) << c.a.ToString() << " with " << c.b.ToString();
        EXPECT_TRUE(InDegreeRange(r)) << r.ToString();
    }
    EXPECT_TRUE(Near(RotationSubtract({0, 70, 0}, {0, 30, 0}), {0, 40, 0}, 1e-3f));
}

TEST(Math3D, RotationAddAtTheEdges)
{
    // The product of these two matrices has an element just beyond -1 where
    // the y angle is read; the result must still be a rotation by 90 about y.
    const CVector r = RotationAdd({0, 4, 0}, {0, 86, 0});
    ASSERT_TRUE(std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.z)) << r.ToString();
    EXPECT_TRUE(Near(GetOrientation(r, {0, 0, 1}), {1, 0, 0}, 1e-3f)) << r.ToString();
    EXPECT_TRUE(Near(GetOrientation(r, {0, 1, 0}), {0, 1, 0}, 1e-3f)) << r.ToString();

    // A factor within 0.000001 of the identity in every element leaves the
    // other factor as it is: the tiny x turn is lost, not rounded in.
    EXPECT_EQ(RotationAdd({0.00005f, 0, 0}, {0, 30, 0}).x, 0.0f);
    EXPECT_GT(RotationAdd({0.0005f, 0, 0}, {0, 30, 0}).x, 0.0f);

    // An angle a hair below 0 wraps to a value that would round to 360 as a
    // float; it comes back as 0, inside [0, 360).
    const CVector tiny = RotationAdd({-0.000001f, 30, 0}, {0, 0, 0});
    EXPECT_TRUE(InDegreeRange(tiny)) << tiny.ToString();
    EXPECT_TRUE(Near(tiny, {0, 30, 0}, 1e-4f));
}

TEST(Math3D, QuaternionRotations)
{
    const struct
    {
        CVector axis;
        float angle;
        CVector expected;
    } cases[] = {
        {{1, 0, 0}, 90, {90, 0, 0}},
        {{0, 1, 0}, 45, {0, 45, 0}},
        {{0, 0, 1}, -30, {0, 0, -30}}, // not wrapped
        {{0, 0, 1}, 270, {0, 0, -90}},
        {{2, 0, 0}, 90, {126.869896f, 0, 0}}, // a non-unit axis changes the angle
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(Near(GetRotationsAboutAxis(c.axis, c.angle), c.expected, 1e-3f))
            << c.axis.ToString() << " by " << c.angle;
    }

    const struct
    {
        CVector r1, r2;
        float t;
        CVector expected;
    } slerps[] = {
        {{0, 0, 0}, {0, 90, 0}, 0.0f, {0, 0, 0}},   {{0, 0, 0}, {0, 90, 0}, 0.5f, {0, 45, 0}},
        {{0, 0, 0}, {0, 90, 0}, 1.0f, {0, 90, 0}},  {{0, 0, 0}, {0, 60, 0}, 0.25f, {0, 15, 0}},
        {{0, 10, 0}, {0, 12, 0}, 0.5f, {0, 11, 0}}, // close: linear blend
        {{0, 0, 0}, {0, 350, 0}, 0.5f, {0, -5, 0}}, // the shorter arc
        {{30, 0, 0}, {-30, 0, 0}, 0.5f, {0, 0, 0}}, {{0, 0, 170}, {0, 0, -170}, 0.5f, {0, 0, 180}},
    };
    for (const auto& s : slerps)
    {
        const CVector r = RotationSlerp(s.r1, s.r2, s.t);
        const bool matches = Near(r, s.expected, 0.01f) ||
                             (s.expected.z == 180 && Near(r, {s.expected.x, s.expected.y, -180}, 0.01f));
        EXPECT_TRUE(matches) << s.r1.ToString() << " to " << s.r2.ToString() << " at " << s.t << ": "
                             << r.ToString();
    }
}

TEST(Math3D, TransformFrames)
{
    const struct
    {
        CVector v, position, forward, up, transformed, untransformed;
    } cases[] = {
        // The identity frame: only the position moves the transformed vector.
        {{1, 2, 3}, {10, 0, 0}, {0, 0, 1}, {0, 1, 0}, {11, 2, 3}, {1, 2, 3}},
        {{1, 2, 3}, {-4, 5, 9}, {0, 0, 1}, {0, 1, 0}, {-3, 7, 12}, {1, 2, 3}},
        // Looking along +x: side is -z.
        {{1, 2, 3}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {3, 2, -1}, {-3, 2, 1}},
        // Axes are not normalised: the result scales with them.
        {{1, 1, 1}, {0, 0, 0}, {0, 0, 2}, {0, 1, 0}, {2, 4, 2}, {2, 4, 2}},
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(Near(TransformVector(c.v, c.position, c.forward, c.up), c.transformed)) << c.v.ToString();
        EXPECT_TRUE(Near(UntransformVector(c.v, c.position, c.forward, c.up), c.untransformed))
            << c.v.ToString();
    }
    // With a rigid frame, untransforming undoes transforming (at the origin).
    const CVector forward = GetOrientation({20, 40, 0}, {0, 0, 1});
    const CVector up = GetOrientation({20, 40, 0}, {0, 1, 0});
    const CVector v(0.5f, -1, 2);
    EXPECT_TRUE(Near(UntransformVector(TransformVector(v, {}, forward, up), {7, 7, 7}, forward, up), v));
}

TEST(Math3D, Boxes)
{
    const CVector min(0, 0, 0);
    const CVector max(1, 2, 3);
    EXPECT_TRUE(Exactly(BoxGetExtents(min, max), {1, 2, 3}));
    EXPECT_TRUE(Exactly(BoxGetCentre({-1, 2, 3}, {3, 4, 3}), {1, 3, 3}));

    const struct
    {
        CVector p;
        bool inside;
    } points[] = {
        {{0.5f, 1, 1.5f}, true},  {{1, 1, 1.5f}, true},        {{0, 0, 0}, true},        {{1, 2, 3}, true},
        {{1.0001f, 1, 1}, false}, {{0.5f, -0.001f, 1}, false}, {{0.5f, 1, 3.5f}, false},
    };
    for (const auto& c : points)
    {
        EXPECT_EQ(BoxPointInside(min, max, c.p), c.inside) << c.p.ToString();
    }

    const struct
    {
        CVector min2, max2;
        bool intersects;
    } boxes[] = {
        {{1, 0, 0}, {2, 2, 3}, true},                                            // shares a face
        {{1, 2, 3}, {5, 5, 5}, true},                                            // shares a corner
        {{0.5f, 0.5f, 0.5f}, {9, 9, 9}, true},                                   // overlaps
        {{-1, -1, -1}, {5, 5, 5}, true},                                         // encloses
        {{1.01f, 0, 0}, {2, 2, 3}, false},     {{0, 0, 3.5f}, {1, 2, 4}, false}, // apart on z only
    };
    for (const auto& c : boxes)
    {
        EXPECT_EQ(BoxIntersectsBox(min, max, c.min2, c.max2), c.intersects) << c.min2.ToString();
        EXPECT_EQ(BoxIntersectsBox(c.min2, c.max2, min, max), c.intersects) << c.min2.ToString();
    }
}

TEST(Math3D, BoxesGrow)
{
    CVector min(0, 0, 0);
    CVector max(1, 1, 1);
    BoxExtendPoint(min, max, {2, -1, 0.5f});
    EXPECT_TRUE(Exactly(min, {0, -1, 0}));
    EXPECT_TRUE(Exactly(max, {2, 1, 1}));

    BoxExtendPoint(min, max, {0.5f, 0.5f, 0.5f}); // inside: no change
    EXPECT_TRUE(Exactly(min, {0, -1, 0}));
    EXPECT_TRUE(Exactly(max, {2, 1, 1}));

    BoxExtendBox(min, max, {-3, 0, 0}, {0, 5, 0.5f});
    EXPECT_TRUE(Exactly(min, {-3, -1, 0}));
    EXPECT_TRUE(Exactly(max, {2, 5, 1}));

    // A box made from a single point grows from it.
    CVector pointMin(4, 4, 4);
    CVector pointMax(4, 4, 4);
    BoxExtendBox(pointMin, pointMax, {5, 3, 4}, {6, 3.5f, 4});
    EXPECT_TRUE(Exactly(pointMin, {4, 3, 4}));
    EXPECT_TRUE(Exactly(pointMax, {6, 4, 4}));
}

TEST(Math3D, BoxVerticesInCornerOrder)
{
    std::vector<CVector> vertices(3, CVector(9, 9, 9)); // cleared first
    BoxGetVertices({0, 0, 0}, {1, 2, 3}, vertices);
    const CVector expected[] = {{0, 0, 0}, {0, 2, 0}, {0, 0, 3}, {0, 2, 3},
                                {1, 0, 0}, {1, 2, 0}, {1, 0, 3}, {1, 2, 3}};
    ASSERT_EQ(vertices.size(), 8u);
    for (size_t i = 0; i < 8; ++i)
    {
        EXPECT_TRUE(Exactly(vertices[i], expected[i])) << "corner " << i;
    }
}

TEST(Math3D, BoxIntersectsLine)
{
    const CVector min(0, 0, 0);
    const CVector max(1, 1, 1);
    const struct
    {
        CVector start, end;
        bool intersects;
        const char* what;
    } cases[] = {
        {{-1, 0.5f, 0.5f}, {2, 0.5f, 0.5f}, true, "through"},
        {{0.2f, 0.2f, 0.2f}, {0.8f, 0.9f, 0.3f}, true, "inside"},
        {{-1, 2, 0.5f}, {2, 2, 0.5f}, false, "above"},
        {{-1, 1, 0.5f}, {2, 1, 0.5f}, true, "along the top face"},
        {{-3, 0.5f, 0.5f}, {-1, 0.5f, 0.5f}, false, "ends before"},
        {{2.5f, 0.5f, 0}, {0, 0.5f, 2.5f}, false, "past a vertical edge"},
        {{1.5f, 0.5f, 0}, {0, 0.5f, 1.5f}, true, "across a vertical edge"},
        {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, true, "point inside"},
        {{1, 0.5f, 0.5f}, {1, 0.5f, 0.5f}, true, "point on a face"},
        {{1.01f, 0.5f, 0.5f}, {1.01f, 0.5f, 0.5f}, false, "point outside"},
        {{0.5f, 0.5f, 0.5f}, {0.5005f, 0.5f, 0.5f}, true, "very short, inside"},
        {{1.5f, 0.5f, 0.5f}, {1.5005f, 0.5f, 0.5f}, false, "very short, outside"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(BoxIntersectsLine(min, max, c.start, c.end), c.intersects) << c.what;
        EXPECT_EQ(BoxIntersectsLine(min, max, c.end, c.start), c.intersects) << c.what << " (reversed)";
    }
}

TEST(Math3D, LineClosestPoint)
{
    const struct
    {
        CVector start, end, p, expected;
    } cases[] = {
        {{0, 0, 0}, {10, 0, 0}, {5, 3, 0}, {5, 0, 0}},
        {{0, 0, 0}, {10, 0, 0}, {10, -2, 1}, {10, 0, 0}},
        {{1, 1, 1}, {3, 3, 1}, {3, 1, 1}, {2, 2, 1}},
        {{1, 1, 1}, {3, 3, 1}, {1, 1, 1}, {1, 1, 1}},
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(Near(LineClosestPoint(c.start, c.end, c.p), c.expected)) << c.p.ToString();
    }

    // Beyond either end the end point itself comes back.
    const CVector start(0.1f, 0.2f, 0.3f);
    const CVector end(1.7f, -2.9f, 3.3f);
    EXPECT_TRUE(Exactly(LineClosestPoint(start, end, {5, -10, 10}), end));
    EXPECT_TRUE(Exactly(LineClosestPoint(start, end, {-5, 10, -10}), start));

    // A segment of length 0 gives its start, not a point of not-a-numbers.
    EXPECT_TRUE(Exactly(LineClosestPoint({2, 3, 4}, {2, 3, 4}, {9, 9, 9}), {2, 3, 4}));
    EXPECT_TRUE(Exactly(LineClosestPoint({1e-30f, 0, 0}, {2e-30f, 0, 0}, {9, 9, 9}), {1e-30f, 0, 0}));
}

TEST(Math3D, TransformationMatrix)
{
    float m[16];
    MakeTransformationMatrix({1, 2, 3}, {0, 90, 0}, {2, 3, 4}, m);
    // Rows of R(0, 90, 0) scaled by 2, 3 and 4, then the translation.
    const float expected[16] = {0, 0, -2, 0, 0, 3, 0, 0, 4, 0, 0, 0, 1, 2, 3, 1};
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_NEAR(m[i], expected[i], 1e-6f) << "element " << i;
    }

    // The matrix turns and scales a point, then moves it, as row vector.
    MakeTransformationMatrix({10, 0, 0}, {0, 0, 90}, {2, 2, 2}, m);
    const CVector p(1, 0, 0);
    const CVector moved(p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
                        p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                        p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]);
    EXPECT_TRUE(Near(moved, {10, 2, 0}));

    MakeTransformationMatrix({0, 0, 0}, {0, 0, 0}, {1, 1, 1}, m);
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << "element " << i;
    }
}
