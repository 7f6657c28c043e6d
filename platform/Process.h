#pragma once

// Starting other programs: always with an argument vector, never through a
// shell. Started programs are reaped in the background when they end.

#include <string>
#include <vector>

namespace Platform
{

// Starts the program (searched on the PATH when the name holds no "/") with
// the arguments after the program name; the new process id goes to
// processId when given. False when the program cannot be started.
bool StartProcess(const std::string& program, const std::vector<std::string>& arguments,
                  int* processId = nullptr);

// Runs the program (a path) with the arguments, waits for it and collects
// its standard output (its standard error is dropped); true when it ends
// with exit code 0.
bool RunForOutput(const std::string& program, const std::vector<std::string>& arguments, std::string& output);

// The program's path when the name holds no "/" and an executable file of
// that name is in a folder of the PATH; empty otherwise.
std::string FindOnPath(const std::string& name);

// True for an existing regular file the process may execute.
bool IsExecutableFile(const std::string& path);

// Opens a file with the desktop's associated program (xdg-open).
bool OpenWithAssociatedProgram(const std::string& path);

// The external script editor: the program HALVANE_EDITOR names when it is
// set (a name without "/" is looked up on the PATH), otherwise exeFolder +
// "/Tools/SciTE/SciTE", otherwise "scite" on the PATH. Empty when the
// chosen editor is not an executable file.
std::string FindEditor(const std::string& exeFolder);

// Starts the editor on the file with "-open:<file>" and, when the line is
// not empty, "-goto:<line>".
bool StartEditor(const std::string& editor, const std::string& file, const std::string& line);

} // namespace Platform
