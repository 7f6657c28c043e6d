// Shapes: sizes, inertia, hulls, modifiers and reference counting.
#include "NewtonTestWorld.h"

#include <vector>

using namespace NewtonTest;

namespace
{

class NewtonCollisionTest : public World
{
protected:
    // Distance from y = 5 straight down to the first surface above x, z.
    float TopAt(float x, float z)
    {
        float nearest = -1;
        auto hit = [](const NewtonBody*, const float*, int, void* data, float t)
        {
            *static_cast<float*>(data) = t;
            return t;
        };
        const float p0[3] = {x, 5, z};
        const float p1[3] = {x, -5, z};
        NewtonWorldRayCast(world, p0, p1, hit, &nearest, nullptr);
        return nearest < 0 ? -100 : 5 - nearest * 10;
    }

    NewtonBody* Place(NewtonCollision* collision)
    {
        NewtonBody* body = NewtonCreateBody(world, collision);
        NewtonReleaseCollision(world, collision);
        return body;
    }
};

void ExpectVector(const float* v, float x, float y, float z, float tolerance = 1e-4f)
{
    EXPECT_NEAR(v[0], x, tolerance);
    EXPECT_NEAR(v[1], y, tolerance);
    EXPECT_NEAR(v[2], z, tolerance);
}

} // namespace

TEST_F(NewtonCollisionTest, InertiaPerUnitMassAndCentroid)
{
    const float offset[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1.5f, 0, 1};
    float inertia[3], origin[3];

    NewtonCollision* box = NewtonCreateBox(world, 2, 4, 6, offset);
    NewtonConvexCollisionCalculateInertialMatrix(box, inertia, origin);
    ExpectVector(inertia, (16 + 36) / 12.0f, (4 + 36) / 12.0f, (4 + 16) / 12.0f);
    ExpectVector(origin, 0, 1.5f, 0);

    NewtonCollision* sphere = NewtonCreateSphere(world, 1, 1, 1, nullptr);
    NewtonConvexCollisionCalculateInertialMatrix(sphere, inertia, origin);
    ExpectVector(inertia, 0.4f, 0.4f, 0.4f);

    NewtonCollision* ellipsoid = NewtonCreateSphere(world, 1, 2, 3, nullptr);
    NewtonConvexCollisionCalculateInertialMatrix(ellipsoid, inertia, origin);
    ExpectVector(inertia, (4 + 9) / 5.0f, (1 + 9) / 5.0f, (1 + 4) / 5.0f);

    // A hull of a box's corners plus inner points has the box's inertia.
    std::vector<float> cloud;
    for (int i = 0; i < 8; ++i)
        cloud.insert(cloud.end(), {i & 1 ? 1.0f : -1.0f, i & 2 ? 2.0f : -2.0f, i & 4 ? 3.0f : -3.0f});
    cloud.insert(cloud.end(), {0, 0, 0, 0.5f, 0.5f, 0.5f});
    NewtonCollision* hull = NewtonCreateConvexHull(world, 10, cloud.data(), 12, offset);
    ASSERT_NE(hull, nullptr);
    NewtonConvexCollisionCalculateInertialMatrix(hull, inertia, origin);
    ExpectVector(inertia, (16 + 36) / 12.0f, (4 + 36) / 12.0f, (4 + 16) / 12.0f, 1e-3f);
    ExpectVector(origin, 0, 1.5f, 0, 1e-4f);

    // A flat hull has a finite inertia and is still a shape.
    const float flat[12] = {0, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1};
    NewtonCollision* plate = NewtonCreateConvexHull(world, 4, flat, 12, nullptr);
    ASSERT_NE(plate, nullptr);
    NewtonConvexCollisionCalculateInertialMatrix(plate, inertia, origin);
    EXPECT_TRUE(std::isfinite(inertia[0]) && std::isfinite(inertia[1]) && std::isfinite(inertia[2]));
    ExpectVector(origin, 0.5f, 0, 0.5f);

    for (NewtonCollision* c : {box, sphere, ellipsoid, hull, plate})
        NewtonReleaseCollision(world, c);
}

