// IMisc functions on points, vectors, rectangles and colours. Each returns
// a new value (or a number or flag) and leaves its arguments unchanged;
// missing or mistyped arguments read as zero values.

#include "script_api/core/ColorScript.h"
#include "script_api/core/IMiscFunctions.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/VectorScript.h"

#include <string>

using LuaPlus::LuaState;
using namespace ValueMath;

namespace
{

// Adapters from the value arithmetic to engine functions.

template <typename Script> typename Script::Value CreateFromString(LuaState*, const std::string& text)
{
    return Script::FromText(text);
}

template <typename T, T (*F)(const T&, const T&)> T Combine(LuaState*, const T& a, const T& b)
{
    return F(a, b);
}

template <typename T, T (*F)(const T&, float)> T Scaled(LuaState*, const T& a, float s)
{
    return F(a, s);
}

template <typename T, T (*F)(const T&)> T Changed(LuaState*, const T& a)
{
    return F(a);
}

template <typename R, typename T, R (*F)(const T&)> R Measure(LuaState*, const T& a)
{
    return F(a);
}

template <typename R, typename T, R (*F)(const T&, const T&)> R Relate(LuaState*, const T& a, const T& b)
{
    return F(a, b);
}

template <typename T, int I> float Component(LuaState*, const T& a)
{
    return At(a, I);
}

// The creators: scripts make most of their values with them, so they are
// closures over the class tables (ValueScript::RegisterCreator) instead of
// dispatched engine functions. Each component reads as a float parameter of
// an engine function does: a number or a numeric string, otherwise 0.

float Number(lua_State* L, int index)
{
    return LuaPlus::ScriptArg<float>::Get(L, index);
}

template <typename T> int Created(lua_State* L, const T& value)
{
    ValueScriptOf<T>::Type::template Push<ValueScript::InMethod>(L, value);
    return 1;
}

int pointCreate(lua_State* L)
{
    return Created(L, CPoint(Number(L, 2), Number(L, 3)));
}

int vectorCreate(lua_State* L)
{
    return Created(L, CVector(Number(L, 2), Number(L, 3), Number(L, 4)));
}

int rectCreate(lua_State* L)
{
    return Created(L, CRect(Number(L, 2), Number(L, 3), Number(L, 4), Number(L, 5)));
}

int colorCreate(lua_State* L)
{
    return Created(L, CColor(Number(L, 2), Number(L, 3), Number(L, 4), Number(L, 5)));
}

bool rectIsPointInside(LuaState*, const CRect& rect, const CPoint& point)
{
    return RectIsPointInside(rect, point);
}

template <int X, int Y> CPoint RectCorner(LuaState*, const CRect& rect)
{
    return CPoint(At(rect, X), At(rect, Y));
}

// prefix + "Subtract", "Add", "Multiply", "Divide", "Negative".
template <typename T> void RegisterArithmetic(CScriptMetaTable& table, const std::string& prefix)
{
    table.RegisterHelper((prefix + "Subtract").c_str(), &Combine<T, &Subtract<T>>);
    table.RegisterHelper((prefix + "Add").c_str(), &Combine<T, &Add<T>>);
    table.RegisterHelper((prefix + "Multiply").c_str(), &Scaled<T, &Multiply<T>>);
    table.RegisterHelper((prefix + "Divide").c_str(), &Scaled<T, &Divide<T>>);
    table.RegisterHelper((prefix + "Negative").c_str(), &Changed<T, &Negative<T>>);
}

// prefix + "IsZero" and the component-wise comparisons.
template <typename T> void RegisterOrder(CScriptMetaTable& table, const std::string& prefix)
{
    table.RegisterHelper((prefix + "IsZero").c_str(), &Measure<bool, T, &IsZero<T>>);
    table.RegisterHelper((prefix + "LessThan").c_str(), &Relate<bool, T, &LessThan<T>>);
    table.RegisterHelper((prefix + "LessThanEqual").c_str(), &Relate<bool, T, &LessThanEqual<T>>);
    table.RegisterHelper((prefix + "GreaterThan").c_str(), &Relate<bool, T, &GreaterThan<T>>);
    table.RegisterHelper((prefix + "GreaterThanEqual").c_str(), &Relate<bool, T, &GreaterThanEqual<T>>);
    table.RegisterHelper((prefix + "Equal").c_str(), &Relate<bool, T, &Equal<T>>);
}

// prefix + the distance and length functions.
template <typename T> void RegisterLengths(CScriptMetaTable& table, const std::string& prefix)
{
    table.RegisterHelper((prefix + "GetDistanceFrom").c_str(), &Relate<float, T, &Distance<T>>);
    table.RegisterHelper((prefix + "GetDistanceFromFast").c_str(), &Relate<float, T, &DistanceFast<T>>);
    table.RegisterHelper((prefix + "GetDistanceSquaredFrom").c_str(), &Relate<float, T, &DistanceSquared<T>>);
    table.RegisterHelper((prefix + "GetLength").c_str(), &Measure<float, T, &Length<T>>);
    table.RegisterHelper((prefix + "GetLengthFast").c_str(), &Measure<float, T, &LengthFast<T>>);
    table.RegisterHelper((prefix + "GetLengthSquared").c_str(), &Measure<float, T, &LengthSquared<T>>);
}

} // namespace

