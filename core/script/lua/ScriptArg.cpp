#include "core/script/lua/ScriptArg.h"

#include <cstdio>

namespace LuaPlus
{

void RefuseNumber(int index, lua_Number number, const char* noun)
{
    char value[32];
    std::snprintf(value, sizeof value, "%.14g", number);
    throw ScriptArgumentError(std::string("Invalid ") + noun + " for argument " + std::to_string(index - 1) +
                              ": " + value);
}

} // namespace LuaPlus
