#include "script_api/core/IMisc.h"

#include "script_api/core/ColorScript.h"
#include "script_api/core/IMiscFunctions.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/ScriptInterface.h"
#include "script_api/core/VectorScript.h"

void RegisterIMisc(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IMisc",
                           {&RegisterIMiscClassFunctions, &RegisterIMiscPointFunctions,
                            &RegisterIMiscVectorFunctions, &RegisterIMiscRectFunctions,
                            &RegisterIMiscLineBoxFunctions, &RegisterIMiscColorFunctions,
                            &RegisterIMiscRotationFunctions});

    CPointScript::RegisterClass(state);
    CVectorScript::RegisterClass(state);
    CRectScript::RegisterClass(state);
    CColorScript::RegisterClass(state);
}
