#pragma once

#include "script_api/core/IMisc.h"
#include "support/LuaTestState.h"

#include <string>
#include <vector>

// A state with IMisc and the value classes registered, and the script
// function show(...) that prints values for comparison: numbers with six
// significant digits, value objects as P(...), V(...), R(...), C(...) around
// their text form, tables as {key=value, ...} with sorted keys.
class ScriptApiTestState : public LuaTestState
{
protected:
    void SetUp() override
    {
        LuaTestState::SetUp();
        RegisterIMisc(state);
        ASSERT_EQ(Run(kShow), "");
    }

    struct Case
    {
        const char* expression;
        const char* expected;
    };

    // Each expression shown must read as expected.
    void Expect(const std::vector<Case>& cases)
    {
        for (const Case& c : cases)
            EXPECT_EQ(Show(c.expression), c.expected) << c.expression;
    }

    // show(<expression>) as text; a script error gives "error: <message>".
    std::string Show(const std::string& expression)
    {
        LuaPlus::LuaStackRestore restore(L);
        if (!CallScript(state, "return show(" + expression + ")", 1))
            return std::string("error: ") + (lua_isstring(L, -1) ? lua_tostring(L, -1) : "?");
        return lua_tostring(L, -1);
    }

private:
    static constexpr const char* kShow = R"lua(
        local classes = { CPointScript = "P", CVectorScript = "V", CRectScript = "R", CColorScript = "C" }
        local function one(v)
            if type(v) == "number" then
                if v ~= v then return "nan" end
                return string.format("%.6g", v)
            elseif type(v) == "userdata" then
                local mt = debug.getmetatable(v)
                for name, tag in pairs(classes) do
                    if rawequal(mt, _G[name]) then return tag .. "(" .. tostring(v) .. ")" end
                end
                return "userdata"
            elseif type(v) == "table" then
                local keys = {}
                for k in pairs(v) do keys[#keys + 1] = k end
                table.sort(keys, function(a, b) return tostring(a) < tostring(b) end)
                local parts = {}
                for i, k in ipairs(keys) do parts[i] = tostring(k) .. "=" .. one(v[k]) end
                return "{" .. table.concat(parts, ", ") .. "}"
            end
            return tostring(v)
        end
        function show(...)
            local parts = {}
            for i = 1, select("#", ...) do parts[i] = one((select(i, ...))) end
            return table.concat(parts, ", ")
        end
    )lua";
};
