#pragma once

#include <irrlicht.h>

namespace Graphics
{

// Irrlicht prints its log lines on standard output, where they mix with
// the program's own output. Routed here, every line goes into the engine's
// log (at the system level, shown on the log console) and the library's
// errors ("Could not open display") also to standard error.
class CIrrlichtLogRoute : public irr::IEventReceiver
{
public:
    bool OnEvent(const irr::SEvent& event) override { return Route(event); }

    // Takes a log event (true); any other event is left alone (false).
    static bool Route(const irr::SEvent& event);
    // A receiver that takes only log events, for a device that has no
    // other receiver (while it is made and while it goes).
    static CIrrlichtLogRoute* Instance();
};

} // namespace Graphics
