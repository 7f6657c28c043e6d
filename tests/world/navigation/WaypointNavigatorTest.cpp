// The waypoint navigator over small graphs: routes, costs, iteration
// counts, the walk along a route, and what it does with gone waypoints,
// waypoints without connections and costs that are no distances.

#include "WaypointTestGraph.h"
#include "support/ErrorOf.h"

#include "world/navigation/BestFirstSearch.h"
#include "world/navigation/WaypointNavigator.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <map>
#include <random>

namespace
{

// The route as letters, walked from the start.
std::string Route(CWaypointNavigator& navigator)
{
    std::string route;
    for (bool more = navigator.MoveSolutionStart(); more; more = navigator.MoveSolutionNext())
        route += CWaypointTestGraph::Letter(navigator.GetSolutionCurrentId());
    return route;
}

// The same walked back from the goal, then reversed.
std::string RouteBack(CWaypointNavigator& navigator)
{
    std::string route;
    for (bool more = navigator.MoveSolutionEnd(); more; more = navigator.MoveSolutionPrevious())
        route.insert(route.begin(), CWaypointTestGraph::Letter(navigator.GetSolutionCurrentId()));
    return route;
}

struct SRouteCase
{
    const char* name;
    const char* waypoints;
    const char* connections;
    const char* starts;
    char goal; // 0: none
    uint32_t state;
    const char* route;
    float cost;
    int32_t iterations;
};

const SRouteCase kRoutes[] = {
    {"start is the goal", "A", "", "A", 'A', 2, "A", 0.0f, 1},
    {"a chain", "ABC", "A>B:1 B>C:2", "A", 'C', 2, "ABC", 3.0f, 3},
    {"the goal out of reach", "ABC", "A>B:1", "A", 'C', 3, "", 0.0f, 2},
    {"no start", "AB", "A>B:1", "", 'B', 3, "", 0.0f, 0},
    {"no goal", "AB", "A>B:1", "A", 0, 3, "", 0.0f, 0},
    {"the nearer of two starts", "ABCD", "A>B:5 D>B:1 B>C:1", "AD", 'C', 2, "DBC", 2.0f, 4},
    {"an open waypoint reached cheaper later", "ABCG", "A>B:5 A>C:1 C>B:1 B>G:1", "A", 'G', 2, "ACBG", 3.0f,
     4},
    {"a waypoint without connections on the way", "ABCG", "A>B:1 A>C:5 C>G:1", "A", 'G', 2, "ACG", 6.0f, 4},
    {"each connection at its own cost", "ABG", "A>B:5 A>B:1 B>G:1", "A", 'G', 2, "ABG", 2.0f, 3},
    {"ties go to the first connection", "ABCG", "A>B:1 A>C:1 B>G:1 C>G:1", "A", 'G', 2, "ABG", 2.0f, 4},
    {"ties go to the first connection, reversed", "ABCG", "A>C:1 A>B:1 B>G:1 C>G:1", "A", 'G', 2, "ACG", 2.0f,
     4},
    {"connections without a cost", "ABG", "A>B B>G", "A", 'G', 2, "ABG", 0.0f, 3},
    {"negative and undefined costs add nothing", "ABG", "A>B:-5 B>A:-5 B>G:nan", "A", 'G', 2, "ABG", 0.0f, 3},
    {"a negative cycle ends", "ABCG", "A>B:-1 B>C:-1 C>A:-1", "A", 'G', 3, "", 0.0f, 3},
    {"an endless cost is the largest", "AG", "A>G:inf", "A", 'G', 2, "AG", FLT_MAX, 2},
};

TEST(WaypointNavigatorTest, RoutesThroughSmallGraphs)
{
    for (const SRouteCase& row : kRoutes)
    {
        SCOPED_TRACE(row.name);
        CWaypointTestGraph graph(row.waypoints, row.connections);
        CWaypointNavigator navigator(graph.graph);
        for (const char* start = row.starts; *start != 0; ++start)
            navigator.AddStart(CWaypointTestGraph::Id(*start));
        if (row.goal != 0)
            navigator.SetGoal(CWaypointTestGraph::Id(row.goal));
        EXPECT_EQ(navigator.Search(), row.state == CWaypointNavigator::kFound);
        EXPECT_EQ(navigator.GetState(), row.state);
        EXPECT_EQ(navigator.GetSearchIterations(), row.iterations);
        EXPECT_EQ(navigator.GetSolutionCost(), row.cost);
        const std::string route = row.route;
        EXPECT_EQ(navigator.GetSolutionCount(), route.empty() ? 0 : static_cast<int32_t>(route.size()) - 1);
        EXPECT_EQ(Route(navigator), route);
        if (row.goal != 0)
        {
            EXPECT_EQ(RouteBack(navigator), route.empty() ? std::string(1, row.goal) : route);
        }
        // Once done, steps change nothing.
        EXPECT_EQ(navigator.SearchStep(), row.state);
        EXPECT_EQ(navigator.GetSearchIterations(), row.iterations);
    }
}

TEST(WaypointNavigatorTest, TheRouteIsWalkedBothWaysAndResetKeepsTheGoal)
{
    CWaypointTestGraph graph("ABC", "A>B:1 B>C:1");
    CWaypointNavigator navigator(graph.graph);
    EXPECT_FALSE(navigator.MoveSolutionEnd());
    EXPECT_EQ(ErrorOf([&] { navigator.GetSolutionCurrentId(); }), "Invalid solution iterator");
    navigator.AddStart(CWaypointTestGraph::Id('A'));
    navigator.SetGoal(CWaypointTestGraph::Id('C'));
    // Step by step: searching until the step that takes the goal.
    EXPECT_EQ(navigator.SearchStep(), CWaypointNavigator::kSearching);
    EXPECT_FALSE(navigator.MoveSolutionStart());
    EXPECT_EQ(navigator.SearchStep(), CWaypointNavigator::kSearching);
    EXPECT_EQ(navigator.SearchStep(), CWaypointNavigator::kFound);

    ASSERT_TRUE(navigator.MoveSolutionStart());
    EXPECT_EQ(navigator.GetSolutionCurrentId(), CWaypointTestGraph::Id('A'));
    ASSERT_TRUE(navigator.MoveSolutionNext());
    ASSERT_TRUE(navigator.MoveSolutionNext());
    EXPECT_EQ(navigator.GetSolutionCurrentId(), CWaypointTestGraph::Id('C'));
    EXPECT_FALSE(navigator.MoveSolutionNext());
    EXPECT_FALSE(navigator.IsSolutionValid());
    EXPECT_FALSE(navigator.MoveSolutionPrevious());
    EXPECT_EQ(ErrorOf([&] { navigator.GetSolutionCurrentId(); }), "Invalid solution iterator");
    ASSERT_TRUE(navigator.MoveSolutionEnd());
    ASSERT_TRUE(navigator.MoveSolutionPrevious());
    EXPECT_EQ(navigator.GetSolutionCurrentId(), CWaypointTestGraph::Id('B'));

    // Reset forgets the route and the starts, not the goal.
    navigator.Reset();
    EXPECT_EQ(navigator.GetState(), CWaypointNavigator::kSearching);
    EXPECT_EQ(navigator.GetSearchIterations(), 0);
    EXPECT_EQ(navigator.GetSolutionCount(), 0);
    EXPECT_EQ(navigator.GetSolutionCost(), 0.0f);
    EXPECT_FALSE(navigator.IsSolutionValid());
    EXPECT_FALSE(navigator.MoveSolutionStart());
    ASSERT_TRUE(navigator.MoveSolutionEnd());
    EXPECT_FALSE(navigator.MoveSolutionPrevious());
    navigator.AddStart(CWaypointTestGraph::Id('B'));
    EXPECT_TRUE(navigator.Search());
    EXPECT_EQ(Route(navigator), "BC");
    EXPECT_EQ(RouteBack(navigator), "BC");
}

TEST(WaypointNavigatorTest, GoneWaypointsStopTheStepThatMeetsThem)
{
    // B leads to a waypoint that is gone, which the search meets before
    // the goal (equal cost, earlier connection); C is deleted after it was
    // added as a start.
    CWaypointTestGraph graph("ABCG", "A>B:1 B>Z:1 B>G:1 C>G:1");
    CWaypointNavigator navigator(graph.graph);
    navigator.AddStart(CWaypointTestGraph::Id('A'));
    navigator.SetGoal(CWaypointTestGraph::Id('G'));
    EXPECT_EQ(navigator.SearchStep(), CWaypointNavigator::kSearching);
    EXPECT_EQ(navigator.SearchStep(), CWaypointNavigator::kSearching);
    const std::string notFound = "[CWorldMap::GetUnit] Unit not found [" + CWaypointTestGraph::Id('Z') + "]";
    EXPECT_EQ(ErrorOf([&] { navigator.SearchStep(); }), notFound);
    EXPECT_EQ(navigator.GetState(), CWaypointNavigator::kSearching);
    // The same again: the step left the search as it was.
    EXPECT_EQ(ErrorOf([&] { navigator.Search(); }), notFound);

    graph.waypoints.RemoveUnit(CWaypointTestGraph::Id('C'));
    navigator.Reset();
    navigator.AddStart(CWaypointTestGraph::Id('C'));
    EXPECT_EQ(ErrorOf([&] { navigator.Search(); }),
              "[CWorldMap::GetUnit] Unit not found [" + CWaypointTestGraph::Id('C') + "]");
    EXPECT_EQ(navigator.GetSearchIterations(), 1);

    // A goal that is gone is not arrived at.
    navigator.Reset();
    navigator.AddStart(CWaypointTestGraph::Id('B'));
    navigator.SetGoal(CWaypointTestGraph::Id('Z'));
    EXPECT_EQ(ErrorOf([&] { navigator.Search(); }), notFound);
    EXPECT_EQ(navigator.GetState(), CWaypointNavigator::kSearching);
}

// What a search gives, to compare searches.
struct SOutcome
{
    bool found;
    int32_t iterations;
    float cost;
    std::string route;
    bool operator==(const SOutcome& other) const
    {
        return found == other.found && iterations == other.iterations && cost == other.cost &&
               route == other.route;
    }
};

SOutcome Searched(CWaypointNavigator& navigator, char start, char goal)
{
    navigator.Reset();
    navigator.AddStart(CWaypointTestGraph::Id(start));
    navigator.SetGoal(CWaypointTestGraph::Id(goal));
    const bool found = navigator.Search();
    return {found, navigator.GetSearchIterations(), navigator.GetSolutionCost(), Route(navigator)};
}

TEST(WaypointNavigatorTest, NavigatorsOfOneGraphShareWhatWasReadUntilItChanges)
{
    CWaypointTestGraph graph("ABCD", "A>B:1 B>C:1 A>D:5 D>C:5");
    CWaypointNavigator first(graph.graph);
    EXPECT_EQ(Searched(first, 'A', 'C').route, "ABC");
    // A second navigator finds what the first read, and the same route.
    CWaypointNavigator second(graph.graph);
    EXPECT_EQ(Searched(second, 'A', 'C'), Searched(first, 'A', 'C'));

    // A change read by one is seen by the other.
    graph.Waypoint('B').RemoveConnection(graph.Waypoint('B').GetConnections().front().GetId());
    EXPECT_EQ(Searched(second, 'A', 'C').route, "ADC");
    EXPECT_EQ(Searched(first, 'A', 'C').route, "ADC");

    // Forgetting what was read changes no answer, whoever holds the old.
    graph.graph.DropIndex();
    CWaypointNavigator third(graph.graph);
    EXPECT_EQ(Searched(third, 'A', 'C').route, "ADC");
    EXPECT_EQ(Searched(first, 'A', 'C').route, "ADC");
    CWaypointConnection connection;
    connection.SetWaypoint(CWaypointTestGraph::Id('C'));
    connection.SetCost(1.0f);
    graph.Waypoint('A').AddConnection(connection);
    EXPECT_EQ(Searched(first, 'A', 'C').route, "AC");
    EXPECT_EQ(Searched(third, 'A', 'C').route, "AC");
}

TEST(WaypointNavigatorTest, SearchesAfterSearchesAnswerAsAFreshNavigator)
{
    // Seeded graphs of letters with ties, dead ends and gone waypoints;
    // one navigator runs every search in turn, each compared with a new
    // navigator over a second graph of the same waypoints, whose index is
    // dropped before each, so that it starts from nothing.
    const std::string letters = "ABCDEFGHIJKLMNOP";
    for (uint32_t seed = 1; seed <= 30; ++seed)
    {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::string connections;
        for (int i = 0; i < 40; ++i)
        {
            connections += letters[random() % letters.size()];
            connections += '>';
            // Now and then to a waypoint that is not there.
            connections += random() % 20 == 0 ? 'Z' : letters[random() % letters.size()];
            connections += ':' + std::to_string(random() % 4) + ' ';
        }
        CWaypointTestGraph graph(letters, connections);
        CWaypointTestGraph fresh(letters, connections);
        CWaypointNavigator reused(graph.graph);
        for (int search = 0; search < 12; ++search)
        {
            const char start = letters[random() % letters.size()];
            const char goal = letters[random() % letters.size()];
            SCOPED_TRACE(std::string(1, start) + goal);
            fresh.graph.DropIndex();
            CWaypointNavigator alone(fresh.graph);
            const std::string reusedError = ErrorOf([&] { Searched(reused, start, goal); });
            const std::string aloneError = ErrorOf([&] { Searched(alone, start, goal); });
            EXPECT_EQ(reusedError, aloneError);
            EXPECT_EQ(reused.GetSearchIterations(), alone.GetSearchIterations());
            EXPECT_EQ(Route(reused), Route(alone));
            EXPECT_EQ(RouteBack(reused), RouteBack(alone));
            EXPECT_EQ(reused.GetSolutionCost(), alone.GetSolutionCost());
        }
    }
}

// Integer states with an estimate that misleads, so that a closed node is
// reached again at a lower cost.
struct SMisledProblem
{
    using State = int;
    std::multimap<int, std::pair<int, float>> connections;
    std::map<int, float> estimates;

