#include "gui/elements/GUIComboBoxEx.h"

#include <irrlicht.h>

#include <algorithm>
#include <set>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

// The extended combo boxes alive (the library's combo boxes share the
// type).
std::set<const gui::IGUIElement*>& LiveComboBoxes()
{
    static std::set<const gui::IGUIElement*> live;
    return live;
}

} // namespace

CGUIComboBoxEx::CGUIComboBoxEx(gui::IGUIEnvironment* environment, gui::IGUIElement* parent)
    : gui::IGUIElement(gui::EGUIET_COMBO_BOX, environment, parent, -1, core::rect<s32>(0, 0, 1, 1))
{
    LiveComboBoxes().insert(this);
    m_comboBox = environment->addComboBox(getRelativePosition(), this, -1);
    if (m_comboBox != nullptr)
    {
        m_comboBox->setAlignment(gui::EGUIA_UPPERLEFT, gui::EGUIA_LOWERRIGHT, gui::EGUIA_UPPERLEFT,
                                 gui::EGUIA_LOWERRIGHT);
        m_comboBox->setSubElement(true);
        m_comboBox->setTabStop(false);
        m_comboBox->setNotClipped(false);
        if (gui::IGUIElement* text = FindInnerChild(gui::EGUIET_STATIC_TEXT))
        {
            auto* staticText = static_cast<gui::IGUIStaticText*>(text);
            staticText->setDrawBackground(false);
            if (gui::IGUISkin* skin = environment->getSkin())
                staticText->setOverrideColor(skin->getColor(gui::EGDC_BUTTON_TEXT));
        }
    }
    setTabStop(true);
    setTabOrder(0);
    setNotClipped(false);
}

CGUIComboBoxEx::~CGUIComboBoxEx()
{
    LiveComboBoxes().erase(this);
}

CGUIComboBoxEx* CGUIComboBoxEx::FromElement(gui::IGUIElement* element)
{
    if (element == nullptr || LiveComboBoxes().count(element) == 0)
        return nullptr;
    return static_cast<CGUIComboBoxEx*>(element);
}

gui::IGUIElement* CGUIComboBoxEx::FindInnerChild(gui::EGUI_ELEMENT_TYPE type) const
{
    if (m_comboBox == nullptr)
        return nullptr;
    for (gui::IGUIElement* child : m_comboBox->getChildren())
    {
        if (child->getType() == type)
            return child;
    }
    return nullptr;
}

bool CGUIComboBoxEx::OnEvent(const SEvent& event)
{
    if (event.EventType == EET_GUI_EVENT && event.GUIEvent.EventType == gui::EGET_ELEMENT_FOCUSED &&
        m_comboBox != nullptr)
    {
        gui::IGUIElement* caller = event.GUIEvent.Caller;
        // The inner combo box focuses its list as the list opens.
        if (caller != nullptr && caller->getParent() == m_comboBox &&
            caller->getType() == gui::EGUIET_LIST_BOX)
        {
            caller->setID(m_listId);
            PlaceOpenList(caller);
        }
        if (Parent != nullptr)
            Parent->bringToFront(this);
        m_comboBox->setTabOrder(getTabOrder());
        if (caller == this || !isMyChild(caller))
        {
            Environment->setFocus(m_comboBox);
            return true;
        }
    }
    return Parent != nullptr ? Parent->OnEvent(event) : false;
}

void CGUIComboBoxEx::PlaceOpenList(gui::IGUIElement* list)
{
    const int64_t rows = std::max<int64_t>(1, std::min<int64_t>(GetItemCount(), m_maxItems));
    int64_t rowHeight = 1;
    gui::IGUISkin* skin = Environment->getSkin();
    if (gui::IGUIFont* font = skin != nullptr ? skin->getFont() : nullptr)
        rowHeight = static_cast<int64_t>(font->getDimension(L"A").Height) + 4;
    const core::rect<s32>& absolute = getAbsolutePosition();
    int64_t screenHeight = INT32_MAX;
    if (video::IVideoDriver* driver = Environment->getVideoDriver())
        screenHeight = driver->getScreenSize().Height;
    // A list taller than the screen is held to it.
    const int64_t height = std::min(rows * rowHeight, std::max<int64_t>(screenHeight, 1));
    const s32 width = absolute.getWidth();
    const s32 elementHeight = absolute.getHeight();
    const s32 listHeight = static_cast<s32>(height);
    // The list opens under the element unless it would pass the screen's
    // bottom; then it opens above.
    if (absolute.LowerRightCorner.Y + height > screenHeight)
        list->setRelativePosition(core::rect<s32>(0, -listHeight, width, 0));
    else
        list->setRelativePosition(core::rect<s32>(0, elementHeight, width, elementHeight + listHeight));
}

