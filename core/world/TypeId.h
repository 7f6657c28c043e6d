#pragma once

#include <array>
#include <cstddef>
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

// What a new entity of a kind makes of its parts' solid and collidable
// flags.
enum class EKindSolidity : uint8_t
{
    // Both set: the kind is seen as a body and collides.
    Solid,
    // Both cleared: markers (lights, cameras, waypoints) only show.
    Open,
    // Left as the parts make them.
    PartsOwn,
};

// The fixed orders in which code walks the kinds; each is a rank column of
// the kind table. A kind without a rank in an order is not walked in it.
enum class EKindOrder : uint8_t
{
    // The world's collections as its members: the order they are built in
    // (and destroyed in reverse).
    Members,
    // A lookup across the collections (the world's group): the first
    // collection that holds the id answers.
    GroupSearch,
    // The collection sections of the world file.
    FileSections,
    // Emptying the world.
    Clear,
    // IWorld's per-kind blocks of script functions.
    ScriptBlocks,
    // The collections a loading world adds to the scene between its
    // cameras and its lights.
    Scene,
    // Physics and sound take and give back parts, the scene lets go of its
    // nodes: the scene kinds, then lights, triggers, cameras and cursors.
    Engines,
    Count,
};

inline constexpr int8_t kNoRank = -1;

// One kind of entity: its id, names and its place in every fixed order.
struct SKind
{
    uint32_t typeId;
    const char* stem;    // "ParticleSystem": script names, "createParticleSystem"
    const char* plural;  // "ParticleSystems": the collection's section and script names
    const char* block;   // "ParticleSystem{": the token that opens an entity's block
    const char* typeTag; // "KVOPARTICLESYSTEM": the tag of an entity saved on its own
    EKindSolidity solidity;
    // Indexed by EKindOrder; kNoRank outside an order.
    int8_t ranks[static_cast<size_t>(EKindOrder::Count)];

    constexpr int8_t RankIn(EKindOrder order) const { return ranks[static_cast<size_t>(order)]; }
};

// Every kind, by id. The ranks are in the order of EKindOrder: Members,
// GroupSearch, FileSections, Clear, ScriptBlocks, Scene, Engines ("no":
// not walked in that order). The sky is a part of the world's own, in no
// collection.
namespace KindTable
{
using S = EKindSolidity;
constexpr int8_t no = kNoRank;
// clang-format off
inline constexpr SKind kRows[] = {
    {kTypeIdAgent,          "Agent",         "Agents",         "Agent{",         "KVOAGENT",         S::Solid,    {10,  3, 10,  2,  8,  5,  5}},
    {kTypeIdUnit,           "Unit",          "Units",          "Unit{",          "KVOUNIT",          S::Solid,    { 9,  1,  4,  1,  4,  1,  1}},
    {kTypeIdParticleSystem, "ParticleSystem","ParticleSystems","ParticleSystem{","KVOPARTICLESYSTEM",S::Solid,    { 3,  5,  3,  4,  9,  0,  0}},
    {kTypeIdLight,          "Light",         "Lights",         "Light{",         "KVOLIGHT",         S::Open,     { 2,  4,  2,  3,  2, no,  7}},
    {kTypeIdWaypoint,       "Waypoint",      "Waypoints",      "Waypoint{",      "KVOWAYPOINT",      S::Open,     { 4,  6,  8,  6, 10,  6,  6}},
    {kTypeIdTrigger,        "Trigger",       "Triggers",       "Trigger{",       "KVOTRIGGER",       S::Open,     { 5,  7,  9,  7,  3, no,  8}},
    {kTypeIdBillboard,      "Billboard",     "Billboards",     "Billboard{",     "KVOBILLBOARD",     S::Solid,    { 6,  8,  5,  8,  5,  2,  2}},
    {kTypeIdSky,            "Sky",           "Skies",          "Sky{",           "KVOSKY",           S::PartsOwn, {no, no, no, no, no, no, no}},
    {kTypeIdTerrain,        "Terrain",       "Terrains",       "Terrain{",       "KVOTERRAIN",       S::Solid,    { 8, 10,  7, 10,  7,  4,  4}},
    {kTypeIdWater,          "Water",         "Waters",         "Water{",         "KVOWATER",         S::Solid,    { 7,  9,  6,  9,  6,  3,  3}},
    {kTypeIdCamera,         "Camera",        "Cameras",        "Camera{",        "KVOCAMERA",        S::Open,     { 1,  2,  1,  5,  1, no,  9}},
    {kTypeIdCursor,         "Cursor",        "Cursors",        "Cursor{",        "KVOCURSOR",        S::Open,     { 0,  0,  0,  0,  0, no, 10}},
};
// clang-format on
} // namespace KindTable
inline constexpr const auto& kKinds = KindTable::kRows;

