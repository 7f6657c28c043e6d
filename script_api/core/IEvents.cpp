#include "script_api/core/IEvents.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "IEvents": the functions read nothing from it.
struct SEventsInterface
{
};

} // namespace

void RegisterIEvents(LuaPlus::LuaState* state)
{
    static SEventsInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "IEvents");
    table.Seal();
}
