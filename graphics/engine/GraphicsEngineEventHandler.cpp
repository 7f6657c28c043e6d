#include "graphics/engine/GraphicsEngineEventHandler.h"

#include "core/events/Multicast.h"
#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/InputEventCodes.h"
#include "graphics/engine/IrrlichtLogRoute.h"
#include "gui/manager/GuiManager.h"

#include <IGUIContextMenu.h>
#include <IGUIElement.h>

namespace Graphics
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

CGraphicsEngineEventHandler::CGraphicsEngineEventHandler(CGraphicsEngine* engine) : m_engine(engine) {}

std::exception_ptr CGraphicsEngineEventHandler::TakeError()
{
    std::exception_ptr error = m_error;
    m_error = nullptr;
    return error;
}

bool CGraphicsEngineEventHandler::OnEvent(const SEvent& event)
{
    try
    {
        switch (event.EventType)
        {
        case EET_KEY_INPUT_EVENT:
            return OnKey(event.KeyInput);
        case EET_MOUSE_INPUT_EVENT:
            return OnMouse(event.MouseInput);
        case EET_GUI_EVENT:
            return OnGui(event.GUIEvent);
        case EET_LOG_TEXT_EVENT:
            return CIrrlichtLogRoute::Route(event);
        default:
            return false;
        }
    }
    catch (const Misc::Error::CKVOError&)
    {
        if (!m_error)
            m_error = std::current_exception();
    }
    catch (const std::exception&)
    {
        if (!m_error)
            m_error = std::current_exception();
    }
    // The handler that failed took the event: Irrlicht does not act on it.
    return true;
}

bool CGraphicsEngineEventHandler::OnKey(const SEvent::SKeyInput& input)
{
    m_keyEvent.source = m_engine;
    m_keyEvent.keyCode = static_cast<uint16_t>(input.Key & 0xFFFF);
    m_keyEvent.pressed = input.PressedDown;
    m_keyEvent.shift = input.Shift;
    m_keyEvent.control = input.Control;
    const GUI::CGuiManager::SShortcutKey key{m_keyEvent.keyCode, m_keyEvent.pressed, m_keyEvent.shift,
                                             m_keyEvent.control};
    bool handled = CMulticastOf<Kind::Key>::Publish(m_keyEvent);

    // A copy of the bound record: subscribers may change the shortcuts
    // while it is published.
    const CGuiEvent* bound = m_engine->GetGuiManager()->FindShortcut(key);
    if (bound != nullptr)
    {
        CGuiEvent shortcut = *bound;
        shortcut.source = m_engine;
        const bool shortcutHandled = CMulticastOf<Kind::Gui>::Publish(shortcut);
        handled = handled || shortcutHandled;
    }
    return handled;
}

bool CGraphicsEngineEventHandler::OnMouse(const SEvent::SMouseInput& input)
{
    if (static_cast<uint32_t>(input.Event) > kLastScriptMouseEvent)
        return false;
    m_mouseEvent.source = m_engine;
    m_mouseEvent.previousX = m_mouseEvent.x;
    m_mouseEvent.previousY = m_mouseEvent.y;
    m_mouseEvent.x = input.X;
    m_mouseEvent.y = input.Y;
    m_mouseEvent.wheel = input.Wheel;
    m_mouseEvent.windowWidth = static_cast<int32_t>(m_engine->GetScreenWidth());
    m_mouseEvent.windowHeight = static_cast<int32_t>(m_engine->GetScreenHeight());
    m_mouseEvent.type = static_cast<uint32_t>(input.Event);

    bool handled = CMulticastOf<Kind::Mouse>::Publish(m_mouseEvent);
    if (IsMouseButtonEvent(m_mouseEvent.type))
    {
        const bool buttonHandled = CMulticastOf<Kind::MouseButton>::Publish(m_mouseEvent);
        handled = handled || buttonHandled;
    }
    return handled;
}

bool CGraphicsEngineEventHandler::OnGui(const SEvent::SGUIEvent& input)
{
    uint32_t type = 0;
    if (!CMulticastOf<Kind::Gui>::HasSubscribers() ||
        !MapGuiEventType(static_cast<uint32_t>(input.EventType), type))
        return false;
    // A subscriber may make the GUI send events of its own (moving the
    // focus, opening a message box) while the record is being published:
    // those get a record of their own, so that the later subscribers of the
    // outer publication still see its event.
    CGuiEvent nested;
    CGuiEvent& record = m_guiPublications == 0 ? m_guiEvent : nested;
    record.source = m_engine;

    // A menu selection is named by the selected item's command id, every
    // other event by the calling element's id. The name is copied into the
    // record's own text, which keeps its capacity from event to event.
    const std::pmr::wstring* name = nullptr;
    gui::IGUIElement* caller = input.Caller;
    if (caller != nullptr)
    {
        const GUI::CGuiManager* manager = m_engine->GetGuiManager();
        if (input.EventType == gui::EGET_MENU_ITEM_SELECTED &&
            (caller->getType() == gui::EGUIET_MENU || caller->getType() == gui::EGUIET_CONTEXT_MENU))
        {
            const auto* menu = static_cast<gui::IGUIContextMenu*>(caller);
            const s32 selected = menu->getSelectedItem();
            if (selected >= 0)
                name = manager->FindElementName(menu->getItemCommandId(selected));
        }
        else
        {
            name = manager->FindElementName(caller->getID());
        }
    }
    if (name != nullptr)
        record.elementName.assign(name->data(), name->size());
    else
        record.elementName.clear();
    record.type = type;
    // Raised from inside an add or a removal the manager runs: published
    // once that has returned.
    GUI::CGuiEventQueue& queue = m_engine->GetGuiManager()->GetEventQueue();
    if (queue.IsHolding())
    {
        queue.Push(record);
        return false;
    }
    const CPublicationCount count(m_guiPublications);
    return CMulticastOf<Kind::Gui>::Publish(record);
}

} // namespace Graphics
