#include "gui/manager/GuiEventQueue.h"

#include "core/events/Multicast.h"

#include <exception>
#include <utility>

namespace Graphics::GUI
{

using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

CGuiEventQueue::CHold::CHold(CGuiEventQueue& queue) : m_queue(queue), m_uncaught(std::uncaught_exceptions())
{
    ++m_queue.m_depth;
}

CGuiEventQueue::CHold::~CHold() noexcept(false)
{
    if (--m_queue.m_depth != 0)
        return;
    if (std::uncaught_exceptions() != m_uncaught)
        m_queue.m_events.clear();
    else
        m_queue.Publish();
}

void CGuiEventQueue::Publish()
{
    // Taken out first: subscribers may run operations that hold events of
    // their own, published when those return.
    std::vector<SHeldEvent> events;
    events.swap(m_events);
    for (const SHeldEvent& held : events)
    {
        // What a subscriber cleared or replaced takes the rest with it.
        if (held.generation != m_generation)
            return;
        CMulticastOf<Kind::Gui>::Publish(held.event);
    }
}

} // namespace Graphics::GUI
