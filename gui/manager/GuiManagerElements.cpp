// The GUI manager's element accessors: mechanical forwarding to the element,
// with positions and sizes in pixels on the way in and fractions of the
// screen on the way out.

#include "core/foundation/KVOError.h"
#include "core/foundation/WideFormat.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <climits>
#include <cwchar>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

IrrlichtGui::SElementLayout ReadLayout(IrrlichtDevice* device, gui::IGUIElement* element)
{
    IrrlichtGui::SElementLayout layout;
    IrrlichtGui::ReadElementLayout(device, element, layout);
    return layout;
}

// The element that takes the tab key's stops: a spin box's inner edit box,
// else the element itself.
gui::IGUIElement* TabElement(gui::IGUIElement* element)
{
    if (element != nullptr && element->hasType(gui::EGUIET_SPIN_BOX))
    {
        if (gui::IGUIEditBox* editBox = static_cast<gui::IGUISpinBox*>(element)->getEditBox())
            return editBox;
    }
    return element;
}

} // namespace

int32_t CGuiManager::GetElementType(gui::IGUIElement* element) const
{
    return element != nullptr ? IrrlichtGui::ScriptElementType(element->getType()) : 0;
}

gui::IGUIElement* CGuiManager::GetElementParent(gui::IGUIElement* element) const
{
    return element != nullptr ? element->getParent() : nullptr;
}

int32_t CGuiManager::GetIdOfElement(gui::IGUIElement* element) const
{
    return element != nullptr ? element->getID() : 0;
}

void CGuiManager::SetElementText(gui::IGUIElement* element, const std::wstring& text)
{
    if (element == nullptr)
        return;
    if (element->getType() == gui::EGUIET_STATIC_TEXT && !IrrlichtGui::CanWrapText(text.c_str()))
        static_cast<gui::IGUIStaticText*>(element)->setWordWrap(false);
    element->setText(text.c_str());
}

std::wstring CGuiManager::GetElementText(gui::IGUIElement* element) const
{
    const wchar_t* text = element != nullptr ? element->getText() : nullptr;
    return text != nullptr ? std::wstring(text) : std::wstring();
}

void CGuiManager::SetElementInt(gui::IGUIElement* element, int32_t value)
{
    SetElementText(element, Misc::Text::FormatWide(0, L"%i", value));
}

void CGuiManager::SetElementFloat(gui::IGUIElement* element, float value)
{
    SetElementText(element, Misc::Text::FormatWide(0, L"%f", static_cast<double>(value)));
}

