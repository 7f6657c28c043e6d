#pragma once

// The common machinery of the script value classes (CPointScript,
// CVectorScript, CRectScript, CColorScript). A value object is a full
// userdata holding the tag of its class and the value itself, whose
// metatable is its class table.
//
// Only the engine makes value objects. A userdata is an object of a class
// when its block has the class's size and starts with the class's tag: a
// number drawn when the process starts, written by the engine alone and
// never shown to scripts. Nothing a script does to metatables or globals
// gives another userdata that identity, and checking it costs no more than
// reading the block.
//
// The class tables belong to the engine too: each state keeps its four in
// the registry (registering again refills the same tables, so objects made
// before keep their methods) and publishes them as the globals of the class
// names, for scripts to call and extend; whatever a script stores in those
// globals, new objects get the engine's tables.
//
// Value classes are the one exception to the binding layer of
// ScriptDispatcher.h: their methods and metamethods are plain C closures
// that find `self` themselves (argument 1: an object, or a table whose field
// "__object" holds one) and hold the four class tables as upvalues 1 to 4,
// in EValueClass order, to make new objects; so do the IMisc creators
// (pointCreate, ...: RegisterCreator). Other functions (the IMisc functions
// through the dispatcher, C++ callers) find the tables in the registry.
//
// Scripts pass values either as objects or as text ("1 2 3"); the read
// rule accepts both. Every object is created on the Lua thread that asked
// for it.

#include "core/foundation/KVOError.h"
#include "core/script/lua/CallGuarded.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/ScriptArg.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "script_api/core/ValueMath.h"

#include <lua.hpp>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <type_traits>

namespace ValueScript
{

// The four value classes, in their order of registration.
enum EValueClass
{
    kPointClass,
    kVectorClass,
    kRectClass,
    kColorClass,
    kValueClassCount
};

// "CPointScript", ...
const char* GetClassName(EValueClass valueClass);

// The block of a value object.
template <typename T> struct SValueObject
{
    uint64_t tag;
    T value;
};

// The tags of the classes, drawn at start-up.
extern const uint64_t g_classTags[kValueClassCount];
// Registry keys of the class tables: the addresses of these bytes.
extern char g_classKeys[kValueClassCount];

// The value of the object at the index, or null when the value is not an
// object of the class. (A light userdata has no block length, so its
// pointer is never read.)
template <typename T> T* ToObject(lua_State* L, int index, EValueClass valueClass)
{
    auto* object = static_cast<SValueObject<T>*>(lua_touserdata(L, index));
    if (object == nullptr || lua_objlen(L, index) != sizeof(SValueObject<T>) ||
        object->tag != g_classTags[valueClass])
        return nullptr;
    return &object->value;
}

[[noreturn]] void ThrowUnregistered(EValueClass valueClass);

// Where a function finds the class tables to make objects with: a method (a
// closure made by CClassTable) or a creator (RegisterCreator) holds them as
// upvalues, anything else reads the registry.
struct InMethod
{
    // Pushes the class table.
    static void PushClassTable(lua_State* L, EValueClass valueClass)
    {
        lua_pushvalue(L, lua_upvalueindex(valueClass + 1));
    }
};
struct Anywhere
{
    // Pushes the class table of L's state; throws CKVOError when the class
    // is not registered there.
    static void PushClassTable(lua_State* L, EValueClass valueClass)
    {
        PushRegisteredTable(L, valueClass);
        if (!lua_istable(L, -1))
        {
            lua_pop(L, 1);
            ThrowUnregistered(valueClass);
        }
    }
    // Pushes the registry's class table, or nil.
    static void PushRegisteredTable(lua_State* L, EValueClass valueClass)
    {
        lua_pushlightuserdata(L, &g_classKeys[valueClass]);
        lua_rawget(L, LUA_REGISTRYINDEX);
    }
};

// Pushes a new object of the class holding a copy of the value.
template <class Where, typename T> void PushObject(lua_State* L, EValueClass valueClass, const T& value)
{
    auto* object = static_cast<SValueObject<T>*>(lua_newuserdata(L, sizeof(SValueObject<T>)));
    object->tag = g_classTags[valueClass];
    new (&object->value) T(value);
    Where::PushClassTable(L, valueClass);
    lua_setmetatable(L, -2);
}

// Throws the error for a userdata that is not an object of the class.
[[noreturn]] void ThrowForeignUserData(lua_State* L, int index, EValueClass valueClass);
// The text of a string or number at the index (the value itself is not
// converted); false for any other value.
bool GetText(lua_State* L, int index, std::string& text);

// For a method whose argument 1 is a table: pushes its field "__object"
// above every argument a method reads, where it stays until the method
// returns, so a table that holds it weakly cannot lose it meanwhile. Raises
// the script error for a table without a userdata there.
void PushObjectField(lua_State* L);
// The script error for a method called on anything but an object or a
// table.
[[noreturn]] void RaiseNotAnObject(lua_State* L);

// The object a method is called on when argument 1 is not one.
template <typename T> T* GetSelfFromTable(lua_State* L, EValueClass valueClass)
{
    switch (lua_type(L, 1))
    {
    case LUA_TUSERDATA:
        ThrowForeignUserData(L, 1, valueClass);
    case LUA_TTABLE:
    {
        PushObjectField(L);
        if (T* value = ToObject<T>(L, -1, valueClass))
            return value;
        ThrowForeignUserData(L, -1, valueClass);
    }
    default:
        RaiseNotAnObject(L);
    }
}

// `__concat`: the text form joined with a string, a number or another
// object of the class; nil for anything else. `text` gives the text form of
// the object at an index, or false when it is not an object of the class.
int Concat(lua_State* L, bool (*text)(lua_State* L, int index, std::string& out));

// Pushes the four class tables of L's state in EValueClass order, making
// (and keeping in the registry) the ones not made yet.
void PushClassTables(lua_State* L);

// table[name] = the creator as a closure over the four class tables of the
// table's state, so that it pushes its objects as methods do (InMethod):
// the functions scripts make values with skip the dispatcher's binding and
// the registry lookup. A creator reads its numbers as the dispatcher would
// (ScriptArg<float>) and must raise nothing but Lua's own errors.
void RegisterCreator(CScriptMetaTable& table, const char* name, lua_CFunction creator);

// The class table of one value class while its methods are registered:
// every method becomes a closure over the four class tables of the state
// (made there when missing). Finish seals the table and publishes it as
// the global of the class name.
class CClassTable
{
public:
    CClassTable(LuaPlus::LuaState* state, EValueClass valueClass);
    ~CClassTable();
    CClassTable(const CClassTable&) = delete;
    CClassTable& operator=(const CClassTable&) = delete;

