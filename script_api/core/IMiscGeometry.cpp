// IMisc functions on lines, boxes and rotations. A line is a table with the
// vector fields "start" and "end", a box one with "min" and "max"; a field
// that is missing (or a line or box that is not a table) reads as the zero
// vector, and text in a field is read as a vector's text form.

#include "core/foundation/Math3D.h"
#include "core/script/lua/LuaObject.h"
#include "script_api/core/IMiscFunctions.h"
#include "script_api/core/VectorScript.h"

#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaStackRestore;
using LuaPlus::LuaState;

namespace
{

CVector ReadField(const LuaStackObject& table, const char* key)
{
    if (!table.IsTable())
        return CVector();
    lua_State* L = table.GetCState();
    LuaStackRestore restore(L);
    lua_pushstring(L, key);
    lua_rawget(L, table.GetIndex());
    return CVectorScript::Read(L, -1);
}

// The field itself (nil when absent or when the value is not a table).
LuaObject GetField(const LuaStackObject& table, const char* key)
{
    lua_State* L = table.GetCState();
    LuaStackRestore restore(L);
    if (table.IsTable())
    {
        lua_pushstring(L, key);
        lua_rawget(L, table.GetIndex());
    }
    else
    {
        lua_pushnil(L);
    }
    return LuaObject(L, -1);
}

// A new table {first = new vector, second = new vector}, made on the thread
// of the call.
LuaObject MakePair(lua_State* L, const char* firstKey, const CVector& first, const char* secondKey,
                   const CVector& second)
{
    LuaStackRestore restore(L);
    lua_createtable(L, 0, 2);
    CVectorScript::Push(L, first);
    lua_setfield(L, -2, firstKey);
    CVectorScript::Push(L, second);
    lua_setfield(L, -2, secondKey);
    return LuaObject(L, -1);
}

LuaObject lineCreate(LuaState*, const LuaStackObject& start, const LuaStackObject& end)
{
    lua_State* L = start.GetCState();
    return MakePair(L, "start", CVectorScript::Read(L, start.GetIndex()), "end",
                    CVectorScript::Read(L, end.GetIndex()));
}

CVector lineClosestPoint(LuaState*, const LuaStackObject& line, const CVector& point)
{
    return LineClosestPoint(ReadField(line, "start"), ReadField(line, "end"), point);
}

LuaObject lineGetStart(LuaState*, const LuaStackObject& line)
{
    return GetField(line, "start");
}

LuaObject lineGetEnd(LuaState*, const LuaStackObject& line)
{
    return GetField(line, "end");
}

LuaObject boxCreate(LuaState*, const LuaStackObject& min, const LuaStackObject& max)
{
    lua_State* L = min.GetCState();
    return MakePair(L, "min", CVectorScript::Read(L, min.GetIndex()), "max",
                    CVectorScript::Read(L, max.GetIndex()));
}

LuaObject boxExtendBox(LuaState*, const LuaStackObject& box1, const LuaStackObject& box2)
{
    CVector min = ReadField(box1, "min");
    CVector max = ReadField(box1, "max");
    BoxExtendBox(min, max, ReadField(box2, "min"), ReadField(box2, "max"));
    return MakePair(box1.GetCState(), "min", min, "max", max);
}

LuaObject boxExtendPoint(LuaState*, const LuaStackObject& box, const CVector& point)
{
    CVector min = ReadField(box, "min");
    CVector max = ReadField(box, "max");
    BoxExtendPoint(min, max, point);
    return MakePair(box.GetCState(), "min", min, "max", max);
}

CVector boxGetCentre(LuaState*, const LuaStackObject& box)
{
    return BoxGetCentre(ReadField(box, "min"), ReadField(box, "max"));
}

LuaObject boxGetVertices(LuaState*, const LuaStackObject& box)
{
    std::vector<CVector> vertices;
    BoxGetVertices(ReadField(box, "min"), ReadField(box, "max"), vertices);
    lua_State* L = box.GetCState();
    LuaStackRestore restore(L);
    lua_createtable(L, static_cast<int>(vertices.size()), 0);
    for (size_t i = 0; i < vertices.size(); ++i)
    {
        CVectorScript::Push(L, vertices[i]);
        lua_rawseti(L, -2, static_cast<int>(i) + 1);
    }
    return LuaObject(L, -1);
}

CVector boxGetExtents(LuaState*, const LuaStackObject& box)
{
    return BoxGetExtents(ReadField(box, "min"), ReadField(box, "max"));
}

LuaObject boxGetMin(LuaState*, const LuaStackObject& box)
{
    return GetField(box, "min");
}

LuaObject boxGetMax(LuaState*, const LuaStackObject& box)
{
    return GetField(box, "max");
}

bool boxIntersectsBox(LuaState*, const LuaStackObject& box1, const LuaStackObject& box2)
{
    return BoxIntersectsBox(ReadField(box1, "min"), ReadField(box1, "max"), ReadField(box2, "min"),
                            ReadField(box2, "max"));
}

bool boxIntersectsLine(LuaState*, const LuaStackObject& box, const LuaStackObject& line)
{
    return BoxIntersectsLine(ReadField(box, "min"), ReadField(box, "max"), ReadField(line, "start"),
                             ReadField(line, "end"));
}

bool boxPointInside(LuaState*, const LuaStackObject& box, const CVector& point)
{
    return BoxPointInside(ReadField(box, "min"), ReadField(box, "max"), point);
}

CVector getLookAtRotations(LuaState*, const CVector& a, const CVector& b)
{
    return GetLookAtRotations(a, b);
}

CVector getRotationsAboutAxis(LuaState*, const CVector& axis, float angle)
{
    return GetRotationsAboutAxis(axis, angle);
}

CVector rotationAdd(LuaState*, const CVector& r1, const CVector& r2)
{
    return RotationAdd(r1, r2);
}

CVector rotationSubtract(LuaState*, const CVector& r1, const CVector& r2)
{
    return RotationSubtract(r1, r2);
}

CVector rotationSlerp(LuaState*, const CVector& r1, const CVector& r2, float t)
{
    return RotationSlerp(r1, r2, t);
}

CVector rotateVector(LuaState*, const CVector& point, const CVector& centre, const CVector& rotation)
{
    return RotateVector(point, centre, rotation);
}

CVector getOrientation(LuaState*, const CVector& rotation, const CVector& v)
{
    return GetOrientation(rotation, v);
}

CVector getOrientationCross(LuaState*, const CVector& rotation, const CVector& v, const CVector& w)
{
    return GetOrientationCross(rotation, v, w);
}

CVector transformVector(LuaState*, const CVector& v, const CVector& position, const CVector& forward,
                        const CVector& up)
{
    return TransformVector(v, position, forward, up);
}

CVector untransformVector(LuaState*, const CVector& v, const CVector& position, const CVector& forward,
                          const CVector& up)
{
    return UntransformVector(v, position, forward, up);
}

} // namespace

void RegisterIMiscLineBoxFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("lineCreate", &lineCreate);
    table.RegisterHelper("lineClosestPoint", &lineClosestPoint);
    table.RegisterHelper("lineGetStart", &lineGetStart);
    table.RegisterHelper("lineGetEnd", &lineGetEnd);
    table.RegisterHelper("boxCreate", &boxCreate);
    table.RegisterHelper("boxExtendBox", &boxExtendBox);
    table.RegisterHelper("boxExtendPoint", &boxExtendPoint);
    table.RegisterHelper("boxGetCentre", &boxGetCentre);
    table.RegisterHelper("boxGetVertices", &boxGetVertices);
    table.RegisterHelper("boxGetExtents", &boxGetExtents);
    table.RegisterHelper("boxGetMin", &boxGetMin);
    table.RegisterHelper("boxGetMax", &boxGetMax);
    table.RegisterHelper("boxIntersectsBox", &boxIntersectsBox);
    table.RegisterHelper("boxIntersectsLine", &boxIntersectsLine);
    table.RegisterHelper("boxPointInside", &boxPointInside);
}

void RegisterIMiscRotationFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getLookAtRotations", &getLookAtRotations);
    table.RegisterHelper("getRotationsAboutAxis", &getRotationsAboutAxis);
    table.RegisterHelper("rotationAdd", &rotationAdd);
    table.RegisterHelper("rotationSubtract", &rotationSubtract);
    table.RegisterHelper("rotationSlerp", &rotationSlerp);
    table.RegisterHelper("rotateVector", &rotateVector);
    table.RegisterHelper("getOrientation", &getOrientation);
    table.RegisterHelper("getOrientationCross", &getOrientationCross);
    table.RegisterHelper("transformVector", &transformVector);
    table.RegisterHelper("untransformVector", &untransformVector);
}