    float Heuristic(int state, int) const { return estimates.count(state) ? estimates.at(state) : 0.0f; }
    float Combine(float g, float h) const { return g + h; }
    template <class Visit> void Successors(int state, const Visit& visit) const
    {
        const auto [first, last] = connections.equal_range(state);
        for (auto it = first; it != last; ++it)
            visit(it->second.first, it->second.second);
    }
    void ConfirmGoal(int) const {}
};

TEST(WaypointNavigatorTest, AClosedStateReachedCheaperIsOpenedAgain)
{
    // 0 start, 1 looks far but is cheap, 2 looks near but is dear, 3 is
    // reached through both, 4 is the goal.
    SMisledProblem problem;
    problem.connections = {{0, {1, 1.0f}}, {0, {2, 5.0f}}, {2, {3, 1.0f}}, {1, {3, 1.0f}}, {3, {4, 10.0f}}};
    problem.estimates = {{1, 10.0f}};
    CBestFirstSearch<SMisledProblem> search(problem);
    search.AddStart(0);
    search.SetGoal(4);
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(search.GetSolutionCost(), 12.0f);
    EXPECT_EQ(search.GetIterations(), 6);
    std::vector<int> route;
    for (bool more = search.MoveSolutionStart(); more; more = search.MoveSolutionNext())
        route.push_back(*search.GetSolutionCurrent());
    EXPECT_EQ(route, (std::vector<int>{0, 1, 3, 4}));
}

} // namespace
