#pragma once

// GUI events that Irrlicht raises while the manager has it add or remove
// elements. Irrlicht moves the focus from inside its add and remove calls,
// and a subscriber told at once could clear the GUI or close the device
// under the element being built. The events are held while any such
// operation runs and published, in order, once the outermost one has
// returned; an event held in a GUI that has been cleared or replaced since
// is dropped.

#include "core/events/Events.h"

#include <cstdint>
#include <vector>

namespace Graphics::GUI
{

class CGuiEventQueue
{
public:
    // The GUI's generation: it changes whenever the GUI is cleared or the
    // environment replaced, so that whoever published an event can tell
    // whether the elements it holds still belong to the GUI.
    uint64_t GetGeneration() const { return m_generation; }
    void NextGeneration() { ++m_generation; }

    // True while an operation holds the events back.
    bool IsHolding() const { return m_depth > 0; }
    void Push(const CGuiEvent& event) { m_events.push_back({event, m_generation}); }

    // Holds the events for a scope; the end of the outermost scope publishes
    // them, unless it is left by an exception (they are dropped then: the
    // operation they belong to failed). A subscriber's error reaches the
    // caller, and the events after it are dropped.
    class CHold
    {
    public:
        explicit CHold(CGuiEventQueue& queue);
        ~CHold() noexcept(false);
        CHold(const CHold&) = delete;
        CHold& operator=(const CHold&) = delete;

    private:
        CGuiEventQueue& m_queue;
        int m_uncaught;
    };

private:
    struct SHeldEvent
    {
        CGuiEvent event;
        uint64_t generation = 0;
    };

    void Publish();

    uint64_t m_generation = 0;
    int m_depth = 0;
    std::vector<SHeldEvent> m_events;
};

} // namespace Graphics::GUI
