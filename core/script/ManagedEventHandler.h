#pragma once

// A script's subscription to the event channels. Each handler owns one
// script callback and one user-data value, and can be put on any channel:
// when a channel delivers an event, the handler turns the record into script
// arguments, calls the callback on its script state with the arguments, the
// user data and whether an earlier subscriber handled the event, and returns
// the callback's verdict (nil and false are "not handled").
//
// Scripts hold a handler as a 32-bit handle (never its address): FromHandle
// finds the live handler of a handle and gives null for any other number.

#include "core/events/Multicast.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/ScriptHandle.h"

#include <cstdint>
#include <optional>
#include <string>

class CManagedEventHandler;

namespace ManagedEvents
{

// The subscriber base of one channel. Its Dispatch hands the record to the
// handler with the channel's kind, so two channels carrying the same record
// type (LeaveWorld and AnimationComplete) stay apart.
template <class K> class CManagedSubscriber : public Misc::Multicast::CSubscriberOf<K>
{
public:
    using Event = typename K::Event;

    bool Dispatch(const Event& event, bool handled) override;
};

namespace Kind = Misc::Multicast::Kind;

// Dispatch is defined with the handler, once per channel.
#define HALVANE_DECLARE_MANAGED_SUBSCRIBER(kind) extern template class CManagedSubscriber<Kind::kind>;
HALVANE_EVENT_KINDS(HALVANE_DECLARE_MANAGED_SUBSCRIBER)
#undef HALVANE_DECLARE_MANAGED_SUBSCRIBER

// One subscriber base per channel, and the removal from all of them.
template <class... Kinds> class CManagedSubscribers : public CManagedSubscriber<Kinds>...
{
public:
    // Takes every base off its channel (a no-op where it is not on).
    void unsubscribe() { (Misc::Multicast::CMulticastOf<Kinds>::Unsubscribe(Base<Kinds>()), ...); }

    template <class K> Misc::Multicast::CSubscriberOf<K>* Base()
    {
        return static_cast<CManagedSubscriber<K>*>(this);
    }
};

// In the order of the channel table.
using CAllSubscribers =
    CManagedSubscribers<Kind::Log, Kind::Close, Kind::State, Kind::Tick, Kind::Run, Kind::Gui, Kind::Key,
                        Kind::Mouse, Kind::MouseButton, Kind::TickGraphics, Kind::TickPhysics,
                        Kind::CameraChange, Kind::AnimationComplete, Kind::DrawPreScene, Kind::DrawPostScene,
                        Kind::DrawPreGui, Kind::DrawPostGui, Kind::Activated, Kind::LeaveWorld,
                        Kind::CollisionEnter, Kind::CollisionExit, Kind::WorldSave, Kind::WorldDataLoad,
                        Kind::WorldGraphicsLoad, Kind::WorldPhysicsLoad, Kind::WorldSoundLoad,
                        Kind::WorldLoad, Kind::WorldUnload, Kind::UserEvent>;

} // namespace ManagedEvents

// Handlers live on the heap: made by Create, ended by Release (or by
// ReleaseAll at shutdown). Main thread only.
class CManagedEventHandler : public ManagedEvents::CAllSubscribers
{
public:
    // A new handler, registered under a new handle. The callback is a script
    // function, or a string naming a global function of its state at this
    // moment (later changes to that global do not matter). Anything else
    // raises "[CManagedEventHandler] Callback function if not found".
    static CManagedEventHandler* Create(const LuaPlus::LuaObject& callback);
    // Takes the handler off every channel and deletes it; its handle is dead
    // from now on. Safe from inside the handler's own callback: the handler
    // then lives on, off every channel and unreachable, until that call
    // returns.
    static void Release(CManagedEventHandler* handler);
    // Releases every handler. Called before the script state closes, so no
    // channel can call into a closed state.
    static void ReleaseAll();
    // The live handler of a script's number, or null (0, unknown, released,
    // not a whole number, or the handle of another kind of object).
    static CManagedEventHandler* FromHandle(double handle);
    static size_t GetCount();

    CManagedEventHandler(const CManagedEventHandler&) = delete;
    CManagedEventHandler& operator=(const CManagedEventHandler&) = delete;

    uint32_t GetHandle() const { return m_handle; }

    // Replaces the user data; nil is a value like any other.
    void setUserData(const LuaPlus::LuaObject& value);
    // Raises "[CManagedEventHandler::getUserData] User data not defined."
    // before the first setUserData.
    LuaPlus::LuaObject getUserData() const;
    // Tick events reach the callback only once period milliseconds have
    // passed since the period started (now, then each delivered tick); a
    // single-shot handler leaves the Tick channel at its first delivery.
    void setTickPeriod(uint32_t period, bool singleShot, uint32_t now);
    // The entity name of Activated, LeaveWorld and the collision channels
    // (empty: every entity), or the event name of UserEvent (always applied).
    void setEventFilter(const std::string& name);

    // Puts the handler on the channel of kind K.
    template <class K> void Subscribe(int32_t priority)
    {
        Misc::Multicast::CMulticastOf<K>::Subscribe(Base<K>(), priority);
    }

private:
    template <class K> friend class ManagedEvents::CManagedSubscriber;

    explicit CManagedEventHandler(const LuaPlus::LuaObject& function);
    ~CManagedEventHandler();

    class CCallScope;

    // The record of kind K as script arguments; false for a filtered event.
    template <class K> bool Deliver(const typename K::Event& event, bool handled);
    // Calls the callback with the arguments, the user data and handled, in
    // protected mode on its state's main thread; a script error throws
    // LuaException with the script's message.
    template <class... Args> bool Call(bool handled, const Args&... args);
    bool PassesEntity(const std::string& name) const { return m_filter.empty() || m_filter == name; }

    // A function of the state (checked when the handler is made).
    LuaPlus::LuaObject m_callback;
    std::optional<LuaPlus::LuaObject> m_userData;
    // Calls of the callback in progress (a callback may publish to its own
    // handler), and whether the handler was released meanwhile: the last
    // call to return deletes it.
    int m_calls = 0;
    bool m_released = false;
    uint32_t m_tickPeriod = 0;
    bool m_singleShot = false;
    uint32_t m_periodStart = 0;
    std::string m_filter;
    uint32_t m_handle = 0;
};

// Scripts hold handlers by handle (ScriptHandle<CManagedEventHandler>).
namespace LuaPlus
{
template <> struct ScriptHandleTraits<CManagedEventHandler>
{
    static constexpr const char* kName = "event handler";
};
} // namespace LuaPlus
