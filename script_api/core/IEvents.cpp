#include "script_api/core/IEvents.h"

#include "script_api/core/EngineAccess.h"

#include "core/app/Application.h"
#include "core/events/Multicast.h"
#include "core/foundation/KVOError.h"
#include "core/script/ManagedEventHandler.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaObject.h"
#include "core/foundation/Pixels.h"
#include "core/script/lua/ScriptHandle.h"
#include "script_api/core/ScriptInterface.h"
#include "graphics/engine/GraphicsEngine.h"

#include <cstdint>
#include <new>
#include <string>

using LuaPlus::FindScriptHandle;
using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using LuaPlus::OptionalScriptHandle;
using Misc::Error::CKVOError;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

// Native Tick subscribers that scripts may put on the channel (in practice
// the camera module's processor) are known by their handles
// (CHandleRegistry, as CSubscriberOf<Kind::Tick>); a script cannot hand in an
// address of its own.
using TickSubscriber = Misc::Multicast::CSubscriberOf<Kind::Tick>;

namespace LuaPlus
{
template <> struct ScriptHandleTraits<TickSubscriber>
{
    static constexpr const char* kName = "subscriber";
};
} // namespace LuaPlus

namespace
{

// A new handler of the callback with its user data (nil included). Every
// function of the interface refuses other states and coroutines before it
// runs (the interface's main-state guard); the callback is checked again
// here as documented.
CManagedEventHandler* PreSubscribe(const LuaObject& callback, const LuaObject& userData)
{
    if (callback.GetState() != GetScriptEngine().GetMainState())
        throw CKVOError(L"[Events:preSubscribe] Can only be called from the main Lua state.");
    CManagedEventHandler* handler = nullptr;
    try
    {
        handler = CManagedEventHandler::Create(callback);
    }
    catch (const std::bad_alloc&)
    {
        throw CKVOError(L"[Events::preSubscribe] Failed to create a new CManagedEventHandler");
    }
    handler->setUserData(userData);
    return handler;
}

template <class K> uint32_t SubscribeTo(CManagedEventHandler* handler, int32_t priority)
{
    handler->Subscribe<K>(priority);
    return handler->GetHandle();
}

// subscribeXxx(callback, userData, priority) for the channel of kind K.
template <class K> uint32_t Subscribe(LuaState*, LuaObject callback, LuaObject userData, int32_t priority)
{
    return SubscribeTo<K>(PreSubscribe(callback, userData), priority);
}

// subscribeEntityXxx(callback, entityName, userData, priority): the priority
// is not used.
template <class K>
uint32_t SubscribeEntity(LuaState*, LuaObject callback, std::string entityName, LuaObject userData, int32_t)
{
    CManagedEventHandler* handler = PreSubscribe(callback, userData);
    handler->setEventFilter(entityName);
    return SubscribeTo<K>(handler, 0);
}

// subscribeTickPeriodic / subscribeTickSingle: the priority is not used.
template <bool SingleShot>
uint32_t SubscribeTickPeriod(LuaState*, LuaObject callback, uint32_t periodMs, LuaObject userData, int32_t)
{
    CManagedEventHandler* handler = PreSubscribe(callback, userData);
    handler->setTickPeriod(periodMs, SingleShot, GetScriptApplication().GetTime());
    return SubscribeTo<Kind::Tick>(handler, 0);
}

uint32_t SubscribeUserEvent(LuaState*, std::string eventName, LuaObject callback, LuaObject userData, int32_t)
{
    CManagedEventHandler* handler = PreSubscribe(callback, userData);
    handler->setEventFilter(eventName);
    return SubscribeTo<Kind::UserEvent>(handler, 0);
}

// Handles: 0 names no handler; any other number that names no live handler
// fails the call, so a script never reaches a stale handler.
using HandlerHandle = OptionalScriptHandle<CManagedEventHandler>;

// The value is kept only when a handler takes it.
void SetUserData(LuaState*, HandlerHandle handler, const LuaStackObject& value)
{
    if (handler)
        handler->setUserData(LuaObject(value));
}

bool SetTickPeriod(LuaState*, HandlerHandle handler, uint32_t periodMs)
{
    if (!handler)
        return false;
    handler->setTickPeriod(periodMs, false, GetScriptApplication().GetTime());
    return true;
}

// Priorities are fixed when a handler subscribes.
void SetPriority(LuaState*, double, int32_t) {}

bool Unsubscribe(LuaState*, HandlerHandle handler)
{
    if (!handler)
        return false;
    CManagedEventHandler::Release(handler.Get());
    return true;
}

void EnableGui(LuaState*, bool on)
{
    CMulticastOf<Kind::Gui>::Enable(on);
}

bool IsGuiEnabled(LuaState*)
{
    return CMulticastOf<Kind::Gui>::IsEnabled();
}

void EnableKey(LuaState*, bool on)
{
    CMulticastOf<Kind::Key>::Enable(on);
}

bool IsKeyEnabled(LuaState*)
{
    return CMulticastOf<Kind::Key>::IsEnabled();
}

void EnableMouse(LuaState*, bool on)
{
    CMulticastOf<Kind::Mouse>::Enable(on);
    CMulticastOf<Kind::MouseButton>::Enable(on);
}

bool IsMouseEnabled(LuaState*)
{
    return CMulticastOf<Kind::Mouse>::IsEnabled();
}

void EnableInteractiveMode(LuaState* state, bool on)
{
    EnableGui(state, on);
    EnableKey(state, on);
    EnableMouse(state, on);
}

bool PublishUserEvent(LuaState*, std::string eventName, LuaObject args)
{
    return CMulticastOf<Kind::UserEvent>::Publish(CEvtUser{eventName, &args});
}

void PublishGuiEvent(LuaState*, std::wstring elementName, uint32_t eventType, bool force)
{
    CMulticastOf<Kind::Gui>::Publish(CGuiEvent{FindScriptGraphicsEngine(), elementName, eventType, 0}, force);
}

void PublishKey(uint32_t keyCode, bool pressed, bool control, bool shift, bool force)
{
    Graphics::Multicast::CEvtGraphicsKeyEvent event;
    event.source = FindScriptGraphicsEngine();
    event.keyCode = static_cast<uint16_t>(keyCode);
    event.pressed = pressed;
    event.shift = shift;
    event.control = control;
    CMulticastOf<Kind::Key>::Publish(event, force);
}

void PublishKeyEvent(LuaState*, uint32_t keyCode, bool pressed, bool control, bool shift, bool force)
{
    PublishKey(keyCode, pressed, control, shift, force);
}

void PublishKeyClickEvents(LuaState*, uint32_t keyCode, bool control, bool shift, bool force)
{
    PublishKey(keyCode, true, control, shift, force);
    PublishKey(keyCode, false, control, shift, force);
}

void PublishMouseEvent(LuaState*, uint32_t eventType, float x, float y, float wheel, bool force)
{
    Graphics::CGraphicsEngine* graphics = &GetScriptGraphicsEngine();
    const uint32_t width = graphics->GetScreenWidth();
    const uint32_t height = graphics->GetScreenHeight();
    graphics->SetCursorPosition(x, y);

    Graphics::Multicast::CEvtGraphicsMouseEvent event;
    event.source = graphics;
    event.x = Misc::FractionToPixels(width, x);
    event.y = Misc::FractionToPixels(height, y);
    event.wheel = wheel;
    event.windowWidth = static_cast<int32_t>(width);
    event.windowHeight = static_cast<int32_t>(height);
    event.type = eventType;
    CMulticastOf<Kind::Mouse>::Publish(event, force);
    // Types 0 to 5 press or release a button; 6 moves, 7 turns the wheel.
    if (eventType <= 5)
        CMulticastOf<Kind::MouseButton>::Publish(event, force);
}

// Native Tick subscribers are named by handle; only "CEvtTick" looks at it.
bool SubscribeEvent(LuaState*, std::string className, double subscriber, int32_t priority)
{
    if (className != "CEvtTick")
        return false;
    CMulticastOf<Kind::Tick>::Subscribe(FindScriptHandle<TickSubscriber>(subscriber), priority);
    return true;
}

bool UnsubscribeEvent(LuaState*, std::string className, double subscriber)
{
    if (className != "CEvtTick")
        return false;
    CMulticastOf<Kind::Tick>::Unsubscribe(FindScriptHandle<TickSubscriber>(subscriber));
    return true;
}

void RegisterIEventsFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("subscribeLog", &Subscribe<Kind::Log>);
    table.RegisterHelper("subscribeClose", &Subscribe<Kind::Close>);
    table.RegisterHelper("subscribeState", &Subscribe<Kind::State>);
    table.RegisterHelper("subscribeRun", &Subscribe<Kind::Run>);
    table.RegisterHelper("subscribeGui", &Subscribe<Kind::Gui>);
    table.RegisterHelper("subscribeKey", &Subscribe<Kind::Key>);
    table.RegisterHelper("subscribeMouse", &Subscribe<Kind::Mouse>);
    table.RegisterHelper("subscribeMouseButton", &Subscribe<Kind::MouseButton>);
    table.RegisterHelper("subscribeTick", &Subscribe<Kind::Tick>);
    table.RegisterHelper("subscribeTickPeriodic", &SubscribeTickPeriod<false>);
    table.RegisterHelper("subscribeTickSingle", &SubscribeTickPeriod<true>);
    table.RegisterHelper("subscribeTickGraphics", &Subscribe<Kind::TickGraphics>);
    table.RegisterHelper("subscribeTickPhysics", &Subscribe<Kind::TickPhysics>);
    table.RegisterHelper("subscribeCameraChange", &Subscribe<Kind::CameraChange>);
    table.RegisterHelper("subscribeAnimationComplete", &Subscribe<Kind::AnimationComplete>);
    table.RegisterHelper("subscribeDrawPreScene", &Subscribe<Kind::DrawPreScene>);
    table.RegisterHelper("subscribeDrawPostScene", &Subscribe<Kind::DrawPostScene>);
    table.RegisterHelper("subscribeDrawPreGui", &Subscribe<Kind::DrawPreGui>);
    table.RegisterHelper("subscribeDrawPostGui", &Subscribe<Kind::DrawPostGui>);
    table.RegisterHelper("subscribeActivated", &Subscribe<Kind::Activated>);
    table.RegisterHelper("subscribeLeaveWorld", &Subscribe<Kind::LeaveWorld>);
    table.RegisterHelper("subscribeCollisionEnter", &Subscribe<Kind::CollisionEnter>);
    table.RegisterHelper("subscribeCollisionExit", &Subscribe<Kind::CollisionExit>);
    table.RegisterHelper("subscribeEntityActivated", &SubscribeEntity<Kind::Activated>);
    table.RegisterHelper("subscribeEntityLeaveWorld", &SubscribeEntity<Kind::LeaveWorld>);
    table.RegisterHelper("subscribeEntityCollisionEnter", &SubscribeEntity<Kind::CollisionEnter>);
    table.RegisterHelper("subscribeEntityCollisionExit", &SubscribeEntity<Kind::CollisionExit>);
    table.RegisterHelper("subscribeWorldSave", &Subscribe<Kind::WorldSave>);
    table.RegisterHelper("subscribeWorldDataLoad", &Subscribe<Kind::WorldDataLoad>);
    table.RegisterHelper("subscribeWorldGraphicsLoad", &Subscribe<Kind::WorldGraphicsLoad>);
    table.RegisterHelper("subscribeWorldPhysicsLoad", &Subscribe<Kind::WorldPhysicsLoad>);
    table.RegisterHelper("subscribeWorldSoundLoad", &Subscribe<Kind::WorldSoundLoad>);
    table.RegisterHelper("subscribeWorldLoad", &Subscribe<Kind::WorldLoad>);
    table.RegisterHelper("subscribeWorldUnload", &Subscribe<Kind::WorldUnload>);
    table.RegisterHelper("subscribeUserEvent", &SubscribeUserEvent);

