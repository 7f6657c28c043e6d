// Writing GUI layouts: whole GUIs and single elements, and the blocks every
// element shares (id and name, position, label, tooltip, tab stops,
// alignment, children). The kinds' own block bodies are written beside
// their readers.

#include "gui/layout/GuiLayoutWriter.h"

#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "core/io/Archive.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveText.h"
#include "core/io/DataBag.h"
#include "core/io/Serializable.h"
#include "gui/layout/GuiLayoutKinds.h"
#include "gui/layout/IGuiLayoutHost.h"
#include "gui/layout/LayoutArchive.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <vector>

namespace Graphics::GUI
{

using Layout::kLayoutTypeName;
using Layout::UsesRelativeCoordinates;
using Layout::WriteBlockEnd;
using Layout::WriteBlockStart;
using Layout::WriteKeyFloats;

using namespace irr;
using Misc::Serialization::IArchive;

// ---- shared element keys ----------------------------------------------------

bool CGuiLayoutWriter::WriteElementIdName(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr)
        return false;
    if (const std::pmr::wstring* name = m_host.FindElementName(element->getID()))
        return archive.WriteKeyWString("-IdName", std::wstring(*name));
    return archive.WriteKeyInt("-Id", element->getID());
}

bool CGuiLayoutWriter::WriteElementPosition(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr)
        return false;
    const core::rect<s32> rect = element->getRelativePosition();
    float x1 = static_cast<float>(rect.UpperLeftCorner.X);
    float y1 = static_cast<float>(rect.UpperLeftCorner.Y);
    float x2 = static_cast<float>(rect.LowerRightCorner.X);
    float y2 = static_cast<float>(rect.LowerRightCorner.Y);
    if (UsesRelativeCoordinates(archive))
    {
        x1 = PixelsToFraction(x1, m_host.GetScreenWidth());
        x2 = PixelsToFraction(x2, m_host.GetScreenWidth());
        y1 = PixelsToFraction(y1, m_host.GetScreenHeight());
        y2 = PixelsToFraction(y2, m_host.GetScreenHeight());
    }
    return WriteKeyFloats(archive, "-Position", {x1, y1, x2, y2});
}

bool CGuiLayoutWriter::WriteElementLabel(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr)
        return false;
    return archive.WriteKeyWString("-Label", m_host.GetElementText(element));
}

bool CGuiLayoutWriter::WriteShortcut(const std::wstring& name, IArchive& archive)
{
    const CGuiShortcuts::Binding* binding = m_host.FindShortcutOf(name);
    return binding == nullptr || archive.WriteKeyString("-Shortcut", CGuiShortcuts::Text(binding->first));
}

bool CGuiLayoutWriter::WriteToolTip(gui::IGUIElement* element, IArchive& archive)
{
    if (!m_host.HasElementToolTip(element))
        return true;
    return WriteBlockStart(archive, "Tooltip{") &&
           archive.WriteKeyWString("-Label", m_host.GetElementToolTip(element)) && WriteBlockEnd(archive);
}

// ---- the GUI and its elements -----------------------------------------------

bool CGuiLayoutWriter::WriteFader(IArchive& archive)
{
    const SGuiFaderSettings fader = m_host.GetFaderSettings();
    const CNamedColor color(fader.color, "-Color");
    return archive.WriteString("-Id") && archive.WriteSpaces(1) && archive.WriteLong(fader.id) &&
           archive.EndLine(0) && color.Write(archive) && archive.WriteString("-InTime") &&
           archive.WriteSpaces(1) && archive.WriteLong(static_cast<int32_t>(fader.inTime)) &&
           archive.EndLine(0) && archive.WriteString("-OutTime") && archive.WriteSpaces(1) &&
           archive.WriteLong(static_cast<int32_t>(fader.outTime)) && archive.EndLine(0);
}

bool CGuiLayoutWriter::Write(IArchive& archive)
{
    gui::IGUIElement* parent = m_host.GetGuiParent();
    if (parent == nullptr)
        return true;
    const bool fader = WriteBlockStart(archive, "Fader{") && WriteFader(archive) && WriteBlockEnd(archive);
    return WriteChildren(archive, parent) && fader;
}

bool CGuiLayoutWriter::WriteOneElement(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr)
        return true;
    const bool written = WriteBlockStart(archive, "Gui{") && WriteElement(archive, element);
    return WriteBlockEnd(archive) && written;
}

