#pragma once

// The editor launcher: opens the file named by its first argument in the
// external script editor, as a process of its own.

#include <string>

class CCommandLine;

// The file to open, from argument 1 ("" without one): separators become
// "/" and collapse, and an argument that still begins with a double quote
// (the splitter leaves one there for text such as ""abc") loses its first
// and its last character.
std::wstring EditorFileArgument(const CCommandLine& commandLine);
// The same rules on the argument's bytes as the program got them (null for
// none): a name that is no valid UTF-8 reaches the editor unchanged.
std::string EditorFileArgument(const char* argument);

// Starts the editor (found beside the program in exeFolder, or as the
// engine finds it) on the file with "-open:<file>", never through a shell,
// and does not wait for it. The result is always 0: a missing editor is
// only reported on standard error.
int RunEditorLauncher(const char* argument, const std::string& exeFolder);
