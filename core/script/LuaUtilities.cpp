#include "core/script/LuaUtilities.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "core/io/SaveFile.h"
#include "core/script/lua/ErrorTrace.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"

#include <lua.hpp>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

using Misc::Error::CKVOError;

namespace
{

// Reads the whole file; the file is dropped whatever happens.
std::string ReadWholeFile(IFile* file, std::string& chunkName)
{
    const CFilePtr holder(file);
    chunkName = "@" + Misc::Text::WideToUtf8(file->GetPath());

    const long size = file->getSize();
    std::string buffer;
    try
    {
        if (size < 0)
            throw std::length_error("negative file size");
        buffer.resize(static_cast<size_t>(size));
    }
    catch (const std::exception&) // bad_alloc, length_error
    {
        throw CKVOError(L"[LuaUtilities::LoadFile] Failed to allocate data");
    }

    // The file reads at most 2^31 - 1 bytes a call.
    size_t done = 0;
    while (done < buffer.size())
    {
        const size_t wanted = std::min<size_t>(buffer.size() - done, 0x40000000u);
        const int32_t read = file->read(&buffer[done], static_cast<uint32_t>(wanted));
        if (read <= 0)
            break;
        done += static_cast<size_t>(read);
    }
    if (done != buffer.size())
        throw CKVOError(L"[LuaUtilities::LoadFile] Failed to read data");
    return buffer;
}

// After a load (the function or the error message on top): runs the chunk
// and hands out its first result. No stack guard object may live here: a
// Lua error raised below must find its message on top of the stack.
bool RunLoaded(LuaPlus::LuaState* state, int status, LuaPlus::LuaObject* result)
{
    if (status == 0)
        status = LuaPlus::PCallWithTrace(state->GetCState(), 0, 1);
    if (status != 0)
        state->Error();
    lua_State* L = state->GetCState();
    if (result != nullptr)
        *result = LuaPlus::LuaObject(state, -1);
    lua_pop(L, 1);
    return true;
}

} // namespace

namespace LuaUtilities
{

bool LoadFile(LuaPlus::LuaState* state, IFile* file, LuaPlus::LuaObject* result)
{
    if (file == nullptr)
        throw CKVOError(L"[LuaUtilities::LoadFile] Invalid file handle");
    std::string chunkName;
    std::string buffer = ReadWholeFile(file, chunkName);
    const int status = state->LoadBuffer(buffer.data(), buffer.size(), chunkName.c_str());
    std::string().swap(buffer);
    return RunLoaded(state, status, result);
}

bool LoadBuffer(LuaPlus::LuaState* state, const char* text, size_t length, const char* chunkName,
                LuaPlus::LuaObject* result)
{
    const int status = state->LoadBuffer(text, length, chunkName);
    return RunLoaded(state, status, result);
}

void PrependNativeModuleFolder(LuaPlus::LuaState* state, const std::string& folder)
{
    if (state == nullptr || folder.empty() || folder.find_first_of("?;") != std::string::npos)
        return;
    lua_State* L = state->GetCState();
    lua_getglobal(L, "package");
    if (lua_istable(L, -1))
    {
        lua_getfield(L, -1, "cpath");
        const char* old = lua_tostring(L, -1);
        const std::string cpath = folder + "/?.so;" + (old != nullptr ? old : "");
        lua_pop(L, 1);
        lua_pushlstring(L, cpath.data(), cpath.size());
        lua_setfield(L, -2, "cpath");
    }
    lua_pop(L, 1);
}

} // namespace LuaUtilities
