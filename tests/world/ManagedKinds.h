#pragma once

// Every managed kind as a row of a table: how to make one, copy it and
// assign to it, what it must answer when new, and a setting of its own
// graphical kind to tell a real copy from a default.

#include "world/ManagedCamera.h"
#include "world/ManagedEntity.h"
#include "world/ManagedWaypoint.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using Misc::World::IEntityInterface;

struct SManagedKind
{
    const char* name;
    uint32_t typeId;
    const char* tag;
    const char* block;
    // Solid and collidable when new.
    bool solid;
    std::function<std::unique_ptr<IEntityInterface>()> make;
    std::function<std::unique_ptr<IEntityInterface>(const IEntityInterface&)> copy;
    std::function<void(IEntityInterface& target, const IEntityInterface& source)> assign;
};

template <class Graphical>
SManagedKind ManagedKind(const char* name, uint32_t typeId, const char* tag, const char* block, bool solid)
{
    using Entity = CManagedEntity<Graphical>;
    return {name,
            typeId,
            tag,
            block,
            solid,
            [] { return std::make_unique<Entity>(); },
            [](const IEntityInterface& source)
            { return std::make_unique<Entity>(dynamic_cast<const Entity&>(source)); },
            [](IEntityInterface& target, const IEntityInterface& source)
            { dynamic_cast<Entity&>(target) = dynamic_cast<const Entity&>(source); }};
}

inline std::vector<SManagedKind> ManagedKinds()
{
    using namespace Graphics::Scene;
    return {
        ManagedKind<CGraphicalParticleSystem>("particle system", 64, "KVOPARTICLESYSTEM", "ParticleSystem{",
                                              true),
        ManagedKind<CGraphicalAgent>("agent", 16, "KVOAGENT", "Agent{", true),
        ManagedKind<CGraphicalTerrain>("terrain", 4096, "KVOTERRAIN", "Terrain{", true),
        ManagedKind<CGraphicalWater>("water", 8192, "KVOWATER", "Water{", true),
        ManagedKind<CGraphicalBillboard>("billboard", 1024, "KVOBILLBOARD", "Billboard{", true),
        ManagedKind<CGraphicalUnit>("unit", 32, "KVOUNIT", "Unit{", true),
        ManagedKind<CGraphicalTrigger>("trigger", 512, "KVOTRIGGER", "Trigger{", false),
        ManagedKind<CGraphicalLight>("light", 128, "KVOLIGHT", "Light{", false),
        ManagedKind<CGraphicalCamera>("camera", 16384, "KVOCAMERA", "Camera{", false),
        ManagedKind<CGraphicalCursor>("cursor", 32768, "KVOCURSOR", "Cursor{", false),
        // The sky keeps its parts' own defaults: both set.
        ManagedKind<CGraphicalSky>("sky", 2048, "KVOSKY", "Sky{", true),
        ManagedKind<CGraphicalWaypoint>("waypoint", 256, "KVOWAYPOINT", "Waypoint{", false),
    };
}

// Ids that tests fix, so that saved files compare byte for byte.
inline const char* const kFirstId = "00000000-0000-4000-8000-0000000000a1";
inline const char* const kSecondId = "00000000-0000-4000-8000-0000000000b2";

// Gives every common setting, and a setting of each part, a value other
// than its default.
inline void Dress(IEntityInterface& entity, const char* id = kFirstId)
{
    entity.SetId(id);
    entity.SetName(L"Gate \"north\" \u00e9");
    entity.SetPosition(CVector(1.5f, -2.0f, 3.25f));
    entity.SetRotation(CVector(10.0f, 20.0f, 30.0f));
    entity.SetScale(CVector(2.0f, 3.0f, 4.0f));
    entity.SetScript(L"scripts/gate.lua");
    entity.SetFlags(0x12);
    entity.GetData().Set(L"speed", L"12");
    entity.GetData().Set(L"owner", L"m\u00fcller");
    entity.GetGraphicalPart()->SetModelName(L"models/gate.x");
    entity.GetPhysicalPart()->SetMass(2.5f);
    entity.GetPhysicalPart()->SetType(L"metal");
}

// The bytes with the first occurrence of `from` replaced; a test fails when
// there is none.
inline std::string ReplaceFirst(std::string bytes, const std::string& from, const std::string& to)
{
    const size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        bytes.replace(at, from.size(), to);
    return bytes;
}
