#pragma once

// The groups of IMisc functions, registered by RegisterIMisc in this order.

#include "core/script/lua/ScriptMetaTable.h"

// classDefine, classCreateInstance, classCreateInstanceUD, classAttach.
void RegisterIMiscClassFunctions(CScriptMetaTable& table);
void RegisterIMiscPointFunctions(CScriptMetaTable& table);
void RegisterIMiscVectorFunctions(CScriptMetaTable& table);
void RegisterIMiscRectFunctions(CScriptMetaTable& table);
void RegisterIMiscLineBoxFunctions(CScriptMetaTable& table);
void RegisterIMiscColorFunctions(CScriptMetaTable& table);
void RegisterIMiscRotationFunctions(CScriptMetaTable& table);
