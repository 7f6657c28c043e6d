#pragma once

// The OpenAL devices of this machine with their versions, extensions and
// source limits, gathered once through an OpenAL library loaded by name, so
// that scripts can choose a device before one is opened.

#include "sound/OpenALLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

class CSoundDeviceList
{
public:
    // More sources than this are never asked for.
    static constexpr int32_t kMaxSources = 256;

    // Loads OpenAL (the named library, or the system's under its usual
    // names) and lists its devices. Without a library, an entry point or
    // the enumeration extension the list stays empty.
    explicit CSoundDeviceList(const wchar_t* libraryName = nullptr);
    ~CSoundDeviceList();
    CSoundDeviceList(const CSoundDeviceList&) = delete;
    CSoundDeviceList& operator=(const CSoundDeviceList&) = delete;

    int32_t GetNumberOfDevices() const { return static_cast<int32_t>(m_devices.size()); }
    // The device's own name, or null for an index outside the list.
    const char* GetDeviceName(int32_t index) const;
    // Fills the given out parameters; leaves them for an index outside.
    void GetDeviceVersion(int32_t index, int32_t* major, int32_t* minor) const;
    // How many sources the device gave (at most kMaxSources); 0 outside.
    int32_t GetMaxNumSources(int32_t index) const;
    // Whether the device has the extension of exactly that name (from the
    // probed list: capture, EFX, offsets, distance models, EAX).
    bool IsExtensionSupported(int32_t index, const char* name) const;
    // The index of the system's default device in the list, 0 when it has
    // none there.
    int32_t GetDefaultDevice() const { return m_defaultDevice; }

private:
    struct SDevice
    {
        std::string name;
        int32_t majorVersion = 0;
        int32_t minorVersion = 0;
        int32_t maxSources = 0;
        std::vector<std::string> extensions;
    };

    void Enumerate();
    // Adds the record of the device behind the listed name (with its
    // context current); returns its index, or -1 when it has no name.
    int32_t AddDevice(ALCdevice* device);
    // Generates sources on the current context until OpenAL refuses one or
    // kMaxSources exist, then deletes them again.
    int32_t CountSources();
    const SDevice* Find(int32_t index) const;

    SOpenALFunctions m_al;
    std::vector<SDevice> m_devices;
    int32_t m_defaultDevice = 0;
};
