#include "gui/elements/GuiElementSwitches.h"

#include "gui/manager/GuiManager.h"
#include "gui/manager/IrrlichtGuiAdapter.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

bool ReadElementSwitch(const CGuiManager& manager, const irr::gui::IGUIElement& element, const char* name)
{
    return IrrlichtGui::CElementAttributes(manager.GetDevice(), &element).Bool(name);
}

void WriteElementSwitch(const CGuiManager& manager, irr::gui::IGUIElement& element, const char* name,
                        bool value)
{
    irr::IrrlichtDevice* device = manager.GetDevice();
    irr::gui::IGUIEnvironment* environment = manager.GetGuiEnvironment();
    if (device == nullptr || environment == nullptr)
        return;
    IrrlichtGui::CElementAttributes attributes(device, &element);
    if (!attributes.IsRead())
        return;
    // Reading the attributes back resets what the element keeps (a tab
    // control its active tab, announced as a change): the GUI's events are
    // held back meanwhile.
    environment->setUserEventReceiver(nullptr);
    attributes.WriteBool(&element, name, value);
    environment->setUserEventReceiver(device->getEventReceiver());
}

} // namespace Graphics::GUI
