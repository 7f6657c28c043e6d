// IGraphics: scrollers, which move the children of a control across it at
// a constant speed on every graphics tick.

#include "script_api/graphics/IGraphicsGuiScrollers.h"

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiScrollers.h"
#include "gui/manager/GuiManager.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <string>

using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

// Speeds in screen widths and heights per second, the period in
// milliseconds; with keep, children that have left the parent stay.
bool createScroller(LuaState*, const std::wstring& parentName, float speedX, float speedY, uint32_t period,
                    bool keep)
{
    return GetGui().AddScroller(GetControl(parentName), speedX, speedY, period, !keep);
}

bool removeScroller(LuaState*, const std::wstring& parentName)
{
    return GetGui().GetScrollers().Remove(GetControl(parentName));
}

bool addToScroller(LuaState*, const std::wstring& parentName, const std::wstring& name)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* parent = GetControl(parentName);
    gui.AddToScroller(GetControl(name), parent);
    return true;
}

} // namespace

void RegisterIGraphicsGuiScrollers(CScriptMetaTable& table)
{
    table.RegisterHelper("createScroller", &createScroller);
    table.RegisterHelper("removeScroller", &removeScroller);
    table.RegisterHelper("addToScroller", &addToScroller);
}
