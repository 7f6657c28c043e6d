#include "core/script/ScriptManager.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "core/script/LuaUtilities.h"
#include "core/script/ManagedEventHandler.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <string_view>

namespace
{

std::atomic<CScriptManager*> g_instance{nullptr};
// Like the module-open hook it serves, one for the process.
std::atomic<CScriptManager::RegisterInterfaces> g_registerInterfaces{nullptr};

} // namespace

CScriptManager::CScriptManager() : CScriptManager(SComposition()) {}

CScriptManager::CScriptManager(const SComposition& composition)
    : Simulation::CSimulationManager(composition.addParts)
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    m_mainState = LuaPlus::LuaState::Create(true);
    if (m_mainState != nullptr)
    {
        g_registerInterfaces.store(composition.registerInterfaces);
        if (composition.registerInterfaces != nullptr)
            composition.registerInterfaces(m_mainState);
        m_mainState->AtPanic(&CScriptManager::OnPanic);
        LuaPlus::set_luaopen_userfunc(&CScriptManager::OnModuleOpen);
    }
}

CScriptManager::~CScriptManager()
{
    if (m_mainState != nullptr)
    {
        // Script event handlers call into the state: none may stay on a
        // channel once it is closed.
        CManagedEventHandler::ReleaseAll();
        LuaPlus::LuaState::Destroy(m_mainState);
        m_mainState = nullptr;
    }
}

void CScriptManager::SetInstance(CScriptManager* instance)
{
    Simulation::CSimulationManager::SetEngineObject(instance);
    g_instance.store(instance);
}

CScriptManager* CScriptManager::GetInstance()
{
    return g_instance.load();
}

void CScriptManager::Quit(int32_t status)
{
    Simulation::CSimulationManager::Quit(0);
    if (status != 0 && GetExitOnQuit())
        EndProcess(status);
}

const std::vector<std::wstring>& CScriptManager::GetScriptExtensions()
{
    static const std::vector<std::wstring> extensions{L".kvoscript", L".kvobin", L".kvo", L".lua"};
    return extensions;
}

bool CScriptManager::LoadFile(LuaPlus::LuaState* state, const std::wstring& name, LuaPlus::LuaObject* result)
{
    LuaPlus::LuaState* target = state != nullptr ? state : m_mainState;
    if (target == nullptr)
        throw Misc::Error::CKVOError(L"[CScriptManager::LoadFile] There is no script state");
    IFile* file = GetApplication()->OpenFile(name, GetScriptExtensions());
    if (file == nullptr)
    {
        Misc::CLogger::WriteSystem(L"[CScriptManager::LoadFile] Failed to find file:%s", name.c_str());
        return false;
    }
    const std::wstring found = file->GetPath();
    const bool loaded = LuaUtilities::LoadFile(target, file, result);
    Misc::CLogger::WriteSystem(L"[CScriptManager::LoadFile] File loaded:%s -> %s", name.c_str(),
                               found.c_str());
    return loaded;
}

bool CScriptManager::DoBuffer(LuaPlus::LuaState* state, const std::string& text, const char* chunkName)
{
    LuaPlus::LuaState* target = state != nullptr ? state : m_mainState;
    if (target == nullptr)
        throw Misc::Error::CKVOError(L"[CScriptManager::DoBuffer] There is no script state");
    return LuaUtilities::LoadBuffer(target, text.data(), text.size(), chunkName);
}

int CScriptManager::OnPanic(lua_State* L)
{
    const std::string message = LuaPlus::GetErrorText(L, -1);
    const std::string traceback = lua_type(L, -2) == LUA_TSTRING ? lua_tostring(L, -2) : "";

    // On standard error the message and where the error came from, then
    // the dialog (whose text is the message alone).
    CScriptManager* engine = GetInstance();
    if (engine == nullptr || engine->GetApplication() == nullptr || !traceback.empty())
    {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", message.c_str());
        if (!traceback.empty())
            std::fprintf(stderr, "%s\n", traceback.c_str());
        std::fflush(stderr);
    }
    if (engine == nullptr || engine->GetApplication() == nullptr)
        return 0;
    // Lua ends the process after this returns; nothing may escape into
    // Lua's error path from here.
    try
    {
        engine->GetApplication()->ShowScriptError(Misc::Text::Utf8ToWide(message),
                                                  Misc::Text::Utf8ToWide(traceback));
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "%s\n%s\n", message.c_str(), error.what());
    }
    std::fflush(stderr);
    return 0;
}

int CScriptManager::OnModuleOpen(lua_State* L)
{
    size_t size = 0;
    const char* name = luaL_checklstring(L, 1, &size);
    LuaPlus::LuaState* state = LuaPlus::LuaState::CastState(L);
    const RegisterInterfaces registerInterfaces = g_registerInterfaces.load();
    if (state != nullptr && registerInterfaces != nullptr && std::string_view(name, size) == "engine")
        registerInterfaces(state);
    return 1;
}