inline constexpr size_t kKindCount = sizeof(kKinds) / sizeof(kKinds[0]);

// The index of a kind id's row; kKindCount for a bit that is no kind.
constexpr size_t FindKindIndex(uint32_t typeId)
{
    size_t index = 0;
    while (index < kKindCount && kKinds[index].typeId != typeId)
        ++index;
    return index;
}

// The row of a kind id; null for a bit that is no kind.
constexpr const SKind* FindKind(uint32_t typeId)
{
    const size_t index = FindKindIndex(typeId);
    return index < kKindCount ? &kKinds[index] : nullptr;
}

// The row of a kind id known at compile time.
template <uint32_t TypeId> constexpr const SKind& KindRow()
{
    static_assert(FindKindIndex(TypeId) < kKindCount, "no kind has this id");
    return kKinds[FindKindIndex(TypeId)];
}

// How many kinds the order walks.
constexpr size_t CountInOrder(EKindOrder order)
{
    size_t count = 0;
    for (const SKind& kind : kKinds)
        count += kind.RankIn(order) != kNoRank ? 1 : 0;
    return count;
}

// The rows the order walks, in its order.
template <EKindOrder Order> constexpr std::array<SKind, CountInOrder(Order)> KindsInOrder()
{
    std::array<SKind, CountInOrder(Order)> rows{};
    for (const SKind& kind : kKinds)
    {
        if (kind.RankIn(Order) != kNoRank)
            rows[static_cast<size_t>(kind.RankIn(Order))] = kind;
    }
    return rows;
}

// The kind ids the order walks, in its order.
template <EKindOrder Order> constexpr std::array<uint32_t, CountInOrder(Order)> KindIdsInOrder()
{
    std::array<uint32_t, CountInOrder(Order)> ids{};
    for (const SKind& kind : kKinds)
    {
        if (kind.RankIn(Order) != kNoRank)
            ids[static_cast<size_t>(kind.RankIn(Order))] = kind.typeId;
    }
    return ids;
}

// True when the order's ranks are 0 to its count less one, each once.
constexpr bool IsWholeOrder(EKindOrder order)
{
    const size_t count = CountInOrder(order);
    for (size_t rank = 0; rank < count; ++rank)
    {
        size_t holders = 0;
        for (const SKind& kind : kKinds)
            holders += kind.RankIn(order) == static_cast<int8_t>(rank) ? 1 : 0;
        if (holders != 1)
            return false;
    }
    return true;
}

constexpr bool AreWholeOrders()
{
    for (size_t order = 0; order < static_cast<size_t>(EKindOrder::Count); ++order)
    {
        if (!IsWholeOrder(static_cast<EKindOrder>(order)))
            return false;
    }
    return true;
}
static_assert(AreWholeOrders(), "every order ranks its kinds 0, 1, 2, ... once each");

constexpr uint32_t AllKindIds()
{
    uint32_t all = 0;
    for (const SKind& kind : kKinds)
        all |= kind.typeId;
    return all;
}
static_assert(AllKindIds() == kTypeIdAllKinds, "the table holds every kind");

// The order in which a lookup across the kinds' collections searches for
// an id (the world's group): the first collection that holds it answers.
inline constexpr std::array<uint32_t, CountInOrder(EKindOrder::GroupSearch)> kGroupSearchOrder =
    KindIdsInOrder<EKindOrder::GroupSearch>();

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