    void RegisterHelper(const char* name, lua_CFunction method);
    void Finish();

private:
    lua_State* m_L;
    EValueClass m_class;
    int m_base; // stack index of the first class table
};

} // namespace ValueScript

// The script class of a value type (ValueScriptOf<CVector>::Type is
// CVectorScript); each class header specialises it.
template <typename T> struct ValueScriptOf
{
};

// The part shared by the four classes. Derived provides kClass and its
// method list (RegisterMethods); it may replace the text rules below.
// Push finds the class table as its Where says (ValueScript::InMethod
// inside methods).
template <typename Derived, typename T> class TValueScript
{
public:
    using Value = T;
    using InMethod = ValueScript::InMethod;
    using Anywhere = ValueScript::Anywhere;

    // A fresh value from text: the components the text does not give are 0.
    static T FromText(const std::string& text)
    {
        T value;
        value.FromString(text);
        return value;
    }
    static std::string ToText(const T& value) { return value.ToString(); }
    // What `set` stores of the components it was given.
    static T Store(const T& value) { return value; }
    // setFromString: components the text does not reach keep their values.
    static void ParseInto(T& value, const std::string& text) { value.FromString(text); }

    TValueScript() = default;
    // The value with the state on which CreateLuaObject makes its object.
    TValueScript(const T& value, LuaPlus::LuaState* state) : m_value(value), m_state(state) {}
    // Reads a script argument by the read rule (see Read).
    explicit TValueScript(const LuaPlus::LuaStackObject& argument)
        : m_value(Read(argument.GetCState(), argument.GetIndex())), m_state(argument.GetState())
    {
    }

    const T& GetValue() const { return m_value; }
    T& GetValue() { return m_value; }
    LuaPlus::LuaState* GetState() const { return m_state; }
    LuaPlus::LuaObject CreateLuaObject() const { return CreateLuaObject(m_state, m_value); }

    // A new object holding a copy of the value.
    static LuaPlus::LuaObject CreateLuaObject(LuaPlus::LuaState* state, const T& value)
    {
        if (!state)
            throw LuaPlus::LuaException(std::string("[") + Derived::GetName() + "] No script state given");
        lua_State* L = state->GetCState();
        LuaPlus::LuaStackRestore restore(L);
        Push(L, value);
        return LuaPlus::LuaObject(L, -1);
    }

    // Pushes a new object holding a copy of the value.
    template <class Where = Anywhere> static void Push(lua_State* L, const T& value)
    {
        ValueScript::PushObject<Where>(L, Derived::kClass, value);
    }

    // The value of the object at the index; null when it is not one.
    static T* ToValue(lua_State* L, int index) { return ValueScript::ToObject<T>(L, index, Derived::kClass); }

    // The read rule for arguments: an object of the class gives its value;
    // a string or number is parsed as the text form (missing components 0);
    // any other value but a userdata gives the zero value. A userdata that
    // is not an object of the class is an error.
    static T Read(lua_State* L, int index)
    {
        // Objects first: operands of arithmetic are objects nearly always.
        if (const T* value = ToValue(L, index))
            return *value;
        return ReadOther(L, index);
    }

    static const char* GetName() { return ValueScript::GetClassName(Derived::kClass); }

    // Fills the class table on the state and publishes it as the global of
    // the class's name.
    static void RegisterClass(LuaPlus::LuaState* state)
    {
        ValueScript::CClassTable table(state, Derived::kClass);
        Derived::RegisterMethods(table);
        table.Finish();
    }

protected:
    using CClassTable = ValueScript::CClassTable;

    // The object a method is called on, kept alive until the method returns.
    static T& This(lua_State* L)
    {
        if (T* self = ToValue(L, 1))
            return *self;
        return *ValueScript::GetSelfFromTable<T>(L, Derived::kClass);
    }

    // Every method and metamethod runs through the boundary guard.
    template <typename Body> static int Guard(lua_State* L, Body&& body)
    {
        return LuaPlus::CallGuarded(L, body);
    }

    static int ReturnThis(lua_State* L)
    {
        lua_pushvalue(L, 1);
        return 1;
    }

    static float FloatArg(lua_State* L, int index) { return static_cast<float>(lua_tonumber(L, index)); }

    // Methods shared by the classes; each class registers the ones it has.

    template <int I> static int GetComponent(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         lua_pushnumber(L, ValueMath::At(This(L), I));
                         return 1;
                     });
    }

    // set(components...): each component through the class's store rule.
    static int Set(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         T& self = This(L);
                         T value = self;
                         for (int i = 0; i < ValueMath::Components<T>::kCount; ++i)
                             ValueMath::At(value, i) = FloatArg(L, i + 2);
                         self = Derived::Store(value);
                         return 0;
                     });
    }

    static int SetFromString(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         T& self = This(L);
                         std::string text;
                         ValueScript::GetText(L, 2, text);
                         Derived::ParseInto(self, text);
                         return 0;
                     });
    }

    static int Copy(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         Push<InMethod>(L, This(L));
                         return 1;
                     });
    }

    // In place with another value: add, subtract.
    template <T (*Operation)(const T&, const T&)> static int InPlace(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         T& self = This(L);
                         self = Operation(self, Read(L, 2));
                         return ReturnThis(L);
                     });
    }

    // In place with a number: multiply, divide.
    template <T (*Operation)(const T&, float)> static int InPlaceScalar(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         T& self = This(L);
                         self = Operation(self, FloatArg(L, 2));
                         return ReturnThis(L);
                     });
    }

    // In place on the value alone: negative, abs, normalise.
    template <T (*Operation)(const T&)> static int InPlaceUnary(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         T& self = This(L);
                         self = Operation(self);
                         return ReturnThis(L);
                     });
    }

    // A test or measure of the value alone: isZero, getLength.
    template <typename R, R (*Function)(const T&)> static int Query(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         LuaPlus::PushValue(L, Function(This(L)));
                         return 1;
                     });
    }

    // A test or measure against another value: equal, dotProduct.
    template <typename R, R (*Function)(const T&, const T&)> static int QueryWith(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         const T& self = This(L);
                         LuaPlus::PushValue(L, Function(self, Read(L, 2)));
                         return 1;
                     });
    }

    // Metamethods. Their operands follow the read rule.

    static bool TextOf(lua_State* L, int index, std::string& text)
    {
        const T* value = ToValue(L, index);
        if (!value)
            return false;
        text = Derived::ToText(*value);
        return true;
    }

    static int ToString(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         const std::string text = Derived::ToText(Read(L, 1));
                         lua_pushlstring(L, text.data(), text.size());
                         return 1;
                     });
    }

    static int ConcatMeta(lua_State* L)
    {
        return Guard(L, [L] { return ValueScript::Concat(L, &TextOf); });
    }

    // A new object from both operands: __add, __sub.
    template <T (*Operation)(const T&, const T&)> static int Binary(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         const T left = Read(L, 1);
                         Push<InMethod>(L, Operation(left, Read(L, 2)));
                         return 1;
                     });
    }

    static int Unary(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         Push<InMethod>(L, ValueMath::Negative(Read(L, 1)));
                         return 1;
                     });
    }

    // A comparison of both operands: __eq, __lt, __le.
    template <bool (*Function)(const T&, const T&)> static int Compare(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         const T left = Read(L, 1);
                         lua_pushboolean(L, Function(left, Read(L, 2)) ? 1 : 0);
                         return 1;
                     });
    }

    // `*` by a number, on either side. ReadAnyAsNumber: another operand
    // reads as a number (0 for a non-number); otherwise it gives nil.
    template <bool ReadAnyAsNumber> static int MultiplyMeta(lua_State* L)
    {
        return Guard(L, [L] { return Scale<&ValueMath::Multiply<T>, ReadAnyAsNumber>(L, true); });
    }

    // `/` by a number; the object must be on the left.
    template <bool ReadAnyAsNumber> static int DivideMeta(lua_State* L)
    {
        return Guard(L, [L] { return Scale<&ValueMath::Divide<T>, ReadAnyAsNumber>(L, false); });
    }

    // `^`: the dot product.
    static int DotMeta(lua_State* L)
    {
        return Guard(L,
                     [L]
                     {
                         const T left = Read(L, 1);
                         lua_pushnumber(L, ValueMath::DotProduct(left, Read(L, 2)));
                         return 1;
                     });
    }

    // copy, add, subtract, multiply, divide, negative: the same in every class.
    static void RegisterArithmetic(CClassTable& table)
    {
        table.RegisterHelper("copy", &Copy);
        table.RegisterHelper("add", &InPlace<&ValueMath::Add<T>>);
        table.RegisterHelper("subtract", &InPlace<&ValueMath::Subtract<T>>);
        table.RegisterHelper("multiply", &InPlaceScalar<&ValueMath::Multiply<T>>);
        table.RegisterHelper("divide", &InPlaceScalar<&ValueMath::Divide<T>>);
        table.RegisterHelper("negative", &InPlaceUnary<&ValueMath::Negative<T>>);
    }

    // The component-wise order and equality of points and vectors.
    static void RegisterComparisons(CClassTable& table)
    {
        table.RegisterHelper("lessThan", &QueryWith<bool, &ValueMath::LessThan<T>>);
        table.RegisterHelper("lessThanEqual", &QueryWith<bool, &ValueMath::LessThanEqual<T>>);
        table.RegisterHelper("greaterThan", &QueryWith<bool, &ValueMath::GreaterThan<T>>);
        table.RegisterHelper("greaterThanEqual", &QueryWith<bool, &ValueMath::GreaterThanEqual<T>>);
        table.RegisterHelper("equal", &QueryWith<bool, &ValueMath::Equal<T>>);
    }

    // Products, distances, lengths and normalising of points and vectors.
    static void RegisterMeasures(CClassTable& table)
    {
        table.RegisterHelper("dotProduct", &QueryWith<float, &ValueMath::DotProduct<T>>);
        table.RegisterHelper("getDistanceFrom", &QueryWith<float, &ValueMath::Distance<T>>);
        table.RegisterHelper("getDistanceFromFast", &QueryWith<float, &ValueMath::DistanceFast<T>>);
        table.RegisterHelper("getDistanceSquaredFrom", &QueryWith<float, &ValueMath::DistanceSquared<T>>);
        table.RegisterHelper("getLength", &Query<float, &ValueMath::Length<T>>);
        table.RegisterHelper("getLengthFast", &Query<float, &ValueMath::LengthFast<T>>);
        table.RegisterHelper("getLengthSquared", &Query<float, &ValueMath::LengthSquared<T>>);
        table.RegisterHelper("normalise", &InPlaceUnary<&ValueMath::Normalise<T>>);
        table.RegisterHelper("normaliseFast", &InPlaceUnary<&ValueMath::NormaliseFast<T>>);
    }

    // The metamethods in their order; a class without `^`, `<` or `<=`
    // passes null for them.
    static void RegisterMetamethods(CClassTable& table, lua_CFunction multiply, lua_CFunction divide,
                                    lua_CFunction power, lua_CFunction equal, lua_CFunction less,
                                    lua_CFunction lessEqual)
    {
        table.RegisterHelper("__tostring", &ToString);
        table.RegisterHelper("__concat", &ConcatMeta);
        table.RegisterHelper("__add", &Binary<&ValueMath::Add<T>>);
        table.RegisterHelper("__sub", &Binary<&ValueMath::Subtract<T>>);
        table.RegisterHelper("__mul", multiply);
        table.RegisterHelper("__div", divide);
        if (power)
            table.RegisterHelper("__pow", power);
        table.RegisterHelper("__unm", &Unary);
        table.RegisterHelper("__eq", equal);
        if (less)
            table.RegisterHelper("__lt", less);
        if (lessEqual)
            table.RegisterHelper("__le", lessEqual);
    }

