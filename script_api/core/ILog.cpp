#include "script_api/core/ILog.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "ILog": the functions read nothing from it.
struct SLogInterface
{
};

} // namespace

void RegisterILog(LuaPlus::LuaState* state)
{
    static SLogInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "ILog");
    table.Seal();
}
