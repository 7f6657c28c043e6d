#include "script_api/core/IEvents.h"

#include "script_api/core/EngineAccess.h"

#include "core/app/Application.h"
#include "core/events/Multicast.h"
#include "core/foundation/KVOError.h"
#include "core/script/ManagedEventHandler.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/HandleRegistry.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "graphics/engine/GraphicsEngine.h"

#include <cmath>
#include <cstdint>
#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using Misc::Error::CKVOError;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

namespace
{

// The object behind the global "IEvents": the functions read nothing from it.
struct SEventsInterface
{
};

// Every function runs on the main script state's main thread only (not in a
// coroutine, not on another state), like the guarded functions of IApp.
void CheckMainState(const LuaPlus::CallingThread& caller)
{
    ::CheckMainState(caller, L"[IEvents] Can only be called from the main Lua state.");
}

// A new handler of the callback with its user data (nil included).
CManagedEventHandler* PreSubscribe(const LuaPlus::CallingThread& caller, const LuaObject& callback,
                                   const LuaObject& userData)
{
    CheckMainState(caller);
    if (callback.GetState() != GetScriptEngine().GetMainState())
        throw CKVOError(L"[Events:preSubscribe] Can only be called from the main Lua state.");
    CManagedEventHandler* handler = CManagedEventHandler::Create(callback);
    handler->setUserData(userData);
    return handler;
}

template <class K> uint32_t SubscribeTo(CManagedEventHandler* handler, int32_t priority)
{
    handler->Subscribe<K>(priority);
    return handler->GetHandle();
}

// subscribeXxx(callback, userData, priority) for the channel of kind K.
template <class K>
uint32_t Subscribe(LuaState*, LuaObject callback, LuaObject userData, int32_t priority,
                   LuaPlus::CallingThread caller)
{
    return SubscribeTo<K>(PreSubscribe(caller, callback, userData), priority);
}

// subscribeEntityXxx(callback, entityName, userData, priority): the priority
// is not used.
template <class K>
uint32_t SubscribeEntity(LuaState*, LuaObject callback, std::string entityName, LuaObject userData, int32_t,
                         LuaPlus::CallingThread caller)
{
    CManagedEventHandler* handler = PreSubscribe(caller, callback, userData);
    handler->setEventFilter(entityName);
    return SubscribeTo<K>(handler, 0);
}

// subscribeTickPeriodic / subscribeTickSingle: the priority is not used.
template <bool SingleShot>
uint32_t SubscribeTickPeriod(LuaState*, LuaObject callback, uint32_t periodMs, LuaObject userData, int32_t,
                             LuaPlus::CallingThread caller)
{
    CManagedEventHandler* handler = PreSubscribe(caller, callback, userData);
    handler->setTickPeriod(periodMs, SingleShot, GetScriptApplication().GetTime());
    return SubscribeTo<Kind::Tick>(handler, 0);
}

uint32_t SubscribeUserEvent(LuaState*, std::string eventName, LuaObject callback, LuaObject userData, int32_t,
                            LuaPlus::CallingThread caller)
{
    CManagedEventHandler* handler = PreSubscribe(caller, callback, userData);
    handler->setEventFilter(eventName);
    return SubscribeTo<Kind::UserEvent>(handler, 0);
}

// The live handler of a handle; null for 0. Any other number that names no
// live handler is an error: a script never reaches a stale handler.
CManagedEventHandler* FindHandler(double handle, const wchar_t* function)
{
    if (handle == 0)
        return nullptr;
    CManagedEventHandler* handler = CManagedEventHandler::FromHandle(handle);
    if (handler == nullptr)
        throw CKVOError::Format(L"[IEvents::%s] Invalid event handler handle: %.14g", function, handle);
    return handler;
}

void SetUserData(LuaState*, double handle, LuaObject value, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    if (CManagedEventHandler* handler = FindHandler(handle, L"setUserData"))
        handler->setUserData(value);
}

bool SetTickPeriod(LuaState*, double handle, uint32_t periodMs, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    CManagedEventHandler* handler = FindHandler(handle, L"setTickPeriod");
    if (handler == nullptr)
        return false;
    handler->setTickPeriod(periodMs, false, GetScriptApplication().GetTime());
    return true;
}

// Priorities are fixed when a handler subscribes.
void SetPriority(LuaState*, double, int32_t, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
}

bool Unsubscribe(LuaState*, double handle, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    CManagedEventHandler* handler = FindHandler(handle, L"unsubscribe");
    if (handler == nullptr)
        return false;
    CManagedEventHandler::Release(handler);
    return true;
}

void EnableGui(LuaState*, bool on, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    CMulticastOf<Kind::Gui>::Enable(on);
}

bool IsGuiEnabled(LuaState*, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    return CMulticastOf<Kind::Gui>::IsEnabled();
}

void EnableKey(LuaState*, bool on, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    CMulticastOf<Kind::Key>::Enable(on);
}

bool IsKeyEnabled(LuaState*, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    return CMulticastOf<Kind::Key>::IsEnabled();
}

void EnableMouse(LuaState*, bool on, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    CMulticastOf<Kind::Mouse>::Enable(on);
    CMulticastOf<Kind::MouseButton>::Enable(on);
}

bool IsMouseEnabled(LuaState*, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    return CMulticastOf<Kind::Mouse>::IsEnabled();
}

void EnableInteractiveMode(LuaState* state, bool on, LuaPlus::CallingThread caller)
{
    EnableGui(state, on, caller);
    EnableKey(state, on, caller);
    EnableMouse(state, on, caller);
}

bool PublishUserEvent(LuaState*, std::string eventName, LuaObject args, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    return CMulticastOf<Kind::UserEvent>::Publish(CEvtUser{eventName, &args});
}

void PublishGuiEvent(LuaState*, std::wstring elementName, uint32_t eventType, bool force,
                     LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
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

void PublishKeyEvent(LuaState*, uint32_t keyCode, bool pressed, bool control, bool shift, bool force,
                     LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    PublishKey(keyCode, pressed, control, shift, force);
}

void PublishKeyClickEvents(LuaState*, uint32_t keyCode, bool control, bool shift, bool force,
                           LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    PublishKey(keyCode, true, control, shift, force);
    PublishKey(keyCode, false, control, shift, force);
}

// Pixels of a window fraction, truncated toward zero; fractions far outside
// the window saturate instead of overflowing.
int32_t ToPixels(uint32_t size, float fraction)
{
    const double pixels = static_cast<double>(size) * static_cast<double>(fraction);
    if (std::isnan(pixels))
        return 0;
    if (pixels <= -2147483648.0)
        return INT32_MIN;
    if (pixels >= 2147483647.0)
        return INT32_MAX;
    return static_cast<int32_t>(pixels);
}

void PublishMouseEvent(LuaState*, uint32_t eventType, float x, float y, float wheel, bool force,
                       LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    Graphics::CGraphicsEngine* graphics = &GetScriptGraphicsEngine();
    const uint32_t width = graphics->GetScreenWidth();
    const uint32_t height = graphics->GetScreenHeight();
    graphics->SetCursorPosition(x, y);

    Graphics::Multicast::CEvtGraphicsMouseEvent event;
    event.source = graphics;
    event.x = ToPixels(width, x);
    event.y = ToPixels(height, y);
    event.wheel = wheel;
    event.windowWidth = static_cast<int32_t>(width);
    event.windowHeight = static_cast<int32_t>(height);
    event.type = eventType;
    CMulticastOf<Kind::Mouse>::Publish(event, force);
    // Types 0 to 5 press or release a button; 6 moves, 7 turns the wheel.
    if (eventType <= 5)
        CMulticastOf<Kind::MouseButton>::Publish(event, force);
}

// Native Tick subscribers that scripts may put on the channel are known by
// their handles (HandleRegistry, as CSubscriber<CEvtTick>); a script cannot
// hand in an address of its own.
using TickSubscriber = Misc::Multicast::CSubscriberOf<Kind::Tick>;

TickSubscriber* FindTickSubscriber(double handle, const wchar_t* function)
{
    TickSubscriber* subscriber = LuaPlus::HandleRegistry::GetInstance().Get<TickSubscriber>(handle);
    if (subscriber == nullptr)
        throw CKVOError::Format(L"[IEvents::%s] Invalid subscriber handle: %.14g", function, handle);
    return subscriber;
}

bool SubscribeEvent(LuaState*, std::string className, double subscriber, int32_t priority,
                    LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    if (className != "CEvtTick")
        return false;
    CMulticastOf<Kind::Tick>::Subscribe(FindTickSubscriber(subscriber, L"subscribeEvent"), priority);
    return true;
}

bool UnsubscribeEvent(LuaState*, std::string className, double subscriber, LuaPlus::CallingThread caller)
{
    CheckMainState(caller);
    if (className != "CEvtTick")
        return false;
    CMulticastOf<Kind::Tick>::Unsubscribe(FindTickSubscriber(subscriber, L"unsubscribeEvent"));
    return true;
}

} // namespace

void RegisterIEvents(LuaState* state)
{
    static SEventsInterface s_interface;

    CScriptMetaTable table(state);
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

    table.SetGlobalObject(&s_interface, "IEvents");
    table.Seal();
}