void RegisterIMiscPointFunctions(CScriptMetaTable& table)
{
    using T = CPoint;
    ValueScript::RegisterCreator(table, "pointCreate", &pointCreate);
    table.RegisterHelper("pointCreateFromString", &CreateFromString<CPointScript>);
    RegisterArithmetic<T>(table, "point");
    RegisterOrder<T>(table, "point");
    table.RegisterHelper("pointDotProduct", &Relate<float, T, &DotProduct<T>>);
    RegisterLengths<T>(table, "point");
    table.RegisterHelper("pointNormalise", &Changed<T, &Normalise<T>>);
    table.RegisterHelper("pointNormaliseFast", &Changed<T, &NormaliseFast<T>>);
    table.RegisterHelper("pointAbs", &Changed<T, &Abs<T>>);
    table.RegisterHelper("pointGetX", &Component<T, 0>);
    table.RegisterHelper("pointGetY", &Component<T, 1>);
}

void RegisterIMiscVectorFunctions(CScriptMetaTable& table)
{
    using T = CVector;
    ValueScript::RegisterCreator(table, "vectorCreate", &vectorCreate);
    table.RegisterHelper("vectorCreateFromString", &CreateFromString<CVectorScript>);
    RegisterArithmetic<T>(table, "vector");
    RegisterOrder<T>(table, "vector");
    table.RegisterHelper("vectorCrossProduct", &Combine<T, &CrossProduct>);
    table.RegisterHelper("vectorAbs", &Changed<T, &Abs<T>>);
    table.RegisterHelper("vectorDotProduct", &Relate<float, T, &DotProduct<T>>);
    RegisterLengths<T>(table, "vector");
    table.RegisterHelper("vectorMax", &Measure<float, T, &Max>);
    table.RegisterHelper("vectorMaxAbs", &Measure<float, T, &MaxAbs>);
    table.RegisterHelper("vectorMin", &Measure<float, T, &Min>);
    table.RegisterHelper("vectorMinAbs", &Measure<float, T, &MinAbs>);
    table.RegisterHelper("vectorGetX", &Component<T, 0>);
    table.RegisterHelper("vectorGetY", &Component<T, 1>);
    table.RegisterHelper("vectorGetZ", &Component<T, 2>);
    table.RegisterHelper("vectorNormalise", &Changed<T, &Normalise<T>>);
    table.RegisterHelper("vectorNormaliseFast", &Changed<T, &NormaliseFast<T>>);
}

void RegisterIMiscRectFunctions(CScriptMetaTable& table)
{
    using T = CRect;
    ValueScript::RegisterCreator(table, "rectCreate", &rectCreate);
    table.RegisterHelper("rectCreateFromString", &CreateFromString<CRectScript>);
    RegisterArithmetic<T>(table, "rect");
    table.RegisterHelper("rectIntersect", &Relate<bool, T, &RectIntersect>);
    table.RegisterHelper("rectIsZero", &Measure<bool, T, &IsZero<T>>);
    table.RegisterHelper("rectLessThan", &Relate<bool, T, &RectLessThan>);
    table.RegisterHelper("rectLessThanEqual", &Relate<bool, T, &RectLessThanEqual>);
    table.RegisterHelper("rectGreaterThan", &Relate<bool, T, &RectGreaterThanLowerRight>);
    table.RegisterHelper("rectGreaterThanEqual", &Relate<bool, T, &RectGreaterThanEqualLowerRight>);
    table.RegisterHelper("rectEqual", &Relate<bool, T, &Equal<T>>);
    table.RegisterHelper("rectIsPointInside", &rectIsPointInside);
    table.RegisterHelper("rectAbs", &Changed<T, &Abs<T>>);
    table.RegisterHelper("rectGetX1", &Component<T, 0>);
    table.RegisterHelper("rectGetY1", &Component<T, 1>);
    table.RegisterHelper("rectGetX2", &Component<T, 2>);
    table.RegisterHelper("rectGetY2", &Component<T, 3>);
    table.RegisterHelper("rectGetWidth", &Measure<float, T, &RectWidth>);
    table.RegisterHelper("rectGetHeight", &Measure<float, T, &RectHeight>);
    table.RegisterHelper("rectGetUpperLeftPoint", &RectCorner<0, 1>);
    table.RegisterHelper("rectGetUpperRightPoint", &RectCorner<2, 1>);
    table.RegisterHelper("rectGetLowerLeftPoint", &RectCorner<0, 3>);
    table.RegisterHelper("rectGetLowerRightPoint", &RectCorner<2, 3>);
}

void RegisterIMiscColorFunctions(CScriptMetaTable& table)
{
    using T = CColor;
    ValueScript::RegisterCreator(table, "colorCreate", &colorCreate);
    table.RegisterHelper("colorCreateFromString", &CreateFromString<CColorScript>);
    table.RegisterHelper("colorGetR", &Component<T, 0>);
    table.RegisterHelper("colorGetG", &Component<T, 1>);
    table.RegisterHelper("colorGetB", &Component<T, 2>);
    table.RegisterHelper("colorGetA", &Component<T, 3>);
}
