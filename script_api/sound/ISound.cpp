#include "script_api/sound/ISound.h"

#include "script_api/core/ScriptInterface.h"
#include "script_api/sound/ISoundFunctions.h"

void RegisterISound(LuaPlus::LuaState* state)
{
    // One line per group (ISoundFunctions.h), in the order scripts know the
    // functions by.
    PublishScriptInterface(state, "ISound",
                           {
                               &RegisterISoundEngineFunctions,
                               &RegisterISoundDriverFunctions,
                               &RegisterISoundListenerFunctions,
                               &RegisterISoundSoundFunctions,
                               &RegisterISoundEntityFunctions,
                           });
}
