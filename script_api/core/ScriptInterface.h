#pragma once

// Publishing a script interface: one routine for every interface, given its
// groups of functions. A group registers its functions on the table, one
// line each:
//
//     void RegisterIGraphicsSceneFunctions(CScriptMetaTable& table)
//     {
//         table.RegisterHelper("getNodeName", &getNodeName);       // LuaState*, ScriptHandle<CNode>
//         table.RegisterHelper("run", &run, LuaPlus::kMainStateOnly);
//     }
//
//     void RegisterIGraphics(LuaPlus::LuaState* state)
//     {
//         PublishScriptInterface(state, "IGraphics", {&RegisterIGraphicsSceneFunctions});
//     }

#include "core/script/lua/ScriptMetaTable.h"

#include <initializer_list>

// Registers one group of an interface's functions on its table, in order.
using ScriptFunctionGroup = void (*)(CScriptMetaTable& table);

// Publishes the interface `name` on the state: a fresh table with the
// functions of the groups in their order, whose functions are named
// "<name>::<function>" in their messages, boxed as the global `name` with a
// read-only metatable (registering again replaces the global with a fresh
// table). Functions registered with LuaPlus::kMainStateOnly refuse calls
// from anywhere but the engine's main script state on its main thread;
// interfaceFlags kMainStateOnly does that for every function, with the
// message naming the interface ("[IEvents] Can only be called from the main
// Lua state.").
void PublishScriptInterface(LuaPlus::LuaState* state, const char* name,
                            std::initializer_list<ScriptFunctionGroup> groups,
                            unsigned interfaceFlags = LuaPlus::kNoFlags);
