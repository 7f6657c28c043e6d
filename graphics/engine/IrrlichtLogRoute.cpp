#include "graphics/engine/IrrlichtLogRoute.h"

#include "core/foundation/Logger.h"

#include <cstdio>
#include <exception>

namespace Graphics
{

using namespace irr;

bool CIrrlichtLogRoute::Route(const SEvent& event)
{
    if (event.EventType != EET_LOG_TEXT_EVENT)
        return false;
    const char* text = event.LogEvent.Text != nullptr ? event.LogEvent.Text : "";
    if (event.LogEvent.Level == ELL_ERROR)
    {
        std::fprintf(stderr, "[Irrlicht] %s\n", text);
        std::fflush(stderr);
    }
    // Nothing may escape into the library.
    try
    {
        Misc::CLogger::WriteSystem(L"[Irrlicht] %S", text);
    }
    catch (const std::exception&)
    {
    }
    return true;
}

CIrrlichtLogRoute* CIrrlichtLogRoute::Instance()
{
    // Never destroyed: a device may log while the process ends.
    static CIrrlichtLogRoute* const route = new CIrrlichtLogRoute;
    return route;
}

} // namespace Graphics
