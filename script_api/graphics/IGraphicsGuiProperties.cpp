// IGraphics: the properties every control has: visibility, enabling,
// clipping, captions, tab order, alignment, sizes, position and size, read
// in fractions of the screen.

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/ScreenCoordinates.h"
#include "script_api/core/PointScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <irrlicht.h>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

bool isControlVisible(LuaState*, const std::wstring& name)
{
    return GetGui().IsElementVisible(GetControl(name));
}

void setControlVisible(LuaState*, const std::wstring& name, bool visible)
{
    GetGui().SetElementVisible(GetControl(name), visible);
}

bool isControlEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().IsElementEnabled(GetControl(name));
}

void setControlEnabled(LuaState*, const std::wstring& name, bool enabled)
{
    GetGui().SetElementEnabled(GetControl(name), enabled);
}

bool isControlClipped(LuaState*, const std::wstring& name)
{
    return GetGui().IsElementClipped(GetControl(name));
}

void setControlClipped(LuaState*, const std::wstring& name, bool clipped)
{
    GetGui().SetElementClipped(GetControl(name), clipped);
}

void bringControlToFront(LuaState*, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    gui.BringToFront(gui.GetElementId(name, true));
}

std::wstring getControlText(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementText(GetControl(name));
}

void setControlText(LuaState*, const std::wstring& name, const std::wstring& text)
{
    GetGui().SetElementText(GetControl(name), text);
}

float getControlFloat(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementFloat(GetControl(name));
}

void setControlFloat(LuaState*, const std::wstring& name, float value)
{
    GetGui().SetElementFloat(GetControl(name), value);
}

int32_t getControlInt(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementInt(GetControl(name));
}

void setControlInt(LuaState*, const std::wstring& name, int32_t value)
{
    GetGui().SetElementInt(GetControl(name), value);
}

bool getControlTabStop(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementTabStop(GetControl(name));
}

bool setControlTabStop(LuaState*, const std::wstring& name, bool enable)
{
    GetGui().SetElementTabStop(GetControl(name), enable);
    return true;
}

int32_t getControlTabOrder(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementTabOrder(GetControl(name));
}

bool setControlTabOrder(LuaState*, const std::wstring& name, int32_t order)
{
    GetGui().SetElementTabOrder(GetControl(name), order);
    return true;
}

bool getControlTabGroup(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementTabGroup(GetControl(name));
}

bool setControlTabGroup(LuaState*, const std::wstring& name, bool enable)
{
    GetGui().SetElementTabGroup(GetControl(name), enable);
    return true;
}

LuaObject getControlTabGroupOwner(LuaState* state, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* owner = gui.GetTabGroupOwner(GetControl(name));
    return TextOrNil(state, owner != nullptr ? gui.FindElementName(owner->getID()) : nullptr);
}

bool setControlAlignment(LuaState*, const std::wstring& name, int32_t left, int32_t top, int32_t right,
                         int32_t bottom)
{
    GetGui().SetElementAlignment(GetControl(name), left, top, right, bottom);
    return true;
}

int32_t getControlAlignmentLeft(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementAlignmentLeft(GetControl(name));
}

int32_t getControlAlignmentTop(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementAlignmentTop(GetControl(name));
}

int32_t getControlAlignmentRight(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementAlignmentRight(GetControl(name));
}

int32_t getControlAlignmentBottom(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementAlignmentBottom(GetControl(name));
}

bool setControlMinSize(LuaState*, const std::wstring& name, const CPoint& size)
{
    GetGui().SetElementMinSize(GetControl(name), size.x, size.y);
    return true;
}

CPoint getControlMinSize(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementMinSize(GetControl(name));
}

bool setControlMaxSize(LuaState*, const std::wstring& name, const CPoint& size)
{
    GetGui().SetElementMaxSize(GetControl(name), size.x, size.y);
    return true;
}

CPoint getControlMaxSize(LuaState*, const std::wstring& name)
{
    return GetGui().GetElementMaxSize(GetControl(name));
}

// A script point or offset in pixels by the screen-coordinate rule.
CPoint ToPixels(const Graphics::GUI::CGuiManager& gui, float x, float y)
{
    const Graphics::GUI::CScreenPoint point(x, y, gui.GetScreenWidth(), gui.GetScreenHeight());
    return CPoint(point.x, point.y);
}

void moveControlPos(LuaState*, const std::wstring& name, float dx, float dy)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* element = GetControl(name);
    const CPoint offset = ToPixels(gui, dx, dy);
    gui.MoveElement(element, offset.x, offset.y);
}

void setControlPos(LuaState*, const std::wstring& name, float x, float y)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* element = GetControl(name);
    gui.SetElementPosition(element, ToPixels(gui, x, y));
}

void setControlPosPoint(LuaState* state, const std::wstring& name, const CPoint& point)
{
    setControlPos(state, name, point.x, point.y);
}

