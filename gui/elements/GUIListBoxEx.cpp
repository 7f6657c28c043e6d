#include "gui/elements/GUIListBoxEx.h"

#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/IrrlichtGuiAdapter.h"

#include <irrlicht.h>

#include <set>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

// The extended list boxes alive: an element of the list box type is one of
// ours only when it is in here (the library's own list boxes share the
// type).
std::set<const gui::IGUIElement*>& LiveListBoxes()
{
    static std::set<const gui::IGUIElement*> live;
    return live;
}

constexpr int32_t kColorKinds = gui::EGUI_LBC_COUNT;

} // namespace

CGUIListBoxEx::CGUIListBoxEx(gui::IGUIEnvironment* environment, gui::IGUIElement* parent)
    : gui::IGUIElement(gui::EGUIET_LIST_BOX, environment, parent, -1, core::rect<s32>(0, 0, 1, 1))
{
    LiveListBoxes().insert(this);
    m_listBox = environment->addListBox(getRelativePosition(), this, -1, false);
    if (m_listBox != nullptr)
    {
        // The inner list box follows this element's size.
        m_listBox->setAlignment(gui::EGUIA_UPPERLEFT, gui::EGUIA_LOWERRIGHT, gui::EGUIA_UPPERLEFT,
                                gui::EGUIA_LOWERRIGHT);
        m_listBox->setSubElement(true);
        m_listBox->setTabStop(false);
    }
    setTabStop(true);
    setTabOrder(0);
}

CGUIListBoxEx::~CGUIListBoxEx()
{
    if (m_listBox != nullptr)
        m_listBox->setSpriteBank(nullptr);
    LiveListBoxes().erase(this);
}

CGUIListBoxEx* CGUIListBoxEx::FromElement(gui::IGUIElement* element)
{
    if (element == nullptr || LiveListBoxes().count(element) == 0)
        return nullptr;
    return static_cast<CGUIListBoxEx*>(element);
}

bool CGUIListBoxEx::OnEvent(const SEvent& event)
{
    if (event.EventType == EET_GUI_EVENT && event.GUIEvent.EventType == gui::EGET_ELEMENT_FOCUSED &&
        m_listBox != nullptr)
    {
        m_listBox->setTabOrder(getTabOrder());
        gui::IGUIElement* caller = event.GUIEvent.Caller;
        // Focus given to this element goes on to the inner list box, which
        // takes the keys and clicks.
        if (caller == this || !isMyChild(caller))
        {
            Environment->setFocus(m_listBox);
            return true;
        }
    }
    return Parent != nullptr ? Parent->OnEvent(event) : false;
}

void CGUIListBoxEx::setToolTipText(const wchar_t* text)
{
    if (m_listBox != nullptr)
        m_listBox->setToolTipText(text);
}

const core::stringw& CGUIListBoxEx::getToolTipText() const
{
    return m_listBox != nullptr ? m_listBox->getToolTipText() : ToolTipText;
}

void CGUIListBoxEx::setID(s32 id)
{
    if (m_listBox != nullptr)
        m_listBox->setID(id);
    gui::IGUIElement::setID(id);
}

int32_t CGUIListBoxEx::GetItemCount() const
{
    return m_listBox != nullptr ? static_cast<int32_t>(m_listBox->getItemCount()) : 0;
}

std::wstring CGUIListBoxEx::GetItemText(int32_t index) const
{
    if (!IsValid(index))
        return std::wstring();
    const wchar_t* text = m_listBox->getListItem(static_cast<u32>(index));
    return text != nullptr ? std::wstring(text) : std::wstring();
}

int32_t CGUIListBoxEx::AddItem(const std::wstring& text, const std::wstring& data, int32_t icon,
                               int32_t index)
{
    if (m_listBox == nullptr)
        return -1;
    if (IsValid(index))
    {
        const s32 inserted = m_listBox->insertItem(static_cast<u32>(index), text.c_str(), icon);
        m_data.Insert(inserted, data);
        return inserted;
    }
    const u32 added = m_listBox->addItem(text.c_str(), icon);
    m_data.Append(data);
    return static_cast<int32_t>(added);
}

