// IGraphics: the bitmap-font builder. Scripts hold a builder by the number
// createFontTool gave them; the GUI manager owns the builder, so a number
// that names none (destroyed, or its device gone) is refused, never used.

#include "core/foundation/HandleRegistry.h"
#include "core/foundation/WholeNumbers.h"
#include "core/script/lua/ScriptHandle.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "gui/fonts/FontTool.h"
#include "gui/fonts/FontToolRegistry.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ScriptTexts.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"
#include "script_api/graphics/IGraphicsSprites.h"

#include <string>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackTable;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

template <> struct LuaPlus::ScriptHandleTraits<irr::CFontTool>
{
    static constexpr const char* kName = "font tool";
};

namespace
{

using FontTool = LuaPlus::ScriptHandle<irr::CFontTool>;

// The index of the first equal name; without a name (absent) the first.
bool FindName(const std::vector<std::wstring>& names, const LuaStackTable& options, const char* key,
              uint32_t& index)
{
    const int type = options.FieldType(key);
    if (type != LUA_TSTRING && type != LUA_TNUMBER)
    {
        index = 0;
        return !names.empty();
    }
    const std::wstring wanted = options.Get<std::wstring>(key);
    for (index = 0; index < names.size(); ++index)
    {
        if (names[index] == wanted)
            return true;
    }
    return false;
}

// A number option, held to the range of T; a field that is missing or not
// a number (NaN included) takes the default.
template <typename T> T NumberOption(const LuaStackTable& options, const char* key, T defaultValue)
{
    T value = defaultValue;
    if (options.FieldType(key) != LUA_TNUMBER ||
        !Misc::WholeNumbers::Saturate(options.Get<double>(key), value))
        return defaultValue;
    return value;
}

std::string TextOption(const LuaStackTable& options, const char* key, const char* defaultValue)
{
    const int type = options.FieldType(key);
    if (type != LUA_TSTRING && type != LUA_TNUMBER)
        return defaultValue;
    return options.Get<std::string>(key);
}

lua_Number createFontTool(LuaState*)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    return gui.GetFontTools().Create(gui.GetDevice());
}

// Never raises: a number that names no builder (any more) answers false.
bool destroyFontTool(LuaState*, lua_Number handle)
{
    uint32_t id = 0;
    if (handle == 0)
        return true;
    return Misc::CHandleRegistry::ToId(handle, id) && GetGui().GetFontTools().Destroy(id);
}

LuaObject getCharsets(LuaState* state, FontTool tool)
{
    return TextList(state, tool->GetCharacterSetNames());
}

LuaObject getFontnames(LuaState* state, FontTool handle, const std::wstring& charsetName)
{
    irr::CFontTool& tool = *handle;
    const std::vector<std::wstring>& charsets = tool.GetCharacterSetNames();
    for (uint32_t index = 0; index < charsets.size(); ++index)
    {
        if (charsets[index] == charsetName)
        {
            tool.SelectCharacterSet(index);
            return TextList(state, tool.GetFontNames());
        }
    }
    return LuaObject();
}

bool createFont(LuaState*, FontTool handle, const LuaStackTable& options)
{
    irr::CFontTool& tool = *handle;
    uint32_t charset = 0;
    if (!FindName(tool.GetCharacterSetNames(), options, "charSet", charset))
        return false;
    tool.SelectCharacterSet(charset);
    uint32_t font = 0;
    if (!FindName(tool.GetFontNames(), options, "fontName", font))
        return false;
    const bool built = tool.BuildFont(
        font, charset, NumberOption<int32_t>(options, "fontSize", 12),
        NumberOption<uint32_t>(options, "textureWidth", 256),
        NumberOption<uint32_t>(options, "textureHeight", 256), NumberOption<int32_t>(options, "bold", 0) != 0,
        NumberOption<int32_t>(options, "italic", 0) != 0, NumberOption<int32_t>(options, "antiAlias", 0) != 0,
        NumberOption<int32_t>(options, "alpha", 0) != 0);
    return built && tool.SaveFont(TextOption(options, "filenameBase", "myfont"),
                                  TextOption(options, "imageFormat", "png"));
}

} // namespace

void RegisterIGraphicsFontFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("createFontTool", &createFontTool);
    table.RegisterHelper("destroyFontTool", &destroyFontTool);
    table.RegisterHelper("getCharsets", &getCharsets);
    table.RegisterHelper("getFontnames", &getFontnames);
    table.RegisterHelper("createFont", &createFont);
}
