#include "core/script/ManagedEventHandler.h"

#include "core/app/SimulationManager.h"
#include "core/app/StateMachine.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/HandleRegistry.h"
#include "core/script/lua/ErrorTrace.h"

#include <map>

using LuaPlus::LuaObject;
using Misc::CHandleRegistry;
namespace Kind = Misc::Multicast::Kind;

namespace
{

// The live handlers by handle, in creation order, for ReleaseAll. Never
// destroyed: handlers may be released late in the shutdown.
std::map<uint32_t, CManagedEventHandler*>& LiveHandlers()
{
    static auto* handlers = new std::map<uint32_t, CManagedEventHandler*>;
    return *handlers;
}

// A position as a fraction of the window; 0 while there is no window.
float Fraction(int32_t position, int32_t size)
{
    return size != 0 ? static_cast<float>(position) / static_cast<float>(size) : 0.0f;
}

// The name of the state machine's running state; "" when none runs.
std::wstring RunningStateName(const Simulation::CSimulationManager* engine)
{
    const CStateMachine* machine = engine != nullptr ? engine->GetStateMachine() : nullptr;
    const CState* running = machine != nullptr ? machine->GetRunningState() : nullptr;
    return running != nullptr ? running->GetName() : std::wstring();
}

LuaObject ResolveCallback(const LuaObject& callback)
{
    LuaObject function = callback;
    if (function.IsString())
        function = function.GetState()->GetGlobals().Get(function.GetString());
    if (!function.IsFunction())
        throw Misc::Error::CKVOError(L"[CManagedEventHandler] Callback function if not found");
    return function;
}

} // namespace

CManagedEventHandler* CManagedEventHandler::Create(const LuaObject& callback)
{
    return new CManagedEventHandler(ResolveCallback(callback));
}

CManagedEventHandler::CManagedEventHandler(const LuaObject& function) : m_callback(function)
{
    m_handle = CHandleRegistry::GetInstance().Add(this);
    LiveHandlers()[m_handle] = this;
}

CManagedEventHandler::~CManagedEventHandler() = default;

void CManagedEventHandler::Release(CManagedEventHandler* handler)
{
    if (handler == nullptr || handler->m_released)
        return;
    handler->unsubscribe();
    handler->m_released = true;
    LiveHandlers().erase(handler->m_handle);
    CHandleRegistry::GetInstance().Remove(handler->m_handle);
    if (handler->m_calls == 0)
        delete handler;
}

void CManagedEventHandler::ReleaseAll()
{
    auto& handlers = LiveHandlers();
    while (!handlers.empty())
        Release(handlers.begin()->second);
}

CManagedEventHandler* CManagedEventHandler::FromHandle(double handle)
{
    return CHandleRegistry::GetInstance().Get<CManagedEventHandler>(handle);
}

size_t CManagedEventHandler::GetCount()
{
    return LiveHandlers().size();
}

void CManagedEventHandler::setUserData(const LuaObject& value)
{
    const LuaPlus::LuaState* state = value.GetState();
    if (state != nullptr && state != m_callback.GetState())
        throw Misc::Error::CKVOError(
            L"[CManagedEventHandler::setUserData] The value belongs to another script state");
    m_userData = value;
}

LuaObject CManagedEventHandler::getUserData() const
{
    if (!m_userData)
        throw Misc::Error::CKVOError(L"[CManagedEventHandler::getUserData] User data not defined.");
    return *m_userData;
}

void CManagedEventHandler::setTickPeriod(uint32_t period, bool singleShot, uint32_t now)
{
    m_tickPeriod = period;
    m_singleShot = singleShot;
    m_periodStart = now;
}

void CManagedEventHandler::setEventFilter(const std::string& name)
{
    m_filter = name;
}

// Keeps the handler alive while its callback runs: a Release meanwhile
// leaves the deletion to the end of the outermost call.
class CManagedEventHandler::CCallScope
{
public:
    explicit CCallScope(CManagedEventHandler& handler) : m_handler(handler) { ++m_handler.m_calls; }
    ~CCallScope()
    {
        if (--m_handler.m_calls == 0 && m_handler.m_released)
            delete &m_handler;
    }
    CCallScope(const CCallScope&) = delete;
    CCallScope& operator=(const CCallScope&) = delete;

private:
    CManagedEventHandler& m_handler;
};

