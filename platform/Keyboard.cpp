#include "platform/Keyboard.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdlib>

namespace Platform
{

bool IsF7Held()
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == 0)
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    bool held = false;
    const KeyCode code = XKeysymToKeycode(display, XK_F7);
    if (code != 0)
    {
        char keys[32] = {};
        XQueryKeymap(display, keys);
        held = (keys[code / 8] & (1 << (code % 8))) != 0;
    }
    XCloseDisplay(display);
    return held;
}

} // namespace Platform
