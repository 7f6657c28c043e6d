#include "support/ScriptApiTestState.h"

#include "core/script/lua/LuaFunction.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/VectorScript.h"

#include <cmath>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;

namespace
{

class ValueScript : public ScriptApiTestState
{
protected:
    void SetUp() override
    {
        ScriptApiTestState::SetUp();
        ASSERT_EQ(Run(R"lua(
            P = function(x, y) return IMisc:pointCreate(x, y) end
            V = function(x, y, z) return IMisc:vectorCreate(x, y, z) end
            R = function(a, b, c, d) return IMisc:rectCreate(a, b, c, d) end
            C = function(r, g, b, a) return IMisc:colorCreate(r, g, b, a) end
            -- Runs f on the object and returns the object, then f's results.
            function after(object, f) local results = { f(object) } return object, unpack(results) end
        )lua"),
                  "");
    }
};

TEST_F(ValueScript, TextFormsAndParsing)
{
    Expect({
        {"tostring(V(1, 2, 3))", "1.000000 2.000000 3.000000"},
        {"tostring(P(-1.5, 0.25))", "-1.500000 0.250000"},
        {"tostring(R(1, 2, 3, 4))", "1.000000 2.000000 3.000000 4.000000"},
        {"tostring(C(1, 0.5, 0, 1))", "1.00 0.50 0.00 1.00"},
        // Text arguments: missing components read as 0, numbers as their text.
        {"IMisc:vectorAdd('1 2', 5)", "V(6.000000 2.000000 0.000000)"},
        {"IMisc:pointAdd(nil, {})", "P(0.000000 0.000000)"},
        {"IMisc:rectCreateFromString('1 2 abc 4')", "R(1.000000 2.000000 0.000000 0.000000)"},
        {"IMisc:colorCreateFromString('255 128 0')", "C(1.00 0.50 0.00 0.00)"},
        {"IMisc:colorCreateFromString('')", "C(0.00 0.00 0.00 0.00)"},
        // setFromString keeps what the text does not reach; a colour starts from 0.
        {"after(P(7, 8), function(p) p:setFromString('3') end)", "P(3.000000 8.000000)"},
        {"after(P(7, 8), function(p) p:setFromString('abc') end)", "P(7.000000 8.000000)"},
        {"after(V(7, 8, 9), function(v) v:setFromString('1 2') end)", "V(1.000000 2.000000 9.000000)"},
        {"after(R(5, 6, 7, 8), function(r) r:setFromString('1') end)",
         "R(1.000000 6.000000 7.000000 8.000000)"},
        {"after(C(1, 1, 1, 1), function(c) c:setFromString('255 0.5') end)", "C(1.00 0.50 0.00 0.00)"},
        // The text form keeps two decimals for colours.
        {"IMisc:colorCreateFromString(tostring(C(128, 0, 0, 0))):getRed()", "0.5"},
    });
}

TEST_F(ValueScript, ColourComponentRule)
{
    Expect({
        {"C(255, 128, 0, 2):getGreen(), C(255, 128, 0, 2):getAlpha()", "0.501961, 0.00784314"},
        {"C(1, 1.5, 300, -0.5)", "C(1.00 0.01 1.18 0.00)"},
        {"C(510, 0, 0, 0):getRed()", "2"},
        {"after(C(0, 0, 0, 0), function(c) c:set(255, 128, 0, 2) end)", "C(1.00 0.50 0.00 0.01)"},
        // Arithmetic on colour objects leaves the rule out.
        {"C(0.5, 0.5, 0.5, 1) + C(0.75, 0, 0, 0)", "C(1.25 0.50 0.50 1.00)"},
        {"C(0.2, 0.2, 0.2, 1) - C(0.5, 0, 0, 0)", "C(-0.30 0.20 0.20 1.00)"},
        {"C(1, 1, 1, 1) * 2", "C(2.00 2.00 2.00 2.00)"},
        {"after(C(1, 1, 1, 1), function(c) c:multiply(3) end)", "C(3.00 3.00 3.00 3.00)"},
        {"-C(1, 0, 0, 0)", "C(-1.00 -0.00 -0.00 -0.00)"},
        // Equality through the rule: below the other counts as equal.
        {"C(0.2, 0.2, 0.2, 1):equal(C(0.5, 0.5, 0.5, 1)), C(0.5, 0.5, 0.5, 1):equal(C(0.2, 0.2, 0.2, 1))",
         "true, false"},
        {"C(0.2, 0.2, 0.2, 1) == C(0.5, 0.5, 0.5, 1), C(0.5, 0.5, 0.5, 1) == C(0.2, 0.2, 0.2, 1)",
         "true, false"},
        {"C(0.3, 0.3, 0.3, 0.3):equal(C(0.3000005, 0.3000005, 0.3000005, 0.3000005))", "true"},
        {"C(0.0000009, 0, 0, 0):isZero(), C(0.000001, 0, 0, 0):isZero()", "true, false"},
    });
}

TEST_F(ValueScript, PointMethods)
{
    Expect({
        {"P(1, 2):getX(), P(1, 2):getY()", "1, 2"},
        {"after(P(1, 2), function(p) return rawequal(p:add('1 1'), p) end)", "P(2.000000 3.000000), true"},
        {"after(P(1, 2), function(p) p:subtract(P(1, 1)) end)", "P(0.000000 1.000000)"},
        {"after(P(1, 2), function(p) p:multiply(2):divide(4) end)", "P(0.500000 1.000000)"},
        {"after(P(1, -2), function(p) p:negative() end)", "P(-1.000000 2.000000)"},
        {"after(P(-1, 2), function(p) p:abs() end)", "P(1.000000 2.000000)"},
        {"after(P(1, 2), function(p) p:set(5, 6) end)", "P(5.000000 6.000000)"},
        {"P(0, 0):isZero(), P(0, 1e-30):isZero()", "true, false"},
        {"P(1, 2):lessThanEqual(P(1, 3)), P(1, 2):lessThanEqual(P(1, 2)), P(0, 2):lessThan(P(1, 3))",
         "false, true, true"},
        {"P(2, 3):greaterThan(P(1, 2)), P(2, 2):greaterThan(P(1, 2)), P(2, 2):greaterThanEqual(P(2, 2))",
         "true, false, true"},
        {"P(3, 4):getLength(), P(3, 4):getLengthSquared(), P(3, 4):getLengthFast()", "5, 25, 5.125"},
        {"P(4, 6):getDistanceFrom(P(1, 2)), P(4, 6):getDistanceSquaredFrom(P(1, 2))", "5, 25"},
        {"P(4, 6):getDistanceFromFast(P(1, 2)), P(1, 2):dotProduct(P(3, 4))", "5.125, 11"},
        {"after(P(3, 4), function(p) p:normalise() end)", "P(0.600000 0.800000)"},
        {"after(P(3, 4), function(p) p:normaliseFast() end)", "P(0.597896 0.797195)"},
        {"after(P(0, 0), function(p) p:normaliseFast() end)", "P(0.000000 0.000000)"},
        {"P(0, 0):normalise():getX()", "nan"},
        // copy makes a new object.
        {"after(P(1, 2), function(p) local c = p:copy() c:set(9, 9) return rawequal(c, p) end)",
         "P(1.000000 2.000000), false"},
    });
}

TEST_F(ValueScript, VectorAndRectangleMethods)
{
    Expect({
        {"V(1, 0, 0):crossProduct(V(0, 1, 0))", "V(0.000000 0.000000 1.000000)"},
        {"V(1, 2, 3):dotProduct('4 5 6'), V(2, 3, 6):getLength(), V(2, 3, 6):getLengthSquared()",
         "32, 7, 49"},
        {"V(-5, 2, -1):getMax(), V(-5, 2, -1):getMin(), V(-5, 2, -1):getMaxAbs(), V(-5, 2, -1):getMinAbs()",
         "2, -5, 5, 1"},
        {"V(1, 2, 3):lessThan(V(2, 3, 4)), V(1, 2, 3):lessThan(V(2, 3, 3)), V(1, 2, 3):equal('1 2 3')",
         "true, false, true"},
        {"after(V(0, 3, 4), function(v) v:normalise() end)", "V(0.000000 0.600000 0.800000)"},
        {"after(V(1, 2, 3), function(v) v:add(V(1, 1, 1)):multiply(2) end)", "V(4.000000 6.000000 8.000000)"},
        {"V(1, 2, 3):getX(), V(1, 2, 3):getY(), V(1, 2, 3):getZ()", "1, 2, 3"},
        {"R(10, 0, 4, 0):getWidth(), R(0, 10, 0, 3):getHeight()", "6, 7"},
        {"R(1, 2, 3, 4):getUpperLeftPoint(), R(1, 2, 3, 4):getUpperRightPoint()",
         "P(1.000000 2.000000), P(3.000000 2.000000)"},
        {"R(1, 2, 3, 4):getLowerLeftPoint(), R(1, 2, 3, 4):getLowerRightPoint()",
         "P(1.000000 4.000000), P(3.000000 4.000000)"},
        {"R(0, 0, 10, 10):intersect(R(10, 10, 20, 20)), R(0, 0, 10, 10):intersect(R(11, 0, 20, 20))",
         "true, false"},
        {"R(0, 0, 10, 10):isPointInside(P(5, 0)), R(0, 0, 10, 10):isPointInside(P(0, 0))", "false, true"},
        {"R(0, 0, 10, 10):isPointInside(P(10, 10)), R(0, 0, 10, 10):isPointInside('5 5')", "true, true"},
        // The rectangle's order looks at the upper-left corners only.
        {"R(0, 0, 100, 100):lessThan(R(1, 1, 2, 2)), R(2, 2, 0, 0):greaterThan(R(1, 1, 50, 50))",
         "true, true"},
        {"R(1, 1, 5, 5):lessThanEqual(R(1, 1, 5, 5)), R(1, 1, 5, 5):greaterThanEqual(R(1, 1, 5, 6))",
         "true, false"},
        {"after(R(-1, 2, -3, 4), function(r) r:abs() end)", "R(1.000000 2.000000 3.000000 4.000000)"},
        {"after(R(1, 2, 3, 4), function(r) r:negative():add(R(1, 1, 1, 1)) end)",
         "R(0.000000 -1.000000 -2.000000 -3.000000)"},
        {"R(0, 0, 0, 0):isZero(), R(0, 0, 0, 1):isZero()", "true, false"},
    });
}

TEST_F(ValueScript, Operators)
{
    Expect({
        {"P(1, 2) + P(3, 4), P(1, 2) - '1 1'", "P(4.000000 6.000000), P(0.000000 1.000000)"},
        {"P(1, 2) * 2, 2 * P(1, 2), P(1, 2) / 2",
         "P(2.000000 4.000000), P(2.000000 4.000000), P(0.500000 1.000000)"},
        {"P(1, 2) * P(1, 2), P(1, 2) / 'x', P(1, 2) ^ P(3, 4), -P(1, 2)",
         "nil, nil, 11, P(-1.000000 -2.000000)"},
        {"V(1, 0, 0) * V(0, 1, 0), V(1, 2, 3) * 2",
         "V(0.000000 0.000000 1.000000), V(2.000000 4.000000 6.000000)"},
        {"V(2, 4, 6) / 2, V(1, 2, 3) ^ V(1, 1, 1), V(1, 2, 3) * {}", "V(1.000000 2.000000 3.000000), 6, nil"},
        {"R(1, 2, 3, 4) * 2, R(1, 2, 3, 4) * 'x', R(2, 4, 6, 8) / 2",
         "R(2.000000 4.000000 6.000000 8.000000), R(0.000000 0.000000 0.000000 0.000000), "
         "R(1.000000 2.000000 3.000000 4.000000)"},
        {"C(0.5, 0.5, 0.5, 0.5) / 2, -R(1, 0, 0, 0)",
         "C(0.25 0.25 0.25 0.25), R(-1.000000 -0.000000 -0.000000 -0.000000)"},
        {"P(1, 2) == P(1, 2), P(1, 2) == P(1, 3), V(1, 2, 3) == V(1, 2, 3), R(1, 2, 3, 4) ~= R(1, 2, 3, 5)",
         "true, false, true, true"},
        {"P(1, 2) < P(2, 3), P(1, 2) < P(2, 2), P(1, 2) <= P(1, 2), P(1, 2) <= P(1, 3)",
         "true, false, true, false"},
        {"V(1, 2, 3) < V(2, 3, 4), V(1, 2, 3) > V(0, 1, 2), V(1, 2, 3) >= V(1, 2, 4)", "true, true, false"},
        {"R(0, 0, 100, 100) < R(1, 1, 2, 2), R(1, 1, 2, 2) <= R(1, 1, 2, 2), R(1, 1, 2, 2) <= R(1, 1, 2, 3)",
         "true, true, false"},
        // Concatenation with strings, numbers and objects of the same class.
        {"P(1, 2) .. ' px', 5 .. P(1, 2)", "1.000000 2.000000 px, 51.000000 2.000000"},
        {"V(1, 2, 3) .. V(4, 5, 6)", "1.000000 2.000000 3.0000004.000000 5.000000 6.000000"},
        {"'colour ' .. C(1, 0, 0, 1), R(1, 2, 3, 4) .. 0.5",
         "colour 1.00 0.00 0.00 1.00, 1.000000 2.000000 3.000000 4.0000000.5"},
        {"P(1, 2) .. {}, P(1, 2) .. V(1, 2, 3), V(1, 2, 3) .. P(1, 2), true and {} .. V(1, 2, 3)",
         "nil, nil, nil, nil"},
    });
}

// Values reach methods as objects or through a table's "__object"; a value
// of another class is refused rather than read as this one.
TEST_F(ValueScript, ObjectChecks)
{
    Expect({
        {"CPointScript.getX({ __object = P(4, 5) })", "4"},
        {"pcall(CPointScript.getX, 5)", "false, bad argument #1 to '?' (must be userdata or a table with a "
                                        "userdata member called __object)"},
        {"pcall(CPointScript.getX, {})", "false, The table does not have a userdata member called __object."},
        {"pcall(CPointScript.getX, { __object = 5 })",
         "false, The table does not have a userdata member called __object."},
        {"pcall(CRectScript.getX2, P(1, 2))",
         "false, [CRectScript] A CPointScript value was given where a CRectScript value is expected"},
        {"pcall(CPointScript.getX, { __object = V(1, 2, 3) })",
         "false, [CPointScript] A CVectorScript value was given where a CPointScript value is expected"},
        {"pcall(IMisc.rectGetX2, IMisc, P(1, 2))",
         "false, [CRectScript] A CPointScript value was given where a CRectScript value is expected"},
        {"pcall(IMisc.vectorGetX, IMisc, IMisc)",
         "false, [CVectorScript] A userdata was given where a CVectorScript value is expected"},
        {"pcall(function() return P(1, 2) + V(1, 2, 3) end)",
         "false, test:1: [CPointScript] A CVectorScript value was given where a CPointScript value is "
         "expected"},
        {"pcall(function() return 2 / P(1, 2) end)",
         "false, test:1: [CPointScript] The left operand of the division must be a CPointScript value"},
        // A class that is not a value class does not make a value object.
        {"pcall(IMisc.vectorGetX, IMisc, IMisc:classCreateInstanceUD(IMisc:classDefine()))",
         "false, [CVectorScript] A userdata was given where a CVectorScript value is expected"},
        {"getmetatable(P(1, 2))", "Metatable is readonly"},
        {"getmetatable(IMisc)", "Metatable is readonly"},
    });
}

TEST_F(ValueScript, ResultsAreMadeOnTheCallingThread)
{
    Expect({
        {"coroutine.wrap(function() local a = V(1, 2, 3) coroutine.yield(a + a, a:copy(), a .. '') end)()",
         "V(2.000000 4.000000 6.000000), V(1.000000 2.000000 3.000000), 1.000000 2.000000 3.000000"},
        {"coroutine.wrap(function() return IMisc:boxCreate(V(0, 0, 0), '1 1 1') end)()",
         "{max=V(1.000000 1.000000 1.000000), min=V(0.000000 0.000000 0.000000)}"},
    });
}

TEST_F(ValueScript, ObjectsAreCollected)
{
    EXPECT_EQ(Run(R"lua(
        for i = 1, 20000 do local v = V(i, i, i) + V(1, 1, 1) local s = tostring(v) end
        collectgarbage()
        local before = collectgarbage("count")
        for i = 1, 20000 do local v = V(i, i, i) + V(1, 1, 1) end
        collectgarbage()
        assert(collectgarbage("count") < before + 64, "objects stay alive")
    )lua"),
              "");
}

// C++ callers: reading arguments and making result objects.
TEST_F(ValueScript, NativeConversions)
{
    lua_settop(L, 0);
    lua_pushstring(L, "1 2 3");
    Eval("return V(4, 5, 6)").Push(L);
    lua_pushnil(L);
    EXPECT_EQ(CVectorScript(LuaStackObject(L, 1)).GetValue().y, 2.0f);
    EXPECT_EQ(CVectorScript(LuaStackObject(L, 2)).GetValue().z, 6.0f);
    EXPECT_EQ(CVectorScript(LuaStackObject(L, 3)).GetValue().x, 0.0f);
    EXPECT_THROW(CPointScript(LuaStackObject(L, 2)), Misc::Error::CKVOError);
    EXPECT_EQ(CColorScript(LuaStackObject(L, 1)).GetValue().b, 3.0f / 255.0f);
    lua_settop(L, 0);

    LuaObject rect = CRectScript(CRect(1, 2, 3, 4), state).CreateLuaObject();
    state->GetGlobals().Set("made", rect);
    EXPECT_EQ(Show("made, made:getWidth()"), "R(1.000000 2.000000 3.000000 4.000000), 2");

    // Script callbacks take and return values too.
    LuaPlus::LuaFunction<CVector> twice(Eval("return function(v) return v * 2 end"));
    EXPECT_EQ(twice(CVector(1, 2, 3)).z, 6.0f);

    LuaPlus::LuaState* bare = LuaPlus::LuaState::Create(true);
    EXPECT_THROW(CPointScript::CreateLuaObject(bare, CPoint()), Misc::Error::CKVOError);
    LuaPlus::LuaState::Destroy(bare);
}

} // namespace
