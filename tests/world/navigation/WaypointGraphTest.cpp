// A waypoint graph as the scene shows it and as a world file keeps it: the
// arrows of the connections, their colours, the drawing's subscription,
// and a graph read back with a connection to a waypoint that is gone.

#include "WaypointTestGraph.h"
#include "graphics/scene/EntityArchive.h"
#include "support/ErrorOf.h"
#include "support/NullGraphicsEngine.h"

#include "world/navigation/WaypointArrow.h"
#include "world/navigation/WaypointNavigator.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

using DrawPostScene = Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::DrawPostScene>;

// Installs the graph for drawing while it lives.
class CInstalledGraph
{
public:
    explicit CInstalledGraph(IWaypointGraph& graph) : m_previous(SetWaypointGraph(&graph)) {}
    ~CInstalledGraph() { SetWaypointGraph(m_previous); }

private:
    IWaypointGraph* m_previous;
};

void ExpectNear(const CVector& actual, const CVector& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 0.01f);
    EXPECT_NEAR(actual.y, expected.y, 0.01f);
    EXPECT_NEAR(actual.z, expected.z, 0.01f);
}

TEST(WaypointGraphTest, ArrowsPointAtTheDestination)
{
    struct SRow
    {
        const char* name;
        CVector from, to, tip, leftWing, rightWing;
    };
    const SRow rows[] = {
        {"along x", {0, 0, 0}, {10, 0, 0}, {8, 0, 0}, {7, 0, 0.5f}, {7, 0, -0.5f}},
        {"in the plane", {1, 2, 3}, {4, 2, 7}, {3.4f, 2, 6.2f}, {2.9f, 2, 5.95f}, {3.3f, 2, 5.65f}},
        {"rising", {0, 0, 0}, {3, 4, 0}, {2.4f, 3.2f, 0}, {2.1f, 2.8f, 0.25f}, {2.1f, 2.8f, -0.25f}},
        // No side to go to: both strokes start at the base.
        {"straight up", {0, 0, 0}, {0, 10, 0}, {0, 8, 0}, {0, 7, 0}, {0, 7, 0}},
        {"no length", {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}},
    };
    for (const SRow& row : rows)
    {
        SCOPED_TRACE(row.name);
        const SWaypointArrow arrow = SWaypointArrow::Between(row.from, row.to);
        ExpectNear(arrow.from, row.from);
        ExpectNear(arrow.to, row.to);
        ExpectNear(arrow.tip, row.tip);
        ExpectNear(arrow.leftWing, row.leftWing);
        ExpectNear(arrow.rightWing, row.rightWing);
    }

    const auto expectColor = [](const CColor& color, float r, float g, float b, float a)
    {
        EXPECT_FLOAT_EQ(color.r, r);
        EXPECT_FLOAT_EQ(color.g, g);
        EXPECT_FLOAT_EQ(color.b, b);
        EXPECT_FLOAT_EQ(color.a, a);
    };
    const SWaypointArrowColors selected = SWaypointArrowColors::For(true);
    expectColor(selected.line, 1, 0, 0, 1);
    expectColor(selected.arrow, 1, 0.2f, 0.2f, 1);
    const SWaypointArrowColors dimmed = SWaypointArrowColors::For(false);
    expectColor(dimmed.line, 0.7f, 0, 0, 0.7f);
    expectColor(dimmed.arrow, 0.5f, 0.1f, 0.1f, 0.5f);
}

