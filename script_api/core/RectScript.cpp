#include "script_api/core/RectScript.h"

#include "script_api/core/PointScript.h"

using namespace ValueMath;

// A new point from the components X and Y (indices of x1, y1, x2, y2).
template <int X, int Y> int CRectScript::GetCorner(lua_State* L)
{
    return Guard(L,
                 [L]
                 {
                     const CRect& self = This(L);
                     CPointScript::Push<InMethod>(L, CPoint(At(self, X), At(self, Y)));
                     return 1;
                 });
}

int CRectScript::IsPointInside(lua_State* L)
{
    return Guard(L,
                 [L]
                 {
                     const CRect& self = This(L);
                     lua_pushboolean(L, RectIsPointInside(self, CPointScript::Read(L, 2)) ? 1 : 0);
                     return 1;
                 });
}

void CRectScript::RegisterMethods(CClassTable& table)
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
    RegisterArithmetic(table);
    table.RegisterHelper("isZero", &Query<bool, &IsZero<CRect>>);
    table.RegisterHelper("intersect", &QueryWith<bool, &RectIntersect>);
    table.RegisterHelper("lessThan", &QueryWith<bool, &RectLessThan>);
    table.RegisterHelper("greaterThan", &QueryWith<bool, &RectGreaterThanUpperLeft>);
    table.RegisterHelper("lessThanEqual", &QueryWith<bool, &RectLessThanEqual>);
    table.RegisterHelper("greaterThanEqual", &QueryWith<bool, &RectGreaterThanEqualUpperLeft>);
    table.RegisterHelper("equal", &QueryWith<bool, &Equal<CRect>>);
    table.RegisterHelper("isPointInside", &IsPointInside);
    table.RegisterHelper("abs", &InPlaceUnary<&Abs<CRect>>);

    RegisterMetamethods(table, &MultiplyMeta<true>, &DivideMeta<true>, nullptr, &Compare<&Equal<CRect>>,
                        &Compare<&RectLessThan>, &Compare<&RectLessThanEqual>);
}
