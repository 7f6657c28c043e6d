#include "script_api/graphics/ISkin.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "ISkin": the functions read nothing from it.
struct SSkinInterface
{
};

} // namespace

void RegisterISkin(LuaPlus::LuaState* state)
{
    static SSkinInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "ISkin");
    table.Seal();
}
