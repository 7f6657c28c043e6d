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

    // The id of the camera the graphics engine last made active; empty
    // before any and after that camera was deleted.
    const std::string& GetActiveCameraId() const { return m_activeCameraId; }
    void ForgetActiveCamera() { m_activeCameraId.clear(); }

    bool OnEvent(const CEvtEntityPair& change) override;

    // Empties the world, then reads the world file `dataFile` in the folder
    // `path` and hands every entity to graphics, physics and sound. The
    // script name is stored as the world's. With force, a world that has a
    // path keeps its path and file name. False when the file does not open
    // or does not read; a damaged body throws its reader's error.
    bool Load(const std::wstring& path, const std::wstring& dataFile, const std::wstring& script,
              bool addSearchPath, bool force);
    // Writes the world file into the folder (made when missing); mode as
    // every save ("COMPRESSED", "BINARY", else a text encoding). With
    // copyFolder, a save into another folder first copies the current
    // folder's files there. On success the path and file name are stored.
    bool Save(const std::wstring& path, const std::wstring& dataFile, const std::string& mode,
              bool copyFolder);
    // Takes every entity out of sound, physics and graphics, then empties
    // the world data and forgets the active camera.
    void Unload();

private:
    Simulation::CSimulationManager* m_owner;
    CWorldData m_data;
    std::string m_activeCameraId;
};
