#include "gui/manager/IrrlichtGuiAdapter.h"

#include "core/foundation/KVOError.h"

#include <irrlicht.h>

namespace Graphics::GUI::IrrlichtGui
{

using namespace irr;

int32_t ScriptElementType(gui::EGUI_ELEMENT_TYPE type)
{
    constexpr int32_t kScriptWindow = 21;
    constexpr int32_t kScriptElement = 22;
    // Between the library's types and the scripts' the count differs by 2.
    constexpr int32_t kCountDifference = static_cast<int32_t>(gui::EGUIET_COUNT) - 23;

    const auto number = static_cast<int32_t>(type);
    if (number >= 0 && number < static_cast<int32_t>(gui::EGUIET_TREE_VIEW))
        return number;
    switch (type)
    {
    case gui::EGUIET_WINDOW:
        return kScriptWindow;
    case gui::EGUIET_TREE_VIEW:
    case gui::EGUIET_ELEMENT:
    case gui::EGUIET_ROOT:
        return kScriptElement;
    default:
        return number >= static_cast<int32_t>(gui::EGUIET_COUNT) ? number - kCountDifference : number;
    }
}

CElementAttributes::CElementAttributes(IrrlichtDevice* device, const gui::IGUIElement* element)
{
    if (device == nullptr || element == nullptr)
        return;
    // Elements write their textures too, which takes the driver.
    m_attributes = device->getFileSystem()->createEmptyAttributes(device->getVideoDriver());
    if (m_attributes != nullptr)
        element->serializeAttributes(m_attributes);
}

CElementAttributes::~CElementAttributes()
{
    if (m_attributes != nullptr)
        m_attributes->drop();
}

bool CElementAttributes::Has(const char* name) const
{
    return m_attributes != nullptr && m_attributes->existsAttribute(name);
}

int32_t CElementAttributes::Alignment(const char* name) const
{
    return Has(name) ? m_attributes->getAttributeAsEnumeration(name, gui::GUIAlignmentNames) : 0;
}

int32_t CElementAttributes::Int(const char* name) const
{
    return Has(name) ? m_attributes->getAttributeAsInt(name) : 0;
}

bool CElementAttributes::Bool(const char* name) const
{
    return Has(name) && m_attributes->getAttributeAsBool(name);
}

core::position2di CElementAttributes::Position(const char* name) const
{
    return Has(name) ? m_attributes->getAttributeAsPosition2d(name) : core::position2di(0, 0);
}

wchar_t CElementAttributes::FirstChar(const char* name) const
{
    if (!Has(name))
        return 0;
    const core::stringw text = m_attributes->getAttributeAsStringW(name);
    return text.size() > 0 ? text[0] : 0;
}

video::ITexture* CElementAttributes::Texture(const char* name) const
{
    return Has(name) ? m_attributes->getAttributeAsTexture(name) : nullptr;
}

void CElementAttributes::WriteBool(gui::IGUIElement* element, const char* name, bool value)
{
    if (m_attributes == nullptr || element == nullptr)
        return;
    m_attributes->setAttribute(name, value);
    element->deserializeAttributes(m_attributes);
}

gui::IGUIElement* ScrollBarButton(const gui::IGUIScrollBar* bar, uint32_t which, bool subElementsOnly)
{
    if (bar == nullptr)
        return nullptr;
    uint32_t index = 0;
    for (gui::IGUIElement* child : bar->getChildren())
    {
        if (child->getType() != gui::EGUIET_BUTTON || (subElementsOnly && !child->isSubElement()))
            continue;
        if (index++ == which)
            return child;
    }
    return nullptr;
}

bool ReadElementLayout(IrrlichtDevice* device, const gui::IGUIElement* element, SElementLayout& layout)
{
    const CElementAttributes attributes(device, element);
    if (!attributes.IsRead())
        return false;
    layout.alignLeft = attributes.Alignment("LeftAlign");
    layout.alignRight = attributes.Alignment("RightAlign");
    layout.alignTop = attributes.Alignment("TopAlign");
    layout.alignBottom = attributes.Alignment("BottomAlign");
    const core::position2di minSize = attributes.Position("MinSize");
    const core::position2di maxSize = attributes.Position("MaxSize");
    layout.minWidth = static_cast<uint32_t>(minSize.X);
    layout.minHeight = static_cast<uint32_t>(minSize.Y);
    layout.maxWidth = static_cast<uint32_t>(maxSize.X);
    layout.maxHeight = static_cast<uint32_t>(maxSize.Y);
    return true;
}

bool CanWrapText(const wchar_t* text)
{
    constexpr size_t kMaxWrappedWord = 1024;
    size_t word = 0;
    for (const wchar_t* c = text; c != nullptr && *c != L'\0'; ++c)
    {
        // The library breaks lines at spaces and line ends only.
        word = *c == L' ' || *c == L'\n' || *c == L'\r' ? 0 : word + 1;
        if (word > kMaxWrappedWord)
            return false;
    }
    return true;
}

irr::gui::EGUI_ALIGNMENT ToAlignment(int32_t value, const wchar_t* method)
{
    if (value < irr::gui::EGUIA_UPPERLEFT || value > irr::gui::EGUIA_SCALE)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::%s] Invalid alignment:%i", method, value);
    return static_cast<irr::gui::EGUI_ALIGNMENT>(value);
}

} // namespace Graphics::GUI::IrrlichtGui
