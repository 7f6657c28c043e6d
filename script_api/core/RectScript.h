#pragma once

#include "core/foundation/Rect.h"
#include "script_api/core/ValueScript.h"

// The script rectangle: the upper-left corner (x1, y1) and the lower-right
// corner (x2, y2), with its text form "x1 y1 x2 y2". Its order compares the
// upper-left corners only.
class CRectScript : public TValueScript<CRectScript, CRect>
{
public:
    using TValueScript::TValueScript;

    static constexpr ValueScript::EValueClass kClass = ValueScript::kRectClass;

    // A fresh rectangle from text: missing components 0.
    static CRect FromText(const std::string& text);
    static std::string ToText(const CRect& value) { return value.ToString(); }
    static CRect Store(const CRect& value) { return value; }
    // setFromString: components the text does not reach keep their values.
    static void ParseInto(CRect& value, const std::string& text) { value.FromString(text); }

    static void RegisterMethods(CScriptMetaTable& table);

private:
    template <int X, int Y>
    static int GetCorner(lua_State* L);
    static int IsPointInside(lua_State* L);
    static int Multiply(lua_State* L);
    static int Divide(lua_State* L);
};

namespace LuaPlus
{
// Engine functions take and return rectangles directly.
template <>
struct ScriptArg<CRect> : ScriptArgHeld<CRect>
{
    static CRect Get(lua_State* L, int index) { return CRectScript::Read(L, index); }
};
} // namespace LuaPlus

// Found by argument-dependent lookup from the dispatcher and LuaFunction.
inline void PushValue(lua_State* L, const CRect& value)
{
    CRectScript::Push(L, value);
}
