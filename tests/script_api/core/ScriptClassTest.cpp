#include "support/ScriptApiTestState.h"

#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "platform/Console.h"

#include <string>

namespace
{

class ScriptClass : public ScriptApiTestState
{
protected:
    void SetUp() override
    {
        ScriptApiTestState::SetUp();
        // A log of events the classes below append to.
        ASSERT_EQ(Run(R"lua(
            log = {}
            function note(text) log[#log + 1] = text end
            function events() local text = table.concat(log, " ") log = {} return text end
            Base = IMisc:classDefine()
            function Base:__construct(a, b) note("Base(" .. tostring(a) .. "," .. tostring(b) .. ")") self.a = a end
            function Base:__destruct() note("~" .. tostring(self.name)) end
            function Base:hello() return "hello " .. tostring(self.a) end
            Derived = IMisc:classDefine(Base)
        )lua"),
                  "");
    }
};

TEST_F(ScriptClass, DefineAndCreateTableInstances)
{
    EXPECT_EQ(Show(R"lua((function()
        local d = IMisc:classCreateInstance(Derived, 1, 2)
        return events(), d:hello(), rawequal(getmetatable(d), Derived), rawequal(Derived.__index, Derived)
    end)())lua"),
              "Base(1,2), hello 1, true, true");
    // The derived constructor replaces the base one (no chaining) and always
    // receives seven arguments besides self.
    EXPECT_EQ(Show(R"lua((function()
        function Derived:__construct(...) note("Derived#" .. select("#", ...) .. "," .. tostring(select(8, self, ...))) end
        IMisc:classCreateInstance(Derived, 1, 2, 3, 4, 5, 6, 7, 8, 9)
        Derived.__construct = nil
        return events()
    end)())lua"),
              "Derived#7,7");
    // A class named by a global; a class with no constructor at all.
    EXPECT_EQ(Show("IMisc:classCreateInstance('Base', 'x'):hello(), events()"), "hello x, Base(x,nil)");
    EXPECT_EQ(Show("IMisc:classCreateInstance(IMisc:classDefine()) ~= nil"), "true");
    // classDefine ignores a base that is not a table, strings included.
    EXPECT_EQ(Show("getmetatable(IMisc:classDefine('Base')), getmetatable(IMisc:classDefine(5))"),
              "nil, nil");
    // Metamethods of the class apply to table instances.
    EXPECT_EQ(Show(R"lua((function()
        Base.__tostring = function(self) return "Base instance" end
        local text = tostring(IMisc:classCreateInstance(Base))
        Base.__tostring = nil
        return text, events()
    end)())lua"),
              "Base instance, Base(nil,nil)");
}

TEST_F(ScriptClass, CreateErrors)
{
    const std::string message = "false, [classCreateInstance] classDefinition must be a Lua table or string";
    EXPECT_EQ(Show("pcall(IMisc.classCreateInstance, IMisc, 'NoSuchClass')"), message);
    EXPECT_EQ(Show("pcall(IMisc.classCreateInstance, IMisc, 5)"), message);
    EXPECT_EQ(Show("pcall(IMisc.classCreateInstanceUD, IMisc, nil)"), message);
    // A failing constructor fails the call with its message.
    EXPECT_EQ(Show(R"lua(pcall(function()
        local Broken = IMisc:classDefine()
        function Broken:__construct() error("no way") end
        local instance = IMisc:classCreateInstance(Broken) return instance
    end))lua"),
              "false, test:4: test:3: no way");
}

TEST_F(ScriptClass, UserDataInstancesKeepFieldsAndRunTheirDestructorOnce)
{
    EXPECT_EQ(Show(R"lua((function()
        local u = IMisc:classCreateInstanceUD(Derived, 7)
        u.speed = 5
        u.name = "u"
        return type(u), u.speed, u:hello(), events()
    end)())lua"),
              "userdata, 5, hello 7, Base(7,nil)");
    EXPECT_EQ(Show("collectgarbage(), collectgarbage(), events()"), "0, 0, ~u");
    // Only __index, __newindex and __gc act on the userdata.
    EXPECT_EQ(Show(R"lua((function()
        Base.__tostring = function() return "Base instance" end
        local text = tostring(IMisc:classCreateInstanceUD(Base)):sub(1, 9)
        Base.__tostring = nil
        events()
        return text
    end)())lua"),
              "userdata:");
    // Instances still alive when the state closes are destroyed with it.
    EXPECT_EQ(Run("kept = IMisc:classCreateInstanceUD(Base) kept.name = 'kept'"), "");
    EXPECT_EQ(Show("events()"), "Base(nil,nil)");
}

