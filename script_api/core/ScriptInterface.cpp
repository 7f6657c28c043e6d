#include "script_api/core/ScriptInterface.h"

#include "script_api/core/EngineAccess.h"

#include <map>
#include <mutex>
#include <string>

namespace
{

// The object behind an interface's global: one per interface and process,
// shared by every state. The functions read nothing from it.
void* InterfaceObject(const char* name)
{
    static std::mutex mutex;
    static auto* objects = new std::map<std::string, char>;
    std::lock_guard<std::mutex> lock(mutex);
    return &(*objects)[name];
}

} // namespace

void PublishScriptInterface(LuaPlus::LuaState* state, const char* name,
                            std::initializer_list<ScriptFunctionGroup> groups, unsigned interfaceFlags)
{
    CScriptMetaTable table(state);
    table.SetScriptName(name);
    table.SetMainStateTest(&IsMainScriptThread);
    table.SetDefaultFlags(interfaceFlags);
    for (ScriptFunctionGroup group : groups)
        group(table);
    table.SetGlobalObject(InterfaceObject(name), name);
    table.Seal();
}
