#include "script_api/world/kinds/KindArguments.h"
#include "script_api/world/kinds/KindFunctions.h"

#include "graphics/scene/GraphicalAgent.h"

using Graphics::Scene::CGraphicalAgent;

namespace
{

// The shadow functions name their agent among all entities: only an agent
// answers.
using Agent = ScriptWorld::UnitOfWorld<Misc::World::kTypeIdAgent, CGraphicalAgent>;

} // namespace

void RegisterIWorldAgentFunctions(CScriptMetaTable& table)
{
    table.RegisterMethod<Agent>("setAgentShadowsEnabled", &CGraphicalAgent::SetShadows);
    table.RegisterMethod<Agent>("getAgentShadowsEnabled", &CGraphicalAgent::GetShadows);
    table.RegisterMethod<Agent>("getAgentShadowMeshName", &CGraphicalAgent::GetShadowMesh);
}
