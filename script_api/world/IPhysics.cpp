#include "script_api/world/IPhysics.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "IPhysics": the functions read nothing from it.
struct SPhysicsInterface
{
};

} // namespace

void RegisterIPhysics(LuaPlus::LuaState* state)
{
    static SPhysicsInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "IPhysics");
    table.Seal();
}
