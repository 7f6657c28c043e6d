// The layout reader's and writer's calls: the manager's own, or those of
// the part that holds them.

#include "gui/manager/GuiManagerLayoutHost.h"

#include "gui/manager/GuiManagerParts.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Serialization::IArchive;

IrrlichtDevice* CGuiManager::CLayoutHost::GetDevice() const
{
    return m_manager.GetDevice();
}

gui::IGUIEnvironment* CGuiManager::CLayoutHost::GetGuiEnvironment() const
{
    return m_manager.GetGuiEnvironment();
}

CGuiEventQueue& CGuiManager::CLayoutHost::GetEventQueue()
{
    return m_manager.GetEventQueue();
}

::CApplication* CGuiManager::CLayoutHost::GetLayoutApplication() const
{
    return m_manager.m_host != nullptr ? m_manager.m_host->GetApplication() : nullptr;
}

gui::IGUIElement* CGuiManager::CLayoutHost::GetGuiParent()
{
    return m_manager.GetGuiParent();
}

void CGuiManager::CLayoutHost::SetGuiParent(gui::IGUIElement* element)
{
    m_manager.SetGuiParent(element);
}

bool CGuiManager::CLayoutHost::IsAttached(const gui::IGUIElement* element) const
{
    return m_manager.IsAttached(element);
}

void CGuiManager::CLayoutHost::RemoveChildren(gui::IGUIElement* element)
{
    m_manager.RemoveChildren(element);
}

int32_t CGuiManager::CLayoutHost::RegisterElementName(const std::wstring& name, int32_t requestedId)
{
    return m_manager.RegisterElementName(name, requestedId);
}

std::wstring CGuiManager::CLayoutHost::GetElementName(int32_t id, bool throwIfMissing) const
{
    return m_manager.GetElementName(id, throwIfMissing);
}

const std::pmr::wstring* CGuiManager::CLayoutHost::FindElementName(int32_t id) const
{
    return m_manager.FindElementName(id);
}

gui::IGUIElement* CGuiManager::CLayoutHost::GetElement(int32_t id, bool throwIfMissing)
{
    return m_manager.GetElement(id, throwIfMissing);
}

gui::IGUIElement* CGuiManager::CLayoutHost::GetElement(const std::wstring& name, bool throwIfMissing)
{
    return m_manager.GetElement(name, throwIfMissing);
}

bool CGuiManager::CLayoutHost::ElementIdExists(int32_t id)
{
    return m_manager.ElementIdExists(id);
}

int32_t CGuiManager::CLayoutHost::GetElementType(gui::IGUIElement* element) const
{
    return m_manager.GetElementType(element);
}

uint32_t CGuiManager::CLayoutHost::GetScreenWidth() const
{
    return m_manager.GetScreenWidth();
}

uint32_t CGuiManager::CLayoutHost::GetScreenHeight() const
{
    return m_manager.GetScreenHeight();
}

CRect CGuiManager::CLayoutHost::ScreenRectToPixels(const CRect& rect) const
{
    return m_manager.ScreenRectToPixels(rect);
}

core::rect<s32> CGuiManager::CLayoutHost::ScreenRectToPixelRect(const CRect& rect) const
{
    return m_manager.ScreenRectToPixelRect(rect);
}

std::wstring CGuiManager::CLayoutHost::GetElementText(gui::IGUIElement* element) const
{
    return m_manager.GetElementText(element);
}

void CGuiManager::CLayoutHost::SetElementToolTip(gui::IGUIElement* element, const std::wstring& text)
{
    m_manager.SetElementToolTip(element, text);
}

std::wstring CGuiManager::CLayoutHost::GetElementToolTip(gui::IGUIElement* element) const
{
    return m_manager.GetElementToolTip(element);
}

bool CGuiManager::CLayoutHost::HasElementToolTip(gui::IGUIElement* element) const
{
    return m_manager.HasElementToolTip(element);
}

bool CGuiManager::CLayoutHost::GetElementTabStop(gui::IGUIElement* element) const
{
    return m_manager.GetElementTabStop(element);
}

void CGuiManager::CLayoutHost::SetElementTabStop(gui::IGUIElement* element, bool enable)
{
    m_manager.SetElementTabStop(element, enable);
}

bool CGuiManager::CLayoutHost::GetElementTabGroup(gui::IGUIElement* element) const
{
    return m_manager.GetElementTabGroup(element);
}

