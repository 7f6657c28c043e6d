#pragma once

// Parameters that stand for the object a script names: a function says in
// its signature what it needs (the physical part of an entity, a control,
// a joint) and gets the object, never the text. A lookup says how:
//
//     struct ControlLookup
//     {
//         using Object = irr::gui::IGUIElement;
//         // The object; a name that names none raises the documented error.
//         static Object* Resolve(lua_State* L, int index);
//     };
//     using Control = LuaPlus::Resolved<ControlLookup>;
//
// Optional members of a lookup:
// - static constexpr int kSlots = 0: it reads no argument (the GUI manager,
//   the collection of one kind of entity);
// - static constexpr bool kAbsentSkipsCall = true: a null object is no error
//   but the call does not run and answers its absent result (a sound name
//   that names no sound; ScriptDispatcher.h).
//
// Texts that name objects by a narrow string (entity ids, joint ids, sound
// names) take one of the ready lookups below over a finder, which says
// where the objects are and what a name that names none means:
//
//     struct Joints
//     {
//         using Object = CJoint;
//         static CJoint* Find(std::string_view id);        // null for none
//         [[noreturn]] static void NotFound(std::string_view id); // the documented error
//     };
//     using Joint = LuaPlus::Resolved<LuaPlus::Named<Joints>>;
//
// A function takes the Resolved as a parameter and uses it as a pointer. A
// method of the object needs no function at all: it is one row
// (CScriptMetaTable::RegisterMethod), and a Resolved passes as the method's
// parameter of the object's pointer type:
//
//     bool isVisible(LuaState*, Control control) { return control->isVisible(); }
//     table.RegisterMethod<Joint>("getJointLimitMin", &CJoint::GetMinLimit);
//     table.RegisterMethod<TheGui, Control>("isControlVisible", &CGuiManager::IsElementVisible);

#include "core/script/lua/ScriptArg.h"

#include <lua.hpp>

#include <string_view>
#include <type_traits>

namespace LuaPlus
{

template <typename Lookup> class Resolved
{
public:
    using Object = typename Lookup::Object;

    Resolved() = default;
    explicit Resolved(Object* object) : m_object(object) {}

    Object* Get() const { return m_object; }
    Object* operator->() const { return m_object; }
    Object& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    // As a method's parameter of the object's type.
    operator Object*() const { return m_object; }

private:
    Object* m_object = nullptr;
};

template <typename Lookup, typename = void> struct ResolvedSlots : std::integral_constant<int, 1>
{
};
template <typename Lookup>
struct ResolvedSlots<Lookup, std::void_t<decltype(Lookup::kSlots)>>
    : std::integral_constant<int, Lookup::kSlots>
{
};

template <typename Lookup, typename = void> struct ResolvedSkips : std::false_type
{
};
template <typename Lookup>
struct ResolvedSkips<Lookup, std::void_t<decltype(Lookup::kAbsentSkipsCall)>>
    : std::bool_constant<Lookup::kAbsentSkipsCall>
{
};

template <typename Lookup> struct ScriptArg<Resolved<Lookup>> : ScriptArgHeld<Resolved<Lookup>>
{
    static constexpr int kSlots = ResolvedSlots<Lookup>::value;
    static Resolved<Lookup> Get(lua_State* L, int index)
    {
        return Resolved<Lookup>(Lookup::Resolve(L, index));
    }
    static bool IsAbsent(const Resolved<Lookup>& resolved)
    {
        return ResolvedSkips<Lookup>::value && !resolved;
    }
};

// A narrow text as names are read: a string, or a number as its text; ""
// for anything else. It stays valid while the argument is on the stack.
inline std::string_view ArgumentText(lua_State* L, int index)
{
    size_t size = 0;
    const char* text = lua_isstring(L, index) ? lua_tolstring(L, index, &size) : nullptr;
    return text != nullptr ? std::string_view(text, size) : std::string_view();
}

// The object a text names; a text that names none raises the finder's
// NotFound.
template <typename Finder> struct Named
{
    using Object = typename Finder::Object;
    static Object* Resolve(lua_State* L, int index)
    {
        const std::string_view name = ArgumentText(L, index);
        Object* object = Finder::Find(name);
        if (object == nullptr)
            Finder::NotFound(name);
        return object;
    }
};

// The object a text names, or null: the function decides (a joint's parent
// entity, where none means the world).
template <typename Finder> struct NamedOrNull
{
    using Object = typename Finder::Object;
    static Object* Resolve(lua_State* L, int index) { return Finder::Find(ArgumentText(L, index)); }
};

// The object a text names; for a text that names none the call does not
// run and answers 0, false or nil (a sound name).
template <typename Finder> struct NamedOrAbsent : NamedOrNull<Finder>
{
    static constexpr bool kAbsentSkipsCall = true;
};

// The object a function gives, reading no argument (the GUI manager, an
// engine); the function raises its own error when there is none.
template <typename T, T& (*GetObject)()> struct Current
{
    using Object = T;
    static constexpr int kSlots = 0;
    static T* Resolve(lua_State*, int) { return &GetObject(); }
};

} // namespace LuaPlus
