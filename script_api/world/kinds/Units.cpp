#include "script_api/world/EntityArguments.h"
#include "script_api/world/kinds/KindFunctions.h"

#include "graphics/scene/GraphicalUnit.h"

using Graphics::Scene::CGraphicalUnit;

void RegisterIWorldUnitFunctions(CScriptMetaTable& table)
{
    using Unit = ScriptWorld::Unit<Misc::World::kTypeIdUnit, CGraphicalUnit>;
    table.RegisterMethod<Unit>("setUnitOctree", &CGraphicalUnit::SetOctTree);
    table.RegisterMethod<Unit>("getUnitOctree", &CGraphicalUnit::GetOctTree);
}