void CGUIComboBoxEx::setToolTipText(const wchar_t* text)
{
    gui::IGUIElement::setToolTipText(text);
    if (m_comboBox == nullptr)
        return;
    m_comboBox->setToolTipText(text);
    if (gui::IGUIElement* selectedText = FindInnerChild(gui::EGUIET_STATIC_TEXT))
        selectedText->setToolTipText(text);
    if (gui::IGUIElement* button = FindInnerChild(gui::EGUIET_BUTTON))
        button->setToolTipText(text);
}

void CGUIComboBoxEx::setID(s32 id)
{
    if (m_comboBox != nullptr)
        m_comboBox->setID(id);
    gui::IGUIElement::setID(id);
    if (gui::IGUIElement* selectedText = FindInnerChild(gui::EGUIET_STATIC_TEXT))
        selectedText->setID(id);
}

int32_t CGUIComboBoxEx::GetItemCount() const
{
    return m_comboBox != nullptr ? static_cast<int32_t>(m_comboBox->getItemCount()) : 0;
}

std::wstring CGUIComboBoxEx::GetItemText(int32_t index) const
{
    if (!IsValid(index))
        return std::wstring();
    const wchar_t* text = m_comboBox->getItem(static_cast<u32>(index));
    return text != nullptr ? std::wstring(text) : std::wstring();
}

void CGUIComboBoxEx::Rebuild(const std::vector<std::wstring>& texts)
{
    const s32 selected = m_comboBox->getSelected();
    m_comboBox->clear();
    for (const std::wstring& text : texts)
        m_comboBox->addItem(text.c_str());
    m_comboBox->setSelected(selected >= 0 && selected < static_cast<s32>(texts.size()) ? selected : -1);
}

int32_t CGUIComboBoxEx::AddItem(const std::wstring& text, const std::wstring& data, int32_t index)
{
    if (m_comboBox == nullptr)
        return -1;
    int32_t result = 0;
    if (IsValid(index))
    {
        std::vector<std::wstring> texts;
        for (int32_t item = 0; item < GetItemCount(); ++item)
            texts.push_back(GetItemText(item));
        texts.insert(texts.begin() + index, text);
        Rebuild(texts);
        m_data.Insert(index, data);
        result = index;
    }
    else
    {
        const s32 selected = m_comboBox->getSelected();
        result = static_cast<int32_t>(m_comboBox->addItem(text.c_str()));
        m_comboBox->setSelected(selected);
        m_data.Append(data);
    }
    if (m_comboBox->getSelected() < 0)
        m_comboBox->setSelected(0);
    return result;
}

void CGUIComboBoxEx::RemoveItem(int32_t index)
{
    if (!IsValid(index))
        return;
    m_comboBox->removeItem(static_cast<u32>(index));
    m_data.Erase(index);
}

void CGUIComboBoxEx::Clear()
{
    if (m_comboBox != nullptr)
        m_comboBox->clear();
    m_data.Clear();
}

void CGUIComboBoxEx::SetItemText(int32_t index, const std::wstring& text)
{
    if (!IsValid(index))
        return;
    std::vector<std::wstring> texts;
    for (int32_t item = 0; item < GetItemCount(); ++item)
        texts.push_back(item == index ? text : GetItemText(item));
    Rebuild(texts);
}

int32_t CGUIComboBoxEx::FindItemByText(const std::wstring& text) const
{
    for (int32_t index = 0; index < GetItemCount(); ++index)
    {
        const wchar_t* item = m_comboBox->getItem(static_cast<u32>(index));
        if (item != nullptr && text == item)
            return index;
    }
    return -1;
}

int32_t CGUIComboBoxEx::GetSelected() const
{
    return m_comboBox != nullptr ? m_comboBox->getSelected() : -1;
}

void CGUIComboBoxEx::SetSelected(int32_t index)
{
    if (m_comboBox != nullptr)
        m_comboBox->setSelected(IsValid(index) ? index : -1);
}

void CGUIComboBoxEx::SelectItemByText(const std::wstring& text)
{
    SetSelected(FindItemByText(text));
}

void CGUIComboBoxEx::SelectItemByData(const std::wstring& data)
{
    SetSelected(FindItemByData(data));
}

void CGUIComboBoxEx::SetButtonId(int32_t id)
{
    if (gui::IGUIElement* button = FindInnerChild(gui::EGUIET_BUTTON))
        button->setID(id);
}

int32_t CGUIComboBoxEx::GetButtonId() const
{
    const gui::IGUIElement* button = FindInnerChild(gui::EGUIET_BUTTON);
    return button != nullptr ? button->getID() : 0;
}

} // namespace Graphics::GUI
