#include "world/World.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/PathUtilities.h"
#include "graphics/engine/GraphicsPorts.h"
#include "physics/PhysicsEngine.h"
#include "sound/SoundEngine.h"

#include <algorithm>
#include <functional>
#include <type_traits>
#include <vector>

using Misc::Multicast::CMulticast;
namespace Kind = Misc::Multicast::Kind;

namespace
{

// The collections a loading world adds to the scene between its cameras
// and its lights, in that order.
template <class F> void ForEachSceneKind(CWorldData& world, F&& f)
{
    world.ForEachKind<Misc::World::EKindOrder::Scene>(f);
}

// ForEachSceneKind, then Lights, Triggers, Cameras and, with cursors,
// Cursors: the order in which physics and sound take and give back parts.
template <class F> void ForEachBodyKind(CWorldData& world, bool cursors, F&& f)
{
    world.ForEachKind<Misc::World::EKindOrder::Engines>(
        [&](auto& map)
        {
            if (cursors || !std::is_same_v<std::remove_reference_t<decltype(map)>, CCursorMap>)
                f(map);
        });
}

// The collection's entities in the order of their addresses: the order in
// which they were made, mostly. Walking a large world so touches memory in
// order; in id order every step would be a cache miss.
template <class Map> std::vector<typename Map::ManagedEntity*> InMemoryOrder(Map& map)
{
    std::vector<typename Map::ManagedEntity*> entities;
    entities.reserve(map.GetStoredCount());
    map.ForEachStored([&entities](auto& entity) { entities.push_back(&entity); });
    std::sort(entities.begin(), entities.end(), std::less<>());
    return entities;
}

// Adds every graphical part of the collection that is in no engine yet.
template <class Map> void AddToScene(Graphics::IWorldGraphics& graphics, Map& map)
{
    for (auto& entry : map.GetTable())
    {
        if (entry.second.GetGraphicalPart()->GetEngine() == nullptr)
            graphics.Add(entry.second.GetGraphicalPart(), nullptr, std::string());
    }
}

} // namespace

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

bool CWorld::Load(const std::wstring& folder, const std::wstring& file, const std::wstring& script,
                  bool addSearchPath, bool force)
{
    if (folder.empty() || file.empty())
        return false;
    CApplication* application = m_owner != nullptr ? m_owner->GetApplication() : nullptr;
    if (addSearchPath && application != nullptr && PathExists(folder))
        application->AddSearchPath(folder, true, kWorldSearchPathKey);
    if (!m_data.Load(folder, file, script, force))
        return false;
    CMulticast<Kind::WorldDataLoad>::Publish({this, folder});
    LoadGraphics(folder);
    LoadPhysics(folder);
    LoadSound(folder);
    CMulticast<Kind::WorldLoad>::Publish({this, folder});
    return true;
}

bool CWorld::Save(const std::wstring& folder, const std::wstring& file, const std::string& mode,
                  bool copyFolder)
{
    CMulticast<Kind::WorldSave>::Publish({this, folder});
    return m_data.Save(folder, file, mode, copyFolder);
}

void CWorld::Unload()
{
    CMulticast<Kind::WorldUnload>::Publish({this, m_data.GetPath()});
    UnloadSound();
    UnloadPhysics();
    UnloadGraphics();
    if (m_owner != nullptr && m_owner->GetApplication() != nullptr)
        m_owner->GetApplication()->ClearSearchPaths(kWorldSearchPathKey);
    m_data.Clear();
    m_activeCameraId.clear();
}

void CWorld::LoadGraphics(const std::wstring& folder)
{
    Graphics::IWorldGraphics* graphics = m_data.GetEngines().graphics;
    if (graphics == nullptr || !graphics->IsRunning())
        return;
    AddToScene(*graphics, m_data.GetCameras());
    CSky& sky = m_data.GetSky();
    if (sky.IsEnabled())
        graphics->Add(sky.GetGraphicalPart(), nullptr, std::string());
    const CFog& fog = m_data.GetFog();
    if (fog.GetEnd() > fog.GetStart())
        graphics->SetFog(fog.GetColor(), fog.GetStart(), fog.GetEnd());
    ForEachSceneKind(m_data, [graphics](auto& map) { AddToScene(*graphics, map); });
    graphics->SetAmbientColor(fog.GetColor());
    AddToScene(*graphics, m_data.GetLights());
    AddToScene(*graphics, m_data.GetTriggers());
    AddToScene(*graphics, m_data.GetCursors());
    graphics->SetBackColor(fog.GetColor());
    graphics->ResolveParents(m_data);
    CMulticast<Kind::WorldGraphicsLoad>::Publish({this, folder});
}