TEST(WaypointGraphTest, TheDrawingFollowsItsFlagOnce)
{
    auto waypoint = std::make_unique<CManagedWaypoint>();
    const auto subscribed = [&] { return DrawPostScene::IsSubscribed(waypoint.get()); };
    waypoint->SetFlags(CManagedWaypoint::kArrowsFlag | 1);
    waypoint->SetFlags(CManagedWaypoint::kArrowsFlag);
    EXPECT_TRUE(subscribed());
    waypoint->SetVisible(false);
    waypoint->SetVisible(true);
    EXPECT_TRUE(subscribed());
    EXPECT_EQ(waypoint->GetFlags(), CManagedWaypoint::kArrowsFlag);
    DrawPostScene::Unsubscribe(waypoint.get());
    EXPECT_FALSE(subscribed());
    waypoint->SetFlags(CManagedWaypoint::kArrowsFlag);
    waypoint->SetFlags(0);
    waypoint->SetVisible(true);
    EXPECT_FALSE(subscribed());

    waypoint->SetFlags(CManagedWaypoint::kArrowsFlag);
    CManagedWaypoint copy(*waypoint);
    EXPECT_FALSE(DrawPostScene::IsSubscribed(&copy));
    const auto* address = static_cast<DrawPostScene::Subscriber*>(waypoint.get());
    waypoint.reset();
    EXPECT_FALSE(DrawPostScene::IsSubscribed(address));
}

TEST(WaypointGraphTest, ConnectionsThatLeadNowhereAreNotDrawn)
{
    CNullEngine graphics;
    CNullEngine other;
    // A leads to B, to a waypoint that is gone and, with a new connection,
    // nowhere yet.
    CWaypointTestGraph graph("AB", "A>B:1 A>Z:1");
    CManagedWaypoint& a = graph.Waypoint('A');
    a.AddConnection(CWaypointConnection());
    a.SetFlags(CManagedWaypoint::kArrowsFlag);
    graphics.engine.Add(&a, nullptr, "");
    ASSERT_TRUE(DrawPostScene::IsSubscribed(&a));
    {
        CInstalledGraph installed(graph.graph);
        for (const bool selected : {false, true})
        {
            if (selected)
                graph.waypoints.Select(a.GetId());
            // Never handled, so that others draw as well.
            EXPECT_EQ(ErrorOf([&] { EXPECT_FALSE(DrawPostScene::Publish({&graphics.engine})); }),
                      "(no error)");
            EXPECT_FALSE(DrawPostScene::Publish({&other.engine}));
        }
    }
    // Without a world's graph nothing is drawn.
    EXPECT_FALSE(DrawPostScene::Publish({&graphics.engine}));
    EXPECT_TRUE(graphics.engine.Step());
}

TEST(WaypointGraphTest, AGraphReadBackKeepsItsConnectionToAGoneWaypoint)
{
    using namespace EntityArchive;
    CTestFolder folder;
    CWaypointTestGraph saved("ABG", "A>B:1.5 A>Z:2 B>G:0.25");
    const std::string text = Save(folder, saved.waypoints, EForm::Text);
    CWaypointTestGraph read("");
    ASSERT_EQ(Load(folder, read.waypoints, text, EForm::Text), "");
    ASSERT_EQ(read.waypoints.GetCount(), 3u);
    const auto& connections = read.Waypoint('A').GetConnections();
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_EQ(connections[1].GetWaypoint(), CWaypointTestGraph::Id('Z'));
    EXPECT_EQ(connections[1].GetCost(), 2.0f);

    CWaypointNavigator navigator(read.graph);
    navigator.AddStart(CWaypointTestGraph::Id('B'));
    navigator.SetGoal(CWaypointTestGraph::Id('G'));
    EXPECT_TRUE(navigator.Search());
    EXPECT_EQ(navigator.GetSolutionCost(), 0.25f);
    // From A the goal comes before the gone waypoint would be expanded;
    // beyond it nothing is found.
    navigator.Reset();
    navigator.AddStart(CWaypointTestGraph::Id('A'));
    EXPECT_TRUE(navigator.Search());
    EXPECT_EQ(navigator.GetSolutionCost(), 1.75f);
    navigator.Reset();
    navigator.AddStart(CWaypointTestGraph::Id('A'));
    navigator.SetGoal(CWaypointTestGraph::Id('Z'));
    EXPECT_EQ(ErrorOf([&] { navigator.Search(); }),
              "[CWorldMap::GetUnit] Unit not found [" + CWaypointTestGraph::Id('Z') + "]");
}

} // namespace