bool CGuiLayoutWriter::WriteChildren(IArchive& archive, gui::IGUIElement* element)
{
    std::vector<gui::IGUIElement*> children;
    for (gui::IGUIElement* child : element->getChildren())
        children.push_back(child);
    bool ok = WriteBlockStart(archive, "Gui{");
    for (gui::IGUIElement* child : children)
        ok = WriteElement(archive, child) && ok;
    return WriteBlockEnd(archive) && ok;
}

bool CGuiLayoutWriter::WriteElement(IArchive& archive, gui::IGUIElement* element)
{
    const std::wstring name = m_host.GetElementName(element->getID(), false);
    if (name.find(L"__GuiInternal__") != std::wstring::npos || element->isSubElement())
        return true;
    const SGuiLayoutKind* kind = CGuiLayoutKinds::FindByType(m_host.GetElementType(element));
    if (kind == nullptr || kind->writer == nullptr)
        return true;
    bool ok = WriteBlockStart(archive, (std::string(kind->blockName) + "{").c_str());
    ok = ok && (this->*(kind->writer))(archive, element);
    ok = ok && WriteToolTip(element, archive) && WriteTabStopInfo(archive, element) &&
         WriteAlignmentInfo(archive, element) && WriteChildren(archive, element);
    return WriteBlockEnd(archive) && ok;
}

bool CGuiLayoutWriter::WriteTabStopInfo(IArchive& archive, gui::IGUIElement* element)
{
    return WriteBlockStart(archive, "TabStopInfo{") &&
           archive.WriteKeyBool("-TabStop", m_host.GetElementTabStop(element)) &&
           archive.WriteKeyBool("-TabGroup", m_host.GetElementTabGroup(element)) &&
           archive.WriteKeyInt("-TabOrder", m_host.GetElementTabOrder(element)) && WriteBlockEnd(archive);
}

bool CGuiLayoutWriter::WriteAlignmentInfo(IArchive& archive, gui::IGUIElement* element)
{
    const bool relative = UsesRelativeCoordinates(archive);
    const uint32_t screenWidth = m_host.GetScreenWidth();
    const uint32_t screenHeight = m_host.GetScreenHeight();
    const auto size = [&](uint32_t pixels, uint32_t screen)
    { return relative ? PixelsToFraction(pixels, screen) : static_cast<float>(pixels); };
    IrrlichtGui::SElementLayout layout;
    IrrlichtGui::ReadElementLayout(m_host.GetDevice(), element, layout);
    bool ok = WriteBlockStart(archive, "AlignmentInfo{") && archive.WriteString("-Alignment");
    for (int32_t value : {layout.alignLeft, layout.alignTop, layout.alignRight, layout.alignBottom})
        ok = ok && archive.WriteSpaces(1) && archive.WriteInt(value);
    ok = ok && archive.EndLine(0) &&
         WriteKeyFloats(archive, "-MinSize",
                        {size(layout.minWidth, screenWidth), size(layout.minHeight, screenHeight)}) &&
         WriteKeyFloats(archive, "-MaxSize",
                        {size(layout.maxWidth, screenWidth), size(layout.maxHeight, screenHeight)}) &&
         archive.WriteKeyBool("-Clipped", m_host.IsElementClipped(element));
    return ok && WriteBlockEnd(archive);
}

// ---- files ------------------------------------------------------------------

bool CGuiLayoutWriter::Save(const std::wstring& fileName, const std::string& mode,
                            bool useRelativeCoordinates, gui::IGUIElement* element)
{
    m_guiFile = fileName;
    Misc::CLogger* logger = Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
    logger->Write(logger->GetSystemLevel(), false, L"[CGuiManager::Save] Saving %s...", fileName.c_str());
    const auto save = [&](auto& archive)
    {
        if (!archive.IsOpen())
            return false;
        archive.GetDataBag().SetBool(L"useRelativeCoordinates", useRelativeCoordinates);
        const bool written = element != nullptr ? WriteOneElement(archive, element) : Write(archive);
        return archive.Close() && written;
    };
    const bool compressed = mode == "COMPRESSED";
    if (compressed || mode == "BINARY")
    {
        Misc::Serialization::CArchiveBin archive(fileName, true, kLayoutTypeName,
                                                 Misc::Serialization::kSerialVersion, nullptr, compressed);
        return save(archive);
    }
    Misc::Serialization::CArchiveText archive(fileName, true, kLayoutTypeName,
                                              Misc::Serialization::kSerialVersion, nullptr, mode.c_str());
    return save(archive);
}

} // namespace Graphics::GUI
