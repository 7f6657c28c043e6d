#pragma once

#include <string>

class CCommandLine;

// Runs the entry script as the first application state: its folder becomes
// the current directory (and stays so), the file system's base path and,
// with the executable's folder, a search path; the command-line arguments
// from index 2 on are the state's arguments (an empty argument is nil).
// Returns when the state queue has run out, with 0. Needs the engine object
// (CScriptManager::GetInstance).
int RunEntryScript(const std::wstring& scriptPath, const CCommandLine& commandLine);