void CGUIListBoxEx::RemoveItem(int32_t index)
{
    if (!IsValid(index))
        return;
    m_listBox->removeItem(static_cast<u32>(index));
    m_data.Erase(index);
}

void CGUIListBoxEx::Clear()
{
    if (m_listBox != nullptr)
        m_listBox->clear();
    m_data.Clear();
}

void CGUIListBoxEx::SetItemText(int32_t index, const std::wstring& text)
{
    if (IsValid(index))
        m_listBox->setItem(static_cast<u32>(index), text.c_str(),
                           m_listBox->getIcon(static_cast<u32>(index)));
}

void CGUIListBoxEx::SetItemIcon(int32_t index, int32_t icon)
{
    if (IsValid(index))
        m_listBox->setItem(static_cast<u32>(index), m_listBox->getListItem(static_cast<u32>(index)), icon);
}

int32_t CGUIListBoxEx::GetItemIcon(int32_t index) const
{
    return IsValid(index) ? m_listBox->getIcon(static_cast<u32>(index)) : -1;
}

int32_t CGUIListBoxEx::FindItemByText(const std::wstring& text) const
{
    const int32_t count = GetItemCount();
    for (int32_t index = 0; index < count; ++index)
    {
        const wchar_t* item = m_listBox->getListItem(static_cast<u32>(index));
        if (item != nullptr && text == item)
            return index;
    }
    return -1;
}

void CGUIListBoxEx::SetSelected(int32_t index)
{
    if (m_listBox != nullptr)
        m_listBox->setSelected(IsValid(index) ? index : -1);
}

int32_t CGUIListBoxEx::GetSelected() const
{
    return m_listBox != nullptr ? m_listBox->getSelected() : -1;
}

void CGUIListBoxEx::SelectItemByText(const std::wstring& text)
{
    const int32_t index = FindItemByText(text);
    if (index >= 0)
        SetSelected(index);
}

void CGUIListBoxEx::SelectItemByData(const std::wstring& data)
{
    const int32_t index = FindItemByData(data);
    if (index >= 0)
        SetSelected(index);
}

void CGUIListBoxEx::SetItemColor(int32_t index, const CColor& color, int32_t kind)
{
    if (index < 0)
    {
        for (int32_t item = 0; item < GetItemCount(); ++item)
            SetItemColor(item, color, kind);
        return;
    }
    if (!IsValid(index) || kind >= kColorKinds)
        return;
    if (kind < 0)
        m_listBox->setItemOverrideColor(static_cast<u32>(index), ToSColor(color));
    else
        m_listBox->setItemOverrideColor(static_cast<u32>(index), static_cast<gui::EGUI_LISTBOX_COLOR>(kind),
                                        ToSColor(color));
}

CColor CGUIListBoxEx::GetItemColor(int32_t index, int32_t kind) const
{
    if (!HasItemColor(index, kind))
        return CColor();
    return FromSColor(
        m_listBox->getItemOverrideColor(static_cast<u32>(index), static_cast<gui::EGUI_LISTBOX_COLOR>(kind)));
}

void CGUIListBoxEx::ClearItemColor(int32_t index, int32_t kind)
{
    if (index < 0)
    {
        for (int32_t item = 0; item < GetItemCount(); ++item)
            ClearItemColor(item, kind);
        return;
    }
    if (!IsValid(index) || kind >= kColorKinds)
        return;
    if (kind < 0)
        m_listBox->clearItemOverrideColor(static_cast<u32>(index));
    else
        m_listBox->clearItemOverrideColor(static_cast<u32>(index),
                                          static_cast<gui::EGUI_LISTBOX_COLOR>(kind));
}

