#pragma once

#include "core/foundation/Point.h"
#include "script_api/core/ValueScript.h"

// The script point: x, y, with its text form "x y".
class CPointScript : public TValueScript<CPointScript, CPoint>
{
public:
    using TValueScript::TValueScript;

    static constexpr ValueScript::EValueClass kClass = ValueScript::kPointClass;

    static void RegisterMethods(CClassTable& table);
};

template <> struct ValueScriptOf<CPoint>
{
    using Type = CPointScript;
};
