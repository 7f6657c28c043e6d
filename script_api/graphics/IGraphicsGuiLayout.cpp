// IGraphics: GUI layout files, the GUI fader, message boxes and the
// file-open dialog.

#include "core/foundation/Color.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/FaderManager.h"
#include "gui/layout/GuiLayoutReader.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

#include <irrlicht.h>

using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

// Under a named parent: the parent is looked up before anything loads.
bool loadGui(LuaState*, const std::wstring& fileName, const std::wstring& parentName)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    if (parentName.empty())
        return gui.Load(fileName);
    return gui.GetLayoutReader().LoadUnder(fileName, GetControl(parentName));
}

void removeGui(LuaState*)
{
    GetGui().Clear();
}

bool saveGui(LuaState*, const std::wstring& fileName, const std::string& mode, bool useRelativeCoordinates)
{
    return GetGui().Save(fileName, mode, useRelativeCoordinates, nullptr);
}

bool saveGuiControl(LuaState*, const std::wstring& fileName, const std::string& mode,
                    bool useRelativeCoordinates, const std::wstring& elementName)
{
    irr::gui::IGUIElement* element = GetControl(elementName);
    return GetGui().Save(fileName, mode, useRelativeCoordinates, element);
}

bool setFader(LuaState*, const CColor& color, int32_t inTime, int32_t outTime)
{
    GetGui().SetFader(-1, color, static_cast<uint32_t>(inTime), static_cast<uint32_t>(outTime));
    return true;
}

bool clearFader(LuaState*)
{
    GetGui().GetFader().Clear(true);
    return true;
}

void doFadeIn(LuaState*, const CColor& color, int32_t time)
{
    GetGui().GetFader().FadeIn(color, static_cast<uint32_t>(time), true);
}

void doFadeOut(LuaState*, const CColor& color, int32_t time, bool keep)
{
    GetGui().GetFader().FadeOut(color, static_cast<uint32_t>(time), !keep);
}

CColor getFaderColor(LuaState*)
{
    return GetGui().GetFader().GetColor();
}

int32_t getFaderInTime(LuaState*)
{
    return static_cast<int32_t>(GetGui().GetFader().GetInTime());
}

int32_t getFaderOutTime(LuaState*)
{
    return static_cast<int32_t>(GetGui().GetFader().GetOutTime());
}

bool isFaderComplete(LuaState*)
{
    return GetGui().GetFader().IsComplete();
}

void showMessageBox(LuaState*, const std::wstring& text, const std::wstring& caption,
                    const std::wstring& idName)
{
    GetGui().AddMessageBoxNamed(text, caption, 0, idName, true);
}

void showMessageBoxYesNo(LuaState*, const std::wstring& text, const std::wstring& caption,
                         const std::wstring& idName)
{
    GetGui().AddMessageBoxYesNo(text, caption, idName, true);
}

void showMessageBoxOk(LuaState*, const std::wstring& text, const std::wstring& caption,
                      const std::wstring& idName)
{
    GetGui().AddMessageBoxOk(text, caption, idName, true);
}

void showMessageBoxOkCancel(LuaState*, const std::wstring& text, const std::wstring& caption,
                            const std::wstring& idName)
{
    GetGui().AddMessageBoxOkCancel(text, caption, idName, true);
}

// Without a rectangle (nil or missing) the dialog takes the middle of the
// screen.
void showOpenDialog(LuaState*, const std::wstring& title, const std::wstring& idName,
                    const LuaStackObject& rectArgument, const std::wstring& folder)
{
    const CRect rect = rectArgument.IsNil() || rectArgument.IsNone()
                           ? CRect(0.2f, 0.2f, 0.8f, 0.8f)
                           : CRectScript::Read(rectArgument.GetCState(), rectArgument.GetIndex());
    GetGui().AddFileOpenDialogNamed(title, true, rect, folder, idName);
}

std::wstring getOpenDialogFilename(LuaState*, const std::wstring& idName)
{
    Graphics::GUI::CGuiManager& gui = GetGui();
    return gui.GetOpenDialogFileName(gui.GetElementId(idName, true));
}

bool openDialogFileSelected(LuaState*, int32_t first, int32_t second, int32_t eventType)
{
    return first == second &&
           Graphics::GUI::CGuiManager::IsFileSelectedEvent(static_cast<uint32_t>(eventType));
}

bool openDialogCancelled(LuaState*, int32_t first, int32_t second, int32_t eventType)
{
    return first == second &&
           Graphics::GUI::CGuiManager::IsFileDialogCancelledEvent(static_cast<uint32_t>(eventType));
}

} // namespace

void RegisterIGraphicsGuiLayout(CScriptMetaTable& table)
{
    table.RegisterHelper("loadGui", &loadGui);
    table.RegisterHelper("removeGui", &removeGui);
    table.RegisterHelper("saveGui", &saveGui);
    table.RegisterHelper("saveGuiControl", &saveGuiControl);
    table.RegisterHelper("setFader", &setFader);
    table.RegisterHelper("clearFader", &clearFader);
    table.RegisterHelper("doFadeIn", &doFadeIn);
    table.RegisterHelper("doFadeOut", &doFadeOut);
    table.RegisterHelper("getFaderColor", &getFaderColor);
    table.RegisterHelper("getFaderInTime", &getFaderInTime);
    table.RegisterHelper("getFaderOutTime", &getFaderOutTime);
    table.RegisterHelper("isFaderComplete", &isFaderComplete);
    table.RegisterHelper("showMessageBox", &showMessageBox);
    table.RegisterHelper("showMessageBoxYesNo", &showMessageBoxYesNo);
    table.RegisterHelper("showMessageBoxOk", &showMessageBoxOk);
    table.RegisterHelper("showMessageBoxOkCancel", &showMessageBoxOkCancel);
    table.RegisterHelper("showOpenDialog", &showOpenDialog);
    table.RegisterHelper("getOpenDialogFilename", &getOpenDialogFilename);
    table.RegisterHelper("openDialogFileSelected", &openDialogFileSelected);
    table.RegisterHelper("openDialogCancelled", &openDialogCancelled);
}
