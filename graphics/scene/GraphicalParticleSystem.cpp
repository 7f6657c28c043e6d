#include "graphics/scene/GraphicalParticleSystem.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "core/io/StoredFields.h"
#include "graphics/engine/GraphicsEngine.h"

#include <irrlicht.h>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

namespace
{

namespace Field = Misc::Serialization::StoredField;
using CEmitter = CGraphicalParticleSystem::CEmitter;
using Misc::Serialization::IArchive;

// Older files count particles per second in whole numbers.
template <float CEmitter::*Rate> void ReadWholeRate(IArchive& archive, CEmitter& emitter)
{
    archive.ExpectToken(Rate == &CEmitter::particlesPerSecondMin ? "-ParticlesPerSecondMin"
                                                                 : "-ParticlesPerSecondMax");
    uint32_t whole = 0;
    if (archive.ReadUInt(whole))
        emitter.*Rate = static_cast<float>(whole);
}

// Older files have one size for both ends of the range.
void ReadOneSize(IArchive& archive, CEmitter& emitter)
{
    float size = emitter.particleSizeMin;
    if (archive.ReadKeyFloat("-ParticleSize", size))
        emitter.particleSizeMin = emitter.particleSizeMax = size;
}

const Misc::Serialization::SStoredField<CEmitter> kEmitterFields[] = {
    Field::Object<&CEmitter::direction>(),
    Field::Object<&CEmitter::gravity>(),
    Field::Unsigned<&CEmitter::gravityTime>("-GravityTime"),
    Field::Object<&CEmitter::colorMin>(),
    Field::Object<&CEmitter::colorMax>(),
    Field::Object<&CEmitter::fadeoutColor>(),
    Field::Unsigned<&CEmitter::fadeoutTime>("-FadeoutTime"),
    Field::WithOlder(
        Field::Float<&CEmitter::particleSizeMin>("-ParticleSizeMin", FileVersion::kParticleSizeRange),
        &ReadOneSize),
    Field::Float<&CEmitter::particleSizeMax>("-ParticleSizeMax", FileVersion::kParticleSizeRange),
    Field::WithOlder(Field::Float<&CEmitter::particlesPerSecondMin>("-ParticlesPerSecondMin",
                                                                    FileVersion::kFractionalParticleRates),
                     &ReadWholeRate<&CEmitter::particlesPerSecondMin>),
    Field::WithOlder(Field::Float<&CEmitter::particlesPerSecondMax>("-ParticlesPerSecondMax",
                                                                    FileVersion::kFractionalParticleRates),
                     &ReadWholeRate<&CEmitter::particlesPerSecondMax>),
    Field::Unsigned<&CEmitter::lifetimeMin>("-LifetimeMin"),
    Field::Unsigned<&CEmitter::lifetimeMax>("-LifetimeMax"),
    Field::Float<&CEmitter::angleVariance>("-AngleVariance"),
};

} // namespace

bool CGraphicalParticleSystem::CEmitter::Write(IArchive& archive)
{
    Misc::Serialization::WriteFields(archive, *this, kEmitterFields);
    return true;
}

bool CGraphicalParticleSystem::CEmitter::Read(IArchive& archive)
{
    Misc::Serialization::ReadFields(archive, *this, kEmitterFields);
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
