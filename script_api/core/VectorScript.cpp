#include "script_api/core/VectorScript.h"

using namespace ValueMath;

// A new vector: the object x other.
int CVectorScript::CrossProduct(lua_State* L)
{
    return Guard(L,
                 [L]
                 {
                     const CVector& self = This(L);
                     Push<InMethod>(L, ValueMath::CrossProduct(self, Read(L, 2)));
                     return 1;
                 });
}

// By a vector: the cross product left x right; otherwise as for points.
int CVectorScript::Multiply(lua_State* L)
{
    const CVector* left = ToValue(L, 1);
    const CVector* right = left ? ToValue(L, 2) : nullptr;
    if (!right)
        return MultiplyMeta<false>(L);
    return Guard(L,
                 [L, left, right]
                 {
                     Push<InMethod>(L, ValueMath::CrossProduct(*left, *right));
                     return 1;
                 });
}

void CVectorScript::RegisterMethods(CClassTable& table)
{
    RegisterArithmetic(table);
    table.RegisterHelper("isZero", &Query<bool, &IsZero<CVector>>);
    RegisterComparisons(table);
    table.RegisterHelper("crossProduct", &CrossProduct);
    RegisterMeasures(table);
    table.RegisterHelper("getMax", &Query<float, &Max>);
    table.RegisterHelper("getMaxAbs", &Query<float, &MaxAbs>);
    table.RegisterHelper("getMin", &Query<float, &Min>);
    table.RegisterHelper("getMinAbs", &Query<float, &MinAbs>);
    table.RegisterHelper("getX", &GetComponent<0>);
    table.RegisterHelper("getY", &GetComponent<1>);
    table.RegisterHelper("getZ", &GetComponent<2>);
    table.RegisterHelper("set", &Set);
    table.RegisterHelper("setFromString", &SetFromString);

    RegisterMetamethods(table, &Multiply, &DivideMeta<true>, &DotMeta, &Compare<&Equal<CVector>>,
                        &Compare<&LessThan<CVector>>, &Compare<&LessThanEqual<CVector>>);
}
