// IGraphics: check boxes and the control tree: lookup, focus, hit tests,
// parents and children, renaming, the GUI parent, removal and the walk over
// every control.

#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiElementVisitor.h"
#include "gui/elements/GuiElementProperties.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/ScreenCoordinates.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/ScriptTexts.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <irrlicht.h>

#include <vector>

using Graphics::GUI::CGuiElementProperties;
using Graphics::GUI::CGuiManager;
using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

using TheElementProperties = TheGuiPart<CGuiElementProperties, &CGuiManager::GetElementProperties>;

bool createCheckbox(LuaState*, const std::wstring& name, const std::wstring& text, const CRect& rect,
                    bool checked)
{
    return GetGui().AddCheckBoxNamed(name, text, checked, rect) != nullptr;
}

bool controlExists(LuaState*, const std::wstring& name)
{
    return GetGui().ElementExists(name);
}

LuaObject getControlFocus(LuaState* state)
{
    return NameOrNil(state, GetGui().GetFocus());
}

void setControlFocus(LuaState*, const std::wstring& name)
{
    GetGui().SetFocus(GetControl(name));
}

LuaObject getControlAtPoint(LuaState* state, const std::wstring& parentName, float x, float y)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* parent = GetControl(parentName);
    const Graphics::GUI::CScreenPoint point(x, y, gui.GetScreenWidth(), gui.GetScreenHeight());
    return NameOrNil(state, gui.GetElementAtPoint(parent, CPoint(point.x, point.y)));
}

LuaObject getControlParentId(LuaState* state, const std::wstring& name)
{
    return NameOrNil(state, GetGui().GetElementParent(GetControl(name)));
}

// The names of the children that are not the engine's own, from 1 without
// gaps; unnamed children as "".
LuaObject getControlChildIds(LuaState* state, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    std::vector<irr::gui::IGUIElement*> children;
    gui.CollectChildren(GetControl(name), children);
    LuaObject table;
    table.AssignNewTable(state, static_cast<int>(children.size()));
    lua_Number key = 0;
    for (irr::gui::IGUIElement* child : children)
    {
        const std::wstring childName = gui.GetElementName(child->getID(), false);
        if (!IsInternalName(childName))
            table.Set(++key, std::wstring_view(childName));
    }
    return table;
}

// An empty new name would leave the control with no name to find it by.
bool changeControlId(LuaState*, const std::wstring& name, const std::wstring& newName)
{
    irr::gui::IGUIElement* element = GetControl(name);
    if (newName.empty())
        return false;
    GetGui().ChangeElementId(element, newName);
    return true;
}

LuaObject getGuiParent(LuaState* state)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* parent = gui.GetGuiParent();
    return TextOrNil(state, parent != nullptr ? gui.FindElementName(parent->getID()) : nullptr);
}

void setGuiParent(LuaState*, const std::wstring& name)
{
    GetGui().SetGuiParent(name.empty() ? nullptr : GetControl(name));
}

bool removeControl(LuaState*, const std::wstring& name)
{
    GetGui().Remove(name);
    return true;
}

bool removeChildren(LuaState*, const std::wstring& name)
{
    GetGui().RemoveChildren(GetControl(name));
    return true;
}

// Calls the script for each control with (name, type, parent name, user
// data); a true result ends the walk at that level. The engine's own
// controls are passed by with what lies below them.
class CScriptElementVisitor : public Graphics::GUI::CGuiElementVisitor
{
public:
    CScriptElementVisitor(Graphics::GUI::CGuiManager& gui, const LuaStackObject& callback,
                          const LuaStackObject& userData)
        : m_gui(gui), m_callback(callback), m_userData(userData)
    {
    }

    bool IsHidden(irr::gui::IGUIElement* element) override
    {
        return IsInternalName(m_gui.GetElementName(element->getID(), false));
    }

    bool Visit(irr::gui::IGUIElement* element) override
    {
        const std::wstring name = m_gui.GetElementName(element->getID(), false);
        irr::gui::IGUIElement* parent = element->getParent();
        const std::wstring parentName =
            parent != nullptr ? m_gui.GetElementName(parent->getID(), false) : L"";
        return m_callback(std::wstring_view(name), m_gui.GetElementType(element),
                          std::wstring_view(parentName), m_userData);
    }

private:
    Graphics::GUI::CGuiManager& m_gui;
    LuaPlus::LuaStackFunction<bool> m_callback;
    const LuaStackObject& m_userData;
};

void forEachControl(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    CScriptElementVisitor visitor(gui, callback, userData);
    gui.ForEachElement(visitor, nullptr);
}

} // namespace

void RegisterIGraphicsGuiControls(CScriptMetaTable& table)
{
    table.RegisterHelper("createCheckbox", &createCheckbox);
    table.RegisterMethod<TheElementProperties, Control>("getCheckbox",
                                                        &CGuiElementProperties::IsCheckBoxChecked);
    table.RegisterMethod<TheGui, Control>("setCheckbox", &CGuiManager::SetCheckBoxChecked);
    table.RegisterHelper("controlExists", &controlExists);
    table.RegisterMethod<TheGui, Control>("controlType", &CGuiManager::GetElementType);
    table.RegisterHelper("getControlFocus", &getControlFocus);
    table.RegisterHelper("setControlFocus", &setControlFocus);
    table.RegisterHelper("getControlAtPoint", &getControlAtPoint);
    table.RegisterHelper("getControlParentId", &getControlParentId);
    table.RegisterHelper("getControlChildIds", &getControlChildIds);
    table.RegisterHelper("changeControlId", &changeControlId);
    table.RegisterHelper("getGuiParent", &getGuiParent);
    table.RegisterHelper("setGuiParent", &setGuiParent);
    table.RegisterHelper("removeControl", &removeControl);
    table.RegisterHelper("removeChildren", &removeChildren);
    table.RegisterHelper("forEachControl", &forEachControl);
}
