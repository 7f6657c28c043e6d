// The GUI manager's layout calls: each hands over to the layout reader or
// writer, which come back through the manager's layout host calls.

#include "core/app/Application.h"
#include "core/io/Archive.h"
#include "gui/manager/GuiManagerParts.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Serialization::IArchive;

void CGuiManager::SetFader(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime)
{
    m_parts->fader.Configure(id, color, inTime, outTime);
}

// ---- reading ----------------------------------------------------------------

bool CGuiManager::Load(const std::wstring& fileName)
{
    return m_parts->layoutReader.Load(fileName);
}

bool CGuiManager::Read(IArchive& archive)
{
    return m_parts->layoutReader.Read(archive);
}

bool CGuiManager::ReadUnder(gui::IGUIElement* element, IArchive& archive)
{
    return m_parts->layoutReader.ReadUnder(element, archive);
}

void CGuiManager::ReadElements(IArchive& archive)
{
    m_parts->layoutReader.ReadElements(archive);
}

void CGuiManager::ReadFader(IArchive& archive)
{
    m_parts->layoutReader.ReadFader(archive);
}

void CGuiManager::ReadTooltipInfo(IArchive& archive)
{
    m_parts->layoutReader.ReadTooltipInfo(archive);
}

void CGuiManager::ReadTabStopInfo(IArchive& archive, gui::IGUIElement* element)
{
    m_parts->layoutReader.ReadTabStopInfo(archive, element);
}

void CGuiManager::ReadAlignmentInfo(IArchive& archive, gui::IGUIElement* element)
{
    m_parts->layoutReader.ReadAlignmentInfo(archive, element);
}

int32_t CGuiManager::ReadElementIdName(IArchive& archive)
{
    return m_parts->layoutReader.ReadElementIdName(archive);
}

bool CGuiManager::ReadShortcut(IArchive& archive, uint32_t eventType, const std::wstring& name)
{
    return m_parts->layoutReader.ReadShortcut(archive, eventType, name);
}

bool CGuiManager::ReadToolTip(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutReader.ReadToolTip(archive, element);
}

gui::IGUIElement* CGuiManager::ReadButton(IArchive& archive)
{
    return m_parts->layoutReader.ReadButton(archive);
}

gui::IGUIElement* CGuiManager::ReadImage(IArchive& archive)
{
    return m_parts->layoutReader.ReadImage(archive);
}

gui::IGUIElement* CGuiManager::ReadStaticText(IArchive& archive)
{
    return m_parts->layoutReader.ReadStaticText(archive);
}

gui::IGUIElement* CGuiManager::ReadEditBox(IArchive& archive)
{
    return m_parts->layoutReader.ReadEditBox(archive);
}

gui::IGUIElement* CGuiManager::ReadSpinBox(IArchive& archive)
{
    return m_parts->layoutReader.ReadSpinBox(archive);
}

gui::IGUIElement* CGuiManager::ReadCheckBox(IArchive& archive)
{
    return m_parts->layoutReader.ReadCheckBox(archive);
}

gui::IGUIElement* CGuiManager::ReadMenu(IArchive& archive)
{
    return m_parts->layoutReader.ReadMenu(archive);
}

gui::IGUIElement* CGuiManager::ReadMenu(IArchive& archive, bool context)
{
    return m_parts->layoutReader.ReadMenu(archive, context);
}

void CGuiManager::loadMenuItems(gui::IGUIContextMenu* menu, IArchive& archive)
{
    m_parts->layoutReader.loadMenuItems(menu, archive);
}

gui::IGUIElement* CGuiManager::ReadToolbar(IArchive& archive)
{
    return m_parts->layoutReader.ReadToolbar(archive);
}

void CGuiManager::ReadToolbarButtons(gui::IGUIElement* toolbar, IArchive& archive)
{
    m_parts->layoutReader.ReadToolbarButtons(toolbar, archive);
}

gui::IGUIElement* CGuiManager::ReadTabControl(IArchive& archive)
{
    return m_parts->layoutReader.ReadTabControl(archive);
}

void CGuiManager::ReadTabPage(IArchive& archive, gui::IGUIElement* tabControl)
{
    m_parts->layoutReader.ReadTabPage(archive, tabControl);
}

gui::IGUIElement* CGuiManager::ReadTab(IArchive& archive)
{
    return m_parts->layoutReader.ReadTab(archive);
}

gui::IGUIElement* CGuiManager::ReadScrollBar(IArchive& archive)
{
    return m_parts->layoutReader.ReadScrollBar(archive);
}

gui::IGUIElement* CGuiManager::ReadTable(IArchive& archive)
{
    return m_parts->layoutReader.ReadTable(archive);
}

// ---- writing ----------------------------------------------------------------

bool CGuiManager::Save(const std::wstring& fileName, const std::string& mode, bool useRelativeCoordinates,
                       gui::IGUIElement* element)
{
    return m_parts->layoutWriter.Save(fileName, mode, useRelativeCoordinates, element);
}

bool CGuiManager::Write(IArchive& archive)
{
    return m_parts->layoutWriter.Write(archive);
}

bool CGuiManager::WriteOneElement(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteOneElement(archive, element);
}

bool CGuiManager::WriteChildren(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteChildren(archive, element);
}

bool CGuiManager::WriteElement(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteElement(archive, element);
}

bool CGuiManager::WriteFader(IArchive& archive)
{
    return m_parts->layoutWriter.WriteFader(archive);
}

bool CGuiManager::WriteTabStopInfo(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteTabStopInfo(archive, element);
}

bool CGuiManager::WriteAlignmentInfo(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteAlignmentInfo(archive, element);
}

bool CGuiManager::WriteElementIdName(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteElementIdName(archive, element);
}

bool CGuiManager::WriteElementPosition(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteElementPosition(archive, element);
}

bool CGuiManager::WriteElementLabel(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteElementLabel(archive, element);
}

bool CGuiManager::WriteShortcut(const std::wstring& name, IArchive& archive)
{
    return m_parts->layoutWriter.WriteShortcut(name, archive);
}

bool CGuiManager::WriteToolTip(gui::IGUIElement* element, IArchive& archive)
{
    return m_parts->layoutWriter.WriteToolTip(element, archive);
}

bool CGuiManager::WriteButton(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteButton(archive, element);
}

bool CGuiManager::WriteImage(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteImage(archive, element);
}

bool CGuiManager::WriteStaticText(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteStaticText(archive, element);
}

bool CGuiManager::WriteEditBox(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteEditBox(archive, element);
}

bool CGuiManager::WriteSpinBox(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteSpinBox(archive, element);
}

bool CGuiManager::WriteCheckBox(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteCheckBox(archive, element);
}

bool CGuiManager::WriteMenu(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteMenu(archive, element);
}

bool CGuiManager::WriteMenuItems(IArchive& archive, gui::IGUIContextMenu* menu)
{
    return m_parts->layoutWriter.WriteMenuItems(archive, menu);
}

bool CGuiManager::WriteToolbar(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteToolbar(archive, element);
}

bool CGuiManager::WriteTabControl(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteTabControl(archive, element);
}

bool CGuiManager::WriteTab(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteTab(archive, element);
}

bool CGuiManager::WriteScrollBar(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteScrollBar(archive, element);
}

bool CGuiManager::WriteTable(IArchive& archive, gui::IGUIElement* element)
{
    return m_parts->layoutWriter.WriteTable(archive, element);
}

} // namespace Graphics::GUI
