#include "script_api/core/IApp.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "IApp": the functions read nothing from it.
struct SAppInterface
{
};

} // namespace

void RegisterIApp(LuaPlus::LuaState* state)
{
    static SAppInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "IApp");
    table.Seal();
}
