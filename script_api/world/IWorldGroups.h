#pragma once

// The groups of IWorld functions that act on the world as a whole and on
// entities of any kind, registered by RegisterIWorld in this order, with sky
// and fog between them.

#include "core/script/lua/ScriptMetaTable.h"

// load, save, unload, the world's names and paths, and its data bag.
void RegisterIWorldWorldFunctions(CScriptMetaTable& table);
// Selection, entities by id and their data bags.
void RegisterIWorldEntityFunctions(CScriptMetaTable& table);
