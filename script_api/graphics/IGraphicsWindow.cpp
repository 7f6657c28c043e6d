// IGraphics: the render window's caption, icon, style and placement, the
// system clipboard and the frame statistics. Without a device the window
// functions change nothing and the clipboard stays untouched.

#include "core/script/lua/ScriptMetaTable.h"
#include "graphics/engine/GraphicsEngine.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/graphics/IGraphicsGuiBuilders.h"

#include <string>

using LuaPlus::LuaState;

namespace
{

std::wstring getWindowCaption(LuaState*)
{
    return GetScriptGraphicsEngine().GetWindowCaption();
}

void setWindowCaption(LuaState*, const std::wstring& caption)
{
    GetScriptGraphicsEngine().SetWindowCaption(caption);
}

bool setWindowIcon(LuaState*, const std::wstring& file)
{
    return GetScriptGraphicsEngine().SetWindowIcon(file);
}

void setWindowParams(LuaState*, uint32_t style, int32_t left, int32_t top, int32_t width, int32_t height)
{
    GetScriptGraphicsEngine().SetWindowParams(style, left, top, width, height);
}

uint32_t getWindowStyle(LuaState*)
{
    return GetScriptGraphicsEngine().GetWindowStyle();
}

void writeClipboard(LuaState*, const std::string& text)
{
    GetScriptGraphicsEngine().WriteClipboard(text);
}

std::string readClipboard(LuaState*)
{
    return GetScriptGraphicsEngine().ReadClipboard().value_or(std::string());
}

int32_t getFrameRate(LuaState*)
{
    return GetScriptGraphicsEngine().GetFrameRate();
}

uint32_t getNumberOfTris(LuaState*)
{
    return GetScriptGraphicsEngine().GetNumberOfTris();
}

} // namespace

void RegisterIGraphicsWindowFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getWindowCaption", &getWindowCaption);
    table.RegisterHelper("setWindowCaption", &setWindowCaption);
    table.RegisterHelper("setWindowIcon", &setWindowIcon);
    table.RegisterHelper("setWindowParams", &setWindowParams);
    table.RegisterHelper("getWindowStyle", &getWindowStyle);
    table.RegisterHelper("writeClipboard", &writeClipboard);
    table.RegisterHelper("readClipboard", &readClipboard);
    table.RegisterHelper("getFrameRate", &getFrameRate);
    table.RegisterHelper("getNumberOfTris", &getNumberOfTris);
}
