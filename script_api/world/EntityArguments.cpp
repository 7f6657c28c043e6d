#include "script_api/world/EntityArguments.h"

#include "core/foundation/KVOError.h"
#include "core/script/lua/ScriptArg.h"

#include <atomic>
#include <string>

namespace ScriptWorld
{

namespace
{

// Installed and read on the main thread; atomic so that a lookup the world
// takes away while it goes is never half seen.
std::atomic<IEntityLookup*> g_lookup{nullptr};

// An id as the messages show it: a text with a zero byte ends there.
std::string_view Shown(std::string_view id)
{
    return id.substr(0, id.find('\0'));
}

} // namespace

IEntityLookup* SetEntityLookup(IEntityLookup* lookup)
{
    return g_lookup.exchange(lookup);
}

IEntityInterface* FindUnit(uint32_t typeId, std::string_view id)
{
    IEntityLookup* lookup = g_lookup.load(std::memory_order_acquire);
    return lookup != nullptr ? lookup->FindUnit(typeId, id) : nullptr;
}

IEntityInterface* FindAnyUnit(std::string_view id)
{
    IEntityLookup* lookup = g_lookup.load(std::memory_order_acquire);
    return lookup != nullptr ? lookup->FindAnyUnit(id) : nullptr;
}

void ThrowUnitNotFound(std::string_view id)
{
    throw Misc::Error::CKVOError::Format(L"[CWorldMap::GetUnit] Unit not found [%S]"_fmt, Shown(id));
}

void ThrowGroupUnitNotFound(std::string_view id)
{
    throw Misc::Error::CKVOError::Format(L"[CWorldMapGroup::GetUnit] Unit not found [%S]"_fmt, Shown(id));
}

void ThrowJointNotFound(std::string_view id)
{
    throw Misc::Error::CKVOError::Format(L"[CPhysicsEngine::GetJoint] Joint id not found:%S"_fmt, Shown(id));
}

void RefuseMissingPart(const char* part, std::string_view id)
{
    throw LuaPlus::ScriptArgumentError(std::string("Unit has no ") + part + " part [" +
                                       std::string(Shown(id)) + "]");
}

} // namespace ScriptWorld
