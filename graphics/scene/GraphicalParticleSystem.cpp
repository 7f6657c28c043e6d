#include "graphics/scene/GraphicalParticleSystem.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "graphics/engine/GraphicsEngine.h"

#include <irrlicht.h>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

bool CGraphicalParticleSystem::CEmitter::Write(Misc::Serialization::IArchive& archive)
{
    direction.Write(archive);
    gravity.Write(archive);
    archive.WriteKeyULong("-GravityTime", gravityTime);
    colorMin.Write(archive);
    colorMax.Write(archive);
    fadeoutColor.Write(archive);
    archive.WriteKeyULong("-FadeoutTime", fadeoutTime);
    archive.WriteKeyFloat("-ParticleSizeMin", particleSizeMin);
    archive.WriteKeyFloat("-ParticleSizeMax", particleSizeMax);
    archive.WriteKeyFloat("-ParticlesPerSecondMin", particlesPerSecondMin);
    archive.WriteKeyFloat("-ParticlesPerSecondMax", particlesPerSecondMax);
    archive.WriteKeyULong("-LifetimeMin", lifetimeMin);
    archive.WriteKeyULong("-LifetimeMax", lifetimeMax);
    archive.WriteKeyFloat("-AngleVariance", angleVariance);
    return true;
}

bool CGraphicalParticleSystem::CEmitter::Read(Misc::Serialization::IArchive& archive)
{
    direction.Read(archive);
    gravity.Read(archive);
    archive.ReadKeyULong("-GravityTime", gravityTime);
    colorMin.Read(archive);
    colorMax.Read(archive);
    fadeoutColor.Read(archive);
    archive.ReadKeyULong("-FadeoutTime", fadeoutTime);
    // Older files have one size for both ends of the range.
    if (archive.IsVersionAtLeast(FileVersion::kParticleSizeRange))
    {
        archive.ReadKeyFloat("-ParticleSizeMin", particleSizeMin);
        archive.ReadKeyFloat("-ParticleSizeMax", particleSizeMax);
    }
    else
    {
        float size = particleSizeMin;
        if (archive.ReadKeyFloat("-ParticleSize", size))
            particleSizeMin = particleSizeMax = size;
    }
    // Older files count particles per second in whole numbers.
    const bool floatRates = archive.IsVersionAtLeast(FileVersion::kFractionalParticleRates);
    for (auto [key, value] :
         {std::pair<const char*, float*>{"-ParticlesPerSecondMin", &particlesPerSecondMin},
          std::pair<const char*, float*>{"-ParticlesPerSecondMax", &particlesPerSecondMax}})
    {
        archive.ExpectToken(key);
        if (floatRates)
        {
            archive.ReadFloat(*value);
        }
        else
        {
            uint32_t whole = 0;
            if (archive.ReadUInt(whole))
                *value = static_cast<float>(whole);
        }
    }
    archive.ReadKeyULong("-LifetimeMin", lifetimeMin);
    archive.ReadKeyULong("-LifetimeMax", lifetimeMax);
    archive.ReadKeyFloat("-AngleVariance", angleVariance);
    return true;
}

void CGraphicalParticleSystem::SetScale(const CVector& scale)
{
    SetNodeScale(scale);
}

void CGraphicalParticleSystem::SetNodeScale(const CVector& /*scale*/)
{
    // The node keeps the scale the engine's particle update gave it.
}

bool CGraphicalParticleSystem::UpdateNode()
{
    if (GetEngine() != nullptr)
        GetEngine()->Update(this);
    return CGraphicalEntity::UpdateNode();
}

void CGraphicalParticleSystem::Clear()
{
    m_emitter.Reset();
}

bool CGraphicalParticleSystem::Write(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Write(archive);
    m_emitter.Write(archive);
    return true;
}

bool CGraphicalParticleSystem::Read(Misc::Serialization::IArchive& archive)
{
    CGraphicalEntity::Read(archive);
    m_emitter.Read(archive);
    return true;
}

} // namespace Graphics::Scene