void CGuiManager::CLayoutHost::SetElementTabGroup(gui::IGUIElement* element, bool enable)
{
    m_manager.SetElementTabGroup(element, enable);
}

int32_t CGuiManager::CLayoutHost::GetElementTabOrder(gui::IGUIElement* element) const
{
    return m_manager.GetElementTabOrder(element);
}

void CGuiManager::CLayoutHost::SetElementTabOrder(gui::IGUIElement* element, int32_t order)
{
    m_manager.SetElementTabOrder(element, order);
}

void CGuiManager::CLayoutHost::SetElementAlignment(gui::IGUIElement* element, int32_t left, int32_t top,
                                                   int32_t right, int32_t bottom)
{
    m_manager.SetElementAlignment(element, left, top, right, bottom);
}

void CGuiManager::CLayoutHost::SetElementMinSize(gui::IGUIElement* element, float width, float height)
{
    m_manager.SetElementMinSize(element, width, height);
}

void CGuiManager::CLayoutHost::SetElementMaxSize(gui::IGUIElement* element, float width, float height)
{
    m_manager.SetElementMaxSize(element, width, height);
}

bool CGuiManager::CLayoutHost::IsElementClipped(gui::IGUIElement* element) const
{
    return m_manager.IsElementClipped(element);
}

void CGuiManager::CLayoutHost::SetElementClipped(gui::IGUIElement* element, bool clipped)
{
    m_manager.SetElementClipped(element, clipped);
}

void CGuiManager::CLayoutHost::SetElementRelativeRect(gui::IGUIElement* element, const core::rect<s32>& rect)
{
    m_manager.SetElementRelativeRect(element, rect);
}

std::optional<std::wstring> CGuiManager::CLayoutHost::GetElementFontFile(gui::IGUIElement* element)
{
    return m_manager.m_parts->properties.GetElementFontFile(element);
}

std::wstring CGuiManager::CLayoutHost::GetTextureFile(video::ITexture* texture) const
{
    return m_manager.GetTextureFile(texture);
}

uint16_t CGuiManager::CLayoutHost::AddShortcutText(const std::string& text, const std::wstring& name,
                                                   uint32_t eventType, bool unique)
{
    return m_manager.AddShortcutText(text, name, eventType, unique);
}

const CGuiShortcuts::Binding* CGuiManager::CLayoutHost::FindShortcutOf(const std::wstring& name) const
{
    return m_manager.m_shortcuts.FindOf(name);
}

void CGuiManager::CLayoutHost::ReadSkin(IArchive& archive)
{
    m_manager.ReadSkin(archive);
}

void CGuiManager::CLayoutHost::ReadFonts(IArchive& archive)
{
    m_manager.ReadFonts(archive);
}

bool CGuiManager::CLayoutHost::ReadSpriteBank(IArchive& archive)
{
    return m_manager.m_parts->sprites.Load(archive, nullptr);
}

void CGuiManager::CLayoutHost::SetFader(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime)
{
    m_manager.SetFader(id, color, inTime, outTime);
}

SGuiFaderSettings CGuiManager::CLayoutHost::GetFaderSettings() const
{
    const CFaderManager& fader = m_manager.m_parts->fader;
    SGuiFaderSettings settings;
    settings.id = fader.GetId();
    settings.color = fader.GetColor();
    settings.inTime = fader.GetInTime();
    settings.outTime = fader.GetOutTime();
    return settings;
}

gui::IGUIButton* CGuiManager::CLayoutHost::AddButton(int32_t id, const std::wstring& text,
                                                     const core::rect<s32>& rect, const std::wstring& font,
                                                     const std::wstring& image,
                                                     const std::wstring& pressedImage, bool push, bool alpha,
                                                     bool border)
{
    return m_manager.AddButton(id, text, rect, font, image, pressedImage, push, alpha, border);
}

gui::IGUIImage* CGuiManager::CLayoutHost::addImage(int32_t id, const std::wstring& file,
                                                   const core::rect<s32>& rect, bool alpha, bool scale)
{
    return m_manager.addImage(id, file, rect, alpha, scale);
}

gui::IGUIStaticText* CGuiManager::CLayoutHost::AddStaticText(int32_t id, const std::wstring& text,
                                                             const core::rect<s32>& rect, bool border,
                                                             bool wordWrap, bool background,
                                                             const CColor& color, const std::wstring& font)
{
    return m_manager.AddStaticText(id, text, rect, border, wordWrap, background, color, font);
}

