#include "world/WorldData.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/CurrentDirectory.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/PathUtilities.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/ArchiveText.h"
#include "core/io/FileOperations.h"
#include "core/io/FileVersions.h"
#include "core/io/SaveFile.h"
#include "core/world/TypeId.h"
#include "graphics/engine/GraphicsPorts.h"
#include "physics/PhysicsEngine.h"
#include "sound/SoundEngine.h"
#include "world/World.h"

#include <filesystem>
#include <system_error>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace World = Misc::World;

namespace
{

// The kind id of a collection's entities.
template <class Map> constexpr uint32_t KindIdOf()
{
    return Map::ManagedEntity::kTypeId;
}

template <size_t... Index> constexpr bool ListsCollectionsInMemberOrder(std::index_sequence<Index...>)
{
    constexpr auto collections = CWorldData::Collections();
    constexpr auto ids = World::KindIdsInOrder<World::EKindOrder::Members>();
    using Collections = decltype(collections);
    return std::tuple_size_v<Collections> == ids.size() &&
           ((KindIdOf<std::remove_reference_t<decltype(std::declval<CWorldData&>().*
                                                       std::get<Index>(collections))>>() == ids[Index]) &&
            ...);
}
static_assert(ListsCollectionsInMemberOrder(
                  std::make_index_sequence<std::tuple_size_v<decltype(CWorldData::Collections())>>{}),
              "Collections() lists one collection per kind, in the kinds' Members order");

} // namespace

CWorldData::CWorldData(CWorld* owner) : m_owner(owner)
{
    ForEachKind<World::EKindOrder::GroupSearch>([this](IWorldMap& map) { m_group.AddMap(&map); });
}

void CWorldData::SetScript(const std::wstring& script)
{
    if (!script.empty())
        m_script = script;
}

namespace
{

// A folder argument cleaned with "/". Cleaning leaves nothing of the current
// folder ("", "." or "./") and of the root: they become "." and "/", so that
// a file path built on them stays where the folder is.
std::wstring FolderText(const std::wstring& folder)
{
    std::wstring text = folder + L"/";
    CleanPath(text, L"/");
    if (text.empty())
        text = !folder.empty() && (folder.front() == L'/' || folder.front() == L'\\') ? L"/" : L".";
    return text;
}

// The folder as an absolute, cleaned path, relative ones taken against the
// current directory.
std::wstring AbsolutePath(const std::wstring& folder)
{
    std::wstring absolute = FolderText(folder);
    if (absolute == L".")
        absolute = CCurrentDirectory().Get();
    else if (IsRelativePath(absolute))
        absolute = CCurrentDirectory().Get() + L"/" + absolute;
    CleanPath(absolute, L"/");
    return absolute.empty() ? std::wstring(L"/") : absolute;
}

} // namespace

std::wstring CWorldData::GetPathLong() const
{
    return m_path.empty() ? std::wstring() : AbsolutePath(m_path);
}

IWorldMap* CWorldData::GetMap(uint32_t typeId)
{
    IWorldMap* found = nullptr;
    ForEachKind<World::EKindOrder::Members>(
        [&found, typeId](auto& map)
        {
            if (KindIdOf<std::remove_reference_t<decltype(map)>>() == typeId)
                found = &map;
        });
    return found;
}

void CWorldData::Clear()
{
    m_path.clear();
    m_dataFilename.clear();
    m_script = L"world";
    m_dataBag.Clear();
    ForEachKind<World::EKindOrder::Clear>([](IWorldMap& map) { map.Clear(); });
    m_sky.Clear();
}

void CWorldData::RemoveInvalidWaypointConnections()
{
    for (auto& entry : m_waypoints.GetTable())
    {
        std::vector<std::string> gone;
        auto& waypoint = entry.second;
        for (const CWaypointConnection& connection : waypoint.GetConnections())
        {
            if (!m_waypoints.Exists(connection.GetWaypoint()))
                gone.push_back(connection.GetId());
        }
        for (const std::string& connection : gone)
            waypoint.RemoveConnection(connection);
    }
}

CWorldData::~CWorldData() = default;

