#include "script_api/core/IMisc.h"

#include "script_api/core/ColorScript.h"
#include "script_api/core/IMiscFunctions.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/VectorScript.h"

namespace
{

// The object behind the global "IMisc": the functions read nothing from it.
struct SMiscInterface
{
};

} // namespace

void RegisterIMisc(LuaPlus::LuaState* state)
{
    static SMiscInterface s_interface;

    CScriptMetaTable table(state);
    RegisterIMiscClassFunctions(table);
    RegisterIMiscPointFunctions(table);
    RegisterIMiscVectorFunctions(table);
    RegisterIMiscRectFunctions(table);
    RegisterIMiscLineBoxFunctions(table);
    RegisterIMiscColorFunctions(table);
    RegisterIMiscRotationFunctions(table);
    table.SetGlobalObject(&s_interface, "IMisc");
    table.Seal();

    CPointScript::RegisterClass(state);
    CVectorScript::RegisterClass(state);
    CRectScript::RegisterClass(state);
    CColorScript::RegisterClass(state);
}
