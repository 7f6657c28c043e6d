#pragma once

// One saved sound: the "Sound{" record of the sound engine's "SoundTypes{"
// block, with everything needed to load the sound again and put it back
// where it was.

#include "core/foundation/Vector.h"

#include <cfloat>
#include <string>

namespace Misc::Serialization
{
class IArchive;
}
class CSound;

class CSoundRecord
{
public:
    // A record of OpenAL's defaults for a new source (and a sound's own
    // default direction).
    CSoundRecord() = default;
    // What the sound under that name holds now; positions and velocities
    // are read back from its source.
    CSoundRecord(const std::string& soundName, CSound& sound);

    // The keys in their saved order, floats with six decimals.
    bool Write(Misc::Serialization::IArchive& archive) const;
    // Expects "Sound{", the keys in order and "}".
    bool Read(Misc::Serialization::IArchive& archive);

    // Looping, volume, pitch, roll-off, reference and maximum distance,
    // position, direction, cone angles, outer cone gain and velocity, in
    // that order.
    void ApplyTo(CSound& sound) const;

    std::string name;
    std::wstring fileName;
    bool streaming = false;
    bool looping = false;
    float volume = 1.0f;
    float pitch = 1.0f;
    float rolloff = 1.0f;
    float minDistance = 1.0f;
    float maxDistance = FLT_MAX;
    CVector position;
    CVector direction{0.0f, 0.0f, 1.0f};
    float coneInner = 360.0f;
    float coneOuter = 360.0f;
    float coneOuterVolume = 0.0f;
    CVector velocity;
};
