// IApp functions on the application as a whole: product and system
// information, the main loop and its frame counters, the console and the
// clocks.

#include "core/app/Application.h"
#include "core/foundation/PathUtilities.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/IAppFunctions.h"

#include <cstdint>
#include <ctime>
#include <string>

using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;

namespace
{

Graphics::CGraphicsEngine& GraphicsEngine()
{
    return GetScriptGraphicsEngine();
}

// Product and system information.

std::wstring getAppName(LuaState*)
{
    return GetScriptApplication().GetAppName();
}

std::wstring getAppCopyright(LuaState*)
{
    return GetScriptApplication().GetAppCopyright();
}

std::wstring getAppWebsite(LuaState*)
{
    return GetScriptApplication().GetAppWebsite();
}

int32_t getAppMajorVersion(LuaState*)
{
    return GetScriptApplication().GetAppMajorVersion();
}

int32_t getAppMinorVersion(LuaState*)
{
    return GetScriptApplication().GetAppMinorVersion();
}

bool testAppVersion(LuaState*, uint32_t major, uint32_t minor)
{
    const CApplication& application = GetScriptApplication();
    const auto ownMajor = static_cast<uint32_t>(application.GetAppMajorVersion());
    const auto ownMinor = static_cast<uint32_t>(application.GetAppMinorVersion());
    return ownMajor > major || (ownMajor == major && ownMinor >= minor);
}

std::wstring getAppBuildDate(LuaState*)
{
    return GetScriptApplication().GetAppBuildDate();
}

std::wstring getAppBuildTime(LuaState*)
{
    return GetScriptApplication().GetAppBuildTime();
}

std::wstring getExeFilePath(LuaState*)
{
    return GetScriptApplication().GetExeFolder();
}

// The executable in its folder, under the name it really has.
std::wstring getExeFileName(LuaState*)
{
    const CApplication& application = GetScriptApplication();
    std::wstring path = application.GetExeFolder() + L"/" +
                        ExtractFilenameComponents(application.GetExePath(), false, false, true, true);
    CleanPath(path, L"/");
    return path;
}

std::wstring getOperatingSystemVersion(LuaState*)
{
    return GraphicsEngine().GetOperatingSystemVersion();
}

uint32_t getProcessorSpeed(LuaState*)
{
    return GraphicsEngine().GetOperatingSystemMHz();
}

uint32_t getMemoryTotal(LuaState*)
{
    return GraphicsEngine().GetOperatingSystemMemoryTotal();
}

uint32_t getMemoryFree(LuaState*)
{
    return GraphicsEngine().GetOperatingSystemMemoryFree();
}

// The main loop: only the main script state may drive it.

// b1 and b2 skip the clearing of the back buffer and the z-buffer, b3 the
// idle sleep; a value that is not a boolean leaves its setting alone.
void run(LuaState*, uint32_t duration, const LuaStackObject& b1, const LuaStackObject& b2,
         const LuaStackObject& b3)
{
    CScriptManager& engine = GetScriptEngine();
    Graphics::CGraphicsEngine* graphics = FindScriptGraphicsEngine();
    if (graphics != nullptr && graphics->IsRunning())
    {
        if (b1.IsBoolean())
            graphics->EnableBackBuffer(!b1.GetBoolean());
        if (b2.IsBoolean())
            graphics->EnableZBuffer(!b2.GetBoolean());
    }
    if (b3.IsBoolean())
        engine.EnableThrottling(!b3.GetBoolean());
    engine.Run(duration);
}

bool tick(LuaState*)
{
    return GetScriptEngine().Tick();
}

void stop(LuaState*)
{
    GetScriptEngine().RequestQuit();
}

bool isThrottlingEnabled(LuaState*)
{
    return GetScriptEngine().IsThrottlingEnabled();
}

void enableThrottling(LuaState*, bool enable)
{
    GetScriptEngine().EnableThrottling(enable);
}

uint32_t getTotalFrames(LuaState*)
{
    return GetScriptEngine().GetTotalFrames();
}

uint32_t getTotalProcessingTime(LuaState*)
{
    return GetScriptEngine().GetTotalProcessingTime();
}

uint32_t getTotalFrameTime(LuaState*)
{
    return GetScriptEngine().GetTotalFrameTime();
}

float getAveProcessingTime(LuaState*)
{
    return GetScriptEngine().GetAveProcessingTime();
}

float getAveFrameTime(LuaState*)
{
    return GetScriptEngine().GetAveFrameTime();
}

void enableFrameCounter(LuaState*, bool enable, bool reset)
{
    GetScriptEngine().EnableFrameCounter(enable, reset);
}

bool isFrameCounterEnabled(LuaState*)
{
    return GetScriptEngine().IsFrameCounterEnabled();
}

// The console: standard output, written to only while it is shown.

// Shows the console (code pages have no meaning here: it is UTF-8), prints
// the engine information and sets the standard caption.
bool showConsoleWindow(LuaState*, uint32_t outputCodePage, uint32_t inputCodePage)
{
    CApplication& application = GetScriptApplication();
    application.ShowConsoleWindow(outputCodePage, inputCodePage);
    const std::wstring caption = application.GetAppName() + L" v" +
                                 std::to_wstring(application.GetAppMajorVersion()) + L"." +
                                 std::to_wstring(application.GetAppMinorVersion()) + L" " +
                                 application.GetAppCopyright() + L" [" + application.GetAppWebsite() + L"]";
    return application.SetConsoleCaption(caption);
}

void hideConsoleWindow(LuaState*)
{
    GetScriptApplication().HideConsoleWindow();
}

bool isConsoleWindowVisible(LuaState*)
{
    return GetScriptApplication().IsConsoleWindowVisible();
}

// The console is the terminal the program runs in: no window of its own.
uint32_t getConsoleWindowHandle(LuaState*)
{
    return 0;
}

bool setConsoleCaption(LuaState*, const std::wstring& caption)
{
    return GetScriptApplication().SetConsoleCaption(caption);
}

std::wstring getConsoleCaption(LuaState*)
{
    return GetScriptApplication().GetConsoleCaption();
}

bool setConsoleIcon(LuaState*, const std::wstring&)
{
    return false;
}

// Clocks.

// Seconds since 1970-01-01 UTC, the low 32 bits.
uint32_t getSystemTime(LuaState*)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(std::time(nullptr)));
}

