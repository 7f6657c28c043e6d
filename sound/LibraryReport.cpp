#include "sound/LibraryReport.h"

#include <cstdio>

namespace Sound
{

void ReportLibraryProblem(const std::string& line)
{
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

std::string MissingEntryPointLine(const char* name)
{
    return std::string("Failed to retrieve '") + name + "' function address\n";
}

} // namespace Sound
