#pragma once

#include <cstdint>

namespace Misc::World
{

// The kind of an entity as a one-bit id. The graphics engine picks the
// scene node to build or remove by it, ray casts filter by masks of it, and
// scripts read the same numbers (IWorld.getLightTypeId and its siblings).
// Bits below 16 are never kinds.
constexpr uint32_t kTypeIdAgent = 16;
constexpr uint32_t kTypeIdUnit = 32;
constexpr uint32_t kTypeIdParticleSystem = 64;
constexpr uint32_t kTypeIdLight = 128;
constexpr uint32_t kTypeIdWaypoint = 256;
constexpr uint32_t kTypeIdTrigger = 512;
constexpr uint32_t kTypeIdBillboard = 1024;
constexpr uint32_t kTypeIdSky = 2048;
constexpr uint32_t kTypeIdTerrain = 4096;
constexpr uint32_t kTypeIdWater = 8192;
constexpr uint32_t kTypeIdCamera = 16384;
constexpr uint32_t kTypeIdCursor = 32768;
// Every kind at once: 65520.
constexpr uint32_t kTypeIdAllKinds = kTypeIdAgent | kTypeIdUnit | kTypeIdParticleSystem | kTypeIdLight |
                                     kTypeIdWaypoint | kTypeIdTrigger | kTypeIdBillboard | kTypeIdSky |
                                     kTypeIdTerrain | kTypeIdWater | kTypeIdCamera | kTypeIdCursor;

// The order in which a lookup across the kinds' collections searches for
// an id (the world's group): the first collection that holds it answers.
inline constexpr uint32_t kGroupSearchOrder[] = {
    kTypeIdCursor,   kTypeIdUnit,    kTypeIdCamera,    kTypeIdAgent, kTypeIdLight,  kTypeIdParticleSystem,
    kTypeIdWaypoint, kTypeIdTrigger, kTypeIdBillboard, kTypeIdWater, kTypeIdTerrain};

// Tells an entity's kind. Used as a virtual base, so that an entity made of
// several parts has one kind.
class ITypeId
{
public:
    virtual ~ITypeId() = default;
    // One of the kind ids above.
    virtual uint32_t GetTypeId() const = 0;
};

} // namespace Misc::World
