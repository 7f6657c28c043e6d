// IGraphics: tab controls, their pages, free-standing tabs and scroll bars.

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"
#include "script_api/graphics/IGraphicsGuiIndex.h"
#include "script_api/graphics/IGraphicsGuiMenus.h"

#include <irrlicht.h>

#include <climits>

using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

// A maximum as the element keeps it: from 0 to 2147483647.
uint32_t ToMaximum(double number)
{
    return static_cast<uint32_t>(Clamp(std::trunc(number), 0.0, static_cast<double>(INT32_MAX)));
}

// A position; the scroll bar keeps it within its range.
int32_t ToPosition(double number)
{
    return static_cast<int32_t>(
        Clamp(std::trunc(number), static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

bool createTabControl(LuaState*, const std::wstring& name, const CRect& rect, bool fillBackground,
                      bool border)
{
    return GetGui().AddTabControlNamed(name, rect, fillBackground, border) != nullptr;
}

bool createTabPage(LuaState*, const std::wstring& name, const std::wstring& tabControlName,
                   const std::wstring& caption, bool drawBackground, const CColor& color)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    return gui.AddTabPageNamed(GetControl(tabControlName), name, caption, color, drawBackground) != nullptr;
}

bool createTab(LuaState*, const std::wstring& name, const CRect& rect, bool drawBackground,
               const CColor& color)
{
    return GetGui().AddTabNamed(name, rect, drawBackground, color) != nullptr;
}

bool createScrollBar(LuaState*, const std::wstring& name, bool horizontal, const CRect& rect, double maximum,
                     double position, const std::wstring& upName, const std::wstring& downName)
{
    return GetGui().AddScrollBarNamed(name, horizontal, rect, ToMaximum(maximum), ToPosition(position),
                                      upName, downName) != nullptr;
}

bool setScrollBarLimit(LuaState*, const std::wstring& name, double maximum, float smallStep, float largeStep)
{
    GetGui().SetScrollBarLimit(GetControl(name), ToMaximum(maximum), smallStep, largeStep);
    return true;
}

int32_t getScrollBarLimit(LuaState*, const std::wstring& name)
{
    return GetGui().GetScrollBarMax(GetControl(name));
}

float getScrollBarStep(LuaState*, const std::wstring& name)
{
    return GetGui().GetScrollBarSmallStep(GetControl(name));
}

float getScrollBarStepLarge(LuaState*, const std::wstring& name)
{
    return GetGui().GetScrollBarLargeStep(GetControl(name));
}

bool setScrollBarHorizontal(LuaState*, const std::wstring& name, bool horizontal)
{
    GetGui().SetScrollBarHorizontal(GetControl(name), horizontal);
    return true;
}

bool getScrollBarHorizontal(LuaState*, const std::wstring& name)
{
    return GetGui().GetScrollBarHorizontal(GetControl(name));
}

bool setScrollBarPos(LuaState*, const std::wstring& name, double position)
{
    GetGui().SetScrollBarPos(GetControl(name), ToPosition(position));
    return true;
}

int32_t getScrollBarPos(LuaState*, const std::wstring& name)
{
    return GetGui().GetScrollBarPos(GetControl(name));
}

int32_t getTabCount(LuaState*, const std::wstring& name)
{
    return GetGui().GetTabCount(GetControl(name));
}

int32_t getActiveTab(LuaState*, const std::wstring& name)
{
    return GetGui().GetActiveTab(GetControl(name));
}

void setActiveTab(LuaState*, const std::wstring& name, double index)
{
    GetGui().SetActiveTab(GetControl(name), ToIndex(index));
}

// The page's name; past the pages the tab control's own.
std::wstring getTabId(LuaState*, const std::wstring& name, double index)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* tabControl = GetControl(name);
    irr::gui::IGUIElement* tab = gui.GetTab(tabControl, ToIndex(index));
    return gui.GetElementName((tab != nullptr ? tab : tabControl)->getID(), false);
}

bool setTabControlBackground(LuaState*, const std::wstring& name, bool fill)
{
    GetGui().SetTabControlBackground(GetControl(name), fill);
    return true;
}

bool getTabControlBackground(LuaState*, const std::wstring& name)
{
    return GetGui().GetTabControlBackground(GetControl(name));
}

bool setTabControlBorder(LuaState*, const std::wstring& name, bool border)
{
    GetGui().SetTabControlBorder(GetControl(name), border);
    return true;
}

bool getTabControlBorder(LuaState*, const std::wstring& name)
{
    return GetGui().GetTabControlBorder(GetControl(name));
}

bool setTabPageBackground(LuaState*, const std::wstring& name, bool drawBackground)
{
    GetGui().SetTabPageBackground(GetControl(name), drawBackground);
    return true;
}

bool getTabPageBackground(LuaState*, const std::wstring& name)
{
    return GetGui().GetTabPageBackground(GetControl(name));
}

bool setTabPageColor(LuaState*, const std::wstring& name, const CColor& color)
{
    GetGui().SetTabPageColor(GetControl(name), color);
    return true;
}

CColor getTabPageColor(LuaState*, const std::wstring& name)
{
    return GetGui().GetTabPageColor(GetControl(name));
}

} // namespace

void RegisterIGraphicsGuiTabs(CScriptMetaTable& table)
{
    table.RegisterHelper("createTabControl", &createTabControl);
    table.RegisterHelper("createTabPage", &createTabPage);
    table.RegisterHelper("createTab", &createTab);
    table.RegisterHelper("createScrollBar", &createScrollBar);
    table.RegisterHelper("setScrollBarLimit", &setScrollBarLimit);
    table.RegisterHelper("getScrollBarLimit", &getScrollBarLimit);
    table.RegisterHelper("getScrollBarStep", &getScrollBarStep);
    table.RegisterHelper("getScrollBarStepLarge", &getScrollBarStepLarge);
    table.RegisterHelper("setScrollBarHorizontal", &setScrollBarHorizontal);
    table.RegisterHelper("getScrollBarHorizontal", &getScrollBarHorizontal);
    table.RegisterHelper("setScrollBarPos", &setScrollBarPos);
    table.RegisterHelper("getScrollBarPos", &getScrollBarPos);
    table.RegisterHelper("getTabCount", &getTabCount);
    table.RegisterHelper("getActiveTab", &getActiveTab);
    table.RegisterHelper("setActiveTab", &setActiveTab);
    table.RegisterHelper("getTabId", &getTabId);
    table.RegisterHelper("setTabControlBackground", &setTabControlBackground);
    table.RegisterHelper("getTabControlBackground", &getTabControlBackground);
    table.RegisterHelper("setTabControlBorder", &setTabControlBorder);
    table.RegisterHelper("getTabControlBorder", &getTabControlBorder);
    table.RegisterHelper("setTabPageBackground", &setTabPageBackground);
    table.RegisterHelper("getTabPageBackground", &getTabPageBackground);
    table.RegisterHelper("setTabPageColor", &setTabPageColor);
    table.RegisterHelper("getTabPageColor", &getTabPageColor);
}
