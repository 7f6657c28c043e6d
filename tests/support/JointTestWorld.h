#pragma once

// A world as far as remaking joints needs one: entities found by id.

#include "core/world/EntityInterface.h"
#include "physics/JointEntityLookup.h"

#include <map>
#include <string>

class CJointTestWorld : public IJointEntityLookup
{
public:
    void Add(Misc::World::IEntityInterface& entity) { m_entities[entity.GetId()] = &entity; }

    Misc::World::IEntityInterface* FindEntity(const std::string& id) override
    {
        const auto found = m_entities.find(id);
        return found != m_entities.end() ? found->second : nullptr;
    }

private:
    std::map<std::string, Misc::World::IEntityInterface*> m_entities;
};
