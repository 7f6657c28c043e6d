#pragma once

#include "core/foundation/Point.h"
#include "script_api/core/ValueScript.h"

// The script point: x, y, with its text form "x y".
class CPointScript : public TValueScript<CPointScript, CPoint>
{
public:
    using TValueScript::TValueScript;

    static constexpr ValueScript::EValueClass kClass = ValueScript::kPointClass;

    // A fresh point from text: missing components 0.
    static CPoint FromText(const std::string& text);
    static std::string ToText(const CPoint& value) { return value.ToString(); }
    static CPoint Store(const CPoint& value) { return value; }
    // setFromString: components the text does not reach keep their values.
    static void ParseInto(CPoint& value, const std::string& text) { value.FromString(text); }

    static void RegisterMethods(CScriptMetaTable& table);

private:
    static int Multiply(lua_State* L);
    static int Divide(lua_State* L);
    static int Power(lua_State* L);
};

namespace LuaPlus
{
// Engine functions take and return points directly.
template <>
struct ScriptArg<CPoint> : ScriptArgHeld<CPoint>
{
    static CPoint Get(lua_State* L, int index) { return CPointScript::Read(L, index); }
};
} // namespace LuaPlus

// Found by argument-dependent lookup from the dispatcher and LuaFunction.
inline void PushValue(lua_State* L, const CPoint& value)
{
    CPointScript::Push(L, value);
}
