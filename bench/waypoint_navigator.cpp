// The waypoint navigator on a square grid of waypoints, 4-connected with
// cost 1 each way, from one corner to the other, against a plain A* with
// std::priority_queue over the same graph in the same run, and against the
// same plain A* over an integer-indexed copy of the grid (vectors of
// neighbours, costs and parents). All use the navigator's estimate (the
// constant 1), so all expand nearly the whole grid; the difference is the
// bookkeeping. The navigator indexes the graph once per change of it:
// NavigatorAfterChange pays that on every search. Sizes 100 x 100 and
// 200 x 200 show how the time grows with the number of waypoints.
#include "world/navigation/WaypointMapGraph.h"
#include "world/navigation/WaypointNavigator.h"
#include "world/navigation/WaypointRevision.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <queue>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace
{

struct SGrid
{
    explicit SGrid(int side) : graph(waypoints)
    {
        std::vector<std::string> ids;
        for (int i = 0; i < side * side; ++i)
            ids.push_back(waypoints.AddUnit(CManagedWaypoint())->GetId());
        const auto connect = [&](int from, int to)
        {
            CWaypointConnection connection;
            connection.SetWaypoint(ids[to]);
            connection.SetCost(1.0f);
            graph.GetWaypoint(ids[from]).AddConnection(connection);
        };
        for (int y = 0; y < side; ++y)
        {
            for (int x = 0; x < side; ++x)
            {
                const int at = y * side + x;
                if (x + 1 < side)
                {
                    connect(at, at + 1);
                    connect(at + 1, at);
                }
                if (y + 1 < side)
                {
                    connect(at, at + side);
                    connect(at + side, at);
                }
            }
        }
        start = ids.front();
        goal = ids.back();
    }

    CWaypointMap waypoints;
    CWaypointMapGraph graph;
    std::string start;
    std::string goal;
};

// One grid per size, made once.
SGrid& Grid(int side)
{
    static std::map<int, std::unique_ptr<SGrid>> grids;
    std::unique_ptr<SGrid>& grid = grids[side];
    if (!grid)
        grid = std::make_unique<SGrid>(side);
    return *grid;
}

// A search in a graph that changed since the last one: the navigator
// reads every waypoint it meets again.
void NavigatorAfterChange(benchmark::State& state)
{
    SGrid& grid = Grid(static_cast<int>(state.range(0)));
    CWaypointNavigator navigator(grid.graph);
    navigator.SetGoal(grid.goal);
    for (auto _ : state)
    {
        NoteWaypointChange();
        navigator.Reset();
        navigator.AddStart(grid.start);
        if (!navigator.Search())
            state.SkipWithError("no route");
        benchmark::DoNotOptimize(navigator.GetSolutionCost());
    }
}

void Navigator(benchmark::State& state)
{
    SGrid& grid = Grid(static_cast<int>(state.range(0)));
    CWaypointNavigator navigator(grid.graph);
    navigator.SetGoal(grid.goal);
    for (auto _ : state)
    {
        navigator.Reset();
        navigator.AddStart(grid.start);
        if (!navigator.Search())
            state.SkipWithError("no route");
        benchmark::DoNotOptimize(navigator.GetSolutionCost());
    }
    state.counters["iterations"] = navigator.GetSearchIterations();
}

// The plain search: a heap of (f, id) entries with stale ones skipped, the
// best g and the parent of each id in hash maps, the route read back at
// the end.
float PlainAStar(IWaypointGraph& graph, const std::string& start, const std::string& goal, int& expanded)
{
    using Entry = std::pair<float, std::string>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    std::unordered_map<std::string, float> best;
    std::unordered_map<std::string, std::string> parents;
    std::unordered_set<std::string> closed;
    best[start] = 0.0f;
    open.push({1.0f, start});
    expanded = 0;
    while (!open.empty())
    {
        const auto [f, id] = open.top();
        open.pop();
        if (!closed.insert(id).second)
            continue;
        ++expanded;
        const float g = best[id];
        if (id == goal)
        {
            int steps = 0;
            for (auto at = parents.find(id); at != parents.end(); at = parents.find(at->second))
                ++steps;
            benchmark::DoNotOptimize(steps);
            return g;
        }
        for (const CWaypointConnection& connection : graph.GetWaypoint(id).GetConnections())
        {
            const std::string& next = connection.GetWaypoint();
            const float cost = g + connection.GetCost();
            const auto known = best.find(next);
            if (known != best.end() && known->second <= cost)
                continue;
            best[next] = cost;
            parents[next] = id;
            open.push({cost + 1.0f, next});
        }
    }
    return -1.0f;
}

void PlainPriorityQueue(benchmark::State& state)
{
    SGrid& grid = Grid(static_cast<int>(state.range(0)));
    int expanded = 0;
    for (auto _ : state)
    {
        if (PlainAStar(grid.graph, grid.start, grid.goal, expanded) < 0.0f)
            state.SkipWithError("no route");
    }
    state.counters["iterations"] = expanded;
}

// The grid as numbers: each waypoint's neighbours and costs by index.
struct SIndexedGrid
{
    explicit SIndexedGrid(SGrid& grid)
    {
        std::unordered_map<std::string, int> index;
        for (const auto& entry : grid.waypoints.GetTable())
            index.emplace(entry.first, static_cast<int>(index.size()));
        edges.resize(index.size());
        for (const auto& entry : grid.waypoints.GetTable())
            for (const CWaypointConnection& connection : entry.second.GetConnections())
                edges[index.at(entry.first)].push_back(
                    {index.at(connection.GetWaypoint()), connection.GetCost()});
        start = index.at(grid.start);
        goal = index.at(grid.goal);
    }

    std::vector<std::vector<std::pair<int, float>>> edges;
    int start = 0;
    int goal = 0;
};

// The plain search over numbers: the same heap of (f, state) entries with
// stale ones skipped, the best g, the parents and the closed flags in
// vectors.
float IntegerAStar(const SIndexedGrid& grid, int& expanded)
{
    using Entry = std::pair<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    const size_t count = grid.edges.size();
    std::vector<float> best(count, -1.0f);
    std::vector<int> parents(count, -1);
    std::vector<char> closed(count, 0);
    best[grid.start] = 0.0f;
    open.push({1.0f, grid.start});
    expanded = 0;
    while (!open.empty())
    {
        const auto [f, at] = open.top();
        open.pop();
        if (closed[at])
            continue;
        closed[at] = 1;
        ++expanded;
        const float g = best[at];
        if (at == grid.goal)
        {
            int steps = 0;
            for (int step = parents[at]; step >= 0; step = parents[step])
                ++steps;
            benchmark::DoNotOptimize(steps);
            return g;
        }
        for (const auto& [next, cost] : grid.edges[at])
        {
            const float through = g + cost;
            if (best[next] >= 0.0f && best[next] <= through)
                continue;
            best[next] = through;
            parents[next] = at;
            open.push({through + 1.0f, next});
        }
    }
    return -1.0f;
}

void PlainIntegerAStar(benchmark::State& state)
{
    const SIndexedGrid grid(Grid(static_cast<int>(state.range(0))));
    int expanded = 0;
    for (auto _ : state)
    {
        if (IntegerAStar(grid, expanded) < 0.0f)
            state.SkipWithError("no route");
    }
    state.counters["iterations"] = expanded;
}

// What any search by id pays the graph: each waypoint found once by its id
// and its connections read, in the order of the ids.
void GraphLookups(benchmark::State& state)
{
    SGrid& grid = Grid(static_cast<int>(state.range(0)));
    std::vector<std::string> ids;
    for (const auto& entry : grid.waypoints.GetTable())
        ids.push_back(entry.first);
    for (auto _ : state)
    {
        float sum = 0.0f;
        for (const std::string& id : ids)
        {
            for (const CWaypointConnection& connection : grid.graph.GetWaypoint(id).GetConnections())
                sum += connection.GetCost();
        }
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

BENCHMARK(GraphLookups)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(Navigator)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(NavigatorAfterChange)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainIntegerAStar)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainPriorityQueue)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