namespace
{

// True when both name one folder, also when spelled differently or reached
// through a link.
bool IsSameFolder(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    if (a == b)
        return true;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// True when the folder `inner` is the folder `outer` or lies below it.
bool IsAtOrBelow(const std::wstring& inner, const std::wstring& outer)
{
    const std::filesystem::path outerPath(ToNativePath(AbsolutePath(outer)));
    std::filesystem::path path(ToNativePath(AbsolutePath(inner)));
    for (;;)
    {
        if (IsSameFolder(path, outerPath))
            return true;
        if (!path.has_relative_path())
            return false;
        path = path.parent_path();
    }
}

} // namespace

std::wstring CWorldData::GetScriptPath() const
{
    if (m_script.empty() || !IsRelativePath(m_script))
        return {};
    const std::wstring folder = GetPathLong();
    std::wstring path = folder + L"/" + m_script;
    CleanPath(path, L"/");
    const std::wstring prefix = folder == L"/" ? folder : folder + L"/";
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
        return {};
    return path;
}

Misc::World::IEntityInterface* CWorldData::FindEntity(const std::string& id)
{
    return m_group.FindUnit(id);
}

CWorldData::SEngines CWorldData::GetEngines() const
{
    Simulation::CSimulationManager* manager = m_owner != nullptr ? m_owner->GetOwner() : nullptr;
    if (manager == nullptr)
        return {};
    return {Graphics::WorldGraphicsOf(*manager), manager->GetPart<CPhysicsEngine>(),
            manager->GetPart<CSoundEngine>()};
}

bool CWorldData::Write(Misc::Serialization::IArchive& archive)
{
    const SEngines engines = GetEngines();
    // Without its engines the body would miss their records and not read.
    if (engines.graphics == nullptr || engines.physics == nullptr || engines.sound == nullptr)
        throw Misc::Error::CKVOError(L"[CWorldData::Write] Engines not initialised");
    bool written = archive.WriteKeyWString("-Script", m_script);
    written = engines.graphics->Write(archive) && written;
    written = engines.physics->Write(archive) && written;
    written = engines.sound->Write(archive) && written;
    written = m_fog.Write(archive) && written;
    written = static_cast<Misc::Serialization::ISerializable&>(m_sky).Write(archive) && written;
    written = m_dataBag.Write(archive) && written;
    ForEachKind<World::EKindOrder::FileSections>([&](auto& map) { written = map.Write(archive) && written; });
    return written;
}

bool CWorldData::Read(Misc::Serialization::IArchive& archive)
{
    const SEngines engines = GetEngines();
    if (engines.graphics == nullptr || engines.physics == nullptr || engines.sound == nullptr)
        throw Misc::Error::CKVOError(L"[CWorldData::Read] Engines not initialised");
    // Version 0 is an archive that does not know its version: the new
    // layout.
    const bool newLayout = archive.GetVersion() == 0 || archive.IsVersionAtLeast(FileVersion::kEngineRecords);
    archive.ReadKeyWString("-Script", m_script);
    if (newLayout)
    {
        engines.graphics->Read(archive);
        engines.physics->Read(archive);
        engines.sound->Read(archive);
    }
    m_fog.Read(archive);
    static_cast<Misc::Serialization::ISerializable&>(m_sky).Read(archive);
    if (!newLayout)
        engines.physics->Read(archive);
    m_dataBag.Read(archive);
    ForEachKind<World::EKindOrder::FileSections>([&](auto& map) { map.Read(archive); });
    return true;
}

bool CWorldData::Load(const std::wstring& folder, const std::wstring& file, const std::wstring& script,
                      bool force)
{
    Simulation::CSimulationManager* manager = m_owner != nullptr ? m_owner->GetOwner() : nullptr;
    if (manager == nullptr || manager->GetApplication() == nullptr)
        return false;
    const std::wstring path = FolderText(folder) + L"/" + file;
    CFilePtr opened(manager->GetApplication()->OpenFile(path));
    if (opened == nullptr)
        return false;
    Misc::Serialization::CArchiveHandle archive(opened.get(), false, GetTypeName(), GetMinimumVersion());
    if (!archive.IsOpen())
        return false;
    SetScript(script);
    const bool read = Read(archive);
    // A file that did not read leaves the stored names to the world that
    // has them, so that a later save does not go to the failed file.
    if (read && (force || m_path.empty()))
    {
        m_path = folder;
        m_dataFilename = file;
    }
    return read;
}

bool CWorldData::Save(const std::wstring& folder, const std::wstring& file, const std::string& mode,
                      bool copyFolder)
{
    const std::wstring oldFolder = m_path.empty() ? std::wstring() : FolderText(m_path);
    const std::wstring newFolder = FolderText(folder);
    std::wstring path = newFolder + L"/" + file;
    CleanPath(path, L"/");

    const CFileOperations operations;
    if (!operations.IsDirectory(newFolder) && !operations.CreatePath(newFolder, true))
        return false;
    // A world never loaded has nothing to copy; the folder itself, or one
    // that holds the new one, would be copied into itself.
    if (copyFolder && !oldFolder.empty() && oldFolder != newFolder && !IsAtOrBelow(newFolder, oldFolder) &&
        !operations.CopyPath(oldFolder, newFolder))
        return false;

    CSaveFile target(path);
    if (!target.IsOk())
        return false;
    bool written = false;
    const bool compressed = mode == "COMPRESSED";
    if (compressed || mode == "BINARY")
    {
        Misc::Serialization::CArchiveBin archive(&target, true, GetTypeName(), GetVersion(), nullptr,
                                                 compressed);
        written = archive.IsOpen() && Write(archive);
        written = archive.Close() && written;
    }
    else
    {
        Misc::Serialization::CArchiveText archive(&target, true, GetTypeName(), GetVersion(), nullptr,
                                                  mode.c_str());
        written = archive.IsOpen() && Write(archive);
        written = archive.Close() && written;
    }
    // The old file stays unless every write and the close succeeded; an
    // error thrown by the body leaves it too (the archives do not put a file
    // in place while an exception leaves them).
    if (!written || !target.Commit())
        return false;
    m_path = folder;
    m_dataFilename = file;
    return true;
}
