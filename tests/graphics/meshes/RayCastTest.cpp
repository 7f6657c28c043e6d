// Rays through the scene: casts against the nodes' boxes with kind masks,
// nearest first; casts against the triangles of chosen entities; the box
// distance rule; the ray through a screen position; and the IGraphics
// script functions over a real scene.

#include "support/JoinedEntity.h"
#include "support/NullGraphicsEngine.h"
#include "graphics/textures/ScriptedEngine.h"

#include "core/foundation/Math3D.h"
#include "graphics/scene/GraphicalAgent.h"
#include "graphics/scene/GraphicalUnit.h"
#include "graphics/scene/MeshGeometry.h"
#include "irrlicht/IrrlichtConversions.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

using namespace irr;
using Graphics::CGraphicsEngine;
using Graphics::CRayHitList;

using CTestUnit = CJoinedEntity<Graphics::Scene::CGraphicalUnit>;
using CTestAgent = CJoinedEntity<Graphics::Scene::CGraphicalAgent>;

const char* const kUnit = "00000000-0000-4000-8000-000000000001";
const char* const kAgent = "00000000-0000-4000-8000-000000000002";
const char* const kBillboard = "00000000-0000-4000-8000-000000000003";
const char* const kLight = "00000000-0000-4000-8000-000000000006";
const char* const kTwin = "00000000-0000-4000-8000-000000000004";
const char* const kTriangle = "00000000-0000-4000-8000-000000000005";

std::vector<std::string> Names(const CRayHitList& hits)
{
    std::vector<std::string> names;
    for (const Graphics::SRayHit& hit : hits)
        names.push_back(hit.name);
    return names;
}

// A one-triangle mesh, the lower left half of the square from (-1, -1) to
// (1, 1) in the plane z = 0, cached under the name.
void CacheTriangleMesh(scene::ISceneManager* scene, const char* name)
{
    auto* buffer = new scene::SMeshBuffer();
    const video::SColor white(255, 255, 255, 255);
    buffer->Vertices.push_back(video::S3DVertex(-1, -1, 0, 0, 0, -1, white, 0, 0));
    buffer->Vertices.push_back(video::S3DVertex(-1, 1, 0, 0, 0, -1, white, 0, 1));
    buffer->Vertices.push_back(video::S3DVertex(1, -1, 0, 0, 0, -1, white, 1, 0));
    for (u16 index : {0, 1, 2})
        buffer->Indices.push_back(index);
    buffer->recalculateBoundingBox();
    auto* mesh = new scene::SMesh();
    mesh->addMeshBuffer(buffer);
    buffer->drop();
    mesh->recalculateBoundingBox();
    auto* animated = new scene::SAnimatedMesh(mesh);
    mesh->drop();
    scene->getMeshCache()->addMesh(name, animated);
    animated->drop();
}

// Unit boxes along the z axis: a unit at 10, an agent at 20, a billboard
// at 30, and a light at 40, whose node is a debug object that no cast hits.
class RayCastTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        unit.SetPosition(CVector(0, 0, 10));
        engine.Add(&unit, nullptr, "");
        agent.SetPosition(CVector(0, 0, 20));
        engine.Add(&agent, nullptr, "");
        billboard.SetPosition(CVector(0, 0, 30));
        engine.Add(&billboard, nullptr, "");
        light.SetPosition(CVector(0, 0, 40));
        engine.Add(&light, nullptr, "");
    }

    CNullEngine null;
    CGraphicsEngine& engine = null.engine;
    CTestUnit unit{kUnit};
    CTestAgent agent{kAgent};
    CTestBillboard billboard{kBillboard};
    CTestLight light{kLight};
};

