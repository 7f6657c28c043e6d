#include "script_api/core/PointScript.h"

using namespace ValueMath;

CPoint CPointScript::FromText(const std::string& text)
{
    CPoint value;
    value.FromString(text);
    return value;
}

int CPointScript::Multiply(lua_State* L)
{
    return Guard(L, [L] { return Scale<&ValueMath::Multiply<CPoint>, false>(L, true); });
}

int CPointScript::Divide(lua_State* L)
{
    return Guard(L, [L] { return Scale<&ValueMath::Divide<CPoint>, false>(L, false); });
}

// The dot product.
int CPointScript::Power(lua_State* L)
{
    return Guard(L, [L] {
        const CPoint left = Read(L, 1);
        lua_pushnumber(L, DotProduct(left, Read(L, 2)));
        return 1;
    });
}

void CPointScript::RegisterMethods(CScriptMetaTable& table)
{
    table.RegisterHelper("set", &Set);
    table.RegisterHelper("setFromString", &SetFromString);
    table.RegisterHelper("getX", &GetComponent<0>);
    table.RegisterHelper("getY", &GetComponent<1>);
    table.RegisterHelper("copy", &Copy);
    table.RegisterHelper("add", &InPlace<&Add<CPoint>>);
    table.RegisterHelper("subtract", &InPlace<&Subtract<CPoint>>);
    table.RegisterHelper("multiply", &InPlaceScalar<&ValueMath::Multiply<CPoint>>);
    table.RegisterHelper("divide", &InPlaceScalar<&ValueMath::Divide<CPoint>>);
    table.RegisterHelper("negative", &InPlaceUnary<&Negative<CPoint>>);
    table.RegisterHelper("isZero", &Query<bool, &IsZero<CPoint>>);
    table.RegisterHelper("lessThan", &QueryWith<bool, &LessThan<CPoint>>);
    table.RegisterHelper("lessThanEqual", &QueryWith<bool, &LessThanEqual<CPoint>>);
    table.RegisterHelper("greaterThan", &QueryWith<bool, &GreaterThan<CPoint>>);
    table.RegisterHelper("greaterThanEqual", &QueryWith<bool, &GreaterThanEqual<CPoint>>);
    table.RegisterHelper("equal", &QueryWith<bool, &Equal<CPoint>>);
    table.RegisterHelper("dotProduct", &QueryWith<float, &DotProduct<CPoint>>);
    table.RegisterHelper("getDistanceFrom", &QueryWith<float, &Distance<CPoint>>);
    table.RegisterHelper("getDistanceFromFast", &QueryWith<float, &DistanceFast<CPoint>>);
    table.RegisterHelper("getDistanceSquaredFrom", &QueryWith<float, &DistanceSquared<CPoint>>);
    table.RegisterHelper("getLength", &Query<float, &Length<CPoint>>);
    table.RegisterHelper("getLengthFast", &Query<float, &LengthFast<CPoint>>);
    table.RegisterHelper("getLengthSquared", &Query<float, &LengthSquared<CPoint>>);
    table.RegisterHelper("normalise", &InPlaceUnary<&Normalise<CPoint>>);
    table.RegisterHelper("normaliseFast", &InPlaceUnary<&NormaliseFast<CPoint>>);
    table.RegisterHelper("abs", &InPlaceUnary<&Abs<CPoint>>);

    table.RegisterHelper("__tostring", &ToString);
    table.RegisterHelper("__concat", &ConcatMeta);
    table.RegisterHelper("__add", &Binary<&Add<CPoint>>);
    table.RegisterHelper("__sub", &Binary<&Subtract<CPoint>>);
    table.RegisterHelper("__mul", &Multiply);
    table.RegisterHelper("__div", &Divide);
    table.RegisterHelper("__pow", &Power);
    table.RegisterHelper("__unm", &Unary);
    table.RegisterHelper("__eq", &Compare<&Equal<CPoint>>);
    table.RegisterHelper("__lt", &Compare<&LessThan<CPoint>>);
    table.RegisterHelper("__le", &Compare<&LessThanEqual<CPoint>>);
}
