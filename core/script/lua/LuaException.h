#pragma once

#include <exception>
#include <string>

namespace LuaPlus
{

// The script runtime's error: thrown to C++ when a call into a script fails
// (the message is the script's error text) or when the object layer is
// misused (a closed state, a value of the wrong type). Never let it reach
// Lua: bindings catch it and raise its message as a script error.
class LuaException : public std::exception
{
public:
    explicit LuaException(std::string message) : m_message(std::move(message)) {}

    const char* what() const noexcept override { return m_message.c_str(); }
    const char* GetErrorMessage() const noexcept { return m_message.c_str(); }

private:
    std::string m_message;
};

} // namespace LuaPlus
