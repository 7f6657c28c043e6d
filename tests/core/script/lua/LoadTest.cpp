#include "support/LuaTestState.h"
#include "support/TestFolder.h"

#include "core/foundation/KVOError.h"

#include <filesystem>
#include <iterator>
#include <random>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace
{

namespace fs = std::filesystem;

class Loading : public LuaTestState
{
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        return m_scratch.Write(name, bytes);
    }

    // Loads and runs the file; its first result, or the error message.
    std::string LoadAndRun(const std::string& path)
    {
        LuaPlus::LuaStackRestore restore(L);
        if (state->LoadFile(path.c_str()) != 0 || state->PCall(0, 1) != 0)
            return "error: " + std::string(lua_tostring(L, -1));
        return lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
    }

    CTestFolder m_scratch;
    const fs::path m_folder = m_scratch.Path();
};

TEST_F(Loading, ByteOrderMarksAndEncodings)
{
    const std::string utf16le("\xFF\xFEr\0e\0t\0u\0r\0n\0 \0'\0\xE9\0'\0", 22);
    const std::string utf16be("\xFE\xFF\0r\0e\0t\0u\0r\0n\0 \0'\0\xE9\0'", 22);
    struct Case
    {
        const char* name;
        std::string bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"plain.lua", "return 'plain'", "plain"},   {"bom.lua", "\xEF\xBB\xBFreturn 'bom'", "bom"},
        {"utf16le.lua", utf16le, "\xC3\xA9"},       {"utf16be.lua", utf16be, "\xC3\xA9"},
        {"utf16odd.lua", utf16le + "x", "error: "}, // the stray byte becomes U+FFFD: a syntax error
    };
    for (const Case& c : cases)
    {
        const std::string result = LoadAndRun(Write(c.name, c.bytes));
        EXPECT_EQ(result.substr(0, std::string(c.expected).size()), c.expected) << c.name << ": " << result;
    }
}

TEST_F(Loading, ChunkNamesAndFailures)
{
    const std::string path = Write("named.lua", "return debug.getinfo(1, 'S').source");
    EXPECT_EQ(LoadAndRun(path), "@" + path);
    EXPECT_EQ(LoadAndRun(Write("syntax.lua", "return (")),
              "error: " + m_folder.string() + "/syntax.lua:1: unexpected symbol near '<eof>'");
    EXPECT_EQ(state->LoadFile((m_folder / "none.lua").c_str()), LUA_ERRFILE);
    EXPECT_EQ(std::string(lua_tostring(L, -1)),
              "[LuaState::LoadFile] Failed to open file:" + (m_folder / "none.lua").string());
    lua_pop(L, 1);
}

TEST_F(Loading, PrecompiledChunksAreRefused)
{
    // The VM's own chunks ("\27LJ") and Lua 5.1's ("\27Lua"), also behind
    // what the VM's reader skips before it looks.
    const std::string dump = Eval("return string.dump(function() return 1 end)").GetString();
    ASSERT_EQ(dump.substr(0, 3), "\033LJ");
    const std::string lua51 = std::string(LUA_SIGNATURE) + std::string("\x51\0\1\4\x08\4\x08\0", 8);
    for (const std::string& chunk : {dump, lua51, "#!/usr/bin/env lua\n" + dump, "#\r\n" + lua51})
    {
        EXPECT_EQ(state->LoadBuffer(chunk.data(), chunk.size(), "=dumped"), LUA_ERRSYNTAX);
        EXPECT_STREQ(lua_tostring(L, -1),
                     "[LuaState::LoadBuffer] Precompiled chunks are not accepted: dumped");
        lua_pop(L, 1);
    }
    const std::string path = Write("compiled.kvobin", "\xEF\xBB\xBF" + dump);
    EXPECT_EQ(LoadAndRun(path), "error: [LuaState::LoadBuffer] Precompiled chunks are not accepted: " + path);
}

