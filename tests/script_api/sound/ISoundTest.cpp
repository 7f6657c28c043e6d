// ISound against the program's engine object on OpenAL Soft's null device:
// each group of functions registers exactly its names, the listener takes
// the script's argument order, and the entity functions reach the sonic
// part of a managed unit found through a lookup of the test's own.
#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "script_api/core/ScriptInterface.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/sound/ISoundFunctions.h"
#include "sound/SoundEngine.h"
#include "world/ManagedEntity.h"

#include "sound/SoundTestEngine.h"
#include "support/LuaTestState.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using Misc::World::IEntityInterface;

namespace
{

using CTestUnit = CManagedEntity<Graphics::Scene::CGraphicalUnit>;

const char* const kUnitId = "00000000-0000-4000-8000-0000000000a1";

// Units by id, the only entities the ISound functions find.
class CUnitLookup final : public ScriptWorld::IEntityLookup
{
public:
    CUnitLookup() : m_previous(ScriptWorld::SetEntityLookup(this)) {}
    ~CUnitLookup() { ScriptWorld::SetEntityLookup(m_previous); }
    CUnitLookup(const CUnitLookup&) = delete;
    CUnitLookup& operator=(const CUnitLookup&) = delete;

    CTestUnit& Add(const char* id)
    {
        auto unit = std::make_unique<CTestUnit>();
        unit->SetId(id);
        CTestUnit& added = *unit;
        units[id] = std::move(unit);
        return added;
    }

    IEntityInterface* FindUnit(uint32_t, std::string_view id) override { return FindAnyUnit(id); }
    IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        const auto found = units.find(std::string(id));
        return found != units.end() ? found->second.get() : nullptr;
    }

    std::map<std::string, std::unique_ptr<CTestUnit>> units;

private:
    ScriptWorld::IEntityLookup* m_previous;
};

CUnitLookup* g_lookup = nullptr;

// deleteUnit(id): the script deletes an entity, as IWorld's delete does.
int DeleteUnit(lua_State* L)
{
    g_lookup->units.erase(luaL_checkstring(L, 1));
    return 0;
}

class ISoundScript : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        state = engine->GetMainState();
        sound = engine->GetPart<CSoundEngine>();
        ASSERT_NE(sound, nullptr);
        // After the engine object, whose world installs itself as the
        // lookup: the test's own takes its place.
        lookup = std::make_unique<CUnitLookup>();
        g_lookup = lookup.get();
        lua_register(state->GetCState(), "deleteUnit", &DeleteUnit);
        folder.Write("tone.wav", MonoWave(22050, 44100));
        ASSERT_EQ(Run("assert(ISound:init('', 100, false))\n"
                      "V = function(x, y, z) return IMisc:vectorCreate(x, y, z) end\n"
                      "text = function(v) return v and string.format('%g %g %g', v:getX(), v:getY(), "
                      "v:getZ()) end\n"
                      "for _, name in ipairs({'a', 'b', 'c'}) do\n"
                      "  assert(ISound:load(name, '" +
                      folder.Path().string() +
                      "/tone.wav', false, 1, 0) == name)\n"
                      "end"),
                  "");
    }
    void TearDown() override
    {
        g_lookup = nullptr;
        lookup.reset();
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    std::string Run(const std::string& code) { return RunScript(state, code); }
    std::string Eval(const std::string& code) { return EvalScript(state, "return " + code).GetString(); }

    CTestFolder folder;
    std::unique_ptr<CScriptManager> engine;
    std::unique_ptr<CUnitLookup> lookup;
    LuaPlus::LuaState* state = nullptr;
    CSoundEngine* sound = nullptr;
};

// The names a group registers on a table of its own, sorted.
std::string GroupNames(LuaPlus::LuaState* state, ScriptFunctionGroup group)
{
    CScriptMetaTable table(state);
    group(table);
    std::vector<std::string> names;
    lua_State* L = state->GetCState();
    LuaPlus::LuaStackRestore restore(L);
    LuaPlus::PushValue(L, table.GetTable());
    lua_pushnil(L);
    while (lua_next(L, -2) != 0)
    {
        if (lua_isfunction(L, -1))
            names.push_back(lua_tostring(L, -2));
        lua_pop(L, 1);
    }
    std::sort(names.begin(), names.end());
    std::ostringstream joined;
    for (const std::string& name : names)
        joined << name << ' ';
    return joined.str();
}