    table.RegisterHelper("setUserData", &SetUserData);
    table.RegisterHelper("setTickPeriod", &SetTickPeriod);
    table.RegisterHelper("setPriority", &SetPriority);
    table.RegisterHelper("unsubscribe", &Unsubscribe);

    table.RegisterHelper("enableInteractiveMode", &EnableInteractiveMode);
    table.RegisterHelper("enableGui", &EnableGui);
    table.RegisterHelper("isGuiEnabled", &IsGuiEnabled);
    table.RegisterHelper("enableKey", &EnableKey);
    table.RegisterHelper("isKeyEnabled", &IsKeyEnabled);
    table.RegisterHelper("enableMouse", &EnableMouse);
    table.RegisterHelper("isMouseEnabled", &IsMouseEnabled);

    table.RegisterHelper("publishUserEvent", &PublishUserEvent);
    table.RegisterHelper("publishGuiEvent", &PublishGuiEvent);
    table.RegisterHelper("publishKeyEvent", &PublishKeyEvent);
    table.RegisterHelper("publishKeyClickEvents", &PublishKeyClickEvents);
    table.RegisterHelper("publishMouseEvent", &PublishMouseEvent);
    table.RegisterHelper("subscribeEvent", &SubscribeEvent);
    table.RegisterHelper("unsubscribeEvent", &UnsubscribeEvent);
}

} // namespace

// Every function is for the main script state only; all share the message
// "[IEvents] Can only be called from the main Lua state.".
void RegisterIEvents(LuaState* state)
{
    PublishScriptInterface(state, "IEvents", {&RegisterIEventsFunctions}, LuaPlus::kMainStateOnly);
}
