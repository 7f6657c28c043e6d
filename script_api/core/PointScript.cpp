#include "script_api/core/PointScript.h"

using namespace ValueMath;

void CPointScript::RegisterMethods(CClassTable& table)
{
    table.RegisterHelper("set", &Set);
    table.RegisterHelper("setFromString", &SetFromString);
    table.RegisterHelper("getX", &GetComponent<0>);
    table.RegisterHelper("getY", &GetComponent<1>);
    RegisterArithmetic(table);
    table.RegisterHelper("isZero", &Query<bool, &IsZero<CPoint>>);
    RegisterComparisons(table);
    RegisterMeasures(table);
    table.RegisterHelper("abs", &InPlaceUnary<&Abs<CPoint>>);

    RegisterMetamethods(table, &MultiplyMeta<false>, &DivideMeta<false>, &DotMeta, &Compare<&Equal<CPoint>>,
                        &Compare<&LessThan<CPoint>>, &Compare<&LessThanEqual<CPoint>>);
}
