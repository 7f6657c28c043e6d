#include "script_api/core/ColorScript.h"

using namespace ValueMath;

namespace
{

bool ColorIsZero(const CColor& color)
{
    return color.IsZero();
}

} // namespace

CColor CColorScript::FromText(const std::string& text)
{
    CColor value;
    value.FromString(text);
    return value;
}

int CColorScript::Multiply(lua_State* L)
{
    return Guard(L, [L] { return Scale<&ValueMath::Multiply<CColor>, true>(L, true); });
}

int CColorScript::Divide(lua_State* L)
{
    return Guard(L, [L] { return Scale<&ValueMath::Divide<CColor>, true>(L, false); });
}

void CColorScript::RegisterMethods(CScriptMetaTable& table)
{
    table.RegisterHelper("set", &Set);
    table.RegisterHelper("setFromString", &SetFromString);
    table.RegisterHelper("getRed", &GetComponent<0>);
    table.RegisterHelper("getGreen", &GetComponent<1>);
    table.RegisterHelper("getBlue", &GetComponent<2>);
    table.RegisterHelper("getAlpha", &GetComponent<3>);
    table.RegisterHelper("copy", &Copy);
    table.RegisterHelper("add", &InPlace<&Add<CColor>>);
    table.RegisterHelper("subtract", &InPlace<&Subtract<CColor>>);
    table.RegisterHelper("multiply", &InPlaceScalar<&ValueMath::Multiply<CColor>>);
    table.RegisterHelper("divide", &InPlaceScalar<&ValueMath::Divide<CColor>>);
    table.RegisterHelper("negative", &InPlaceUnary<&Negative<CColor>>);
    table.RegisterHelper("isZero", &Query<bool, &ColorIsZero>);
    table.RegisterHelper("equal", &QueryWith<bool, &ColorEqual>);

    table.RegisterHelper("__tostring", &ToString);
    table.RegisterHelper("__concat", &ConcatMeta);
    table.RegisterHelper("__add", &Binary<&Add<CColor>>);
    table.RegisterHelper("__sub", &Binary<&Subtract<CColor>>);
    table.RegisterHelper("__mul", &Multiply);
    table.RegisterHelper("__div", &Divide);
    table.RegisterHelper("__unm", &Unary);
    table.RegisterHelper("__eq", &Compare<&ColorEqual>);
}
