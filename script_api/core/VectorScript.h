#pragma once

#include "core/foundation/Vector.h"
#include "script_api/core/ValueScript.h"

// The script vector: x, y, z, with its text form "x y z".
class CVectorScript : public TValueScript<CVectorScript, CVector>
{
public:
    using TValueScript::TValueScript;

    static constexpr ValueScript::EValueClass kClass = ValueScript::kVectorClass;

    // A fresh vector from text: missing components 0.
    static CVector FromText(const std::string& text);
    static std::string ToText(const CVector& value) { return value.ToString(); }
    static CVector Store(const CVector& value) { return value; }
    // setFromString: components the text does not reach keep their values.
    static void ParseInto(CVector& value, const std::string& text) { value.FromString(text); }

    static void RegisterMethods(CScriptMetaTable& table);

private:
    static int CrossProduct(lua_State* L);
    static int Multiply(lua_State* L);
    static int Divide(lua_State* L);
    static int Power(lua_State* L);
};

namespace LuaPlus
{
// Engine functions take and return vectors directly.
template <>
struct ScriptArg<CVector> : ScriptArgHeld<CVector>
{
    static CVector Get(lua_State* L, int index) { return CVectorScript::Read(L, index); }
};
} // namespace LuaPlus

// Found by argument-dependent lookup from the dispatcher and LuaFunction.
inline void PushValue(lua_State* L, const CVector& value)
{
    CVectorScript::Push(L, value);
}
