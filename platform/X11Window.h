#pragma once

// The X display the graphics device works on: the desktop's size and
// placing a top-level window.

#include <cstdint>

namespace Platform
{

// The size of the default screen of the display named by DISPLAY; false
// (and 0 by 0) without a display.
bool GetDesktopSize(uint32_t& width, uint32_t& height);

// Moves and sizes the window (an X11 window id on an X11 Display*), raises
// it to the top and shows it. False without a display or a window, or for
// an empty size.
bool MoveResizeWindow(void* display, unsigned long window, int32_t left, int32_t top, uint32_t width,
                      uint32_t height);

// Whether the window (an X11 window id) exists on the display named by
// DISPLAY; false without a display. The X error a missing window raises is
// kept from the process's error handler, which would end the process.
bool IsWindow(unsigned long window);

} // namespace Platform
