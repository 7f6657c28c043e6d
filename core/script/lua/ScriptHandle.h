#pragma once

#include "core/foundation/StringConversion.h"
#include "core/foundation/WideFormat.h"
#include "core/foundation/HandleRegistry.h"
#include "core/script/lua/ScriptArg.h"

#include <lua.hpp>

namespace LuaPlus
{

// What scripts call a kind of native object they hold by handle, for the
// invalid-handle message. Each type handed out as a handle specialises it:
//
//     template <> struct LuaPlus::ScriptHandleTraits<CSceneNode>
//     {
//         static constexpr const char* kName = "scene node";
//     };
template <typename T> struct ScriptHandleTraits;

// A parameter naming a live object of T through the CHandleRegistry (see
// core/foundation/HandleRegistry.h). Any other number (0, unknown, released, not whole, the
// handle of another type) stops the call before the function runs with
// "[IEvents::unsubscribe] Invalid event handler handle: 5": the function
// always gets a live object.
template <typename T> class ScriptHandle
{
public:
    ScriptHandle() = default;
    ScriptHandle(T* object, lua_Number number) : m_object(object), m_number(number) {}

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    // The number the script gave.
    lua_Number GetNumber() const { return m_number; }

private:
    T* m_object = nullptr;
    lua_Number m_number = 0;
};

// The same, where 0 means "no object" and reads as null.
template <typename T> class OptionalScriptHandle : public ScriptHandle<T>
{
public:
    using ScriptHandle<T>::ScriptHandle;
    explicit operator bool() const { return this->Get() != nullptr; }
};

// The live object of T that a script's number names. Any other number
// throws the invalid-handle error, which the dispatcher raises as
// "[<qualified name>] Invalid <kind> handle: <number>". For functions that
// must look at other arguments before the handle.
template <typename T> T* FindScriptHandle(lua_Number number)
{
    T* object = Misc::CHandleRegistry::GetInstance().Get<T>(number);
    if (object == nullptr)
    {
        throw ScriptArgumentError(Misc::Text::WideToUtf8(Misc::Text::FormatWide(
            0, L"Invalid %S handle: %.14g"_fmt, ScriptHandleTraits<T>::kName, number)));
    }
    return object;
}

template <typename T> struct ScriptArg<ScriptHandle<T>> : ScriptArgHeld<ScriptHandle<T>>
{
    static ScriptHandle<T> Get(lua_State* L, int index)
    {
        const lua_Number number = lua_tonumber(L, index);
        return ScriptHandle<T>(FindScriptHandle<T>(number), number);
    }
};

template <typename T> struct ScriptArg<OptionalScriptHandle<T>> : ScriptArgHeld<OptionalScriptHandle<T>>
{
    static OptionalScriptHandle<T> Get(lua_State* L, int index)
    {
        const lua_Number number = lua_tonumber(L, index);
        if (number == 0)
            return OptionalScriptHandle<T>();
        return OptionalScriptHandle<T>(FindScriptHandle<T>(number), number);
    }
};

} // namespace LuaPlus
