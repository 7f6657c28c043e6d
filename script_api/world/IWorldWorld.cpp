// IWorld: loading, saving and unloading the world, its names and paths, and
// the world's own data bag.

#include "script_api/world/IWorldGroups.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/StringConversion.h"
#include "core/io/DataBag.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaStackFunction.h"
#include "physics/PhysicsEngine.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/ProtectedRun.h"
#include "script_api/world/WorldAccess.h"
#include "world/World.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace
{

using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using ScriptWorld::GetScriptWorld;
using ScriptWorld::GetScriptWorldData;

// World scripts that load a world run inside the load that ran them: the
// nesting is bounded, well before the parser's own limit of nested calls.
constexpr int kMaxWorldScriptDepth = 16;
int g_worldScriptDepth = 0;

// Runs the world's script protected: its outcome does not change the load's
// result, and its error is logged with the script's path.
void RunWorldScript(LuaState* state, const std::wstring& scriptPath)
{
    ++g_worldScriptDepth;
    struct SLeave
    {
        ~SLeave() { --g_worldScriptDepth; }
    } leave;
    std::string error;
    if (!RunProtected(
            state, [&] { GetScriptEngine().LoadFile(state, scriptPath); }, error))
        Misc::CLogger::WriteSystem(L"[IWorld::load] World script failed: %s: %S"_fmt, scriptPath, error);
}

// The script argument: a string names the world's script, anything else
// leaves it to the world file. The flags arrive inverted: "no search path"
// and "keep name" become the world's add-search-path and force flags. The
// world's script runs after a load, from inside the world's folder.
bool load(LuaState* state, const std::wstring& path, const std::wstring& dataFile,
          const LuaStackObject& script, bool noSearchPath, bool keepName)
{
    if (g_worldScriptDepth >= kMaxWorldScriptDepth)
        throw Misc::Error::CKVOError::Format(
            L"[IWorld::load] World loads nested too deeply: %d world scripts are running"_fmt,
            g_worldScriptDepth);
    CWorld& world = GetScriptWorld();
    CWorldData& data = world.GetData();
    const std::wstring named = script.IsString() ? script.GetWString() : std::wstring();
    if (!world.Load(path, dataFile, named.empty() ? data.GetScript() : named, !noSearchPath, !keepName))
        return false;
    // A name given here is run instead of the world file's own, found the
    // same way: only from inside the world's folder.
    const std::wstring stored = data.GetScript();
    if (!named.empty())
        data.SetScript(named);
    const std::wstring scriptPath = data.GetScriptPath();
    const std::wstring asked = data.GetScript();
    data.SetScript(stored);
    if (scriptPath.empty() && !asked.empty())
        Misc::CLogger::WriteSystem(L"[IWorld::load] Script refused: %s", asked.c_str());
    if (!scriptPath.empty())
        RunWorldScript(state, scriptPath);
    return true;
}

bool save(LuaState*, const std::wstring& path, const std::wstring& dataFile, const std::string& mode,
          bool noCopy)
{
    return GetScriptWorld().Save(path, dataFile, mode, !noCopy);
}

void unload(LuaState*)
{
    GetScriptWorld().Unload();
    if (CPhysicsEngine* physics = GetScriptEngine().GetPart<CPhysicsEngine>())
        physics->DeleteAllTypes(true);
}

// The name appended to the path as it stands, with no separator between.
bool exists(LuaState*, const std::wstring& path, const std::wstring& name)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(Misc::Text::WideToUtf8(path + name)), error);
}

std::wstring getPath(LuaState*)
{
    return GetScriptWorldData().GetPath();
}

std::wstring getPathLong(LuaState*)
{
    return GetScriptWorldData().GetPathLong();
}

std::wstring getDataFilename(LuaState*)
{
    return GetScriptWorldData().GetDataFilename();
}

std::wstring getScriptName(LuaState*)
{
    return GetScriptWorldData().GetScript();
}

void setScriptName(LuaState*, const std::wstring& name)
{
    GetScriptWorldData().SetScript(name);
}

CDataBag& Bag()
{
    return GetScriptWorldData().GetDataBag();
}

bool dataExists(LuaState*, const std::wstring& key)
{
    return Bag().Exists(key);
}

std::wstring getData(LuaState*, const std::wstring& key)
{
    std::wstring value;
    Bag().Get(key, value);
    return value;
}

int32_t getDataInt(LuaState*, const std::wstring& key)
{
    int32_t value = 0;
    Bag().GetInt(key, value);
    return value;
}

float getDataFloat(LuaState*, const std::wstring& key)
{
    float value = 0.0f;
    Bag().GetFloat(key, value);
    return value;
}

bool getDataBool(LuaState*, const std::wstring& key)
{
    bool value = false;
    Bag().GetBool(key, value);
    return value;
}

void setData(LuaState*, const std::wstring& key, const std::wstring& value)
{
    Bag().Set(key, value);
}

void setDataInt(LuaState*, const std::wstring& key, int32_t value)
{
    Bag().SetInt(key, value, false);
}

void setDataFloat(LuaState*, const std::wstring& key, float value)
{
    Bag().SetFloat(key, value);
}

void setDataBool(LuaState*, const std::wstring& key, bool value)
{
    Bag().SetBool(key, value);
}

void deleteData(LuaState*, const std::wstring& key)
{
    Bag().Delete(key);
}

void clearData(LuaState*)
{
    Bag().Clear();
}

uint32_t getDataCount(LuaState*)
{
    return static_cast<uint32_t>(Bag().GetCount());
}

} // namespace

namespace
{

const CDataBag* WorldBag(const std::string*)
{
    return &Bag();
}

void forEachData(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    ScriptWorld::WalkDataBag(&WorldBag, callback, userData, nullptr);
}

} // namespace

void RegisterIWorldWorldFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("load", &load);
    table.RegisterHelper("save", &save);
    table.RegisterHelper("unload", &unload);
    table.RegisterHelper("exists", &exists);
    table.RegisterHelper("getPath", &getPath);
    table.RegisterHelper("getName", &getPath);
    table.RegisterHelper("getPathLong", &getPathLong);
    table.RegisterHelper("getNameLong", &getPathLong);
    table.RegisterHelper("getDataFilename", &getDataFilename);
    table.RegisterHelper("getScriptName", &getScriptName);
    table.RegisterHelper("setScriptName", &setScriptName);

    table.RegisterHelper("dataExists", &dataExists);
    table.RegisterHelper("getData", &getData);
    table.RegisterHelper("getDataInt", &getDataInt);
    table.RegisterHelper("getDataFloat", &getDataFloat);
    table.RegisterHelper("getDataBool", &getDataBool);
    table.RegisterHelper("setData", &setData);
    table.RegisterHelper("setDataInt", &setDataInt);
    table.RegisterHelper("setDataFloat", &setDataFloat);
    table.RegisterHelper("setDataBool", &setDataBool);
    table.RegisterHelper("deleteData", &deleteData);
    table.RegisterHelper("clearData", &clearData);
    table.RegisterHelper("getDataCount", &getDataCount);
    table.RegisterHelper("forEachData", &forEachData);
}