void CWorld::LoadPhysics(const std::wstring& folder)
{
    CPhysicsEngine* physics = m_data.GetEngines().physics;
    if (physics == nullptr || !physics->IsRunning())
        return;
    // Cursors get no bodies.
    ForEachBodyKind(m_data, false,
                    [physics](auto& map)
                    {
                        for (auto& entry : map.GetTable())
                        {
                            CPhysicalEntity* part = entry.second.GetPhysicalPart();
                            if (part->GetEngine() == nullptr)
                                physics->AddEntity(part);
                        }
                    });
    physics->RecreateJoints(m_data);
    CMulticast<Kind::WorldPhysicsLoad>::Publish({this, folder});
}

void CWorld::LoadSound(const std::wstring& folder)
{
    CSoundEngine* sound = m_data.GetEngines().sound;
    if (sound == nullptr || !sound->IsRunning())
        return;
    ForEachBodyKind(m_data, true,
                    [sound](auto& map)
                    {
                        for (auto& entry : map.GetTable())
                        {
                            CSonicEntity* part = entry.second.GetSonicPart();
                            if (part->GetSoundEngine() == nullptr)
                                sound->AddEntity(part);
                        }
                    });
    CMulticast<Kind::WorldSoundLoad>::Publish({this, folder});
}

void CWorld::UnloadSound()
{
    CSoundEngine* sound = m_data.GetEngines().sound;
    if (sound == nullptr || !sound->IsRunning())
        return;
    ForEachBodyKind(m_data, true,
                    [sound](auto& map)
                    {
                        for (auto* entity : InMemoryOrder(map))
                            sound->RemoveEntity(entity->GetSonicPart());
                    });
}

void CWorld::UnloadPhysics()
{
    CPhysicsEngine* physics = m_data.GetEngines().physics;
    if (physics == nullptr || !physics->IsRunning())
        return;
    physics->DestroyAllJoints();
    physics->DeleteAllTypes(true);
    ForEachBodyKind(m_data, false,
                    [physics](auto& map)
                    {
                        for (auto* entity : InMemoryOrder(map))
                            physics->RemoveEntity(entity->GetPhysicalPart());
                    });
}

void CWorld::UnloadGraphics()
{
    Graphics::IWorldGraphics* graphics = m_data.GetEngines().graphics;
    if (graphics == nullptr || !graphics->IsRunning())
        return;
    graphics->Remove(m_data.GetSky().GetGraphicalPart());
    // The whole scene goes below: the entities only let go of their nodes,
    // which then leave in one pass over the tree instead of one search of
    // their parents' lists each.
    ForEachBodyKind(m_data, true,
                    [graphics](auto& map)
                    {
                        for (auto* entity : InMemoryOrder(map))
                            graphics->LetGo(entity->GetGraphicalPart());
                    });
    graphics->ClearScene();
}

void CWorld::SetActiveCamera(const std::string& id)
{
    CCameraMap::ManagedEntity* camera = nullptr;
    m_data.GetCameras().GetUnit(id, camera);
    camera->Graphics::Scene::CGraphicalCamera::Activate();
}

void CWorld::ChangeActiveCamera(bool forward)
{
    // As an iterator over the cameras from the active one: an unknown id
    // starts past the last camera, an empty one at the first.
    CCameraMap::Table& cameras = m_data.GetCameras().GetTable();
    auto position = m_activeCameraId.empty() ? cameras.begin() : cameras.find(m_activeCameraId);
    if (forward)
    {
        if (position != cameras.end())
            ++position;
        if (position == cameras.end())
            position = cameras.begin();
    }
    else
    {
        if (position == cameras.begin())
            position = cameras.end();
        if (position != cameras.begin())
            --position;
    }
    if (position != cameras.end())
        SetActiveCamera(position->first);
}