template <class... Args> bool CManagedEventHandler::Call(bool handled, const Args&... args)
{
    if (!m_userData)
        throw Misc::Error::CKVOError(L"[CManagedEventHandler::getUserData] User data not defined.");
    // The callback and the user data (both of this state, see setUserData)
    // are pushed straight from their references. The handler is not touched
    // once the script has started.
    lua_State* L = m_callback.GetMainThread();
    constexpr int kArguments = static_cast<int>(sizeof...(Args)) + 2;
    if (!lua_checkstack(L, kArguments + 1))
        throw LuaPlus::LuaException("[CManagedEventHandler] Not enough stack space for the call");
    const CCallScope scope(*this);
    int pushed = 0;
    try
    {
        m_callback.Push(L);
        ++pushed;
        ((LuaPlus::PushValue(L, args), ++pushed), ...);
    }
    catch (const std::exception&)
    {
        // Text that could not be converted: nothing stays on the stack.
        lua_pop(L, pushed);
        throw;
    }
    m_userData->Push(L);
    lua_pushboolean(L, handled ? 1 : 0);
    if (LuaPlus::PCallWithTrace(L, kArguments, 1) != 0)
    {
        LuaPlus::LuaException error(LuaPlus::GetErrorText(L, -1));
        lua_pop(L, 1);
        throw error;
    }
    const bool result = lua_toboolean(L, -1) != 0;
    lua_pop(L, 1);
    return result;
}

// The arguments of each channel, before the user data and handled.

template <> bool CManagedEventHandler::Deliver<Kind::Log>(const Misc::Multicast::CEvtLog& event, bool handled)
{
    return Call(handled, event.message, event.level);
}

template <>
bool CManagedEventHandler::Deliver<Kind::Close>(const Simulation::Multicast::CEvtQuit&, bool handled)
{
    return Call(handled);
}

template <>
bool CManagedEventHandler::Deliver<Kind::State>(const Misc::Multicast::CEvtState& event, bool handled)
{
    return Call(handled, event.name, event.entering);
}

template <>
bool CManagedEventHandler::Deliver<Kind::Tick>(const Simulation::Multicast::CEvtTick& event, bool handled)
{
    // Elapsed time with wrap-around; a tick older than the period's start
    // (the period was restarted during this publication) is not due.
    const uint32_t elapsed = event.time - m_periodStart;
    if (m_tickPeriod != 0 && (elapsed >= 0x80000000u || elapsed < m_tickPeriod))
        return false;
    const uint32_t previousStart = m_periodStart;
    m_periodStart = event.time;
    if (m_singleShot)
        Misc::Multicast::CMulticastOf<Kind::Tick>::Unsubscribe(Base<Kind::Tick>());
    return Call(handled, event.time, previousStart, nullptr);
}

template <>
bool CManagedEventHandler::Deliver<Kind::Run>(const Simulation::Multicast::CEvtStartStop& event, bool handled)
{
    return Call(handled, RunningStateName(event.engine), event.starting);
}

template <> bool CManagedEventHandler::Deliver<Kind::Gui>(const CGuiEvent& event, bool handled)
{
    // The GUI's own elements are not the scripts' business.
    constexpr std::wstring_view kInternal = L"__GuiInternal__";
    if (event.elementName.find(kInternal) != std::wstring::npos)
        return false;
    return Call(handled, event.elementName, event.type);
}

template <>
bool CManagedEventHandler::Deliver<Kind::Key>(const Graphics::Multicast::CEvtGraphicsKeyEvent& event,
                                              bool handled)
{
    return Call(handled, event.keyCode, event.pressed, event.control, event.shift);
}

template <>
bool CManagedEventHandler::Deliver<Kind::Mouse>(const Graphics::Multicast::CEvtGraphicsMouseEvent& event,
                                                bool handled)
{
    return Call(handled, event.type, Fraction(event.x, event.windowWidth),
                Fraction(event.y, event.windowHeight), event.wheel);
}

template <>
bool CManagedEventHandler::Deliver<Kind::MouseButton>(
    const Graphics::Multicast::CEvtGraphicsMouseEvent& event, bool handled)
{
    return Deliver<Kind::Mouse>(event, handled);
}

