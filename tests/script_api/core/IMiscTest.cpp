#include "support/ScriptApiTestState.h"

#include <string>

namespace
{

class IMisc : public ScriptApiTestState
{
protected:
    void SetUp() override
    {
        ScriptApiTestState::SetUp();
        ASSERT_EQ(Run(R"lua(
            M = IMisc
            P = function(x, y) return M:pointCreate(x, y) end
            V = function(x, y, z) return M:vectorCreate(x, y, z) end
            R = function(a, b, c, d) return M:rectCreate(a, b, c, d) end
            -- A vector rounded to four decimals, without negative zeros.
            function r4(v)
                local s = string.format("%.4f %.4f %.4f", v:getX(), v:getY(), v:getZ())
                return (s:gsub("%-(0%.0000)", "%1"))
            end
        )lua"),
                  "");
    }
};

// Every name scripts call, in registration order.
const char* const kFunctions =
    "classDefine classCreateInstance classCreateInstanceUD classAttach "
    "pointCreate pointCreateFromString pointSubtract pointAdd pointMultiply pointDivide pointNegative "
    "pointIsZero pointLessThan pointLessThanEqual pointGreaterThan pointGreaterThanEqual pointEqual "
    "pointDotProduct pointGetDistanceFrom pointGetDistanceFromFast pointGetDistanceSquaredFrom "
    "pointGetLength "
    "pointGetLengthFast pointGetLengthSquared pointNormalise pointNormaliseFast pointAbs pointGetX pointGetY "
    "vectorCreate vectorCreateFromString vectorSubtract vectorAdd vectorMultiply vectorDivide vectorNegative "
    "vectorIsZero vectorLessThan vectorLessThanEqual vectorGreaterThan vectorGreaterThanEqual vectorEqual "
    "vectorCrossProduct vectorAbs vectorDotProduct vectorGetDistanceFrom vectorGetDistanceFromFast "
    "vectorGetDistanceSquaredFrom vectorGetLength vectorGetLengthFast vectorGetLengthSquared vectorMax "
    "vectorMaxAbs vectorMin vectorMinAbs vectorGetX vectorGetY vectorGetZ vectorNormalise "
    "vectorNormaliseFast "
    "rectCreate rectCreateFromString rectSubtract rectAdd rectMultiply rectDivide rectNegative rectIntersect "
    "rectIsZero rectLessThan rectLessThanEqual rectGreaterThan rectGreaterThanEqual rectEqual "
    "rectIsPointInside rectAbs rectGetX1 rectGetY1 rectGetX2 rectGetY2 rectGetWidth rectGetHeight "
    "rectGetUpperLeftPoint rectGetUpperRightPoint rectGetLowerLeftPoint rectGetLowerRightPoint "
    "lineCreate lineClosestPoint lineGetStart lineGetEnd boxCreate boxExtendBox boxExtendPoint boxGetCentre "
    "boxGetVertices boxGetExtents boxGetMin boxGetMax boxIntersectsBox boxIntersectsLine boxPointInside "
    "colorCreate colorCreateFromString colorGetR colorGetG colorGetB colorGetA getLookAtRotations "
    "getRotationsAboutAxis rotationAdd rotationSubtract rotationSlerp rotateVector getOrientation "
    "getOrientationCross transformVector untransformVector";

const char* const kPointMethods =
    "set setFromString getX getY copy add subtract multiply divide negative isZero lessThan lessThanEqual "
    "greaterThan greaterThanEqual equal dotProduct getDistanceFrom getDistanceFromFast "
    "getDistanceSquaredFrom "
    "getLength getLengthFast getLengthSquared normalise normaliseFast abs "
    "__tostring __concat __add __sub __mul __div __pow __unm __eq __lt __le";
const char* const kVectorMethods =
    "copy add subtract multiply divide negative isZero lessThan lessThanEqual greaterThan greaterThanEqual "
    "equal crossProduct dotProduct getDistanceFrom getDistanceFromFast getDistanceSquaredFrom getLength "
    "getLengthFast getLengthSquared normalise normaliseFast getMax getMaxAbs getMin getMinAbs getX getY getZ "
    "set setFromString __tostring __concat __add __sub __mul __div __pow __unm __eq __lt __le";
const char* const kRectMethods =
    "set setFromString getX1 getY1 getX2 getY2 getUpperLeftPoint getUpperRightPoint getLowerLeftPoint "
    "getLowerRightPoint getWidth getHeight copy add subtract multiply divide negative isZero intersect "
    "lessThan greaterThan lessThanEqual greaterThanEqual equal isPointInside abs "
    "__tostring __concat __add __sub __mul __div __unm __eq __lt __le";
const char* const kColorMethods =
    "set setFromString getRed getGreen getBlue getAlpha copy add subtract multiply divide negative isZero "
    "equal __tostring __concat __add __sub __mul __div __unm __eq";

// The table holds exactly the listed functions, besides __index and
// __metatable.
std::string Listing(const std::string& table, const char* names)
{
    return "(function() local t, expected, missing, count = " + table +
           ", 0, {}, 0\n"
           "for name in ('" +
           names +
           "'):gmatch('%S+') do expected = expected + 1\n"
           "  if type(rawget(t, name)) ~= 'function' then missing[#missing + 1] = name end end\n"
           "for k, v in pairs(t) do if type(v) == 'function' then count = count + 1 end end\n"
           "return expected, count, table.concat(missing, ' '), rawequal(t.__index, t), t.__metatable end)()";
}

TEST_F(IMisc, RegistersEveryFunctionAndTheValueClasses)
{
    // An interface's "__index" is a copy of its functions, so that scripts
    // cannot reach its table as IMisc.__index.
    EXPECT_EQ(Show(Listing("debug.getmetatable(IMisc)", kFunctions)),
              "117, 117, , false, Metatable is readonly");
    EXPECT_EQ(Show("IMisc.__index, debug.getmetatable(IMisc).__index.pointCreate == "
                   "debug.getmetatable(IMisc).pointCreate"),
              "nil, true");
    EXPECT_EQ(Show(Listing("CPointScript", kPointMethods)), "37, 37, , true, Metatable is readonly");
    EXPECT_EQ(Show(Listing("CVectorScript", kVectorMethods)), "42, 42, , true, Metatable is readonly");
    EXPECT_EQ(Show(Listing("CRectScript", kRectMethods)), "37, 37, , true, Metatable is readonly");
    EXPECT_EQ(Show(Listing("CColorScript", kColorMethods)), "22, 22, , true, Metatable is readonly");
    // Registering again gives IMisc a fresh table and keeps the class tables,
    // so objects made before still count as values.
    EXPECT_EQ(Run("old, oldPoint, p = debug.getmetatable(IMisc), CPointScript, P(1, 2)"), "");
    RegisterIMisc(state);
    EXPECT_EQ(
        Show("rawequal(old, debug.getmetatable(IMisc)), rawequal(oldPoint, CPointScript), M:pointGetY(p)"),
        "false, true, 2");
    // A dot call without the interface object shifts the arguments.
    EXPECT_EQ(Show("IMisc.vectorCreate(1, 2, 3)"), "V(2.000000 3.000000 0.000000)");
}

TEST_F(IMisc, PointsVectorsRectanglesColours)
{
    Expect({
        {"M:pointCreate(1.5, -2), M:pointCreateFromString('3'), M:pointCreateFromString(5)",
         "P(1.500000 -2.000000), P(3.000000 0.000000), P(5.000000 0.000000)"},
        {"M:pointSubtract(P(5, 5), P(1, 2)), M:pointAdd('1 1', P(1, 2))",
         "P(4.000000 3.000000), P(2.000000 3.000000)"},
        {"M:pointMultiply(P(1, 2), 3), M:pointDivide(P(1, 2), 4), M:pointNegative(P(1, -2)), "
         "M:pointAbs(P(-1, -2))",
         "P(3.000000 6.000000), P(0.250000 0.500000), P(-1.000000 2.000000), P(1.000000 2.000000)"},
        {"M:pointDivide(P(1, -1), 0), M:pointIsZero(P(0, 0)), M:pointIsZero(P(0, 1))",
         "P(inf -inf), true, false"},
        {"M:pointLessThanEqual(P(1, 2), P(1, 3)), M:pointLessThanEqual(P(1, 2), P(1, 2)), "
         "M:pointLessThan(P(0, 0), P(1, 1))",
         "false, true, true"},
        {"M:pointGreaterThan(P(2, 2), P(1, 2)), M:pointGreaterThanEqual(P(2, 3), P(1, 2)), M:pointEqual(P(1, "
         "2), '1 2')",
         "false, true, true"},
        {"M:pointDotProduct(P(1, 2), P(3, 4)), M:pointGetDistanceFrom(P(4, 6), P(1, 2)), "
         "M:pointGetDistanceFromFast(P(4, 6), P(1, 2)), M:pointGetDistanceSquaredFrom(P(4, 6), P(1, 2))",
         "11, 5, 5.125, 25"},
        {"M:pointGetLength(P(3, 4)), M:pointGetLengthFast(P(3, 4)), M:pointGetLengthSquared(P(3, 4))",
         "5, 5.125, 25"},
        {"M:pointNormalise(P(3, 4)), M:pointNormaliseFast(P(3, 4)), M:pointNormaliseFast(P(0, 0))",
         "P(0.600000 0.800000), P(0.597896 0.797195), P(0.000000 0.000000)"},
        {"M:pointGetX(M:pointNormalise(P(0, 0))), M:pointGetX(P(7, 8)), M:pointGetY(P(7, 8))", "nan, 7, 8"},
        // The arguments stay as they were.
        {"(function() local p = P(1, 2) M:pointAdd(p, p) M:pointNegative(p) return p end)()",
         "P(1.000000 2.000000)"},

        {"M:vectorCreateFromString('1 2'), M:vectorSubtract(V(1, 2, 3), '1 1 1'), M:vectorAdd(V(1, 2, 3), "
         "V(1, 1, 1))",
         "V(1.000000 2.000000 0.000000), V(0.000000 1.000000 2.000000), V(2.000000 3.000000 4.000000)"},
        {"M:vectorMultiply(V(1, 2, 3), 2), M:vectorDivide(V(1, 2, 3), 2), M:vectorNegative(V(1, 2, 3))",
         "V(2.000000 4.000000 6.000000), V(0.500000 1.000000 1.500000), V(-1.000000 -2.000000 -3.000000)"},
        {"M:vectorCrossProduct(V(0, 1, 0), V(0, 0, 1)), M:vectorAbs(V(-1, 2, -3)), M:vectorDotProduct(V(1, "
         "2, 3), V(4, 5, 6))",
         "V(1.000000 0.000000 0.000000), V(1.000000 2.000000 3.000000), 32"},
        {"M:vectorIsZero(V(0, 0, 0)), M:vectorLessThan(V(1, 2, 3), V(2, 3, 4)), M:vectorLessThanEqual(V(1, "
         "2, 3), V(1, 3, 4))",
         "true, true, false"},
        {"M:vectorGreaterThan(V(2, 3, 4), V(1, 2, 3)), M:vectorGreaterThanEqual(V(1, 2, 3), V(1, 2, 3)), "
         "M:vectorEqual(V(1, 2, 3), V(1, 2, 3.0001))",
         "true, true, false"},
        {"M:vectorGetDistanceFrom(V(3, 4, 12), V(0, 0, 0)), M:vectorGetDistanceSquaredFrom(V(3, 4, 12), V(0, "
         "0, 0)), "
         "M:vectorGetDistanceFromFast(V(0, 4, 3), V(0, 0, 0))",
         "13, 169, 5.125"},
        {"M:vectorGetLength(V(2, 3, 6)), M:vectorGetLengthFast(V(0, 3, 4)), M:vectorGetLengthSquared(V(2, 3, "
         "6))",
         "7, 5.125, 49"},
        {"M:vectorMax(V(-5, 2, -1)), M:vectorMaxAbs(V(-5, 2, -1)), M:vectorMin(V(-5, 2, -1)), "
         "M:vectorMinAbs(V(-5, 2, -1))",
         "2, 5, -5, 1"},
        {"M:vectorGetX(V(1, 2, 3)), M:vectorGetY(V(1, 2, 3)), M:vectorGetZ(V(1, 2, 3))", "1, 2, 3"},
        {"M:vectorNormalise(V(0, 3, 4)), M:vectorNormaliseFast(V(0, 0, 0)), "
         "M:vectorGetY(M:vectorNormalise(V(0, 0, 0)))",
         "V(0.000000 0.600000 0.800000), V(0.000000 0.000000 0.000000), nan"},

        {"M:rectCreateFromString('1 2 3'), M:rectSubtract(R(5, 5, 5, 5), R(1, 2, 3, 4)), M:rectAdd(R(1, 2, "
         "3, 4), '1 1 1 1')",
         "R(1.000000 2.000000 3.000000 0.000000), R(4.000000 3.000000 2.000000 1.000000), "
         "R(2.000000 3.000000 4.000000 5.000000)"},
        {"M:rectMultiply(R(1, 2, 3, 4), 2), M:rectDivide(R(1, 2, 3, 4), 2)",
         "R(2.000000 4.000000 6.000000 8.000000), R(0.500000 1.000000 1.500000 2.000000)"},
        {"M:rectNegative(R(1, 2, 3, 4)), M:rectAbs(R(-1, 2, -3, 4))",
         "R(-1.000000 -2.000000 -3.000000 -4.000000), R(1.000000 2.000000 3.000000 4.000000)"},
        {"M:rectIntersect(R(0, 0, 10, 10), R(10, 10, 20, 20)), M:rectIntersect(R(0, 0, 10, 10), R(5, 11, 6, "
         "12)), "
         "M:rectIsZero(R(0, 0, 0, 0))",
         "true, false, true"},
        {"M:rectIsPointInside(R(0, 0, 10, 10), P(5, 0)), M:rectIsPointInside(R(0, 0, 10, 10), P(0, 0)), "
         "M:rectIsPointInside(R(0, 0, 10, 10), P(10, 10)), M:rectIsPointInside(R(0, 0, 10, 10), P(5, 5))",
         "false, true, true, true"},
        {"M:rectLessThan(R(0, 0, 100, 100), R(1, 1, 2, 2)), M:rectLessThanEqual(R(1, 1, 2, 2), R(1, 1, 2, "
         "2)), "
         "M:rectEqual(R(1, 2, 3, 4), '1 2 3 4')",
         "true, true, true"},
        // rectGreaterThan looks at the lower-right corners, the rectangle's
        // own greaterThan at the upper-left ones.
        {"M:rectGreaterThan(R(0, 0, 10, 10), R(5, 5, 6, 6)), R(0, 0, 10, 10):greaterThan(R(5, 5, 6, 6))",
         "true, false"},
        {"M:rectGreaterThanEqual(R(0, 0, 10, 10), R(0, 0, 10, 10)), M:rectGreaterThanEqual(R(9, 9, 5, 5), "
         "R(0, 0, 6, 6))",
         "true, false"},
        {"M:rectGetX1(R(1, 2, 3, 4)), M:rectGetY1(R(1, 2, 3, 4)), M:rectGetX2(R(1, 2, 3, 4)), "
         "M:rectGetY2(R(1, 2, 3, 4))",
         "1, 2, 3, 4"},
        {"M:rectGetWidth(R(10, 0, 4, 0)), M:rectGetHeight(R(0, 2, 0, 9))", "6, 7"},
        {"M:rectGetUpperLeftPoint(R(1, 2, 3, 4)), M:rectGetUpperRightPoint(R(1, 2, 3, 4)), "
         "M:rectGetLowerLeftPoint(R(1, 2, 3, 4)), M:rectGetLowerRightPoint(R(1, 2, 3, 4))",
         "P(1.000000 2.000000), P(3.000000 2.000000), P(1.000000 4.000000), P(3.000000 4.000000)"},

        {"M:colorCreate(255, 255, 255, 255), M:colorGetR(M:colorCreate(255, 255, 255, 255))",
         "C(1.00 1.00 1.00 1.00), 1"},
        {"M:colorCreateFromString('255 0 0'), M:colorGetG(M:colorCreate(0, 128, 0, 0))",
         "C(1.00 0.00 0.00 0.00), 0.501961"},
        {"M:colorGetB(M:colorCreate(0, 0, -3, 0)), M:colorGetA(M:colorCreate(0, 0, 0, 0.25))", "0, 0.25"},
    });
}

TEST_F(IMisc, LinesAndBoxes)
{
    Expect({
        {"M:lineCreate(V(1, 2, 3), '4 5 6')",
         "{end=V(4.000000 5.000000 6.000000), start=V(1.000000 2.000000 3.000000)}"},
        // lineGetStart hands out the line's own vector; lineCreate copies.
        {"(function() local s = V(1, 1, 1) local l = M:lineCreate(s, V(2, 2, 2)) s:set(9, 9, 9) "
         "M:lineGetStart(l):set(0, 0, 0) return l.start, rawequal(M:lineGetEnd(l), l['end']) end)()",
         "V(0.000000 0.000000 0.000000), true"},
        {"M:lineGetStart({}), M:lineGetEnd(5), M:boxGetMin('x')", "nil, nil, nil"},
        {"r4(M:lineClosestPoint(M:lineCreate(V(0, 0, 0), V(10, 0, 0)), V(5, 3, 0)))", "5.0000 0.0000 0.0000"},
        {"M:lineClosestPoint(M:lineCreate(V(0, 0, 0), V(10, 0, 0)), V(15, 3, 0)), "
         "M:lineClosestPoint(M:lineCreate(V(1, 2, 3), V(10, 0, 0)), V(-15, 3, 0))",
         "V(10.000000 0.000000 0.000000), V(1.000000 2.000000 3.000000)"},
        {"M:lineClosestPoint(M:lineCreate(V(1, 2, 3), V(1, 2, 3)), V(5, 5, 5))",
         "V(1.000000 2.000000 3.000000)"},

        {"M:boxCreate(V(0, 0, 0), V(1, 2, 3))",
         "{max=V(1.000000 2.000000 3.000000), min=V(0.000000 0.000000 0.000000)}"},
        {"(function() local b = M:boxCreate(V(0, 0, 0), V(1, 1, 1)) local e = M:boxExtendPoint(b, V(2, -1, "
         "0.5)) "
         "return e, b end)()",
         "{max=V(2.000000 1.000000 1.000000), min=V(0.000000 -1.000000 0.000000)}, "
         "{max=V(1.000000 1.000000 1.000000), min=V(0.000000 0.000000 0.000000)}"},
        {"M:boxExtendBox(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), M:boxCreate(V(-1, 0.5, 0.5), V(0.5, 3, 0.5)))",
         "{max=V(1.000000 3.000000 1.000000), min=V(-1.000000 0.000000 0.000000)}"},
        {"M:boxGetCentre(M:boxCreate(V(0, 0, 0), V(1, 2, 3))), M:boxGetExtents(M:boxCreate(V(1, 1, 1), V(2, "
         "4, 3)))",
         "V(0.500000 1.000000 1.500000), V(1.000000 3.000000 2.000000)"},
        {"(function() local v = M:boxGetVertices(M:boxCreate(V(0, 0, 0), V(1, 2, 3))) return #v, v[1], v[2], "
         "v[3], v[8] end)()",
         "8, V(0.000000 0.000000 0.000000), V(0.000000 2.000000 0.000000), V(0.000000 0.000000 3.000000), "
         "V(1.000000 2.000000 3.000000)"},
        {"(function() local b = M:boxCreate(V(0, 0, 0), V(1, 1, 1)) return rawequal(M:boxGetMin(b), b.min), "
         "rawequal(M:boxGetMax(b), b.max) end)()",
         "true, true"},
        {"M:boxPointInside(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), V(1, 0.5, 0.5)), "
         "M:boxPointInside(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), V(1.01, 0.5, 0.5))",
         "true, false"},
        {"M:boxIntersectsBox(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), M:boxCreate(V(1, 0, 0), V(2, 1, 1))), "
         "M:boxIntersectsBox(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), M:boxCreate(V(1.5, 0, 0), V(2, 1, 1)))",
         "true, false"},
        {"M:boxIntersectsLine(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), M:lineCreate(V(-1, 0.5, 0.5), V(2, 0.5, "
         "0.5))), "
         "M:boxIntersectsLine(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), M:lineCreate(V(-1, 2, 0.5), V(2, 2, "
         "0.5)))",
         "true, false"},
        {"M:boxIntersectsLine(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), M:lineCreate(V(1, 1, 1), V(1, 1, 1))), "
         "M:boxIntersectsLine(M:boxCreate(V(0, 0, 0), V(1, 1, 1)), M:lineCreate(V(1, 1, 1.1), V(1, 1, 1.1)))",
         "true, false"},
        // Missing fields read as zero vectors, text as a vector's text; a
        // value of another class is refused.
        {"M:boxGetExtents({ max = '1 2 3' }), M:boxGetCentre(5)",
         "V(1.000000 2.000000 3.000000), V(0.000000 0.000000 0.000000)"},
        {"pcall(M.boxGetCentre, M, { min = P(1, 2), max = V(1, 1, 1) })",
         "false, [CVectorScript] A CPointScript value was given where a CVectorScript value is expected"},
    });
}

TEST_F(IMisc, Rotations)
{
    Expect({
        {"r4(M:getLookAtRotations(V(0, 0, 1), V(0, 0, 0))), r4(M:getLookAtRotations(V(1, 0, 0), V(0, 0, 0)))",
         "0.0000 0.0000 0.0000, 0.0000 90.0000 0.0000"},
        {"r4(M:getLookAtRotations(V(0, 0, -1), V(0, 0, 0))), r4(M:getLookAtRotations(V(-1, 0, 0), V(0, 0, "
         "0)))",
         "0.0000 180.0000 0.0000, 0.0000 270.0000 0.0000"},
        {"r4(M:getLookAtRotations(V(5, 2, 3), V(5, 7, 3))), r4(M:getLookAtRotations(V(5, 7, 3), V(5, 2, 3)))",
         "90.0000 0.0000 0.0000, 270.0000 0.0000 0.0000"},
        {"r4(M:getLookAtRotations(V(0, 0, 0), V(0, 0, 1))), r4(M:getLookAtRotations(V(1, 1, 1), V(1, 1, 1)))",
         "0.0000 180.0000 0.0000, 270.0000 0.0000 0.0000"},
        {"r4(M:getOrientation(V(0, 90, 0), V(0, 0, 1))), r4(M:getOrientation(V(90, 0, 0), V(0, 0, 1)))",
         "1.0000 0.0000 0.0000, 0.0000 -1.0000 0.0000"},
        {"r4(M:getOrientationCross(V(0, 90, 0), V(0, 0, 1), V(0, 1, 0)))", "0.0000 0.0000 1.0000"},
        {"r4(M:rotateVector(V(2, 0, 0), V(1, 0, 0), V(0, 90, 0)))", "1.0000 0.0000 -1.0000"},
        {"r4(M:rotationAdd(V(-90, 0, 0), V(0, 0, 0))), r4(M:rotationSubtract(M:rotationAdd(V(10, 20, 30), "
         "V(5, -40, 60)), "
         "V(5, -40, 60)))",
         "270.0000 0.0000 0.0000, 10.0000 20.0000 30.0000"},
        {"r4(M:getRotationsAboutAxis(V(1, 0, 0), 90)), r4(M:rotationSlerp(V(0, 0, 0), V(0, 90, 0), 0.5))",
         "90.0000 0.0000 0.0000, 0.0000 45.0000 0.0000"},
        {"r4(M:transformVector(V(1, 2, 3), V(10, 0, 0), V(0, 0, 1), V(0, 1, 0))), "
         "r4(M:untransformVector(V(1, 2, 3), V(10, 0, 0), V(0, 0, 1), V(0, 1, 0)))",
         "11.0000 2.0000 3.0000, 1.0000 2.0000 3.0000"},
        {"r4(M:transformVector(V(0, 0, 1), V(0, 0, 0), V(1, 0, 0), V(0, 1, 0)))", "1.0000 0.0000 0.0000"},
    });
}

} // namespace
