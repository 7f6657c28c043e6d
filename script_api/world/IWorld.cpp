#include "script_api/world/IWorld.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "IWorld": the functions read nothing from it.
struct SWorldInterface
{
};

} // namespace

void RegisterIWorld(LuaPlus::LuaState* state)
{
    static SWorldInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "IWorld");
    table.Seal();
}
