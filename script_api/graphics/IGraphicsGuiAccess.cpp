#include "script_api/graphics/IGraphicsGuiAccess.h"

#include "graphics/engine/GraphicsEngine.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/EngineAccess.h"

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

bool IsInternalName(const std::wstring& name)
{
    return name.find(L"__GuiInternal__") != std::wstring::npos;
}

LuaPlus::LuaObject NameOrNil(LuaPlus::LuaState* state, irr::gui::IGUIElement* element)
{
    const std::wstring* name = element != nullptr ? GetGui().FindElementName(element->getID()) : nullptr;
    if (name == nullptr || name->empty() || IsInternalName(*name))
        return LuaPlus::LuaObject();
    return TextOrNil(state, name);
}

LuaPlus::LuaObject TextOrNil(LuaPlus::LuaState* state, const std::wstring* text)
{
    LuaPlus::LuaObject value;
    if (text != nullptr)
        value.Assign(state, std::wstring_view(*text));
    return value;
}

} // namespace IGraphicsGui
