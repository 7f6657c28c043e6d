#include "sound/OpenALLibrary.h"

#include "core/foundation/StringConversion.h"
#include "sound/LibraryReport.h"

#include <string>
#include <vector>

namespace
{

void ClearEntryPoints(SOpenALFunctions& table)
{
#define HALVANE_OPENAL_CLEAR(name) table.name = nullptr;
    HALVANE_OPENAL_ALL_ENTRY_POINTS(HALVANE_OPENAL_CLEAR)
#undef HALVANE_OPENAL_CLEAR
}

// Fetches every entry point in table order; false at the first missing one.
bool FetchEntryPoints(SOpenALFunctions& table)
{
#define HALVANE_OPENAL_FETCH(name)                                                                           \
    table.name = reinterpret_cast<decltype(table.name)>(table.library.GetSymbol(#name));                     \
    if (table.name == nullptr)                                                                               \
    {                                                                                                        \
        Sound::ReportLibraryProblem(Sound::MissingEntryPointLine(#name));                                    \
        return false;                                                                                        \
    }
    HALVANE_OPENAL_ALL_ENTRY_POINTS(HALVANE_OPENAL_FETCH)
#undef HALVANE_OPENAL_FETCH
    return true;
}

} // namespace

bool LoadOpenALLibrary(const wchar_t* libraryName, SOpenALFunctions* table)
{
    if (table == nullptr)
        return false;
    UnloadOpenALLibrary(table);

    std::vector<std::string> names;
    if (libraryName != nullptr)
        names.push_back(Misc::Text::WideToUtf8(libraryName));
    else
        names.assign(std::begin(kOpenALLibraryNames), std::end(kOpenALLibraryNames));

    std::string failures;
    for (const std::string& name : names)
    {
        if (table->library.Open(name))
            break;
        failures += "Failed to load '" + name + "': " + table->library.GetError() + "\n";
    }
    if (!table->library.IsOpen())
    {
        Sound::ReportLibraryProblem(failures);
        return false;
    }

    if (!FetchEntryPoints(*table))
    {
        UnloadOpenALLibrary(table);
        return false;
    }
    return true;
}

void UnloadOpenALLibrary(SOpenALFunctions* table)
{
    if (table == nullptr)
        return;
    ClearEntryPoints(*table);
    table->library.Close();
}
