#pragma once

#include "core/foundation/Color.h"
#include "core/io/KeyedField.h"
#include "graphics/scene/GraphicalEntity.h"

#include <cstdint>

namespace Graphics::Scene
{

// A particle system: one box emitter description from which the engine
// builds the node's emitter and affectors. The entity's scale sizes the
// emitter box; the node itself stays unscaled.
class CGraphicalParticleSystem : public CGraphicalEntity
{
public:
    // The emitter's settings (saved with the entity, never alone).
    class CEmitter : public Misc::Serialization::ISerializable
    {
    public:
        CEmitter() = default;
        CEmitter(const CEmitter&) = default;
        CEmitter& operator=(const CEmitter&) = default;
        virtual ~CEmitter() = default;

        // Every field back to its default.
        void Reset() { *this = CEmitter(); }

        bool Write(Misc::Serialization::IArchive& archive) override;
        bool Read(Misc::Serialization::IArchive& archive) override;
        const char* GetTypeName() const override { return "NOT USED"; }

        CVectorField direction{0.0f, 0.001f, 0.0f, "-Direction"};
        CVectorField gravity{0.0f, -0.01f, 0.0f, "-Gravity"};
        uint32_t gravityTime = 1000;
        CNamedColor fadeoutColor{0.0f, 0.0f, 0.0f, 0.0f, "-FadeoutColor"};
        uint32_t fadeoutTime = 0;
        CNamedColor colorMin{1.0f, 1.0f, 1.0f, 1.0f, "-ColorMin"};
        CNamedColor colorMax{1.0f, 1.0f, 1.0f, 1.0f, "-ColorMax"};
        float particleSizeMin = 1.0f;
        float particleSizeMax = 1.0f;
        float particlesPerSecondMin = 0.0f;
        float particlesPerSecondMax = 100.0f;
        uint32_t lifetimeMin = 5000;
        uint32_t lifetimeMax = 5000;
        float angleVariance = 0.0f;
    };

    CGraphicalParticleSystem() = default;
    CGraphicalParticleSystem(const CGraphicalParticleSystem&) = default;
    CGraphicalParticleSystem& operator=(const CGraphicalParticleSystem&) = default;
    ~CGraphicalParticleSystem() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdParticleSystem;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdParticleSystem; }

    // Each stores only; the engine applies the emitter when it builds or
    // updates the node.
    void SetEmitterDirection(const CVector& direction) { m_emitter.direction = direction; }
    void SetEmitterGravity(const CVector& gravity) { m_emitter.gravity = gravity; }
    void SetEmitterGravityTime(uint32_t milliseconds) { m_emitter.gravityTime = milliseconds; }
    void SetEmitterFadeoutColor(const CColor& color) { m_emitter.fadeoutColor = color; }
    void SetEmitterFadeoutTime(uint32_t milliseconds) { m_emitter.fadeoutTime = milliseconds; }
    void SetEmitterColorMin(const CColor& color) { m_emitter.colorMin = color; }
    void SetEmitterColorMax(const CColor& color) { m_emitter.colorMax = color; }
    void SetEmitterParticleSizeMin(float size) { m_emitter.particleSizeMin = size; }
    void SetEmitterParticleSizeMax(float size) { m_emitter.particleSizeMax = size; }
    void SetEmitterParticlesPerSecondMin(float count) { m_emitter.particlesPerSecondMin = count; }
    void SetEmitterParticlesPerSecondMax(float count) { m_emitter.particlesPerSecondMax = count; }
    void SetEmitterLifetimeMin(uint32_t milliseconds) { m_emitter.lifetimeMin = milliseconds; }
    void SetEmitterLifetimeMax(uint32_t milliseconds) { m_emitter.lifetimeMax = milliseconds; }
    void SetEmitterAngleVariance(float degrees) { m_emitter.angleVariance = degrees; }
    const CEmitter& GetEmitter() const { return m_emitter; }

    // The engine's particle update, then the base's.
    bool UpdateNode() override;
    // Resets the emitter only.
    void Clear() override;

    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOPARTICLESYSTEM"; }

    // The kind's own node step.
    void SetScale(const CVector& scale) override;

protected:
    // The scale sizes the emitter box (at the next engine update), not the
    // node: scaling the node too would scale the box twice.
    void SetNodeScale(const CVector& scale) override;

private:
    CEmitter m_emitter;
};

} // namespace Graphics::Scene
