// IGraphics functions on the device as a whole: opening and closing it, the
// graphics sub-engine's lock, frame rate and frame counter, the window and
// the desktop, the video modes and the driver's features.

#include "core/app/Application.h"
#include "core/foundation/CriticalSection.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/LuaStackTable.h"
#include "graphics/engine/GraphicsEngine.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/graphics/IGraphicsFunctions.h"

#include <cstdint>
#include <string>

using LuaPlus::LuaStackObject;
using LuaPlus::LuaStackTable;
using LuaPlus::LuaState;

namespace
{

Graphics::CGraphicsEngine& GraphicsEngine()
{
    return GetScriptGraphicsEngine();
}

// Opening and destroying the device serialise on one process-wide lock
// (never destroyed: a script may end the process from inside either).
CCriticalSection& DeviceLock()
{
    static auto* lock = new CCriticalSection;
    return *lock;
}

// "<product> v<major>.<minor> <copyright> [<web site>]", at most 1023
// characters.
std::wstring WindowCaption()
{
    const CApplication& application = GetScriptApplication();
    std::wstring caption = application.GetAppName() + L" v" +
                           std::to_wstring(application.GetAppMajorVersion()) + L"." +
                           std::to_wstring(application.GetAppMinorVersion()) + L" " +
                           application.GetAppCopyright() + L" [" + application.GetAppWebsite() + L"]";
    constexpr size_t kMaxCaption = 1023;
    if (caption.size() > kMaxCaption)
        caption.resize(kMaxCaption);
    return caption;
}

// Every init: the engine's Init under the device lock, then the standard
// caption when a device opened.
bool Open(const std::string& driverName, uint32_t width, uint32_t height, bool fullScreen, uint8_t bits,
          bool useShadows, bool useAntiAliasing, bool useVSync, uint32_t frameRate,
          Graphics::WindowHandle windowId, uint32_t windowStyle, int32_t windowLeft, int32_t windowTop,
          bool silentErrors)
{
    Graphics::CGraphicsEngine& graphics = GraphicsEngine();
    CScopedLock lock(DeviceLock());
    const bool opened =
        graphics.Init(driverName, width, height, fullScreen, bits, useShadows, useAntiAliasing, useVSync,
                      frameRate, windowId, windowStyle, windowLeft, windowTop, !silentErrors);
    if (opened)
        graphics.SetWindowCaption(WindowCaption());
    return opened;
}

bool init(LuaState*, const std::string& driverName, uint32_t width, uint32_t height, bool fullScreen,
          uint8_t bits, bool useShadows, bool useAntiAliasing, bool useVSync, uint32_t frameRate,
          bool silentErrors)
{
    return Open(driverName, width, height, fullScreen, bits, useShadows, useAntiAliasing, useVSync, frameRate,
                0, 0, -1, -1, silentErrors);
}

// A window id names the caller's own window: 0 lets the device make one.
bool initEx(LuaState*, const std::string& driverName, uint32_t width, uint32_t height, bool fullScreen,
            uint8_t bits, bool useShadows, bool useAntiAliasing, bool useVSync, uint32_t frameRate,
            uint32_t windowId, bool silentErrors)
{
    return Open(driverName, width, height, fullScreen, bits, useShadows, useAntiAliasing, useVSync, frameRate,
                windowId, 0, -1, -1, silentErrors);
}

// Every option by name; a missing one (or a value that is no table) reads
// as 0, "" or false.
bool initEx2(LuaState*, const LuaStackTable& options)
{
    return Open(options.Get<std::string>("driverName"), options.Get<uint32_t>("screenWidth"),
                options.Get<uint32_t>("screenHeight"), options.Get<bool>("fullScreen"),
                options.Get<uint8_t>("bits"), options.Get<bool>("useShadows"),
                options.Get<bool>("useAntiAliasing"), options.Get<bool>("useVSync"),
                options.Get<uint32_t>("frameRate"), options.Get<uint32_t>("windowId"),
                options.Get<uint32_t>("windowStyle"), options.Get<int32_t>("windowLeft"),
                options.Get<int32_t>("windowTop"), options.Get<bool>("silentErrors"));
}

bool isInitialised(LuaState*)
{
    return GraphicsEngine().IsRunning();
}

void destroy(LuaState*)
{
    Graphics::CGraphicsEngine& graphics = GraphicsEngine();
    CScopedLock lock(DeviceLock());
    graphics.Destroy();
}

// A locked graphics engine skips its frames.
void lock(LuaState*, bool locked)
{
    GraphicsEngine().SetLocked(locked);
}

// The current driver, video mode and window.

// nil until a device opened.
const char* getCurrentDriverName(LuaState*)
{
    const std::string& name = GraphicsEngine().GetDriverName();
    return name.empty() ? nullptr : name.c_str();
}

uint32_t getCurrentVideoModeDepth(LuaState*)
{
    return GraphicsEngine().GetScreenBits();
}

uint32_t getCurrentVideoModeWidth(LuaState*)
{
    return GraphicsEngine().GetScreenWidth();
}

uint32_t getCurrentVideoModeHeight(LuaState*)
{
    return GraphicsEngine().GetScreenHeight();
}

// The X11 window id as an exact number; 0 where the driver tells none.
double getCurrentWindowHandle(LuaState*)
{
    return static_cast<double>(GraphicsEngine().GetWindowHandle());
}

bool isWindowActive(LuaState*)
{
    return GraphicsEngine().IsWindowActive();
}

uint32_t getDesktopWidth(LuaState*)
{
    return GraphicsEngine().GetDesktopWidth();
}

uint32_t getDesktopHeight(LuaState*)
{
    return GraphicsEngine().GetDesktopHeight();
}

// Frame rate and frame counter of the graphics sub-engine.

void setDesiredFrameRate(LuaState*, uint32_t framesPerSecond)
{
    GraphicsEngine().SetDesiredFrameRate(framesPerSecond);
}

uint32_t getDesiredFrameRate(LuaState*)
{
    return GraphicsEngine().GetDesiredFrameRate();
}

uint32_t getTotalFrames(LuaState*)
{
    return GraphicsEngine().GetTotalFrames();
}

uint32_t getTotalProcessingTime(LuaState*)
{
    return GraphicsEngine().GetTotalProcessingTime();
}

float getAveProcessingTime(LuaState*)
{
    return GraphicsEngine().GetAveProcessingTime();
}

void enableFrameCounter(LuaState*, bool enable, bool reset)
{
    GraphicsEngine().EnableFrameCounter(enable, reset);
}

bool isFrameCounterEnabled(LuaState*)
{
    return GraphicsEngine().IsFrameCounterEnabled();
}

void setBackgroundRenderingEnabled(LuaState*, bool enabled)
{
    GraphicsEngine().SetBackgroundRenderingEnabled(enabled);
}

bool getBackgroundRenderingEnabled(LuaState*)
{
    return GraphicsEngine().GetBackgroundRenderingEnabled();
}

// Video modes and features: without a device each throws "... Graphics
// Engine not initialised".

uint32_t getNumberOfVideoModes(LuaState*)
{
    return GraphicsEngine().GetNumberOfVideoModes();
}

uint32_t getVideoModeDepth(LuaState*, uint32_t index)
{
    return GraphicsEngine().GetVideoModeDepth(index);
}

uint32_t getVideoModeWidth(LuaState*, uint32_t index)
{
    return GraphicsEngine().GetVideoModeWidth(index);
}

uint32_t getVideoModeHeight(LuaState*, uint32_t index)
{
    return GraphicsEngine().GetVideoModeHeight(index);
}

// callback(index, width, height, depth, userData) for each mode until it
// returns true. The count is read again before each call: the callback may
// change the device.
void forEachVideoMode(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    Graphics::CGraphicsEngine& graphics = GraphicsEngine();
    const LuaPlus::LuaStackFunction<bool> function(callback);
    for (uint32_t index = 0; index < graphics.GetNumberOfVideoModes(); ++index)
    {
        const uint32_t depth = graphics.GetVideoModeDepth(index);
        const uint32_t height = graphics.GetVideoModeHeight(index);
        const uint32_t width = graphics.GetVideoModeWidth(index);
        if (function(index, width, height, depth, userData))
            break;
    }
}

bool queryFeature(LuaState*, uint32_t feature)
{
    return GraphicsEngine().QueryFeature(feature);
}

} // namespace

void RegisterIGraphicsDeviceFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("init", &init);
    table.RegisterHelper("initEx", &initEx);
    table.RegisterHelper("initEx2", &initEx2);
    table.RegisterHelper("isInitialised", &isInitialised);
    table.RegisterHelper("destroy", &destroy);
    table.RegisterHelper("lock", &lock);
    table.RegisterHelper("getCurrentDriverName", &getCurrentDriverName);
    table.RegisterHelper("getCurrentVideoModeDepth", &getCurrentVideoModeDepth);
    table.RegisterHelper("getCurrentVideoModeWidth", &getCurrentVideoModeWidth);
    table.RegisterHelper("getCurrentVideoModeHeight", &getCurrentVideoModeHeight);
    table.RegisterHelper("getCurrentWindowHandle", &getCurrentWindowHandle);
    table.RegisterHelper("isWindowActive", &isWindowActive);
    table.RegisterHelper("getDesktopWidth", &getDesktopWidth);
    table.RegisterHelper("getDesktopHeight", &getDesktopHeight);
    table.RegisterHelper("setDesiredFrameRate", &setDesiredFrameRate);
    table.RegisterHelper("getDesiredFrameRate", &getDesiredFrameRate);
    table.RegisterHelper("getTotalFrames", &getTotalFrames);
    table.RegisterHelper("getTotalProcessingTime", &getTotalProcessingTime);
    table.RegisterHelper("getAveProcessingTime", &getAveProcessingTime);
    table.RegisterHelper("enableFrameCounter", &enableFrameCounter);
    table.RegisterHelper("isFrameCounterEnabled", &isFrameCounterEnabled);
    table.RegisterHelper("setBackgroundRenderingEnabled", &setBackgroundRenderingEnabled);
    table.RegisterHelper("getBackgroundRenderingEnabled", &getBackgroundRenderingEnabled);
    table.RegisterHelper("getNumberOfVideoModes", &getNumberOfVideoModes);
    table.RegisterHelper("getVideoModeDepth", &getVideoModeDepth);
    table.RegisterHelper("getVideoModeWidth", &getVideoModeWidth);
    table.RegisterHelper("getVideoModeHeight", &getVideoModeHeight);
    table.RegisterHelper("forEachVideoMode", &forEachVideoMode);
    table.RegisterHelper("queryFeature", &queryFeature);
}
