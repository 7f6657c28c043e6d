// IGraphics: tab controls, their pages, free-standing tabs and scroll bars.

#include "core/script/lua/ScriptMetaTable.h"
#include "core/script/lua/ScriptNumbers.h"
#include "gui/elements/GuiScrollBarOperations.h"
#include "gui/elements/GuiTabOperations.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"
#include "script_api/graphics/IGraphicsGuiMenus.h"

#include <irrlicht.h>

using Graphics::GUI::CGuiManager;
using Graphics::GUI::CGuiScrollBarOperations;
using Graphics::GUI::CGuiTabOperations;
using LuaPlus::Index;
using LuaPlus::LuaState;
using LuaPlus::Saturating;
using namespace IGraphicsGui;

namespace
{

using TheTabs = TheGuiPart<CGuiTabOperations, &CGuiManager::GetTabs>;
using TheScrollBars = TheGuiPart<CGuiScrollBarOperations, &CGuiManager::GetScrollBars>;

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

bool createScrollBar(LuaState*, const std::wstring& name, bool horizontal, const CRect& rect,
                     Saturating<uint32_t> maximum, Saturating<int32_t> position, const std::wstring& upName,
                     const std::wstring& downName)
{
    return GetGui().AddScrollBarNamed(name, horizontal, rect, maximum, position, upName, downName) != nullptr;
}

bool setScrollBarLimit(LuaState*, const std::wstring& name, Saturating<uint32_t> maximum, float smallStep,
                       float largeStep)
{
    GetGui().SetScrollBarLimit(GetControl(name), maximum, smallStep, largeStep);
    return true;
}

bool setScrollBarHorizontal(LuaState*, const std::wstring& name, bool horizontal)
{
    GetGui().GetScrollBars().SetHorizontal(GetControl(name), horizontal);
    return true;
}

bool setScrollBarPos(LuaState*, const std::wstring& name, Saturating<int32_t> position)
{
    GetGui().SetScrollBarPos(GetControl(name), position);
    return true;
}

void setActiveTab(LuaState*, const std::wstring& name, Index index)
{
    GetGui().GetTabs().SetActiveTab(GetControl(name), index);
}

// The page's name; past the pages the tab control's own.
std::wstring getTabId(LuaState*, const std::wstring& name, Index index)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* tabControl = GetControl(name);
    irr::gui::IGUIElement* tab = gui.GetTabs().GetTab(tabControl, index);
    return gui.GetElementName((tab != nullptr ? tab : tabControl)->getID(), false);
}

bool setTabControlBackground(LuaState*, const std::wstring& name, bool fill)
{
    GetGui().GetTabs().SetControlBackground(GetControl(name), fill);
    return true;
}

bool setTabControlBorder(LuaState*, const std::wstring& name, bool border)
{
    GetGui().GetTabs().SetControlBorder(GetControl(name), border);
    return true;
}

bool setTabPageBackground(LuaState*, const std::wstring& name, bool drawBackground)
{
    GetGui().GetTabs().SetPageBackground(GetControl(name), drawBackground);
    return true;
}

bool setTabPageColor(LuaState*, const std::wstring& name, const CColor& color)
{
    GetGui().SetTabPageColor(GetControl(name), color);
    return true;
}

} // namespace

void RegisterIGraphicsGuiTabs(CScriptMetaTable& table)
{
    table.RegisterHelper("createTabControl", &createTabControl);
    table.RegisterHelper("createTabPage", &createTabPage);
    table.RegisterHelper("createTab", &createTab);
    table.RegisterHelper("createScrollBar", &createScrollBar);
    table.RegisterHelper("setScrollBarLimit", &setScrollBarLimit);
    table.RegisterMethod<TheScrollBars, Control>("getScrollBarLimit", &CGuiScrollBarOperations::GetMaximum);
    table.RegisterMethod<TheScrollBars, Control>("getScrollBarStep", &CGuiScrollBarOperations::GetSmallStep);
    table.RegisterMethod<TheScrollBars, Control>("getScrollBarStepLarge",
                                                 &CGuiScrollBarOperations::GetLargeStep);
    table.RegisterHelper("setScrollBarHorizontal", &setScrollBarHorizontal);
    table.RegisterMethod<TheScrollBars, Control>("getScrollBarHorizontal",
                                                 &CGuiScrollBarOperations::IsHorizontal);
    table.RegisterHelper("setScrollBarPos", &setScrollBarPos);
    table.RegisterMethod<TheScrollBars, Control>("getScrollBarPos", &CGuiScrollBarOperations::GetPosition);
    table.RegisterMethod<TheTabs, Control>("getTabCount", &CGuiTabOperations::GetCount);
    table.RegisterMethod<TheTabs, Control>("getActiveTab", &CGuiTabOperations::GetActiveTab);
    table.RegisterHelper("setActiveTab", &setActiveTab);
    table.RegisterHelper("getTabId", &getTabId);
    table.RegisterHelper("setTabControlBackground", &setTabControlBackground);
    table.RegisterMethod<TheTabs, Control>("getTabControlBackground",
                                           &CGuiTabOperations::GetControlBackground);
    table.RegisterHelper("setTabControlBorder", &setTabControlBorder);
    table.RegisterMethod<TheTabs, Control>("getTabControlBorder", &CGuiTabOperations::GetControlBorder);
    table.RegisterHelper("setTabPageBackground", &setTabPageBackground);
    table.RegisterMethod<TheTabs, Control>("getTabPageBackground", &CGuiTabOperations::GetPageBackground);
    table.RegisterHelper("setTabPageColor", &setTabPageColor);
    table.RegisterMethod<TheTabs, Control>("getTabPageColor", &CGuiTabOperations::GetPageColor);
}
