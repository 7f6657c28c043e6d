#pragma once

// Notes the events of one channel in the order they came, subscribed for
// its whole life.

#include "core/events/Multicast.h"

#include <vector>

template <class K> class CEventListener : public Misc::Multicast::CSubscriberOf<K>
{
public:
    CEventListener() { Misc::Multicast::CMulticastOf<K>::Subscribe(this, 0); }
    CEventListener(const CEventListener&) = delete;
    CEventListener& operator=(const CEventListener&) = delete;
    ~CEventListener() override { Misc::Multicast::CMulticastOf<K>::Unsubscribe(this); }

    bool OnEvent(const typename K::Event& event) override
    {
        events.push_back(event);
        return false;
    }

    std::vector<typename K::Event> events;
};
