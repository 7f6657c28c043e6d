#include "platform/X11Window.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace Platform
{

bool GetDesktopSize(uint32_t& width, uint32_t& height)
{
    width = 0;
    height = 0;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return false;
    // A server may refuse a connection that follows another client's close
    // closely; a second attempt a moment later gets through.
    Display* display = nullptr;
    for (int attempt = 0; attempt < 3 && display == nullptr; ++attempt)
    {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        display = XOpenDisplay(name);
    }
    if (display == nullptr)
        return false;
    const int screen = DefaultScreen(display);
    width = static_cast<uint32_t>(std::max(DisplayWidth(display, screen), 0));
    height = static_cast<uint32_t>(std::max(DisplayHeight(display, screen), 0));
    XCloseDisplay(display);
    return true;
}

namespace
{

// Notes an X error instead of ending the process.
bool g_xErrorSeen = false;
int NoteXError(Display*, XErrorEvent*)
{
    g_xErrorSeen = true;
    return 0;
}

} // namespace

bool IsWindow(unsigned long window)
{
    const char* name = std::getenv("DISPLAY");
    if (window == 0 || name == nullptr || *name == '\0')
        return false;
    Display* display = XOpenDisplay(name);
    if (display == nullptr)
        return false;
    // The error handler is the process's: only this connection's request
    // runs while ours is in place.
    g_xErrorSeen = false;
    XErrorHandler previous = XSetErrorHandler(&NoteXError);
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    const bool exists = found != 0 && !g_xErrorSeen;
    XCloseDisplay(display);
    return exists;
}

bool MoveResizeWindow(void* display, unsigned long window, int32_t left, int32_t top, uint32_t width,
                      uint32_t height)
{
    // X refuses a zero size with an error that ends the process.
    if (display == nullptr || window == 0 || width == 0 || height == 0)
        return false;
    Display* x = static_cast<Display*>(display);
    // The protocol carries positions and sizes in 16 bits.
    XMoveResizeWindow(x, window, std::clamp<int32_t>(left, -32768, 32767),
                      std::clamp<int32_t>(top, -32768, 32767), std::min<uint32_t>(width, 32767),
                      std::min<uint32_t>(height, 32767));
    XRaiseWindow(x, window);
    XMapWindow(x, window);
    XFlush(x);
    return true;
}

} // namespace Platform
