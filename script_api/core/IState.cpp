#include "script_api/core/IState.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "IState": the functions read nothing from it.
struct SStateInterface
{
};

} // namespace

void RegisterIState(LuaPlus::LuaState* state)
{
    static SStateInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "IState");
    table.Seal();
}
