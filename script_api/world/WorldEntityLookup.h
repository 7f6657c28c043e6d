#pragma once

#include "script_api/world/EntityArguments.h"
#include "script_api/world/EntityIdCache.h"

class CWorldData;

namespace ScriptWorld
{

// The world's collections as the lookup of the entity argument types,
// installed for the object's life (the one before it comes back after).
class CWorldEntityLookup final : public IEntityLookup
{
public:
    explicit CWorldEntityLookup(CWorldData& world);
    ~CWorldEntityLookup();
    CWorldEntityLookup(const CWorldEntityLookup&) = delete;
    CWorldEntityLookup& operator=(const CWorldEntityLookup&) = delete;

    IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) override;
    IEntityInterface* FindAnyUnit(std::string_view id) override;

private:
    CWorldData& m_world;
    IEntityLookup* m_previous;
    CEntityIdCache m_cache;
};

} // namespace ScriptWorld
