#pragma once

#include "core/events/Events.h"

#include <IEventReceiver.h>

#include <exception>

namespace Graphics
{

class CGraphicsEngine;

// The receiver the graphics engine installs on its Irrlicht device. Irrlicht
// hands it every input and GUI event before its GUI environment and scene
// manager see it; keyboard, mouse and GUI events become publications on the
// Key, Mouse, MouseButton and Gui channels, and a key bound as a GUI
// shortcut also publishes the shortcut's GUI event. The answer tells
// Irrlicht whether a subscriber handled (consumed) the event.
//
// The records are members reused for every event, so subscribers see the
// receiver's own record, and the mouse record keeps the previous position;
// a GUI event raised while another is published gets a record of its own.
// A GUI event raised while the GUI manager has Irrlicht add or remove
// elements goes to the manager's queue instead, which publishes it after.
//
// No exception goes back into Irrlicht: the first error a subscriber raises
// is kept (the event counts as handled) and the engine raises it again once
// Irrlicht has returned (TakeError).
class CGraphicsEngineEventHandler : public irr::IEventReceiver
{
public:
    explicit CGraphicsEngineEventHandler(CGraphicsEngine* engine);
    ~CGraphicsEngineEventHandler() override = default;
    CGraphicsEngineEventHandler(const CGraphicsEngineEventHandler&) = delete;
    CGraphicsEngineEventHandler& operator=(const CGraphicsEngineEventHandler&) = delete;

    // True when a subscriber of a publication made for the event handled it.
    bool OnEvent(const irr::SEvent& event) override;

    // The error kept from a subscriber since the last call, or null; the
    // handler forgets it.
    std::exception_ptr TakeError();

private:
    bool OnKey(const irr::SEvent::SKeyInput& input);
    bool OnMouse(const irr::SEvent::SMouseInput& input);
    bool OnGui(const irr::SEvent::SGUIEvent& input);

    // Counts a publication in progress, also when a subscriber throws.
    class CPublicationCount
    {
    public:
        explicit CPublicationCount(int& count) : m_count(count) { ++m_count; }
        ~CPublicationCount() { --m_count; }
        CPublicationCount(const CPublicationCount&) = delete;
        CPublicationCount& operator=(const CPublicationCount&) = delete;

    private:
        int& m_count;
    };

    CGuiEvent m_guiEvent;
    // GUI publications from m_guiEvent in progress (0 or 1).
    int m_guiPublications = 0;
    Graphics::Multicast::CEvtGraphicsMouseEvent m_mouseEvent;
    Graphics::Multicast::CEvtGraphicsKeyEvent m_keyEvent;
    CGraphicsEngine* m_engine;
    std::exception_ptr m_error;
};

} // namespace Graphics
