#include "script_api/core/ColorScript.h"

using namespace ValueMath;

namespace
{

bool ColorIsZero(const CColor& color)
{
    return color.IsZero();
}

} // namespace

void CColorScript::RegisterMethods(CClassTable& table)
{
    table.RegisterHelper("set", &Set);
    table.RegisterHelper("setFromString", &SetFromString);
    table.RegisterHelper("getRed", &GetComponent<0>);
    table.RegisterHelper("getGreen", &GetComponent<1>);
    table.RegisterHelper("getBlue", &GetComponent<2>);
    table.RegisterHelper("getAlpha", &GetComponent<3>);
    RegisterArithmetic(table);
    table.RegisterHelper("isZero", &Query<bool, &ColorIsZero>);
    table.RegisterHelper("equal", &QueryWith<bool, &ColorEqual>);

    RegisterMetamethods(table, &MultiplyMeta<true>, &DivideMeta<true>, nullptr, &Compare<&ColorEqual>,
                        nullptr, nullptr);
}
