#pragma once

#include "graphics/scene/GraphicalEntity.h"

namespace Graphics::Scene
{

// The graphical part of a trigger volume. It has no node of its own: with a
// non-zero flags word the engine shows it as marker cubes. All its state is
// the base's.
class CGraphicalTrigger : public CGraphicalEntity
{
public:
    CGraphicalTrigger() = default;
    CGraphicalTrigger(const CGraphicalTrigger&) = default;
    CGraphicalTrigger& operator=(const CGraphicalTrigger&) = default;
    ~CGraphicalTrigger() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdTrigger;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdTrigger; }
    const char* GetTypeName() const override { return "KVOTRIGGER"; }
};

} // namespace Graphics::Scene