void setControlSize(LuaState*, const std::wstring& name, float width, float height)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* element = GetControl(name);
    gui.SetElementSize(element, ToPixels(gui, width, height));
}

void setControlSizePoint(LuaState* state, const std::wstring& name, const CPoint& size)
{
    setControlSize(state, name, size.x, size.y);
}

CPoint getControlPos(LuaState*, const std::wstring& name)
{
    CPoint position;
    GetGui().GetElementPosition(GetControl(name), position);
    return position;
}

CPoint getControlPosAbsolute(LuaState*, const std::wstring& name)
{
    CPoint position;
    GetGui().GetElementAbsolutePosition(GetControl(name), position);
    return position;
}

CPoint getControlSize(LuaState*, const std::wstring& name)
{
    CPoint size;
    GetGui().GetElementSize(GetControl(name), size);
    return size;
}

CPoint getControlCenter(LuaState*, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* element = GetControl(name);
    CPoint position;
    CPoint size;
    if (!gui.GetElementPosition(element, position) || !gui.GetElementSize(element, size))
        return CPoint();
    return CPoint(position.x + size.x * 0.5f, position.y + size.y * 0.5f);
}

float getControlPosX(LuaState*, const std::wstring& name)
{
    CPoint position;
    return GetGui().GetElementPosition(GetControl(name), position) ? position.x : -1.0f;
}

float getControlPosY(LuaState*, const std::wstring& name)
{
    CPoint position;
    return GetGui().GetElementPosition(GetControl(name), position) ? position.y : -1.0f;
}

float getControlWidth(LuaState*, const std::wstring& name)
{
    CPoint size;
    return GetGui().GetElementSize(GetControl(name), size) ? size.x : -1.0f;
}

float getControlHeight(LuaState*, const std::wstring& name)
{
    CPoint size;
    return GetGui().GetElementSize(GetControl(name), size) ? size.y : -1.0f;
}

} // namespace

void RegisterIGraphicsGuiProperties(CScriptMetaTable& table)
{
    table.RegisterHelper("isControlVisible", &isControlVisible);
    table.RegisterHelper("setControlVisible", &setControlVisible);
    table.RegisterHelper("isControlEnabled", &isControlEnabled);
    table.RegisterHelper("setControlEnabled", &setControlEnabled);
    table.RegisterHelper("isControlClipped", &isControlClipped);
    table.RegisterHelper("setControlClipped", &setControlClipped);
    table.RegisterHelper("bringControlToFront", &bringControlToFront);
    table.RegisterHelper("getControlText", &getControlText);
    table.RegisterHelper("setControlText", &setControlText);
    table.RegisterHelper("getControlFloat", &getControlFloat);
    table.RegisterHelper("setControlFloat", &setControlFloat);
    table.RegisterHelper("getControlInt", &getControlInt);
    table.RegisterHelper("setControlInt", &setControlInt);
    table.RegisterHelper("getControlTabStop", &getControlTabStop);
    table.RegisterHelper("setControlTabStop", &setControlTabStop);
    table.RegisterHelper("getControlTabOrder", &getControlTabOrder);
    table.RegisterHelper("setControlTabOrder", &setControlTabOrder);
    table.RegisterHelper("getControlTabGroup", &getControlTabGroup);
    table.RegisterHelper("setControlTabGroup", &setControlTabGroup);
    table.RegisterHelper("getControlTabGroupOwner", &getControlTabGroupOwner);
    table.RegisterHelper("setControlAlignment", &setControlAlignment);
    table.RegisterHelper("getControlAlignmentLeft", &getControlAlignmentLeft);
    table.RegisterHelper("getControlAlignmentTop", &getControlAlignmentTop);
    table.RegisterHelper("getControlAlignmentRight", &getControlAlignmentRight);
    table.RegisterHelper("getControlAlignmentBottom", &getControlAlignmentBottom);
    table.RegisterHelper("setControlMinSize", &setControlMinSize);
    table.RegisterHelper("getControlMinSize", &getControlMinSize);
    table.RegisterHelper("setControlMaxSize", &setControlMaxSize);
    table.RegisterHelper("getControlMaxSize", &getControlMaxSize);
    table.RegisterHelper("moveControlPos", &moveControlPos);
    table.RegisterHelper("setControlPos", &setControlPos);
    table.RegisterHelper("setControlPosPoint", &setControlPosPoint);
    table.RegisterHelper("setControlSize", &setControlSize);
    table.RegisterHelper("setControlSizePoint", &setControlSizePoint);
    table.RegisterHelper("getControlPos", &getControlPos);
    table.RegisterHelper("getControlPosAbsolute", &getControlPosAbsolute);
    table.RegisterHelper("getControlCenter", &getControlCenter);
    table.RegisterHelper("getControlPosX", &getControlPosX);
    table.RegisterHelper("getControlPosY", &getControlPosY);
    table.RegisterHelper("getControlSize", &getControlSize);
    table.RegisterHelper("getControlWidth", &getControlWidth);
    table.RegisterHelper("getControlHeight", &getControlHeight);
}
