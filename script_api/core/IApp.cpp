#include "script_api/core/IApp.h"

#include "script_api/core/IAppFunctions.h"
#include "script_api/core/ScriptInterface.h"

void RegisterIApp(LuaPlus::LuaState* state)
{
    PublishScriptInterface(
        state, "IApp",
        {&RegisterIAppScriptFunctions, &RegisterIAppInfoFunctions, &RegisterIAppLoopFunctions,
         &RegisterIAppConsoleFunctions, &RegisterIAppSearchFunctions, &RegisterIAppFileFunctions,
         &RegisterIAppOptionFunctions, &RegisterIAppTimeFunctions, &RegisterIAppTranslationFunctions,
         &RegisterIAppShellFunctions, &RegisterIAppDialogFunctions});
}
