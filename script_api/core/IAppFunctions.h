#pragma once

// The groups of IApp functions, registered by RegisterIApp in this order.

#include "core/script/lua/ScriptMetaTable.h"

// getThreadState, getScriptManager, getThreadIdFromOS, loadScript,
// loadScriptEx, runScriptBuffer, callScript, clearScriptData.
void RegisterIAppScriptFunctions(CScriptMetaTable& table);
// getAppName ... getMemoryFree.
void RegisterIAppInfoFunctions(CScriptMetaTable& table);
// run, tick, stop, isThrottlingEnabled, enableThrottling, then the frame
// counters getTotalFrames ... isFrameCounterEnabled.
void RegisterIAppLoopFunctions(CScriptMetaTable& table);
// showConsoleWindow ... setConsoleIcon.
void RegisterIAppConsoleFunctions(CScriptMetaTable& table);
// getBasePath ... findRandomFile.
void RegisterIAppSearchFunctions(CScriptMetaTable& table);
// fileExists ... pathClean.
void RegisterIAppFileFunctions(CScriptMetaTable& table);
// loadOptions ... forEachOption.
void RegisterIAppOptionFunctions(CScriptMetaTable& table);
// getSystemTime, getTime.
void RegisterIAppTimeFunctions(CScriptMetaTable& table);
// getTranslatorFilename ... forEachTranslation.
void RegisterIAppTranslationFunctions(CScriptMetaTable& table);
// shellExecute, showWindow, sleep.
void RegisterIAppShellFunctions(CScriptMetaTable& table);
// The message boxes, then the file and folder dialogs.
void RegisterIAppDialogFunctions(CScriptMetaTable& table);
