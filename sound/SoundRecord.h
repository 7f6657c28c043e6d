#pragma once

// One saved sound: the "Sound{" record of the sound engine's "SoundTypes{"
// block, with everything needed to load the sound again and put it back
// where it was.

#include "core/foundation/Vector.h"
#include "core/io/KeyedField.h"
#include "core/io/StoredFields.h"

#include <cfloat>
#include <string>

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
    CVectorField position{0.0f, 0.0f, 0.0f, "-Position"};
    CVectorField direction{0.0f, 0.0f, 1.0f, "-Direction"};
    // The inner and outer angles of the cone and the volume outside it.
    struct SCone
    {
        float inner = 360.0f;
        float outer = 360.0f;
        float outerVolume = 0.0f;
    };
    CKeyedField<SCone, &SCone::inner, &SCone::outer, &SCone::outerVolume> cone{360.0f, 360.0f, 0.0f,
                                                                               "-DirectionConeAngles"};
    CVectorField velocity{0.0f, 0.0f, 0.0f, "-Velocity"};

private:
    // The record's fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CSoundRecord> kStoredFields[];
};
