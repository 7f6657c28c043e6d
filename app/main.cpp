// Entry point of halvane: `halvane entry.lua [arguments...]` runs the entry
// script as the first application state and ends when the state queue has
// run out (exit code 0); without an existing script file it ends with 2;
// asked to end by a signal, with 128 + the signal's number.
#include "app/EngineComposition.h"
#include "core/app/Application.h"
#include "core/foundation/CommandLine.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/PathUtilities.h"
#include "core/foundation/Singleton.h"
#include "core/io/DiskPath.h"
#include "core/script/EntryScript.h"
#include "core/script/LuaUtilities.h"
#include "core/script/ScriptManager.h"
#include "platform/ExecutablePath.h"
#include "platform/Keyboard.h"
#include "platform/QuitSignals.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

namespace
{

// The executable's path, absolute so that its folder stays right after the
// entry script changes the current directory.
std::wstring ExecutablePath(const wchar_t* argument0)
{
    const std::wstring given = argument0 != nullptr ? argument0 : L"";
    std::error_code error;
    if (given.find(L'/') == std::wstring::npos)
    {
        // Found on the PATH: ask the system where it is.
        const std::string self = Platform::GetExecutablePath();
        return self.empty() ? given : FromNativePath(self);
    }
    const std::filesystem::path absolute = std::filesystem::absolute(ToNativePath(given), error);
    return error ? given : FromNativePath(absolute.lexically_normal().string());
}

void FillProductInformation(CApplication& application, const wchar_t* argument0)
{
    application.SetAppName(L"Halvane 2010: 3D Engine");
    application.SetAppCopyright(L"Copyright (c) 2010 The Halvane makers");
    application.SetAppWebsite(L"https://halvane.example.org");
    application.SetAppMajorVersion(3);
    application.SetAppMinorVersion(16);
    application.SetAppBuildNote(L"", L"");
    application.SetAppBuildDate(L"Jan 14 2010");
    application.SetAppBuildTime(L"14:32:15");
    application.SetExePath(ExecutablePath(argument0));
}

// An error that no script call caught ends the program with its message
// instead of an unexplained termination.
void ReportUnhandledError(const std::string& message)
{
    std::fprintf(stderr, "[halvane] Unhandled error: %s\n", message.c_str());
    std::fflush(stderr);
    Misc::CLogger::WriteSystem(L"[halvane] Unhandled error: %S", message.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const bool showConsole = Platform::IsF7Held();
    const CCommandLine commandLine(argc, argv);
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    // SIGINT, SIGTERM and SIGHUP end the main loop; the states finish and
    // the program shuts down as usual. A second one ends it at once.
    Platform::CQuitSignals::Install();

    int exitCode = 2;
    CScriptManager* engine = nullptr;
    try
    {
        engine = new CScriptManager(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine);
        CApplication* application = engine->GetApplication();
        FillProductInformation(*application, commandLine.GetArgument(0));
        // Native modules (lenscart) ship beside the program.
        LuaUtilities::PrependNativeModuleFolder(
            engine->GetMainState(),
            std::filesystem::path(Platform::GetExecutablePath()).parent_path().string());
        if (showConsole)
            application->ShowConsoleWindow(0, 0);

        // The entry script is found as scripts open (without regard to case).
        const wchar_t* given = commandLine.GetArgument(1);
        const std::wstring script = given != nullptr ? DiskPath::ResolveExistingPath(given) : std::wstring();
        if (commandLine.GetArgumentCount() > 1 && FileExists(script))
        {
            exitCode = RunEntryScript(script, commandLine);
        }
        else
        {
            const wchar_t* program = commandLine.GetArgument(0);
            Misc::CLogger::WriteSystem(L"[Usage] %s script_entry_file\n",
                                       program != nullptr ? program : L"halvane");
            // The log goes nowhere until the console is shown: the user
            // learns why nothing ran on standard error, the path as given.
            if (argc > 1)
                std::fprintf(stderr, "[halvane] Script file not found: %s\n", argv[1]);
            std::fprintf(stderr, "[Usage] %s script_entry_file\n", argc > 0 ? argv[0] : "halvane");
            exitCode = 2;
        }
    }
    catch (const std::exception& error) // CKVOError and LuaException included
    {
        ReportUnhandledError(error.what());
        exitCode = EXIT_FAILURE;
    }

    // Shutdown: the quit event, the engine object (main script state first),
    // then every singleton.
    try
    {
        if (engine != nullptr)
            engine->Quit(0);
    }
    catch (const std::exception& error)
    {
        ReportUnhandledError(error.what());
        exitCode = EXIT_FAILURE;
    }
    delete engine;
    Misc::Singleton::DestroyAll();
    // Ended by a signal: the shell's status for it, after a clean shutdown.
    if (Platform::CQuitSignals::Received() != 0 && exitCode == 0)
        exitCode = 128 + Platform::CQuitSignals::Received();
    return exitCode;
}
