#include "script_api/core/ProtectedRun.h"

#include "core/script/lua/CallGuarded.h"
#include "core/script/lua/LuaState.h"

#include <lua.hpp>

namespace
{

using Action = std::function<void()>;

int RunAction(lua_State* L)
{
    const auto* action = static_cast<const Action*>(lua_touserdata(L, 1));
    return LuaPlus::CallGuarded(L,
                                [action]
                                {
                                    (*action)();
                                    return 0;
                                });
}

} // namespace

bool RunProtected(LuaPlus::LuaState* state, const std::function<void()>& action, std::string& error)
{
    lua_State* L = state->GetCState();
    if (lua_cpcall(L, &RunAction, const_cast<Action*>(&action)) == 0)
        return true;
    error = LuaPlus::GetErrorText(L, -1);
    lua_pop(L, 1);
    return false;
}
