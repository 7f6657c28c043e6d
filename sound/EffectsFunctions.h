#pragma once

// The entry points of OpenAL's effects extension (EFX) and of EAX-RAM, which
// a device offers through alGetProcAddress once its context is current.
// The engine fetches them when it opens a device; only the buffer storage
// modes of EAX-RAM are used.

#include "sound/OpenALLibrary.h"

#include <AL/efx.h>

// The effects entry points in the order they are fetched.
#define HALVANE_EFX_ENTRY_POINTS(X)                                                                          \
    X(alGenEffects, LPALGENEFFECTS)                                                                          \
    X(alDeleteEffects, LPALDELETEEFFECTS)                                                                    \
    X(alIsEffect, LPALISEFFECT)                                                                              \
    X(alEffecti, LPALEFFECTI)                                                                                \
    X(alEffectiv, LPALEFFECTIV)                                                                              \
    X(alEffectf, LPALEFFECTF)                                                                                \
    X(alEffectfv, LPALEFFECTFV)                                                                              \
    X(alGetEffecti, LPALGETEFFECTI)                                                                          \
    X(alGetEffectiv, LPALGETEFFECTIV)                                                                        \
    X(alGetEffectf, LPALGETEFFECTF)                                                                          \
    X(alGetEffectfv, LPALGETEFFECTFV)                                                                        \
    X(alGenFilters, LPALGENFILTERS)                                                                          \
    X(alDeleteFilters, LPALDELETEFILTERS)                                                                    \
    X(alIsFilter, LPALISFILTER)                                                                              \
    X(alFilteri, LPALFILTERI)                                                                                \
    X(alFilteriv, LPALFILTERIV)                                                                              \
    X(alFilterf, LPALFILTERF)                                                                                \
    X(alFilterfv, LPALFILTERFV)                                                                              \
    X(alGetFilteri, LPALGETFILTERI)                                                                          \
    X(alGetFilteriv, LPALGETFILTERIV)                                                                        \
    X(alGetFilterf, LPALGETFILTERF)                                                                          \
    X(alGetFilterfv, LPALGETFILTERFV)                                                                        \
    X(alGenAuxiliaryEffectSlots, LPALGENAUXILIARYEFFECTSLOTS)                                                \
    X(alDeleteAuxiliaryEffectSlots, LPALDELETEAUXILIARYEFFECTSLOTS)                                          \
    X(alIsAuxiliaryEffectSlot, LPALISAUXILIARYEFFECTSLOT)                                                    \
    X(alAuxiliaryEffectSloti, LPALAUXILIARYEFFECTSLOTI)                                                      \
    X(alAuxiliaryEffectSlotiv, LPALAUXILIARYEFFECTSLOTIV)                                                    \
    X(alAuxiliaryEffectSlotf, LPALAUXILIARYEFFECTSLOTF)                                                      \
    X(alAuxiliaryEffectSlotfv, LPALAUXILIARYEFFECTSLOTFV)                                                    \
    X(alGetAuxiliaryEffectSloti, LPALGETAUXILIARYEFFECTSLOTI)                                                \
    X(alGetAuxiliaryEffectSlotiv, LPALGETAUXILIARYEFFECTSLOTIV)                                              \
    X(alGetAuxiliaryEffectSlotf, LPALGETAUXILIARYEFFECTSLOTF)                                                \
    X(alGetAuxiliaryEffectSlotfv, LPALGETAUXILIARYEFFECTSLOTFV)

// The effects entry points; a device that lacks one leaves it null.
struct SEffectsFunctions
{
#define HALVANE_EFX_MEMBER(name, type) type name = nullptr;
    HALVANE_EFX_ENTRY_POINTS(HALVANE_EFX_MEMBER)
#undef HALVANE_EFX_MEMBER
};

// EAX-RAM: buffer storage modes on the sound card's own memory.
struct SEaxRamFunctions
{
    using SetBufferMode = ALboolean(AL_APIENTRY*)(ALsizei count, ALuint* buffers, ALint mode);
    using GetBufferMode = ALenum(AL_APIENTRY*)(ALuint buffer, ALint* reserved);

    SetBufferMode EAXSetBufferMode = nullptr;
    GetBufferMode EAXGetBufferMode = nullptr;
    // The enum values of "AL_EAX_RAM_SIZE" and "AL_EAX_RAM_FREE".
    ALenum ramSize = 0;
    ALenum ramFree = 0;
};

// Fetches them on the current context: the effects when the device has
// "ALC_EXT_EFX", EAX-RAM when "EAX-RAM" is present and both of its entry
// points are found. Whatever is missing stays null (or 0).
void FetchEffectsFunctions(const SOpenALFunctions& al, ALCdevice* device, SEffectsFunctions& effects);
void FetchEaxRamFunctions(const SOpenALFunctions& al, SEaxRamFunctions& eaxRam);
