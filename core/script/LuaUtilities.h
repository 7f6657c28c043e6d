#pragma once

#include <cstddef>
#include <string>

class IFile;

namespace LuaPlus
{
class LuaObject;
class LuaState;
} // namespace LuaPlus

// Loading and running script chunks on a state. A chunk that does not
// compile or fails while it runs raises its error on the state (outside a
// protected call that ends in the panic handler); file problems throw
// Misc::Error::CKVOError.
namespace LuaUtilities
{

// Reads the whole file and runs it as the chunk "@" + its name. Takes over
// the file (dropped before the chunk runs, also on failure). The chunk's
// first result goes to result when given.
bool LoadFile(LuaPlus::LuaState* state, IFile* file, LuaPlus::LuaObject* result = nullptr);

// Runs the text as a chunk of the given name.
bool LoadBuffer(LuaPlus::LuaState* state, const char* text, size_t length, const char* chunkName,
                LuaPlus::LuaObject* result = nullptr);

// Puts "<folder>/?.so;" first on package.cpath, so that `require` finds
// native modules shipped beside the program before any installed one. A
// folder whose name holds the path's own marks ('?' or ';') is left out.
void PrependNativeModuleFolder(LuaPlus::LuaState* state, const std::string& folder);

} // namespace LuaUtilities
