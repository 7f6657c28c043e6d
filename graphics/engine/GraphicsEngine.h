#pragma once

#include "core/app/SubEngine.h"
#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Vector.h"
#include "graphics/engine/FrameEntity.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace irr
{
class IrrlichtDevice;
}

namespace Graphics
{

namespace GUI
{
class CGuiManager;
}
class CGraphicsEngineEventHandler;

// A native window: the X11 window id; 0 for none.
using WindowHandle = uintptr_t;

// The graphics sub-engine. It owns the Irrlicht device (window, video
// driver, scene manager, GUI environment), the GUI manager and the event
// receiver, and draws one frame per step of the simulation loop.
//
// A frame publishes, for each camera pass (the active camera, then each
// secondary camera), DrawPreScene, draws the scene and publishes
// DrawPostScene; then DrawPreGui, the GUI, DrawPostGui; a frame drawn by the
// loop's step ends with TickGraphics. No event precedes the first scene pass.
//
// Without a device (before Init, after Destroy, or after the user closed the
// window) the engine is not running: the loop does not step it, the drawing
// and the device queries do nothing or give neutral answers, and the
// system-information queries throw "... Graphics Engine not initialised".
class CGraphicsEngine : public Simulation::CSubEngine
{
public:
    explicit CGraphicsEngine(Simulation::CSimulationManager* owner);
    // Closes a device that is still open; the GUI manager and the event
    // receiver go with the engine.
    ~CGraphicsEngine() override;

    // Lifecycle.

    // Opens a device, closing any open one first. Driver names (exact case):
    // "OPENGL"; "SOFTWARE" (the Burnings renderer); "NULL" (no window, no
    // pixels); "DX", "DX8" and "DX9" have no driver here and open OpenGL.
    // Any other name throws "[CGraphicsEngine::Init] Invalid video driver
    // specified:%s" whatever throwOnError says. When the device cannot be
    // created (OpenGL or SOFTWARE without a display) the result is false,
    // or with throwOnError "[CGraphicsEngine::Init] Failed to create the
    // graphics device.". A window id renders into that window and switches
    // background rendering on. Left and top -1 centre the window.
    bool Init(const std::string& driverName, uint32_t width, uint32_t height, bool fullScreen, uint8_t bits,
              bool useShadows, bool useAntiAliasing, bool useVSync, uint32_t frameRate, WindowHandle windowId,
              uint32_t windowStyle, int32_t windowLeft, int32_t windowTop, bool throwOnError);
    // Clears the caches, stops the stepping and closes the device.
    void Destroy();
    // Empties the GUI, the scene, the mesh cache, the render targets and
    // the driver's textures; nothing without a device.
    void ClearCache();
    // Draws one frame now (no TickGraphics). With checkDevice the device
    // first handles its window messages; false when nothing was drawn.
    bool Draw(bool skipBackBufferClear, bool skipZBufferClear, bool checkDevice);

    // The loop starts: the GUI fades in.
    bool OnStart() override;
    // The loop stops: the GUI fades out; false while the fade-out runs.
    bool OnStop() override;
    // One frame; true when it was drawn.
    bool Step() override;
    // True while a device with a video driver exists.
    bool IsRunning() override;

    // Scene state the frame uses.

    // Removes every scene node and forgets the cameras and the entities
    // that follow their nodes; the world box becomes (-1,-1,-1)-(1,1,1).
    void ClearScene();
    // Makes the camera the active one (drawn first) and publishes the
    // camera change with the new and the previous camera's ids.
    void SetActiveCamera(IFrameCamera* camera);
    IFrameCamera* GetActiveCamera() const { return m_activeCamera; }
    // Secondary cameras are drawn after the active one, in list order.
    bool AddSecondaryCamera(IFrameCamera* camera);
    bool RemoveSecondaryCamera(IFrameCamera* camera);
    void ClearSecondaryCameras();
    const std::vector<IFrameCamera*>& GetSecondaryCameras() const { return m_secondaryCameras; }
    // The entity's node takes its position, rotation and scale after the
    // next frame.
    void AddPendingNodeUpdate(IFrameEntity* entity);
    // The entity's joints are animated after every frame.
    void AddAutoAnimatedEntity(IFrameEntity* entity);
    bool RemoveAutoAnimatedEntity(IFrameEntity* entity);
    // An entity going away leaves every list of the engine.
    void ForgetEntity(IFrameEntity* entity);
    void ForgetCamera(IFrameCamera* camera);
    // The box around everything in the scene.
    CVector GetWorldMin() const { return m_worldMin; }
    CVector GetWorldMax() const { return m_worldMax; }