CColor CGuiManager::CLayoutHost::GetStaticTextColor(gui::IGUIElement* element)
{
    return m_manager.m_parts->properties.GetStaticTextColor(element);
}

CColor CGuiManager::CLayoutHost::GetStaticTextBackgroundColor(gui::IGUIElement* element)
{
    return m_manager.m_parts->properties.GetStaticTextBackgroundColor(element);
}

gui::IGUIEditBox* CGuiManager::CLayoutHost::AddEditBox(int32_t id, const std::wstring& text,
                                                       const core::rect<s32>& rect, bool border,
                                                       const std::wstring& font, uint32_t maxChars)
{
    return m_manager.AddEditBox(id, text, rect, border, font, maxChars);
}

void CGuiManager::CLayoutHost::SetEditBoxMultiline(gui::IGUIElement* element, bool multiline)
{
    m_manager.SetEditBoxMultiline(element, multiline);
}

void CGuiManager::CLayoutHost::SetEditBoxColor(gui::IGUIElement* element, const CColor& color)
{
    m_manager.m_parts->properties.SetEditBoxColor(element, color);
}

CColor CGuiManager::CLayoutHost::GetEditBoxColor(gui::IGUIElement* element)
{
    return m_manager.m_parts->properties.GetEditBoxColor(element);
}

gui::IGUISpinBox* CGuiManager::CLayoutHost::AddSpinBox(int32_t id, const std::wstring& text,
                                                       const core::rect<s32>& rect, int32_t upId,
                                                       int32_t downId, float minimum, float maximum,
                                                       float value, int32_t decimals)
{
    return m_manager.AddSpinBox(id, text, rect, upId, downId, minimum, maximum, value, decimals);
}

void CGuiManager::CLayoutHost::SetSpinBoxStepSize(gui::IGUIElement* element, float step)
{
    m_manager.m_parts->properties.SetSpinBoxStepSize(element, step);
}

int32_t CGuiManager::CLayoutHost::GetSpinBoxDecimals(gui::IGUIElement* element)
{
    return m_manager.m_parts->properties.GetSpinBoxDecimals(element);
}

gui::IGUIButton* CGuiManager::CLayoutHost::GetSpinBoxButton(gui::IGUISpinBox* spinBox, bool up) const
{
    return CGuiElementProperties::GetSpinBoxButton(spinBox, up);
}

gui::IGUICheckBox* CGuiManager::CLayoutHost::AddCheckBox(int32_t id, const std::wstring& caption,
                                                         bool checked, const CRect& pixelRect)
{
    return m_manager.AddCheckBox(id, caption, checked, pixelRect);
}

bool CGuiManager::CLayoutHost::IsCheckBoxChecked(gui::IGUIElement* element) const
{
    return m_manager.m_parts->properties.IsCheckBoxChecked(element);
}

gui::IGUIContextMenu* CGuiManager::CLayoutHost::AddMenu(int32_t id)
{
    return m_manager.AddMenu(id);
}

gui::IGUIContextMenu* CGuiManager::CLayoutHost::AddContextMenu(int32_t id, const CRect& pixelRect)
{
    return m_manager.AddContextMenu(id, pixelRect);
}

gui::IGUIContextMenu* CGuiManager::CLayoutHost::addSubMenu(gui::IGUIElement* menu, const std::wstring& text,
                                                           int32_t id, bool enabled, int32_t position)
{
    return m_manager.addSubMenu(menu, text, id, enabled, position);
}

bool CGuiManager::CLayoutHost::addMenuItem(gui::IGUIElement* menu, const std::wstring& text, int32_t id,
                                           bool enabled, bool checked, int32_t position)
{
    return m_manager.addMenuItem(menu, text, id, enabled, checked, position);
}

bool CGuiManager::CLayoutHost::AddMenuSeparator(gui::IGUIElement* menu, const std::wstring& name,
                                                int32_t position)
{
    return m_manager.AddMenuSeparator(menu, name, position);
}

void CGuiManager::CLayoutHost::RecalculateMenuSize(gui::IGUIContextMenu* menu)
{
    m_manager.RecalculateMenuSize(menu);
}

bool CGuiManager::CLayoutHost::HoldMenuSizing(bool held)
{
    const bool previous = m_manager.m_parts->menuSizingHeld;
    m_manager.m_parts->menuSizingHeld = held;
    return previous;
}