bool CGUIListBoxEx::HasItemColor(int32_t index, int32_t kind) const
{
    if (!IsValid(index) || kind < 0 || kind >= kColorKinds)
        return false;
    return m_listBox->hasItemOverrideColor(static_cast<u32>(index),
                                           static_cast<gui::EGUI_LISTBOX_COLOR>(kind));
}

void CGUIListBoxEx::SetBackgroundVisible(bool visible)
{
    m_drawBackground = visible;
    if (m_listBox != nullptr)
        m_listBox->setDrawBackground(visible);
}

gui::IGUIScrollBar* CGUIListBoxEx::GetScrollBar() const
{
    if (m_listBox == nullptr)
        return nullptr;
    // The library's list box keeps its scroll bar as its one child of that
    // type.
    for (gui::IGUIElement* child : m_listBox->getChildren())
    {
        if (child->getType() == gui::EGUIET_SCROLL_BAR)
            return static_cast<gui::IGUIScrollBar*>(child);
    }
    return nullptr;
}

void CGUIListBoxEx::SetScrollBarId(int32_t id)
{
    if (gui::IGUIScrollBar* scrollBar = GetScrollBar())
        scrollBar->setID(id);
}

int32_t CGUIListBoxEx::GetScrollBarId() const
{
    const gui::IGUIScrollBar* scrollBar = GetScrollBar();
    return scrollBar != nullptr ? scrollBar->getID() : 0;
}

void CGUIListBoxEx::SetUpButtonId(int32_t id)
{
    if (gui::IGUIElement* button = IrrlichtGui::ScrollBarButton(GetScrollBar(), 0, false))
        button->setID(id);
}

int32_t CGUIListBoxEx::GetUpButtonId() const
{
    const gui::IGUIElement* button = IrrlichtGui::ScrollBarButton(GetScrollBar(), 0, false);
    return button != nullptr ? button->getID() : 0;
}

void CGUIListBoxEx::SetDownButtonId(int32_t id)
{
    if (gui::IGUIElement* button = IrrlichtGui::ScrollBarButton(GetScrollBar(), 1, false))
        button->setID(id);
}

int32_t CGUIListBoxEx::GetDownButtonId() const
{
    const gui::IGUIElement* button = IrrlichtGui::ScrollBarButton(GetScrollBar(), 1, false);
    return button != nullptr ? button->getID() : 0;
}

void CGUIListBoxEx::SetSpriteBank(gui::IGUISpriteBank* bank)
{
    if (m_listBox != nullptr)
        m_listBox->setSpriteBank(bank);
}

void CGUIListBoxEx::EnsureItemVisible(int32_t index)
{
    gui::IGUIScrollBar* scrollBar = GetScrollBar();
    if (scrollBar == nullptr || !IsValid(index))
        return;
    // Rows are as high as the skin's font draws an "A", plus a margin, as
    // the library's list box measures them; without a font nothing scrolls.
    gui::IGUISkin* skin = Environment->getSkin();
    gui::IGUIFont* font = skin != nullptr ? skin->getFont() : nullptr;
    if (font == nullptr)
        return;
    const int64_t rowHeight = static_cast<int64_t>(font->getDimension(L"A").Height) + 4;
    const int64_t view = m_listBox->getRelativePosition().getHeight();
    // The scroll bar holds its position to its range, so the loop stops
    // once the position stays; a row higher than the view would make it
    // turn back and forth, so turning back stops it too.
    int step = 0;
    for (;;)
    {
        const s32 position = scrollBar->getPos();
        const int64_t top = rowHeight * index - position;
        const int64_t bottom = rowHeight * (index + 1) - position;
        const int direction = top < 0 ? -10 : (bottom > view ? 10 : 0);
        if (direction == 0 || direction == -step)
            return;
        step = direction;
        scrollBar->setPos(position + direction);
        if (scrollBar->getPos() == position)
            return;
    }
}

} // namespace Graphics::GUI
