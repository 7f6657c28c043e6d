#pragma once

// The event records that travel on the process-wide channels, and the kind
// tags that name the channels. A record is built on the publisher's stack
// for one publication; subscribers get it by const reference and must copy
// what they want to keep.
//
// A channel is chosen by its kind, not by its record: LeaveWorld and
// AnimationComplete both carry a CEvtEntity, CollisionEnter, CollisionExit
// and CameraChange a CEvtEntityPair, Mouse and MouseButton a
// CEvtGraphicsMouseEvent, the seven world channels a CEvtWorld.

#include "core/events/GuiEventType.h"

#include <cstdint>
#include <string>
#include <type_traits>

namespace Simulation
{
class CSimulationManager;
}
namespace Graphics
{
class CGraphicsEngine;
}
namespace LuaPlus
{
class LuaObject;
}
class CPhysicsEngine;
class CWorld;

namespace Misc::Multicast
{

// A line handed to the log listeners by CLogger::WritePublish.
struct CEvtLog
{
    std::wstring message;
    int32_t level = 0;
};

// A script state is entered (before its script runs) or left (after).
struct CEvtState
{
    std::wstring name;
    bool entering = false;
};

} // namespace Misc::Multicast

namespace Simulation::Multicast
{

// The engine object is asked to quit.
struct CEvtQuit
{
    CSimulationManager* engine = nullptr;
};

// One simulation tick; times are milliseconds of the application clock.
struct CEvtTick
{
    CSimulationManager* engine = nullptr;
    uint32_t time = 0;
    uint32_t previousTime = 0;
};

// The main loop starts (starting true) or is asked to stop (false).
struct CEvtStartStop
{
    CSimulationManager* engine = nullptr;
    bool starting = false;
    uint32_t time = 0;
};

} // namespace Simulation::Multicast

namespace Graphics::Multicast
{

struct CEvtGraphicsKeyEvent
{
    CGraphicsEngine* source = nullptr;
    uint16_t keyCode = 0;
    bool pressed = false;
    bool shift = false;
    bool control = false;
};

// Positions and window sizes in pixels; type is the mouse event type
// (below 6 for button events).
struct CEvtGraphicsMouseEvent
{
    CGraphicsEngine* source = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t previousX = 0;
    int32_t previousY = 0;
    float wheel = 0.0f;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    uint32_t type = 0;
};

// Published once per drawn frame.
struct CEvtGraphicsTick
{
    CGraphicsEngine* engine = nullptr;
    uint32_t time = 0;
    uint32_t previousTime = 0;
    bool windowActive = false;
};

struct CEvtGraphicsDrawPreScene
{
    CGraphicsEngine* engine = nullptr;
};

struct CEvtGraphicsDrawPostScene
{
    CGraphicsEngine* engine = nullptr;
};

struct CEvtGraphicsDrawPreGui
{
    CGraphicsEngine* engine = nullptr;
};

struct CEvtGraphicsDrawPostGui
{
    CGraphicsEngine* engine = nullptr;
};

} // namespace Graphics::Multicast

// A GUI event: type is a GUI event type (EGuiEventType, or any number a
// script gave a shortcut); flag is 1 when a keyboard shortcut raised it.
struct CGuiEvent
{
    Graphics::CGraphicsEngine* source = nullptr;
    std::wstring elementName;
    uint32_t type = 0;
    uint8_t flag = 0;
};

// Published once per physics step, after the world has been advanced.
struct CEvtPhysicsTick
{
    CPhysicsEngine* engine = nullptr;
    uint32_t time = 0;
    uint32_t previousTime = 0;
};

// An entity, named by its id.
struct CEvtEntity
{
    void* sender = nullptr;
    std::string id;
};

// Two entities: a collision pair, or the new and the previous camera ("" when
// there was none).
struct CEvtEntityPair
{
    void* sender = nullptr;
    std::string nameA;
    std::string nameB;
};

// A body woke up (true) or went to sleep (false).
struct CEvtEntityActivated
{
    void* sender = nullptr;
    std::string id;
    bool activated = false;
};

// A world is saved, loaded (in phases) or unloaded.
struct CEvtWorld
{
    CWorld* world = nullptr;
    std::wstring path;
};

// A script's own event; args points at the script value of its arguments.
struct CEvtUser
{
    std::string name;
    const LuaPlus::LuaObject* args = nullptr;
};

