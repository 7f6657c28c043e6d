// Navigator handles against the world's events: once the world is
// unloaded or another is loaded, every handle made before is refused with
// the invalid-handle message, and new navigators work.
#include "support/ScriptApiTestState.h"
#include "world/navigation/WaypointTestGraph.h"

#include "core/events/Multicast.h"
#include "script_api/core/ScriptInterface.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/world/kinds/Waypoints.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

// The test graph as the scripts' entity lookup.
class CGraphLookup final : public ScriptWorld::IEntityLookup
{
public:
    explicit CGraphLookup(CWaypointTestGraph& graph)
        : m_graph(graph), m_previous(ScriptWorld::SetEntityLookup(this))
    {
    }
    ~CGraphLookup() { ScriptWorld::SetEntityLookup(m_previous); }

    Misc::World::IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) override
    {
        return typeId == Misc::World::kTypeIdWaypoint ? m_graph.graph.FindWaypoint(std::string(id)) : nullptr;
    }
    Misc::World::IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        return FindUnit(Misc::World::kTypeIdWaypoint, id);
    }

private:
    CWaypointTestGraph& m_graph;
    ScriptWorld::IEntityLookup* m_previous;
};

class IWorldWaypoints : public ScriptApiTestState
{
protected:
    void SetUp() override
    {
        ScriptApiTestState::SetUp();
        PublishScriptInterface(state, "IWorld", {&RegisterIWorldWaypointFunctions});
    }

    // The first result of the code, a navigator handle, as text.
    std::string Handle(const std::string& code)
    {
        return std::to_string(static_cast<uint32_t>(Eval(code).GetNumber()));
    }

    CWaypointTestGraph graph{"AB", "A>B:2"};
    CGraphLookup lookup{graph};
};

TEST_F(IWorldWaypoints, HandlesEndWithTheirWorld)
{
    const std::string search = "local n = IWorld:createWaypointNavigator()\n"
                               "IWorld:addWaypointNavigatorStart(n, '" +
                               CWaypointTestGraph::Id('A') +
                               "')\n"
                               "IWorld:setWaypointNavigatorGoal(n, '" +
                               CWaypointTestGraph::Id('B') +
                               "')\n"
                               "assert(IWorld:doWaypointNavigatorSearch(n))\n"
                               "assert(IWorld:getWaypointNavigatorSolutionCost(n) == 2)\n"
                               "return n";
    const auto refused = [&](const std::string& handle)
    {
        return Run("IWorld:getWaypointNavigatorSolutionCost(" + handle + ")") ==
               "test:1: [IWorld::getWaypointNavigatorSolutionCost] Invalid waypoint navigator handle: " +
                   handle;
    };
    for (const bool unload : {true, false})
    {
        SCOPED_TRACE(unload ? "unload" : "another world loaded");
        const std::string first = Handle(search);
        const std::string second = Handle(search);
        EXPECT_FALSE(refused(first));
        if (unload)
            CMulticast<Kind::WorldUnload>::Publish({});
        else
            CMulticast<Kind::WorldDataLoad>::Publish({});
        EXPECT_TRUE(refused(first));
        EXPECT_TRUE(refused(second));
        const std::string fresh = Handle(search);
        EXPECT_FALSE(refused(fresh));
    }
    // A waypoint deleted under a navigator is no dangling pointer: the
    // step that needs it fails.
    const std::string navigator = Handle("local n = IWorld:createWaypointNavigator()\n"
                                         "IWorld:addWaypointNavigatorStart(n, '" +
                                         CWaypointTestGraph::Id('A') +
                                         "')\n"
                                         "IWorld:setWaypointNavigatorGoal(n, '" +
                                         CWaypointTestGraph::Id('B') + "')\nreturn n");
    graph.waypoints.RemoveUnit(CWaypointTestGraph::Id('A'));
    EXPECT_EQ(Run("IWorld:doWaypointNavigatorSearch(" + navigator + ")"),
              "test:1: [CWorldMap::GetUnit] Unit not found [" + CWaypointTestGraph::Id('A') + "]");
}

} // namespace
