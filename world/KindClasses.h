#pragma once

// The graphical class of every kind: the one list of classes, from which
// the managed entities and the collections are built once for each kind.
// Everything else about a kind (its names and orders) is its row in the
// kind table (core/world/TypeId.h), which each class names by its kTypeId.

#include "core/world/TypeId.h"
#include "graphics/scene/GraphicalAgent.h"
#include "graphics/scene/GraphicalBillboard.h"
#include "graphics/scene/GraphicalCamera.h"
#include "graphics/scene/GraphicalCursor.h"
#include "graphics/scene/GraphicalLight.h"
#include "graphics/scene/GraphicalParticleSystem.h"
#include "graphics/scene/GraphicalSky.h"
#include "graphics/scene/GraphicalTerrain.h"
#include "graphics/scene/GraphicalTrigger.h"
#include "graphics/scene/GraphicalUnit.h"
#include "graphics/scene/GraphicalWater.h"
#include "graphics/scene/GraphicalWaypoint.h"

// The kinds the world keeps a collection of: X(class) for each class of
// Graphics::Scene.
#define HALVANE_COLLECTED_KIND_CLASSES(X)                                                                    \
    X(CGraphicalCursor)                                                                                      \
    X(CGraphicalCamera)                                                                                      \
    X(CGraphicalLight)                                                                                       \
    X(CGraphicalParticleSystem)                                                                              \
    X(CGraphicalWaypoint)                                                                                    \
    X(CGraphicalTrigger)                                                                                     \
    X(CGraphicalBillboard)                                                                                   \
    X(CGraphicalWater)                                                                                       \
    X(CGraphicalTerrain)                                                                                     \
    X(CGraphicalUnit)                                                                                        \
    X(CGraphicalAgent)

// Every managed kind: the collected ones and the sky, which the world
// holds itself.
#define HALVANE_KIND_CLASSES(X) HALVANE_COLLECTED_KIND_CLASSES(X) X(CGraphicalSky)

// The kind table's row of a graphical class.
template <class Kind> constexpr const Misc::World::SKind& KindRowOf()
{
    return Misc::World::KindRow<Kind::kTypeId>();
}

// The lists hold every kind of the table, and the collected list those
// with a collection.
namespace KindClassesCheck
{
#define HALVANE_KIND_BIT(Class) | Graphics::Scene::Class::kTypeId
constexpr uint32_t CollectedIds()
{
    uint32_t ids = 0;
    for (const Misc::World::SKind& kind : Misc::World::kKinds)
        ids |= kind.RankIn(Misc::World::EKindOrder::Members) != Misc::World::kNoRank ? kind.typeId : 0;
    return ids;
}
static_assert((0u HALVANE_KIND_CLASSES(HALVANE_KIND_BIT)) == Misc::World::kTypeIdAllKinds);
static_assert((0u HALVANE_COLLECTED_KIND_CLASSES(HALVANE_KIND_BIT)) == CollectedIds());
#undef HALVANE_KIND_BIT
} // namespace KindClassesCheck
