#pragma once

// The groups of ISound's functions, registered in this order by
// RegisterISound (ISound.cpp), and what they share: the engine object's sound
// engine and the sounds scripts name.

#include "core/script/lua/ScriptMetaTable.h"
#include "core/script/lua/ScriptResolved.h"
#include "script_api/world/EntityArguments.h"

#include <string_view>

class CSound;
class CSoundEngine;

void RegisterISoundEngineFunctions(CScriptMetaTable& table);
void RegisterISoundDriverFunctions(CScriptMetaTable& table);
void RegisterISoundListenerFunctions(CScriptMetaTable& table);
void RegisterISoundSoundFunctions(CScriptMetaTable& table);
void RegisterISoundEntityFunctions(CScriptMetaTable& table);

namespace ScriptSound
{

// The engine object's sound engine; an error when the program was put
// together without one.
CSoundEngine& Engine();

// The sound engine as the object of a method row, reading no argument.
using TheEngine = LuaPlus::Resolved<LuaPlus::Current<CSoundEngine, &Engine>>;

// The loaded sounds by name.
struct LoadedSounds
{
    using Object = CSound;
    // Null when no sound has the name.
    static CSound* Find(std::string_view name);
};

// A sound named by a script: for a name that names none the call answers 0,
// false or nil, and a setter does nothing.
using Sound = ScriptWorld::SoundArgument<LoadedSounds>;

} // namespace ScriptSound
