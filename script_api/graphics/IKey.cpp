#include "script_api/graphics/IKey.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "IKey": the functions read nothing from it.
struct SKeyInterface
{
};

} // namespace

void RegisterIKey(LuaPlus::LuaState* state)
{
    static SKeyInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "IKey");
    table.Seal();
}