private:
    // The read rule for anything but an object of the class.
    static T ReadOther(lua_State* L, int index)
    {
        const int type = lua_type(L, index);
        if (type == LUA_TUSERDATA)
            ValueScript::ThrowForeignUserData(L, index, Derived::kClass);
        if (type == LUA_TSTRING)
        {
            size_t size = 0;
            const char* text = lua_tolstring(L, index, &size);
            return ReadText(text, size);
        }
        std::string text;
        if (ValueScript::GetText(L, index, text))
            return Derived::FromText(text);
        return T();
    }

    // A string argument, read in place (the text up to its first NUL, as a
    // copy would give). Scripts hand the same texts again and again (a
    // HUD's rectangles every frame): the value of each of a few recent
    // texts is kept, by the string's address and checked by its content.
    static T ReadText(const char* text, size_t size)
    {
        struct SRecent
        {
            const char* text = nullptr;
            size_t size = 0;
            char copy[kRecentTextSize] = {};
            T value{};
        };
        static thread_local SRecent recent[kRecentTexts];
        SRecent& entry = recent[(reinterpret_cast<uintptr_t>(text) >> 4) % kRecentTexts];
        if (entry.text == text && entry.size == size && std::memcmp(entry.copy, text, size) == 0)
            return entry.value;
        T value;
        value.FromCString(text);
        if (size <= kRecentTextSize)
        {
            entry.text = text;
            entry.size = size;
            std::memcpy(entry.copy, text, size);
            entry.value = value;
        }
        return value;
    }
    static constexpr size_t kRecentTexts = 64;
    static constexpr size_t kRecentTextSize = 48;

    // `*` and `/` by a number, inside a guarded metamethod. numberMayLead:
    // the number may be the left operand.
    template <T (*Operation)(const T&, float), bool ReadAnyAsNumber>
    static int Scale(lua_State* L, bool numberMayLead)
    {
        int object = 1;
        int scalar = 2;
        if (!ToValue(L, 1))
        {
            if (!numberMayLead)
                throw Misc::Error::CKVOError::Format(
                    L"[%S] The left operand of the division must be a %S value"_fmt, GetName(), GetName());
            object = 2;
            scalar = 1;
        }
        if (!ReadAnyAsNumber && lua_type(L, scalar) != LUA_TNUMBER)
        {
            lua_pushnil(L);
            return 1;
        }
        const T value = Read(L, object);
        Push<InMethod>(L, Operation(value, FloatArg(L, scalar)));
        return 1;
    }

    T m_value{};
    LuaPlus::LuaState* m_state = nullptr;
};

namespace LuaPlus
{
// Engine functions take value types as parameters by the read rule...
template <typename T> struct ScriptArg<T, std::void_t<typename ValueScriptOf<T>::Type>> : ScriptArgHeld<T>
{
    static T Get(lua_State* L, int index) { return ValueScriptOf<T>::Type::Read(L, index); }
};
} // namespace LuaPlus

// ...and return them as new objects. Found by argument-dependent lookup from
// the dispatcher and LuaFunction.
template <typename T, typename Script = typename ValueScriptOf<T>::Type>
void PushValue(lua_State* L, const T& value)
{
    Script::Push(L, value);
}

// A value or nothing: an object, or nil.
template <typename T, typename Script = typename ValueScriptOf<T>::Type>
void PushValue(lua_State* L, const std::optional<T>& value)
{
    if (value)
        Script::Push(L, *value);
    else
        lua_pushnil(L);
}
