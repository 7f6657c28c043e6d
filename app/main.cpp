// Entry point of halvane. The script host completes it; until then the
// program only knows its usage.
#include "core/foundation/CommandLine.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"

int main(int argc, char** argv)
{
    const CCommandLine commandLine(argc, argv);
    const wchar_t* program = commandLine.GetArgument(0);

    // Written at the system level: invisible with the logger's start values.
    Misc::CLogger* logger = Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
    logger->Write(logger->GetSystemLevel(), false, L"[Usage] %s script_entry_file\n",
                  program != nullptr ? program : L"halvane");
    const int exitCode = 2;

    Misc::Singleton::DestroyAll();
    return exitCode;
}
