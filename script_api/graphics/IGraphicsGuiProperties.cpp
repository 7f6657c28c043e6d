// IGraphics: the properties every control has: visibility, enabling,
// clipping, captions, tab order, alignment, sizes, position and size, read
// in fractions of the screen.

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/ScreenCoordinates.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/ScriptTexts.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <irrlicht.h>

using Graphics::GUI::CGuiManager;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

void bringControlToFront(LuaState*, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    gui.BringToFront(gui.GetElementId(name, true));
}

bool setControlTabStop(LuaState*, const std::wstring& name, bool enable)
{
    GetGui().SetElementTabStop(GetControl(name), enable);
    return true;
}

bool setControlTabOrder(LuaState*, const std::wstring& name, int32_t order)
{
    GetGui().SetElementTabOrder(GetControl(name), order);
    return true;
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

bool setControlMinSize(LuaState*, const std::wstring& name, const CPoint& size)
{
    GetGui().SetElementMinSize(GetControl(name), size.x, size.y);
    return true;
}

bool setControlMaxSize(LuaState*, const std::wstring& name, const CPoint& size)
{
    GetGui().SetElementMaxSize(GetControl(name), size.x, size.y);
    return true;
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
    table.RegisterMethod<TheGui, Control>("isControlVisible", &CGuiManager::IsElementVisible);
    table.RegisterMethod<TheGui, Control>("setControlVisible", &CGuiManager::SetElementVisible);
    table.RegisterMethod<TheGui, Control>("isControlEnabled", &CGuiManager::IsElementEnabled);
    table.RegisterMethod<TheGui, Control>("setControlEnabled", &CGuiManager::SetElementEnabled);
    table.RegisterMethod<TheGui, Control>("isControlClipped", &CGuiManager::IsElementClipped);
    table.RegisterMethod<TheGui, Control>("setControlClipped", &CGuiManager::SetElementClipped);
    table.RegisterHelper("bringControlToFront", &bringControlToFront);
    table.RegisterMethod<TheGui, Control>("getControlText", &CGuiManager::GetElementText);
    table.RegisterMethod<TheGui, Control>("setControlText", &CGuiManager::SetElementText);
    table.RegisterMethod<TheGui, Control>("getControlFloat", &CGuiManager::GetElementFloat);
    table.RegisterMethod<TheGui, Control>("setControlFloat", &CGuiManager::SetElementFloat);
    table.RegisterMethod<TheGui, Control>("getControlInt", &CGuiManager::GetElementInt);
    table.RegisterMethod<TheGui, Control>("setControlInt", &CGuiManager::SetElementInt);
    table.RegisterMethod<TheGui, Control>("getControlTabStop", &CGuiManager::GetElementTabStop);
    table.RegisterHelper("setControlTabStop", &setControlTabStop);
    table.RegisterMethod<TheGui, Control>("getControlTabOrder", &CGuiManager::GetElementTabOrder);
    table.RegisterHelper("setControlTabOrder", &setControlTabOrder);
    table.RegisterMethod<TheGui, Control>("getControlTabGroup", &CGuiManager::GetElementTabGroup);
    table.RegisterHelper("setControlTabGroup", &setControlTabGroup);
    table.RegisterHelper("getControlTabGroupOwner", &getControlTabGroupOwner);
    table.RegisterHelper("setControlAlignment", &setControlAlignment);
    table.RegisterMethod<TheGui, Control>("getControlAlignmentLeft", &CGuiManager::GetElementAlignmentLeft);
    table.RegisterMethod<TheGui, Control>("getControlAlignmentTop", &CGuiManager::GetElementAlignmentTop);
    table.RegisterMethod<TheGui, Control>("getControlAlignmentRight", &CGuiManager::GetElementAlignmentRight);
    table.RegisterMethod<TheGui, Control>("getControlAlignmentBottom",
                                          &CGuiManager::GetElementAlignmentBottom);
    table.RegisterHelper("setControlMinSize", &setControlMinSize);
    table.RegisterMethod<TheGui, Control>("getControlMinSize", &CGuiManager::GetElementMinSize);
    table.RegisterHelper("setControlMaxSize", &setControlMaxSize);
    table.RegisterMethod<TheGui, Control>("getControlMaxSize", &CGuiManager::GetElementMaxSize);
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
