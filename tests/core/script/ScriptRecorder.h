#pragma once

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
