#pragma once

#include <string>

namespace Misc::World
{
class IEntityInterface;
}

// What remaking the joints after a world load asks of the world: the entity
// that carries an id (searched in the world's fixed collection order), or
// null when the world has none.
class IJointEntityLookup
{
public:
    virtual ~IJointEntityLookup() = default;
    virtual Misc::World::IEntityInterface* FindEntity(const std::string& id) = 0;
};