TEST_F(RayCastTest, KindMasksPickNodesWhoseIdsLieWithinThemNearestFirst)
{
    struct SCase
    {
        uint32_t filter;
        std::vector<std::string> names;
    };
    const SCase cases[] = {
        {0, {kUnit, kAgent, kBillboard}},
        {0xFFFFFFFFu, {kUnit, kAgent, kBillboard}},
        {48, {kUnit, kAgent}},
        {16, {kAgent}},
        {32 | 1024, {kUnit, kBillboard}},
        {128, {}},
        {64, {}},
    };
    for (const SCase& test : cases)
    {
        CRayHitList hits;
        EXPECT_EQ(engine.RayCastAll(CVector(0, 0, 0), CVector(0, 0, 100), test.filter, hits),
                  !test.names.empty());
        EXPECT_EQ(Names(hits), test.names) << "filter " << test.filter;
        std::string nearest = "unchanged";
        EXPECT_EQ(engine.RayCastFilter(CVector(0, 0, 0), CVector(0, 0, 100), test.filter, nearest),
                  !test.names.empty());
        EXPECT_EQ(nearest, test.names.empty() ? "unchanged" : test.names.front()) << "filter " << test.filter;
    }
    // The distances are where the ray enters each box.
    CRayHitList hits;
    engine.RayCastAll(CVector(0, 0, 0), CVector(0, 0, 100), 48, hits);
    ASSERT_EQ(hits.GetCount(), 2u);
    EXPECT_NEAR(hits[0].distance, 9.5f, 1e-4f);
    EXPECT_NEAR(hits[1].distance, 19.5f, 1e-4f);
    // Cast the other way, the order turns round.
    CRayHitList back;
    engine.RayCastAll(CVector(0, 0, 100), CVector(0, 0, 0), 48, back);
    EXPECT_EQ(Names(back), (std::vector<std::string>{kAgent, kUnit}));
}

TEST_F(RayCastTest, OnlyBoxesAheadOfTheStartAndFacingTheRayAreHit)
{
    struct SCase
    {
        const char* what;
        CVector start;
        CVector end;
        std::vector<std::string> names;
    };
    const SCase cases[] = {
        {"starts inside the unit", CVector(0, 0, 10), CVector(0, 0, 25), {kAgent}},
        {"the unit lies behind", CVector(0, 0, 15), CVector(0, 0, 25), {kAgent}},
        {"ends before the agent", CVector(0, 0, 0), CVector(0, 0, 15), {kUnit}},
        {"passes beside", CVector(2, 0, 0), CVector(2, 0, 100), {}},
        {"zero length", CVector(0, 0, 5), CVector(0, 0, 5), {}},
        {"zero length inside", CVector(0, 0, 10), CVector(0, 0, 10), {}},
    };
    for (const SCase& test : cases)
    {
        CRayHitList hits;
        engine.RayCastAll(test.start, test.end, 48, hits);
        EXPECT_EQ(Names(hits), test.names) << test.what;
    }
    // Hidden nodes are not hit, but what hangs below them is.
    CTestUnit rider(kTwin);
    rider.SetPosition(CVector(0, 0, 5));
    engine.Add(&rider, &unit, "");
    unit.SetVisible(false);
    CRayHitList hits;
    engine.RayCastAll(CVector(0, 0, 0), CVector(0, 0, 100), 48, hits);
    EXPECT_EQ(Names(hits), (std::vector<std::string>{kTwin, kAgent}));
}

TEST_F(RayCastTest, HitsAtTheSameDistanceKeepTheOrderOfTheSceneWalk)
{
    CTestUnit twin(kTwin);
    twin.SetPosition(CVector(0.2f, 0, 10));
    engine.Add(&twin, nullptr, "");
    CRayHitList hits;
    engine.RayCastAll(CVector(0, 0, 0), CVector(0, 0, 15), 32, hits);
    EXPECT_EQ(Names(hits), (std::vector<std::string>{kUnit, kTwin}));
    EXPECT_EQ(hits[0].distance, hits[1].distance);
    CRayHitList list;
    list.Insert(2.0f, "b");
    list.Insert(1.0f, "a");
    list.Insert(2.0f, "c");
    list.Insert(0.5f, "z");
    EXPECT_EQ(Names(list), (std::vector<std::string>{"z", "a", "b", "c"}));
}

