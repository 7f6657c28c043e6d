#include "script_api/core/ValueMath.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/kinds/KindArguments.h"
#include "script_api/world/kinds/KindFunctions.h"

#include "graphics/scene/GraphicalLight.h"

#include <string>

using Graphics::Scene::CGraphicalLight;
using LuaPlus::LuaState;

namespace
{

using Light = ScriptWorld::Unit<Misc::World::kTypeIdLight, CGraphicalLight>;
using LightUnit = ScriptWorld::Unit<Misc::World::kTypeIdLight>;
// The shadow functions name their light among all entities: only a light
// answers.
using LightOfWorld = ScriptWorld::UnitOfWorld<Misc::World::kTypeIdLight, CGraphicalLight>;

// A light's range is its scale, through the entity, as any scale change.
float getLightRange(LuaState*, LightUnit light)
{
    return ValueMath::MaxAbs(light->GetScale());
}

void setLightRange(LuaState*, LightUnit light, float range)
{
    light->SetScale(CVector(range, range, range));
}

std::wstring getLightType(LuaState*, Light light)
{
    return light->GetType().GetText();
}

void setLightType(LuaState*, Light light, const std::wstring& name)
{
    CGraphicalLight::CLightType type;
    type.SetFromText(name);
    light->SetType(type);
}

} // namespace

void RegisterIWorldLightFunctions(CScriptMetaTable& table)
{
    table.RegisterMethod<LightOfWorld>("getLightShadowsEnabled", &CGraphicalLight::GetShadows);
    table.RegisterMethod<LightOfWorld>("setLightShadowsEnabled", &CGraphicalLight::SetShadows);
    table.RegisterHelper("getLightRange", &getLightRange);
    table.RegisterHelper("setLightRange", &setLightRange);
    table.RegisterHelper("getLightType", &getLightType);
    table.RegisterHelper("setLightType", &setLightType);
    table.RegisterMethod<Light>("getLightSpotParameters", &CGraphicalLight::GetSpotParams);
    table.RegisterMethod<Light>("setLightSpotParameters", &CGraphicalLight::SetSpotParams);
}
