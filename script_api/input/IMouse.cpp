// IMouse: tests of the mouse event codes that scripts receive, and the
// cursor: its position as fractions of the window, its visibility and its
// shape.

#include "script_api/input/IMouse.h"

#include "core/foundation/Pixels.h"
#include "core/foundation/Point.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "graphics/engine/GraphicsEngine.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/ScriptInterface.h"

#include <string>

using LuaPlus::LuaState;

namespace
{

// The mouse event codes scripts receive.
enum EMouseEventCode : int32_t
{
    kLeftPressed = 0,
    kRightPressed = 1,
    kMiddlePressed = 2,
    kLeftReleased = 3,
    kRightReleased = 4,
    kMiddleReleased = 5,
    kWheel = 7,
};

bool leftButtonDown(LuaState*, int32_t eventCode)
{
    return eventCode == kLeftPressed;
}

bool rightButtonDown(LuaState*, int32_t eventCode)
{
    return eventCode == kRightPressed;
}

bool centreButtonDown(LuaState*, int32_t eventCode)
{
    return eventCode == kMiddlePressed;
}

bool leftButtonClicked(LuaState*, int32_t eventCode)
{
    return eventCode == kLeftReleased;
}

bool rightButtonClicked(LuaState*, int32_t eventCode)
{
    return eventCode == kRightReleased;
}

bool centreButtonClicked(LuaState*, int32_t eventCode)
{
    return eventCode == kMiddleReleased;
}

bool wheelMoved(LuaState*, int32_t eventCode)
{
    return eventCode == kWheel;
}

void setPosition(LuaState*, float x, float y)
{
    Graphics::CGraphicsEngine& engine = GetScriptGraphicsEngine();
    // A place beyond what the window system carries would wrap round to the
    // other side of the screen.
    engine.SetCursorPosition(Misc::LimitFraction(x, engine.GetScreenWidth(), Misc::kWindowPixelLimit),
                             Misc::LimitFraction(y, engine.GetScreenHeight(), Misc::kWindowPixelLimit));
}

void setPositionPoint(LuaState* state, const CPoint& position)
{
    setPosition(state, position.x, position.y);
}

// Fractions of the window; 0 without a window or with one of no size.
float getX(LuaState*)
{
    return GetScriptGraphicsEngine().GetCursorPosition().x;
}

float getY(LuaState*)
{
    return GetScriptGraphicsEngine().GetCursorPosition().y;
}

CPoint getPosition(LuaState*)
{
    return GetScriptGraphicsEngine().GetCursorPosition();
}

void show(LuaState*, bool visible)
{
    GetScriptGraphicsEngine().SetCursorVisible(visible);
}

bool isVisible(LuaState*)
{
    return GetScriptGraphicsEngine().IsCursorVisible();
}

// One of the 14 cursor names, exact case; any other name changes nothing.
void setType(LuaState*, const std::string& typeName)
{
    GetScriptGraphicsEngine().SetCursorType(typeName);
}

void RegisterIMouseFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("leftButtonDown", &leftButtonDown);
    table.RegisterHelper("rightButtonDown", &rightButtonDown);
    table.RegisterHelper("centreButtonDown", &centreButtonDown);
    table.RegisterHelper("leftButtonClicked", &leftButtonClicked);
    table.RegisterHelper("rightButtonClicked", &rightButtonClicked);
    table.RegisterHelper("centreButtonClicked", &centreButtonClicked);
    table.RegisterHelper("wheelMoved", &wheelMoved);
    table.RegisterHelper("setPosition", &setPosition);
    table.RegisterHelper("setPositionPoint", &setPositionPoint);
    table.RegisterHelper("getX", &getX);
    table.RegisterHelper("getY", &getY);
    table.RegisterHelper("getPosition", &getPosition);
    table.RegisterHelper("show", &show);
    table.RegisterHelper("isVisible", &isVisible);
    table.RegisterHelper("setType", &setType);
}

} // namespace

void RegisterIMouse(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IMouse", {&RegisterIMouseFunctions});
}
