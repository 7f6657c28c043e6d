#pragma once

#include "core/foundation/Color.h"
#include "script_api/core/ValueScript.h"

// The script colour: red, green, blue, alpha, with its text form
// "r g b a" (two decimals). Values set from scripts pass the colour
// component rule (byte values above 1 become fractions); arithmetic on the
// object does not.
class CColorScript : public TValueScript<CColorScript, CColor>
{
public:
    using TValueScript::TValueScript;

    static constexpr ValueScript::EValueClass kClass = ValueScript::kColorClass;

    // set: each component through the component rule. (setFromString needs
    // no rule of its own: reading a colour from text always starts from 0.)
    static CColor Store(const CColor& value) { return CColor(value.r, value.g, value.b, value.a); }

    static void RegisterMethods(CClassTable& table);
};

template <> struct ValueScriptOf<CColor>
{
    using Type = CColorScript;
};
