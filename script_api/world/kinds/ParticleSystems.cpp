#include "script_api/core/ColorScript.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/world/kinds/KindFunctions.h"

#include "graphics/scene/GraphicalParticleSystem.h"

using Graphics::Scene::CGraphicalParticleSystem;
using LuaPlus::LuaState;

namespace
{

using ParticleSystem = ScriptWorld::Unit<Misc::World::kTypeIdParticleSystem, CGraphicalParticleSystem>;
using Emitter = CGraphicalParticleSystem::CEmitter;

// One emitter setting as scripts see it: vectors and colours as new values
// of their own class.
template <typename Value, auto Field> Value GetEmitterSetting(LuaState*, ParticleSystem system)
{
    return Value(system->GetEmitter().*Field);
}

} // namespace

void RegisterIWorldParticleSystemFunctions(CScriptMetaTable& table)
{
    using P = CGraphicalParticleSystem;
    table.RegisterHelper("getParticleSystemEmitterDirection",
                         &GetEmitterSetting<CVector, &Emitter::direction>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterDirection", &P::SetEmitterDirection);
    table.RegisterHelper("getParticleSystemEmitterGravity", &GetEmitterSetting<CVector, &Emitter::gravity>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterGravity", &P::SetEmitterGravity);
    table.RegisterHelper("getParticleSystemEmitterGravityTime",
                         &GetEmitterSetting<uint32_t, &Emitter::gravityTime>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterGravityTime", &P::SetEmitterGravityTime);
    table.RegisterHelper("getParticleSystemEmitterFadeoutColor",
                         &GetEmitterSetting<CColor, &Emitter::fadeoutColor>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterFadeoutColor", &P::SetEmitterFadeoutColor);
    table.RegisterHelper("getParticleSystemEmitterFadeoutTime",
                         &GetEmitterSetting<uint32_t, &Emitter::fadeoutTime>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterFadeoutTime", &P::SetEmitterFadeoutTime);
    table.RegisterHelper("getParticleSystemEmitterStartColorMin",
                         &GetEmitterSetting<CColor, &Emitter::colorMin>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterStartColorMin", &P::SetEmitterColorMin);
    table.RegisterHelper("getParticleSystemEmitterStartColorMax",
                         &GetEmitterSetting<CColor, &Emitter::colorMax>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterStartColorMax", &P::SetEmitterColorMax);
    table.RegisterHelper("getParticleSystemEmitterSizeMin",
                         &GetEmitterSetting<float, &Emitter::particleSizeMin>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterSizeMin", &P::SetEmitterParticleSizeMin);
    table.RegisterHelper("getParticleSystemEmitterSizeMax",
                         &GetEmitterSetting<float, &Emitter::particleSizeMax>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterSizeMax", &P::SetEmitterParticleSizeMax);
    table.RegisterHelper("getParticleSystemEmitterParticlesPerSecondMin",
                         &GetEmitterSetting<float, &Emitter::particlesPerSecondMin>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterParticlesPerSecondMin",
                                         &P::SetEmitterParticlesPerSecondMin);
    table.RegisterHelper("getParticleSystemEmitterParticlesPerSecondMax",
                         &GetEmitterSetting<float, &Emitter::particlesPerSecondMax>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterParticlesPerSecondMax",
                                         &P::SetEmitterParticlesPerSecondMax);
    table.RegisterHelper("getParticleSystemEmitterLifetimeMin",
                         &GetEmitterSetting<uint32_t, &Emitter::lifetimeMin>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterLifetimeMin", &P::SetEmitterLifetimeMin);
    table.RegisterHelper("getParticleSystemEmitterLifetimeMax",
                         &GetEmitterSetting<uint32_t, &Emitter::lifetimeMax>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterLifetimeMax", &P::SetEmitterLifetimeMax);
    table.RegisterHelper("getParticleSystemEmitterAngleVariance",
                         &GetEmitterSetting<float, &Emitter::angleVariance>);
    table.RegisterMethod<ParticleSystem>("setParticleSystemEmitterAngleVariance",
                                         &P::SetEmitterAngleVariance);
}
