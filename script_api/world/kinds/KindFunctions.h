#pragma once

// The functions of IWorld that belong to one kind of entity, beside the
// block every kind shares. Each group registers its functions on the
// IWorld table in order; IWorld registers each group right after the
// block of its kind. Sky and fog come with the world-wide functions.

#include "core/script/lua/ScriptMetaTable.h"

void RegisterIWorldCameraFunctions(CScriptMetaTable& table);
void RegisterIWorldLightFunctions(CScriptMetaTable& table);
void RegisterIWorldUnitFunctions(CScriptMetaTable& table);
void RegisterIWorldWaterFunctions(CScriptMetaTable& table);
void RegisterIWorldTerrainFunctions(CScriptMetaTable& table);
void RegisterIWorldAgentFunctions(CScriptMetaTable& table);
void RegisterIWorldParticleSystemFunctions(CScriptMetaTable& table);
void RegisterIWorldSkyAndFogFunctions(CScriptMetaTable& table);
