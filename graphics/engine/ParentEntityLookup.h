#pragma once

#include <string>

namespace Misc::World
{
class IEntityInterface;
}

namespace Graphics
{

// What hanging the entities read with a world under their parents asks of
// the world: the entity that carries an id (searched in the world's fixed
// collection order), or null when the world has none.
class IParentEntityLookup
{
public:
    virtual Misc::World::IEntityInterface* FindEntity(const std::string& id) = 0;

protected:
    ~IParentEntityLookup() = default;
};

} // namespace Graphics
