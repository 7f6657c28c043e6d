// Tab controls, tabs and scroll bars in GUI layouts: the "TabControl"
// block with the "TabPage{" entries it may hold, the "Tab" block (also
// "TabColor" and "TabPage") and the "Scrollbar" block.

#include "core/foundation/Color.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "irrlicht/IrrlichtConversions.h"
#include "gui/layout/GuiLayoutReader.h"
#include "gui/layout/GuiLayoutWriter.h"
#include "gui/layout/IGuiLayoutHost.h"
#include "gui/layout/LayoutArchive.h"
#include "gui/manager/GuiIdSet.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <climits>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::GUI
{

using Layout::Require;

using namespace irr;
using Misc::Serialization::IArchive;

namespace
{

// "-Font" in tab control blocks of these versions only.
constexpr uint32_t kTabControlFontVersion = FileVersion::kElementFonts;
constexpr uint32_t kTabControlNoFontVersion = FileVersion::kGuiElementLinks;
// Tab pages store their background and colour from this version on.
constexpr uint32_t kTabPageColorVersion = FileVersion::kTabPageColor;
// Scroll bars store their steps and button names from this version on.
constexpr uint32_t kScrollBarStepsVersion = FileVersion::kGuiElementLinks;

} // namespace

gui::IGUIElement* CGuiLayoutReader::ReadTabControl(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    CRect rect;
    bool fillBackground = false;
    bool border = false;
    rect = ReadElementPosition(archive);
    Require(archive.ReadKeyBool("-ShowBackground", fillBackground), "-ShowBackground");
    Require(archive.ReadKeyBool("-ShowBorder", border), "-ShowBorder");
    // The font is read and has no effect; files of some versions must have
    // it.
    const bool fontRequired = archive.IsVersionAtLeast(kTabControlFontVersion) &&
                              !archive.IsVersionAtLeast(kTabControlNoFontVersion);
    if (fontRequired)
        archive.ExpectToken("-Font");
    if (fontRequired || archive.TestToken("-Font"))
    {
        std::wstring font;
        Require(archive.ReadWString(font), "-Font");
    }
    gui::IGUITabControl* tabControl =
        m_host.AddTabControl(id, m_host.ScreenRectToPixels(rect), fillBackground, border);
    if (tabControl == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::ReadTabControl] Gui environment not available.");
    ReadToolTip(archive, tabControl);
    while (archive.TestToken("TabPage{"))
        ReadTabPage(archive, tabControl);
    return tabControl;
}

void CGuiLayoutReader::ReadTabPage(IArchive& archive, gui::IGUIElement* tabControl)
{
    const int32_t id = ReadElementIdName(archive);
    std::wstring label;
    // Older files store neither: the page is drawn in the skin's face
    // colour.
    bool drawBackground = true;
    CNamedColor color(0, 0, 0, 0, "-Color");
    Require(archive.ReadKeyWString("-Label", label), "-Label");
    if (archive.IsVersionAtLeast(kTabPageColorVersion))
    {
        Require(archive.ReadKeyBool("-Background", drawBackground), "-Background");
        Require(color.Read(archive), "-Color");
    }
    gui::IGUITab* page = m_host.addTabPage(tabControl, id, label, color, drawBackground);
    if (page == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::ReadTabPage] Gui environment not available.");
    ReadToolTip(archive, page);
    ReadTabStopInfo(archive, page);
    ReadUnder(page, archive);
    archive.ExpectToken("}");
}

bool CGuiLayoutWriter::WriteTabControl(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr || element->getType() != gui::EGUIET_TAB_CONTROL)
        return false;
    // The pages are the tab control's children: the element writer writes
    // them as "Tab" blocks of its nested GUI.
    const IrrlichtGui::CElementAttributes attributes(m_host.GetDevice(), element);
    bool ok = WriteElementIdName(archive, element);
    ok = WriteElementPosition(archive, element) && ok;
    ok = archive.WriteKeyBool("-ShowBackground", attributes.Bool("FillBackground")) && ok;
    return archive.WriteKeyBool("-ShowBorder", attributes.Bool("Border")) && ok;
}

