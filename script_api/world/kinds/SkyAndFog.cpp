#include "script_api/core/ColorScript.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/world/WorldAccess.h"
#include "script_api/world/kinds/KindFunctions.h"

#include "core/script/ScriptManager.h"
#include "core/script/lua/ScriptResolved.h"
#include "graphics/engine/GraphicsEngine.h"
#include "world/World.h"

#include <algorithm>
#include <string>

using Graphics::Scene::CGraphicalSky;
using LuaPlus::LuaState;

namespace
{

CSky& WorldSky()
{
    return ScriptWorld::GetScriptWorldData().GetSky();
}
CFog& WorldFog()
{
    return ScriptWorld::GetScriptWorldData().GetFog();
}

// The world's sky and fog as the objects of the functions.
using Sky = LuaPlus::Resolved<LuaPlus::Current<CSky, &WorldSky>>;
using Fog = LuaPlus::Resolved<LuaPlus::Current<CFog, &WorldFog>>;

// The sky's node goes; it comes again with the stored kind when the sky is
// on. Without a device the engine builds no node.
void Rebuild(CSky& sky)
{
    Graphics::CGraphicsEngine& engine = GetScriptGraphicsEngine();
    engine.Remove(&sky);
    if (sky.IsEnabled())
        engine.Add(&sky, nullptr, std::string());
}

void setSkyEnabled(LuaState*, Sky sky, bool enabled)
{
    sky->SetEnabled(enabled);
    Rebuild(*sky);
}

bool setSkyBox(LuaState*, Sky sky, const std::wstring& top, const std::wstring& bottom,
               const std::wstring& left, const std::wstring& right, const std::wstring& front,
               const std::wstring& back)
{
    sky->SetEnabled(true);
    GetScriptGraphicsEngine().Remove(sky.Get());
    sky->SetTop(top);
    sky->SetBottom(bottom);
    sky->SetLeft(left);
    sky->SetRight(right);
    sky->SetFront(front);
    sky->SetBack(back);
    sky->CGraphicalSky::SetType(L"box");
    Rebuild(*sky);
    return true;
}

// A resolution kept within what the dome can be drawn with: a negative, a
// huge or no number would otherwise be stored and allocate without bound.
uint32_t DomeResolution(double resolution)
{
    if (!(resolution >= 1.0))
        return 1;
    return static_cast<uint32_t>(std::min<double>(resolution, CGraphicalSky::kMaxDomeResolution));
}

bool setSkyDome(LuaState*, Sky sky, const std::wstring& texture, double horizontal, double vertical,
                float percentage, float spherePercentage)
{
    sky->SetEnabled(true);
    GetScriptGraphicsEngine().Remove(sky.Get());
    sky->SetDome(texture);
    sky->SetDomeHRes(DomeResolution(horizontal));
    sky->SetDomeVRes(DomeResolution(vertical));
    sky->SetDomePercentage(percentage);
    sky->SetDomeSpherePercentage(spherePercentage);
    sky->CGraphicalSky::SetType(L"dome");
    Rebuild(*sky);
    return true;
}

void setFog(LuaState*, Fog fog, float start, float end, const CColor& color)
{
    fog->SetStart(start);
    fog->SetEnd(end);
    fog->SetColor(color);
    if (Graphics::CGraphicsEngine* engine = FindScriptGraphicsEngine())
        engine->SetFog(fog->GetColor(), fog->GetStart(), fog->GetEnd());
}

} // namespace

void RegisterIWorldSkyAndFogFunctions(CScriptMetaTable& table)
{
    table.RegisterMethod<Sky>("isSkyEnabled", &CSky::IsEnabled);
    table.RegisterHelper("setSkyEnabled", &setSkyEnabled);
    table.RegisterMethod<Sky>("getSkyType", &CGraphicalSky::GetType);
    table.RegisterMethod<Sky>("getSkyTop", &CGraphicalSky::GetTop);
    table.RegisterMethod<Sky>("getSkyBottom", &CGraphicalSky::GetBottom);
    table.RegisterMethod<Sky>("getSkyLeft", &CGraphicalSky::GetLeft);
    table.RegisterMethod<Sky>("getSkyRight", &CGraphicalSky::GetRight);
    table.RegisterMethod<Sky>("getSkyFront", &CGraphicalSky::GetFront);
    table.RegisterMethod<Sky>("getSkyBack", &CGraphicalSky::GetBack);
    table.RegisterMethod<Sky>("getSkyDome", &CGraphicalSky::GetDome);
    table.RegisterMethod<Sky>("getSkyDomeHorizontalResolution", &CGraphicalSky::GetDomeHRes);
    table.RegisterMethod<Sky>("getSkyDomeVerticalResolution", &CGraphicalSky::GetDomeVRes);
    table.RegisterMethod<Sky>("getSkyDomePercentage", &CGraphicalSky::GetDomePercentage);
    table.RegisterMethod<Sky>("getSkyDomeSpherePercentage", &CGraphicalSky::GetDomeSpherePercentage);
    table.RegisterHelper("setSkyBox", &setSkyBox);
    table.RegisterHelper("setSkyDome", &setSkyDome);
    table.RegisterHelper("setFog", &setFog);
    table.RegisterMethod<Fog>("getFogStart", &CFog::GetStart);
    table.RegisterMethod<Fog>("getFogEnd", &CFog::GetEnd);
    table.RegisterMethod<Fog>("getFogColor", &CFog::GetColor);
}
