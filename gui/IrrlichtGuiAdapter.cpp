#include "gui/IrrlichtGuiAdapter.h"

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

bool ReadElementLayout(IrrlichtDevice* device, const gui::IGUIElement* element, SElementLayout& layout)
{
    if (device == nullptr || element == nullptr)
        return false;
    // Elements write their textures too, which takes the driver.
    io::IAttributes* attributes = device->getFileSystem()->createEmptyAttributes(device->getVideoDriver());
    if (attributes == nullptr)
        return false;
    element->serializeAttributes(attributes);
    layout.alignLeft = attributes->getAttributeAsEnumeration("LeftAlign", gui::GUIAlignmentNames);
    layout.alignRight = attributes->getAttributeAsEnumeration("RightAlign", gui::GUIAlignmentNames);
    layout.alignTop = attributes->getAttributeAsEnumeration("TopAlign", gui::GUIAlignmentNames);
    layout.alignBottom = attributes->getAttributeAsEnumeration("BottomAlign", gui::GUIAlignmentNames);
    const core::position2di minSize = attributes->getAttributeAsPosition2d("MinSize");
    const core::position2di maxSize = attributes->getAttributeAsPosition2d("MaxSize");
    layout.minWidth = static_cast<uint32_t>(minSize.X);
    layout.minHeight = static_cast<uint32_t>(minSize.Y);
    layout.maxWidth = static_cast<uint32_t>(maxSize.X);
    layout.maxHeight = static_cast<uint32_t>(maxSize.Y);
    attributes->drop();
    return true;
}

irr::gui::EGUI_ALIGNMENT ToAlignment(int32_t value, const wchar_t* method)
{
    if (value < irr::gui::EGUIA_UPPERLEFT || value > irr::gui::EGUIA_SCALE)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::%s] Invalid alignment:%i", method, value);
    return static_cast<irr::gui::EGUI_ALIGNMENT>(value);
}

} // namespace Graphics::GUI::IrrlichtGui
