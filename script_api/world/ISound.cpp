#include "script_api/world/ISound.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "ISound": the functions read nothing from it.
struct SSoundInterface
{
};

} // namespace

void RegisterISound(LuaPlus::LuaState* state)
{
    static SSoundInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "ISound");
    table.Seal();
}
