#include "script_api/core/VectorScript.h"

using namespace ValueMath;

CVector CVectorScript::FromText(const std::string& text)
{
    CVector value;
    value.FromString(text);
    return value;
}

// A new vector: the object x other.
int CVectorScript::CrossProduct(lua_State* L)
{
    return Guard(L, [L] {
        const CVector& self = This(L);
        Push(L, ValueMath::CrossProduct(self, Read(L, 2)));
        return 1;
    });
}

// By a number: scaled; by a vector: the cross product left x right.
int CVectorScript::Multiply(lua_State* L)
{
    return Guard(L, [L] {
        if (const CVector* left = ToValue(L, 1))
        {
            if (const CVector* right = ToValue(L, 2))
            {
                Push(L, ValueMath::CrossProduct(*left, *right));
                return 1;
            }
        }
        return Scale<&ValueMath::Multiply<CVector>, false>(L, true);
    });
}

int CVectorScript::Divide(lua_State* L)
{
    return Guard(L, [L] { return Scale<&ValueMath::Divide<CVector>, true>(L, false); });
}

// The dot product.
int CVectorScript::Power(lua_State* L)
{
    return Guard(L, [L] {
        const CVector left = Read(L, 1);
        lua_pushnumber(L, DotProduct(left, Read(L, 2)));
        return 1;
    });
}

void CVectorScript::RegisterMethods(CScriptMetaTable& table)
{
    table.RegisterHelper("copy", &Copy);
    table.RegisterHelper("add", &InPlace<&Add<CVector>>);
    table.RegisterHelper("subtract", &InPlace<&Subtract<CVector>>);
    table.RegisterHelper("multiply", &InPlaceScalar<&ValueMath::Multiply<CVector>>);
    table.RegisterHelper("divide", &InPlaceScalar<&ValueMath::Divide<CVector>>);
    table.RegisterHelper("negative", &InPlaceUnary<&Negative<CVector>>);
    table.RegisterHelper("isZero", &Query<bool, &IsZero<CVector>>);
    table.RegisterHelper("lessThan", &QueryWith<bool, &LessThan<CVector>>);
    table.RegisterHelper("lessThanEqual", &QueryWith<bool, &LessThanEqual<CVector>>);
    table.RegisterHelper("greaterThan", &QueryWith<bool, &GreaterThan<CVector>>);
    table.RegisterHelper("greaterThanEqual", &QueryWith<bool, &GreaterThanEqual<CVector>>);
    table.RegisterHelper("equal", &QueryWith<bool, &Equal<CVector>>);
    table.RegisterHelper("crossProduct", &CrossProduct);
    table.RegisterHelper("dotProduct", &QueryWith<float, &DotProduct<CVector>>);
    table.RegisterHelper("getDistanceFrom", &QueryWith<float, &Distance<CVector>>);
    table.RegisterHelper("getDistanceFromFast", &QueryWith<float, &DistanceFast<CVector>>);
    table.RegisterHelper("getDistanceSquaredFrom", &QueryWith<float, &DistanceSquared<CVector>>);
    table.RegisterHelper("getLength", &Query<float, &Length<CVector>>);
    table.RegisterHelper("getLengthFast", &Query<float, &LengthFast<CVector>>);
    table.RegisterHelper("getLengthSquared", &Query<float, &LengthSquared<CVector>>);
    table.RegisterHelper("normalise", &InPlaceUnary<&Normalise<CVector>>);
    table.RegisterHelper("normaliseFast", &InPlaceUnary<&NormaliseFast<CVector>>);
    table.RegisterHelper("getMax", &Query<float, &Max>);
    table.RegisterHelper("getMaxAbs", &Query<float, &MaxAbs>);
    table.RegisterHelper("getMin", &Query<float, &Min>);
    table.RegisterHelper("getMinAbs", &Query<float, &MinAbs>);
    table.RegisterHelper("getX", &GetComponent<0>);
    table.RegisterHelper("getY", &GetComponent<1>);
    table.RegisterHelper("getZ", &GetComponent<2>);
    table.RegisterHelper("set", &Set);
    table.RegisterHelper("setFromString", &SetFromString);

    table.RegisterHelper("__tostring", &ToString);
    table.RegisterHelper("__concat", &ConcatMeta);
    table.RegisterHelper("__add", &Binary<&Add<CVector>>);
    table.RegisterHelper("__sub", &Binary<&Subtract<CVector>>);
    table.RegisterHelper("__mul", &Multiply);
    table.RegisterHelper("__div", &Divide);
    table.RegisterHelper("__pow", &Power);
    table.RegisterHelper("__unm", &Unary);
    table.RegisterHelper("__eq", &Compare<&Equal<CVector>>);
    table.RegisterHelper("__lt", &Compare<&LessThan<CVector>>);
    table.RegisterHelper("__le", &Compare<&LessThanEqual<CVector>>);
}
