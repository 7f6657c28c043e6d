#pragma once

#include "graphics/scene/GraphicalEntity.h"

namespace Graphics::Scene
{

// The graphical part of a waypoint of the navigation graph. It has no node
// of its own: with a non-zero flags word the engine shows it as marker
// cubes, drawn as wireframe (waypoints are made with the solid flag off).
// All its state is the base's.
class CGraphicalWaypoint : public CGraphicalEntity
{
public:
    CGraphicalWaypoint() = default;
    CGraphicalWaypoint(const CGraphicalWaypoint&) = default;
    CGraphicalWaypoint& operator=(const CGraphicalWaypoint&) = default;
    ~CGraphicalWaypoint() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdWaypoint;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdWaypoint; }
    const char* GetTypeName() const override { return "KVOWAYPOINT"; }
};

} // namespace Graphics::Scene
