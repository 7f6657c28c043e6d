--! args: x
--! stdout: ran OnStateRun with x
-- "OnStateRun" is the last choice, and it gets the arguments too.
function OnStateRun(argument)
    print("ran OnStateRun with " .. tostring(argument))
end