// Seeded runs of headers the VM's reader may skip (byte-order marks, "#"
// lines with every line end, stray bytes) in front of a valid chunk of the
// VM's bytecode (a function returning 1). No load runs that function: a
// load fails, refused by the engine or as source that does not parse, but
// never by the VM's own bytecode check (the VM saw bytecode the engine's
// check let through), or it is source (a "#" line over the whole chunk).
TEST_F(Loading, HeadersNeverHideBytecode)
{
    const std::string dump = Eval("return string.dump(function() return 1 end)").GetString();
    const char* const pieces[] = {"\xEF\xBB\xBF", "#", "#!x", "\n", "\r", "\r\n", "\n\r", " ", "\xEF", "--c"};
    std::mt19937 random(62);
    for (int run = 0; run < 3000; ++run)
    {
        std::string chunk;
        for (int count = static_cast<int>(random() % 4); count > 0; --count)
            chunk += pieces[random() % std::size(pieces)];
        chunk += dump;
        for (const bool throughLoadString : {false, true})
        {
            const int top = lua_gettop(L);
            if (throughLoadString)
            {
                lua_getglobal(L, "loadstring");
                lua_pushlstring(L, chunk.data(), chunk.size());
                ASSERT_EQ(lua_pcall(L, 1, 2, 0), 0);
                if (!lua_isnil(L, -2))
                    lua_pop(L, 1);
            }
            else if (state->LoadBuffer(chunk.data(), chunk.size(), "=fuzz") != 0)
            {
                lua_pushnil(L);
                lua_insert(L, -2);
            }
            if (lua_isfunction(L, -1))
            {
                ASSERT_EQ(lua_pcall(L, 0, 1, 0), 0);
                EXPECT_TRUE(lua_isnil(L, -1)) << testing::PrintToString(chunk);
            }
            else
            {
                const std::string message = lua_tostring(L, -1);
                EXPECT_EQ(message.find("bytecode"), std::string::npos)
                    << testing::PrintToString(chunk) << ": " << message;
            }
            lua_settop(L, top);
        }
    }
}

TEST_F(Loading, PanicMessageNamesFileAndLine)
{
    // Lua shortens long paths in messages ("...tail"); the panic message
    // still names the whole path.
    const std::string path = Write(std::string(70, 'd') + "/fails.lua", "local x = 1\nerror('boom: at x')\n");
    const std::string error = LoadAndRun(path);
    ASSERT_EQ(error.substr(0, 10), "error: ...");
    EXPECT_EQ(state->ToPanicMessage(error.substr(7)), path + "|2|boom: at x");

    struct Case
    {
        const char* message;
        const char* expected;
    };
    const Case cases[] = {
        {"other.lua:7: a: b", "other.lua|7|a: b"},
        {"[string \"x = \"]:1: unexpected symbol", "[string \"x = \"]:1: unexpected symbol"},
        {"no position here", "no position here"},
        {"...unknown/path.lua:3: cut", "...unknown/path.lua:3: cut"},
        {"a:b:12:text", "a:b|12|text"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(state->ToPanicMessage(c.message), c.expected) << c.message;
}

int PrintPanic(lua_State* L)
{
    std::fprintf(stderr, "panic<%s>\n", lua_tostring(L, -1));
    return 0;
}

TEST_F(Loading, TopLevelErrorReachesThePanicFunction)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string path = Write("top.lua", "\n\nerror('top level')\n");
    EXPECT_EXIT(
        {
            state->AtPanic(&PrintPanic);
            if (state->LoadFile(path.c_str()) != 0 || state->PCall(0, 1) != 0)
                state->Error();
        },
        ::testing::ExitedWithCode(1), "panic<.*/top.lua\\|3\\|top level>");
    EXPECT_EXIT(
        {
            if (state->LoadFile(path.c_str()) != 0 || state->PCall(0, 1) != 0)
                state->Error();
        },
        ::testing::ExitedWithCode(1),
        "PANIC: unprotected error in call to Lua API \\(.*top.lua\\|3\\|top level\\)");
}

std::string g_opened;
int OpenModule(lua_State* L)
{
    g_opened = luaL_checkstring(L, 1);
    if (LuaState::CastState(L)->GetGlobals()["failOpen"].GetBoolean())
        throw Misc::Error::CKVOError(L"[OpenModule] cannot open");
    lua_pushboolean(L, 1);
    lua_setglobal(L, "ENGINE_OPENED");
    return 1;
}

using EngineModule = LuaTestState;

TEST_F(EngineModule, OpensOnEveryState)
{
    EXPECT_EQ(Run("local ok, message = pcall(require, 'engine')\n"
                  "assert(not ok and message:find('No handler opens the module \"engine\"'), message)"),
              "");

    LuaPlus::set_luaopen_userfunc(&OpenModule);
    LuaState* second = LuaState::Create(true);
    EXPECT_EQ(RunScript(second, "assert(require('engine') == 'engine' and ENGINE_OPENED)\n"
                                "assert(not pcall(require, 'enginex'))"),
              "");
    EXPECT_EQ(g_opened, "engine");
    EXPECT_EQ(RunScript(second, "package.loaded.engine = nil failOpen = true\n"
                                "local ok, message = pcall(require, 'engine')\n"
                                "assert(message:find('[OpenModule] cannot open', 1, true), message)"),
              "");
    LuaState::Destroy(second);
    LuaPlus::set_luaopen_userfunc(nullptr);
}

} // namespace
