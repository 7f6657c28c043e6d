#include "sound/SoundDeviceList.h"

#include <algorithm>
#include <cstring>

CSoundDeviceList::CSoundDeviceList(const wchar_t* libraryName)
{
    m_devices.reserve(10);
    if (LoadOpenALLibrary(libraryName, &m_al))
        Enumerate();
}

CSoundDeviceList::~CSoundDeviceList()
{
    UnloadOpenALLibrary(&m_al);
}

void CSoundDeviceList::Enumerate()
{
    if (!m_al.alcIsExtensionPresent(nullptr, "ALC_ENUMERATION_EXT"))
        return;

    // Copied out at once: later calls may reuse OpenAL's string memory.
    std::vector<std::string> listed;
    const ALCchar* list = m_al.alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    for (const ALCchar* name = list; name != nullptr && *name != 0; name += std::strlen(name) + 1)
        listed.emplace_back(name);
    const ALCchar* defaultName = m_al.alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
    const std::string defaultDevice = defaultName != nullptr ? defaultName : "";

    for (const std::string& name : listed)
    {
        ALCdevice* device = m_al.alcOpenDevice(name.c_str());
        if (device == nullptr)
            continue;
        ALCcontext* context = m_al.alcCreateContext(device, nullptr);
        if (context == nullptr)
        {
            m_al.alcCloseDevice(device);
            continue;
        }
        if (m_al.alcMakeContextCurrent(context))
        {
            const int32_t record = AddDevice(device);
            // The default is the record the default device made (or shares
            // by name), not its position in OpenAL's list: devices left out
            // before it would shift that onto another device.
            if (record >= 0 && name == defaultDevice)
                m_defaultDevice = record;
            m_al.alcMakeContextCurrent(nullptr);
        }
        m_al.alcDestroyContext(context);
        m_al.alcCloseDevice(device);
    }
}

int32_t CSoundDeviceList::AddDevice(ALCdevice* device)
{
    const ALCchar* actual = m_al.alcGetString(device, ALC_DEVICE_SPECIFIER);
    if (actual == nullptr || *actual == 0)
        return -1;
    const std::string name = actual;
    const auto known = std::find_if(m_devices.begin(), m_devices.end(),
                                    [&](const SDevice& record) { return record.name == name; });
    if (known != m_devices.end())
        return static_cast<int32_t>(known - m_devices.begin());

    SDevice record;
    record.name = name;
    ALCint value = 0;
    m_al.alcGetIntegerv(device, ALC_MAJOR_VERSION, 1, &value);
    record.majorVersion = value;
    value = 0;
    m_al.alcGetIntegerv(device, ALC_MINOR_VERSION, 1, &value);
    record.minorVersion = value;

    for (const char* extension : {"ALC_EXT_CAPTURE", "ALC_EXT_EFX"})
        if (m_al.alcIsExtensionPresent(device, extension))
            record.extensions.emplace_back(extension);
    for (const char* extension : {"AL_EXT_OFFSET", "AL_EXT_LINEAR_DISTANCE", "AL_EXT_EXPONENT_DISTANCE",
                                  "EAX2.0", "EAX3.0", "EAX4.0", "EAX5.0", "EAX-RAM"})
        if (m_al.alIsExtensionPresent(extension))
            record.extensions.emplace_back(extension);

    record.maxSources = CountSources();
    m_devices.push_back(std::move(record));
    return static_cast<int32_t>(m_devices.size() - 1);
}

int32_t CSoundDeviceList::CountSources()
{
    std::vector<ALuint> sources;
    sources.reserve(kMaxSources);
    m_al.alGetError();
    while (sources.size() < size_t(kMaxSources))
    {
        ALuint source = 0;
        m_al.alGenSources(1, &source);
        if (m_al.alGetError() != AL_NO_ERROR)
            break;
        sources.push_back(source);
    }
    if (!sources.empty())
    {
        m_al.alDeleteSources(static_cast<ALsizei>(sources.size()), sources.data());
        if (m_al.alGetError() != AL_NO_ERROR)
        {
            for (ALuint source : sources)
                m_al.alDeleteSources(1, &source);
            m_al.alGetError();
        }
    }
    return static_cast<int32_t>(sources.size());
}

const CSoundDeviceList::SDevice* CSoundDeviceList::Find(int32_t index) const
{
    return index >= 0 && size_t(index) < m_devices.size() ? &m_devices[size_t(index)] : nullptr;
}

const char* CSoundDeviceList::GetDeviceName(int32_t index) const
{
    const SDevice* device = Find(index);
    return device != nullptr ? device->name.c_str() : nullptr;
}

void CSoundDeviceList::GetDeviceVersion(int32_t index, int32_t* major, int32_t* minor) const
{
    const SDevice* device = Find(index);
    if (device == nullptr)
        return;
    if (major != nullptr)
        *major = device->majorVersion;
    if (minor != nullptr)
        *minor = device->minorVersion;
}

int32_t CSoundDeviceList::GetMaxNumSources(int32_t index) const
{
    const SDevice* device = Find(index);
    return device != nullptr ? device->maxSources : 0;
}

bool CSoundDeviceList::IsExtensionSupported(int32_t index, const char* name) const
{
    const SDevice* device = Find(index);
    if (device == nullptr || name == nullptr)
        return false;
    return std::find(device->extensions.begin(), device->extensions.end(), name) != device->extensions.end();
}
