// ISound functions on the sounds that travel with world entities: the
// entity's sonic part holds the names of loaded sounds.

#include "core/script/lua/LuaStackFunction.h"
#include "script_api/sound/ISoundFunctions.h"
#include "sound/SonicEntity.h"

#include <cstdint>
#include <string>
#include <vector>

using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using ScriptWorld::SonicPart;

namespace
{

// The second argument is read by scripts written for the older form and
// means nothing.
bool detachAllEntitySounds(LuaState*, SonicPart part)
{
    part->DetachAllSounds();
    return true;
}

// The part's own update: its sounds move to the entity's placement and names
// of sounds no longer loaded are dropped; the entity's other parts are left
// alone.
void refreshEntity(LuaState*, SonicPart part)
{
    part->ApplyProperties();
}

// callback(entity id, sound name, user value) for each name attached when
// the walk began, in their order, until it returns true. The walk goes over
// a copy of the names, so the callback may detach sounds or delete the
// entity.
void forEachEntitySound(LuaState*, SonicPart part, const LuaStackObject& callback,
                        const LuaStackObject& userData)
{
    const std::string id = part->GetId();
    const std::vector<std::string> names = part->GetSoundNames();
    const LuaPlus::LuaStackFunction<bool> function(callback);
    for (const std::string& name : names)
    {
        if (function(id, name, userData))
            break;
    }
}

} // namespace

void RegisterISoundEntityFunctions(CScriptMetaTable& table)
{
    table.RegisterMethod<SonicPart>("attachEntitySound", &CSonicEntity::AttachSound);
    table.RegisterMethod<SonicPart>("detachEntitySound", &CSonicEntity::DetachSound);
    table.RegisterHelper("detachAllEntitySounds", &detachAllEntitySounds);
    table.RegisterHelper("refreshEntity", &refreshEntity);
    table.RegisterMethod<SonicPart>("getNumberOfEntitySounds", &CSonicEntity::GetNumberOfSounds);
    table.RegisterHelper("forEachEntitySound", &forEachEntitySound);
}