namespace Misc::Multicast
{

// The channels, in the order of the event table (which is also the order of
// the managed script handler's subscriber bases). X(kind) is applied to each.
#define HALVANE_EVENT_KINDS(X)                                                                               \
    X(Log)                                                                                                   \
    X(Close)                                                                                                 \
    X(State)                                                                                                 \
    X(Tick)                                                                                                  \
    X(Run)                                                                                                   \
    X(Gui)                                                                                                   \
    X(Key)                                                                                                   \
    X(Mouse)                                                                                                 \
    X(MouseButton)                                                                                           \
    X(TickGraphics)                                                                                          \
    X(TickPhysics)                                                                                           \
    X(CameraChange)                                                                                          \
    X(AnimationComplete)                                                                                     \
    X(DrawPreScene)                                                                                          \
    X(DrawPostScene)                                                                                         \
    X(DrawPreGui)                                                                                            \
    X(DrawPostGui)                                                                                           \
    X(Activated)                                                                                             \
    X(LeaveWorld)                                                                                            \
    X(CollisionEnter)                                                                                        \
    X(CollisionExit)                                                                                         \
    X(WorldSave)                                                                                             \
    X(WorldDataLoad)                                                                                         \
    X(WorldGraphicsLoad)                                                                                     \
    X(WorldPhysicsLoad)                                                                                      \
    X(WorldSoundLoad)                                                                                        \
    X(WorldLoad)                                                                                             \
    X(WorldUnload)                                                                                           \
    X(UserEvent)

// Kind tags: each names one channel, its record type and whether the channel
// has an on/off switch (only the four input channels do).
namespace Kind
{

template <class Record, bool IsSwitchable = false> struct TKind
{
    using Event = Record;
    static constexpr bool Switchable = IsSwitchable;
};

struct Log : TKind<CEvtLog>
{
};
struct Close : TKind<Simulation::Multicast::CEvtQuit>
{
};
struct State : TKind<CEvtState>
{
};
struct Tick : TKind<Simulation::Multicast::CEvtTick>
{
};
struct Run : TKind<Simulation::Multicast::CEvtStartStop>
{
};
struct Gui : TKind<CGuiEvent, true>
{
};
struct Key : TKind<Graphics::Multicast::CEvtGraphicsKeyEvent, true>
{
};
struct Mouse : TKind<Graphics::Multicast::CEvtGraphicsMouseEvent, true>
{
};
struct MouseButton : TKind<Graphics::Multicast::CEvtGraphicsMouseEvent, true>
{
};
struct TickGraphics : TKind<Graphics::Multicast::CEvtGraphicsTick>
{
};
struct TickPhysics : TKind<CEvtPhysicsTick>
{
};
struct CameraChange : TKind<CEvtEntityPair>
{
};
struct AnimationComplete : TKind<CEvtEntity>
{
};
struct DrawPreScene : TKind<Graphics::Multicast::CEvtGraphicsDrawPreScene>
{
};
struct DrawPostScene : TKind<Graphics::Multicast::CEvtGraphicsDrawPostScene>
{
};
struct DrawPreGui : TKind<Graphics::Multicast::CEvtGraphicsDrawPreGui>
{
};
struct DrawPostGui : TKind<Graphics::Multicast::CEvtGraphicsDrawPostGui>
{
};
struct Activated : TKind<CEvtEntityActivated>
{
};
struct LeaveWorld : TKind<CEvtEntity>
{
};
struct CollisionEnter : TKind<CEvtEntityPair>
{
};
struct CollisionExit : TKind<CEvtEntityPair>
{
};
struct WorldSave : TKind<CEvtWorld>
{
};
struct WorldDataLoad : TKind<CEvtWorld>
{
};
struct WorldGraphicsLoad : TKind<CEvtWorld>
{
};
struct WorldPhysicsLoad : TKind<CEvtWorld>
{
};
struct WorldSoundLoad : TKind<CEvtWorld>
{
};
struct WorldLoad : TKind<CEvtWorld>
{
};
struct WorldUnload : TKind<CEvtWorld>
{
};
struct UserEvent : TKind<CEvtUser>
{
};

} // namespace Kind

// The kind of a record that travels on exactly one channel, so that
// CSubscriber<CEvtGraphicsTick> means the TickGraphics channel. Records that
// several channels carry have no entry: name their channel by its kind.
template <class Record> struct RecordKind
{
    static_assert(sizeof(Record) == 0, "this record travels on several channels: name the channel by its "
                                       "kind, e.g. Misc::Multicast::Kind::LeaveWorld");
};

template <> struct RecordKind<CEvtLog>
{
    using Type = Kind::Log;
};
template <> struct RecordKind<Simulation::Multicast::CEvtQuit>
{
    using Type = Kind::Close;
};
template <> struct RecordKind<CEvtState>
{
    using Type = Kind::State;
};
template <> struct RecordKind<Simulation::Multicast::CEvtTick>
{
    using Type = Kind::Tick;
};
template <> struct RecordKind<Simulation::Multicast::CEvtStartStop>
{
    using Type = Kind::Run;
};
template <> struct RecordKind<CGuiEvent>
{
    using Type = Kind::Gui;
};
template <> struct RecordKind<Graphics::Multicast::CEvtGraphicsKeyEvent>
{
    using Type = Kind::Key;
};
template <> struct RecordKind<Graphics::Multicast::CEvtGraphicsTick>
{
    using Type = Kind::TickGraphics;
};
template <> struct RecordKind<CEvtPhysicsTick>
{
    using Type = Kind::TickPhysics;
};
template <> struct RecordKind<Graphics::Multicast::CEvtGraphicsDrawPreScene>
{
    using Type = Kind::DrawPreScene;
};
template <> struct RecordKind<Graphics::Multicast::CEvtGraphicsDrawPostScene>
{
    using Type = Kind::DrawPostScene;
};
template <> struct RecordKind<Graphics::Multicast::CEvtGraphicsDrawPreGui>
{
    using Type = Kind::DrawPreGui;
};
template <> struct RecordKind<Graphics::Multicast::CEvtGraphicsDrawPostGui>
{
    using Type = Kind::DrawPostGui;
};
template <> struct RecordKind<CEvtEntityActivated>
{
    using Type = Kind::Activated;
};
template <> struct RecordKind<CEvtUser>
{
    using Type = Kind::UserEvent;
};

// KindOf<T>::Type: T itself when T is a kind tag, else the kind of record T.
template <class T, class = void> struct KindOf : RecordKind<T>
{
};

template <class T> struct KindOf<T, std::void_t<typename T::Event>>
{
    using Type = T;
};

} // namespace Misc::Multicast
