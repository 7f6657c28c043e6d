-- The skeleton of the hostile-input scripts: a list of values no script
-- function expects, a call that must return or fail with a clear message,
-- seeded rounds of random calls (each re-run from a coroutine), and a sweep
-- of every value through every argument position.
local hostile = {}

-- A table whose only value is collected once nothing else holds it.
function hostile.weak()
    local weak = setmetatable({}, {__mode = "v"})
    weak[1] = function() return true end
    return weak
end

-- The values every hostile script tries, then the script's own extra ones;
-- the first value is nil. weak is the weak table to include (a new one
-- when not given).
function hostile.values(extra, weak)
    local list = {
        false, true, 0, -1, 0 / 0, 1 / 0, -1 / 0, 1e308, -1e308, 2 ^ 31, -(2 ^ 31) - 1, 2 ^ 53, "",
        "nan nan nan nan", "\255\254 not utf-8", string.rep("w", 20000), {}, weak or hostile.weak(),
        coroutine.create(function() end), function() error("callback failed") end,
    }
    for _, value in ipairs(extra) do list[#list + 1] = value end
    return {nil, unpack(list)}
end

-- Calls interface[name] with the arguments: it returns, or fails with a
-- string that holds a "[Class::Method]" prefix or one of the accepted texts.
-- Whether it returned.
function hostile.expectCleanCall(check, interface, name, accepted, ...)
    local ok, message = pcall(interface[name], interface, ...)
    if not ok then
        check.eq(type(message), "string", name .. " error type")
        local known = string.find(message, "[", 1, true)
        for _, text in ipairs(accepted or {}) do
            known = known or string.find(message, text, 1, true)
        end
        check.truthy(known, name .. " failed without a clear message: " .. message)
    end
    return ok
end

-- Rounds of calls of every function with random arguments, each call
-- made again from a coroutine. The fields:
--   check, functions, rounds  what to call and how often
--   call(name, ...)           the call, returning whether it succeeded
--   arguments(name)           the arguments and their count
--   restore()                 optional: run before each call
--   afterRound()              optional: run after each round
-- The number of calls and of failed ones.
function hostile.fuzz(options)
    local check = options.check
    local calls, failures = 0, 0
    for _ = 1, options.rounds do
        for _, name in ipairs(options.functions) do
            if options.restore then options.restore() end
            local arguments, count = options.arguments(name)
            calls = calls + 1
            if not options.call(name, unpack(arguments, 1, count)) then failures = failures + 1 end
            local co = coroutine.create(function() return options.call(name, unpack(arguments, 1, count)) end)
            if options.restore then options.restore() end
            local resumed, result = coroutine.resume(co)
            check.truthy(resumed, name .. " from a coroutine: " .. tostring(result))
        end
        if options.afterRound then options.afterRound() end
        collectgarbage("collect")
    end
    return calls, failures
end

-- Random arguments: up to most values picked from the list.
function hostile.randomArguments(values, most)
    return function()
        local arguments = {}
        local count = math.random(0, most)
        for index = 1, count do arguments[index] = values[math.random(1, #values)] end
        return arguments, count
    end
end

-- Some calls fail, most do not.
function hostile.expectSomeFail(check, calls, failures)
    check.truthy(calls > failures and failures > 0, "some calls fail, most do not")
end

-- Every value of the list given to every function: restore() runs first,
-- then call(name, value).
function hostile.sweep(functions, values, restore, call)
    for _, name in ipairs(functions) do
        for index = 1, #values do
            if restore then restore() end
            call(name, values[index])
        end
    end
end

-- run() once more from a coroutine, which must run to its end.
function hostile.fromCoroutine(check, run)
    local co = coroutine.create(run)
    local resumed, result = coroutine.resume(co)
    check.truthy(resumed, "from a coroutine: " .. tostring(result))
    check.eq(coroutine.status(co), "dead", "the coroutine ran to its end")
end

return hostile
