#pragma once

#include "support/LuaTestState.h"

#include <string>

// Script code for tests: record(...) keeps its arguments as one "a,b,c"
// line in the global table `calls` and returns the global `result`.
inline const char* const kRecorder = R"(
    calls = {}
    function record(...)
        local parts = {}
        for i = 1, select('#', ...) do parts[i] = tostring((select(i, ...))) end
        calls[#calls + 1] = table.concat(parts, ",")
        return result
    end
)";

// The calls recorded on the state since the last look, "|"-separated.
inline std::string TakeRecordedCalls(LuaPlus::LuaState* state)
{
    return EvalScript(state, "local joined = table.concat(calls, '|') calls = {} return joined").GetString();
}
