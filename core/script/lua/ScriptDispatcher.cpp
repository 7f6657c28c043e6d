#include "core/script/lua/ScriptDispatcher.h"

#include <atomic>
#include <cstring>

namespace LuaPlus
{

namespace
{
std::atomic<RegistrationListener> g_registrationListener{nullptr};
} // namespace

void SetRegistrationListener(RegistrationListener listener)
{
    g_registrationListener.store(listener);
}

RegistrationListener GetRegistrationListener()
{
    return g_registrationListener.load();
}

void RegisterBinding(LuaObject& table, const char* name, lua_CFunction dispatcher, const void* callable,
                     size_t size, const std::string& qualifiedName, MainStateTest mainStateTest,
                     const std::string& guardMessage)
{
    ScriptBinding binding{};
    if (size > sizeof binding.callable)
        throw LuaException("[ScriptDispatcher] The function of " + qualifiedName +
                           " does not fit its binding");
    std::memcpy(binding.callable, callable, size);
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
