#include "script_api/core/ILog.h"

#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "script_api/core/ScriptInterface.h"

#include <string>

using LuaPlus::LuaState;

namespace
{

Misc::CLogger* Logger()
{
    return Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
}

void setOutputLevel(LuaState*, int32_t level)
{
    Logger()->SetOutputLevel(level);
}

int32_t getOutputLevel(LuaState*)
{
    return Logger()->GetOutputLevel();
}

void setSystemLevel(LuaState*, int32_t level)
{
    Logger()->SetSystemLevel(level);
}

int32_t getSystemLevel(LuaState*)
{
    return Logger()->GetSystemLevel();
}

// The text goes through "%s", so a percent sign in it is just a character.
void write(LuaState*, const std::wstring& text, int32_t level)
{
    Logger()->Write(level, false, L"%s"_fmt, text);
}

void writePublish(LuaState*, const std::wstring& text, int32_t level)
{
    Logger()->WritePublish(level, false, L"%s"_fmt, text);
}

void RegisterILogFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("setOutputLevel", &setOutputLevel);
    table.RegisterHelper("getOutputLevel", &getOutputLevel);
    table.RegisterHelper("setSystemLevel", &setSystemLevel);
    table.RegisterHelper("getSystemLevel", &getSystemLevel);
    table.RegisterHelper("write", &write);
    table.RegisterHelper("writePublish", &writePublish);
}

} // namespace

void RegisterILog(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "ILog", {&RegisterILogFunctions});
}
