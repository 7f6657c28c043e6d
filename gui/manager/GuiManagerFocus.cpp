// The GUI manager's keyboard focus: moving it publishes focus lost and
// focused on the GUI event channel, where a handler can refuse the change.

#include "gui/manager/GuiElementHold.h"
#include "gui/manager/GuiManagerParts.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

namespace
{

// While the manager moves the focus itself, it publishes the focus events;
// the environment sends its own to the elements, and these reach the
// application's receiver too. This receiver stands in for the application's
// one for the duration of the move and passes on everything but those.
class CFocusEventFilter : public IEventReceiver
{
public:
    CFocusEventFilter(gui::IGUIEnvironment* environment, IEventReceiver* receiver)
        : m_environment(environment), m_receiver(receiver)
    {
        m_environment->setUserEventReceiver(this);
    }
    ~CFocusEventFilter() override { m_environment->setUserEventReceiver(m_receiver); }
    CFocusEventFilter(const CFocusEventFilter&) = delete;
    CFocusEventFilter& operator=(const CFocusEventFilter&) = delete;

    bool OnEvent(const SEvent& event) override
    {
        if (event.EventType == EET_GUI_EVENT && (event.GUIEvent.EventType == gui::EGET_ELEMENT_FOCUS_LOST ||
                                                 event.GUIEvent.EventType == gui::EGET_ELEMENT_FOCUSED))
        {
            return false;
        }
        return m_receiver != nullptr && m_receiver->OnEvent(event);
    }

private:
    gui::IGUIEnvironment* m_environment;
    IEventReceiver* m_receiver;
};

} // namespace

gui::IGUIElement* CGuiManager::GetFocus()
{
    if (m_environment == nullptr || GetGuiParent() == nullptr)
        return nullptr;
    return m_environment->getFocus();
}

bool CGuiManager::SetFocus(gui::IGUIElement* element)
{
    if (m_environment == nullptr || GetGuiParent() == nullptr)
        return false;
    // The environment takes its root for no focus.
    if (element == m_environment->getRootGUIElement())
        element = nullptr;
    // Subscribers may remove the element while they are told.
    const CGuiElementHold hold(element);

    const uint64_t generation = GetGeneration();
    gui::IGUIElement* focused = m_environment->getFocus();
    if (focused != nullptr)
    {
        const CGuiEvent lost{m_source, GetElementName(focused->getID(), false), kGuiFocusLost, 0};
        if (CMulticastOf<Kind::Gui>::Publish(lost))
            return true;
        // A subscriber cleared the GUI or closed the device: nothing is
        // left to focus.
        if (GetGeneration() != generation)
            return false;
    }
    // A subscriber removed the element: it gets no focus any more.
    if (element != nullptr && !IsAttached(element))
        return false;

    {
        const CGuiEventQueue::CHold events(m_parts->events);
        const CFocusEventFilter filter(m_environment,
                                       m_device != nullptr ? m_device->getEventReceiver() : nullptr);
        m_environment->setFocus(element);
    }
    // The events the move raised have been published meanwhile.
    if (GetGeneration() != generation)
        return false;
    // The environment answers false for a focus that is already where it
    // was asked to be, which is no refusal.
    if (m_environment->getFocus() != element)
        return false;

    const std::wstring name = element != nullptr ? GetElementName(element->getID(), false) : std::wstring();
    return CMulticastOf<Kind::Gui>::Publish(CGuiEvent{m_source, name, kGuiFocused, 0});
}

} // namespace Graphics::GUI
