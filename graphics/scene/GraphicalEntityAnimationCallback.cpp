#include "graphics/scene/GraphicalEntityAnimationCallback.h"

#include "core/events/Multicast.h"
#include "graphics/scene/GraphicalEntity.h"

namespace Graphics
{

void CGraphicalEntityAnimationCallback::OnAnimationEnd(irr::scene::IAnimatedMeshSceneNode* node)
{
    if (m_owner == nullptr || node == nullptr || node != m_owner->GetSceneNode())
        return;
    m_ended = true;
    CEvtEntity record;
    record.sender = m_owner->GetEngine();
    record.id = m_owner->GetId();
    Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::AnimationComplete>::Publish(record);
}

} // namespace Graphics
