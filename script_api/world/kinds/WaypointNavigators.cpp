#include "script_api/world/kinds/Waypoints.h"

#include "script_api/world/EntityArguments.h"
#include "world/navigation/WaypointNavigator.h"

#include "core/events/Multicast.h"
#include "core/foundation/HandleRegistry.h"
#include "core/script/lua/ScriptHandle.h"

#include <memory>
#include <string>
#include <unordered_map>

using LuaPlus::LuaState;
using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

template <> struct LuaPlus::ScriptHandleTraits<CWaypointNavigator>
{
    static constexpr const char* kName = "waypoint navigator";
};

namespace
{

// The world's waypoints as the script functions find them.
class CScriptWaypointGraph final : public IWaypointGraph
{
public:
    CManagedWaypoint* FindWaypoint(const std::string& id) override
    {
        return ScriptWorld::AsEntity<CManagedWaypoint>(
            ScriptWorld::FindUnit(Misc::World::kTypeIdWaypoint, id));
    }
    // The navigator never asks.
    bool IsWaypointSelected(const std::string&) const override { return false; }
    uint64_t GetRevision() const override { return GetWaypointRevision(); }
};

// One world channel that ends every navigator.
template <class K> class CWorldChange : public Misc::Multicast::CSubscriber<K>
{
public:
    explicit CWorldChange(void (*onChange)()) : m_onChange(onChange) { CMulticast<K>::Subscribe(this, 0); }
    ~CWorldChange() override { CMulticast<K>::Unsubscribe(this); }
    bool OnEvent(const CEvtWorld&) override
    {
        m_onChange();
        return false;
    }

private:
    void (*m_onChange)();
};

// The navigators scripts hold, by handle. They search the world they were
// made in: once it is unloaded or another is loaded their handles name
// nothing and every use is refused with the invalid-handle message.
class CNavigators
{
public:
    static CNavigators& Get()
    {
        // Never destroyed: a script may end the process from inside the
        // loop, and the handle registry goes at exit.
        static CNavigators* navigators = new CNavigators;
        return *navigators;
    }

    uint32_t Create()
    {
        auto navigator = std::make_unique<CWaypointNavigator>(m_graph);
        const uint32_t handle = Misc::CHandleRegistry::GetInstance().Add(navigator.get());
        m_navigators.emplace(handle, std::move(navigator));
        return handle;
    }
    void Destroy(uint32_t handle)
    {
        Misc::CHandleRegistry::GetInstance().Remove(handle);
        m_navigators.erase(handle);
    }
    void DestroyAll()
    {
        for (const auto& entry : m_navigators)
            Misc::CHandleRegistry::GetInstance().Remove(entry.first);
        m_navigators.clear();
        // The ids of the world that goes are no use to the next one.
        m_graph.DropIndex();
    }

private:
    CNavigators() = default;

