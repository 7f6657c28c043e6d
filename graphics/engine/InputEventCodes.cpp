#include "graphics/engine/InputEventCodes.h"

namespace Graphics
{

bool IsLeftButtonDown(uint32_t code)
{
    return code == 0;
}

bool IsRightButtonDown(uint32_t code)
{
    return code == 1;
}

bool IsCentreButtonDown(uint32_t code)
{
    return code == 2;
}

bool IsLeftButtonClicked(uint32_t code)
{
    return code == 3;
}

bool IsRightButtonClicked(uint32_t code)
{
    return code == 4;
}

bool IsCentreButtonClicked(uint32_t code)
{
    return code == 5;
}

bool IsWheelMoved(uint32_t code)
{
    return code == 7;
}

bool IsMouseButtonEvent(uint32_t code)
{
    return code <= 5;
}

bool MapGuiEventType(uint32_t irrlichtType, uint32_t& scriptType)
{
    // 0 to 10 (focus lost ... file selected) are unchanged; 11, directory
    // selected, is new.
    if (irrlichtType <= 10)
        scriptType = irrlichtType;
    // File dialog cancelled, message box yes/no/ok/cancel, edit box enter.
    else if (irrlichtType >= 12 && irrlichtType <= 17)
        scriptType = irrlichtType - 1;
    // 18 and 19 (edit box changed, marking changed) are new; tab changed,
    // menu item selected, combo box, spin box and the three table events
    // follow. Everything after them (the tree view) is new.
    else if (irrlichtType >= 20 && irrlichtType <= 26)
        scriptType = irrlichtType - 3;
    else
        return false;
    return true;
}

} // namespace Graphics
