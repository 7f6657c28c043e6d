#pragma once

#include "core/events/Events.h"
#include "core/events/Multicast.h"
#include "gui/manager/GuiManager.h"

#include <IGUIElement.h>

#include <cstdint>
#include <string>

namespace Graphics::GUI
{

// Publishes the GUI event of the type under the element name, as a change by
// the user would; whether a subscriber handled it does not matter.
inline void PublishNamedEvent(const CGuiManager& manager, const std::wstring& name, uint32_t type)
{
    Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::Gui>::Publish(
        CGuiEvent{manager.GetGraphicsEngine(), name, type, 0});
}

// The same for the element, by the name registered for its id.
inline void PublishElementEvent(const CGuiManager& manager, const irr::gui::IGUIElement& element,
                                uint32_t type)
{
    PublishNamedEvent(manager, manager.GetElementName(element.getID(), false), type);
}

} // namespace Graphics::GUI