TEST(BoxHitDistanceTest, TheRayEntersThroughAFaceThatLooksAgainstIt)
{
    struct SCase
    {
        const char* what;
        CVector start;
        CVector end;
        float distance;
    };
    const CVector minimum(-1, -1, -1);
    const CVector maximum(1, 1, 1);
    const SCase cases[] = {
        {"along x", CVector(-5, 0, 0), CVector(5, 0, 0), 4.0f},
        {"against x", CVector(5, 0, 0), CVector(-5, 0, 0), 4.0f},
        {"diagonal", CVector(-3, -3, 0), CVector(3, 3, 0), std::sqrt(8.0f)},
        {"from inside", CVector(0, 0, 0), CVector(5, 0, 0), -1.0f},
        {"behind", CVector(5, 0, 0), CVector(10, 0, 0), -1.0f},
        {"beside", CVector(-5, 2, 0), CVector(5, 2, 0), -1.0f},
        {"no length", CVector(-5, 0, 0), CVector(-5, 0, 0), -1.0f},
        {"not a number", CVector(NAN, 0, 0), CVector(5, 0, 0), -1.0f},
    };
    for (const SCase& test : cases)
        EXPECT_NEAR(CGraphicsEngine::GetBoxHitDistance(minimum, maximum, test.start, test.end), test.distance,
                    1e-4f)
            << test.what;
}

TEST_F(RayCastTest, PolygonCastsMeetTheTrianglesAndKeepTheSelectorsTheyBuild)
{
    CacheTriangleMesh(null.Scene(), "triangle.mesh");
    CTestUnit triangle(kTriangle);
    triangle.SetModelName(L"triangle.mesh");
    triangle.SetPosition(CVector(0, 0, 5));
    engine.Add(&triangle, nullptr, "");
    ASSERT_EQ(triangle.GetSceneNode()->getType(), scene::ESNT_MESH);

    // Through the triangle's half of the square: a hit at its plane.
    CRayHitList hits;
    EXPECT_TRUE(engine.RayCastPolygon(CVector(-0.5f, -0.5f, 0), CVector(-0.5f, -0.5f, 100),
                                      {&triangle, &unit}, hits, false));
    EXPECT_EQ(Names(hits), (std::vector<std::string>{kTriangle, kUnit}));
    EXPECT_NEAR(hits[0].distance, 5.0f, 1e-4f);
    scene::ITriangleSelector* selector = triangle.GetSceneNode()->getTriangleSelector();
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->getTriangleCount(), 1);
    // A unit cube without a mesh gets its box's triangles.
    EXPECT_EQ(unit.GetSceneNode()->getTriangleSelector()->getTriangleCount(), 12);

    // Through the empty half: the box cast hits, the triangle cast does not.
    CRayHitList none;
    EXPECT_FALSE(
        engine.RayCastPolygon(CVector(0.5f, 0.5f, 0), CVector(0.5f, 0.5f, 8), {&triangle}, none, false));
    std::string boxHit;
    EXPECT_TRUE(engine.RayCastFilter(CVector(0.5f, 0.5f, 0), CVector(0.5f, 0.5f, 8), 32, boxHit));
    EXPECT_EQ(boxHit, kTriangle);

    // The selector stays on the node; a rebuild makes a new one.
    CRayHitList again;
    engine.RayCastPolygon(CVector(-0.5f, -0.5f, 0), CVector(-0.5f, -0.5f, 100), {&triangle}, again, false);
    EXPECT_EQ(triangle.GetSceneNode()->getTriangleSelector(), selector);
    selector->grab();
    engine.RayCastPolygon(CVector(-0.5f, -0.5f, 0), CVector(-0.5f, -0.5f, 100), {&triangle}, again, true);
    EXPECT_NE(triangle.GetSceneNode()->getTriangleSelector(), selector);
    selector->drop();

    // The node moved since the last frame is met where it is now.
    triangle.SetPosition(CVector(0, 0, 50));
    CRayHitList moved;
    engine.RayCastPolygon(CVector(-0.5f, -0.5f, 0), CVector(-0.5f, -0.5f, 100), {&triangle}, moved, false);
    ASSERT_EQ(moved.GetCount(), 1u);
    EXPECT_NEAR(moved[0].distance, 50.0f, 1e-3f);

    // Entities without a node, and null ones, are passed over.
    CTestUnit loose(kTwin);
    CRayHitList skipped;
    EXPECT_FALSE(engine.RayCastPolygon(CVector(0, 0, 0), CVector(0, 0, 1), {&loose, nullptr}, skipped, true));
}