    CScriptWaypointGraph m_graph;
    std::unordered_map<uint32_t, std::unique_ptr<CWaypointNavigator>> m_navigators;
    CWorldChange<Kind::WorldUnload> m_unload{[] { Get().DestroyAll(); }};
    CWorldChange<Kind::WorldDataLoad> m_load{[] { Get().DestroyAll(); }};
};

// 0 is no navigator; the functions answer their fallback for it.
using Navigator = LuaPlus::OptionalScriptHandle<CWaypointNavigator>;

lua_Number createWaypointNavigator(LuaState*)
{
    return CNavigators::Get().Create();
}

bool destroyWaypointNavigator(LuaState*, Navigator navigator)
{
    if (!navigator)
        return false;
    CNavigators::Get().Destroy(static_cast<uint32_t>(navigator.GetNumber()));
    return true;
}

// The waypoint is looked up only for a navigator.
void addWaypointNavigatorStart(LuaState*, Navigator navigator, const std::string& waypointId)
{
    if (!navigator)
        return;
    navigator->GetGraph().GetWaypoint(waypointId);
    navigator->AddStart(waypointId);
}

void setWaypointNavigatorGoal(LuaState*, Navigator navigator, const std::string& waypointId)
{
    if (!navigator)
        return;
    navigator->GetGraph().GetWaypoint(waypointId);
    navigator->SetGoal(waypointId);
}

void resetWaypointNavigator(LuaState*, Navigator navigator)
{
    if (navigator)
        navigator->Reset();
}

bool doWaypointNavigatorSearch(LuaState*, Navigator navigator)
{
    return navigator && navigator->Search();
}

bool doWaypointNavigatorSearchStep(LuaState*, Navigator navigator)
{
    return navigator && navigator->SearchStep() != CWaypointNavigator::kFailed;
}

bool isWaypointNavigatorSearchComplete(LuaState*, Navigator navigator)
{
    return !navigator || navigator->GetState() == CWaypointNavigator::kFound;
}

int32_t getWaypointNavigatorSearchIterations(LuaState*, Navigator navigator)
{
    return navigator ? navigator->GetSearchIterations() : -1;
}

int32_t getWaypointNavigatorSolutionCount(LuaState*, Navigator navigator)
{
    return navigator ? navigator->GetSolutionCount() : -1;
}

float getWaypointNavigatorSolutionCost(LuaState*, Navigator navigator)
{
    return navigator ? navigator->GetSolutionCost() : -1.0f;
}

bool moveWaypointNavigatorSolutionStart(LuaState*, Navigator navigator)
{
    return navigator && navigator->MoveSolutionStart();
}

bool moveWaypointNavigatorSolutionEnd(LuaState*, Navigator navigator)
{
    return navigator && navigator->MoveSolutionEnd();
}

bool moveWaypointNavigatorSolutionNext(LuaState*, Navigator navigator)
{
    return navigator && navigator->MoveSolutionNext();
}

bool moveWaypointNavigatorSolutionPrevious(LuaState*, Navigator navigator)
{
    return navigator && navigator->MoveSolutionPrevious();
}

bool isWaypointNavigatorSolutionValid(LuaState*, Navigator navigator)
{
    return navigator && navigator->IsSolutionValid();
}

// "Invalid solution iterator" while the cursor is not set.
std::string getWaypointNavigatorSolutionCurrentId(LuaState*, Navigator navigator)
{
    return navigator ? navigator->GetSolutionCurrentId() : std::string();
}

} // namespace

void RegisterIWorldWaypointNavigatorFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("createWaypointNavigator", &createWaypointNavigator);
    table.RegisterHelper("destroyWaypointNavigator", &destroyWaypointNavigator);
    table.RegisterHelper("addWaypointNavigatorStart", &addWaypointNavigatorStart);
    table.RegisterHelper("setWaypointNavigatorGoal", &setWaypointNavigatorGoal);
    table.RegisterHelper("resetWaypointNavigator", &resetWaypointNavigator);
    table.RegisterHelper("doWaypointNavigatorSearch", &doWaypointNavigatorSearch);
    table.RegisterHelper("doWaypointNavigatorSearchStep", &doWaypointNavigatorSearchStep);
    table.RegisterHelper("isWaypointNavigatorSearchComplete", &isWaypointNavigatorSearchComplete);
    table.RegisterHelper("getWaypointNavigatorSearchIterations", &getWaypointNavigatorSearchIterations);
    table.RegisterHelper("getWaypointNavigatorSolutionCount", &getWaypointNavigatorSolutionCount);
    table.RegisterHelper("getWaypointNavigatorSolutionCost", &getWaypointNavigatorSolutionCost);
    table.RegisterHelper("moveWaypointNavigatorSolutionStart", &moveWaypointNavigatorSolutionStart);
    table.RegisterHelper("moveWaypointNavigatorSolutionEnd", &moveWaypointNavigatorSolutionEnd);
    table.RegisterHelper("moveWaypointNavigatorSolutionNext", &moveWaypointNavigatorSolutionNext);
    table.RegisterHelper("moveWaypointNavigatorSolutionPrevious", &moveWaypointNavigatorSolutionPrevious);
    table.RegisterHelper("isWaypointNavigatorSolutionValid", &isWaypointNavigatorSolutionValid);
    table.RegisterHelper("getWaypointNavigatorSolutionCurrentId", &getWaypointNavigatorSolutionCurrentId);
}
