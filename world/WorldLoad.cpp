// Loading, saving and unloading the world object's world data.

#include "world/World.h"

#include "core/app/SimulationManager.h"
#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/FileStd.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalEntity.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "sound/SonicEntity.h"
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
    if (path.empty() || dataFile.empty())
        return false;
    CFileStd file(FilePath(path, dataFile), L"rb");
    if (!file.IsOk())
        return false;
    if (force || m_data.GetPath().empty())
    {
        m_data.SetPath(path);
        m_data.SetDataFilename(dataFile);
    }
    // The file's own script name replaces this one as the body is read.
    m_data.SetScript(script);
    if (!Misc::Serialization::LoadSerializable(m_data, &file))
        return false;

    // Entities that a world loaded before brought to life stay as they are.
    Graphics::CGraphicsEngine* graphics =
        m_owner != nullptr ? m_owner->GetPart<Graphics::CGraphicsEngine>() : nullptr;
    CPhysicsEngine* physics = m_owner != nullptr ? m_owner->GetPart<CPhysicsEngine>() : nullptr;
    CSoundEngine* sound = m_owner != nullptr ? m_owner->GetPart<CSoundEngine>() : nullptr;
    const std::vector<Misc::World::IEntityInterface*> entities = AllEntities(m_data);
    if (graphics != nullptr)
    {
        for (Misc::World::IEntityInterface* entity : entities)
        {
            if (entity->GetGraphicalPart()->GetSceneNode() == nullptr)
                graphics->Add(entity->GetGraphicalPart(), nullptr, std::string());
        }
    }
    if (physics != nullptr)
    {
        for (Misc::World::IEntityInterface* entity : entities)
        {
            if (entity->GetPhysicalPart()->GetEngine() == nullptr)
                physics->AddEntity(entity->GetPhysicalPart());
        }
        if (graphics != nullptr)
            physics->ExpandBounds(graphics->GetWorldMin(), graphics->GetWorldMax());
    }
    if (sound != nullptr)
    {
        for (Misc::World::IEntityInterface* entity : entities)
        {
            if (entity->GetSonicPart()->GetSoundEngine() == nullptr)
                sound->AddEntity(entity->GetSonicPart());
        }
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
