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

    static void RegisterMethods(CClassTable& table);

private:
    template <int X, int Y> static int GetCorner(lua_State* L);
    static int IsPointInside(lua_State* L);
};

template <> struct ValueScriptOf<CRect>
{
    using Type = CRectScript;
};
