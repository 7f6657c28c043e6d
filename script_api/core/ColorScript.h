#pragma once

#include "core/foundation/Color.h"
#include "script_api/core/ValueScript.h"

// The script colour: red, green, blue, alpha, with its text form
// "r g b a" (two decimals). Values set from scripts pass the colour
// component rule (byte values above 1 become fractions); arithmetic on the
// object does not.
class CColorScript : public TValueScript<CColorScript, CColor>
{
public:
    using TValueScript::TValueScript;

    static constexpr ValueScript::EValueClass kClass = ValueScript::kColorClass;

    // A colour from text through the component rule: missing components 0.
    static CColor FromText(const std::string& text);
    static std::string ToText(const CColor& value) { return value.ToString(); }
    static CColor Store(const CColor& value) { return CColor(value.r, value.g, value.b, value.a); }
    static void ParseInto(CColor& value, const std::string& text) { value.FromString(text); }

    static void RegisterMethods(CScriptMetaTable& table);

private:
    static int Multiply(lua_State* L);
    static int Divide(lua_State* L);
};

namespace LuaPlus
{
// Engine functions take and return colours directly.
template <>
struct ScriptArg<CColor> : ScriptArgHeld<CColor>
{
    static CColor Get(lua_State* L, int index) { return CColorScript::Read(L, index); }
};
} // namespace LuaPlus

// Found by argument-dependent lookup from the dispatcher and LuaFunction.
inline void PushValue(lua_State* L, const CColor& value)
{
    CColorScript::Push(L, value);
}
