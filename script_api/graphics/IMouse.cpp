#include "script_api/graphics/IMouse.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "IMouse": the functions read nothing from it.
struct SMouseInterface
{
};

} // namespace

void RegisterIMouse(LuaPlus::LuaState* state)
{
    static SMouseInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "IMouse");
    table.Seal();
}