    // Device state.
    irr::IrrlichtDevice* GetDevice() const { return m_device; }
    GUI::CGuiManager* GetGuiManager() const { return m_guiManager.get(); }
    CGraphicsEngineEventHandler* GetEventHandler() const { return m_eventHandler.get(); }
    // The name given to the last successful Init; "" before.
    const std::string& GetDriverName() const { return m_driverName; }
    // The screen size in pixels: 640 by 480 until a device gives its own.
    uint32_t GetScreenWidth() const { return m_screenWidth; }
    uint32_t GetScreenHeight() const { return m_screenHeight; }
    uint32_t GetScreenBits() const { return m_colorBits; }
    bool IsFullScreen() const { return m_fullScreen; }
    bool IsShadowsEnabled() const { return m_shadows; }
    bool IsVSyncEnabled() const { return m_vsync; }

    // Switches and colours.

    // Frames are drawn while the window is inactive.
    void SetBackgroundRenderingEnabled(bool enable) { m_backgroundRendering = enable; }
    bool GetBackgroundRenderingEnabled() const { return m_backgroundRendering; }
    // Whether each step clears the back buffer and the z-buffer (both on at
    // the start).
    void EnableBackBuffer(bool enable) { m_clearBackBuffer = enable; }
    void EnableZBuffer(bool enable) { m_clearZBuffer = enable; }
    bool IsBackBufferEnabled() const { return m_clearBackBuffer; }
    bool IsZBufferEnabled() const { return m_clearZBuffer; }
    // True while background rendering is on, else the device's window state;
    // false without a device.
    bool IsWindowActive() const;
    // The clear colour of each frame.
    void SetBackColor(const CColor& color) { m_backColor = color; }
    const CNamedColor& GetBackColor() const { return m_backColor; }
    // The scene's ambient light; nothing / all zero without a device.
    void SetAmbientColor(const CColor& color);
    CColor GetAmbientColor() const;
    // Linear fog from start to end (density 0.01, no pixel or range fog).
    void SetFog(const CColor& color, float start, float end);

    // Window.

    // The X11 window the driver renders into; 0 when the driver exposes
    // none (NULL, SOFTWARE) or without a device.
    WindowHandle GetWindowHandle() const;
    // Stored and, with a device, shown; every new device gets it.
    void SetWindowCaption(const std::wstring& caption);
    const std::wstring& GetWindowCaption() const { return m_windowCaption; }
    // Window icons are not supported by the X11 device: false.
    bool SetWindowIcon(const std::wstring& fileName);
    // The style bits last given to Init or SetWindowParams (X11 windows have
    // no style of their own).
    uint32_t GetWindowStyle() const { return m_windowStyle; }
    // Places the window: width and height below 1 keep the screen size, left
    // and top below 0 centre it on the desktop. Nothing without a window.
    void SetWindowParams(uint32_t style, int32_t left, int32_t top, int32_t width, int32_t height);
    // The desktop's size in pixels; 0 without a display.
    uint32_t GetDesktopWidth() const;
    uint32_t GetDesktopHeight() const;

    // Cursor; each does nothing (or answers false, (0, 0)) without a device.
    void SetCursorVisible(bool visible);
    bool IsCursorVisible() const;
    // Positions as fractions of the window (0 to 1).
    void SetCursorPosition(float x, float y);
    CPoint GetCursorPosition() const;
    CPoint GetCursorPixelPosition() const;
    // One of the 14 cursor names ("ARROW", "WAIT", "IBEAM", ...; exact case);
    // another name changes nothing.
    void SetCursorType(const std::string& name);

    // Text, clipboard, statistics.