gui::IGUIToolBar* CGuiManager::CLayoutHost::AddToolbar(int32_t id, const CRect& pixelRect)
{
    return m_manager.AddToolbar(id, pixelRect);
}

gui::IGUIButton* CGuiManager::CLayoutHost::addToolbarButton(
    gui::IGUIElement* toolbar, int32_t id, const std::wstring& text, const std::wstring& font,
    const std::wstring& image, const std::wstring& pressedImage, bool pushButton, bool useAlpha, bool border)
{
    return m_manager.addToolbarButton(toolbar, id, text, font, image, pressedImage, pushButton, useAlpha,
                                      border);
}

gui::IGUITabControl* CGuiManager::CLayoutHost::AddTabControl(int32_t id, const CRect& pixelRect,
                                                             bool fillBackground, bool border)
{
    return m_manager.AddTabControl(id, pixelRect, fillBackground, border);
}

gui::IGUITab* CGuiManager::CLayoutHost::addTabPage(gui::IGUIElement* tabControl, int32_t id,
                                                   const std::wstring& caption, const CColor& color,
                                                   bool drawBackground)
{
    return m_manager.addTabPage(tabControl, id, caption, color, drawBackground);
}

gui::IGUITab* CGuiManager::CLayoutHost::AddTab(int32_t id, const CRect& pixelRect, bool drawBackground,
                                               const CColor& color)
{
    return m_manager.AddTab(id, pixelRect, drawBackground, color);
}

gui::IGUIScrollBar* CGuiManager::CLayoutHost::AddScrollBar(int32_t id, bool horizontal,
                                                           const CRect& pixelRect, uint32_t maximum,
                                                           int32_t position, int32_t upButtonId,
                                                           int32_t downButtonId)
{
    return m_manager.AddScrollBar(id, horizontal, pixelRect, maximum, position, upButtonId, downButtonId);
}

void CGuiManager::CLayoutHost::SetScrollBarLimit(gui::IGUIElement* bar, uint32_t maximum, float smallFraction,
                                                 float largeFraction)
{
    m_manager.SetScrollBarLimit(bar, maximum, smallFraction, largeFraction);
}

bool CGuiManager::CLayoutHost::GetScrollBarHorizontal(gui::IGUIElement* bar)
{
    return m_manager.m_parts->scrollBars.IsHorizontal(bar);
}

float CGuiManager::CLayoutHost::GetScrollBarSmallStep(gui::IGUIElement* bar)
{
    return m_manager.m_parts->scrollBars.GetSmallStep(bar);
}

float CGuiManager::CLayoutHost::GetScrollBarLargeStep(gui::IGUIElement* bar)
{
    return m_manager.m_parts->scrollBars.GetLargeStep(bar);
}

int32_t CGuiManager::CLayoutHost::GetScrollBarUpButtonId(gui::IGUIElement* bar)
{
    return m_manager.m_parts->scrollBars.GetUpButtonId(bar);
}

int32_t CGuiManager::CLayoutHost::GetScrollBarDownButtonId(gui::IGUIElement* bar)
{
    return m_manager.m_parts->scrollBars.GetDownButtonId(bar);
}

CGUIListBoxEx* CGuiManager::CLayoutHost::AddListBox(const std::wstring& name, const CRect& rect,
                                                    bool background, const std::wstring& scrollBarName,
                                                    const std::wstring& upButtonName,
                                                    const std::wstring& downButtonName)
{
    return m_manager.AddListBox(name, rect, background, scrollBarName, upButtonName, downButtonName);
}

CGUIComboBoxEx* CGuiManager::CLayoutHost::AddComboBox(const std::wstring& name, const CRect& rect,
                                                      const std::wstring& buttonName,
                                                      const std::wstring& listName)
{
    return m_manager.AddComboBox(name, rect, buttonName, listName);
}

CGUITableEx* CGuiManager::CLayoutHost::AddTableNamed(const std::wstring& name, const CRect& rect,
                                                     bool drawBackground)
{
    return m_manager.AddTableNamed(name, rect, drawBackground);
}

void CGuiManager::CLayoutHost::SetTableColumnWidth(gui::IGUIElement* table, int32_t column, float width)
{
    m_manager.SetTableColumnWidth(table, column, width);
}

void CGuiManager::CLayoutHost::SetTableSelectedRow(gui::IGUIElement* table, int32_t row)
{
    m_manager.SetTableSelectedRow(table, row);
}

} // namespace Graphics::GUI