uint32_t getTime(LuaState*)
{
    return GetScriptApplication().GetTime();
}

} // namespace

void RegisterIAppInfoFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getAppName", &getAppName);
    table.RegisterHelper("getAppCopyright", &getAppCopyright);
    table.RegisterHelper("getAppWebsite", &getAppWebsite);
    table.RegisterHelper("getAppMajorVersion", &getAppMajorVersion);
    table.RegisterHelper("getAppMinorVersion", &getAppMinorVersion);
    table.RegisterHelper("testAppVersion", &testAppVersion);
    table.RegisterHelper("getAppBuildDate", &getAppBuildDate);
    table.RegisterHelper("getAppBuildTime", &getAppBuildTime);
    table.RegisterHelper("getExeFilePath", &getExeFilePath);
    table.RegisterHelper("getExeFileName", &getExeFileName);
    table.RegisterHelper("getOperatingSystemVersion", &getOperatingSystemVersion);
    table.RegisterHelper("getProcessorSpeed", &getProcessorSpeed);
    table.RegisterHelper("getMemoryTotal", &getMemoryTotal);
    table.RegisterHelper("getMemoryFree", &getMemoryFree);
}

void RegisterIAppLoopFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("run", &run, LuaPlus::kMainStateOnly);
    table.RegisterHelper("tick", &tick, LuaPlus::kMainStateOnly);
    table.RegisterHelper("stop", &stop, LuaPlus::kMainStateOnly);
    table.RegisterHelper("isThrottlingEnabled", &isThrottlingEnabled, LuaPlus::kMainStateOnly);
    table.RegisterHelper("enableThrottling", &enableThrottling, LuaPlus::kMainStateOnly);
    table.RegisterHelper("getTotalFrames", &getTotalFrames);
    table.RegisterHelper("getTotalProcessingTime", &getTotalProcessingTime);
    table.RegisterHelper("getTotalFrameTime", &getTotalFrameTime);
    table.RegisterHelper("getAveProcessingTime", &getAveProcessingTime);
    table.RegisterHelper("getAveFrameTime", &getAveFrameTime);
    table.RegisterHelper("enableFrameCounter", &enableFrameCounter);
    table.RegisterHelper("isFrameCounterEnabled", &isFrameCounterEnabled);
}

void RegisterIAppConsoleFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("showConsoleWindow", &showConsoleWindow);
    table.RegisterHelper("hideConsoleWindow", &hideConsoleWindow);
    table.RegisterHelper("isConsoleWindowVisible", &isConsoleWindowVisible);
    table.RegisterHelper("getConsoleWindowHandle", &getConsoleWindowHandle);
    table.RegisterHelper("setConsoleCaption", &setConsoleCaption);
    table.RegisterHelper("getConsoleCaption", &getConsoleCaption);
    table.RegisterHelper("setConsoleIcon", &setConsoleIcon);
}

void RegisterIAppTimeFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getSystemTime", &getSystemTime);
    table.RegisterHelper("getTime", &getTime);
}
