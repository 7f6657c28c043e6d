#pragma once

#include "core/events/Multicast.h"
#include "world/WorldData.h"

#include <string>

namespace Simulation
{
class CSimulationManager;
}

// The world object of the engine object: it holds the one world data for
// its whole life and follows camera changes. The composition builds it
// after the graphics, physics and sound engines, so that it goes first and
// its entities leave the engines while every engine still exists.
class CWorld : public Misc::Multicast::CSubscriber<Misc::Multicast::Kind::CameraChange>
{
public:
    explicit CWorld(Simulation::CSimulationManager* owner);
    ~CWorld() override;
    CWorld(const CWorld&) = delete;
    CWorld& operator=(const CWorld&) = delete;

    Simulation::CSimulationManager* GetOwner() const { return m_owner; }
    CWorldData& GetData() { return m_data; }
    const CWorldData& GetData() const { return m_data; }

    // Reads the world file and hands every entity's parts to the running
    // engines, in the phases data, graphics, physics, sound, each announced
    // on its world channel. With addSearchPath an existing folder becomes a
    // recursive search path (key kWorldSearchPathKey). False, announcing
    // nothing, for an empty folder or file name or a file that is not read;
    // an error of a phase passes to the caller.
    bool Load(const std::wstring& folder, const std::wstring& file, const std::wstring& script,
              bool addSearchPath, bool force);
    // Announces the save, then writes the world (CWorldData::Save).
    bool Save(const std::wstring& folder, const std::wstring& file, const std::string& mode, bool copyFolder);
    // Announces the unload, takes the parts out of sound, physics and
    // graphics, drops the world's search paths and empties the world.
    void Unload();

    // The phases, each only while its engine runs; the load phases end with
    // their event, carrying the folder.
    void LoadGraphics(const std::wstring& folder);
    void LoadPhysics(const std::wstring& folder);
    void LoadSound(const std::wstring& folder);
    void UnloadSound();
    void UnloadPhysics();
    void UnloadGraphics();

    // Makes the camera of the id the graphics engine's active camera;
    // throws "[CWorldMap::GetUnit] Unit not found [%s]" when there is none.
    void SetActiveCamera(const std::string& id);
    // The next camera in id order (wrapping) or the previous one becomes
    // active; nothing without cameras.
    void ChangeActiveCamera(bool forward);

    // The id of the camera the graphics engine last made active; empty
    // before any and after that camera was deleted.
    const std::string& GetActiveCameraId() const { return m_activeCameraId; }
    void ForgetActiveCamera() { m_activeCameraId.clear(); }

    bool OnEvent(const CEvtEntityPair& change) override;

    // The search-path key the world's folders are filed under.
    static constexpr int32_t kWorldSearchPathKey = static_cast<int32_t>(0x80000001u);

private:
    Simulation::CSimulationManager* m_owner;
    CWorldData m_data;
    std::string m_activeCameraId;
};
