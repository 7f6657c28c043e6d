// IGraphics: creating windows, buttons, images, static texts, edit boxes
// and spin boxes. Each answers whether the control was created.

#include "script_api/graphics/IGraphicsGuiBuilders.h"

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <irrlicht.h>

using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

bool createWindow(LuaState*, const std::wstring& name, const std::wstring& parentName,
                  const std::wstring& caption, const CRect& rect, bool modal, const std::wstring& closeName,
                  const std::wstring& minimizeName, const std::wstring& maximizeName)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    irr::gui::IGUIElement* parent = GetControl(parentName);
    return gui.AddWindowNamed(name, parent, caption, rect, modal, closeName, minimizeName, maximizeName) !=
           nullptr;
}

bool createButton(LuaState*, const std::wstring& name, const std::wstring& text, const CRect& rect,
                  const std::wstring& font, bool push, const std::wstring& image,
                  const std::wstring& pressedImage, bool alpha)
{
    return GetGui().AddButtonNamed(name, text, rect, font, image, pressedImage, push, alpha, true) != nullptr;
}

bool createImage(LuaState*, const std::wstring& name, const std::wstring& file, const CRect& rect, bool alpha,
                 bool scale)
{
    return GetGui().AddImageNamed(name, file, rect, alpha, scale) != nullptr;
}

bool createText(LuaState*, const std::wstring& name, const std::wstring& text, const CRect& rect, bool border,
                bool wordWrap, bool background, const CColor& color, const std::wstring& font)
{
    return GetGui().AddStaticTextNamed(name, text, rect, border, wordWrap, background, color, font) !=
           nullptr;
}

bool createEditText(LuaState*, const std::wstring& name, const std::wstring& text, const CRect& rect,
                    bool border, const std::wstring& font, uint32_t maxChars)
{
    return GetGui().AddEditBoxNamed(name, text, rect, border, font, maxChars) != nullptr;
}

bool createSpinbox(LuaState*, const std::wstring& name, const std::wstring& text, const CRect& rect,
                   float minimum, float maximum, float value, int32_t decimals, const std::wstring& upName,
                   const std::wstring& downName)
{
    return GetGui().AddSpinBoxNamed(name, text, rect, minimum, maximum, value, decimals, upName, downName) !=
           nullptr;
}

} // namespace

void RegisterIGraphicsGuiBuilders(CScriptMetaTable& table)
{
    table.RegisterHelper("createWindow", &createWindow);
    table.RegisterHelper("createButton", &createButton);
    table.RegisterHelper("createImage", &createImage);
    table.RegisterHelper("createText", &createText);
    table.RegisterHelper("createEditText", &createEditText);
    table.RegisterHelper("createSpinbox", &createSpinbox);
}