TEST(MeshFacesTest, DegenerateAndSmallTrianglesAreLeftOutByTheirCrossProduct)
{
    // Triangles: a 1 x 1 right triangle (squared cross length 1), one with
    // two equal corners, one with an index past the vertices.
    scene::SMeshBuffer buffer;
    const video::SColor white(255, 255, 255, 255);
    for (const core::vector3df& corner : {core::vector3df(0, 0, 0), core::vector3df(1, 0, 0),
                                          core::vector3df(0, 1, 0), core::vector3df(1, 0, 0)})
        buffer.Vertices.push_back(
            video::S3DVertex(corner, core::vector3df(0, 0, 1), white, core::vector2df()));
    for (u16 index : {0, 1, 2, 1, 3, 2, 0, 1, 9})
        buffer.Indices.push_back(index);
    struct SCase
    {
        float minimum;
        uint32_t faces;
    };
    for (const SCase& test : {SCase{0.0f, 1}, SCase{0.99f, 1}, SCase{1.0f, 0}, SCase{-1.0f, 2}})
    {
        std::vector<CVector> points;
        Graphics::Scene::CMeshBox box;
        EXPECT_EQ(CGraphicsEngine::GetMeshFaces(&buffer, CVector(2, 3, 4), points, test.minimum, &box),
                  test.faces)
            << "minimum " << test.minimum;
        EXPECT_EQ(points.size(), 3u * test.faces);
        if (test.faces > 0)
        {
            EXPECT_EQ(points[1].x, 2.0f);
            EXPECT_EQ(points[2].y, 3.0f);
            EXPECT_EQ(box.maximum.x, 2.0f);
        }
    }
    std::vector<CVector> vertices;
    EXPECT_EQ(CGraphicsEngine::GetMeshVerticesFromBuffer(&buffer, CVector(1, 1, 1), vertices, nullptr), 4u);
    EXPECT_EQ(CGraphicsEngine::GetMeshVerticesFromBuffer(nullptr, CVector(1, 1, 1), vertices, nullptr), 0u);
    EXPECT_EQ(CGraphicsEngine::GetEntityFaces(nullptr, CVector(1, 1, 1), vertices, 0.0f, nullptr), 0u);
    EXPECT_EQ(vertices.size(), 4u);

    // The box's corners, in the order of Irrlicht's edges.
    std::vector<CVector> corners{CVector(9, 9, 9)};
    ::BoxGetVertices(CVector(0, 0, 0), CVector(1, 2, 3), corners);
    ASSERT_EQ(corners.size(), 8u);
    EXPECT_EQ(corners[0].x, 0.0f);
    EXPECT_EQ(corners[0].y, 0.0f);
    EXPECT_EQ(corners[1].y, 2.0f);
    EXPECT_EQ(corners[2].z, 3.0f);
    EXPECT_EQ(corners[7].x, 1.0f);
    EXPECT_EQ(corners[7].y, 2.0f);
    EXPECT_EQ(corners[7].z, 3.0f);
}

