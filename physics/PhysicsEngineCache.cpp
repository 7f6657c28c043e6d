// The collision cache: the tree of a static entity in a file named after
// the entity's id, so that a large mesh is not built into a tree again.
#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/io/FileStd.h"
#include "core/io/SaveFile.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "physics/newton/Newton.h"

#include <limits>

namespace
{

const wchar_t* const kCacheExtension = L".kvophysicscache";

std::wstring CacheName(CPhysicalEntity& entity)
{
    return Misc::Text::Utf8ToWide(entity.GetId()) + kCacheExtension;
}

// Each block of the stream in one read or write of that size.
int ReadBlock(void* handle, void* buffer, size_t size)
{
    if (size > std::numeric_limits<uint32_t>::max())
        return 0;
    const int32_t read = static_cast<IFile*>(handle)->read(buffer, static_cast<uint32_t>(size));
    return read >= 0 && static_cast<size_t>(read) == size ? 1 : 0;
}

struct SCacheWriter
{
    CSaveFile* file;
    size_t bytes;
};

void WriteBlock(void* handle, const void* buffer, size_t size)
{
    auto* writer = static_cast<SCacheWriter*>(handle);
    // A short write marks the file failed; Commit then refuses it.
    if (size <= std::numeric_limits<uint32_t>::max())
        writer->file->write(buffer, static_cast<uint32_t>(size));
    writer->bytes += size;
}

} // namespace

NewtonCollision* CPhysicsEngine::LoadCollisionCache(CPhysicalEntity* entity)
{
    std::wstring path;
    FindCollisionCache(path, entity);
    if (path.empty() || m_world == nullptr)
        return nullptr;
    CFileStd file(path, L"rb");
    if (!file.IsOk())
        return nullptr;
    // A stream that does not read back whole gives no tree.
    return NewtonCreateTreeCollisionFromSerialization(m_world, nullptr, &ReadBlock,
                                                      static_cast<IFile*>(&file));
}

bool CPhysicsEngine::SaveCollisionCache(CPhysicalEntity* entity, const std::wstring& folder)
{
    if (entity == nullptr || entity->GetBody() == nullptr)
        return false;
    NewtonCollision* collision = NewtonBodyGetCollision(entity->GetBody());
    if (collision == nullptr)
        return false;
    std::wstring path = folder + L"/" + CacheName(*entity);
    CleanPath(path, L"/");
    if (path.empty())
        return false;
    CSaveFile file(path);
    if (!file.IsOk())
        return false;
    SCacheWriter writer{&file, 0};
    NewtonTreeCollisionSerialize(collision, &WriteBlock, &writer);
    // Only trees are cached: a body of another shape writes nothing, and no
    // empty file is left behind.
    if (writer.bytes == 0 || !file.Commit())
        return false;
    // Lookups remember what they did not find: the new file must be found.
    Simulation::CSimulationManager* owner = GetOwner();
    if (owner != nullptr && owner->GetApplication() != nullptr)
        owner->GetApplication()->GetFileSystem().ClearSearchCache();
    return true;
}

void CPhysicsEngine::FindCollisionCache(std::wstring& path, CPhysicalEntity* entity)
{
    path.clear();
    Simulation::CSimulationManager* owner = GetOwner();
    if (entity == nullptr || owner == nullptr || owner->GetApplication() == nullptr)
        return;
    path = owner->GetApplication()->GetFilenameFromFileSystem(CacheName(*entity), L"", true);
    if (!path.empty())
        CleanPath(path, L"/");
}