template <>
bool CManagedEventHandler::Deliver<Kind::TickGraphics>(const Graphics::Multicast::CEvtGraphicsTick& event,
                                                       bool handled)
{
    return Call(handled, event.time, event.previousTime, event.windowActive);
}

template <> bool CManagedEventHandler::Deliver<Kind::TickPhysics>(const CEvtPhysicsTick& event, bool handled)
{
    return Call(handled, event.time, event.previousTime);
}

template <> bool CManagedEventHandler::Deliver<Kind::CameraChange>(const CEvtEntityPair& event, bool handled)
{
    return Call(handled, event.nameA, event.nameB);
}

template <> bool CManagedEventHandler::Deliver<Kind::AnimationComplete>(const CEvtEntity& event, bool handled)
{
    return Call(handled, event.id);
}

#define HALVANE_DELIVER_NOTHING(kind)                                                                        \
    template <> bool CManagedEventHandler::Deliver<Kind::kind>(const Kind::kind::Event&, bool handled)       \
    {                                                                                                        \
        return Call(handled);                                                                                \
    }
HALVANE_DELIVER_NOTHING(DrawPreScene)
HALVANE_DELIVER_NOTHING(DrawPostScene)
HALVANE_DELIVER_NOTHING(DrawPreGui)
HALVANE_DELIVER_NOTHING(DrawPostGui)
#undef HALVANE_DELIVER_NOTHING

template <>
bool CManagedEventHandler::Deliver<Kind::Activated>(const CEvtEntityActivated& event, bool handled)
{
    if (!PassesEntity(event.id))
        return false;
    return Call(handled, event.id, event.activated);
}

template <> bool CManagedEventHandler::Deliver<Kind::LeaveWorld>(const CEvtEntity& event, bool handled)
{
    if (!PassesEntity(event.id))
        return false;
    return Call(handled, event.id);
}

// A filtered collision handler always gets its own entity first.
template <>
bool CManagedEventHandler::Deliver<Kind::CollisionEnter>(const CEvtEntityPair& event, bool handled)
{
    if (m_filter.empty() || m_filter == event.nameA)
        return Call(handled, event.nameA, event.nameB);
    if (m_filter == event.nameB)
        return Call(handled, event.nameB, event.nameA);
    return false;
}

template <> bool CManagedEventHandler::Deliver<Kind::CollisionExit>(const CEvtEntityPair& event, bool handled)
{
    return Deliver<Kind::CollisionEnter>(event, handled);
}

#define HALVANE_DELIVER_WORLD(kind)                                                                          \
    template <> bool CManagedEventHandler::Deliver<Kind::kind>(const CEvtWorld& event, bool handled)         \
    {                                                                                                        \
        return Call(handled, event.path);                                                                    \
    }
HALVANE_DELIVER_WORLD(WorldSave)
HALVANE_DELIVER_WORLD(WorldDataLoad)
HALVANE_DELIVER_WORLD(WorldGraphicsLoad)
HALVANE_DELIVER_WORLD(WorldPhysicsLoad)
HALVANE_DELIVER_WORLD(WorldSoundLoad)
HALVANE_DELIVER_WORLD(WorldLoad)
HALVANE_DELIVER_WORLD(WorldUnload)
#undef HALVANE_DELIVER_WORLD

// The name filter always applies: an empty filter passes only events with
// an empty name.
template <> bool CManagedEventHandler::Deliver<Kind::UserEvent>(const CEvtUser& event, bool handled)
{
    if (event.name != m_filter)
        return false;
    if (event.args == nullptr)
        return Call(handled, nullptr);
    return Call(handled, *event.args);
}

namespace ManagedEvents
{

template <class K> bool CManagedSubscriber<K>::Dispatch(const Event& event, bool handled)
{
    return static_cast<CManagedEventHandler*>(this)->template Deliver<K>(event, handled);
}

#define HALVANE_DEFINE_MANAGED_SUBSCRIBER(kind) template class CManagedSubscriber<Kind::kind>;
HALVANE_EVENT_KINDS(HALVANE_DEFINE_MANAGED_SUBSCRIBER)
#undef HALVANE_DEFINE_MANAGED_SUBSCRIBER

} // namespace ManagedEvents
