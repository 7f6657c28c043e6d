#include "script_api/world/EntityArguments.h"
#include "script_api/world/kinds/KindFunctions.h"

#include "graphics/scene/GraphicalWater.h"

using Graphics::Scene::CGraphicalWater;

void RegisterIWorldWaterFunctions(CScriptMetaTable& table)
{
    using Water = ScriptWorld::Unit<Misc::World::kTypeIdWater, CGraphicalWater>;
    table.RegisterMethod<Water>("setWaterWaveHeight", &CGraphicalWater::SetHeight);
    table.RegisterMethod<Water>("getWaterWaveHeight", &CGraphicalWater::GetHeight);
    table.RegisterMethod<Water>("setWaterWaveLength", &CGraphicalWater::SetLength);
    table.RegisterMethod<Water>("getWaterWaveLength", &CGraphicalWater::GetLength);
    table.RegisterMethod<Water>("setWaterWaveSpeed", &CGraphicalWater::SetSpeed);
    table.RegisterMethod<Water>("getWaterWaveSpeed", &CGraphicalWater::GetSpeed);
}
