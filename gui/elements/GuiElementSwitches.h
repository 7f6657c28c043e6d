#pragma once

namespace irr::gui
{
class IGUIElement;
}

namespace Graphics::GUI
{

class CGuiManager;

// On/off settings the library keeps without accessors (a tab control's
// border and background fill, a scroll bar's orientation), read and written
// through the element's attributes by name. False, and nothing written,
// without a device.
bool ReadElementSwitch(const CGuiManager& manager, const irr::gui::IGUIElement& element, const char* name);
void WriteElementSwitch(const CGuiManager& manager, irr::gui::IGUIElement& element, const char* name,
                        bool value);

} // namespace Graphics::GUI
