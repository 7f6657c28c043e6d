#include "script_api/graphics/IGraphicsGuiAccess.h"

#include "graphics/engine/GraphicsEngine.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/ScriptTexts.h"

#include <IGUIElement.h>

namespace IGraphicsGui
{

Graphics::GUI::CGuiManager& GetGui()
{
    return *GetScriptGraphicsEngine().GetGuiManager();
}

irr::gui::IGUIElement* GetControl(const std::wstring& name)
{
    return GetGui().GetElement(name, true);
}

irr::gui::IGUIElement* ControlLookup::Resolve(lua_State* L, int index)
{
    return GetControl(LuaPlus::lua_towstring(L, index));
}

bool IsInternalName(std::wstring_view name)
{
    return name.find(L"__GuiInternal__") != std::wstring::npos;
}

LuaPlus::LuaObject NameOrNil(LuaPlus::LuaState* state, irr::gui::IGUIElement* element)
{
    const std::pmr::wstring* name = element != nullptr ? GetGui().FindElementName(element->getID()) : nullptr;
    if (name == nullptr || name->empty() || IsInternalName(*name))
        return LuaPlus::LuaObject();
    return TextOrNil(state, name);
}

} // namespace IGraphicsGui
