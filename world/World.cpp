#include "world/World.h"

#include <memory>

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

CWorld::CWorld(Simulation::CSimulationManager* owner) : m_owner(owner), m_data(this)
{
    CMulticast<Kind::CameraChange>::Subscribe(this, 0);
}

CWorld::~CWorld()
{
    CMulticast<Kind::CameraChange>::Unsubscribe(this);
}

bool CWorld::OnEvent(const CEvtEntityPair& change)
{
    m_activeCameraId = change.nameA;
    return false;
}

void CWorld::SetActiveCamera(const std::string& id)
{
    CCameraMap::ManagedEntity* camera = nullptr;
    m_data.GetCameras().GetUnit(id, camera);
    camera->Graphics::Scene::CGraphicalCamera::Activate();
}

void CWorld::ChangeActiveCamera(bool forward)
{
    CWorldMapEntityIterator* iterator = nullptr;
    if (!m_data.GetCameras().CreateIterator(iterator, m_activeCameraId))
        return;
    const std::unique_ptr<CWorldMapEntityIterator> owned(iterator);
    if (forward)
    {
        iterator->Next();
        if (iterator->IsDone())
            iterator->First();
    }
    else
    {
        if (iterator->IsFirst())
            iterator->End();
        iterator->Previous();
    }
    if (Misc::World::IEntityInterface* camera = iterator->CurrentItem())
        SetActiveCamera(camera->GetId());
}
