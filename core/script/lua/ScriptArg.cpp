#include "core/script/lua/ScriptArg.h"

#include <cstdio>

namespace LuaPlus
{

void RefuseNumber(int index, lua_Number number, const char* noun)
{
    // Scripts count their arguments after the object before the colon.
    char value[32];
    if (std::isnan(number))
        std::snprintf(value, sizeof value, "nan");
    else
        std::snprintf(value, sizeof value, "%.14g", number);
    throw ScriptArgumentError(std::string("Invalid ") + noun + " for argument " + std::to_string(index - 1) +
                              ": " + value);
}

} // namespace LuaPlus
