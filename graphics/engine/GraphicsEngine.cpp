#include "graphics/engine/GraphicsEngine.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "platform/SystemInfo.h"

namespace Graphics
{

CGraphicsEngine::CGraphicsEngine(Simulation::CSimulationManager* owner) : Simulation::CSubEngine(owner) {}

CGraphicsEngine::~CGraphicsEngine() = default;

bool CGraphicsEngine::OnStart()
{
    return true;
}

bool CGraphicsEngine::OnStop()
{
    return true;
}

bool CGraphicsEngine::Step()
{
    return false;
}

bool CGraphicsEngine::IsRunning()
{
    return false;
}

void CGraphicsEngine::SetCursorPosition(float, float) {}

std::wstring CGraphicsEngine::GetOperatingSystemVersion()
{
    if (!IsRunning())
        throw Misc::Error::CKVOError(
            L"[CGraphicsEngine::GetOperatingSystemVersion] Graphics Engine not initialised");
    return Misc::Text::Utf8ToWide(Platform::GetOperatingSystemVersion());
}

uint32_t CGraphicsEngine::GetOperatingSystemMHz()
{
    if (!IsRunning())
        throw Misc::Error::CKVOError(
            L"[CGraphicsEngine::GetOperatingSystemMHz] Graphics Engine not initialised");
    return Platform::GetProcessorSpeedMHz();
}

uint32_t CGraphicsEngine::GetOperatingSystemMemoryTotal()
{
    if (!IsRunning())
        throw Misc::Error::CKVOError(
            L"[CGraphicsEngine::GetOperatingSystemMemoryTotal] Graphics Engine not initialised");
    return Platform::GetMemoryTotal();
}

uint32_t CGraphicsEngine::GetOperatingSystemMemoryFree()
{
    if (!IsRunning())
        throw Misc::Error::CKVOError(
            L"[CGraphicsEngine::GetOperatingSystemMemoryFree] Graphics Engine not initialised");
    return Platform::GetMemoryFree();
}

} // namespace Graphics