TEST_F(NewtonCollisionTest, BadShapeArgumentsGiveNull)
{
    const float nan = std::nanf("");
    const float point[3] = {0, 0, 0};
    const float badOffset[16] = {nan, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(NewtonCreateBox(world, nan, 1, 1, nullptr), nullptr);
    EXPECT_EQ(NewtonCreateBox(world, 1, 1, 1, badOffset), nullptr);
    EXPECT_EQ(NewtonCreateSphere(world, 1, INFINITY, 1, nullptr), nullptr);
    EXPECT_EQ(NewtonCreateConvexHull(world, 0, point, 12, nullptr), nullptr);
    EXPECT_EQ(NewtonCreateConvexHull(world, 1, point, 8, nullptr), nullptr);
    EXPECT_EQ(NewtonCreateConvexHull(world, 1, nullptr, 12, nullptr), nullptr);
    const float withNan[6] = {0, 0, 0, nan, 1, 1};
    EXPECT_EQ(NewtonCreateConvexHull(world, 2, withNan, 12, nullptr), nullptr);
    NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
    EXPECT_EQ(NewtonCreateConvexHullModifier(world, tree), nullptr);
    NewtonReleaseCollision(world, tree);
    // Zero sizes become tiny shapes rather than broken ones.
    NewtonCollision* flat = NewtonCreateBox(world, 0, 1, 1, nullptr);
    ASSERT_NE(flat, nullptr);
    NewtonReleaseCollision(world, flat);
}

TEST_F(NewtonCollisionTest, OffsetShapesSitAtTheirOffset)
{
    const float offset[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 2, 0, 1};
    Place(NewtonCreateBox(world, 1, 1, 1, offset));
    EXPECT_NEAR(TopAt(0, 0), 2.5f, 1e-3f);
    Place(NewtonCreateSphere(world, 0.5f, 1, 0.5f, Translation(5, 0, 0).data()));
    EXPECT_NEAR(TopAt(5, 0), 1.0f, 0.01f);
}

TEST_F(NewtonCollisionTest, ModifierStretchesTheShapeAboutItsPlacement)
{
    const float offset[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1};
    NewtonCollision* box = NewtonCreateBox(world, 1, 1, 1, offset);
    NewtonCollision* modifier = NewtonCreateConvexHullModifier(world, box);
    NewtonReleaseCollision(world, box); // the modifier keeps what it needs
    ASSERT_NE(modifier, nullptr);
    NewtonBody* body = NewtonCreateBody(world, modifier);
    EXPECT_NEAR(TopAt(0, 0), 1.5f, 1e-3f) << "it starts as the wrapped shape";
    // Skew 1 with the collision centre as translation changes nothing.
    NewtonConvexHullModifierSetMatrix(NewtonBodyGetCollision(body), offset);
    EXPECT_NEAR(TopAt(0, 0), 1.5f, 1e-3f);
    const float stretched[16] = {1, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1};
    NewtonConvexHullModifierSetMatrix(modifier, stretched);
    EXPECT_NEAR(TopAt(0, 0), 2.5f, 1e-3f);
    float inertia[3], origin[3];
    NewtonConvexCollisionCalculateInertialMatrix(modifier, inertia, origin);
    EXPECT_NEAR(inertia[0], (9 + 1) / 12.0f, 1e-4f);
    // With a centre of mass the body's placement follows too.
    NewtonBodySetMassMatrix(body, 1, 1, 1, 1);
    const float com[3] = {0, 1, 0};
    NewtonBodySetCentreOfMass(body, com);
    NewtonConvexHullModifierSetMatrix(modifier, offset);
    EXPECT_NEAR(TopAt(0, 0), 1.5f, 1e-3f);
    NewtonConvexHullModifierSetMatrix(modifier, stretched);
    EXPECT_NEAR(TopAt(0, 0), 2.5f, 1e-3f);
    NewtonReleaseCollision(world, modifier);
}

TEST_F(NewtonCollisionTest, ABodyKeepsItsOwnHoldOnItsCollision)
{
    NewtonCollision* box = NewtonCreateBox(world, 1, 1, 1, nullptr);
    NewtonBody* body = NewtonCreateBody(world, box);
    NewtonReleaseCollision(world, box);
    EXPECT_EQ(NewtonBodyGetCollision(body), box);
    EXPECT_NEAR(TopAt(0, 0), 0.5f, 1e-3f);
    NewtonDestroyBody(world, body);
    EXPECT_EQ(TopAt(0, 0), -100);
    // A second release of a freed collision is ignored.
    NewtonReleaseCollision(world, box);
}

// Shapes asked for with the same numbers serve every body that uses them:
// one body gone, or a modifier of the shape stretched, leaves the others as
// they were; a shape asked for again after all let go is made anew.
TEST_F(NewtonCollisionTest, ShapesOfTheSameNumbersServeManyBodies)
{
    const std::vector<float> wedge = {-1, 0, -1, 1, 0, -1, 0, 1, -1, -1, 0, 1, 1, 0, 1, 0, 1, 1};
    auto hull = [&](float x)
    { return NewtonCreateConvexHull(world, 6, wedge.data(), 12, Translation(x, 0, 0).data()); };
    std::vector<NewtonBody*> boxes;
    std::vector<NewtonBody*> wedges;
    for (int i = 0; i < 3; ++i)
    {
        boxes.push_back(Place(NewtonCreateBox(world, 1, 1, 1, Translation(3.0f * i, 0, 0).data())));
        boxes.push_back(Place(NewtonCreateBox(world, 1, 1, 1, Translation(3.0f * i, 0, 0).data())));
        wedges.push_back(Place(hull(20.0f + 3.0f * i)));
    }
    NewtonCollision* modifier = NewtonCreateConvexHullModifier(world, NewtonBodyGetCollision(boxes[0]));
    NewtonBody* stretched = Place(modifier);
    const float tall[16] = {1, 0, 0, 0, 0, 5, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    NewtonConvexHullModifierSetMatrix(modifier, tall);
    NewtonDestroyBody(world, stretched);
    NewtonDestroyBody(world, boxes[0]);
    NewtonDestroyBody(world, wedges[0]);
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_NEAR(TopAt(3.0f * i, 0), 0.5f, 1e-3f);
        EXPECT_NEAR(TopAt(20.5f + 3.0f * i, 0), i == 0 ? -100 : 0.5f, 0.01f);
    }
    for (NewtonBody* body : boxes)
        if (body != boxes[0])
            NewtonDestroyBody(world, body);
    Place(NewtonCreateBox(world, 1, 1, 1, Translation(3, 0, 0).data()));
    Place(NewtonCreateBox(world, 2, 2, 2, Translation(6, 0, 0).data()));
    Place(hull(50));
    EXPECT_NEAR(TopAt(3, 0), 0.5f, 1e-3f);
    EXPECT_NEAR(TopAt(6, 0), 1.0f, 1e-3f);
    EXPECT_NEAR(TopAt(50.5f, 0), 0.5f, 0.01f);
    EXPECT_EQ(TopAt(0, 0), -100);
}

TEST_F(NewtonCollisionTest, TreeBuildsFromPolygonsAndCanBeRebuilt)
{
    NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
    NewtonBody* body = NewtonCreateBody(world, tree);
    NewtonReleaseCollision(world, tree);
    EXPECT_EQ(TopAt(0, 0), -100) << "an unbuilt tree has no faces";
    NewtonTreeCollisionBeginBuild(tree);
    // A quad with a 16-byte stride, face attribute 3.
    const float quad[16] = {-1, 1, -1, 0, -1, 1, 1, 0, 1, 1, 1, 0, 1, 1, -1, 0};
    NewtonTreeCollisionAddFace(tree, 4, quad, 16, 3);
    // Ignored: too few vertices, a bad stride, NaN.
    NewtonTreeCollisionAddFace(tree, 2, quad, 16, 3);
    NewtonTreeCollisionAddFace(tree, 4, quad, 4, 3);
    const float nanTriangle[9] = {0, std::nanf(""), 0, 1, 0, 0, 0, 0, 1};
    NewtonTreeCollisionAddFace(tree, 3, nanTriangle, 12, 3);
    NewtonTreeCollisionEndBuild(tree, 0);
    EXPECT_NEAR(TopAt(0.5f, 0.5f), 1.0f, 1e-4f);
    EXPECT_NEAR(TopAt(-0.5f, -0.2f), 1.0f, 1e-4f);
    int triangles = 0;
    NewtonBodyForEachPolygonDo(body,
                               [](const NewtonBody*, int count, const float*, int id)
                               {
                                   EXPECT_EQ(count, 3);
                                   EXPECT_EQ(id, 3);
                               });
    (void)triangles;
    // Rebuilt lower while a body uses it.
    NewtonTreeCollisionBeginBuild(tree);
    const float low[9] = {-5, -1, -5, -5, -1, 5, 5, -1, 0};
    NewtonTreeCollisionAddFace(tree, 3, low, 12, 1);
    NewtonTreeCollisionEndBuild(tree, 1);
    EXPECT_NEAR(TopAt(0, 0), -1.0f, 1e-4f);
}

// A body given another collision keeps its place and mass and answers
// queries with the new shape; a dynamic body refuses a tree.
TEST_F(NewtonCollisionTest, ABodyTakesAnotherCollisionInPlace)
{
    NewtonBody* body = Place(NewtonCreateBox(world, 1, 1, 1, nullptr));
    NewtonBodySetMassMatrix(body, 2, 1, 1, 1);
    NewtonBodySetMatrix(body, Translation(0, 1, 0).data());
    EXPECT_NEAR(TopAt(0, 0), 1.5f, 1e-3f);
    NewtonCollision* larger = NewtonCreateBox(world, 2, 2, 2, nullptr);
    NewtonBodySetCollision(body, larger);
    NewtonReleaseCollision(world, larger);
    EXPECT_EQ(NewtonBodyGetCollision(body), larger);
    EXPECT_NEAR(TopAt(0, 0), 2.0f, 1e-3f);
    EXPECT_NEAR(Position(body)[1], 1.0f, 1e-6f);
    float mass, ixx, iyy, izz;
    NewtonBodyGetMassMatrix(body, &mass, &ixx, &iyy, &izz);
    EXPECT_EQ(mass, 2.0f);

    NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
    NewtonTreeCollisionBeginBuild(tree);
    const float face[9] = {-5, 0, -5, 5, 0, -5, 0, 0, 5};
    NewtonTreeCollisionAddFace(tree, 3, face, 12, 1);
    NewtonTreeCollisionEndBuild(tree, 0);
    NewtonBodySetCollision(body, tree);
    EXPECT_EQ(NewtonBodyGetCollision(body), larger);
    NewtonReleaseCollision(world, tree);
    NewtonBodySetCollision(body, nullptr);
    EXPECT_EQ(NewtonBodyGetCollision(body), larger);
}
