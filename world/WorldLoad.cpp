// Loading, saving and unloading the world object's world data.

#include "world/World.h"

#include "core/app/SimulationManager.h"
#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/FileStd.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/PhysicsEngine.h"
#include "sound/SoundEngine.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace
{

std::wstring FilePath(const std::wstring& path, const std::wstring& dataFile)
{
    std::wstring full = path.empty() ? dataFile : path + L"/" + dataFile;
    CleanPath(full, L"/");
    return full;
}

std::vector<Misc::World::IEntityInterface*> AllEntities(CWorldData& data)
{
    std::vector<Misc::World::IEntityInterface*> entities;
    data.GetGroup().GetUnits(entities);
    return entities;
}

} // namespace

bool CWorld::Load(const std::wstring& path, const std::wstring& dataFile, const std::wstring& script,
                  bool addSearchPath, bool force)
{
    (void)addSearchPath;
    CFileStd file(FilePath(path, dataFile), L"rb");
    if (!file.IsOk())
        return false;
    const std::wstring keptPath = m_data.GetPath();
    const std::wstring keptFile = m_data.GetDataFilename();
    Unload();
    if (!Misc::Serialization::LoadSerializable(m_data, &file))
        return false;
    const bool keep = force && !keptPath.empty();
    m_data.SetPath(keep ? keptPath : path);
    m_data.SetDataFilename(keep ? keptFile : dataFile);
    m_data.SetScript(script);

    Graphics::CGraphicsEngine* graphics =
        m_owner != nullptr ? m_owner->GetPart<Graphics::CGraphicsEngine>() : nullptr;
    CPhysicsEngine* physics = m_owner != nullptr ? m_owner->GetPart<CPhysicsEngine>() : nullptr;
    CSoundEngine* sound = m_owner != nullptr ? m_owner->GetPart<CSoundEngine>() : nullptr;
    const std::vector<Misc::World::IEntityInterface*> entities = AllEntities(m_data);
    if (graphics != nullptr)
    {
        for (Misc::World::IEntityInterface* entity : entities)
            graphics->Add(entity->GetGraphicalPart(), nullptr, std::string());
    }
    if (physics != nullptr)
    {
        for (Misc::World::IEntityInterface* entity : entities)
            physics->AddEntity(entity->GetPhysicalPart());
        if (graphics != nullptr)
            physics->ExpandBounds(graphics->GetWorldMin(), graphics->GetWorldMax());
    }
    if (sound != nullptr)
    {
        for (Misc::World::IEntityInterface* entity : entities)
            sound->AddEntity(entity->GetSonicPart());
    }
    return true;
}

bool CWorld::Save(const std::wstring& path, const std::wstring& dataFile, const std::string& mode,
                  bool copyFolder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(Misc::Text::WideToUtf8(path));
    if (!path.empty())
        fs::create_directories(target, error);
    const std::wstring current = m_data.GetPath();
    if (copyFolder && !current.empty())
    {
        const fs::path source(Misc::Text::WideToUtf8(current));
        if (fs::is_directory(source, error) && !fs::equivalent(source, target, error))
            fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::skip_existing, error);
    }
    if (!Misc::Serialization::SaveSerializable(m_data, FilePath(path, dataFile), mode.c_str()))
        return false;
    m_data.SetPath(path);
    m_data.SetDataFilename(dataFile);
    return true;
}

void CWorld::Unload()
{
    CPhysicsEngine* physics = m_owner != nullptr ? m_owner->GetPart<CPhysicsEngine>() : nullptr;
    CSoundEngine* sound = m_owner != nullptr ? m_owner->GetPart<CSoundEngine>() : nullptr;
    Graphics::CGraphicsEngine* graphics =
        m_owner != nullptr ? m_owner->GetPart<Graphics::CGraphicsEngine>() : nullptr;
    for (Misc::World::IEntityInterface* entity : AllEntities(m_data))
    {
        if (sound != nullptr)
            sound->RemoveEntity(entity->GetSonicPart());
        if (physics != nullptr)
            physics->RemoveEntity(entity->GetPhysicalPart());
        if (graphics != nullptr)
            graphics->Remove(entity->GetGraphicalPart());
    }
    m_data.Clear();
    m_activeCameraId.clear();
}
