// The skeleton of the script reference (docs/reference.md): every function
// the script interfaces publish, with the kinds of its arguments and result
// as the binding layer knows them from the registration. Functions the
// binding layer does not describe (plain Lua C functions) show "(?)" and are
// completed by hand in the reference.
//
//     HALVANE_REFERENCE_SKELETON=1 test_script_api_core --gtest_filter=ReferenceSkeleton.*
//
// prints it. The test itself checks that every C++ type a registered
// function reads or answers has a name in the reference's words, so the
// skeleton stays whole when a new argument type comes.
#include "core/script/ScriptManager.h"
#include "core/script/ScriptState.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/ScriptDispatcher.h"
#include "script_api/core/ScriptInterfaces.h"
#include "support/LuaTestState.h"

#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{

struct SNote
{
    std::vector<LuaPlus::ScriptParameterNote> parameters;
    const std::type_info* result = nullptr;
};

std::map<std::string, SNote>& Notes()
{
    static std::map<std::string, SNote> notes;
    return notes;
}

void Listen(const std::string& qualifiedName, const std::vector<LuaPlus::ScriptParameterNote>& parameters,
            const std::type_info& result)
{
    Notes()[qualifiedName] = SNote{parameters, &result};
}

std::string Demangle(const std::type_info& type)
{
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string text = status == 0 && name != nullptr ? name : type.name();
    std::free(name);
    return text;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// The reference's word for a C++ type; empty when it has none.
std::string KindOf(const std::type_info& type)
{
    const std::string name = Demangle(type);
    struct SRule
    {
        const char* part;
        const char* kind;
    };
    // The first rule whose text the type's name holds.
    static const SRule rules[] = {
        {"OptionalScriptHandle<", "handle or nil"},
        {"MeshOrEntity", "mesh name or entity id"},
        {"ScriptHandle<", "handle"},
        {"NamedOrNull<AllUnits", "entity id or nil"},
        {"NamedOrAbsent<", "sound name"},
        {"Joint", "joint id"},
        {"Sound", "sound name"},
        {"ControlLookup", "control name"},
        {"Units", "entity id"},
        {"UnitParts<", "entity id"},
        {"Saturating<", "whole number"},
        {"Exact<", "whole number"},
        {"LuaPlus::Index", "index"},
        {"LuaStackTable", "table"},
        {"LuaStackFunction", "function"},
        {"LuaFunction", "function"},
        {"LuaStackObject", "value"},
        {"LuaObject", "value"},
        {"basic_string", "string"},
        {"CVector", "vector"},
        {"CColor", "color"},
        {"CRect", "rect"},
        {"CPoint", "point"},
    };
    for (const SRule& rule : rules)
        if (Contains(name, rule.part))
            return rule.kind;
    if (name == "bool")
        return "bool";
    if (name == "void")
        return "nothing";
    if (name == "char const*" || name == "wchar_t const*")
        return "string";
    static const char* const numbers[] = {
        "int",   "unsigned int", "long",          "unsigned long", "short",     "unsigned short",
        "float", "double",       "unsigned char", "signed char",   "long long", "unsigned long long"};
    for (const char* number : numbers)
        if (name == number)
            return "number";
    return std::string();
}

class ReferenceSkeleton : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("HALVANE_MESSAGEBOX", "no", 1);
        Notes().clear();
        LuaPlus::SetRegistrationListener(&Listen);
        engine =
            std::make_unique<CScriptManager>(CScriptManager::SComposition{{}, &RegisterScriptInterfaces});
        LuaPlus::SetRegistrationListener(nullptr);
        CScriptManager::SetInstance(engine.get());
        state = engine->GetMainState();
        ASSERT_NE(state, nullptr);
    }
    void TearDown() override
    {
        CScriptState::SetDefaultErrorHandler(LuaPlus::LuaObject());
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    // "table function" lines of every function the tables publish, sorted.
    std::vector<std::string> Published()
    {
        lua_State* L = state->GetCState();
        LuaPlus::LuaStackRestore restore(L);
        const std::string code = R"lua(
            local lines = {}
            for _, table in ipairs{"IApp", "IMisc", "IState", "IEvents", "IGraphics", "ISkin", "IPhysics",
                                   "ISound", "IWorld", "IKey", "IMouse", "ILog",
                                   "CPointScript", "CVectorScript", "CRectScript", "CColorScript"} do
                local functions = type(_G[table]) == "table" and _G[table] or debug.getmetatable(_G[table])
                for name, value in pairs(functions or {}) do
                    if type(value) == "function" and not name:find("^__") then
                        lines[#lines + 1] = table .. " " .. name
                    end
                end
            end
            table.sort(lines)
            return table.concat(lines, "\n")
        )lua";
        EXPECT_TRUE(CallScript(state, code, 1));
        std::vector<std::string> lines;
        std::istringstream text(lua_tostring(L, -1) != nullptr ? lua_tostring(L, -1) : "");
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    std::unique_ptr<CScriptManager> engine;
    LuaPlus::LuaState* state = nullptr;
};

TEST_F(ReferenceSkeleton, EveryKindOfArgumentAndResultHasAName)
{
    const std::vector<std::string> published = Published();
    ASSERT_GT(published.size(), 1000u);
    ASSERT_GT(Notes().size(), 900u);
    const bool print = std::getenv("HALVANE_REFERENCE_SKELETON") != nullptr;
    std::string table;
    for (const std::string& line : published)
    {
        const std::string owner = line.substr(0, line.find(' '));
        const std::string name = line.substr(line.find(' ') + 1);
        if (print && owner != table)
            std::printf("\n## %s\n\n", owner.c_str());
        table = owner;
        const auto found = Notes().find(owner + "::" + name);
        if (found == Notes().end())
        {
            if (print)
                std::printf("- `%s(?)` -> ?\n", name.c_str());
            continue;
        }
        std::string arguments;
        for (const LuaPlus::ScriptParameterNote& parameter : found->second.parameters)
        {
            if (parameter.slots == 0)
                continue;
            const std::string kind = KindOf(*parameter.type);
            EXPECT_FALSE(kind.empty()) << owner << "::" << name << ": " << Demangle(*parameter.type);
            arguments += (arguments.empty() ? "" : ", ") + kind;
        }
        const std::string result = KindOf(*found->second.result);
        EXPECT_FALSE(result.empty()) << owner << "::" << name << " answers "
                                     << Demangle(*found->second.result);
        if (print)
            std::printf("- `%s(%s)` -> %s\n", name.c_str(), arguments.c_str(), result.c_str());
    }
}

} // namespace
