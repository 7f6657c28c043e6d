#pragma once

// Input event codes as scripts and the event channels see them. Mouse codes
// are Irrlicht's mouse input events (0 to 7); GUI codes are the GUI event
// types of the older Irrlicht the scripts were written for, which the same
// predicates serve (0 focus lost, 1 focused, ... 7 check box changed).

#include <cstdint>

namespace Graphics
{

// Mouse: left, right, middle button pressed (0, 1, 2) and released (3, 4, 5).
bool IsLeftButtonDown(uint32_t code);
bool IsRightButtonDown(uint32_t code);
bool IsCentreButtonDown(uint32_t code);
bool IsLeftButtonClicked(uint32_t code);
bool IsRightButtonClicked(uint32_t code);
bool IsCentreButtonClicked(uint32_t code);
// The wheel turned (7).
bool IsWheelMoved(uint32_t code);
// Any button press or release (0 to 5); not a move (6) or the wheel (7).
bool IsMouseButtonEvent(uint32_t code);

// The number scripts know for a GUI event type of the Irrlicht in use. The
// newer library inserted types (directory selected, edit box changed and
// marking changed, the tree view events); those have no number for scripts
// and give false.
bool MapGuiEventType(uint32_t irrlichtType, uint32_t& scriptType);

// Mouse codes up to this one are the ones scripts know; the newer library's
// double and triple clicks (8 to 13) are not passed on.
constexpr uint32_t kLastScriptMouseEvent = 7;

} // namespace Graphics