std::string Sorted(const std::string& names)
{
    std::istringstream words(names);
    std::vector<std::string> list{std::istream_iterator<std::string>(words), {}};
    std::sort(list.begin(), list.end());
    std::ostringstream joined;
    for (const std::string& name : list)
        joined << name << ' ';
    return joined.str();
}

} // namespace

TEST_F(ISoundScript, EachGroupRegistersExactlyItsPartOfTheDocumentedList)
{
    // The groups in the order ISound registers them, and the names of each
    // in the order scripts know them by.
    const std::vector<std::pair<ScriptFunctionGroup, const char*>> groups = {
        {&RegisterISoundEngineFunctions,
         "init destroy isInitialised lock setDesiredFrameRate getDesiredFrameRate getTotalFrames "
         "getTotalProcessingTime getAveProcessingTime enableFrameCounter isFrameCounterEnabled"},
        {&RegisterISoundDriverFunctions,
         "getCurrentDriverName getNumberOfSoundDrivers getSoundDriverName getSoundDriverVersionMajor "
         "getSoundDriverVersionMinor getSoundDriverMaxSources getSoundDriverDefault querySoundDriverFeature "
         "forEachSoundDriver"},
        {&RegisterISoundListenerFunctions,
         "getGlobalVolume setGlobalVolume getDistanceModel setDistanceModel getSpeedOfSound setSpeedOfSound "
         "getDopplerFactor setDopplerFactor setListenerPosition enableAutoManagedCamera "
         "getAutoManagedCamera"},
        {&RegisterISoundSoundFunctions,
         "getNumberOfSounds mapSoundExtension load soundExists getSoundFilename isStreamMode play stop "
         "rewind "
         "pause isPlaying isPaused isStopped unload unloadAll getVolume setVolume getPitch setPitch "
         "isLooping "
         "setLooping getMaxDistance setMaxDistance getReferenceDistance setReferenceDistance "
         "getRolloffFactor "
         "setRolloffFactor getPosition setPosition setVelocity getDirection setDirection "
         "getDirectionConeAngleInner getDirectionConeAngleOuter getDirectionConeVolumeOuter "
         "setDirectionConeAngleParams getPlayPosition setPlayPosition forEachSound"},
        {&RegisterISoundEntityFunctions,
         "attachEntitySound detachEntitySound detachAllEntitySounds refreshEntity getNumberOfEntitySounds "
         "forEachEntitySound"},
    };
    size_t total = 0;
    for (const auto& [group, names] : groups)
    {
        const std::string expected = Sorted(names);
        EXPECT_EQ(GroupNames(state, group), expected);
        total += static_cast<size_t>(std::count(expected.begin(), expected.end(), ' '));
    }
    EXPECT_EQ(total, 76u);
}

TEST_F(ISoundScript, ListenerTakesPositionVelocityLookAtAndUpInThatOrder)
{
    sound->EnableAutoManagedCamera(false);
    ASSERT_EQ(Run("ISound:setListenerPosition(V(1, 2, 3), V(4, 5, 6), V(7, 8, 9), V(0, 0.5, -1))"), "");
    const SListener listener = ListenerOf(*sound);
    EXPECT_TRUE(SameVector(listener.position, CVector(1, 2, 3)));
    EXPECT_TRUE(SameVector(listener.velocity, CVector(4, 5, 6)));
    EXPECT_TRUE(SameVector(listener.at, CVector(7, 8, 9))); // a direction, passed as it is
    EXPECT_TRUE(SameVector(listener.up, CVector(0, 0.5f, -1)));
}

TEST_F(ISoundScript, AnUnknownEntityIdIsTheGroupsNotFoundError)
{
    for (const char* call :
         {"attachEntitySound('nope', 'a')", "detachEntitySound('nope', 'a')", "detachAllEntitySounds('nope')",
          "refreshEntity('nope')", "getNumberOfEntitySounds('nope')", "forEachEntitySound('nope', print)"})
        EXPECT_EQ(Run(std::string("ISound:") + call),
                  "test:1: [CWorldMapGroup::GetUnit] Unit not found [nope]")
            << call;
}

