#include "sound/EffectsFunctions.h"

void FetchEffectsFunctions(const SOpenALFunctions& al, ALCdevice* device, SEffectsFunctions& effects)
{
    effects = SEffectsFunctions();
    if (!al.alcIsExtensionPresent(device, "ALC_EXT_EFX"))
        return;
#define HALVANE_EFX_FETCH(name, type) effects.name = reinterpret_cast<type>(al.alGetProcAddress(#name));
    HALVANE_EFX_ENTRY_POINTS(HALVANE_EFX_FETCH)
#undef HALVANE_EFX_FETCH
}

void FetchEaxRamFunctions(const SOpenALFunctions& al, SEaxRamFunctions& eaxRam)
{
    eaxRam = SEaxRamFunctions();
    if (al.alIsExtensionPresent("EAX-RAM") != AL_TRUE)
        return;
    const auto setMode =
        reinterpret_cast<SEaxRamFunctions::SetBufferMode>(al.alGetProcAddress("EAXSetBufferMode"));
    const auto getMode =
        reinterpret_cast<SEaxRamFunctions::GetBufferMode>(al.alGetProcAddress("EAXGetBufferMode"));
    if (setMode == nullptr || getMode == nullptr)
        return;
    eaxRam.EAXSetBufferMode = setMode;
    eaxRam.EAXGetBufferMode = getMode;
    eaxRam.ramSize = al.alGetEnumValue("AL_EAX_RAM_SIZE");
    eaxRam.ramFree = al.alGetEnumValue("AL_EAX_RAM_FREE");
}
