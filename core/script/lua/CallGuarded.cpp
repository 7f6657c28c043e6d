#include "core/script/lua/CallGuarded.h"

namespace LuaPlus
{

int RaiseScriptError(lua_State* L, const std::string& message)
{
    luaL_where(L, 1);
    lua_pushlstring(L, message.data(), message.size());
    lua_concat(L, 2);
    return lua_error(L);
}

} // namespace LuaPlus