TEST_F(ScriptClass, DestructorOrder)
{
    // Collected instances each run their own class's destructor.
    EXPECT_EQ(Show(R"lua((function()
        local Other = IMisc:classDefine(Base)
        function Other:__destruct() note("other " .. self.name) end
        do
            local a = IMisc:classCreateInstanceUD(Base) a.name = "a"
            local b = IMisc:classCreateInstanceUD(Other) b.name = "b"
        end
        events()
        collectgarbage()
        collectgarbage()
        local seen = events()
        return seen == "other b ~a" or seen == "~a other b"
    end)())lua"),
              "true");
}

// A destructor that fails is logged and the collection goes on.
TEST_F(ScriptClass, FailingDestructorIsLoggedNotRaised)
{
    auto* logger = Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
    const int32_t level = logger->GetOutputLevel();
    logger->SetOutputLevel(0);
    std::string output;
    Platform::SetConsoleSink([&output](std::string_view bytes) { output.append(bytes); });
    Platform::ShowConsole();
    EXPECT_EQ(Run(R"lua(
        local Bad = IMisc:classDefine()
        function Bad:__destruct() error("cleanup failed") end
        IMisc:classCreateInstanceUD(Bad)
        collectgarbage()
        collectgarbage()
        after = "reached"
    )lua"),
              "");
    Platform::HideConsole();
    Platform::SetConsoleSink(nullptr);
    logger->SetOutputLevel(level);
    EXPECT_EQ(Show("after"), "reached");
    EXPECT_NE(output.find("[IMisc] A script destructor (__destruct) failed: test:3: cleanup failed"),
              std::string::npos)
        << output;
}

TEST_F(ScriptClass, MethodSearchEndsOnCycles)
{
    // A class that is its own metatable, with and without a constructor.
    EXPECT_EQ(Show(R"lua((function()
        local Loop = IMisc:classDefine()
        setmetatable(Loop, Loop)
        function Loop:__construct() note("Loop") end
        local ok = IMisc:classCreateInstance(Loop) ~= nil
        return ok, events()
    end)())lua"),
              "true, Loop");
    EXPECT_EQ(Show(R"lua(pcall(function()
        local Loop = IMisc:classDefine()
        setmetatable(Loop, Loop)
        local instance = IMisc:classCreateInstance(Loop) return instance
    end))lua"),
              "false, test:4: loop in gettable");
    // Two tables that are each other's metatable, without __index.
    EXPECT_EQ(Show(R"lua((function()
        local A, B = {}, {}
        setmetatable(A, B) setmetatable(B, A)
        local u = IMisc:classCreateInstanceUD(A)
        return type(u)
    end)())lua"),
              "userdata");
}

TEST_F(ScriptClass, Attach)
{
    EXPECT_EQ(Show(R"lua((function()
        local t = { a = 3 }
        return IMisc:classAttach(t, Base), t:hello(), events()
    end)())lua"),
              "true, hello 3, ");
    // A userdata without a metatable gets a field table and a destructor.
    EXPECT_EQ(Show(R"lua((function()
        local u = newproxy(false)
        IMisc:classAttach(u, Base)
        u.name = "proxy"
        u.a = 4
        return u:hello()
    end)())lua"),
              "hello 4");
    EXPECT_EQ(Show("collectgarbage(), events()"), "0, ~proxy");
    // A userdata with a metatable of its own gets the class as metatable.
    EXPECT_EQ(Show(R"lua((function()
        local u = newproxy(true)
        IMisc:classAttach(u, Base)
        return rawequal(getmetatable(u), Base)
    end)())lua"),
              "true");

    Expect({
        {"pcall(IMisc.classAttach, IMisc, {}, 'Base')",
         "false, [IMisc::classAttach] classDefinition must be a Lua table"},
        {"pcall(IMisc.classAttach, IMisc, 5, Base)",
         "false, [IMisc::classAttach] object must be a Lua table or userdata"},
        {"select(2, pcall(IMisc.classAttach, IMisc, 'text', Base)), getmetatable('').hello",
         "[IMisc::classAttach] object must be a Lua table or userdata, nil"},
        {"pcall(IMisc.classAttach, IMisc, nil, Base)",
         "false, [IMisc::classAttach] object must be a Lua table or userdata"},
        {"select(2, pcall(IMisc.classAttach, IMisc, IMisc, Base)), IMisc.vectorCreate ~= nil",
         "[IMisc::classAttach] object has a protected metatable, true"},
        {"pcall(IMisc.classAttach, IMisc, IMisc:vectorCreate(1, 2, 3), Base)",
         "false, [IMisc::classAttach] object has a protected metatable"},
    });
}

} // namespace