    // The size of the text in the GUI manager's font of that name, in pixels
    // and as fractions of the screen; (0, 0) when no font results.
    CPoint GetTextPixelDimensions(const std::wstring& fontName, const std::wstring& text);
    CPoint GetTextDimensions(const std::wstring& fontName, const std::wstring& text);
    // The system clipboard; nothing (no text) without a window.
    void WriteClipboard(const std::string& text);
    std::optional<std::string> ReadClipboard() const;
    // Frames per second and primitives of the last frame; 0 without a device.
    int32_t GetFrameRate() const;
    uint32_t GetNumberOfTris() const;
    uint32_t GetNumberOfLoadedTextures() const;
    // The scene manager's count of loaded meshes; 0 without a device.
    uint32_t GetNumberOfLoadedMeshes() const;
    // Writes the screen to the file (the parameter goes to the image writer,
    // the quality for JPEG); false without a device or when the driver has
    // no screen shot (NULL).
    bool ScreenShot(const std::wstring& fileName, uint32_t parameter);

    // Texture creation flags; nothing / false without a device.
    void SetTextureQualityOptimized(bool enable);
    bool GetTextureQualityOptimized() const;
    void SetTextureSpeedOptimized(bool enable);
    bool GetTextureSpeedOptimized() const;
    void SetTextureMipMapping(bool enable);
    bool GetTextureMipMapping() const;

    // The machine; each throws "[CGraphicsEngine::<name>] Graphics Engine not
    // initialised" without a device.
    std::wstring GetOperatingSystemVersion();
    uint32_t GetOperatingSystemMHz();
    uint32_t GetOperatingSystemMemoryTotal();
    uint32_t GetOperatingSystemMemoryFree();
    uint32_t GetNumberOfVideoModes();
    // An index past the last mode reads the last mode; 0 without modes.
    uint32_t GetVideoModeDepth(uint32_t index);
    uint32_t GetVideoModeWidth(uint32_t index);
    uint32_t GetVideoModeHeight(uint32_t index);
    // Whether the driver has the Irrlicht driver feature; false for a code
    // that is no feature.
    bool QueryFeature(uint32_t feature);

private:
    // Without a device, or while it runs: true. When the user closed the
    // window: Destroy, quit with status 1, false.
    bool CheckDevice();
    // Destroy without raising what subscribers raised meanwhile.
    void CloseDevice();
    // ClearCache without raising what subscribers raised meanwhile.
    void ClearCaches();
    bool RenderFrame(bool skipBackBufferClear, bool skipZBufferClear, bool checkDevice);
    void CameraPass(irr::IrrlichtDevice* device, IFrameCamera* camera);
    void GuiPass(irr::IrrlichtDevice* device);
    // Forgets every pointer into the scene: cameras and following entities.
    void ForgetSceneNodes();
    void ResetWorldBox();
    // Raises again what an event subscriber raised inside Irrlicht.
    void RethrowReceiverError();
    void RequireDevice(const wchar_t* message) const;
    bool SetTextureFlag(uint32_t flag, bool enable);
    bool GetTextureFlag(uint32_t flag) const;

    irr::IrrlichtDevice* m_device = nullptr;
    std::unique_ptr<CGraphicsEngineEventHandler> m_eventHandler;
    std::unique_ptr<GUI::CGuiManager> m_guiManager;
    std::wstring m_windowCaption;
    std::string m_driverName;
    uint32_t m_screenWidth = 640;
    uint32_t m_screenHeight = 480;
    uint32_t m_colorBits = 16;
    bool m_shadows = false;
    bool m_vsync = false;
    bool m_backgroundRendering = false;
    bool m_clearBackBuffer = true;
    bool m_clearZBuffer = true;
    bool m_fullScreen = false;
    uint32_t m_windowStyle = 0;
    CNamedColor m_backColor{0.0f, 0.0f, 0.0f, 0.0f, "-BackColor"};
    IFrameCamera* m_activeCamera = nullptr;
    std::vector<IFrameCamera*> m_secondaryCameras;
    // Held by value: reading it before Init or after Destroy is safe.
    CVector m_worldMin{-1.0f, -1.0f, -1.0f};
    CVector m_worldMax{1.0f, 1.0f, 1.0f};
    std::set<IFrameEntity*> m_pendingNodeUpdates;
    std::set<IFrameEntity*> m_autoAnimatedEntities;
};

} // namespace Graphics
