#pragma once

// The debug output of the sound libraries' loaders: standard error, where a
// missing library or entry point shows up for whoever started the program.

#include <string>

namespace Sound
{

// Writes the line as it stands (it carries its own line break).
void ReportLibraryProblem(const std::string& line);

// "Failed to retrieve '<name>' function address\n".
std::string MissingEntryPointLine(const char* name);

} // namespace Sound