TEST(MeshFacesTest, TheEngineAndTheSceneReadTheSameFacesAndLeaveOutNaNAreas)
{
    // A 1 x 1 right triangle, a degenerate one and one with a NaN corner,
    // whose area fails every comparison and so is never kept.
    scene::SMeshBuffer buffer;
    const video::SColor white(255, 255, 255, 255);
    const float nan = std::nanf("");
    for (const core::vector3df& corner : {core::vector3df(0, 0, 0), core::vector3df(1, 0, 0),
                                          core::vector3df(0, 1, 0), core::vector3df(nan, 0, 0)})
        buffer.Vertices.push_back(
            video::S3DVertex(corner, core::vector3df(0, 0, 1), white, core::vector2df()));
    for (u16 index : {0, 1, 2, 0, 0, 1, 0, 3, 2})
        buffer.Indices.push_back(index);
    struct SCase
    {
        float minimum;
        uint32_t faces;
    };
    for (const SCase& test : {SCase{0.0f, 1}, SCase{-1.0f, 2}, SCase{1.0f, 0}})
    {
        std::vector<CVector> points;
        EXPECT_EQ(CGraphicsEngine::GetMeshFaces(&buffer, CVector(2, 3, 4), points, test.minimum, nullptr),
                  test.faces)
            << "minimum " << test.minimum;
        std::vector<Misc::World::CTriangle> triangles;
        Graphics::Scene::CMeshBox box;
        Graphics::Scene::ReadBufferFaces(&buffer, CVector(2, 3, 4), test.minimum, triangles, box);
        ASSERT_EQ(triangles.size(), test.faces) << "minimum " << test.minimum;
        ASSERT_EQ(points.size(), 3u * test.faces);
        for (size_t face = 0; face < triangles.size(); ++face)
        {
            for (size_t corner = 0; corner < 3; ++corner)
            {
                const CVector& point = points[3 * face + corner];
                const CVector& triangleCorner = triangles[face][corner];
                EXPECT_EQ(triangleCorner.x, point.x);
                EXPECT_EQ(triangleCorner.y, point.y);
                EXPECT_EQ(triangleCorner.z, point.z);
            }
        }
    }
}

TEST(RayFromScreenTest, TheOrthogonalRayThroughTheCentreStartsAtTheCamera)
{
    CNullEngine null;
    CTestCameraEntity camera("00000000-0000-4000-8000-0000000000c0");
    camera.SetPosition(CVector(1, 2, 3));
    null.engine.Add(&camera, nullptr, "");
    CVector start(7, 7, 7);
    CVector end(7, 7, 7);
    ASSERT_TRUE(null.engine.GetRayFromScreenPos(0.5f, 0.5f, &camera, start, end, true));
    EXPECT_NEAR(start.x, 1.0f, 1e-3f);
    EXPECT_NEAR(start.y, 2.0f, 1e-3f);
    EXPECT_NEAR(start.z, 3.0f, 1e-3f);
    // The perspective ray through the centre runs along the view.
    ASSERT_TRUE(null.engine.GetRayFromScreenPos(0.5f, 0.5f, &camera, start, end, false));
    EXPECT_NEAR(start.x, 1.0f, 1e-3f);
    scene::ICameraSceneNode* node = camera.GetCameraNode();
    core::vector3df view = node->getTarget() - node->getAbsolutePosition();
    core::vector3df ray = Graphics::ToIrrlicht(end) - Graphics::ToIrrlicht(start);
    EXPECT_NEAR(view.normalize().dotProduct(ray.normalize()), 1.0f, 1e-4f);
    // The top left corner of the screen leans up and to the left of it.
    ASSERT_TRUE(null.engine.GetRayFromScreenPos(0.0f, 0.0f, &camera, start, end, false));
    core::vector3df corner = Graphics::ToIrrlicht(end) - Graphics::ToIrrlicht(start);
    EXPECT_LT(view.dotProduct(corner.normalize()), 0.99f);
    EXPECT_GT(corner.dotProduct(node->getUpVector()), 0.0f);
    // Without a camera there is no ray.
    CVector unchanged(7, 7, 7);
    EXPECT_FALSE(null.engine.GetRayFromScreenPos(0.5f, 0.5f, nullptr, unchanged, unchanged, false));
    EXPECT_EQ(unchanged.x, 7.0f);
}

