#pragma once

// The OpenAL library, loaded by name at run time into a table of its entry
// points, so the engine starts (without sound) where OpenAL is missing.

#include "platform/DynamicLibrary.h"

#include <AL/al.h>
#include <AL/alc.h>

// The entry points in the order they are fetched.
#define HALVANE_OPENAL_ENTRY_POINTS(X)                                                                       \
    X(alEnable)                                                                                              \
    X(alDisable)                                                                                             \
    X(alIsEnabled)                                                                                           \
    X(alGetBoolean)                                                                                          \
    X(alGetInteger)                                                                                          \
    X(alGetFloat)                                                                                            \
    X(alGetDouble)                                                                                           \
    X(alGetBooleanv)                                                                                         \
    X(alGetIntegerv)                                                                                         \
    X(alGetFloatv)                                                                                           \
    X(alGetDoublev)                                                                                          \
    X(alGetString)                                                                                           \
    X(alGetError)                                                                                            \
    X(alIsExtensionPresent)                                                                                  \
    X(alGetProcAddress)                                                                                      \
    X(alGetEnumValue)                                                                                        \
    X(alListeneri)                                                                                           \
    X(alListenerf)                                                                                           \
    X(alListener3f)                                                                                          \
    X(alListenerfv)                                                                                          \
    X(alGetListeneri)                                                                                        \
    X(alGetListenerf)                                                                                        \
    X(alGetListener3f)                                                                                       \
    X(alGetListenerfv)                                                                                       \
    X(alGenSources)                                                                                          \
    X(alDeleteSources)                                                                                       \
    X(alIsSource)                                                                                            \
    X(alSourcei)                                                                                             \
    X(alSourcef)                                                                                             \
    X(alSource3f)                                                                                            \
    X(alSourcefv)                                                                                            \
    X(alGetSourcei)                                                                                          \
    X(alGetSourcef)                                                                                          \
    X(alGetSourcefv)                                                                                         \
    X(alSourcePlayv)                                                                                         \
    X(alSourceStopv)                                                                                         \
    X(alSourcePlay)                                                                                          \
    X(alSourcePause)                                                                                         \
    X(alSourceStop)                                                                                          \
    X(alGenBuffers)                                                                                          \
    X(alDeleteBuffers)                                                                                       \
    X(alIsBuffer)                                                                                            \
    X(alBufferData)                                                                                          \
    X(alGetBufferi)                                                                                          \
    X(alGetBufferf)                                                                                          \
    X(alSourceQueueBuffers)                                                                                  \
    X(alSourceUnqueueBuffers)                                                                                \
    X(alDistanceModel)                                                                                       \
    X(alDopplerFactor)                                                                                       \
    X(alDopplerVelocity)                                                                                     \
    X(alcGetString)                                                                                          \
    X(alcGetIntegerv)                                                                                        \
    X(alcOpenDevice)                                                                                         \
    X(alcCloseDevice)                                                                                        \
    X(alcCreateContext)                                                                                      \
    X(alcMakeContextCurrent)                                                                                 \
    X(alcProcessContext)                                                                                     \
    X(alcGetCurrentContext)                                                                                  \
    X(alcGetContextsDevice)                                                                                  \
    X(alcSuspendContext)                                                                                     \
    X(alcDestroyContext)                                                                                     \
    X(alcGetError)                                                                                           \
    X(alcIsExtensionPresent)                                                                                 \
    X(alcGetProcAddress)                                                                                     \
    X(alcGetEnumValue)

// Further entry points that the sound engine and its sounds call (rewinding
// a source, the speed of sound), fetched after the list above.
#define HALVANE_OPENAL_ENGINE_ENTRY_POINTS(X)                                                                \
    X(alSourceRewind)                                                                                        \
    X(alSpeedOfSound)

// Both lists in fetch order.
#define HALVANE_OPENAL_ALL_ENTRY_POINTS(X)                                                                   \
    HALVANE_OPENAL_ENTRY_POINTS(X)                                                                           \
    HALVANE_OPENAL_ENGINE_ENTRY_POINTS(X)

// The table of entry points. It keeps the library it was filled from loaded
// until UnloadOpenALLibrary (or its destruction); the system counts the
// loads, so several tables may hold the same library.
struct SOpenALFunctions
{
#define HALVANE_OPENAL_MEMBER(name) decltype(&::name) name = nullptr;
    HALVANE_OPENAL_ALL_ENTRY_POINTS(HALVANE_OPENAL_MEMBER)
#undef HALVANE_OPENAL_MEMBER

    Platform::CDynamicLibrary library;
};

// The library names tried without a name: the versioned one the runtime
// package installs, then the development link.
constexpr const char* kOpenALLibraryNames[] = {"libopenal.so.1", "libopenal.so"};

// Loads the named library (without a name, kOpenALLibraryNames in order)
// into the table and fetches every entry point in table order. False without
// a table, when no library loads, or at the first missing entry point; the
// reason goes to standard error ("Failed to retrieve '<name>' function
// address"), and the table is left empty with no library held, so nothing of
// it can be called.
bool LoadOpenALLibrary(const wchar_t* libraryName, SOpenALFunctions* table);
// Clears the table and releases its library.
void UnloadOpenALLibrary(SOpenALFunctions* table);
