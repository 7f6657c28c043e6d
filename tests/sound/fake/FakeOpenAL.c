/* A scripted stand-in for the OpenAL library, loaded by name in the device
 * list tests to produce what no real driver does on demand: devices that
 * cannot be opened, two names for one device, a nameless device, more than
 * 256 sources, a batch delete that fails. The test configures it through
 * fake_openal_set_default and reads its counters afterwards.
 *
 * Listed devices (name -> behaviour):
 *   "Broken"    cannot be opened
 *   "Twin A"    opens as "Twin": 1.1, ALC_EXT_EFX and AL_EXT_OFFSET, 300 sources
 *   "Twin B"    opens as "Twin" again
 *   "Main"      opens as "Main Device": 2.0, EAX2.0, 7 sources, batch
 *               deletes fail
 *   "Nameless"  opens with an empty name
 *   "NoContext" opens, but no context can be made on it
 */
#include <stddef.h>
#include <string.h>

#define EXPORT __attribute__((visibility("default")))

typedef struct FakeDevice
{
    const char* listed;
    const char* actual;
    int major, minor;
    int sourceLimit;
    int batchDeleteFails;
    int opens;
    int contexts;
    const char* extensions[4];
} FakeDevice;

typedef struct FakeContext
{
    FakeDevice* device;
} FakeContext;

static FakeDevice devices[] = {
    {"Broken", "Broken", 1, 1, 16, 0, 0, 0, {NULL}},
    {"Twin A", "Twin", 1, 1, 300, 0, 1, 1, {"ALC_EXT_EFX", "AL_EXT_OFFSET", NULL}},
    {"Twin B", "Twin", 1, 1, 300, 0, 1, 1, {"ALC_EXT_EFX", "AL_EXT_OFFSET", NULL}},
    {"Main", "Main Device", 2, 0, 7, 1, 1, 1, {"EAX2.0", NULL}},
    {"Nameless", "", 1, 1, 16, 0, 1, 1, {NULL}},
    {"NoContext", "NoContext", 1, 1, 16, 0, 1, 0, {NULL}},
};
#define DEVICE_COUNT (sizeof devices / sizeof devices[0])

static const char deviceList[] = "Broken\0Twin A\0Twin B\0Main\0Nameless\0NoContext\0";
static const char* defaultDevice = "Main";
static FakeContext contexts[DEVICE_COUNT];
static FakeContext* current = NULL;
static int openDevices = 0;
static int liveContexts = 0;
static int liveSources = 0;
static int nextSource = 1;
static int error = 0;

EXPORT void fake_openal_set_default(const char* name)
{
    defaultDevice = name;
}
EXPORT int fake_openal_open_devices(void)
{
    return openDevices;
}
EXPORT int fake_openal_live_contexts(void)
{
    return liveContexts;
}
EXPORT int fake_openal_live_sources(void)
{
    return liveSources;
}
EXPORT int fake_openal_has_current_context(void)
{
    return current != NULL;
}

static int HasExtension(const FakeDevice* device, const char* name)
{
    for (int i = 0; device != NULL && device->extensions[i] != NULL; ++i)
        if (strcmp(device->extensions[i], name) == 0)
            return 1;
    return 0;
}

/* The entry points the device list calls. */
EXPORT char alcIsExtensionPresent(FakeDevice* device, const char* name)
{
    if (device == NULL)
        return strcmp(name, "ALC_ENUMERATION_EXT") == 0;
    return (char)HasExtension(device, name);
}

EXPORT const char* alcGetString(FakeDevice* device, int parameter)
{
    if (parameter == 0x1005) /* ALC_DEVICE_SPECIFIER */
        return device == NULL ? deviceList : device->actual;
    if (parameter == 0x1004) /* ALC_DEFAULT_DEVICE_SPECIFIER */
        return defaultDevice;
    return NULL;
}

EXPORT FakeDevice* alcOpenDevice(const char* name)
{
    for (size_t i = 0; i < DEVICE_COUNT; ++i)
        if (name != NULL && strcmp(devices[i].listed, name) == 0 && devices[i].opens)
        {
            ++openDevices;
            return &devices[i];
        }
    return NULL;
}