// A camera carried by a unit that moved since the last frame casts from
// where the unit has taken it.
TEST_F(RayCastTest, TheRayThroughTheScreenFollowsTheEntityCarryingTheCamera)
{
    CTestUnit twin(kTwin);
    twin.SetPosition(CVector(20, 0, 10));
    engine.Add(&twin, nullptr, "");
    CTestUnit carrier("00000000-0000-4000-8000-0000000000c1");
    carrier.SetPosition(CVector(0, 0, -5));
    engine.Add(&carrier, nullptr, "");
    CTestCameraEntity camera("00000000-0000-4000-8000-0000000000c0");
    camera.SetPosition(CVector(0, 0, 5));
    engine.Add(&camera, &carrier, "");
    camera.SetLookAt(CVector(20, 0, 1000));
    const uint32_t units = 32;
    CVector start;
    CVector end;
    std::string seen;
    ASSERT_TRUE(engine.GetRayFromScreenPos(0.5f, 0.5f, &camera, start, end, false));
    EXPECT_NEAR(start.x, 0.0f, 1e-3f);
    ASSERT_TRUE(engine.RayCastFilter(start, end, units, seen));
    EXPECT_EQ(seen, kUnit);

    carrier.SetPosition(CVector(20, 0, -5));
    ASSERT_TRUE(engine.GetRayFromScreenPos(0.5f, 0.5f, &camera, start, end, false));
    EXPECT_NEAR(start.x, 20.0f, 1e-3f);
    EXPECT_NEAR(start.z, 0.0f, 1e-3f);
    ASSERT_TRUE(engine.RayCastFilter(start, end, units, seen));
    EXPECT_EQ(seen, kTwin);
}

// The script functions over the same kind of scene, with a real engine
// object.
TEST(RayCastScriptTest, ScriptsGetNamesHitTablesAndLineOfSight)
{
    CScriptedEngine scripted;
    ASSERT_TRUE(scripted.Open("NULL", 320, 240));
    CTestUnit unit(kUnit);
    unit.SetPosition(CVector(0, 0, 10));
    scripted.graphics->Add(&unit, nullptr, "");
    CTestAgent agent(kAgent);
    agent.SetPosition(CVector(0, 0, 20));
    scripted.graphics->Add(&agent, nullptr, "");
    const std::string code = std::string(R"(
        local a, b = IMisc:vectorCreate(0, 0, 0), IMisc:vectorCreate(0, 0, 100)
        assert(IGraphics:rayCast(a, b) == ")") +
                             kUnit + R"(")
        assert(IGraphics:rayCastFilter(a, b, 16) == ")" +
                             kAgent + R"(")
        assert(IGraphics:rayCastFilter(a, b, 64) == nil)
        local all = IGraphics:rayCastAll(a, b, 0)
        assert(#all == 2 and all[1].entity == ")" +
                             kUnit + R"(" and all[2].entity == ")" + kAgent + R"(")
        assert(math.abs(all[1].distance - 9.5) < 1e-4 and math.abs(all[2].distance - 19.5) < 1e-4)
        assert(IGraphics:rayCastAll(a, b, -1)[2].entity == all[2].entity)
        assert(IGraphics:rayCastAll(a, b, 64) == nil)
        assert(IGraphics:isInLineOfSight(a, b) == false)
        assert(IGraphics:isInLineOfSight(a, IMisc:vectorCreate(0, 0, 5)) == true)
        assert(IGraphics:isInLineOfSight(a, a) == true)
        -- Vectors as text, and hostile arguments.
        assert(IGraphics:rayCast("0 0 0", "0 0 100") == ")" +
                             kUnit + R"(")
        for _, bad in ipairs({ {}, 0/0, 1e308, "x", true, coroutine.create(function() end) }) do
            IGraphics:rayCast(bad, bad)
            IGraphics:rayCastAll(a, b, bad)
            IGraphics:isInLineOfSight(bad, b)
        end
        assert(IGraphics:rayCastFilter(a, b, 2^40 + 32) == ")" +
                             kUnit + R"(")
        -- No camera is active: the cursor casts hit nothing.
        assert(IGraphics:rayCastMousePosition(false) == nil)
        assert(IGraphics:rayCastMousePositionFilter(0, true) == nil)
        assert(IGraphics:rayCastMousePositionAll(0, false) == nil)
    )";
    EXPECT_EQ(scripted.Run(code), "");
    scripted.graphics->Remove(&unit);
    scripted.graphics->Remove(&agent);
}

} // namespace