TEST_F(ISoundScript, EntitySoundsFollowTheUnitAndItsNames)
{
    CTestUnit& unit = lookup->Add(kUnitId);
    unit.SetPosition(CVector(1, 2, 3));
    const std::string id = std::string("'") + kUnitId + "'";
    // Not attached to the sound engine yet: nothing attaches.
    EXPECT_EQ(Eval("tostring(ISound:attachEntitySound(" + id + ", 'a'))"), "false");
    sound->AddEntity(unit.GetSonicPart());
    EXPECT_EQ(Eval("table.concat({tostring(ISound:attachEntitySound(" + id +
                   ", 'a')), tostring(ISound:attachEntitySound(" + id +
                   ", 'missing')), tostring(ISound:attachEntitySound(" + id +
                   ", 'b')), ISound:getNumberOfEntitySounds(" + id +
                   "), text(ISound:getPosition('a'))}, '|')"),
              "true|false|true|2|1 2 3");

    // The unit moves: so do its sounds.
    unit.SetPosition(CVector(-4, 5, 6.5f));
    EXPECT_EQ(Eval("text(ISound:getPosition('a')) .. '|' .. text(ISound:getPosition('b'))"),
              "-4 5 6.5|-4 5 6.5");

    // refreshEntity drops the names of sounds unloaded since; detach
    // answers whether the name was there.
    EXPECT_EQ(Eval("table.concat({ISound:unload('b') or '', ISound:getNumberOfEntitySounds(" + id +
                   "), ISound:refreshEntity(" + id + ") or '', ISound:getNumberOfEntitySounds(" + id +
                   "), tostring(ISound:detachEntitySound(" + id +
                   ", 'a')), tostring(ISound:detachEntitySound(" + id + ", 'a'))}, '|')"),
              "|2||1|true|false");
    EXPECT_EQ(Eval("table.concat({tostring(ISound:attachEntitySound(" + id +
                   ", 'a')), tostring(ISound:detachAllEntitySounds(" + id +
                   ", 'ignored')), ISound:getNumberOfEntitySounds(" + id + ")}, '|')"),
              "true|true|0");
}

TEST_F(ISoundScript, EntitySoundWalksSurviveCallbacksThatDetachOrDelete)
{
    CTestUnit& unit = lookup->Add(kUnitId);
    sound->AddEntity(unit.GetSonicPart());
    const std::string id = std::string("'") + kUnitId + "'";
    ASSERT_EQ(Run("for _, name in ipairs({'c', 'a', 'b', 'a'}) do assert(ISound:attachEntitySound(" + id +
                  ", name)) end"),
              "");
    // In their stored order, with the id and the user value; true stops.
    EXPECT_EQ(Eval("(function() local seen = {}\n"
                   "ISound:forEachEntitySound(" +
                   id +
                   ", function(entity, name, user) seen[#seen + 1] = name .. ':' .. user\n"
                   "  assert(entity == " +
                   id +
                   ") return name == 'b' end, 'u')\n"
                   "return table.concat(seen, ' ') end)()"),
              "c:u a:u b:u");
    // A callback that detaches every sound sees the names the walk began
    // with; one that deletes the entity ends nothing early either.
    EXPECT_EQ(
        Eval("(function() local seen = {}\n"
             "ISound:forEachEntitySound(" +
             id +
             ", function(entity, name) seen[#seen + 1] = name ISound:detachAllEntitySounds(entity) end)\n"
             "return table.concat(seen, ' ') .. '|' .. ISound:getNumberOfEntitySounds(" +
             id + ") end)()"),
        "c a b a|0");
    ASSERT_EQ(Run("assert(ISound:attachEntitySound(" + id + ", 'a')) assert(ISound:attachEntitySound(" + id +
                  ", 'b'))"),
              "");
    // A failing callback's error reaches the caller; a callback that is no
    // function is refused.
    EXPECT_EQ(Run("ISound:forEachEntitySound(" + id + ", function() error('callback failed', 0) end)"),
              "test:1: callback failed");
    EXPECT_EQ(Run("ISound:forEachEntitySound(" + id + ", 42)"),
              "test:1: Lua assertion failed:m_functionObj.IsFunction()");
    EXPECT_EQ(Eval("(function() local seen = {}\n"
                   "ISound:forEachEntitySound(" +
                   id +
                   ", function(entity, name) seen[#seen + 1] = name deleteUnit(entity) end)\n"
                   "return table.concat(seen, ' ') end)()"),
              "a b");
    EXPECT_EQ(lookup->units.count(kUnitId), 0u);
    EXPECT_EQ(Run("ISound:getNumberOfEntitySounds(" + id + ")"),
              std::string("test:1: [CWorldMapGroup::GetUnit] Unit not found [") + kUnitId + "]");
}
