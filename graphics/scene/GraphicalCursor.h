#pragma once

#include "graphics/scene/GraphicalEntity.h"

namespace Graphics::Scene
{

// The graphical part of a cursor of the world. It has no node of its own: with a
// non-zero flags word the engine shows it as marker cubes. All its state is
// the base's.
class CGraphicalCursor : public CGraphicalEntity
{
public:
    CGraphicalCursor() = default;
    CGraphicalCursor(const CGraphicalCursor&) = default;
    CGraphicalCursor& operator=(const CGraphicalCursor&) = default;
    ~CGraphicalCursor() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdCursor;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdCursor; }
    const char* GetTypeName() const override { return "KVOCURSOR"; }
};

} // namespace Graphics::Scene
