#pragma once

#include "core/events/Multicast.h"
#include "world/ManagedEntity.h"

// The world's camera. While bit 2048 of its flags is set it draws its guide
// after the scene: a line from where it stands (plus its offset) to the
// point it looks at. Hiding and showing it keeps the guide as the flags
// ask.
template <>
class CManagedEntity<Graphics::Scene::CGraphicalCamera>
    : public CManagedEntityBase<Graphics::Scene::CGraphicalCamera>,
      public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsDrawPostScene>
{
public:
    // The flags bit that switches the guide on.
    static constexpr uint32_t kGuideFlag = 2048;
    // The guide's colour.
    static const CColor kGuideColor;

    CManagedEntity() = default;
    // A copy draws no guide until its flags are set again.
    CManagedEntity(const CManagedEntity&) = default;
    // Also copies the drawing subscriber's own flags word.
    CManagedEntity& operator=(const CManagedEntity&) = default;
    ~CManagedEntity() override;

    // The entity's flags, not the subscriber's own word.
    using CManagedEntityBase::GetFlags;
    // As every kind, then the guide follows bit 2048.
    void SetFlags(uint32_t flags) override;
    // The flags are set again, so that the guide follows them.
    void SetVisible(bool visible) override;

    // Draws the guide for the engine that holds this camera's node.
    bool OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostScene& event) override;
};
