#pragma once

#include "core/app/SubEngine.h"

#include <cstdint>
#include <string>

namespace Graphics
{

// The graphics sub-engine. It has no device yet, so it is never running:
// the loop neither steps it nor asks it to start or stop.
class CGraphicsEngine : public Simulation::CSubEngine
{
public:
    explicit CGraphicsEngine(Simulation::CSimulationManager* owner);
    ~CGraphicsEngine() override;

    // Nothing to fade in yet.
    bool OnStart() override;
    // Nothing to fade out yet: done at once.
    bool OnStop() override;
    // No frame to draw without a device.
    bool Step() override;
    // True while a device exists; there is none yet.
    bool IsRunning() override;

    // The screen size in pixels: 640 by 480 until a device gives its own.
    uint32_t GetScreenWidth() const { return m_screenWidth; }
    uint32_t GetScreenHeight() const { return m_screenHeight; }
    // Places the cursor at a position given as fractions of the window;
    // nothing without a device.
    void SetCursorPosition(float x, float y);

    // Whether each step clears the back buffer and the z-buffer (both on at
    // the start).
    void EnableBackBuffer(bool enable) { m_clearBackBuffer = enable; }
    void EnableZBuffer(bool enable) { m_clearZBuffer = enable; }
    bool IsBackBufferEnabled() const { return m_clearBackBuffer; }
    bool IsZBufferEnabled() const { return m_clearZBuffer; }

    // The machine as the device reports it: operating system, processor
    // speed in MHz, total and free memory in kilobytes. Errors without a
    // device.
    std::wstring GetOperatingSystemVersion();
    uint32_t GetOperatingSystemMHz();
    uint32_t GetOperatingSystemMemoryTotal();
    uint32_t GetOperatingSystemMemoryFree();

private:
    uint32_t m_screenWidth = 640;
    uint32_t m_screenHeight = 480;
    bool m_clearBackBuffer = true;
    bool m_clearZBuffer = true;
};

} // namespace Graphics
