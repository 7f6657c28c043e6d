#include "script_api/core/RectScript.h"

#include "script_api/core/PointScript.h"

using namespace ValueMath;

CRect CRectScript::FromText(const std::string& text)
{
    CRect value;
    value.FromString(text);
    return value;
}

// A new point from the components X and Y (indices of x1, y1, x2, y2).
template <int X, int Y>
int CRectScript::GetCorner(lua_State* L)
{
    return Guard(L, [L] {
        const CRect& self = This(L);
        CPointScript::Push(L, CPoint(At(self, X), At(self, Y)));
        return 1;
    });
}

int CRectScript::IsPointInside(lua_State* L)
{
    return Guard(L, [L] {
        const CRect& self = This(L);
        lua_pushboolean(L, RectIsPointInside(self, CPointScript::Read(L, 2)) ? 1 : 0);
        return 1;
    });
}

int CRectScript::Multiply(lua_State* L)
{
    return Guard(L, [L] { return Scale<&ValueMath::Multiply<CRect>, true>(L, true); });
}

int CRectScript::Divide(lua_State* L)
{
    return Guard(L, [L] { return Scale<&ValueMath::Divide<CRect>, true>(L, false); });
}

void CRectScript::RegisterMethods(CScriptMetaTable& table)
{
    table.RegisterHelper("set", &Set);
    table.RegisterHelper("setFromString", &SetFromString);
    table.RegisterHelper("getX1", &GetComponent<0>);
    table.RegisterHelper("getY1", &GetComponent<1>);
    table.RegisterHelper("getX2", &GetComponent<2>);
    table.RegisterHelper("getY2", &GetComponent<3>);
    table.RegisterHelper("getUpperLeftPoint", &GetCorner<0, 1>);
    table.RegisterHelper("getUpperRightPoint", &GetCorner<2, 1>);
    table.RegisterHelper("getLowerLeftPoint", &GetCorner<0, 3>);
    table.RegisterHelper("getLowerRightPoint", &GetCorner<2, 3>);
    table.RegisterHelper("getWidth", &Query<float, &RectWidth>);
    table.RegisterHelper("getHeight", &Query<float, &RectHeight>);
    table.RegisterHelper("copy", &Copy);
    table.RegisterHelper("add", &InPlace<&Add<CRect>>);
    table.RegisterHelper("subtract", &InPlace<&Subtract<CRect>>);
    table.RegisterHelper("multiply", &InPlaceScalar<&ValueMath::Multiply<CRect>>);
    table.RegisterHelper("divide", &InPlaceScalar<&ValueMath::Divide<CRect>>);
    table.RegisterHelper("negative", &InPlaceUnary<&Negative<CRect>>);
    table.RegisterHelper("isZero", &Query<bool, &IsZero<CRect>>);
    table.RegisterHelper("intersect", &QueryWith<bool, &RectIntersect>);
    table.RegisterHelper("lessThan", &QueryWith<bool, &RectLessThan>);
    table.RegisterHelper("greaterThan", &QueryWith<bool, &RectGreaterThanUpperLeft>);
    table.RegisterHelper("lessThanEqual", &QueryWith<bool, &RectLessThanEqual>);
    table.RegisterHelper("greaterThanEqual", &QueryWith<bool, &RectGreaterThanEqualUpperLeft>);
    table.RegisterHelper("equal", &QueryWith<bool, &Equal<CRect>>);
    table.RegisterHelper("isPointInside", &IsPointInside);
    table.RegisterHelper("abs", &InPlaceUnary<&Abs<CRect>>);

    table.RegisterHelper("__tostring", &ToString);
    table.RegisterHelper("__concat", &ConcatMeta);
    table.RegisterHelper("__add", &Binary<&Add<CRect>>);
    table.RegisterHelper("__sub", &Binary<&Subtract<CRect>>);
    table.RegisterHelper("__mul", &Multiply);
    table.RegisterHelper("__div", &Divide);
    table.RegisterHelper("__unm", &Unary);
    table.RegisterHelper("__eq", &Compare<&Equal<CRect>>);
    table.RegisterHelper("__lt", &Compare<&RectLessThan>);
    table.RegisterHelper("__le", &Compare<&RectLessThanEqual>);
}