gui::IGUIElement* CGuiLayoutReader::ReadTab(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    bool hasRect = false;
    CRect rect;
    std::wstring label;
    bool drawBackground = true;
    CNamedColor color(0, 0, 0, 0, "-Color");
    int32_t tabControlId = 0;
    bool hasTabControl = false;
    if (archive.TestToken("-Position", true))
    {
        rect = ReadElementPosition(archive);
        hasRect = true;
    }
    if (archive.TestToken("-Label"))
        Require(archive.ReadWString(label), "-Label");
    if (archive.TestToken("-Background"))
        Require(archive.ReadBool(drawBackground), "-Background");
    if (archive.TestToken("-Color", true))
        Require(color.Read(archive), "-Color");
    if (archive.TestToken("-TabControl"))
    {
        Require(archive.ReadLong(tabControlId), "-TabControl");
        hasTabControl = true;
    }

    gui::IGUIElement* target = m_host.GetGuiParent();
    if (hasTabControl && m_host.ElementIdExists(tabControlId))
        target = m_host.GetElement(tabControlId, false);
    if (target != nullptr && target->getType() == gui::EGUIET_TAB_CONTROL)
    {
        gui::IGUITab* page = m_host.addTabPage(target, id, label, color, drawBackground);
        if (page == nullptr)
            throw Misc::Error::CKVOError(L"[CGuiManager::ReadTab] Gui environment not available.");
        return page;
    }
    // A free-standing tab without a rectangle fills its parent.
    gui::IGUIElement* parent = m_host.GetGuiParent();
    if (!hasRect && parent != nullptr)
    {
        const core::rect<s32> area = parent->getRelativePosition();
        rect = CRect(0, 0, static_cast<float>(area.getWidth()), static_cast<float>(area.getHeight()));
    }
    else
    {
        rect = m_host.ScreenRectToPixels(rect);
    }
    gui::IGUITab* tab = m_host.AddTab(id, rect, drawBackground, color);
    if (tab == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::ReadTab] Gui environment not available.");
    if (!label.empty())
        tab->setText(label.c_str());
    return tab;
}

bool CGuiLayoutWriter::WriteTab(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr || element->getType() != gui::EGUIET_TAB)
        return false;
    auto* tab = static_cast<gui::IGUITab*>(element);
    bool ok = WriteElementIdName(archive, element);
    ok = WriteElementPosition(archive, element) && ok;
    ok = WriteElementLabel(archive, element) && ok;
    ok = archive.WriteKeyBool("-Background", tab->isDrawingBackground()) && ok;
    return CNamedColor(FromSColor(tab->getBackgroundColor()), "-Color").Write(archive) && ok;
}

gui::IGUIElement* CGuiLayoutReader::ReadScrollBar(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    CRect rect;
    std::string style;
    uint32_t maximum = 0;
    uint32_t position = 0;
    // Files without steps take a tenth and a fifth of the maximum.
    float smallStep = 0.0f;
    float largeStep = 0.0f;
    std::wstring upName;
    std::wstring downName;
    rect = ReadElementPosition(archive);
    Require(archive.ReadKeyString("-Style", style), "-Style");
    Require(archive.ReadKeyUInt("-Max", maximum), "-Max");
    Require(archive.ReadKeyUInt("-InitPos", position), "-InitPos");
    if (archive.IsVersionAtLeast(kScrollBarStepsVersion))
    {
        Require(archive.ReadKeyFloat("-SmallStep", smallStep), "-SmallStep");
        Require(archive.ReadKeyFloat("-LargeStep", largeStep), "-LargeStep");
        Require(archive.ReadKeyWString("-UpButtonId", upName), "-UpButtonId");
        Require(archive.ReadKeyWString("-DownButtonId", downName), "-DownButtonId");
    }
    const int32_t upId = upName.empty() ? 0 : m_host.RegisterElementName(upName, IdAfter(id, 1));
    const int32_t downId = downName.empty() ? 0 : m_host.RegisterElementName(downName, IdAfter(id, 2));
    const int32_t start =
        position > static_cast<uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(position);
    gui::IGUIScrollBar* bar = m_host.AddScrollBar(id, style == "horizontal", m_host.ScreenRectToPixels(rect),
                                                  maximum, start, upId, downId);
    if (bar == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::ReadScrollBar] Gui environment not available.");
    m_host.SetScrollBarLimit(bar, maximum, smallStep, largeStep);
    return bar;
}

bool CGuiLayoutWriter::WriteScrollBar(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr || element->getType() != gui::EGUIET_SCROLL_BAR)
        return false;
    auto* bar = static_cast<gui::IGUIScrollBar*>(element);
    bool ok = WriteElementIdName(archive, element);
    ok = WriteElementPosition(archive, element) && ok;
    ok = archive.WriteKeyString("-Style", m_host.GetScrollBarHorizontal(bar) ? "horizontal" : "vertical") &&
         ok;
    // Stored as unsigned 32-bit values of the ULong kind.
    ok = archive.WriteKeyLong("-Max", bar->getMax()) && ok;
    ok = archive.WriteKeyLong("-InitPos", bar->getPos()) && ok;
    ok = archive.WriteKeyFloat("-SmallStep", m_host.GetScrollBarSmallStep(bar)) && ok;
    ok = archive.WriteKeyFloat("-LargeStep", m_host.GetScrollBarLargeStep(bar)) && ok;
    ok = archive.WriteKeyWString("-UpButtonId",
                                 m_host.GetElementName(m_host.GetScrollBarUpButtonId(bar), false)) &&
         ok;
    return archive.WriteKeyWString("-DownButtonId",
                                   m_host.GetElementName(m_host.GetScrollBarDownButtonId(bar), false)) &&
           ok;
}

} // namespace Graphics::GUI