int32_t CGuiManager::GetElementInt(gui::IGUIElement* element) const
{
    const std::wstring text = GetElementText(element);
    const long long value = std::wcstoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

float CGuiManager::GetElementFloat(gui::IGUIElement* element) const
{
    const std::wstring text = GetElementText(element);
    float value = 0.0f;
    if (std::swscanf(text.c_str(), L"%f", &value) != 1)
        return 0.0f;
    return value;
}

bool CGuiManager::IsElementEnabled(gui::IGUIElement* element) const
{
    return element != nullptr && element->isEnabled();
}

void CGuiManager::SetElementEnabled(gui::IGUIElement* element, bool enabled)
{
    if (element != nullptr)
        element->setEnabled(enabled);
}

bool CGuiManager::IsElementVisible(gui::IGUIElement* element) const
{
    return element != nullptr && element->isVisible();
}

void CGuiManager::SetElementVisible(gui::IGUIElement* element, bool visible)
{
    if (element != nullptr)
        element->setVisible(visible);
}

bool CGuiManager::IsElementClipped(gui::IGUIElement* element) const
{
    return element != nullptr && !element->isNotClipped();
}

void CGuiManager::SetElementClipped(gui::IGUIElement* element, bool clipped)
{
    if (element != nullptr)
        element->setNotClipped(!clipped);
}

int32_t CGuiManager::GetElementAlignmentLeft(gui::IGUIElement* element) const
{
    return ReadLayout(m_device, element).alignLeft;
}

int32_t CGuiManager::GetElementAlignmentRight(gui::IGUIElement* element) const
{
    return ReadLayout(m_device, element).alignRight;
}

int32_t CGuiManager::GetElementAlignmentTop(gui::IGUIElement* element) const
{
    return ReadLayout(m_device, element).alignTop;
}

int32_t CGuiManager::GetElementAlignmentBottom(gui::IGUIElement* element) const
{
    return ReadLayout(m_device, element).alignBottom;
}

void CGuiManager::SetElementAlignment(gui::IGUIElement* element, int32_t left, int32_t top, int32_t right,
                                      int32_t bottom)
{
    SetElementAlignmentRaw(element, left, right, top, bottom);
}

void CGuiManager::SetElementAlignmentRaw(gui::IGUIElement* element, int32_t left, int32_t right, int32_t top,
                                         int32_t bottom)
{
    // Checked before anything changes.
    const gui::EGUI_ALIGNMENT alignLeft = IrrlichtGui::ToAlignment(left, L"SetElementAlignment");
    const gui::EGUI_ALIGNMENT alignRight = IrrlichtGui::ToAlignment(right, L"SetElementAlignment");
    const gui::EGUI_ALIGNMENT alignTop = IrrlichtGui::ToAlignment(top, L"SetElementAlignment");
    const gui::EGUI_ALIGNMENT alignBottom = IrrlichtGui::ToAlignment(bottom, L"SetElementAlignment");
    if (element == nullptr)
        return;
    element->setAlignment(alignLeft, alignRight, alignTop, alignBottom);
    element->updateAbsolutePosition();
}

bool CGuiManager::GetElementTabStop(gui::IGUIElement* element) const
{
    element = TabElement(element);
    return element != nullptr && element->isTabStop();
}

void CGuiManager::SetElementTabStop(gui::IGUIElement* element, bool enable)
{
    element = TabElement(element);
    if (element != nullptr)
        element->setTabStop(enable);
}

bool CGuiManager::GetElementTabGroup(gui::IGUIElement* element) const
{
    element = TabElement(element);
    return element != nullptr && element->isTabGroup();
}

void CGuiManager::SetElementTabGroup(gui::IGUIElement* element, bool enable)
{
    element = TabElement(element);
    if (element != nullptr)
        element->setTabGroup(enable);
}

int32_t CGuiManager::GetElementTabOrder(gui::IGUIElement* element) const
{
    element = TabElement(element);
    return element != nullptr ? element->getTabOrder() : 0;
}

void CGuiManager::SetElementTabOrder(gui::IGUIElement* element, int32_t order)
{
    if (element == nullptr)
        return;
    if (order < 0)
        order = NextTabOrder();
    ApplyTabOrder(element, order);
}

void CGuiManager::ApplyTabOrder(gui::IGUIElement* element, int32_t order)
{
    element = TabElement(element);
    if (element != nullptr)
        element->setTabOrder(order);
}

bool CGuiManager::MoveElement(gui::IGUIElement* element, float dx, float dy)
{
    if (element == nullptr)
        return false;
    element->move(core::position2di(Misc::ToPixels(dx), Misc::ToPixels(dy)));
    return true;
}

bool CGuiManager::SetElementPosition(gui::IGUIElement* element, const CPoint& pixelPoint)
{
    if (element == nullptr)
        return false;
    const core::rect<s32> current = element->getRelativePosition();
    const int32_t x = Misc::ToPixels(pixelPoint.x);
    const int32_t y = Misc::ToPixels(pixelPoint.y);
    SetElementRelativeRect(element, core::rect<s32>(x, y, Misc::ToPixels(double(x) + current.getWidth()),
                                                    Misc::ToPixels(double(y) + current.getHeight())));
    return true;
}

bool CGuiManager::SetElementSize(gui::IGUIElement* element, const CPoint& pixelSize)
{
    if (element == nullptr)
        return false;
    const core::rect<s32> current = element->getRelativePosition();
    const double width = pixelSize.x > 0.0f ? pixelSize.x : 0.0;
    const double height = pixelSize.y > 0.0f ? pixelSize.y : 0.0;
    const int32_t x1 = current.UpperLeftCorner.X;
    const int32_t y1 = current.UpperLeftCorner.Y;
    SetElementRelativeRect(element,
                           core::rect<s32>(x1, y1, Misc::ToPixels(x1 + width), Misc::ToPixels(y1 + height)));
    return true;
}

bool CGuiManager::GetElementPosition(gui::IGUIElement* element, CPoint& fractions) const
{
    if (element == nullptr)
        return false;
    const core::position2di corner = element->getRelativePosition().UpperLeftCorner;
    fractions =
        CPoint(PixelsToFraction(corner.X, GetScreenWidth()), PixelsToFraction(corner.Y, GetScreenHeight()));
    return true;
}

bool CGuiManager::GetElementAbsolutePosition(gui::IGUIElement* element, CPoint& fractions) const
{
    if (element == nullptr)
        return false;
    const core::position2di corner = element->getAbsolutePosition().UpperLeftCorner;
    fractions =
        CPoint(PixelsToFraction(corner.X, GetScreenWidth()), PixelsToFraction(corner.Y, GetScreenHeight()));
    return true;
}

bool CGuiManager::GetElementSize(gui::IGUIElement* element, CPoint& fractions) const
{
    if (element == nullptr)
        return false;
    const core::rect<s32> rect = element->getAbsolutePosition();
    // The library keeps every element at least its minimum size; a negative
    // extent could only come from a broken rectangle and reads as 0.
    const s32 width = rect.getWidth() > 0 ? rect.getWidth() : 0;
    const s32 height = rect.getHeight() > 0 ? rect.getHeight() : 0;
    fractions =
        CPoint(PixelsToFraction(width, GetScreenWidth()), PixelsToFraction(height, GetScreenHeight()));
    return true;
}

void CGuiManager::SetElementMinSize(gui::IGUIElement* element, float width, float height)
{
    if (element == nullptr)
        return;
    // The element raises each dimension to at least 1 pixel and updates its
    // absolute position.
    element->setMinSize(
        core::dimension2du(SizeToPixels(width, GetScreenWidth()), SizeToPixels(height, GetScreenHeight())));
}

void CGuiManager::SetElementMaxSize(gui::IGUIElement* element, float width, float height)
{
    if (element == nullptr)
        return;
    element->setMaxSize(
        core::dimension2du(SizeToPixels(width, GetScreenWidth()), SizeToPixels(height, GetScreenHeight())));
}

CPoint CGuiManager::GetElementMinSize(gui::IGUIElement* element) const
{
    if (element == nullptr)
        return CPoint();
    const IrrlichtGui::SElementLayout layout = ReadLayout(m_device, element);
    return CPoint(PixelsToFraction(layout.minWidth, GetScreenWidth()),
                  PixelsToFraction(layout.minHeight, GetScreenHeight()));
}

CPoint CGuiManager::GetElementMaxSize(gui::IGUIElement* element) const
{
    if (element == nullptr)
        return CPoint();
    const IrrlichtGui::SElementLayout layout = ReadLayout(m_device, element);
    return CPoint(PixelsToFraction(layout.maxWidth, GetScreenWidth()),
                  PixelsToFraction(layout.maxHeight, GetScreenHeight()));
}

void CGuiManager::SetElementRelativeRect(gui::IGUIElement* element, const core::rect<s32>& rect)
{
    if (element != nullptr)
        element->setRelativePosition(rect);
}

void CGuiManager::ThrowNotKind(gui::IGUIElement* element, const wchar_t* method, const wchar_t* kind) const
{
    const std::wstring name = element != nullptr ? GetElementName(element->getID(), false) : std::wstring();
    throw Misc::Error::CKVOError::Format(L"[CGuiManager::%s] Gui element is not %s:%s", method, kind,
                                         name.c_str());
}

} // namespace Graphics::GUI
