#pragma once

#include "core/foundation/Vector.h"
#include "script_api/core/ValueScript.h"

// The script vector: x, y, z, with its text form "x y z".
class CVectorScript : public TValueScript<CVectorScript, CVector>
{
public:
    using TValueScript::TValueScript;

    static constexpr ValueScript::EValueClass kClass = ValueScript::kVectorClass;

    static void RegisterMethods(CClassTable& table);

private:
    static int CrossProduct(lua_State* L);
    static int Multiply(lua_State* L);
};

template <> struct ValueScriptOf<CVector>
{
    using Type = CVectorScript;
};
