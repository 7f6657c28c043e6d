#include "core/script/lua/ScriptDispatcher.h"

#include <cstring>

namespace LuaPlus
{

void RegisterBinding(LuaObject& table, const char* name, lua_CFunction dispatcher, void (*function)(),
                     const std::string& qualifiedName, MainStateTest mainStateTest,
                     const std::string& guardMessage)
{
    ScriptBinding binding{};
    binding.function = function;
    binding.state = table.GetState();
    binding.mainStateTest = guardMessage.empty() ? nullptr : mainStateTest;
    binding.nameLength = static_cast<uint32_t>(qualifiedName.size());
    if (binding.mainStateTest == nullptr && !guardMessage.empty())
        throw LuaException("[ScriptDispatcher] No main-state test for the guarded function " + qualifiedName);

    std::string block(sizeof binding, '\0');
    std::memcpy(block.data(), &binding, sizeof binding);
    block += qualifiedName;
    block += '\0';
    block += guardMessage;
    block += '\0';
    table.Register(name, dispatcher, block.data(), block.size());
}

} // namespace LuaPlus