EXPORT char alcCloseDevice(FakeDevice* device)
{
    if (device == NULL)
        return 0;
    --openDevices;
    return 1;
}

EXPORT FakeContext* alcCreateContext(FakeDevice* device, const int* attributes)
{
    (void)attributes;
    if (device == NULL || !device->contexts)
        return NULL;
    FakeContext* context = &contexts[device - devices];
    context->device = device;
    ++liveContexts;
    return context;
}

EXPORT char alcMakeContextCurrent(FakeContext* context)
{
    current = context;
    return 1;
}

EXPORT void alcDestroyContext(FakeContext* context)
{
    if (context != NULL)
        --liveContexts;
}

EXPORT void alcGetIntegerv(FakeDevice* device, int parameter, int size, int* values)
{
    if (device == NULL || size < 1 || values == NULL)
        return;
    if (parameter == 0x1000) /* ALC_MAJOR_VERSION */
        values[0] = device->major;
    else if (parameter == 0x1001) /* ALC_MINOR_VERSION */
        values[0] = device->minor;
}

EXPORT char alIsExtensionPresent(const char* name)
{
    return current != NULL && (char)HasExtension(current->device, name);
}

EXPORT int alGetError(void)
{
    const int last = error;
    error = 0;
    return last;
}

EXPORT void alGenSources(int count, unsigned* sources)
{
    if (current == NULL || liveSources + count > current->device->sourceLimit)
    {
        error = 0xA005; /* AL_OUT_OF_MEMORY */
        return;
    }
    for (int i = 0; i < count; ++i)
        sources[i] = (unsigned)nextSource++;
    liveSources += count;
}

EXPORT void alDeleteSources(int count, const unsigned* sources)
{
    (void)sources;
    if (current != NULL && current->device->batchDeleteFails && count > 1)
    {
        error = 0xA001; /* AL_INVALID_NAME */
        return;
    }
    liveSources -= count;
}

/* The sound engine opens a device of the list: it asks for entry points of
 * extensions (there are none here) and sets the Doppler factor. */
EXPORT void* alGetProcAddress(const char* name)
{
    (void)name;
    return NULL;
}
EXPORT int alGetEnumValue(const char* name)
{
    (void)name;
    return 0;
}

/* The rest are never called while listing devices: present, doing nothing. */
#define STUB(name)                                                                                           \
    EXPORT void name(void) {}
STUB(alEnable)
STUB(alDisable)
STUB(alIsEnabled)
STUB(alGetBoolean)
STUB(alGetInteger)
STUB(alGetFloat)
STUB(alGetDouble)
STUB(alGetBooleanv)
STUB(alGetIntegerv)
STUB(alGetFloatv)
STUB(alGetDoublev)
STUB(alGetString)
STUB(alListeneri)
STUB(alListenerf)
STUB(alListener3f)
STUB(alListenerfv)
STUB(alGetListeneri)
STUB(alGetListenerf)
STUB(alGetListener3f)
STUB(alGetListenerfv)
STUB(alIsSource)
STUB(alSourcei)
STUB(alSourcef)
STUB(alSource3f)
STUB(alSourcefv)
STUB(alGetSourcei)
STUB(alGetSourcef)
STUB(alGetSourcefv)
STUB(alSourcePlayv)
STUB(alSourceStopv)
STUB(alSourcePlay)
STUB(alSourcePause)
STUB(alSourceStop)
STUB(alGenBuffers)
STUB(alDeleteBuffers)
STUB(alIsBuffer)
STUB(alBufferData)
STUB(alGetBufferi)
STUB(alGetBufferf)
STUB(alSourceQueueBuffers)
STUB(alSourceUnqueueBuffers)
STUB(alDistanceModel)
STUB(alDopplerFactor)
STUB(alDopplerVelocity)
STUB(alcProcessContext)
STUB(alcGetCurrentContext)
STUB(alcGetContextsDevice)
STUB(alcSuspendContext)
STUB(alcGetError)
STUB(alcGetProcAddress)
STUB(alSourceRewind)
STUB(alSpeedOfSound)
#ifndef FAKE_OPENAL_WITHOUT_LAST_ENTRY
STUB(alcGetEnumValue)
#endif
