#include "script_api/graphics/IGraphics.h"

#include "core/script/lua/ScriptMetaTable.h"

namespace
{

// The object behind the global "IGraphics": the functions read nothing from it.
struct SGraphicsInterface
{
};

} // namespace

void RegisterIGraphics(LuaPlus::LuaState* state)
{
    static SGraphicsInterface s_interface;

    CScriptMetaTable table(state);
    table.SetGlobalObject(&s_interface, "IGraphics");
    table.Seal();
}
