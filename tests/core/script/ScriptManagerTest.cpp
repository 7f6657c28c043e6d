#include "support/ScriptHostFixture.h"

#include "core/app/SimulationManager.h"
#include "core/events/Multicast.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/script/LuaUtilities.h"
#include "core/script/lua/CallGuarded.h"

#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace
{

const char* const kInterfaces[] = {"IApp",  "IMisc",    "ILog",   "IState", "IEvents", "IGraphics",
                                   "ISkin", "IPhysics", "ISound", "IKey",   "IMouse",  "IWorld"};

TEST_F(ScriptHost, LoadFileTriesTheExtensionsInOrder)
{
    struct Case
    {
        std::vector<std::string> files;
        const char* loaded;
    };
    const Case cases[] = {
        {{"menu.lua"}, "menu.lua"},
        {{"menu.kvo", "menu.lua"}, "menu.kvo"},
        {{"menu", "menu.kvo", "menu.lua"}, "menu"},
        {{"menu.kvobin", "menu.kvo"}, "menu.kvobin"},
        {{"menu.kvoscript", "menu.kvobin", "menu.lua"}, "menu.kvoscript"},
    };
    int index = 0;
    for (const Case& c : cases)
    {
        const std::string caseFolder = "case" + std::to_string(++index) + "/";
        for (const std::string& file : c.files)
            Write(caseFolder + file, "return '" + file + "'");
        LuaObject result;
        const std::wstring name = Misc::Text::Utf8ToWide((folder / caseFolder / "menu").string());
        ASSERT_TRUE(engine->LoadFile(nullptr, name, &result)) << index;
        EXPECT_EQ(result.GetString(), c.loaded) << index;
    }
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ScriptHost, MissingFilesAndTextChunks)
{
    EXPECT_FALSE(engine->LoadFile(nullptr, Misc::Text::Utf8ToWide((folder / "absent").string())));
    EXPECT_FALSE(engine->LoadFile(nullptr, L""));

    EXPECT_TRUE(engine->DoBuffer(nullptr, "fromBuffer = 6 * 7", "=buffer"));
    EXPECT_EQ(Global("fromBuffer").GetNumber(), 42.0);

    LuaState* second = LuaState::Create(true);
    Write("second.lua", "onSecond = true");
    EXPECT_TRUE(engine->LoadFile(second, Misc::Text::Utf8ToWide((folder / "second").string())));
    EXPECT_TRUE(second->GetGlobals().Get("onSecond").GetBoolean());
    EXPECT_TRUE(Global("onSecond").IsNil());
    LuaState::Destroy(second);

    try
    {
        LuaUtilities::LoadFile(state, nullptr);
        ADD_FAILURE() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessageUtf8(), "[LuaUtilities::LoadFile] Invalid file handle");
    }
}

// loadScript(name): the engine's loading from inside a script call.
int LoadScript(lua_State* L)
{
    return LuaPlus::CallGuarded(L,
                                [L]
                                {
                                    LuaObject result;
                                    const bool found = CScriptManager::GetInstance()->LoadFile(
                                        LuaState::CastState(L), LuaPlus::lua_towstring(L, 1), &result);
                                    lua_pushboolean(L, found ? 1 : 0);
                                    result.Push(L);
                                    return 2;
                                });
}

TEST_F(ScriptHost, ScriptErrorsWhileLoadingAreRaisedOnTheState)
{
    lua_register(L, "loadScript", &LoadScript);
    Write("broken.lua", "local a = 1\nerror('broken at load')");
    Write("syntax.lua", "return (");
    Write("fine.lua", "return 'fine'");
    lua_pushstring(L, folder.string().c_str());
    lua_setglobal(L, "folder");
    EXPECT_EQ(Run("local ok, message = pcall(loadScript, folder .. '/broken')\n"
                  "assert(not ok and message:find('broken.lua:2: broken at load', 1, true), message)\n"
                  "ok, message = pcall(loadScript, folder .. '/syntax')\n"
                  "assert(not ok and message:find('syntax.lua:1:', 1, true), message)\n"
                  "local found, result = loadScript(folder .. '/fine')\n"
                  "assert(found and result == 'fine')\n"
                  "assert(loadScript(folder .. '/absent') == false)"),
              "");
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ScriptHost, TheEngineModuleOpensOnEveryState)
{
    LuaState* second = LuaState::Create(true);
    lua_State* S = second->GetCState();
    for (const char* name : kInterfaces)
        EXPECT_TRUE(second->GetGlobals().Get(name).IsNil()) << name;
    ASSERT_EQ(luaL_dostring(S, "assert(require('engine') == 'engine')\n"
                               "assert(not pcall(require, 'other'))"),
              0)
        << lua_tostring(S, -1);
    for (const char* name : kInterfaces)
    {
        const LuaObject object = second->GetGlobals().Get(name);
        EXPECT_TRUE(object.IsUserData()) << name;
        EXPECT_EQ(object.GetMetaTable().Get("__metatable").GetString(), "Metatable is readonly") << name;
        // Both states box the same process-wide interface object.
        EXPECT_EQ(*static_cast<void**>(object.GetUserData()),
                  *static_cast<void**>(Global(name).GetUserData()))
            << name;
    }
    LuaState::Destroy(second);
}

TEST_F(ScriptHost, QuitPublishesAndEndsTheProcessOnlyForAStatus)
{
    struct CQuitListener : Misc::Multicast::CSubscriber<Simulation::Multicast::CEvtQuit>
    {
        bool OnEvent(const Simulation::Multicast::CEvtQuit& event) override
        {
            engine = event.engine;
            return true;
        }
        Simulation::CSimulationManager* engine = nullptr;
    } listener;
    Misc::Multicast::CMulticast<Simulation::Multicast::CEvtQuit>::Subscribe(&listener, 0);
    engine->Quit(0);
    Misc::Multicast::CMulticast<Simulation::Multicast::CEvtQuit>::Unsubscribe(&listener);
    EXPECT_EQ(listener.engine, engine.get());

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(engine->Quit(3), ::testing::ExitedWithCode(3), "");
    // Only 8 bits reach the parent: 256 must not read as success.
    EXPECT_EXIT(engine->Quit(256), ::testing::ExitedWithCode(255), "");
    EXPECT_EXIT(engine->Quit(-1), ::testing::ExitedWithCode(255), "");
}

} // namespace

// Parts read outside any engine (a sonic part's older sounds) load through
// the engine object as the layers below the script host see it.
TEST_F(ScriptHost, TheEngineObjectIsTheOneTheLowerLayersSee)
{
    EXPECT_EQ(Simulation::CSimulationManager::GetEngineObject(), engine.get());
    CScriptManager::SetInstance(nullptr);
    EXPECT_EQ(Simulation::CSimulationManager::GetEngineObject(), nullptr);
}
