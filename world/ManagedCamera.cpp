#include "world/ManagedCamera.h"

using Graphics::Scene::CGraphicalCamera;
using DrawPostScene = Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::DrawPostScene>;

const CColor CManagedEntity<CGraphicalCamera>::kGuideColor(1.0f, 1.0f, 0.0f, 1.0f);

CManagedEntity<CGraphicalCamera>::~CManagedEntity()
{
    // Before anything the handler reads goes.
    DrawPostScene::Unsubscribe(this);
}

void CManagedEntity<CGraphicalCamera>::SetFlags(uint32_t flags)
{
    CManagedEntityBase::SetFlags(flags);
    if ((flags & kGuideFlag) != 0)
        DrawPostScene::Subscribe(this, 0);
    else
        DrawPostScene::Unsubscribe(this);
}

void CManagedEntity<CGraphicalCamera>::SetVisible(bool visible)
{
    CGraphicalCamera::SetVisible(visible);
    SetFlags(GetFlags());
}

bool CManagedEntity<CGraphicalCamera>::OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostScene& event)
{
    Graphics::CGraphicsEngine* engine = CGraphicalCamera::GetEngine();
    if (engine == nullptr || event.engine != engine)
        return false;
    Graphics::ILineSink& lines = *Graphics::WorldGraphicsOf(engine);
    CVector from;
    GetAbsolutePosition(from);
    const CVector& offset = GetOffset();
    lines.Draw3DLine(CVector(from.x + offset.x, from.y + offset.y, from.z + offset.z), GetLookAt(),
                     kGuideColor);
    return false;
}
